#pragma once

#include <cstdint>
#include <string>

#include "ArchiveLimits.h"

// One directory record. The index arrays are left uninitialised on purpose: the
// document holds 512 of these (33 MB) and only the used slots are ever written or read.
struct ArchiveDir
{
    std::int32_t nParent;
    std::int32_t aChildren[MAX_SUBDIRS];
    std::int32_t aFiles[MAX_FILES];
    std::int32_t nChildren;
    std::int32_t nFiles;
    // These three lie on the same page, which constructing strName touches anyway.
    std::int32_t nType = -1;
    std::string strName;
    void* hTreeItem = nullptr; // owned by the directory tree view
};
