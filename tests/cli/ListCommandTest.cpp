#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "CliRunner.h"
#include "TempDir.h"
#include "VpBuilder.h"
#include "VppBuilder.h"

namespace
{
VpBuilder SampleVp()
{
    VpBuilder vp;
    vp.File("readme.txt", "hello", 0)
        .Dir("data")
        .Dir("tables")
        .File("ships.tbl", "#Ships", 1001923509)
        .Up()
        .Dir("maps")
        .File("caf\xe9.pcx", "PCX", 1001923510)
        .Up()
        .Up();
    return vp;
}
} // namespace

TEST(CliList, PrintsOneRowPerFileLikeTheAllFilesView)
{
    TempDir dir;
    SampleVp().WriteTo(dir / "data.vp");
    VppBuilder().File("a.tga", "tga").File("b.wav", "").WriteTo(dir / "sounds.vpp");

    const CliRun vp = RunCli({"list", dir / "data.vp"});
    EXPECT_EQ(vp.nExit, 0) << vp.err;
    EXPECT_EQ(vp.out, "readme.txt in \tText file\t5\t\n"
                      "ships.tbl in \\data\\tables\tTable file\t6\t10/1/2001 08:05:09\n"
                      "caf\xc3\xa9.pcx in \\data\\maps\tPCX graphic\t3\t10/1/2001 08:05:10\n");
    EXPECT_EQ(vp.err, "");

    const CliRun vpp = RunCli({"list", dir / "sounds.vpp"});
    EXPECT_EQ(vpp.nExit, 0);
    EXPECT_EQ(vpp.out, "a.tga\tTGA graphic\t3\t\nb.wav\tWAV sound\t0\t\n");
}

TEST(CliList, JsonDescribesTheWholeDocument)
{
    TempDir dir;
    SampleVp().WriteTo(dir / "data.vp");
    const CliRun run = RunCli({"list", "--json", "data.vp"}, dir.Path());
    ASSERT_EQ(run.nExit, 0) << run.err;
    const auto j = nlohmann::json::parse(run.out);
    EXPECT_EQ(j["archive"], "data.vp");
    EXPECT_EQ(j["kind"], 1);
    EXPECT_EQ(j["complete"], true);
    EXPECT_TRUE(j["warning"].is_null());
    ASSERT_EQ(j["dirs"].size(), 4u);
    EXPECT_EQ(j["dirs"][1]["children"], nlohmann::json::array({2, 3}));
    EXPECT_EQ(j["dirs"][3]["path"], "\\data\\maps");
    EXPECT_EQ(j["dirs"][3]["parent"], 1);
    EXPECT_EQ(j["dirs"][3]["files"], nlohmann::json::array({2}));
    EXPECT_FALSE(j["dirs"][0].contains("type"));
    const auto& f = j["files"][2];
    EXPECT_EQ(f["name"], "caf\xc3\xa9.pcx");
    EXPECT_EQ(f["dir"], 3);
    EXPECT_EQ(f["path"], "\\data\\maps");
    EXPECT_EQ(f["size"], 3);
    EXPECT_EQ(f["time"], 1001923510);
    EXPECT_EQ(f["type"], 1);
    EXPECT_EQ(f["typeName"], "PCX graphic");
    EXPECT_EQ(f["offset"], 16 + 5 + 6);

    VppBuilder().File("a.tga", "tga").File("b", "x").WriteTo(dir / "x.vpp");
    const auto k = nlohmann::json::parse(RunCli({"list", "--json", dir / "x.vpp"}).out);
    EXPECT_EQ(k["kind"], 2);
    EXPECT_EQ(k["dirs"][0]["type"], -1);
    EXPECT_EQ(k["dirs"][2]["type"], 0);
    EXPECT_EQ(k["dirs"][2]["name"], "*** files (? <Unknown>)");
    EXPECT_EQ(k["files"][1]["path"], "\\*** files (? <Unknown>)");
}

TEST(CliList, BrokenArchivesAndBadCallsGetClearMessagesAndExitCodes)
{
    TempDir dir;
    const VpBuilder vp = SampleVp();
    WriteBytes(dir / "cut.vp", vp.Truncated(vp.Bytes().size() - 30));
    const CliRun cut = RunCli({"list", dir / "cut.vp"});
    EXPECT_EQ(cut.nExit, 3);
    EXPECT_NE(cut.err.find("read only in part"), std::string::npos) << cut.err;
    EXPECT_NE(cut.out.find("ships.tbl"), std::string::npos);
    const auto j = nlohmann::json::parse(RunCli({"list", "--json", dir / "cut.vp"}).out);
    EXPECT_EQ(j["complete"], false);
    EXPECT_TRUE(j["warning"].is_string());

    WriteBytes(dir / "pak.zip", vp.Bytes());
    const CliRun zip = RunCli({"list", dir / "pak.zip"});
    EXPECT_EQ(zip.nExit, 1);
    EXPECT_NE(zip.err.find("Unsupported file extension."), std::string::npos);

    const CliRun missing = RunCli({"list", dir / "missing.vp"});
    EXPECT_EQ(missing.nExit, 1);
    EXPECT_NE(missing.err.find("missing.vp"), std::string::npos);

    WriteBytes(dir / "empty.vp", {});
    EXPECT_EQ(RunCli({"list", dir / "empty.vp"}).nExit, 1);
    // A folder is a game folder; the damaged archives in it make the listing partial.
    EXPECT_EQ(RunCli({"list", dir.Path()}).nExit, 3);

    EXPECT_EQ(RunCli({}).nExit, 2);
    EXPECT_EQ(RunCli({"list"}).nExit, 2);
    EXPECT_EQ(RunCli({"frobnicate", "x.vp"}).nExit, 2);
    EXPECT_EQ(RunCli({"list", "--bogus", "x.vp"}).nExit, 2);
    EXPECT_EQ(RunCli({"--help"}).nExit, 0);
}
