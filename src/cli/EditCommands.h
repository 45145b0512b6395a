#pragma once

#include <string>
#include <vector>

// add, rm and mv: each reads the archive, makes its edits and saves it in place through
// the crash-safe writer. On any failure nothing is written and the archive stays as it was.
struct AddOptions
{
    std::string strArchive;
    std::vector<std::string> aPaths;
    std::string strTo; // the archive directory (\data\tables); ignored for .VPP
    bool bLz41 = false;
};
int AddToArchive(const AddOptions& options);

int RemoveFromArchive(const std::string& archive, const std::vector<std::string>& patterns);

int MoveInArchive(const std::string& archive, const std::string& from, const std::string& to);

// pack DIR -o OUT.vpp: the folder's files, flat, in byte order of their names.
int PackFolderAsVpp(const std::string& folder, const std::string& output, bool bLz41);
