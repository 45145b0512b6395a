#include "ExtractCommand.h"

#include <filesystem>
#include <iostream>

#include "CCliArchive.h"
#include "CEntryExtractor.h"
#include "CInputFile.h"
#include "ExitCodes.h"
#include "PathPattern.h"

int ExtractArchive(const CCliArchive& archive, const ExtractOptions& options)
{
    const CORBISTAVDoc& doc = archive.Doc();
    std::vector<PathPattern> patterns(options.aPatterns.begin(), options.aPatterns.end());
    std::vector<bool> used(patterns.size(), false);
    std::vector<int> selected;
    for (int f = 0; f < doc.m_nFileCount; ++f)
    {
        const std::string path = CEntryExtractor::ArchivePathOf(doc, f);
        bool bMatch = patterns.empty();
        for (std::size_t i = 0; i < patterns.size(); ++i)
            if (patterns[i].Matches(path))
                bMatch = used[i] = true;
        if (bMatch)
            selected.push_back(f);
    }

    int status = archive.IsComplete() ? EXIT_OK : EXIT_PARTIAL;
    for (std::size_t i = 0; i < patterns.size(); ++i)
        if (!used[i])
        {
            std::cerr << "orbistav-cli: " << archive.Path() << ": no entry matches '"
                      << patterns[i].Text() << "'\n";
            status = EXIT_FAILED;
        }
    if (selected.empty())
        return status;

    std::error_code ec;
    std::filesystem::create_directories(options.strDestination, ec);
    CDestinationDir destination;
    if (Result r = CDestinationDir::Open(options.strDestination, destination); !r)
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

    CEntryExtractor extractor(doc, file, std::move(destination), options.bKeepDirs);
    for (const int f : selected)
    {
        std::string written;
        if (Result r = extractor.Extract(f, &written); !r)
        {
            std::cerr << "orbistav-cli: " << r.Text() << '\n';
            status = EXIT_FAILED;
        }
        else if (options.bVerbose)
            std::cout << written << '\n';
    }
    return status;
}
