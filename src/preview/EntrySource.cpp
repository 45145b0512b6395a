#include "EntrySource.h"

#include <algorithm>
#include <limits>
#include <new>

#include "ArchiveFile.h"
#include "CInputFile.h"
#include "CORBISTAVDoc.h"

bool ToArchiveFile(const EntrySource& source, ArchiveFile& file)
{
    constexpr std::int64_t nMost = std::numeric_limits<std::int32_t>::max();
    if (source.nOffset < 0 || source.nSize < 0 || source.nOffset > nMost || source.nSize > nMost)
        return false;
    file.nOffset = static_cast<std::int32_t>(source.nOffset);
    file.nSize = static_cast<std::int32_t>(source.nSize);
    file.strName = source.strName;
    file.nType = source.nType;
    return true;
}

EntrySource EntrySource::FromDocument(const CORBISTAVDoc& doc, const ArchiveFile& file)
{
    EntrySource source;
    source.strPath = doc.GetPathName();
    source.nOffset = file.nOffset;
    source.nSize = file.nSize;
    source.mode = CEntryReader::ModeFor(doc, false);
    source.strName = file.strName;
    source.strDirPath = doc.GetDirPath(file.nDir);
    source.nType = file.nType;
    return source;
}

namespace
{
// The archive file opened and the entry's place in it checked, for a reader of its bytes.
Result OpenEntrySource(const EntrySource& source, CInputFile& file, ArchiveFile& entry)
{
    if (!ToArchiveFile(source, entry))
        return Result::Fail(source.strName + ": the entry lies beyond what can be read");
    if (!file.Open(source.strPath))
        return Result::Fail(source.strPath + ": cannot be opened");
    return Result::Ok();
}
} // namespace

Result ReadEntrySource(const EntrySource& source, std::vector<std::uint8_t>& bytes)
{
    CInputFile file;
    ArchiveFile entry;
    if (Result r = OpenEntrySource(source, file, entry); !r)
        return r;
    try
    {
        return ReadEntryContent(file, entry, source.strName, bytes, source.mode);
    }
    catch (const std::bad_alloc&)
    {
        return Result::Fail(source.strName + ": not enough memory for the entry");
    }
}

Result ReadEntrySourceHead(const EntrySource& source, std::size_t nMost,
                           std::vector<std::uint8_t>& bytes)
{
    bytes.clear();
    CInputFile file;
    ArchiveFile entry;
    if (Result r = OpenEntrySource(source, file, entry); !r)
        return r;
    CEntryReader reader(file, source.mode);
    if (Result r = reader.Open(entry, source.strName); !r)
        return r;
    while (bytes.size() < nMost)
    {
        std::span<const unsigned char> piece;
        if (Result r = reader.Next(piece); !r)
            return r;
        if (piece.empty())
            break;
        const std::size_t nTake = std::min(piece.size(), nMost - bytes.size());
        bytes.insert(bytes.end(), piece.begin(),
                     piece.begin() + static_cast<std::ptrdiff_t>(nTake));
    }
    return Result::Ok();
}
