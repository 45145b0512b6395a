#include "Lz41.h"

#include <lz4.h>
#include <lz4hc.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>

#include "ByteAppend.h"
#include "CByteReader.h"
#include "IByteSource.h"

namespace
{
constexpr std::int64_t TRAILER_BYTES = 12;
constexpr std::int64_t MIN_OFFSETS = 2;
// One byte of an LZ4 block stands for at most 255 bytes of content; a trailer that claims
// more is not believed, so no buffer grows beyond what the stored bytes can hold.
constexpr std::int64_t MOST_CONTENT_PER_STORED_BYTE = 256;

Result Inconsistent(const std::string& what)
{
    return Result::Fail("its LZ41 trailer is inconsistent (" + what + ")");
}
} // namespace

std::int64_t Lz41Layout::ContentSize(int nBlock) const
{
    return std::min(nBlockSize, nOriginalSize - nBlock * nBlockSize);
}

bool HasLz41Magic(std::span<const unsigned char> head)
{
    return head.size() >= LZ41_MAGIC_BYTES && std::memcmp(head.data(), LZ41_MAGIC, sizeof LZ41_MAGIC) == 0;
}

Result ReadLz41Layout(IByteSource& archive, std::int64_t nEntryOffset, std::int64_t nEntrySize,
                      Lz41Layout& layout)
{
    layout = Lz41Layout();
    if (nEntrySize < LZ41_MAGIC_BYTES + TRAILER_BYTES + MIN_OFFSETS * 4)
        return Inconsistent("the entry is too short to hold one");
    unsigned char trailer[TRAILER_BYTES];
    if (archive.ReadAt(nEntryOffset + nEntrySize - TRAILER_BYTES, trailer, TRAILER_BYTES) !=
        TRAILER_BYTES)
        return Result::Fail("the archive could not be read");
    std::int32_t nCount = 0, nOriginal = 0, nBlockSize = 0;
    CByteReader fields(trailer);
    fields.ReadInt32(nCount);
    fields.ReadInt32(nOriginal);
    fields.ReadInt32(nBlockSize);
    const std::int64_t nRoomForOffsets = (nEntrySize - LZ41_MAGIC_BYTES - TRAILER_BYTES) / 4;
    if (nCount < MIN_OFFSETS || nCount > nRoomForOffsets)
        return Inconsistent("offset count " + std::to_string(nCount));
    if (nBlockSize <= 0)
        return Inconsistent("block size " + std::to_string(nBlockSize));
    const std::int64_t nBlocks = std::int64_t{nCount} - 1;
    // The last block holds at least nothing and at most a whole block.
    if (nOriginal < (nBlocks - 1) * nBlockSize || nOriginal > nBlocks * nBlockSize)
        return Inconsistent("original size " + std::to_string(nOriginal) + " for " +
                            std::to_string(nBlocks) + " blocks of " + std::to_string(nBlockSize));

    const std::int64_t nTableStart = nEntrySize - TRAILER_BYTES - std::int64_t{nCount} * 4;
    std::vector<unsigned char> table(static_cast<std::size_t>(nCount) * 4);
    if (archive.ReadAt(nEntryOffset + nTableStart, table.data(), table.size()) !=
        static_cast<std::int64_t>(table.size()))
        return Result::Fail("the archive could not be read");
    layout.aOffsets.resize(static_cast<std::size_t>(nCount));
    std::int64_t nPrevious = LZ41_MAGIC_BYTES - 1;
    CByteReader offsets(table);
    for (std::int32_t i = 0; i < nCount; ++i)
    {
        std::int32_t nOffset = 0;
        offsets.ReadInt32(nOffset);
        if (nOffset <= nPrevious || nOffset > nTableStart)
            return Inconsistent("block offset " + std::to_string(i) + " is " +
                                std::to_string(nOffset));
        layout.aOffsets[static_cast<std::size_t>(i)] = nPrevious = nOffset;
    }
    if (layout.aOffsets.back() != nTableStart)
        return Inconsistent("the last block offset is not where the offsets start");
    layout.nOriginalSize = nOriginal;
    layout.nBlockSize = nBlockSize;
    for (int b = 0; b < layout.BlockCount(); ++b)
        if (layout.ContentSize(b) > layout.StoredSize(b) * MOST_CONTENT_PER_STORED_BYTE)
            return Inconsistent("block " + std::to_string(b) + " cannot hold " +
                                std::to_string(layout.ContentSize(b)) + " bytes");
    return Result::Ok();
}

Result DecompressLz41Block(std::span<const unsigned char> stored, std::int64_t nContentSize,
                           std::vector<unsigned char>& content)
{
    if (stored.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()) ||
        nContentSize < 0 || nContentSize > std::numeric_limits<int>::max())
        return Result::Fail("an LZ41 block is too large");
    content.resize(static_cast<std::size_t>(nContentSize));
    // A block that would give more than its share fails for want of room.
    const int nDecoded = LZ4_decompress_safe(
        reinterpret_cast<const char*>(stored.data()), reinterpret_cast<char*>(content.data()),
        static_cast<int>(stored.size()), static_cast<int>(nContentSize));
    if (nDecoded != nContentSize)
        return Result::Fail("an LZ41 block does not decompress");
    return Result::Ok();
}

void CompressLz41Block(std::span<const unsigned char> content,
                       std::vector<unsigned char>& compressed)
{
    // One state per thread: LZ4_compress_HC would allocate and free its 256 KiB state for
    // every block, which the jobs then queue for in the allocator.
    thread_local std::vector<char> state(static_cast<std::size_t>(LZ4_sizeofStateHC()));
    const int nContent = static_cast<int>(content.size());
    compressed.resize(static_cast<std::size_t>(LZ4_compressBound(nContent)));
    const int nStored =
        LZ4_compress_HC_extStateHC(state.data(), reinterpret_cast<const char*>(content.data()),
                                   reinterpret_cast<char*>(compressed.data()), nContent,
                                   static_cast<int>(compressed.size()), LZ4HC_CLEVEL_DEFAULT);
    compressed.resize(static_cast<std::size_t>(nStored));
}

std::vector<unsigned char> Lz41Trailer(const std::vector<std::int64_t>& aBlockOffsets,
                                       std::int64_t nOriginalSize, std::int64_t nBlockSize)
{
    std::vector<unsigned char> bytes;
    bytes.reserve(aBlockOffsets.size() * 4 + TRAILER_BYTES);
    for (const std::int64_t nOffset : aBlockOffsets)
        AppendInt32(bytes, nOffset);
    AppendInt32(bytes, static_cast<std::int64_t>(aBlockOffsets.size()));
    AppendInt32(bytes, nOriginalSize);
    AppendInt32(bytes, nBlockSize);
    return bytes;
}
