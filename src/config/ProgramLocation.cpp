#include "ProgramLocation.h"

#include "ExecutablePath.h"
#include "IniAccess.h"

ProgramFileParts GetProgramFileParts()
{
    const std::string path = GetExecutablePath();
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ProgramFileParts{std::string(), path};
    return ProgramFileParts{path.substr(0, slash + 1), path.substr(slash + 1)};
}

std::string GetProgramDirectory()
{
    return GetProgramFileParts().strDirectory;
}

std::string GetModuleInfoPath()
{
    return GetProgramDirectory() + "vx_modul.dat";
}

std::string GetModuleId()
{
    return GetIniString("Module", "Desc", GetModuleInfoPath());
}
