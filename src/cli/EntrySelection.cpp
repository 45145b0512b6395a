#include "EntrySelection.h"

#include <iostream>

#include "CCliArchive.h"
#include "CEntryExtractor.h"
#include "ExitCodes.h"
#include "PathPattern.h"

int SelectEntries(const CCliArchive& archive, const std::vector<std::string>& patternTexts,
                  std::vector<int>& selected)
{
    const CORBISTAVDoc& doc = archive.Doc();
    std::vector<PathPattern> patterns(patternTexts.begin(), patternTexts.end());
    std::vector<bool> used(patterns.size(), false);
    selected.clear();
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
    return status;
}

Result FindSingleEntry(const CCliArchive& archive, const std::string& patternText, int& nFile)
{
    const CORBISTAVDoc& doc = archive.Doc();
    const PathPattern pattern(patternText);
    int nMatches = 0;
    for (int f = 0; f < doc.m_nFileCount; ++f)
        if (pattern.Matches(CEntryExtractor::ArchivePathOf(doc, f)) && nMatches++ == 0)
            nFile = f;
    if (nMatches == 0)
        return Result::Fail(archive.Path() + ": no entry matches '" + patternText + "'");
    if (nMatches > 1)
        return Result::Fail(archive.Path() + ": '" + patternText + "' matches " +
                            std::to_string(nMatches) + " entries; name one");
    return Result::Ok();
}
