#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ArchiveLimits.h"

// One directory record. aChildren is left uninitialised on purpose: only its used slots
// are ever written or read. aFiles holds the used slots only (nFiles of them, never
// more than MAX_FILES): a full slot array in each of the 512 records would put every
// record on a page of its own, and the whole table would cost some 3 MB of memory
// touched before the first archive is read.
struct ArchiveDir
{
    std::int32_t nParent;
    std::int32_t nChildren;
    std::int32_t nFiles;
    std::int32_t nType = -1;
    std::string strName;
    void* hTreeItem = nullptr; // owned by the directory tree view
    std::int32_t aChildren[MAX_SUBDIRS];
    std::vector<std::int32_t> aFiles;
};
