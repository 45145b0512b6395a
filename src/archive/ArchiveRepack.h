#pragma once

#include <string>

#include "PackPlan.h"
#include "Result.h"

enum class RepackMode
{
    Compress,   // entries stored in the LZ41 layout, as packing compressed does
    Decompress, // entries stored as their content
};

// Plans a .VP archive with the same entries, names and times as the one at archivePath,
// its files' content read from there. An archive read only in part, or an entry whose
// data or compressed layout is damaged, is refused naming it.
Result PlanArchiveRepack(const std::string& archivePath, RepackMode mode, PackPlan& plan);
