#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "Result.h"

class IByteSource;

// Entries of current FreeSpace archives may be compressed one by one in the LZ41 layout:
// the 4 bytes "LZ41", N LZ4 blocks each compressed on its own, N+1 block offsets from the
// entry's first byte, then the offset count, the original size and the block size, each a
// 32-bit little-endian int at the entry's end.
struct Lz41Layout
{
    std::vector<std::int64_t> aOffsets; // increasing; the last is where the table starts
    std::int64_t nOriginalSize = 0;
    std::int64_t nBlockSize = 0;

    int BlockCount() const { return static_cast<int>(aOffsets.size()) - 1; }
    std::int64_t StoredSize(int nBlock) const { return aOffsets[nBlock + 1] - aOffsets[nBlock]; }
    // What block nBlock decompresses to: a whole block but for the last.
    std::int64_t ContentSize(int nBlock) const;
};

constexpr unsigned char LZ41_MAGIC[] = {'L', 'Z', '4', '1'};
constexpr std::int64_t LZ41_MAGIC_BYTES = sizeof LZ41_MAGIC;

bool HasLz41Magic(std::span<const unsigned char> head);

// Reads the trailer of an entry that starts with the magic and checks that it describes
// blocks inside the entry which can decompress to the original size. The text of a
// failure says what is inconsistent.
Result ReadLz41Layout(IByteSource& archive, std::int64_t nEntryOffset, std::int64_t nEntrySize,
                      Lz41Layout& layout);

// Decompresses one block, which must give exactly nContentSize bytes, into content.
Result DecompressLz41Block(std::span<const unsigned char> stored, std::int64_t nContentSize,
                           std::vector<unsigned char>& content);

// Packing: content is cut into blocks of this size, each compressed on its own.
constexpr std::int64_t LZ41_BLOCK_SIZE = 64 * 1024;

// Compresses one block with LZ4's high-compression mode into compressed.
void CompressLz41Block(std::span<const unsigned char> content,
                       std::vector<unsigned char>& compressed);

// The offset table and trailer that close an entry whose blocks end at the given offsets
// (from the entry's first byte; the first is just after the magic).
std::vector<unsigned char> Lz41Trailer(const std::vector<std::int64_t>& aBlockOffsets,
                                       std::int64_t nOriginalSize, std::int64_t nBlockSize);
