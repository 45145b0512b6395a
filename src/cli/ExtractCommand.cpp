#include "ExtractCommand.h"

#include <filesystem>
#include <iostream>

#include "CCliArchive.h"
#include "CEntryExtractor.h"
#include "CInputFile.h"
#include "CProgressLine.h"
#include "EntrySelection.h"
#include "ExitCodes.h"

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
    extractor.SetWrittenHandler([&](std::int64_t nBytes) { progress.AddBytes(nBytes); });
    for (const int f : selected)
    {
        std::string written;
        if (Result r = extractor.Extract(f, &written); !r)
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
    }
    return status;
}
