#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "CGameFolder.h"
#include "Result.h"
#include "RgbaPicture.h"

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

    // One file's content whole, decompressed, from its archive or loose.
    Result ReadContent(int nFile, std::vector<std::uint8_t>& content) const;

    // The file the game takes for each texture a model names, -1 where the view has none.
    // A POF's name is looked up as the game does: the earliest place holding it in any
    // picture kind, the kinds' order (.dds .tga .png .jpg .pcx) only within that place; a Red
    // Faction mesh's by V3dTextureFileNames' order.
    std::vector<int> FindTextures(const std::vector<std::string>& names, bool bRedFaction) const;
    // One picture per file, empty where it is -1, does not decode, or wanted (when given)
    // says no polygon drawn uses it.
    std::vector<RgbaPicture> LoadTextures(const std::vector<int>& files,
                                          const std::vector<bool>& wanted) const;

private:
    CGameFolder m_folder;
};

// A name given on the command line is a folder when it is one on disk.
bool IsFolderArgument(const std::string& path);
