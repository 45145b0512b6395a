#pragma once

#include <ostream>
#include <string>
#include <vector>

class CCliArchive;

struct CatOptions
{
    std::string strEntry; // a pattern that must match exactly one file
    bool bRaw = false;
};

struct SumOptions
{
    std::vector<std::string> aPatterns; // empty: every file
    std::string strAlgorithm = "sha256";
    bool bRaw = false;
};

// "cat": the entry's content (decompressed unless raw) on out.
int CatEntry(const CCliArchive& archive, const CatOptions& options, std::ostream& out);
// "sum": one line per matching file in archive order, like sha256sum: the digest, two
// spaces, the archive path.
int SumEntries(const CCliArchive& archive, const SumOptions& options, std::ostream& out);
