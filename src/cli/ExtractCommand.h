#pragma once

#include <string>
#include <vector>

class CCliArchive;

struct ExtractOptions
{
    std::vector<std::string> aPatterns; // empty: every file
    std::string strDestination = ".";
    bool bKeepDirs = false;
    bool bVerbose = false;
    bool bRaw = false; // stored bytes, compressed entries not decompressed
};

// "extract": writes the matching entries into the destination.
int ExtractArchive(const CCliArchive& archive, const ExtractOptions& options);
