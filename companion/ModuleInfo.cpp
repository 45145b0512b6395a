#include "ModuleInfo.h"

#include "IniAccess.h"
#include "ModuleRegistry.h"
#include "ProgramLocation.h"
#include "TextEncoding.h"

namespace
{
QString Field(const char* key, const std::string& file)
{
    return QString::fromStdString(Cp1252ToUtf8(GetIniString("Module", key, file)));
}
} // namespace

ModuleInfo ModuleInfo::Read()
{
    const std::string file = GetModuleInfoPath();
    ModuleInfo info;
    info.strId = Field("Desc", file);
    info.strVersion = Field("Vers", file);
    info.strDate = Field("Date", file);
    info.strCoder = Field("Coder", file);
    info.nBuild = ParseBuildNumber(GetIniString("Module", "Vers", file));
    return info;
}
