#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <random>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ByteWriter.h"
#include "CInputFile.h"
#include "CliRunner.h"
#include "Lz41Builder.h"
#include "TempDir.h"
#include "VpBuilder.h"
#include "VpDirectory.h"

namespace fs = std::filesystem;

namespace
{
void WriteText(const std::string& path, const std::string& text, std::int64_t tTime = 0)
{
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
    if (tTime != 0)
    {
        const timespec times[2] = {{tTime, 0}, {tTime, 0}};
        ::utimensat(AT_FDCWD, path.c_str(), times, 0);
    }
}

std::string RandomBytes(std::size_t nSize, unsigned nSeed)
{
    std::mt19937 random(nSeed);
    std::string bytes(nSize, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random());
    return bytes;
}

VpDirectory DirectoryOf(const std::string& archive)
{
    CInputFile file;
    VpDirectory directory;
    EXPECT_TRUE(file.Open(archive).IsOk());
    EXPECT_TRUE(ReadVpDirectory(file, directory).IsOk());
    return directory;
}

// What stands at an entry's offset, as stored.
std::string StoredBytes(const std::string& archive, const VpEntry& entry)
{
    return ReadFileText(archive).substr(static_cast<std::size_t>(entry.nOffset),
                                        static_cast<std::size_t>(entry.nSize));
}

// Every file and directory below root with its content ("/" for directories) and time.
std::map<std::string, std::pair<std::string, std::int64_t>> TreeOf(const std::string& root)
{
    std::map<std::string, std::pair<std::string, std::int64_t>> tree;
    for (const auto& e : fs::recursive_directory_iterator(root))
    {
        struct stat st = {};
        ::stat(e.path().c_str(), &st);
        const std::string rel = fs::relative(e.path(), root).string();
        tree[rel] = e.is_directory()
                        ? std::make_pair(std::string("/"), std::int64_t{0})
                        : std::make_pair(ReadFileText(e.path()), std::int64_t{st.st_mtim.tv_sec});
    }
    return tree;
}

struct PackCli : ::testing::Test
{
    TempDir dir;
    std::string mod = dir / "mod";
    std::string archive = dir / "mod.vp";

    // A small mod: tables, a texture of several blocks, a PNG, noise, an empty directory.
    void MakeMod()
    {
        WriteText(mod + "/data/tables/ships.tbl", "#Ships\n$Name: GTF Ulysses\n", 1000000000);
        WriteText(mod + "/data/tables/Weapons.tbl", std::string(200000, 'w'), 1000000100);
        WriteText(mod + "/data/maps/hull.dds", CompressibleText(300000), 1000000200);
        WriteText(mod + "/data/interface/logo.png", std::string(5000, 'p'), 1000000300);
        WriteText(mod + "/data/sounds/noise.wav", RandomBytes(70000, 1), 1000000400);
        WriteText(mod + "/readme.txt", "hello", 1000000500);
        fs::create_directories(mod + "/data/effects");
    }
};
} // namespace

TEST_F(PackCli, LaysOutHeaderDataThenDirectoryInByteOrderFilesFirst)
{
    WriteText(mod + "/b.tbl", "bb", 1234);
    WriteText(mod + "/C.tbl", "c", 1234);
    WriteText(mod + "/sub/x.pcx", "xyz", 1234);
    fs::create_directories(mod + "/Empty");

    CliRun run = RunCli({"pack", mod, "-o", archive, "--zero-times"});
    ASSERT_EQ(run.nExit, 0) << run.err;

    ByteWriter expected;
    expected.Text("VPVP");
    expected.I32(2);
    expected.I32(22);
    expected.I32(7);
    expected.Text("cbbxyz");
    const auto entry = [&](std::int32_t nOffset, std::int32_t nSize, const char* name)
    {
        expected.I32(nOffset);
        expected.I32(nSize);
        expected.Fixed(name, 32);
        expected.I32(0);
    };
    entry(16, 1, "C.tbl");
    entry(17, 2, "b.tbl");
    entry(19, 0, "Empty");
    entry(19, 0, "..");
    entry(19, 0, "sub");
    entry(19, 3, "x.pcx");
    entry(22, 0, "..");
    const std::vector<unsigned char>& bytes = expected.Data();
    EXPECT_EQ(ReadFileText(archive), std::string(bytes.begin(), bytes.end()));

    // Without --zero-times the files carry their modification times.
    ASSERT_EQ(RunCli({"pack", mod, "-o", archive}).nExit, 0);
    EXPECT_EQ(DirectoryOf(archive).aEntries[0].tTime, 1234);
}

