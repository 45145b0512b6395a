#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "CGameFileReader.h"
#include "CGameFolder.h"
#include "CMemorySource.h"
#include "CReadAheadSource.h"
#include "GameFolderBuilder.h"
#include "Lz41Builder.h"
#include "TempDir.h"

namespace
{
// Where the game loads a name from, then what that hides, as locations.
std::vector<std::string> Copies(const CGameFolder& folder, const std::string& name)
{
    std::vector<std::string> copies;
    for (const GameHit& hit : folder.Find(name, true))
    {
        copies.push_back(folder.Location(hit.nLoads));
        for (const int h : hit.aHides)
            copies.push_back(folder.Location(h));
    }
    return copies;
}

std::vector<std::string> Ignored(const CGameFolder& folder)
{
    std::vector<std::string> ignored;
    for (const GameIgnored& i : folder.Ignored())
        ignored.push_back(folder.IgnoredLocation(i));
    return ignored;
}

std::string Content(const CGameFolder& folder, int nFile)
{
    CGameFileReader reader(folder);
    std::vector<unsigned char> bytes;
    Result r = reader.Open(nFile);
    if (r)
        r = reader.ReadAll(bytes);
    EXPECT_TRUE(r) << r.Text();
    return std::string(bytes.begin(), bytes.end());
}
} // namespace

TEST(GameFolder, RootsInModOrderEachLooseBeforeItsArchives)
{
    TempDir dir;
    GameFolderBuilder game(dir.Path());
    for (const std::string root : {"", "A/", "B/"})
        game.Loose(root + "data/tables/ships.tbl")
            .Archive(root + "data/pack.vp", {"data/tables/ships.tbl"})
            .Archive(root + "pack.vp", {"data/tables/ships.tbl"});
    CGameFolder folder;
    ASSERT_TRUE(folder.Open(dir.Path(), std::string("b,A,Missing")));
    EXPECT_EQ(Copies(folder, "ships.tbl"),
              (std::vector<std::string>{
                  "B/data/tables/ships.tbl", "B/pack.vp:data/tables/ships.tbl",
                  "B/data/pack.vp:data/tables/ships.tbl", "A/data/tables/ships.tbl",
                  "A/pack.vp:data/tables/ships.tbl", "A/data/pack.vp:data/tables/ships.tbl",
                  "data/tables/ships.tbl", "pack.vp:data/tables/ships.tbl",
                  "data/pack.vp:data/tables/ships.tbl"}));
    // Mod folders are found in any case; a missing one is kept and noted.
    ASSERT_EQ(folder.Roots().size(), 4u);
    EXPECT_EQ(folder.Roots()[0].strPath, "B");
    EXPECT_TRUE(folder.Roots()[2].bMissing);
    EXPECT_EQ(folder.Warnings().size(), 1u);
    EXPECT_TRUE(folder.IsComplete());
}

TEST(GameFolder, ArchivesSortByTypeFolderThenPathInAnyCase)
{
    TempDir dir;
    GameFolderBuilder(dir.Path())
        .Archive("MV_Assets.VP", {"data/tables/a.tbl"})
        .Archive("aaa.vpc", {"data/tables/a.tbl"})
        .Archive("data/maps/first.Vp", {"data/tables/a.tbl"})
        .Archive("data/zzz.vp", {"data/tables/a.tbl"})
        .Archive("data/unknown/never.vp", {"data/tables/a.tbl"})
        .Loose("data/tables/notes.vp.txt");
    CGameFolder folder;
    ASSERT_TRUE(folder.Open(dir.Path(), std::nullopt));
    EXPECT_EQ(Copies(folder, "a.tbl"),
              (std::vector<std::string>{"aaa.vpc:data/tables/a.tbl", "MV_Assets.VP:data/tables/a.tbl",
                                        "data/zzz.vp:data/tables/a.tbl",
                                        "data/maps/first.Vp:data/tables/a.tbl"}));
    EXPECT_EQ(Ignored(folder), (std::vector<std::string>{"data/tables/notes.vp.txt",
                                                         "data/unknown/never.vp"}));
}

