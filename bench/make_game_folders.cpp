// Writes the game folders bench/bench_game_folder.sh measures: the same 16000 entries as
// one .VP (one/) and spread over 32 (many/, in the game folder and in data/), and 64000
// entries over 32 (big/).
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "GameFolderBuilder.h"

namespace
{
// Entry n of a game-like tree: textures in sub folders, models, tables, missions, sounds.
std::string EntryPath(int n)
{
    static const char* const kKinds[] = {"data/maps/%s/t%06d.dds", "data/models/m%06d.pof",
                                         "data/tables/t%06d-shp.tbm",
                                         "data/missions/%s/m%06d.fs2", "data/sounds/s%06d.ogg",
                                         "data/effects/%s/e%06d.png"};
    const char* szFormat = kKinds[n % 6];
    char sub[16];
    std::snprintf(sub, sizeof sub, "set%02d", (n / 6) % 40);
    char path[96];
    if (std::string(szFormat).find("%s") != std::string::npos)
        std::snprintf(path, sizeof path, szFormat, sub, n);
    else
        std::snprintf(path, sizeof path, szFormat, n);
    return path;
}

// Entries [nFirst, nEnd) of the sorted list of nTotal as one archive: each archive holds
// a few folders whole, as media packs hold effects or models.
VpBuilder ArchiveOf(int nFirst, int nEnd, int nTotal)
{
    static std::vector<std::pair<std::string, std::string>> all;
    if (static_cast<int>(all.size()) != nTotal)
    {
        all.clear();
        for (int n = 0; n < nTotal; ++n)
            all.emplace_back(EntryPath(n), "content " + std::to_string(n));
        std::sort(all.begin(), all.end());
    }
    const std::vector<std::pair<std::string, std::string>> files(all.begin() + nFirst,
                                                                 all.begin() + nEnd);
    // One directory entry per folder: VpOfPaths walks in and out for each file, which a
    // real archive does not.
    VpBuilder vp;
    std::vector<std::string> open;
    for (const auto& [path, content] : files)
    {
        std::vector<std::string> parts;
        std::string rest = path;
        for (std::size_t n; (n = rest.find('/')) != std::string::npos; rest.erase(0, n + 1))
            parts.push_back(rest.substr(0, n));
        std::size_t nSame = 0;
        while (nSame < open.size() && nSame < parts.size() && open[nSame] == parts[nSame])
            ++nSame;
        while (open.size() > nSame)
        {
            vp.Up();
            open.pop_back();
        }
        for (std::size_t i = nSame; i < parts.size(); ++i)
        {
            vp.Dir(parts[i]);
            open.push_back(parts[i]);
        }
        vp.File(rest, content);
    }
    while (!open.empty())
    {
        vp.Up();
        open.pop_back();
    }
    return vp;
}

void Spread(const std::string& dir, int nEntries, int nArchives)
{
    std::filesystem::create_directories(dir + "/data");
    const int nEach = nEntries / nArchives;
    for (int a = 0; a < nArchives; ++a)
    {
        // Half in the game folder, half in data/, as media packs and mods lie.
        char name[32];
        std::snprintf(name, sizeof name, "%s/pack%02d.vp", a % 2 ? "data" : ".", a);
        ArchiveOf(a * nEach, a + 1 == nArchives ? nEntries : (a + 1) * nEach, nEntries)
            .WriteTo(dir + "/" + name);
    }
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::cerr << "usage: orbistav_make_game_folders DIR\n";
        return 2;
    }
    const std::string dir = argv[1];
    std::filesystem::create_directories(dir + "/one");
    ArchiveOf(0, 16000, 16000).WriteTo(dir + "/one/root.vp");
    Spread(dir + "/many", 16000, 32);
    Spread(dir + "/big", 64000, 32);
    return 0;
}
