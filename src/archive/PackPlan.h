#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "PackItem.h"

// What an archive to be written will hold, in writing order, and what is worth saying
// about it before it is written.
struct PackPlan
{
    std::vector<PackItem> aItems;
    std::vector<std::string> aWarnings;
    int nFiles = 0;
    int nDirectories = 0;        // the root not counted
    int nMostSubdirectories = 0; // in any one directory, the root included
};

// Whether a file is stored in the LZ41 layout when packing compressed: pictures and
// sounds that are compressed already are not, and an empty file always is, since an
// entry of size 0 marks a directory.
bool ShouldCompress(const std::string& name, std::int64_t nSize);

// The warning for an archive larger than the browser's tables; empty when it fits.
std::string CapacityWarning(const PackPlan& plan);

// The largest the archive can come out: every file stored, an empty one compressed.
std::int64_t LargestArchiveSize(const PackPlan& plan);
