#include "PackCommand.h"

#include <filesystem>
#include <iostream>
#include <thread>

#include "ArchiveRepack.h"
#include "CORBISTAVDoc.h"
#include "CProgressLine.h"
#include "EditCommands.h"
#include "ExitCodes.h"
#include "FolderPack.h"
#include "InterruptSignal.h"
#include "PackWriter.h"

namespace
{
int Fail(const std::string& text)
{
    std::cerr << "orbistav-cli: " << text << '\n';
    return EXIT_FAILED;
}

int JobCount(const PackOptions& options)
{
    if (options.nJobs > 0)
        return options.nJobs;
    const unsigned nProcessors = std::thread::hardware_concurrency();
    return nProcessors == 0 ? 1 : static_cast<int>(nProcessors);
}

int WritePlan(const PackPlan& plan, const PackOptions& options)
{
    for (const std::string& warning : plan.aWarnings)
        std::cerr << "orbistav-cli: warning: " << warning << '\n';
    CatchInterrupts();
    CProgressLine progress(std::cerr, CProgressLine::StandardErrorIsTerminal(), plan.nFiles);
    PackWriteOptions write;
    write.nJobs = JobCount(options);
    write.isCancelled = WasInterrupted;
    write.onContentBytes = [&](std::int64_t nBytes) { progress.AddBytes(nBytes); };
    write.onFileDone = [&] { progress.FileDone(); };
    const Result result = WriteVpArchive(plan.aItems, options.strOutput, write);
    progress.Clear();
    if (WasInterrupted())
    {
        std::cerr << "orbistav-cli: interrupted; " << options.strOutput << " was not written\n";
        return EXIT_INTERRUPTED;
    }
    if (!result)
        return Fail(result.Text());
    return EXIT_OK;
}

bool SameFile(const std::string& a, const std::string& b)
{
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec);
}

int Repack(const PackOptions& options, RepackMode mode)
{
    if (SameFile(options.strInput, options.strOutput))
        return Fail(options.strOutput + ": the output may not be the input archive");
    PackPlan plan;
    if (Result r = PlanArchiveRepack(options.strInput, mode, plan); !r)
        return Fail(r.Text());
    if (mode == RepackMode::Decompress)
    {
        int nEmpty = 0;
        for (const PackItem& item : plan.aItems)
            nEmpty += item.IsFile() && item.bCompress ? 1 : 0;
        if (nEmpty > 0)
            plan.aWarnings.push_back(std::to_string(nEmpty) +
                                     " empty files stay compressed: stored as they are, an "
                                     "entry of size 0 would read as a directory");
    }
    if (std::string warning = CapacityWarning(plan); !warning.empty())
        plan.aWarnings.push_back(warning);
    return WritePlan(plan, options);
}
} // namespace

int PackFolder(const PackOptions& options)
{
    if (CORBISTAVDoc::KindOfName(options.strOutput) == ARCHIVE_KIND_VPP)
        return PackFolderAsVpp(options.strInput, options.strOutput, options.bLz41);
    FolderPackOptions folder;
    folder.bLz41 = options.bLz41;
    folder.bZeroTimes = options.bZeroTimes;
    folder.strOutputPath = options.strOutput;
    PackPlan plan;
    if (Result r = PlanFolderPack(options.strInput, folder, plan); !r)
        return Fail(r.Text());
    return WritePlan(plan, options);
}

int CompressArchive(const PackOptions& options)
{
    return Repack(options, RepackMode::Compress);
}

int DecompressArchive(const PackOptions& options)
{
    return Repack(options, RepackMode::Decompress);
}
