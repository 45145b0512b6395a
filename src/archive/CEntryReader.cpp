#include "CEntryReader.h"

#include <algorithm>

#include "CORBISTAVDoc.h"
#include "EntryData.h"
#include "IByteSource.h"

namespace
{
// Stored entries are copied through a buffer of at most this size, however large.
constexpr std::int64_t COPY_BLOCK = 1024 * 1024;
} // namespace

CEntryReader::CEntryReader(IByteSource& archive, Mode mode) : m_archive(archive), m_mode(mode) {}

CEntryReader::Mode CEntryReader::ModeFor(const CORBISTAVDoc& doc, bool bRaw)
{
    return !bRaw && doc.m_nArchiveKind == ARCHIVE_KIND_VP ? Mode::Content : Mode::Stored;
}

Result CEntryReader::Damaged(const std::string& cause) const
{
    return Result::Fail(m_strLabel + ": the compressed entry is damaged: " + cause);
}

Result CEntryReader::Open(const ArchiveFile& file, const std::string& sLabel)
{
    m_file = file;
    m_strLabel = sLabel;
    m_bOpen = false;
    m_bCompressed = false;
    m_nPosition = 0;
    if (Result r = CheckEntryBounds(file, m_archive.Size(), sLabel); !r)
        return r;
    if (m_mode == Mode::Content && file.nSize >= LZ41_MAGIC_BYTES)
    {
        unsigned char head[LZ41_MAGIC_BYTES];
        if (m_archive.ReadAt(file.nOffset, head, sizeof head) != LZ41_MAGIC_BYTES)
            return Result::Fail(sLabel + ": the archive could not be read");
        m_bCompressed = HasLz41Magic(head);
    }
    if (m_bCompressed)
        if (Result r = ReadLz41Layout(m_archive, file.nOffset, file.nSize, m_layout); !r)
            return Damaged(r.Text());
    m_bOpen = true;
    return Result::Ok();
}

std::int64_t CEntryReader::ContentSize() const
{
    return m_bCompressed ? m_layout.nOriginalSize : m_file.nSize;
}

Result CEntryReader::Stream(const Sink& sink)
{
    m_nPosition = 0;
    for (;;)
    {
        std::span<const unsigned char> piece;
        if (Result r = Next(piece); !r)
            return r;
        if (piece.empty())
            return Result::Ok();
        if (Result r = sink(piece); !r)
            return r;
    }
}

Result CEntryReader::Next(std::span<const unsigned char>& piece)
{
    piece = {};
    if (!m_bOpen)
        return Result::Fail(m_strLabel + ": the entry is not open");
    if (!m_bCompressed)
    {
        const std::int64_t nChunk = std::min(m_file.nSize - m_nPosition, COPY_BLOCK);
        if (nChunk <= 0)
            return Result::Ok();
        if (static_cast<std::int64_t>(m_stored.size()) < nChunk)
            m_stored.resize(static_cast<std::size_t>(nChunk));
        if (m_archive.ReadAt(m_file.nOffset + m_nPosition, m_stored.data(),
                             static_cast<std::size_t>(nChunk)) != nChunk)
            return Result::Fail(m_strLabel + ": the archive could not be read");
        m_nPosition += nChunk;
        piece = {m_stored.data(), static_cast<std::size_t>(nChunk)};
        return Result::Ok();
    }
    // Blocks that decompress to nothing (an empty entry) give no piece.
    while (m_nPosition < m_layout.BlockCount())
    {
        const int b = static_cast<int>(m_nPosition++);
        const std::int64_t nStored = m_layout.StoredSize(b);
        m_stored.resize(static_cast<std::size_t>(nStored));
        if (m_archive.ReadAt(m_file.nOffset + m_layout.aOffsets[b], m_stored.data(),
                             m_stored.size()) != nStored)
            return Result::Fail(m_strLabel + ": the archive could not be read");
        if (Result r = DecompressLz41Block(m_stored, m_layout.ContentSize(b), m_content); !r)
            return Damaged("block " + std::to_string(b + 1) + " of " +
                           std::to_string(m_layout.BlockCount()) + " does not decompress");
        if (!m_content.empty())
        {
            piece = m_content;
            return Result::Ok();
        }
    }
    return Result::Ok();
}

Result CEntryReader::ReadAll(std::vector<unsigned char>& content)
{
    content.clear();
    if (m_bOpen && !m_bCompressed)
    {
        content.resize(static_cast<std::size_t>(m_file.nSize));
        if (m_archive.ReadAt(m_file.nOffset, content.data(), content.size()) == m_file.nSize)
            return Result::Ok();
        content.clear();
        return Result::Fail(m_strLabel + ": the archive could not be read");
    }
    // Grown block by block, so a trailer that lies about the size costs no more memory
    // than the blocks that really decompress.
    return ReadStreamed([this](const Sink& sink) { return Stream(sink); }, content);
}

Result ReadStreamed(const std::function<Result(const CEntryReader::Sink&)>& stream,
                    std::vector<unsigned char>& content)
{
    content.clear();
    Result r = stream(
        [&](std::span<const unsigned char> piece)
        {
            content.insert(content.end(), piece.begin(), piece.end());
            return Result::Ok();
        });
    if (!r)
        content.clear();
    return r;
}

Result ReadEntryContent(IByteSource& archive, const ArchiveFile& file, const std::string& sLabel,
                        std::vector<unsigned char>& content, CEntryReader::Mode mode)
{
    CEntryReader reader(archive, mode);
    if (Result r = reader.Open(file, sLabel); !r)
        return r;
    return reader.ReadAll(content);
}
