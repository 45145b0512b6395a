#include "ConfigCommand.h"

#include <iomanip>
#include <ostream>
#include <sys/stat.h>

#include "ExitCodes.h"
#include "GameDirectories.h"
#include "ModuleRegistry.h"
#include "ProgramLocation.h"
#include "RegistryAccess.h"
#include "RegistryLocation.h"
#include "Settings.h"
#include "SuiteAccess.h"
#include "TextEncoding.h"

namespace
{
bool Exists(const std::string& path)
{
    struct stat st
    {
    };
    return ::stat(path.c_str(), &st) == 0;
}

// Texts of the module information file are Windows-1252; paths are host paths as they stand.
std::string ShownText(const std::string& value)
{
    return value.empty() ? "(not set)" : Cp1252ToUtf8(value);
}

std::string ShownPath(const std::string& value)
{
    return value.empty() ? "(not set)" : value;
}

const char* LoopModeName(int n)
{
    switch (n)
    {
    case 1:
        return "Loop music files only (don't loop effects and voice)";
    case 2:
        return "Always loop";
    case 0:
        return "Never loop";
    default:
        return "Never loop (unknown value)";
    }
}

void Row(std::ostream& out, const std::string& name, const std::string& value)
{
    out << "  " << std::left << std::setw(22) << name << value << '\n';
}
} // namespace

int ShowConfiguration(std::ostream& out)
{
    out << "Registry files (" << GetRegistryDirectory() << "):\n";
    for (const RegistryRoot root :
         {RegistryRoot::HKEY_CURRENT_USER, RegistryRoot::HKEY_LOCAL_MACHINE})
    {
        const std::string path = GetRegistryFilePath(root);
        Row(out, std::string(RegistryRootName(root)), path + (Exists(path) ? "" : " (missing)"));
    }

    const std::string moduleInfo = GetModuleInfoPath();
    const std::string moduleId = GetModuleId();
    out << "\nModule information: " << moduleInfo << (Exists(moduleInfo) ? "" : " (missing)")
        << '\n';
    Row(out, "Module id", ShownText(moduleId));

    AppSettings settings;
    LoadSettings(settings);
    out << "\nSettings (HKEY_CURRENT_USER\\" << GetSettingsKey() << "):\n";
    Row(out, kSettingSoundAutoRepeatWAV,
        std::to_string(settings.m_nSoundAutoRepeatWAV) + "  " +
            LoopModeName(settings.m_nSoundAutoRepeatWAV));
    const std::pair<const char*, int> switches[] = {
        {kSettingAutoStopPreview, settings.m_bAutoStopPreview},
        {kSettingSoundAutoPlayWAV, settings.m_bSoundAutoPlayWAV},
        {kSettingAutoPlayANI, settings.m_bAutoPlayANI},
        {kSettingAutoShowPCX, settings.m_bAutoShowPCX},
        {kSettingInterfaceDisplayAsKB, settings.m_bInterfaceDisplayAsKB},
        {kSettingInterfaceShowGrid, settings.m_bInterfaceShowGrid},
    };
    for (const auto& [name, value] : switches)
        Row(out, name, std::to_string(value) + (value ? "  on" : "  off"));

    out << "\nGame directories (HKEY_LOCAL_MACHINE\\" << kSuiteKey << kGamesConfigurationPath
        << "):\n";
    const std::pair<int, int> editions[] = {
        {GameFreeSpace1, EditionFull}, {GameFreeSpace1, EditionOem},  {GameFreeSpace1, EditionDemo},
        {GameFreeSpace2, EditionFull}, {GameFreeSpace2, EditionDemo}, {GameSummoner, EditionFull},
        {GameSummoner, EditionDemo}};
    for (const auto& [game, edition] : editions)
        Row(out, GetGameLookupName(game, edition), ShownPath(GetGamePath(game, edition)));
    Row(out, "Legacy migration",
        ReadSuiteDword(kGamesConfigurationPath, "KroyMigration", 0) ? "done" : "not yet run");

    const std::string modulePath = std::string(kModuleRegistryPath) + moduleId;
    out << "\nModule registration (HKEY_LOCAL_MACHINE\\" << kSuiteKey << modulePath << "):\n";
    for (const char* value : {"Path", "EXE", "EXEName"})
        Row(out, value, ShownPath(ReadSuiteString(modulePath, value)));
    Row(out, "Version", ShownText(ReadSuiteString(modulePath, "Version")));
    const int nBuild = ReadSuiteDword(modulePath, "Build", -1);
    Row(out, "Build", nBuild < 0 ? "(not set)" : std::to_string(nBuild));
    for (const char* value : {"Date", "Coder"})
        Row(out, value, ShownText(ReadSuiteString(modulePath, value)));
    out.flush();
    return out ? EXIT_OK : EXIT_FAILED;
}
