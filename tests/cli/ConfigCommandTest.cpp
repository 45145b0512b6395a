#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "CliRunner.h"
#include "Settings.h"
#include "SuiteAccess.h"
#include "TempDir.h"
#include "VpBuilder.h"

namespace
{
// A registry of its own, shared with the orbistav-cli processes through the environment.
struct CliWithRegistry : ::testing::Test
{
    TempDir registry;
    void SetUp() override { ::setenv("QUILLMOOR_REGISTRY_DIR", registry.Path().c_str(), 1); }
    void TearDown() override { ::unsetenv("QUILLMOOR_REGISTRY_DIR"); }
};
} // namespace

TEST_F(CliWithRegistry, ArchivesInsideAConfiguredFreeSpaceInstallationKnowTheirGameDir)
{
    TempDir games;
    std::filesystem::create_directories(games / "FreeSpace2/mods");
    VpBuilder().File("ships.tbl", "x").WriteTo(games / "FreeSpace2/mods/root_fs2.vp");
    VpBuilder().File("ships.tbl", "x").WriteTo(games / "elsewhere.vp");
    ASSERT_TRUE(
        WriteSuiteString("\\Games Configuration\\FreeSpace 2", "Path", games / "freespace2"));

    auto gameDirOf = [](const std::string& path) {
        return nlohmann::json::parse(RunCli({"list", "--json", path}).out)["gameDir"];
    };
    // Matched without regard to case, reported as configured.
    EXPECT_EQ(gameDirOf(games / "FreeSpace2/mods/root_fs2.vp"), games / "freespace2/");
    EXPECT_EQ(gameDirOf(games / "elsewhere.vp"), "");
}

TEST_F(CliWithRegistry, ConfigShowsWhatIsStoredWithoutWritingAnything)
{
    CliRun run = RunCli({"config"});
    EXPECT_EQ(run.nExit, 0) << run.err;
    EXPECT_NE(run.out.find("HKEY_CURRENT_USER.reg (missing)"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("InterfaceShowGrid     1  on"), std::string::npos) << run.out;
    EXPECT_TRUE(std::filesystem::is_empty(registry.Path()));

    ASSERT_TRUE(WriteSetting(kSettingInterfaceShowGrid, 0));
    ASSERT_TRUE(WriteSetting(kSettingSoundAutoRepeatWAV, 5));
    ASSERT_TRUE(WriteSuiteString("\\Games Configuration\\Summoner", "Path", "/games/summoner"));
    run = RunCli({"config"});
    EXPECT_NE(run.out.find("InterfaceShowGrid     0  off"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("SoundAutoRepeatWAV    5  Never loop"), std::string::npos);
    EXPECT_NE(run.out.find("Summoner              /games/summoner/"), std::string::npos);
    EXPECT_NE(run.out.find("Module id             Vantorel ORBISTAV"), std::string::npos);
}
