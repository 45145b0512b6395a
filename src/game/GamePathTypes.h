#pragma once

#include <string_view>

// The engine's type folders: every file the game loads belongs to one of them, and each
// loads only its own extensions. Indices follow the engine's order, which decides the
// order of archives and of the loose files of one root.
struct GamePathType
{
    const char* szPath;       // "data/maps"; "" for the game folder itself
    const char* szExtensions; // ".pcx .ani ...", searched as a substring
    int nParent;              // the type folder this one lies in
    bool bSubfolders;         // loose files in subfolders count, with a sub path
    bool bLooseIndexed;       // pilot files are never indexed from disk
};

constexpr int GAME_TYPE_INVALID = 0;
constexpr int GAME_TYPE_ROOT = 1;
constexpr int GAME_TYPE_DATA = 2;
constexpr int GAME_TYPE_TABLES = 6;
constexpr int GAME_TYPE_MISSIONS = 29;
constexpr int GAME_TYPE_COUNT = 37; // 1..36 are used

const GamePathType& GetGamePathType(int nType);

// The type of an archive directory from its path ("data/Maps/ships", "/" separators):
// exactly "data" is the data folder, else the last type whose path is a prefix of it
// without regard to case, with no check for a separator ("data/missions-extra" is a
// missions folder). Invalid for any other path.
int GamePathTypeOfDir(std::string_view path);

// The sub path a file in that directory gets: what follows the type's path and one more
// character, with a "/" added; empty for the root and data folders.
std::string_view GameSubPathStart(std::string_view path, int nType);

// The engine's extension test: the lowered extension searched in the type's list, so a
// part of an extension passes too ("ta" in ".tga"). Loose files are tested without the
// dot, archive entries with it.
bool IsGameExtensionLoaded(int nType, std::string_view extension);

// Tables and missions: the engine calls a shadowed copy of them critical.
bool IsCriticalGameType(int nType);
