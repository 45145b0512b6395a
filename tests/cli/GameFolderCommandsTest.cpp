#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <png.h>

#include "CliRunner.h"
#include "DdsBuilder.h"
#include "GameFolderBuilder.h"
#include "Lz41Builder.h"
#include "PofBuilder.h"
#include "TempDir.h"

namespace
{
// A game with a base archive, loose overrides in the game folder and a mod with its own
// archive in data/.
struct GameCli : ::testing::Test
{
    TempDir dir;
    GameFolderBuilder game{dir / "game"};
    std::string text = CompressibleText(3000);

    void SetUp() override
    {
        VpBuilder base = VpOfPaths({{"data/tables/ships.tbl", "base ships"},
                                    {"data/maps/glass/hull.dds", "glass"},
                                    {"data/missions-extra/m1.fs2", "mission"},
                                    {"data/tables/notes.doc", "never"}});
        game.Archive("root_fs2.vp", base)
            .Loose("data/tables/ships.tbl", "loose ships")
            .Loose("data/maps/hull.dds", "plain")
            .Loose("Mod/data/tables/weapons.tbl.lz41", Lz41Builder(text, 1024).Bytes())
            .Archive("Mod/data/mv_mod.vp", VpOfPaths({{"data/tables/ships.tbl", "mod ships"}}));
    }
};
std::string Bytes(const std::vector<unsigned char>& bytes)
{
    return {bytes.begin(), bytes.end()};
}

std::string SolidDds(Rgb colour)
{
    return Bytes(MakeDxt1Texture(16, [=](double, double) { return colour; }));
}

// Of a PNG's pixels that are not the model background, the share whose red stands out; -1
// when it cannot be read.
double RedShare(const std::string& path)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return -1;
    image.format = PNG_FORMAT_RGB;
    std::vector<std::uint8_t> rgb(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr))
        return -1;
    int nRed = 0, nDrawn = 0;
    for (std::size_t i = 0; i + 2 < rgb.size(); i += 3)
        if (rgb[i] != 26 || rgb[i + 1] != 28 || rgb[i + 2] != 34)
        {
            ++nDrawn;
            nRed += rgb[i] > 2 * rgb[i + 1] ? 1 : 0;
        }
    return nDrawn == 0 ? 0 : static_cast<double>(nRed) / nDrawn;
}
} // namespace

TEST_F(GameCli, WhichPrintsWhatLoadsAndWhatItHides)
{
    const CliRun run = RunCli({"which", "--json", "--mod", "Mod", "game", "ships.tbl",
                               "hull.dds", "none.tbl"},
                              dir.Path());
    EXPECT_EQ(run.nExit, 1) << run.err;
    EXPECT_EQ(nlohmann::json::parse(run.out), nlohmann::json::parse(R"([
        {"name": "ships.tbl", "folder": "data/tables", "loads": "Mod/data/mv_mod.vp:data/tables/ships.tbl",
         "hides": ["data/tables/ships.tbl", "root_fs2.vp:data/tables/ships.tbl"]},
        {"name": "hull.dds", "folder": "data/maps", "loads": "data/maps/hull.dds",
         "hides": ["root_fs2.vp:data/maps/glass/hull.dds"]},
        {"name": "none.tbl", "folder": null, "loads": null, "hides": []}])"));

    const CliRun text = RunCli({"which", "game", "glass/hull.dds", "hull.dds"}, dir.Path());
    EXPECT_EQ(text.nExit, 0) << text.err;
    EXPECT_EQ(text.out, "glass/hull.dds\tdata/maps\troot_fs2.vp:data/maps/glass/hull.dds\n"
                        "hull.dds\tdata/maps\tdata/maps/hull.dds\n"
                        "  shadow\troot_fs2.vp:data/maps/glass/hull.dds\n");
}

TEST_F(GameCli, ListJsonHasTheLoadedFilesAndTheIgnoredOnes)
{
    game.Loose("Mod/mod.ini", "[multimod]\nprimarylist=;\nsecondarylist=;\n");
    // Opened through its mod.ini, the mod's parent is the game folder.
    const CliRun run = RunCli({"list", "--json", "game/Mod"}, dir.Path());
    ASSERT_EQ(run.nExit, 0) << run.err;
    const auto j = nlohmann::json::parse(run.out);
    EXPECT_EQ(j["mods"], nlohmann::json::array({"Mod"}));
    EXPECT_EQ(j["complete"], true);
    EXPECT_EQ(j["ignored"], nlohmann::json::array({"Mod/mod.ini", "root_fs2.vp:data/tables/notes.doc"}));
    ASSERT_EQ(j["files"].size(), 4u);
    const auto& weapons = j["files"][0];
    EXPECT_EQ(weapons["folder"], "data/tables");
    EXPECT_EQ(weapons["name"], "weapons.tbl");
    EXPECT_EQ(weapons["size"], text.size());
    EXPECT_EQ(weapons["loads"], "Mod/data/tables/weapons.tbl.lz41");
    EXPECT_EQ(j["files"][1]["hides"].size(), 2u);
    EXPECT_EQ(j["files"][3]["loads"], "root_fs2.vp:data/missions-extra/m1.fs2");
}

