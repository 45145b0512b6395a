#pragma once

#include <cstdint>
#include <string>

// The legacy configuration of the suite (the Kroy files), found below drive C of the
// Wine prefix (see LegacyDriveMapping.h). Paths returned here are host paths unless
// stated otherwise.

inline constexpr const char* kLegacyConfigFile = "c:\\kroy.cfg";

// Host path of "c:\kroy.cfg".
std::string GetLegacyConfigFile();

// "Kroy3" of section "Directories" in "c:\kroy.cfg" as written there (usually a Windows
// path), read into 8000 bytes with an empty default; empty when the file is missing.
std::string GetLegacyDirectory();

// JoinPath(GetLegacyDirectory(), "kroy.ini") as a host path; empty without a directory.
std::string GetLegacyModuleFile();

// The program of a module according to the legacy module file only: JoinPath of its
// "Moduls_Dirs" and "Moduls_EXEs" entries (at most 255 characters each, empty default),
// as a host path; empty when the file or the directory entry is missing. Whether the
// program exists is not checked.
std::string FindLegacyModule(const std::string& legacyKey);

// Writes one game directory into the legacy "vantorel.ini" (section "FreeSpace" keys
// "FS1..."/"FS2...", "Summoner" keys "S1..."; "Full", "OEM", "Demo"). A host path is
// written the way Wine shows it to Windows programs. False when "c:\kroy.cfg" names no
// legacy directory (shorter than 4 characters) or the game or edition is unknown; true
// otherwise, whether or not the file could be written.
bool WriteLegacyGameDirectory(int32_t gameId, int32_t edition, const std::string& path);

// The one-time copy of the legacy game directories into the suite's game table. The flag
// "KroyMigration" is set before anything is copied, so it runs at most once per machine.
// Directories are stored as host paths.
void MigrateLegacyConfiguration();
