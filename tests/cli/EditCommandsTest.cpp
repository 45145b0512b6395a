#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/resource.h>

#include "CliRunner.h"
#include "TempDir.h"
#include "VpBuilder.h"
#include "VppBuilder.h"

namespace fs = std::filesystem;

namespace
{
void Put(const std::string& path, const std::string& text)
{
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

struct EditCli : ::testing::Test
{
    TempDir dir;
    std::string archive = dir / "mod.vp";

    void SetUp() override
    {
        VpBuilder()
            .Dir("data")
            .Dir("maps")
            .File("x.dds", "dds", 10)
            .File("y.dds", "yy", 10)
            .Up()
            .Dir("old")
            .File("gone.tbl", "gone", 10)
            .Up()
            .Up()
            .File("readme.txt", "hello", 10)
            .WriteTo(archive);
        Put(dir / "in/ships.tbl", "#Ships");
        Put(dir / "in/readme.txt", "new readme");
        Put(dir / "in/hud/gauge.pcx", "pcx");
    }

    // The archive's paths and contents as `sum` would digest them, here as `cat` prints.
    std::string List() const
    {
        const CliRun run = RunCli({"list", archive});
        EXPECT_EQ(run.nExit, 0) << run.err;
        std::string names;
        std::istringstream lines(run.out);
        for (std::string line; std::getline(lines, line);)
            names += line.substr(0, line.find('\t')) + "\n";
        return names;
    }
};
} // namespace

TEST_F(EditCli, AddRemoveAndMoveGiveTheExpectedArchive)
{
    CliRun run = RunCli({"add", archive, dir / "in/ships.tbl", dir / "in/hud", "--to",
                         "\\data\\tables"});
    ASSERT_EQ(run.nExit, 0) << run.err;
    ASSERT_EQ(RunCli({"add", archive, dir / "in/readme.txt"}).nExit, 0);
    run = RunCli({"rm", archive, "\\data\\old", "y.dds"});
    ASSERT_EQ(run.nExit, 0) << run.err;
    run = RunCli({"mv", archive, "\\data\\maps\\x.dds", "\\data\\tables\\hud\\"});
    ASSERT_EQ(run.nExit, 0) << run.err;
    run = RunCli({"mv", archive, "ships.tbl", "Ships2.tbl"});
    ASSERT_EQ(run.nExit, 0) << run.err;
    run = RunCli({"mv", archive, "\\data\\tables\\hud\\", "gauges"});
    ASSERT_EQ(run.nExit, 0) << run.err;
    EXPECT_EQ(List(), "Ships2.tbl in \\data\\tables\n"
                      "gauge.pcx in \\data\\tables\\gauges\n"
                      "x.dds in \\data\\tables\\gauges\n"
                      "readme.txt in \n");
    EXPECT_EQ(RunCli({"cat", archive, "readme.txt"}).out, "new readme");
    EXPECT_EQ(RunCli({"cat", archive, "x.dds"}).out, "dds");
}

TEST_F(EditCli, EveryRefusalNamesTheCauseAndLeavesTheArchiveUntouched)
{
    const std::string old = ReadFileText(archive);
    const auto refused = [&](const std::vector<std::string>& args, const std::string& why)
    {
        const CliRun run = RunCli(args);
        EXPECT_EQ(run.nExit, 1) << args[0];
        EXPECT_NE(run.err.find(why), std::string::npos) << run.err;
        EXPECT_EQ(ReadFileText(archive), old);
    };
    refused({"rm", archive, "y.dds", "missing.tbl"}, "no entry or directory matches 'missing.tbl'");
    refused({"mv", archive, "x.dds", "y.dds"}, "already holds a file");
    refused({"mv", archive, "*.dds", "\\data\\"}, "matches 2 entries");
    refused({"add", archive, dir / "in/nothing.tbl"}, "nothing.tbl");
    Put(dir / ("in/" + std::string(40, 'n') + ".tbl"), "x");
    refused({"add", archive, dir / ("in/" + std::string(40, 'n') + ".tbl")}, "at most 31");

    // A failed write (the file size limit stands in for a full disk) leaves the old
    // archive and no temporary file.
    Put(dir / "in/big.tbl", std::string(200000, 'b'));
    rlimit saved = {};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    rlimit limited = saved;
    limited.rlim_cur = 100000;
    ::setrlimit(RLIMIT_FSIZE, &limited);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    const CliRun run = RunCli({"add", archive, dir / "in/big.tbl"});
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(run.nExit, 1);
    EXPECT_NE(run.err.find(archive), std::string::npos) << run.err;
    EXPECT_EQ(ReadFileText(archive), old);
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir.Path()))
        names.push_back(e.path().filename().string());
    EXPECT_EQ(names.size(), 2u) << ::testing::PrintToString(names); // in, mod.vp
}

TEST_F(EditCli, PackMakesAFlatPackfileAndRefusesWhatItCannotHold)
{
    Put(dir / "rf/b.v3m", "model");
    Put(dir / "rf/a.tga", std::string(5000, 't'));
    const std::string vpp = dir / "out.vpp";
    CliRun run = RunCli({"pack", dir / "rf", "-o", vpp});
    ASSERT_EQ(run.nExit, 0) << run.err;
    const std::vector<unsigned char> expected =
        VppBuilder().File("a.tga", std::string(5000, 't')).File("b.v3m", "model").Bytes();
    EXPECT_EQ(ReadFileText(vpp), std::string(expected.begin(), expected.end()));

    Put(dir / "rf/maps/c.tga", "c");
    run = RunCli({"pack", dir / "rf", "-o", dir / "sub.vpp"});
    EXPECT_EQ(run.nExit, 1);
    EXPECT_NE(run.err.find("maps: refused"), std::string::npos) << run.err;
    fs::remove_all(dir / "rf/maps");
    Put(dir / "rf/A.TGA", "clash");
    run = RunCli({"pack", dir / "rf", "-o", dir / "clash.vpp"});
    EXPECT_EQ(run.nExit, 1);
    EXPECT_NE(run.err.find("same name"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(dir / "sub.vpp") || fs::exists(dir / "clash.vpp"));

    // Edited in place, --to is ignored: a packfile has no directories.
    run = RunCli({"add", vpp, dir / "in/ships.tbl", "--to", "\\data"});
    ASSERT_EQ(run.nExit, 0) << run.err;
    ASSERT_EQ(RunCli({"rm", vpp, "a.tga"}).nExit, 0);
    EXPECT_EQ(RunCli({"cat", vpp, "\\ships.tbl"}).out, "#Ships");
    EXPECT_EQ(RunCli({"cat", vpp, "b.v3m"}).out, "model");
    EXPECT_EQ(RunCli({"mv", vpp, "b.v3m", "\\data\\"}).nExit, 1);
}
