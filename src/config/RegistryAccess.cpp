#include "RegistryAccess.h"

#include "CRegistryFile.h"

std::string ReadRegString(RegistryRoot root, const std::string& subKey,
                          const std::string& valueName)
{
    const CRegistryTree tree = CRegistryFile(root).Read();
    const RegValue* value = tree.FindValue(subKey, valueName);
    if (!value || value->nType != RegValueType::String ||
        value->strData.size() + 1 > static_cast<size_t>(kRegStringBufferSize))
        return std::string();
    return value->strData;
}

int32_t ReadRegDword(RegistryRoot root, const std::string& subKey, const std::string& valueName,
                     int32_t defaultValue)
{
    const CRegistryTree tree = CRegistryFile(root).Read();
    const RegValue* value = tree.FindValue(subKey, valueName);
    if (!value || value->nType != RegValueType::Dword)
        return defaultValue;
    return static_cast<int32_t>(value->nDword);
}

bool WriteRegString(RegistryRoot root, const std::string& subKey, const std::string& valueName,
                    const std::string& value)
{
    // A REG_SZ ends at its first zero byte; only what precedes it counts for the limit.
    const std::string stored = value.substr(0, value.find('\0'));
    if (stored.size() > static_cast<size_t>(kRegStringMaxWrite))
        return false;
    return CRegistryFile(root)
        .Update([&](CRegistryTree& tree) { return tree.SetString(subKey, valueName, stored); })
        .IsOk();
}

bool WriteRegDword(RegistryRoot root, const std::string& subKey, const std::string& valueName,
                   int32_t value)
{
    return CRegistryFile(root)
        .Update([&](CRegistryTree& tree)
                { return tree.SetDword(subKey, valueName, static_cast<uint32_t>(value)); })
        .IsOk();
}
