#include "ExtractCommand.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <memory>
#include <mutex>
#include <thread>

#include "CCliArchive.h"
#include "CEntryExtractor.h"
#include "CInputFile.h"
#include "CProgressLine.h"
#include "EntrySelection.h"
#include "ExitCodes.h"
#include "ParallelExtraction.h"

Result OpenDestination(const std::string& path, CDestinationDir& destination)
{
    // A failure to make it shows as the open's clearer message.
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    return CDestinationDir::Open(path, destination);
}

int ExtractArchive(const CCliArchive& archive, const ExtractOptions& options)
{
    const CORBISTAVDoc& doc = archive.Doc();
    std::vector<int> selected;
    int status = SelectEntries(archive, options.aPatterns, selected);
    if (selected.empty())
        return status;

    CDestinationDir destination;
    if (Result r = OpenDestination(options.strDestination, destination); !r)
    {
        std::cerr << "orbistav-cli: " << r.Text() << '\n';
        return EXIT_FAILED;
    }
    CInputFile file;
    if (Result r = file.Open(doc.GetPathName()); !r)
    {
        std::cerr << "orbistav-cli: " << r.Text() << '\n';
        return EXIT_FAILED;
    }

    CProgressLine progress(std::cerr, CProgressLine::StandardErrorIsTerminal(),
                           static_cast<int>(selected.size()));
    CEntryExtractor extractor(doc, file, std::move(destination), options.bKeepDirs);
    extractor.SetRaw(options.bRaw);
    extractor.SetRestoreTimes(true);
    // The whole archive with its directories: empty ones too, so a packed folder comes back.
    if (options.bKeepDirs && options.aPatterns.empty())
        for (int d = 1; d < doc.m_nDirCount; ++d)
            if (Result r = extractor.MakeDirectory(d); !r)
            {
                std::cerr << "orbistav-cli: " << r.Text() << '\n';
                status = EXIT_FAILED;
            }

    // Many files are written on every core, each extractor with its own reader.
    std::vector<CEntryExtractor*> extractors{&extractor};
    std::vector<std::unique_ptr<CInputFile>> moreFiles;
    std::vector<std::unique_ptr<CEntryExtractor>> moreExtractors;
    const std::size_t nWorkers =
        selected.size() < 64 ? 1 : std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, 4);
    while (extractors.size() < nWorkers)
    {
        auto input = std::make_unique<CInputFile>();
        CDestinationDir more;
        if (!input->Open(doc.GetPathName()) || !CDestinationDir::Open(options.strDestination, more))
            break;
        moreExtractors.push_back(
            std::make_unique<CEntryExtractor>(doc, *input, std::move(more), options.bKeepDirs));
        moreFiles.push_back(std::move(input));
        moreExtractors.back()->SetRaw(options.bRaw);
        moreExtractors.back()->SetRestoreTimes(true);
        extractors.push_back(moreExtractors.back().get());
    }
    std::mutex progressMutex;
    for (CEntryExtractor* pExtractor : extractors)
        pExtractor->SetWrittenHandler(
            [&](std::int64_t nBytes)
            {
                std::lock_guard lock(progressMutex);
                progress.AddBytes(nBytes);
            });
    ExtractInParallel(doc, extractors, selected,
                      [&](std::size_t, const Result& r, const std::string& written)
                      {
                          std::lock_guard lock(progressMutex);
                          if (!r)
                          {
                              progress.Clear();
                              std::cerr << "orbistav-cli: " << r.Text() << '\n';
                              status = EXIT_FAILED;
                          }
                          else if (options.bVerbose)
                          {
                              progress.Clear();
                              std::cout << written << std::endl;
                          }
                          progress.FileDone();
                      });
    return status;
}
