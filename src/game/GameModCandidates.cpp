#include "GameModCandidates.h"

#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>

#include "AsciiText.h"

namespace
{
// A real folder: a link to one could lead back up and be offered twice.
bool IsRealDirectory(const std::string& path)
{
    struct stat st{};
    return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsModFolder(const std::string& path)
{
    DIR* d = ::opendir(path.c_str());
    if (!d)
        return false;
    bool bMod = false;
    while (const dirent* e = ::readdir(d))
    {
        const std::string name = ToLowerAscii(e->d_name);
        const std::size_t nDot = name.rfind('.');
        const std::string ext = nDot == std::string::npos ? std::string() : name.substr(nDot);
        struct stat st{};
        const bool bDir = ::stat((path + "/" + e->d_name).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
        if ((bDir && name == "data") ||
            (!bDir && (ext == ".vp" || ext == ".vpc" || name == "mod.ini" || name == "mod.json")))
        {
            bMod = true;
            break;
        }
    }
    ::closedir(d);
    return bMod;
}
} // namespace

std::vector<std::string> FindModCandidates(const std::string& gameDir)
{
    std::vector<std::string> mods;
    DIR* d = ::opendir(gameDir.c_str());
    if (!d)
        return mods;
    while (const dirent* e = ::readdir(d))
    {
        const std::string name = e->d_name;
        if (name == "." || name == ".." || EqualsNoCaseAscii(name, "data"))
            continue;
        const std::string path = gameDir + "/" + name;
        if (IsRealDirectory(path) && IsModFolder(path))
            mods.push_back(name);
    }
    ::closedir(d);
    std::sort(mods.begin(), mods.end(), [](const std::string& a, const std::string& b)
              { return ToLowerAscii(a) < ToLowerAscii(b); });
    return mods;
}
