#include "RegistryLocation.h"

#include <cstdlib>

#include <pwd.h>
#include <unistd.h>

namespace
{

std::string NonEmptyEnv(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::string HomeDirectory()
{
    std::string home = NonEmptyEnv("HOME");
    if (!home.empty())
        return home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir)
        return pw->pw_dir;
    return ".";
}

} // namespace

std::string GetRegistryDirectory()
{
    std::string dir = NonEmptyEnv("QUILLMOOR_REGISTRY_DIR");
    if (!dir.empty())
        return dir;
    // A relative XDG_CONFIG_HOME is invalid and must be ignored.
    std::string config = NonEmptyEnv("XDG_CONFIG_HOME");
    if (config.empty() || config[0] != '/')
        config = HomeDirectory() + "/.config";
    return config + "/Quillmoor";
}

std::string GetRegistryFilePath(RegistryRoot root)
{
    return GetRegistryDirectory() + "/" + std::string(RegistryRootName(root)) + ".reg";
}
