#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "CAtomicFile.h"
#include "FileIo.h"
#include "TempDir.h"

namespace fs = std::filesystem;

namespace
{
void Put(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

std::vector<std::string> Names(const std::string& dir)
{
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

bool Write(CAtomicFile& file, const std::string& text)
{
    return WriteAll(file.Fd(), text);
}
} // namespace

TEST(AtomicFile, CommitReplacesKeepingPermissionsAndDiscardLeavesTheOldFile)
{
    TempDir dir;
    const std::string target = dir / "settings.reg";
    Put(target, "old");
    ::chmod(target.c_str(), 0640);
    {
        CAtomicFile file;
        ASSERT_TRUE(file.Create(target).IsOk());
        ASSERT_TRUE(Write(file, "never named"));
        EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"settings.reg"});
    }
    EXPECT_EQ(ReadFileText(target), "old");

    CAtomicFile file;
    ASSERT_TRUE(file.Create(target).IsOk());
    ASSERT_TRUE(Write(file, "new"));
    ASSERT_TRUE(file.Commit().IsOk());
    EXPECT_EQ(ReadFileText(target), "new");
    struct stat st = {};
    ::stat(target.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"settings.reg"});

    // A new name, and a directory in the way.
    CAtomicFile fresh;
    ASSERT_TRUE(fresh.Create(dir / "new.vp").IsOk());
    ASSERT_TRUE(fresh.Commit().IsOk());
    fs::create_directory(dir / "taken");
    CAtomicFile blocked;
    ASSERT_TRUE(blocked.Create(dir / "taken").IsOk());
    const Result r = blocked.Commit();
    EXPECT_NE(r.Text().find("a directory of that name exists"), std::string::npos) << r.Text();
    EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"new.vp", "settings.reg", "taken"}));
}

TEST(AtomicFile, KilledWriterLeavesTheOldFileAndItsLeftoversGoNextTime)
{
    TempDir dir;
    const std::string target = dir / "data.vp";
    Put(target, "old archive");
    const pid_t child = ::fork();
    if (child == 0)
    {
        CAtomicFile file;
        if (!file.Create(target).IsOk() || !Write(file, std::string(1 << 20, 'x')))
            ::_exit(2);
        ::kill(::getpid(), SIGKILL);
        ::_exit(3);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(ReadFileText(target), "old archive");
    EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"data.vp"});

    // A named temporary of a process that is gone (a file system without unnamed files,
    // or a kill between naming and renaming) is cleared by the next writer there.
    const std::string stale = dir / (".orbistav-" + std::to_string(child) + "-1-data.vp.tmp");
    Put(stale, "half");
    CAtomicFile file;
    ASSERT_TRUE(file.Create(target).IsOk());
    EXPECT_FALSE(fs::exists(stale));
}

TEST(AtomicFile, CopyBytesCopiesTheRangeAndFailsOnAShortSource)
{
    TempDir dir;
    Put(dir / "in", "0123456789");
    const int in = ::open((dir / "in").c_str(), O_RDONLY);
    const int out = ::open((dir / "out").c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_TRUE(WriteAll(out, "<"));
    EXPECT_TRUE(CopyBytes(in, 3, out, 4));
    EXPECT_FALSE(CopyBytes(in, 8, out, 5));

    // In pieces: each is told, a refusal stops the copy, a short source is named as such.
    std::vector<std::int64_t> pieces;
    const auto tell = [&](std::int64_t n)
    {
        pieces.push_back(n);
        return Result::Ok();
    };
    ASSERT_EQ(::lseek(out, 5, SEEK_SET), 5);
    EXPECT_TRUE(CopyBytesInPieces(in, 0, out, 3, "in", "out", tell).IsOk());
    EXPECT_EQ(pieces, std::vector<std::int64_t>{3});
    EXPECT_EQ(CopyBytesInPieces(in, 8, out, 5, "in", "out", tell).Text(),
              "in: the bytes could not all be read");
    EXPECT_EQ(CopyBytesInPieces(in, 0, out, 2, "in", "out",
                                [](std::int64_t) { return Result::Fail("cancelled"); })
                  .Text(),
              "cancelled");
    ::close(in);
    ::close(out);
    EXPECT_EQ(ReadFileText(dir / "out").substr(0, 8), "<3456012");
}

TEST(AtomicFile, BytesFlushedAheadAndWrittenAgainAreAllInTheNamedFile)
{
    TempDir dir;
    const std::string target = dir / "big.vp";
    CAtomicFile file;
    ASSERT_TRUE(file.Create(target, CAtomicFile::Sync::BeforeNaming).IsOk());
    std::string expected;
    for (char c = 'a'; c < 'g'; ++c)
    {
        const std::string piece(4 * 1024 * 1024 + 17, c);
        ASSERT_TRUE(Write(file, piece));
        expected += piece;
        file.WrittenUpTo(static_cast<std::int64_t>(expected.size()));
    }
    // A header written last over bytes already on their way to the disk.
    ASSERT_EQ(::pwrite(file.Fd(), "HEAD", 4, 0), 4);
    expected.replace(0, 4, "HEAD");
    ASSERT_TRUE(file.Commit().IsOk());
    EXPECT_TRUE(ReadFileText(target) == expected);
}
