#include "ModuleRegistry.h"

#include <cctype>
#include <limits>

#include "IniAccess.h"
#include "LegacyConfiguration.h"
#include "LegacyDriveMapping.h"
#include "PathOperations.h"
#include "ProgramLocation.h"
#include "SuiteAccess.h"

namespace
{

bool IsSpace(char c)
{
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

// atoi without its undefined behaviour on overflow: the value saturates.
int32_t AtoiSaturating(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && IsSpace(text[i]))
        ++i;
    bool bNegative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        bNegative = text[i++] == '-';
    int64_t n = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    {
        n = n * 10 + (text[i] - '0');
        if (n > int64_t{std::numeric_limits<int32_t>::max()} + 1)
            n = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    }
    if (bNegative)
        return static_cast<int32_t>(-n);
    return n > std::numeric_limits<int32_t>::max() ? std::numeric_limits<int32_t>::max()
                                                   : static_cast<int32_t>(n);
}

} // namespace

int32_t ParseBuildNumber(const std::string& versionText)
{
    const size_t marker = versionText.find("Build ");
    if (marker == std::string::npos)
        return 0;
    std::string rest = versionText.substr(marker + 6);
    while (!rest.empty() && IsSpace(rest.back()))
        rest.pop_back();
    while (!rest.empty() && rest.back() == ')')
        rest.pop_back();
    return AtoiSaturating(rest);
}

void RegisterModule()
{
    const std::string info = GetModuleInfoPath();
    std::string version;
    std::string date;
    std::string coder;
    int32_t build = 0;
    if (FileExists(info))
    {
        version = GetIniString("Module", "Vers", info);
        date = GetIniString("Module", "Date", info);
        coder = GetIniString("Module", "Coder", info);
        build = ParseBuildNumber(version);
    }
    const ProgramFileParts parts = GetProgramFileParts();
    const std::string key = kModuleRegistryPath + GetModuleId();

    WriteSuiteString(key, "Path", parts.strDirectory);
    WriteSuiteString(key, "EXE", parts.strDirectory + parts.strFileName);
    WriteSuiteString(key, "EXEName", parts.strFileName);
    WriteSuiteString(key, "Version", version);
    WriteSuiteDword(key, "Build", build);
    WriteSuiteString(key, "Date", date);
    WriteSuiteString(key, "Coder", coder);
}

std::string FindModuleExecutable(const std::string& moduleId, const std::string& legacyKey)
{
    if (!moduleId.empty())
    {
        const std::string exe =
            MapLegacyPath(ReadSuiteString(kModuleRegistryPath + moduleId, "EXE"));
        if (!exe.empty() && FileExists(exe))
            return exe;
    }
    if (legacyKey.empty())
        return std::string();
    const std::string cfg = GetLegacyConfigFile();
    if (!FileExists(cfg))
        return std::string();
    // Without a legacy directory the name alone would be looked up in whatever directory
    // the program was started from.
    const std::string dir = GetIniString("Directories", "Kroy3", cfg);
    if (dir.empty())
        return std::string();
    const std::string moduleFile = MapLegacyPath(EnsureTrailingBackslash(dir) + "kroy.ini");
    if (!FileExists(moduleFile))
        return std::string();
    const std::string moduleDir = GetIniString("Moduls_Dirs", legacyKey, moduleFile);
    const std::string moduleExe = GetIniString("Moduls_EXEs", legacyKey, moduleFile);
    if (moduleDir.empty() || moduleExe.empty())
        return std::string();
    const std::string path = MapLegacyPath(EnsureTrailingBackslash(moduleDir) + moduleExe);
    return FileExists(path) ? path : std::string();
}