TEST_F(GameCli, DamagedArchiveIsNamedAndTheRestIsListed)
{
    game.Loose("data/broken.vp", "VPVP");
    const CliRun run = RunCli({"list", "--json", "game"}, dir.Path());
    EXPECT_EQ(run.nExit, 3);
    EXPECT_NE(run.err.find("data/broken.vp"), std::string::npos) << run.err;
    const auto j = nlohmann::json::parse(run.out);
    EXPECT_EQ(j["complete"], false);
    EXPECT_EQ(j["files"].size(), 3u);
}

TEST_F(GameCli, ExtractWritesTheFlattenedGame)
{
    const CliRun run =
        RunCli({"extract", "--mod", "Mod", "game", "--keep-dirs", "-C", "out"}, dir.Path());
    ASSERT_EQ(run.nExit, 0) << run.err;
    EXPECT_EQ(ReadFileText(dir / "out/data/tables/ships.tbl"), "mod ships");
    EXPECT_EQ(ReadFileText(dir / "out/data/tables/weapons.tbl"), text);
    EXPECT_EQ(ReadFileText(dir / "out/data/maps/hull.dds"), "plain");
    EXPECT_EQ(ReadFileText(dir / "out/data/missions-extra/m1.fs2"), "mission");

    // One name loaded from two type folders: both are written, each at its own path.
    game.Loose("data/readme.txt", "data's").Loose("data/text/readme.txt", "text's");
    const CliRun some = RunCli({"extract", "game", "*.tbl", "*.txt", "-C", "flat"}, dir.Path());
    ASSERT_EQ(some.nExit, 0) << some.err;
    EXPECT_EQ(ReadFileText(dir / "flat/data/tables/ships.tbl"), "loose ships");
    EXPECT_EQ(ReadFileText(dir / "flat/data/readme.txt"), "data's");
    EXPECT_EQ(ReadFileText(dir / "flat/data/text/readme.txt"), "text's");
}

TEST_F(GameCli, CatTakesATypeFolderPathWhereANameIsInSeveral)
{
    game.Loose("data/missions/ships.tbl", "not a mission").Loose("data/text/ships.txt", "t");
    game.Loose("data/text/dup.txt", "text").Loose("data/fiction/dup.txt", "fiction");
    const CliRun plain = RunCli({"cat", "--mod", "Mod", "game", "weapons.tbl"}, dir.Path());
    EXPECT_EQ(plain.nExit, 0) << plain.err;
    EXPECT_EQ(plain.out, text);
    const CliRun several = RunCli({"cat", "game", "dup.txt"}, dir.Path());
    EXPECT_EQ(several.nExit, 1);
    EXPECT_NE(several.err.find("data/text/dup.txt data/fiction/dup.txt"), std::string::npos)
        << several.err;
    const CliRun named = RunCli({"cat", "game", "data/fiction/dup.txt"}, dir.Path());
    EXPECT_EQ(named.out, "fiction");
    // The game folder's own files have no folder path: "./" names them.
    game.Loose("intro.ogg", "root").Loose("data/sounds/intro.ogg", "sound");
    EXPECT_NE(RunCli({"cat", "game", "intro.ogg"}, dir.Path()).err.find("./intro.ogg data/sounds/intro.ogg"),
              std::string::npos);
    EXPECT_EQ(RunCli({"cat", "game", "./intro.ogg"}, dir.Path()).out, "root");
}

TEST_F(GameCli, EngineDupsTellOverridesShadowsAndCriticalFiles)
{
    game.Loose("Mod/data/maps/hull.dds", "plain");
    const CliRun run = RunCli({"dups", "--engine", "--json", "--mod", "Mod", "game"}, dir.Path());
    ASSERT_EQ(run.nExit, 0) << run.err;
    const auto d = nlohmann::json::parse(run.out)["duplicates"];
    ASSERT_EQ(d.size(), 2u);
    EXPECT_EQ(d[0]["name"], "hull.dds");
    EXPECT_EQ(d[0]["critical"], false);
    EXPECT_EQ(d[0]["hides"][0]["kind"], "override");
    EXPECT_EQ(d[0]["hides"][0]["identical"], true);
    EXPECT_EQ(d[0]["hides"][1]["kind"], "shadow");
    EXPECT_EQ(d[0]["identical"], false);
    EXPECT_EQ(d[1]["name"], "ships.tbl");
    EXPECT_EQ(d[1]["critical"], true);
}

