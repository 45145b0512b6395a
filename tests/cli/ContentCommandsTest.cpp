#include <gtest/gtest.h>

#include <openssl/evp.h>

#include <nlohmann/json.hpp>

#include "CliRunner.h"
#include "Lz41Builder.h"
#include "TempDir.h"
#include "VpBuilder.h"

namespace
{
std::string Sha256(const std::string& bytes)
{
    unsigned char value[EVP_MAX_MD_SIZE];
    unsigned int nLength = 0;
    EVP_Digest(bytes.data(), bytes.size(), value, &nLength, EVP_sha256(), nullptr);
    std::string hex;
    for (unsigned int i = 0; i < nLength; ++i)
    {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02x", value[i]);
        hex += pair;
    }
    return hex;
}

// A mod archive with one compressed table, one plain and one whose last block is broken.
struct ModArchive : ::testing::Test
{
    TempDir dir;
    std::string archive = dir / "mod.vpc";
    std::string ships = CompressibleText(20000);
    std::string stored = Lz41Builder(ships, 8192).Bytes();

    void SetUp() override
    {
        Lz41Builder broken(ships, 8192);
        broken.aBlocks.back().assign(broken.aBlocks.back().size(), '\xff');
        VpBuilder()
            .Dir("data")
            .Dir("tables")
            .File("ships.tbl", stored)
            .File("weapons.tbl", "#Weapons")
            .File("broken.tbl", broken.Bytes())
            .Up()
            .Up()
            .WriteTo(archive);
    }
};
} // namespace

TEST_F(ModArchive, CatWritesOneEntryDecompressedOrRaw)
{
    CliRun run = RunCli({"cat", archive, "data/tables/SHIPS.tbl"});
    EXPECT_EQ(run.nExit, 0) << run.err;
    EXPECT_EQ(run.out, ships);
    run = RunCli({"cat", archive, "\\data\\tables\\ships.tbl", "--raw"});
    EXPECT_EQ(run.out, stored);

    run = RunCli({"cat", archive, "Ships.TBL"});
    EXPECT_EQ(run.nExit, 0) << run.err;
    EXPECT_EQ(run.out, ships);

    run = RunCli({"cat", archive, "*.tbl"});
    EXPECT_EQ(run.nExit, 1);
    EXPECT_NE(run.err.find("matches 3 entries; name one:\n  \\data\\tables\\ships.tbl\n  "
                           "\\data\\tables\\weapons.tbl\n  \\data\\tables\\broken.tbl"),
              std::string::npos)
        << run.err;
    run = RunCli({"cat", archive, "missing.tbl"});
    EXPECT_EQ(run.nExit, 1);
    EXPECT_NE(run.err.find("no entry matches 'missing.tbl'"), std::string::npos) << run.err;
    run = RunCli({"cat", archive, "*broken*"});
    EXPECT_EQ(run.nExit, 1);
    EXPECT_NE(run.err.find("broken.tbl: the compressed entry is damaged"), std::string::npos);
}

TEST_F(ModArchive, SumPrintsDigestsOfTheContentLikeSha256sum)
{
    CliRun run = RunCli({"sum", archive, "*s.tbl"});
    EXPECT_EQ(run.nExit, 0) << run.err;
    EXPECT_EQ(run.out, Sha256(ships) + "  \\data\\tables\\ships.tbl\n" + Sha256("#Weapons") +
                           "  \\data\\tables\\weapons.tbl\n");
    run = RunCli({"sum", archive, "*ships*", "--raw"});
    EXPECT_EQ(run.out, Sha256(stored) + "  \\data\\tables\\ships.tbl\n");
    run = RunCli({"sum", archive, "*weapons*", "--algo", "md5"});
    EXPECT_EQ(run.out, "0cd143a1b39ba3317e00e1fa69c3d91d  \\data\\tables\\weapons.tbl\n");

    // A damaged entry is named and the others are still summed.
    run = RunCli({"sum", archive});
    EXPECT_EQ(run.nExit, 1);
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 2);
    EXPECT_NE(run.err.find("broken.tbl"), std::string::npos);
}

TEST_F(ModArchive, ListAndExtractKnowCompressedEntries)
{
    CliRun run = RunCli({"list", "--json", archive});
    ASSERT_EQ(run.nExit, 0) << run.err;
    const auto files = nlohmann::json::parse(run.out)["files"];
    EXPECT_EQ(files[0]["compressed"], true);
    EXPECT_EQ(files[0]["uncompressedSize"], ships.size());
    EXPECT_EQ(files[0]["size"], stored.size());
    EXPECT_EQ(files[1]["compressed"], false);
    EXPECT_FALSE(files[1].contains("uncompressedSize"));

    run = RunCli({"extract", archive, "-C", dir / "out"});
    EXPECT_EQ(run.nExit, 1);
    EXPECT_EQ(ReadFileText(dir / "out/ships.tbl"), ships);
    EXPECT_EQ(ReadFileText(dir / "out/weapons.tbl"), "#Weapons");
    EXPECT_FALSE(std::filesystem::exists(dir / "out/broken.tbl"));
    run = RunCli({"extract", archive, "*ships*", "--raw", "-C", dir / "raw"});
    EXPECT_EQ(run.nExit, 0) << run.err;
    EXPECT_EQ(run.err, ""); // no progress line where stderr is no terminal
    EXPECT_EQ(ReadFileText(dir / "raw/ships.tbl"), stored);
}

TEST(CliDups, NamesPathsInSeveralArchivesWithTheirDigests)
{
    TempDir dir;
    const std::string ships = CompressibleText(5000);
    VpBuilder()
        .Dir("data")
        .File("ships.tbl", ships)
        .File("only.tbl", "a")
        .File("weapons.tbl", "#W1")
        .Up()
        .WriteTo(dir / "a.vp");
    VpBuilder()
        .Dir("DATA")
        .File("Ships.TBL", Lz41Builder(ships, 1024).Bytes())
        .File("weapons.tbl", "#W2")
        .Up()
        .WriteTo(dir / "b.vpc");

    CliRun run = RunCli({"dups", "--json", "a.vp", "b.vpc"}, dir.Path());
    ASSERT_EQ(run.nExit, 0) << run.err;
    const auto dups = nlohmann::json::parse(run.out)["duplicates"];
    ASSERT_EQ(dups.size(), 2u) << run.out;
    EXPECT_EQ(dups[0]["path"], "\\data\\ships.tbl");
    EXPECT_EQ(dups[0]["identical"], true);
    EXPECT_EQ(dups[0]["entries"][1], nlohmann::json({{"archive", "b.vpc"},
                                                     {"name", "Ships.TBL"},
                                                     {"size", ships.size()},
                                                     {"sha256", Sha256(ships)}}));
    EXPECT_EQ(dups[1]["path"], "\\data\\weapons.tbl");
    EXPECT_EQ(dups[1]["identical"], false);

    run = RunCli({"dups", "a.vp", "missing.vp"}, dir.Path());
    EXPECT_EQ(run.nExit, 1);
    EXPECT_NE(run.err.find("missing.vp"), std::string::npos);
}