TEST_F(PackCli, RefusesWhatAnArchiveCannotHoldBeforeWritingAnything)
{
    struct Case
    {
        const char* szWhat;
        std::function<std::string()> make; // returns the path the message must name
        std::vector<std::string> extra;
    };
    const std::vector<Case> cases = {
        {"a 32-byte name",
         [&]
         {
             WriteText(mod + "/abcdefghijklmnopqrstuvwxyz12.tbl", "x");
             return mod + "/abcdefghijklmnopqrstuvwxyz12.tbl";
         },
         {}},
        {"a name outside Windows-1252",
         [&]
         {
             WriteText(mod + "/data/\xE8\x88\xB9.tbl", "x");
             return mod + "/data/\xE8\x88\xB9.tbl";
         },
         {}},
        {"a symbolic link",
         [&]
         {
             WriteText(dir / "elsewhere.tbl", "x");
             fs::create_symlink(dir / "elsewhere.tbl", mod + "/link.tbl");
             return mod + "/link.tbl";
         },
         {}},
        {"a named pipe",
         [&]
         {
             ::mkfifo((mod + "/pipe").c_str(), 0644);
             return mod + "/pipe";
         },
         {}},
        {"an empty file without --lz41",
         [&]
         {
             WriteText(mod + "/empty.tbl", "");
             return mod + "/empty.tbl";
         },
         {}},
        {"an archive beyond 2 GiB - 1 bytes (a sparse file)",
         [&]
         {
             const int fd = ::open((mod + "/huge.dat").c_str(), O_WRONLY | O_CREAT, 0644);
             EXPECT_EQ(::ftruncate(fd, std::int64_t{1} << 31), 0);
             ::close(fd);
             return mod;
         },
         {}},
        {"the archive inside the folder",
         [&]
         {
             archive = mod + "/data/mod.vp";
             return mod + "/data/mod.vp";
         },
         {}},
    };
    for (const Case& c : cases)
    {
        fs::remove_all(mod);
        archive = dir / "mod.vp";
        WriteText(mod + "/data/fine.tbl", "fine");
        const std::string named = c.make();
        CliRun run = RunCli({"pack", mod, "-o", archive});
        EXPECT_EQ(run.nExit, 1) << c.szWhat;
        EXPECT_NE(run.err.find(named), std::string::npos) << c.szWhat << ": " << run.err;
        EXPECT_FALSE(fs::exists(archive)) << c.szWhat;
    }
    if (::geteuid() != 0) // root reads everything
    {
        fs::remove_all(mod);
        WriteText(mod + "/secret.tbl", "x");
        fs::permissions(mod + "/secret.tbl", fs::perms::none);
        CliRun run = RunCli({"pack", mod, "-o", archive});
        EXPECT_EQ(run.nExit, 1);
        EXPECT_NE(run.err.find("secret.tbl"), std::string::npos);
    }
}

TEST_F(PackCli, FailingWriteLeavesTheOldArchiveAndNoTemporaryFile)
{
    MakeMod();
    WriteText(archive, "the old archive");
    // The file size limit makes the write fail part way, as a full disk would.
    rlimit old = {};
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit limited = old;
    limited.rlim_cur = 100000;
    ::setrlimit(RLIMIT_FSIZE, &limited);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    CliRun run = RunCli({"pack", mod, "-o", archive});
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(run.nExit, 1);
    EXPECT_NE(run.err.find(archive), std::string::npos) << run.err;
    EXPECT_EQ(ReadFileText(archive), "the old archive");
    std::vector<std::string> left;
    for (const auto& e : fs::directory_iterator(dir.Path()))
        left.push_back(e.path().filename().string());
    EXPECT_EQ(left.size(), 2u) << ::testing::PrintToString(left); // mod and mod.vp
}

