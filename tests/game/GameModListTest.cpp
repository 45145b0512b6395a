#include <gtest/gtest.h>

#include "GameFolderBuilder.h"
#include "GameModList.h"
#include "TempDir.h"

TEST(GameModList, CommandLineListIsSplitButNotTrimmed)
{
    EXPECT_EQ(SplitModList("A, B,,MyMod-1.0/core"),
              (std::vector<std::string>{"A", " B", "MyMod-1.0/core"}));
    EXPECT_EQ(CmdlineCfgModList("-window -mod \"X,MediaVPs_2014\" -mod Y -fps\nsecond -mod Z"),
              std::string("X,MediaVPs_2014,Y"));
    EXPECT_FALSE(CmdlineCfgModList("-window -fps"));
}

TEST(GameModList, ModIniGivesPrimaryTheModThenSecondary)
{
    const std::string ini = "[launcher]\nprimarylist = nope;\n"
                            "[multimod]\r\nPrimaryList = First, Second;\r\n"
                            "SecondaryList = MediaVPs_2014, ScreenCam;\r\n";
    EXPECT_EQ(ModIniList(ini, "MyMod"),
              (std::vector<std::string>{"First", "Second", "MyMod", "MediaVPs_2014", "ScreenCam"}));
}

TEST(GameModList, ModJsonTakesTheNewestInstalledFolderOfEachId)
{
    const std::string json = R"({"id": "mine", "version": "1.0",
                                 "mod_flag": ["mine", "MVPS", "FS2", "absent"]})";
    std::vector<std::string> mods;
    ASSERT_TRUE(ModJsonList(json, "mine-1.0", {"MVPS-4.9.0", "MVPS-4.10.1", "mine-1.0"}, mods));
    EXPECT_EQ(mods, (std::vector<std::string>{"mine-1.0", "MVPS-4.10.1", "absent"}));
    EXPECT_FALSE(ModJsonList("[1,", "m", {}, mods));
}

TEST(GameModList, FolderWithLauncherFileIsAModOfItsParent)
{
    TempDir dir;
    GameFolderBuilder(dir.Path())
        .Loose("Mine/mod.ini", "[multimod]\nsecondarylist=Base;\n")
        .Loose("data/cmdline_fso.cfg", "-mod Other,Base\n");
    GameFolderSetup setup;
    ASSERT_TRUE(ResolveGameFolder(dir / "Mine", std::nullopt, setup));
    EXPECT_EQ(setup.strGameDir, dir.Path());
    EXPECT_EQ(setup.aMods, (std::vector<std::string>{"Mine", "Base"}));
    EXPECT_EQ(setup.source, ModListSource::ModIni);

    ASSERT_TRUE(ResolveGameFolder(dir.Path(), std::nullopt, setup));
    EXPECT_EQ(setup.aMods, (std::vector<std::string>{"Other", "Base"}));
    EXPECT_EQ(setup.source, ModListSource::CmdlineCfg);

    ASSERT_TRUE(ResolveGameFolder(dir.Path(), std::string(""), setup));
    EXPECT_TRUE(setup.aMods.empty());

    GameFolderBuilder(dir.Path())
        .Loose("Other-1.0/mod.json", R"({"id": "Other", "mod_flag": ["Other", "Base"]})")
        .Loose("Base-2.0/data/x.tbl")
        .Loose("Base-10.1/data/x.tbl");
    ASSERT_TRUE(ResolveGameFolder(dir / "Other-1.0", std::nullopt, setup));
    EXPECT_EQ(setup.strGameDir, dir.Path());
    EXPECT_EQ(setup.aMods, (std::vector<std::string>{"Other-1.0", "Base-10.1"}));
    EXPECT_EQ(setup.source, ModListSource::ModJson);
}
