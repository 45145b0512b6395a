#include "GameModList.h"

#include <algorithm>
#include <dirent.h>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sys/stat.h>

#include "AsciiText.h"

namespace
{
// Launcher files are a few lines; more is not one of them.
constexpr std::size_t kMostListFileBytes = 1 << 20;

std::optional<std::string> ReadSmallFile(const std::string& path)
{
    struct stat st{};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string text(kMostListFileBytes, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    return text;
}

bool IsDirectory(const std::string& path)
{
    struct stat st{};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::vector<std::string> SubfolderNames(const std::string& dir)
{
    std::vector<std::string> names;
    if (DIR* d = ::opendir(dir.c_str()))
    {
        while (const dirent* e = ::readdir(d))
        {
            const std::string name = e->d_name;
            if (name != "." && name != ".." && IsDirectory(dir + "/" + name))
                names.push_back(name);
        }
        ::closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

void AppendTrimmedList(std::string_view value, std::vector<std::string>& out)
{
    value = value.substr(0, value.find(';'));
    while (!value.empty())
    {
        const std::size_t nComma = value.find(',');
        const std::string_view item = TrimBlanks(value.substr(0, nComma));
        if (!item.empty())
            out.emplace_back(item);
        if (nComma == std::string_view::npos)
            break;
        value.remove_prefix(nComma + 1);
    }
}

// "1.10.2" against "1.9": numbers compared as numbers, anything else as text.
bool VersionLess(const std::string& a, const std::string& b)
{
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size())
    {
        if (std::isdigit(static_cast<unsigned char>(a[i])) &&
            std::isdigit(static_cast<unsigned char>(b[j])))
        {
            std::size_t ei = i, ej = j;
            while (ei < a.size() && std::isdigit(static_cast<unsigned char>(a[ei])))
                ++ei;
            while (ej < b.size() && std::isdigit(static_cast<unsigned char>(b[ej])))
                ++ej;
            const std::string_view na = std::string_view(a).substr(i, ei - i);
            const std::string_view nb = std::string_view(b).substr(j, ej - j);
            const std::size_t za = std::min(na.find_first_not_of('0'), na.size());
            const std::size_t zb = std::min(nb.find_first_not_of('0'), nb.size());
            const std::string_view ta = na.substr(za), tb = nb.substr(zb);
            if (ta.size() != tb.size())
                return ta.size() < tb.size();
            if (ta != tb)
                return ta < tb;
            i = ei;
            j = ej;
            continue;
        }
        if (a[i] != b[j])
            return a[i] < b[j];
        ++i;
        ++j;
    }
    return a.size() - i < b.size() - j;
}

std::string BaseName(const std::string& path)
{
    std::string p = path;
    while (p.size() > 1 && p.back() == '/')
        p.pop_back();
    const std::size_t nSlash = p.rfind('/');
    return nSlash == std::string::npos ? p : p.substr(nSlash + 1);
}

std::string ParentOf(const std::string& path)
{
    std::string p = path;
    while (p.size() > 1 && p.back() == '/')
        p.pop_back();
    const std::size_t nSlash = p.rfind('/');
    if (nSlash == std::string::npos)
        return p == "." ? ".." : ".";
    // "foo/.." would name the folder itself; a bare "." or ".." has no name to go up from.
    const std::string name = p.substr(nSlash + 1);
    if (name == "." || name == "..")
        return p + "/..";
    return nSlash == 0 ? "/" : p.substr(0, nSlash);
}
} // namespace

std::vector<std::string> SplitModList(std::string_view list)
{
    std::vector<std::string> mods;
    while (!list.empty())
    {
        const std::size_t nComma = list.find(',');
        if (nComma != 0)
            mods.emplace_back(list.substr(0, nComma));
        if (nComma == std::string_view::npos)
            break;
        list.remove_prefix(nComma + 1);
    }
    return mods;
}

std::vector<std::string> ModIniList(std::string_view text, const std::string& modFolder)
{
    std::vector<std::string> primary, secondary;
    bool bInSection = false;
    while (!text.empty())
    {
        const std::size_t nEnd = text.find('\n');
        std::string_view line = TrimBlanks(text.substr(0, nEnd));
        text.remove_prefix(nEnd == std::string_view::npos ? text.size() : nEnd + 1);
        if (!line.empty() && line.back() == '\r')
            line = TrimBlanks(line.substr(0, line.size() - 1));
        if (line.empty() || line.front() == ';' || line.front() == '#')
            continue;
        if (line.front() == '[')
        {
            bInSection = EqualsNoCaseAscii(line, "[multimod]");
            continue;
        }
        const std::size_t nEquals = line.find('=');
        if (!bInSection || nEquals == std::string_view::npos)
            continue;
        const std::string_view key = TrimBlanks(line.substr(0, nEquals));
        const std::string_view value = line.substr(nEquals + 1);
        if (EqualsNoCaseAscii(key, "primarylist"))
            AppendTrimmedList(value, primary);
        else if (EqualsNoCaseAscii(key, "secondarylist"))
            AppendTrimmedList(value, secondary);
    }
    primary.push_back(modFolder);
    primary.insert(primary.end(), secondary.begin(), secondary.end());
    return primary;
}

Result ModJsonList(std::string_view text, const std::string& modFolder,
                   const std::vector<std::string>& installed, std::vector<std::string>& mods)
{
    mods.clear();
    const nlohmann::json root = nlohmann::json::parse(text, nullptr, false);
    if (!root.is_object())
        return Result::Fail("mod.json is not a JSON object");
    const std::string ownId = root.contains("id") && root["id"].is_string() ? root["id"].get<std::string>() : "";
    const auto flags = root.find("mod_flag");
    if (flags == root.end() || !flags->is_array())
    {
        mods.push_back(modFolder);
        return Result::Ok();
    }
    for (const nlohmann::json& flag : *flags)
    {
        if (!flag.is_string())
            continue;
        const std::string id = flag.get<std::string>();
        if (EqualsNoCaseAscii(id, "FS2"))
            continue;
        if (id == ownId)
        {
            mods.push_back(modFolder);
            continue;
        }
        // The newest installed version; a mod not installed is kept under its id, as a
        // missing -mod folder is.
        std::string best;
        std::string bestVersion;
        const std::string prefix = id + "-";
        for (const std::string& name : installed)
            if (name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0)
            {
                const std::string version = name.substr(prefix.size());
                if (best.empty() || VersionLess(bestVersion, version))
                {
                    best = name;
                    bestVersion = version;
                }
            }
        mods.push_back(best.empty() ? id : best);
    }
    return Result::Ok();
}

std::optional<std::string> CmdlineCfgModList(std::string_view text)
{
    text = text.substr(0, text.find_first_of("\r\n"));
    std::optional<std::string> list;
    std::size_t nPos = 0;
    while (nPos < text.size())
    {
        const std::size_t nStart = text.find_first_not_of(" \t", nPos);
        if (nStart == std::string_view::npos)
            break;
        std::size_t nEnd = text.find_first_of(" \t", nStart);
        const std::string_view flag = text.substr(nStart, nEnd == std::string_view::npos
                                                              ? std::string_view::npos
                                                              : nEnd - nStart);
        nPos = nEnd == std::string_view::npos ? text.size() : nEnd;
        if (flag != "-mod")
            continue;
        const std::size_t nValue = text.find_first_not_of(" \t", nPos);
        if (nValue == std::string_view::npos)
            break;
        std::string value;
        if (text[nValue] == '"')
        {
            const std::size_t nClose = text.find('"', nValue + 1);
            value = std::string(text.substr(nValue + 1, nClose == std::string_view::npos
                                                            ? std::string_view::npos
                                                            : nClose - nValue - 1));
            nPos = nClose == std::string_view::npos ? text.size() : nClose + 1;
        }
        else
        {
            nEnd = text.find_first_of(" \t", nValue);
            value = std::string(text.substr(
                nValue, nEnd == std::string_view::npos ? std::string_view::npos : nEnd - nValue));
            nPos = nEnd == std::string_view::npos ? text.size() : nEnd;
        }
        list = list ? *list + "," + value : value;
    }
    return list;
}

Result ResolveGameFolder(const std::string& folder, const std::optional<std::string>& modList,
                         GameFolderSetup& setup)
{
    setup = GameFolderSetup();
    setup.strGameDir = folder;
    if (modList)
    {
        setup.aMods = SplitModList(*modList);
        setup.source = ModListSource::CommandLine;
        return Result::Ok();
    }
    if (const auto ini = ReadSmallFile(folder + "/mod.ini"))
    {
        setup.strGameDir = ParentOf(folder);
        setup.aMods = ModIniList(*ini, BaseName(folder));
        setup.source = ModListSource::ModIni;
        return Result::Ok();
    }
    if (const auto json = ReadSmallFile(folder + "/mod.json"))
    {
        setup.strGameDir = ParentOf(folder);
        setup.source = ModListSource::ModJson;
        if (Result r = ModJsonList(*json, BaseName(folder), SubfolderNames(setup.strGameDir),
                                   setup.aMods);
            !r)
            return Result::Fail(folder + "/" + r.Text());
        return Result::Ok();
    }
    if (const auto cfg = ReadSmallFile(folder + "/data/cmdline_fso.cfg"))
        if (const auto list = CmdlineCfgModList(*cfg))
        {
            setup.aMods = SplitModList(*list);
            setup.source = ModListSource::CmdlineCfg;
        }
    return Result::Ok();
}
