#include "EntryData.h"

#include "ArchiveFile.h"
#include "IByteSource.h"

Result CheckEntryBounds(const ArchiveFile& file, std::int64_t nArchiveSize,
                        const std::string& sLabel)
{
    const std::int64_t nOffset = file.nOffset;
    const std::int64_t nSize = file.nSize;
    if (nOffset < 0 || nSize < 0 || nOffset + nSize > nArchiveSize)
        return Result::Fail(sLabel + ": the entry is damaged: its data (offset " +
                            std::to_string(nOffset) + ", " + std::to_string(nSize) +
                            " bytes) lies outside the archive (" + std::to_string(nArchiveSize) +
                            " bytes)");
    return Result::Ok();
}

Result ReadEntryData(IByteSource& archive, const ArchiveFile& file, const std::string& sLabel,
                     std::vector<unsigned char>& data)
{
    if (Result r = CheckEntryBounds(file, archive.Size(), sLabel); !r)
        return r;
    data.resize(static_cast<std::size_t>(file.nSize));
    const std::int64_t n = archive.ReadAt(file.nOffset, data.data(), data.size());
    if (n != file.nSize)
    {
        data.clear();
        return Result::Fail(sLabel + ": the archive could not be read");
    }
    return Result::Ok();
}
