#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "ArchiveFile.h"
#include "Lz41.h"
#include "Result.h"

class CORBISTAVDoc;
class IByteSource;

// The content of one entry as its users see it: the stored bytes, or what an
// LZ41-compressed entry of a .VP-kind archive decompresses to. One reader serves many
// entries of one archive and keeps its buffers between them.
class CEntryReader
{
public:
    enum class Mode
    {
        Content, // compressed entries are decompressed
        Stored,  // the bytes as they lie in the archive
    };
    using Sink = std::function<Result(std::span<const unsigned char>)>;

    explicit CEntryReader(IByteSource& archive, Mode mode = Mode::Content);
    // Content for .VP-kind archives unless bRaw; .VPP archives have no compressed entries.
    static Mode ModeFor(const CORBISTAVDoc& doc, bool bRaw);
    void SetMode(Mode mode) { m_mode = mode; }

    // Checks that the entry lies inside the archive and, in Content mode, whether it is
    // compressed and its trailer is consistent. sLabel names the entry in every failure.
    Result Open(const ArchiveFile& file, const std::string& sLabel);
    // The entry starts with the LZ41 magic (known after Open, even when Open failed on
    // its trailer).
    bool IsCompressed() const { return m_bCompressed; }
    std::int64_t ContentSize() const;

    // Hands the content to sink piece by piece, in order, from its start until it is all
    // given or the sink fails. A compressed entry is checked block by block as it goes.
    Result Stream(const Sink& sink);
    // The content from its start, whatever was read before.
    Result ReadAll(std::vector<unsigned char>& content);
    // The next piece of the content, for readers that pull: empty once it is all given.
    // The piece stays valid until the next call.
    Result Next(std::span<const unsigned char>& piece);

private:
    Result Damaged(const std::string& cause) const;

    IByteSource& m_archive;
    Mode m_mode;
    ArchiveFile m_file;
    std::string m_strLabel;
    bool m_bOpen = false;
    bool m_bCompressed = false;
    std::int64_t m_nPosition = 0; // stored bytes given, or blocks decompressed
    Lz41Layout m_layout;
    std::vector<unsigned char> m_stored;  // bytes read from the archive
    std::vector<unsigned char> m_content; // one decompressed block
};

// What a stream hands to its sink, gathered in content; empty when the stream fails.
Result ReadStreamed(const std::function<Result(const CEntryReader::Sink&)>& stream,
                    std::vector<unsigned char>& content);

// The content of one entry read whole.
Result ReadEntryContent(IByteSource& archive, const ArchiveFile& file, const std::string& sLabel,
                        std::vector<unsigned char>& content,
                        CEntryReader::Mode mode = CEntryReader::Mode::Content);
