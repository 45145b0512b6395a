#include <gtest/gtest.h>

#include <filesystem>

#include "CliRunner.h"
#include "TempDir.h"
#include "VpBuilder.h"
#include "VppBuilder.h"

namespace fs = std::filesystem;

namespace
{
struct ExtractCli : ::testing::Test
{
    TempDir dir;
    std::string archive = dir / "data.vp";
    std::string out = dir / "out";

    void SetUp() override
    {
        VpBuilder()
            .Dir("data")
            .Dir("tables")
            .File("ships.tbl", "#Ships")
            .File("weapons.tbl", "#Weapons")
            .Up()
            .Dir("maps")
            .File("Nebula.PCX", "pcx")
            .Up()
            .Up()
            .File("readme.txt", "hi")
            .WriteTo(archive);
    }
    std::vector<std::string> Written() const
    {
        std::vector<std::string> names;
        if (fs::exists(out))
            for (const auto& e : fs::recursive_directory_iterator(out))
                names.push_back(fs::relative(e.path(), out).string());
        std::sort(names.begin(), names.end());
        return names;
    }
};
} // namespace

TEST_F(ExtractCli, PatternsSelectByArchivePathFlatOrWithDirectories)
{
    CliRun run = RunCli({"extract", archive, "*.TBL", "\\data\\maps\\nebula.pcx", "-C", out});
    EXPECT_EQ(run.nExit, 0) << run.err;
    EXPECT_EQ(Written(), std::vector<std::string>({"Nebula.PCX", "ships.tbl", "weapons.tbl"}));
    EXPECT_EQ(ReadFileText(out + "/weapons.tbl"), "#Weapons");

    fs::remove_all(out);
    run = RunCli({"extract", archive, "--keep-dirs", "-C", out});
    EXPECT_EQ(run.nExit, 0) << run.err;
    EXPECT_EQ(Written(), std::vector<std::string>({"data", "data/maps", "data/maps/Nebula.PCX",
                                                   "data/tables", "data/tables/ships.tbl",
                                                   "data/tables/weapons.tbl", "readme.txt"}));

    // Without -C the current directory receives the files.
    fs::create_directories(dir / "cwd");
    run = RunCli({"extract", archive, "data/tables/ships.tbl"}, dir / "cwd");
    EXPECT_EQ(run.nExit, 0) << run.err;
    EXPECT_EQ(ReadFileText(dir / "cwd/ships.tbl"), "#Ships");
}

TEST_F(ExtractCli, UnmatchedPatternsAndRefusedNamesFailButTheRestIsExtracted)
{
    CliRun run = RunCli({"extract", archive, "*.tbl", "\\nothing\\*", "-C", out});
    EXPECT_EQ(run.nExit, 1);
    EXPECT_NE(run.err.find("no entry matches '\\nothing\\*'"), std::string::npos) << run.err;
    EXPECT_EQ(Written().size(), 2u);

    VpBuilder()
        .File("..", "x")
        .File("ok.txt", "fine")
        .Dir("a/b")
        .File("c.txt", "c")
        .Up()
        .WriteTo(dir / "evil.vp");
    fs::remove_all(out);
    run = RunCli({"extract", dir / "evil.vp", "--keep-dirs", "-C", out});
    EXPECT_EQ(run.nExit, 1);
    EXPECT_NE(run.err.find("\\..: refused"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("\\a/b: refused"), std::string::npos) << run.err;
    EXPECT_EQ(Written(), std::vector<std::string>({"ok.txt"}));
}

TEST_F(ExtractCli, PartlyReadAndPackedArchives)
{
    const auto bytes = VpBuilder().File("a.txt", "A").File("b.txt", "B").Bytes();
    WriteBytes(dir / "cut.vp", std::vector<unsigned char>(bytes.begin(), bytes.end() - 44));
    CliRun run = RunCli({"extract", dir / "cut.vp", "-C", out});
    EXPECT_EQ(run.nExit, 3);
    EXPECT_EQ(Written(), std::vector<std::string>({"a.txt"}));

    VppBuilder()
        .File("b.wav", std::string(3000, 'w'))
        .File("a.tga", "tga")
        .WriteTo(dir / "pack.vpp");
    fs::remove_all(out);
    run = RunCli({"extract", dir / "pack.vpp", "*.wav", "a.tga", "--keep-dirs", "-C", out});
    EXPECT_EQ(run.nExit, 0) << run.err;
    EXPECT_EQ(ReadFileText(out + "/b.wav"), std::string(3000, 'w'));
    EXPECT_EQ(ReadFileText(out + "/a.tga"), "tga");

    EXPECT_EQ(RunCli({"extract"}).nExit, 2);
    EXPECT_EQ(RunCli({"extract", dir / "missing.vp", "-C", out}).nExit, 1);
}