TEST_F(GameCli, ExtractWritesNothingOutsideTheDestination)
{
    VpBuilder evil;
    evil.Dir("data").Dir("tables/../../..").File("evil.tbl", "evil").Up().Up();
    game.Archive("zz_evil.vp", evil);
    const CliRun run = RunCli({"extract", "game", "--keep-dirs", "-C", "out/deep"}, dir.Path());
    EXPECT_EQ(run.nExit, 1);
    EXPECT_NE(run.err.find("zz_evil.vp:data/tables/../../../evil.tbl: refused"), std::string::npos)
        << run.err;
    EXPECT_FALSE(std::filesystem::exists(dir / "evil.tbl"));
    EXPECT_FALSE(std::filesystem::exists(dir / "out/evil.tbl"));
    EXPECT_EQ(ReadFileText(dir / "out/deep/data/tables/ships.tbl"), "loose ships");

    // sum digests what the game reads, by location.
    const CliRun sum = RunCli({"sum", "game", "ships.tbl", "--algo", "md5"}, dir.Path());
    EXPECT_EQ(sum.nExit, 0) << sum.err;
    EXPECT_EQ(sum.out, "608efabe128bc0771fd0519e9537a3e1  data/tables/ships.tbl\n");
}

TEST_F(GameCli, RenderAndModelTakeLooseFiles)
{
    game.Loose("data/models/ship.pof", Bytes(MakeShipPof(200, "paint")))
        .Loose("data/maps/paint.dds", SolidDds({250, 30, 30}));
    CliRun run = RunCli({"render", "game", "ship.pof", "-o", "ship.png", "--size", "64x64"}, dir.Path());
    ASSERT_EQ(run.nExit, 0) << run.err;
    EXPECT_GT(RedShare(dir / "ship.png"), 0.5);
    run = RunCli({"render", "game", "data/maps/paint.dds", "-o", "paint.png"}, dir.Path());
    ASSERT_EQ(run.nExit, 0) << run.err;
    EXPECT_EQ(RedShare(dir / "paint.png"), 1.0);
    run = RunCli({"model", "game", "ship.pof"}, dir.Path());
    EXPECT_EQ(run.nExit, 0) << run.err;
    EXPECT_NE(run.out.find("texture paint\tdata/maps/paint.dds\n"), std::string::npos) << run.out;
    // A loose file that does not decode is named by its location.
    run = RunCli({"render", "game", "hull.dds", "-o", "hull.png"}, dir.Path());
    EXPECT_EQ(run.nExit, 1);
    EXPECT_EQ(run.err.rfind("orbistav-cli: data/maps/hull.dds: ", 0), 0u) << run.err;
}

TEST_F(GameCli, ModelTexturesComeFromTheEarliestPlaceOfTheWholeView)
{
    // The mod's archive holds the model, its loose folder a red .pcx; the game folder's
    // green .dds comes later, though the game asks for .dds first.
    VpBuilder ships;
    ships.Dir("data").Dir("models").File("ship.pof", MakeShipPof(200, "Paint")).Up().Up();
    std::array<Rgb, 256> palette{};
    palette[1] = {250, 30, 30};
    game.Archive("Mod/data/mv_ships.vp", ships)
        .Loose("Mod/data/maps/paint.pcx", Bytes(MakePcx8(8, 8, [](int, int) { return 1; }, palette)))
        .Loose("data/maps/paint.dds", SolidDds({30, 250, 30}));
    CliRun run = RunCli({"model", "--json", "--mod", "Mod", "game", "ship.pof"}, dir.Path());
    ASSERT_EQ(run.nExit, 0) << run.err;
    const auto model = nlohmann::json::parse(run.out);
    EXPECT_EQ(model["entry"], "Mod/data/mv_ships.vp:data/models/ship.pof");
    EXPECT_EQ(model["textures"][0]["entry"], "Mod/data/maps/paint.pcx");
    run = RunCli({"render", "--mod", "Mod", "game", "ship.pof", "-o", "ship.png", "--size", "64x64"},
                 dir.Path());
    ASSERT_EQ(run.nExit, 0) << run.err;
    EXPECT_GT(RedShare(dir / "ship.png"), 0.5);
}
