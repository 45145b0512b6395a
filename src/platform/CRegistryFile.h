#pragma once

#include <functional>
#include <string>

#include "CRegistryTree.h"
#include "Result.h"
#include "RegistryRoot.h"

// One registry root kept in its REGEDIT4 file. Other tools of the suite and people edit
// the same file, so nothing is cached: every read parses the file anew, and every change
// is made under the lock, on the file as it is at that moment.
class CRegistryFile
{
public:
    explicit CRegistryFile(RegistryRoot root); // the file at GetRegistryFilePath(root)
    CRegistryFile(RegistryRoot root, std::string path);

    const std::string& Path() const { return m_strPath; }

    // A missing or unreadable file reads as an empty tree.
    CRegistryTree Read() const;

    // Locks, rereads, applies the change and replaces the file atomically. A change that
    // returns false is not written and the call fails. A file that could not be parsed
    // completely is first copied to "<file>.bak-<timestamp>", then the salvaged tree is
    // written; a file that cannot be read at all is left untouched and the call fails.
    Result Update(const std::function<bool(CRegistryTree&)>& change);

private:
    RegistryRoot m_nRoot;
    std::string m_strPath;
};
