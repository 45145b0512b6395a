#include <gtest/gtest.h>

#include "CliRunner.h"
#include "Lz41Builder.h"
#include "TempDir.h"
#include "VpBuilder.h"

TEST(VerifyCli, NamesEachDamagedEntryAndExitsByWhatItFound)
{
    TempDir dir;
    const std::string good = dir / "good.vp", bad = dir / "bad.vp";
    const std::string packed = Lz41Builder(CompressibleText(100000), 65536).Bytes();
    VpBuilder().Dir("data").File("a.tbl", packed).File("b.tbl", "plain").Up().WriteTo(good);

    CliRun run = RunCli({"verify", good});
    EXPECT_EQ(run.nExit, 0) << run.err;
    EXPECT_EQ(run.out, "2 entries, 0 problems\n");

    std::string broken = packed;
    broken[4] = broken[5] = '\xff'; // the first block's token and length
    VpBuilder()
        .Dir("data")
        .File("a.tbl", broken)
        .RawEntry(1 << 20, 10, "gone.tbl")
        .File("b.tbl", "plain")
        .EntryCount(5) // one more than there are
        .WriteTo(bad);
    run = RunCli({"verify", good, bad});
    EXPECT_EQ(run.nExit, 3);
    EXPECT_NE(run.out.find(bad + ": the directory could be read only in part"), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find(bad + ": \\data\\a.tbl: the compressed entry is damaged"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find(bad + ": \\data\\gone.tbl: the entry is damaged"), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("5 entries, 3 problems\n"), std::string::npos) << run.out;

    run = RunCli({"verify", good, dir / "missing.vp"});
    EXPECT_EQ(run.nExit, 1);
    EXPECT_NE(run.err.find("missing.vp"), std::string::npos);
}