TEST(GameFolder, ArchiveDirectoriesTakeTheLastTypeFolderTheyStartWith)
{
    TempDir dir;
    VpBuilder vp;
    vp.File("before-any-dir.ogg", "r")
        .Dir("data").File("game.cfg", "c").File("skip.tbl", "s")
        .Dir("missions-extra").File("m.fs2", "m").Up()
        .Dir("Maps").Dir("ships").File("hull.dds", "h").Up().Up()
        .Dir("foo").File("x.tbl", "f").Up()
        .Up()
        .Dir("Data").Dir("tables").File("y.tbl", "y").Up().Up()
        .File("intro.ogg", "o");
    GameFolderBuilder(dir.Path()).Archive("root.vp", vp);
    CGameFolder folder;
    ASSERT_TRUE(folder.Open(dir.Path(), std::nullopt));

    const std::vector<GameHit> mission = folder.Find("extra/m.fs2");
    ASSERT_EQ(mission.size(), 1u);
    EXPECT_EQ(mission[0].nType, 29);
    const std::vector<GameHit> hull = folder.Find("data/maps/ships/hull.dds", true);
    ASSERT_EQ(hull.size(), 1u);
    EXPECT_EQ(folder.Files()[hull[0].nLoads].strSubPath, "ships/");
    // "Data/tables" is case-insensitively a tables folder; only "data" itself is exact.
    EXPECT_EQ(Copies(folder, "y.tbl"), std::vector<std::string>{"root.vp:Data/tables/y.tbl"});
    EXPECT_EQ(Copies(folder, "intro.ogg"), std::vector<std::string>{"root.vp:intro.ogg"});
    EXPECT_EQ(Copies(folder, "game.cfg"), std::vector<std::string>{"root.vp:data/game.cfg"});
    EXPECT_EQ(Ignored(folder),
              (std::vector<std::string>{"root.vp:before-any-dir.ogg", "root.vp:data/skip.tbl",
                                        "root.vp:data/foo/x.tbl"}));
}

TEST(GameFolder, FilesSortAsTheEngineComparesNameAndSubPath)
{
    TempDir dir;
    GameFolderBuilder game(dir.Path());
    // One run of maps entries, sorted as a whole; the names as a loose folder has them.
    VpBuilder vp;
    vp.Dir("data").Dir("maps").File("zz.dds", "x").Dir("glass").File("a.dds", "x").File("zz.dds", "x");
    vp.Up().File("A.dds", "x").Up().Up();
    game.Archive("data/pack.vp", vp);
    for (const std::string path : {"zz.dds", "glass/a.dds", "A.dds", "glass/zz.dds"})
        game.Loose("Mod/data/maps/" + path);
    CGameFolder folder;
    ASSERT_TRUE(folder.Open(dir.Path(), std::string("Mod")));
    std::vector<std::string> order;
    for (const GameFile& file : folder.Files())
        order.push_back(file.strSubPath + std::string(file.Name()));
    const std::vector<std::string> once = {"A.dds", "glass/a.dds", "glass/zz.dds", "zz.dds"};
    std::vector<std::string> twice = once;
    twice.insert(twice.end(), once.begin(), once.end());
    EXPECT_EQ(order, twice);
}

TEST(GameFolder, LaterCopiesAreOverridesOnTheirSubPathAndShadowsElsewhere)
{
    TempDir dir;
    GameFolderBuilder(dir.Path())
        .Loose("Mod/data/maps/hull.dds", "mod")
        .Archive("base.vp", {"data/maps/glass/hull.dds", "data/maps/hull.dds"});
    CGameFolder folder;
    ASSERT_TRUE(folder.Open(dir.Path(), std::string("Mod")));
    const std::vector<GameHit> hits = folder.Find("HULL.DDS");
    ASSERT_EQ(hits.size(), 1u);
    ASSERT_EQ(hits[0].aHides.size(), 2u);
    EXPECT_EQ(Content(folder, hits[0].nLoads), "mod");
    EXPECT_FALSE(folder.IsOverride(hits[0].nLoads, hits[0].aHides[0])); // glass/
    EXPECT_TRUE(folder.IsOverride(hits[0].nLoads, hits[0].aHides[1]));
    // Asked with its sub path, the hidden copy is what loads.
    EXPECT_EQ(Copies(folder, "glass/hull.dds"),
              std::vector<std::string>{"base.vp:data/maps/glass/hull.dds"});
    EXPECT_EQ(folder.LoadedFiles().size(), 1u);
}

