#pragma once

#include <cstdint>
#include <string>

#include "ArchiveLimits.h"

// One directory record. The index arrays are left uninitialised on purpose: the
// document holds 512 of these (33 MB) and only the used slots are ever written or read.
// Everything a directory of a few dozen files uses lies at the front, so such a record
// costs one page of memory, not two.
struct ArchiveDir
{
    std::int32_t nParent;
    std::int32_t nChildren;
    std::int32_t nFiles;
    std::int32_t nType = -1;
    std::string strName;
    void* hTreeItem = nullptr; // owned by the directory tree view
    std::int32_t aChildren[MAX_SUBDIRS];
    std::int32_t aFiles[MAX_FILES];
};
