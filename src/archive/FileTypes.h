#pragma once

#include <string>
#include <string_view>

#include "ArchiveLimits.h"

// One row of the file type table.
struct FileTypeRow
{
    const char* szExtension; // three characters, lower case; ".vf" for two-letter extensions
    const char* szDescription;
};

// File type indices that the preview knows.
constexpr int FILE_TYPE_UNKNOWN = 0;
constexpr int FILE_TYPE_PCX = 1;
constexpr int FILE_TYPE_ANI = 2;
constexpr int FILE_TYPE_POF = 3;
constexpr int FILE_TYPE_VF = 10;
constexpr int FILE_TYPE_TGA = 12;
constexpr int FILE_TYPE_WAV = 13;
constexpr int FILE_TYPE_TXT = 14;
constexpr int FILE_TYPE_VBM = 25;
constexpr int FILE_TYPE_V3M = 34;
constexpr int FILE_TYPE_V3C = 35;
constexpr int FILE_TYPE_DDS = 38;
constexpr int FILE_TYPE_PNG = 39;
constexpr int FILE_TYPE_JPG = 40;
constexpr int FILE_TYPE_OGG = 41;
constexpr int FILE_TYPE_TBM = 42;
constexpr int FILE_TYPE_LUA = 44;
constexpr int FILE_TYPE_TTF = 45;

extern const FileTypeRow FileTypes[FILE_TYPE_COUNT];

// Type index 0..45 from the last three characters of a stored file name.
int GetFileType(std::string_view name);

// Tables, missions, campaigns, text, configuration, HUD, modular tables, effects and Lua
// scripts: the types the preview shows as text.
bool IsTextFileType(int nType);

// TrueType and OpenType fonts (.ttf, .otf): outline fonts, which only the desktop draws.
// ".otf" has no row of its own in the table, so the name decides.
bool IsOutlineFontName(std::string_view name);

// Name of a .VPP archive's directory for one type: "PCX files (PCX graphic)".
std::string GetTypeDirName(int nType);
