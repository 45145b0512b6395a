#include "LegacyConfiguration.h"

#include "GameDirectories.h"
#include "IniAccess.h"
#include "LegacyDriveMapping.h"
#include "PathOperations.h"
#include "SuiteAccess.h"

namespace
{

constexpr int kLegacyDirectoryBufferSize = 8000;
constexpr int kLegacyModuleBufferSize = 256;

} // namespace

std::string GetLegacyConfigFile()
{
    return MapLegacyPath(kLegacyConfigFile);
}

std::string GetLegacyDirectory()
{
    const std::string cfg = GetLegacyConfigFile();
    if (!FileExists(cfg))
        return std::string();
    return GetPrivateProfileStringA("Directories", "Kroy3", "", cfg, kLegacyDirectoryBufferSize);
}

std::string GetLegacyModuleFile()
{
    const std::string dir = GetLegacyDirectory();
    if (dir.empty())
        return std::string();
    return MapLegacyPath(JoinPath(dir, "kroy.ini"));
}

std::string FindLegacyModule(const std::string& legacyKey)
{
    const std::string file = GetLegacyModuleFile();
    if (file.empty())
        return std::string();
    const std::string dir =
        GetPrivateProfileStringA("Moduls_Dirs", legacyKey, "", file, kLegacyModuleBufferSize);
    if (dir.empty())
        return std::string();
    const std::string exe =
        GetPrivateProfileStringA("Moduls_EXEs", legacyKey, "", file, kLegacyModuleBufferSize);
    return MapLegacyPath(JoinPath(dir, exe));
}

bool WriteLegacyGameDirectory(int32_t gameId, int32_t edition, const std::string& path)
{
    const std::string dir = GetPrivateProfileStringA("Directories", "Kroy3", "$",
                                                     GetLegacyConfigFile(), kIniBufferSize);
    if (dir.size() < 4)
        return false;

    std::string section;
    std::string key;
    switch (gameId)
    {
    case GameFreeSpace1:
        section = "FreeSpace";
        key = "FS1";
        break;
    case GameFreeSpace2:
        section = "FreeSpace";
        key = "FS2";
        break;
    case GameSummoner:
        section = "Summoner";
        key = "S1";
        break;
    default:
        return false;
    }
    switch (edition)
    {
    case EditionFull:
        key += "Full";
        break;
    case EditionOem:
        key += "OEM";
        break;
    case EditionDemo:
        key += "Demo";
        break;
    default:
        return false;
    }

    const std::string file = MapLegacyPath(EnsureTrailingBackslash(dir) + "vantorel.ini");
    const std::string value = ToLegacyPath(path).substr(0, kIniBufferSize);
    (void)WritePrivateProfileStringA(section, key, value, file);
    return true;
}

void MigrateLegacyConfiguration()
{
    if (ReadSuiteDword(kGamesConfigurationPath, "KroyMigration", 0) != 0)
        return;
    WriteSuiteDword(kGamesConfigurationPath, "KroyMigration", 1);

    const std::string cfg = GetLegacyConfigFile();
    if (!FileExists(cfg))
        return;
    const std::string dir = GetIniString("Directories", "Kroy3", cfg);
    if (dir.empty())
        return;
    const std::string moduleFile = MapLegacyPath(EnsureTrailingBackslash(dir) + "kroy.ini");
    const std::string gameFile = MapLegacyPath(EnsureTrailingBackslash(dir) + "vantorel.ini");
    if (!FileExists(moduleFile) || !FileExists(gameFile))
        return;

    for (const LegacyGameSource& game : kLegacyGameSources)
    {
        const std::string value = GetIniString(game.pszSection, game.pszKey, gameFile);
        WriteSuiteString(std::string(kGamesConfigurationPath) + "\\" + game.pszGameName, "Path",
                         MapLegacyPath(value));
    }
}
