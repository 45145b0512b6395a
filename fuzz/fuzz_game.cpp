// Feeds arbitrary bytes as the launcher files that give a game folder its mod list, and as
// an archive in a game folder, which is then indexed and each loaded file read.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

#include "CGameFileReader.h"
#include "CGameFolder.h"
#include "GameModList.h"
#include "GamePathTypes.h"

namespace
{
const std::string& GameDir()
{
    static const std::string dir = []
    {
        char pattern[] = "/tmp/fuzz-game-XXXXXX";
        const char* made = ::mkdtemp(pattern);
        return std::string(made ? made : "/tmp");
    }();
    return dir;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    (void)SplitModList(text);
    (void)ModIniList(text, "mod");
    std::vector<std::string> mods;
    (void)ModJsonList(text, "mod", {"a-1.0", "a-1.10", "mod"}, mods);
    (void)CmdlineCfgModList(text);
    const int nType = GamePathTypeOfDir(text);
    if (nType < GAME_TYPE_INVALID || nType >= GAME_TYPE_COUNT)
        __builtin_trap();
    (void)GameSubPathStart(text, nType);

    std::ofstream(GameDir() + "/root.vp", std::ios::binary | std::ios::trunc).write(text.data(), size);
    CGameFolder folder;
    if (!folder.Open(GameDir(), std::string()))
        return 0;
    CGameFileReader reader(folder);
    std::vector<unsigned char> content;
    for (const int f : folder.LoadedFiles())
    {
        (void)folder.Location(f);
        for (const int h : folder.HiddenBy(f))
            (void)folder.IsOverride(f, h);
        if (reader.Open(f))
            (void)reader.ReadAll(content);
    }
    for (const GameIgnored& ignored : folder.Ignored())
        (void)folder.IgnoredLocation(ignored);
    (void)folder.Find(text, true);
    return 0;
}
