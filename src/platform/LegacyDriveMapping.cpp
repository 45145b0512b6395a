#include "LegacyDriveMapping.h"

#include <cstdlib>
#include <filesystem>
#include <vector>

#include <dirent.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "AsciiText.h"

namespace
{

std::string EnvValue(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::string StripTrailingSlashes(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

bool HasDriveLetter(std::string_view path)
{
    return path.size() >= 2 && path[1] == ':' &&
           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

bool Exists(const std::string& path)
{
    struct stat st = {};
    return ::lstat(path.c_str(), &st) == 0;
}

// The entry of dir whose name equals name without regard to case; the smallest such name
// when several differ only in case, so the choice does not depend on directory order.
std::string FindNoCase(const std::string& dir, const std::string& name)
{
    std::string found;
    DIR* d = ::opendir(dir.empty() ? "/" : dir.c_str());
    if (!d)
        return found;
    while (const dirent* e = ::readdir(d))
    {
        std::string_view entry = e->d_name;
        if (EqualsNoCaseAscii(entry, name) && (found.empty() || entry < found))
            found = std::string(entry);
    }
    ::closedir(d);
    return found;
}

// base (no trailing "/", "" for the file system root) followed by the components,
// each resolved without regard to case while the directories exist.
std::string Resolve(const std::string& base, const std::vector<std::string>& components,
                    bool bTrailingSlash)
{
    std::vector<std::string> resolved;
    bool bSearching = true;
    for (const std::string& comp : components)
    {
        if (comp == "..")
        {
            if (!resolved.empty())
                resolved.pop_back();
            bSearching = true;
            continue;
        }
        std::string dir = base;
        for (const std::string& r : resolved)
            dir += "/" + r;
        std::string name = comp;
        if (bSearching && !Exists(dir + "/" + comp))
        {
            std::string match = FindNoCase(dir, comp);
            if (match.empty())
                bSearching = false;
            else
                name = match;
        }
        resolved.push_back(name);
    }
    std::string out = base;
    for (const std::string& r : resolved)
        out += "/" + r;
    if (out.empty())
        return "/";
    if (bTrailingSlash && out.back() != '/')
        out += "/";
    return out;
}

std::string DriveDirectory(char letter)
{
    letter = ToLowerAscii(letter);
    if (letter == 'c')
        return GetDriveCDirectory();
    if (letter == 'z')
        return "";
    std::string prefix = std::filesystem::path(GetDriveCDirectory()).parent_path().string();
    return prefix + "/dosdevices/" + letter + ":";
}

std::string Normal(const std::string& path)
{
    return StripTrailingSlashes(std::filesystem::path(path).lexically_normal().string());
}

std::string WithBackslashes(std::string path)
{
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

} // namespace

std::string GetDriveCDirectory()
{
    std::string drive = EnvValue("VANTOREL_DRIVE_C");
    if (!drive.empty())
        return StripTrailingSlashes(drive);
    std::string prefix = EnvValue("WINEPREFIX");
    if (prefix.empty())
    {
        std::string home = EnvValue("HOME");
        if (home.empty())
            if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir)
                home = pw->pw_dir;
        prefix = home + "/.wine";
    }
    return StripTrailingSlashes(prefix) + "/drive_c";
}

bool IsWindowsFormPath(std::string_view path)
{
    return HasDriveLetter(path) || path.find('\\') != std::string_view::npos;
}

std::string MapLegacyPath(std::string_view path)
{
    if (!IsWindowsFormPath(path))
        return std::string(path);

    std::string base;
    std::string_view rest = path;
    if (HasDriveLetter(path))
    {
        base = StripTrailingSlashes(DriveDirectory(path[0]));
        rest = path.substr(2);
    }
    else if (path.substr(0, 2) == "\\\\" || path.substr(0, 2) == "//")
    {
        // A network share has no place on this machine; keep it recognisably unmapped.
        std::string unc(path);
        for (char& c : unc)
            if (c == '\\')
                c = '/';
        return unc;
    }
    else if (path[0] == '\\' || path[0] == '/')
        base = StripTrailingSlashes(GetDriveCDirectory());
    else
        base = ".";
    if (base == "/")
        base.clear();

    std::vector<std::string> components;
    size_t start = 0;
    for (size_t i = 0; i <= rest.size(); ++i)
    {
        if (i == rest.size() || rest[i] == '\\' || rest[i] == '/')
        {
            std::string comp(rest.substr(start, i - start));
            if (!comp.empty() && comp != ".")
                components.push_back(comp);
            start = i + 1;
        }
    }
    const bool bTrailing = !rest.empty() && (rest.back() == '\\' || rest.back() == '/');
    std::string out = Resolve(base, components, bTrailing);
    if (base == "." && out.rfind("./", 0) == 0)
        out.erase(0, 2);
    return out;
}

std::string ToLegacyPath(std::string_view hostPath)
{
    if (hostPath.empty() || IsWindowsFormPath(hostPath))
        return std::string(hostPath);
    std::error_code ec;
    std::string absolute(hostPath);
    if (absolute[0] != '/')
        absolute = std::filesystem::absolute(absolute, ec).string();
    const bool bTrailing = absolute.back() == '/';
    const std::string path = Normal(absolute);

    // The prefix may be reached through a symbolic link; both spellings are below drive C.
    std::vector<std::string> drives = {Normal(GetDriveCDirectory())};
    std::filesystem::path canonical = std::filesystem::weakly_canonical(drives[0], ec);
    if (!ec)
        drives.push_back(Normal(canonical.string()));
    std::string legacy;
    for (const std::string& drive : drives)
    {
        if (path == drive)
            legacy = "C:\\";
        else if (path.size() > drive.size() && path.compare(0, drive.size(), drive) == 0 &&
                 path[drive.size()] == '/')
            legacy = "C:" + WithBackslashes(path.substr(drive.size()));
        if (!legacy.empty())
            break;
    }
    if (legacy.empty())
        legacy = "Z:" + WithBackslashes(path);
    if (bTrailing && legacy.back() != '\\')
        legacy += '\\';
    return legacy;
}
