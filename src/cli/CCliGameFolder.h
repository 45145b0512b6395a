#pragma once

#include <optional>
#include <string>

#include "CGameFolder.h"
#include "Result.h"

// A game folder opened for one command, its warnings on stderr.
class CCliGameFolder
{
public:
    // Prints the cause and returns false when the folder cannot be read at all.
    bool Load(const std::string& folder, const std::optional<std::string>& modList);
    const CGameFolder& Folder() const { return m_folder; }
    // The exit status when all else went well: partial when something was damaged.
    int Status() const;

    // The one file the game loads for a name as `which` takes it, or a type folder path
    // ("data/tables/ships.tbl"); none, or one in several type folders, fails saying so.
    Result FindOne(const std::string& name, int& nFile) const;

    // The disk path of the archive holding what the game loads for a name, and the
    // entry's archive path ("\data\maps\x.dds"); a loose file fails.
    Result ArchiveEntryOf(const std::string& name, std::string& archive, std::string& entry) const;

private:
    CGameFolder m_folder;
};

// A name given on the command line is a folder when it is one on disk.
bool IsFolderArgument(const std::string& path);
