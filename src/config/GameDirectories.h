#pragma once

#include <array>
#include <cstdint>
#include <string>

// Game and edition identifiers of the lookups; both are plain signed 32-bit numbers, and
// GetGamePath accepts any number, giving the empty string for unknown ones.
enum GameId : int32_t
{
    GameFreeSpace1 = 1,
    GameFreeSpace2 = 2,
    GameSummoner = 11
};

enum GameEdition : int32_t
{
    EditionFull = 0,
    EditionOem = 1,
    EditionDemo = 2
};

inline constexpr const char* kGamesConfigurationPath = "\\Games Configuration";

// One key of the suite's game table and where the legacy "vantorel.ini" kept its directory.
struct LegacyGameSource
{
    const char* pszGameName;
    const char* pszSection;
    const char* pszKey;
};

// In the order the migration writes them. The demos of Descent share the full version's key.
inline constexpr std::array<LegacyGameSource, 16> kLegacyGameSources = {{
    {"Descent 1 Demo", "Descent", "D1Full"},
    {"Descent 1 OEM", "Descent", "D1OEM"},
    {"Descent 1", "Descent", "D1Full"},
    {"Descent 2 Demo", "Descent", "D2Full"},
    {"Descent 2 OEM", "Descent", "D2OEM"},
    {"Descent 2", "Descent", "D2Full"},
    {"Descent 3 Demo", "Descent", "D3Full"},
    {"Descent 3 OEM", "Descent", "D3OEM"},
    {"Descent 3", "Descent", "D3Full"},
    {"FreeSpace 1 Demo", "FreeSpace", "FS1Demo"},
    {"FreeSpace 1 OEM", "FreeSpace", "FS1OEM"},
    {"FreeSpace 1", "FreeSpace", "FS1Full"},
    {"FreeSpace 2 Demo", "FreeSpace", "FS2Demo"},
    {"FreeSpace 2", "FreeSpace", "FS2Full"},
    {"Summoner 1 Demo", "Summoner", "S1Demo"},
    {"Summoner 1", "Summoner", "S1Full"},
}};

// "Path" of the game's key with a trailing separator, or empty. A Windows-form value (put
// there by hand or by a Windows tool) is given as the host path it maps to.
std::string GetGameDirectory(const std::string& gameName);

// The key name of a game and edition ("FreeSpace 1 Demo", "Summoner"); empty for an
// unknown id or edition.
std::string GetGameLookupName(int32_t gameId, int32_t edition);

// The directory of a game and edition; empty for an unknown id or edition, without any
// registry access. Summoner is looked up as "Summoner", not as the migrated "Summoner 1".
std::string GetGamePath(int32_t gameId, int32_t edition);

// $TEMP, else $TMPDIR, else /tmp, with a trailing separator; never empty.
std::string GetTempDirectory();
