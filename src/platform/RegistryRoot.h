#pragma once

#include <string_view>

// The two registry roots the suite uses; each is one file of the file-backed registry.
enum class RegistryRoot
{
    HKEY_CURRENT_USER,
    HKEY_LOCAL_MACHINE
};

inline std::string_view RegistryRootName(RegistryRoot root)
{
    return root == RegistryRoot::HKEY_CURRENT_USER ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
}
