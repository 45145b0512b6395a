#include "EntrySelection.h"

#include <iostream>

#include "CCliArchive.h"
#include "CEntryExtractor.h"
#include "ExitCodes.h"
#include "PathPattern.h"
#include "TextEncoding.h"

std::vector<std::string> MatchPaths(const std::vector<std::string>& patternTexts, int nCount,
                                    const std::function<std::string(int)>& pathOf,
                                    std::vector<int>& selected)
{
    std::vector<PathPattern> patterns(patternTexts.begin(), patternTexts.end());
    std::vector<bool> used(patterns.size(), false);
    for (int n = 0; n < nCount; ++n)
    {
        const std::string path = pathOf(n);
        bool bMatch = patterns.empty();
        for (std::size_t i = 0; i < patterns.size(); ++i)
            if (patterns[i].Matches(path))
                bMatch = used[i] = true;
        if (bMatch)
            selected.push_back(n);
    }
    std::vector<std::string> unmatched;
    for (std::size_t i = 0; i < patterns.size(); ++i)
        if (!used[i])
            unmatched.push_back(patterns[i].Text());
    return unmatched;
}

int SelectEntries(const CCliArchive& archive, const std::vector<std::string>& patternTexts,
                  std::vector<int>& selected)
{
    const CORBISTAVDoc& doc = archive.Doc();
    selected.clear();
    const std::vector<std::string> unmatched = MatchPaths(
        patternTexts, doc.m_nFileCount,
        [&](int f) { return CEntryExtractor::ArchivePathOf(doc, f); }, selected);

    int status = archive.IsComplete() ? EXIT_OK : EXIT_PARTIAL;
    for (const std::string& pattern : unmatched)
    {
        std::cerr << "orbistav-cli: " << archive.Path() << ": no entry matches '" << pattern
                  << "'\n";
        status = EXIT_FAILED;
    }
    return status;
}

Result FindSingleEntry(const CCliArchive& archive, const std::string& patternText, int& nFile)
{
    const CORBISTAVDoc& doc = archive.Doc();
    const PathPattern pattern(patternText);
    std::vector<std::string> matches;
    for (int f = 0; f < doc.m_nFileCount; ++f)
    {
        std::string path = CEntryExtractor::ArchivePathOf(doc, f);
        if (!pattern.Matches(path))
            continue;
        if (matches.empty())
            nFile = f;
        matches.push_back(std::move(path));
    }
    if (matches.empty())
        return Result::Fail(archive.Path() + ": no entry matches '" + patternText + "'");
    if (matches.size() > 1)
    {
        // The full paths tell the user how to name the one they meant.
        std::string text = archive.Path() + ": '" + patternText + "' matches " +
                           std::to_string(matches.size()) + " entries; name one:";
        for (const std::string& path : matches)
            text += "\n  " + Cp1252ToUtf8(path);
        return Result::Fail(text);
    }
    return Result::Ok();
}
