#include "SuiteAccess.h"

#include "RegistryAccess.h"

namespace
{

std::string SuiteKey(const std::string& subPath)
{
    return kSuiteKey + subPath;
}

} // namespace

std::string ReadSuiteString(const std::string& subPath, const std::string& valueName)
{
    return ReadRegString(RegistryRoot::HKEY_LOCAL_MACHINE, SuiteKey(subPath), valueName);
}

int32_t ReadSuiteDword(const std::string& subPath, const std::string& valueName,
                       int32_t defaultValue)
{
    return ReadRegDword(RegistryRoot::HKEY_LOCAL_MACHINE, SuiteKey(subPath), valueName,
                        defaultValue);
}

bool WriteSuiteString(const std::string& subPath, const std::string& valueName,
                      const std::string& value)
{
    return WriteRegString(RegistryRoot::HKEY_LOCAL_MACHINE, SuiteKey(subPath), valueName, value);
}

bool WriteSuiteDword(const std::string& subPath, const std::string& valueName, int32_t value)
{
    return WriteRegDword(RegistryRoot::HKEY_LOCAL_MACHINE, SuiteKey(subPath), valueName, value);
}
