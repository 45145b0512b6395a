#include "EntryData.h"

#include "ArchiveFile.h"

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
