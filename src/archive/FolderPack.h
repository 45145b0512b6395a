#pragma once

#include <string>

#include "PackPlan.h"
#include "Result.h"

struct FolderPackOptions
{
    bool bLz41 = false;
    bool bZeroTimes = false;
    std::string strOutputPath; // refused when it lies inside the folder
};

// Plans an archive whose tree is the folder's: in each directory its files, then its
// subdirectories, each in byte order of their Windows-1252 names, so the same tree
// always gives the same archive. Everything that cannot go into an archive is refused
// here, naming the file, before anything is written.
Result PlanFolderPack(const std::string& folder, const FolderPackOptions& options, PackPlan& plan);