TEST_F(PackCli, Lz41CompressesWhatGainsAndTheSameForAnyJobCount)
{
    MakeMod();
    WriteText(mod + "/data/tables/empty.tbm", "", 1000000600);
    ASSERT_EQ(RunCli({"pack", mod, "-o", archive, "--lz41", "--jobs", "1"}).nExit, 0);
    const std::string four = dir / "four.vp";
    ASSERT_EQ(RunCli({"pack", mod, "-o", four, "--lz41", "--jobs", "4"}).nExit, 0);
    EXPECT_EQ(ReadFileText(archive), ReadFileText(four));

    std::map<std::string, std::string> stored;
    for (const VpEntry& e : DirectoryOf(archive).aEntries)
        if (!e.IsDirectory())
            stored[e.strName] = StoredBytes(archive, e);
    EXPECT_EQ(stored["logo.png"], std::string(5000, 'p')) << "already compressed types stay";
    EXPECT_EQ(stored["noise.wav"], RandomBytes(70000, 1)) << "not smaller: stored as it is";
    EXPECT_EQ(stored["hull.dds"].substr(0, 4), "LZ41");
    EXPECT_LT(stored["Weapons.tbl"].size(), 2000u);
    EXPECT_EQ(stored["empty.tbm"].substr(0, 4), "LZ41") << "size 0 would be a directory";
}

TEST_F(PackCli, PackThenExtractGivesTheFolderBack)
{
    MakeMod();
    for (const bool bLz41 : {false, true})
    {
        if (bLz41)
            WriteText(mod + "/data/tables/empty.tbm", "", 1000000600);
        std::vector<std::string> args = {"pack", mod, "-o", archive};
        if (bLz41)
            args.push_back("--lz41");
        CliRun run = RunCli(args);
        ASSERT_EQ(run.nExit, 0) << run.err;
        const std::string out = dir / "out";
        fs::remove_all(out);
        run = RunCli({"extract", archive, "--keep-dirs", "-C", out});
        ASSERT_EQ(run.nExit, 0) << run.err;
        EXPECT_EQ(TreeOf(out), TreeOf(mod)) << (bLz41 ? "--lz41" : "stored");
        EXPECT_EQ(RunCli({"verify", archive}).nExit, 0);
    }
}

TEST_F(PackCli, CompressThenDecompressGivesTheEntriesBack)
{
    MakeMod();
    ASSERT_EQ(RunCli({"pack", mod, "-o", archive}).nExit, 0);
    const std::string packed = dir / "packed.vpc", plain = dir / "plain.vp";
    CliRun run = RunCli({"compress", archive, "-o", packed, "--jobs", "2"});
    ASSERT_EQ(run.nExit, 0) << run.err;
    EXPECT_LT(fs::file_size(packed), fs::file_size(archive));
    run = RunCli({"decompress", packed, "-o", plain});
    ASSERT_EQ(run.nExit, 0) << run.err;
    EXPECT_EQ(ReadFileText(plain), ReadFileText(archive));

    run = RunCli({"compress", archive, "-o", archive});
    EXPECT_EQ(run.nExit, 1);
    EXPECT_NE(run.err.find("may not be the input"), std::string::npos) << run.err;
}

TEST_F(PackCli, CompressStopsAtADamagedEntryAndWritesNothing)
{
    std::string broken = Lz41Builder(CompressibleText(100000), 65536).Bytes();
    broken[4] = broken[5] = '\xff'; // the first block's token and length
    VpBuilder().Dir("data").File("good.tbl", "fine").File("bad.tbl", broken).Up().WriteTo(archive);
    const std::string out = dir / "out.vp";
    CliRun run = RunCli({"decompress", archive, "-o", out});
    EXPECT_EQ(run.nExit, 1);
    EXPECT_NE(run.err.find("\\data\\bad.tbl"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(out));
}
