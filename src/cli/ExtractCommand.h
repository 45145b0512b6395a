#pragma once

#include <string>
#include <vector>

#include "Result.h"

class CCliArchive;
class CDestinationDir;

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

// The destination folder, made when missing, opened for writing below it.
Result OpenDestination(const std::string& path, CDestinationDir& destination);