TEST(GameFolder, LooseFilesFollowTheirTypeFolderRules)
{
    TempDir dir;
    const std::string text = CompressibleText(5000);
    GameFolderBuilder(dir.Path())
        .Loose("Data/Tables/weapons.tbl.lz41", Lz41Builder(text, 1024).Bytes())
        .Loose("Data/Tables/readme.doc")
        .Loose("Data/players/single/pilot.json")
        .Loose("Data/voice/extra/hello.wav")
        .Loose("Data/voice/briefing/deep/b.ogg")
        .Loose("movie.ogg")
        .Loose("fs2_open.exe")
        .Archive("root.vp", {"data/tables/a.tbl"});
    CGameFolder folder;
    ASSERT_TRUE(folder.Open(dir.Path(), std::nullopt));
    const std::vector<GameHit> weapons = folder.Find("weapons.tbl");
    ASSERT_EQ(weapons.size(), 1u);
    EXPECT_EQ(folder.Location(weapons[0].nLoads), "Data/Tables/weapons.tbl.lz41");
    EXPECT_EQ(folder.PathInRoot(weapons[0].nLoads), "Data/Tables/weapons.tbl");
    EXPECT_EQ(Content(folder, weapons[0].nLoads), text);
    EXPECT_EQ(Copies(folder, "deep/b.ogg"),
              std::vector<std::string>{"Data/voice/briefing/deep/b.ogg"});
    EXPECT_EQ(Copies(folder, "movie.ogg"), std::vector<std::string>{"movie.ogg"});
    EXPECT_EQ(Ignored(folder), (std::vector<std::string>{"fs2_open.exe", "Data/Tables/readme.doc",
                                                         "Data/players/single/pilot.json",
                                                         "Data/voice/extra/hello.wav"}));
}

TEST(GameFolder, DamagedArchiveIsNamedAndTheRestResolves)
{
    TempDir dir;
    VpBuilder good;
    good.Dir("data").Dir("tables").File("a.tbl", "good").Up().Up();
    GameFolderBuilder game(dir.Path());
    game.Archive("good.vp", good).Loose("bad.vp", "VPVP\x02").Loose("zzz.vp", std::string(40, 'x'));
    WriteBytes(game / "cut.vp", good.Truncated(good.Bytes().size() - 20));
    std::filesystem::create_directory_symlink("..", game / "data");
    CGameFolder folder;
    ASSERT_TRUE(folder.Open(dir.Path(), std::nullopt));
    EXPECT_FALSE(folder.IsComplete());
    ASSERT_EQ(folder.Warnings().size(), 3u);
    EXPECT_NE(folder.Warnings()[0].find("bad.vp"), std::string::npos);
    EXPECT_NE(folder.Warnings()[1].find("cut.vp: the directory is truncated"), std::string::npos);
    EXPECT_EQ(folder.Warnings()[2], "zzz.vp: not a VP archive");
    // What a cut directory still holds is used.
    EXPECT_EQ(Copies(folder, "a.tbl"), (std::vector<std::string>{"cut.vp:data/tables/a.tbl",
                                                                 "good.vp:data/tables/a.tbl"}));
}

TEST(GameFolder, ReadAheadGivesTheBytesOfAnyWindow)
{
    std::vector<unsigned char> bytes(1000);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<unsigned char>(i * 7);
    CMemorySource file(bytes);
    CReadAheadSource readAhead(file, 64);
    unsigned char piece[16] = {};
    // Inside a window, across its end, at the file's end and beyond it.
    for (const std::int64_t nOffset : {0, 10, 60, 990, 1000, 2000})
    {
        const std::int64_t nRead = readAhead.ReadAt(nOffset, piece, sizeof piece);
        const std::int64_t nWanted =
            std::max<std::int64_t>(0, std::min<std::int64_t>(16, 1000 - nOffset));
        ASSERT_EQ(nRead, nWanted) << nOffset;
        for (std::int64_t i = 0; i < nRead; ++i)
            EXPECT_EQ(piece[i], bytes[nOffset + i]) << nOffset + i;
    }
    std::vector<unsigned char> large(100);
    EXPECT_EQ(readAhead.ReadAt(900, large.data(), large.size()), 100);
    EXPECT_EQ(large[0], bytes[900]);
}
