#include "ArchiveRepack.h"

#include <memory>

#include "CEntryContentInput.h"
#include "CEntryReader.h"
#include "CInputFile.h"
#include "CORBISTAVDoc.h"
#include "TextEncoding.h"
#include "VpDirectory.h"

Result PlanArchiveRepack(const std::string& archivePath, RepackMode mode, PackPlan& plan)
{
    plan = PackPlan();
    if (CORBISTAVDoc::KindOfName(archivePath) == ARCHIVE_KIND_VPP)
        return Result::Fail(archivePath + ": only .VP archives hold compressed entries");
    auto archive = std::make_shared<CInputFile>();
    if (Result r = archive->Open(archivePath); !r)
        return r;
    VpDirectory directory;
    if (Result r = ReadVpDirectory(*archive, directory); !r)
        return Result::Fail(archivePath + ": " + r.Text());
    if (!directory.strIncomplete.empty())
        return Result::Fail(archivePath +
                            ": the archive was read only in part: " + directory.strIncomplete);

    const std::vector<std::string> paths = VpEntryPaths(directory.aEntries);
    CEntryReader reader(*archive);
    int nDepth = 0;
    for (std::size_t i = 0; i < directory.aEntries.size(); ++i)
    {
        const VpEntry& entry = directory.aEntries[i];
        PackItem& item = plan.aItems.emplace_back();
        item.strName = entry.strName;
        if (entry.IsDirectory())
        {
            // A ".." at the root is dropped, as the reader ignores it.
            if (entry.IsParent() && nDepth == 0)
            {
                plan.aItems.pop_back();
                continue;
            }
            item.kind = entry.IsParent() ? PackItem::Kind::Parent : PackItem::Kind::Directory;
            nDepth += entry.IsParent() ? -1 : 1;
            plan.nDirectories += entry.IsParent() ? 0 : 1;
            continue;
        }
        const ArchiveFile file = AsArchiveFile(entry);
        item.kind = PackItem::Kind::File;
        item.tTime = entry.tTime;
        item.strLabel = archivePath + ": " + Cp1252ToUtf8(paths[i]);
        if (Result r = reader.Open(file, item.strLabel); !r)
            return r;
        item.nSize = reader.ContentSize();
        item.bCompress = mode == RepackMode::Compress ? ShouldCompress(entry.strName, item.nSize)
                                                      : item.nSize == 0;
        item.openInput = [archive, file, label = item.strLabel]
        { return std::make_unique<CEntryContentInput>(archive, file, label); };
        ++plan.nFiles;
    }
    return Result::Ok();
}
