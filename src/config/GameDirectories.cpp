#include "GameDirectories.h"

#include <cstdlib>

#include "LegacyDriveMapping.h"
#include "PathOperations.h"
#include "SuiteAccess.h"

std::string GetGameDirectory(const std::string& gameName)
{
    const std::string path =
        ReadSuiteString(std::string(kGamesConfigurationPath) + "\\" + gameName, "Path");
    return EnsureTrailingBackslash(MapLegacyPath(path));
}

std::string GetGameLookupName(int32_t gameId, int32_t edition)
{
    std::string name;
    switch (gameId)
    {
    case GameFreeSpace1:
        name = "FreeSpace 1";
        break;
    case GameFreeSpace2:
        name = "FreeSpace 2";
        break;
    case GameSummoner:
        name = "Summoner";
        break;
    default:
        return std::string();
    }
    switch (edition)
    {
    case EditionFull:
        break;
    case EditionOem:
        name += " OEM";
        break;
    case EditionDemo:
        name += " Demo";
        break;
    default:
        return std::string();
    }
    return name;
}

std::string GetGamePath(int32_t gameId, int32_t edition)
{
    const std::string name = GetGameLookupName(gameId, edition);
    return name.empty() ? std::string() : GetGameDirectory(name);
}

std::string GetTempDirectory()
{
    // An empty result would send the external open into the file system root.
    for (const char* name : {"TEMP", "TMPDIR"})
    {
        const char* value = std::getenv(name);
        if (value && *value)
            return EnsureTrailingBackslash(value);
    }
    return "/tmp/";
}
