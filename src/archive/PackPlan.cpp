#include "PackPlan.h"

#include "ArchiveLimits.h"
#include "FileTypes.h"
#include "VpFormat.h"

namespace
{
// "LZ41", one block of one byte, two offsets and the trailer.
constexpr std::int64_t EMPTY_LZ41_ENTRY = 4 + 1 + 8 + 12;
} // namespace

bool ShouldCompress(const std::string& name, std::int64_t nSize)
{
    const int nType = GetFileType(name);
    return nSize == 0 ||
           (nType != FILE_TYPE_PNG && nType != FILE_TYPE_JPG && nType != FILE_TYPE_OGG);
}

std::string CapacityWarning(const PackPlan& plan)
{
    if (plan.nFiles <= MAX_FILES && plan.nDirectories + 1 <= MAX_DIRS &&
        plan.nMostSubdirectories <= MAX_SUBDIRS)
        return {};
    std::string text = "the archive holds " + std::to_string(plan.nFiles) + " files and " +
                       std::to_string(plan.nDirectories) + " directories";
    if (plan.nMostSubdirectories > MAX_SUBDIRS)
        text +=
            ", one of them with " + std::to_string(plan.nMostSubdirectories) + " subdirectories";
    return text + "; the browser shows only the first " + std::to_string(MAX_FILES) +
           " files and " + std::to_string(MAX_DIRS) + " directories (" +
           std::to_string(MAX_SUBDIRS) + " in one directory), the engine reads them all";
}

std::int64_t LargestArchiveSize(const PackPlan& plan)
{
    std::int64_t nSize = VP_HEADER_SIZE;
    for (const PackItem& item : plan.aItems)
    {
        nSize += static_cast<std::int64_t>(VP_ENTRY_SIZE);
        if (item.IsFile())
            nSize += item.nSize == 0 ? EMPTY_LZ41_ENTRY : item.nSize;
    }
    return nSize;
}
