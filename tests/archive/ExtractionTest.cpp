#include <gtest/gtest.h>

#include <filesystem>
#include <numeric>
#include <sys/stat.h>

#include "CDestinationDir.h"
#include "CEntryExtractor.h"
#include "CInputFile.h"
#include "DocTestSupport.h"
#include "Lz41Builder.h"
#include "ParallelExtraction.h"
#include "TempDir.h"
#include "VpBuilder.h"

namespace fs = std::filesystem;

namespace
{
// Serves an archive but fails every read that reaches past nFailAt, as a dying disk would.
class FailingSource : public IByteSource
{
public:
    FailingSource(IByteSource& inner, std::int64_t nFailAt) : m_inner(inner), m_nFailAt(nFailAt) {}
    std::int64_t Size() const override { return m_inner.Size(); }
    std::int64_t ReadAt(std::int64_t nOffset, void* p, std::size_t n) override
    {
        if (nOffset + static_cast<std::int64_t>(n) > m_nFailAt)
            return -1;
        return m_inner.ReadAt(nOffset, p, n);
    }

private:
    IByteSource& m_inner;
    std::int64_t m_nFailAt;
};

struct ExtractFixture
{
    TempDir dir;
    DocFixture t;
    CInputFile file;
    std::string out = dir / "out";

    void Open(const VpBuilder& vp)
    {
        vp.WriteTo(dir / "data.vp");
        ASSERT_EQ(t.doc->OnOpenDocument(dir / "data.vp"), CORBISTAVDoc::OpenResult::Read);
        ASSERT_TRUE(file.Open(t.doc->GetPathName()));
        fs::create_directories(out);
    }
    CEntryExtractor Extractor(bool bKeepDirs, IByteSource* pSource = nullptr)
    {
        CDestinationDir dest;
        EXPECT_TRUE(CDestinationDir::Open(out, dest));
        return CEntryExtractor(*t.doc, pSource ? *pSource : file, std::move(dest), bKeepDirs);
    }
    std::vector<std::string> Listing() const
    {
        std::vector<std::string> names;
        for (const auto& e : fs::recursive_directory_iterator(out))
            names.push_back(fs::relative(e.path(), out).string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

const std::string kBig((1 << 20) + 300000, 'B'); // more than one copy block
} // namespace

TEST(Extraction, WritesEntriesByteForByteFlatOrInTheirDirectories)
{
    ExtractFixture x;
    x.Open(VpBuilder()
               .Dir("data")
               .Dir("tables")
               .File("ships.tbl", "#Ships")
               .Up()
               .Dir("music")
               .File("big.wav", kBig)
               .File("caf\xe9.txt", "latin")
               .Up()
               .Up());

    CEntryExtractor flat = x.Extractor(false);
    std::string written;
    for (int f = 0; f < 3; ++f)
        ASSERT_TRUE(flat.Extract(f, &written)) << f;
    EXPECT_EQ(written, x.out + "/caf\xc3\xa9.txt");
    EXPECT_EQ(ReadFileText(x.out + "/ships.tbl"), "#Ships");
    EXPECT_EQ(ReadFileText(x.out + "/big.wav"), kBig);
    EXPECT_EQ(x.Listing(), std::vector<std::string>({"big.wav", "caf\xc3\xa9.txt", "ships.tbl"}));

    fs::remove_all(x.out);
    fs::create_directories(x.out);
    CEntryExtractor tree = x.Extractor(true);
    for (int f = 0; f < 3; ++f)
        ASSERT_TRUE(tree.Extract(f)) << f;
    EXPECT_EQ(ReadFileText(x.out + "/data/music/big.wav"), kBig);
    EXPECT_EQ(x.Listing(), std::vector<std::string>({"data", "data/music", "data/music/big.wav",
                                                     "data/music/caf\xc3\xa9.txt", "data/tables",
                                                     "data/tables/ships.tbl"}));
    EXPECT_EQ(CEntryExtractor::ArchivePathOf(*x.t.doc, 0), "\\data\\tables\\ships.tbl");
}

TEST(Extraction, NamesThatWouldLeaveTheDestinationAreRefused)
{
    ExtractFixture x;
    x.Open(VpBuilder()
               .File("..", "up")
               .File(".", "dot")
               .File("..\\..\\evil.txt", "bs")
               .File("../evil.txt", "slash")
               .Dir("..\\x")
               .File("inside.txt", "i")
               .Up()
               .Dir("")
               .File("noname.txt", "n")
               .Up()
               .File("good.txt", "ok"));
    CEntryExtractor tree = x.Extractor(true);
    for (int f = 0; f < x.t.doc->m_nFileCount - 1; ++f)
    {
        Result r = tree.Extract(f);
        EXPECT_FALSE(r) << f;
        EXPECT_NE(r.Text().find("refused"), std::string::npos) << r.Text();
    }
    EXPECT_TRUE(tree.Extract(x.t.doc->m_nFileCount - 1));
    EXPECT_EQ(x.Listing(), std::vector<std::string>({"good.txt"}));
    EXPECT_FALSE(fs::exists(x.dir / "evil.txt"));
}

TEST(Extraction, DamagedEntriesAndFailedReadsNeverTouchAnExistingFile)
{
    ExtractFixture x;
    x.Open(VpBuilder()
               .File("big.wav", kBig)
               .RawEntry(100, 1 << 22, "beyond.txt")
               .RawEntry(-5, 3, "negative.txt")
               .RawEntry(16, -7, "size.txt"));
    for (const char* name : {"big.wav", "beyond.txt", "negative.txt", "size.txt"})
        WriteBytes(x.out + "/" + name, {'o', 'l', 'd'});

    FailingSource dying(x.file, 16 + (1 << 20) + 100000); // in the second copy block
    CEntryExtractor extractor = x.Extractor(false, &dying);
    for (int f = 0; f < 4; ++f)
    {
        Result r = extractor.Extract(f);
        EXPECT_FALSE(r) << f;
        EXPECT_NE(r.Text().find(x.t.File(f).strName), std::string::npos) << r.Text();
    }
    EXPECT_NE(extractor.Extract(1).Text().find("damaged"), std::string::npos);
    for (const char* name : {"big.wav", "beyond.txt", "negative.txt", "size.txt"})
        EXPECT_EQ(ReadFileText(x.out + "/" + name), "old") << name;
    EXPECT_EQ(x.Listing().size(), 4u); // no temporary file left behind
}

TEST(Extraction, ReplacesFilesButNotDirectoriesOrLinksOutside)
{
    ExtractFixture x;
    x.Open(
        VpBuilder().File("a.txt", "new").File("sub", "file").Dir("data").File("b.txt", "b").Up());
    WriteBytes(x.out + "/a.txt", {'o', 'l', 'd'});
    fs::create_directories(x.out + "/sub/keep");
    fs::create_directories(x.dir / "elsewhere");
    fs::create_directory_symlink(x.dir / "elsewhere", x.out + "/data");

    CEntryExtractor tree = x.Extractor(true);
    EXPECT_TRUE(tree.Extract(0));
    EXPECT_EQ(ReadFileText(x.out + "/a.txt"), "new");
    Result dirClash = tree.Extract(1);
    EXPECT_FALSE(dirClash);
    EXPECT_TRUE(fs::is_directory(x.out + "/sub/keep"));
    Result link = tree.Extract(2);
    EXPECT_FALSE(link);
    EXPECT_NE(link.Text().find("not a directory"), std::string::npos) << link.Text();
    EXPECT_TRUE(fs::is_empty(x.dir / "elsewhere"));
}

TEST(Extraction, CompressedEntriesAreWrittenDecompressedOrAsStored)
{
    const std::string text = CompressibleText(3 * 4096 + 17);
    const std::string stored = Lz41Builder(text, 4096).Bytes();
    Lz41Builder broken(text, 4096);
    broken.aBlocks[2].assign(broken.aBlocks[2].size(), '\xff');
    ExtractFixture x;
    x.Open(VpBuilder()
               .File("ships.tbl", stored)
               .File("broken.tbl", broken.Bytes())
               .File("plain.tbl", "#Plain"));

    CEntryExtractor extractor = x.Extractor(false);
    EXPECT_TRUE(extractor.Extract(0));
    Result r = extractor.Extract(1);
    EXPECT_NE(r.Text().find("broken.tbl: the compressed entry is damaged"), std::string::npos)
        << r.Text();
    EXPECT_TRUE(extractor.Extract(2));
    EXPECT_EQ(ReadFileText(x.out + "/ships.tbl"), text);
    EXPECT_EQ(x.Listing(), std::vector<std::string>({"plain.tbl", "ships.tbl"}));

    extractor.SetRaw(true);
    EXPECT_TRUE(extractor.Extract(0));
    EXPECT_TRUE(extractor.Extract(1));
    EXPECT_EQ(ReadFileText(x.out + "/ships.tbl"), stored);
}

TEST(Extraction, SeveralExtractorsAtOnceReportInOrderAndTheLastOfOneNameWins)
{
    ExtractFixture x;
    VpBuilder vp;
    for (const std::string dir : {"a", "b", "c"})
    {
        vp.Dir(dir);
        for (int i = 0; i < 20; ++i)
            vp.File("f" + std::to_string(i) + ".tbl", dir + std::to_string(i));
        vp.Up();
    }
    x.Open(vp);
    CInputFile second, third;
    ASSERT_TRUE(second.Open(x.t.doc->GetPathName()));
    ASSERT_TRUE(third.Open(x.t.doc->GetPathName()));
    CEntryExtractor one = x.Extractor(false), two = x.Extractor(false, &second),
                    three = x.Extractor(false, &third);
    std::vector<int> files(60);
    std::iota(files.begin(), files.end(), 0);

    std::vector<std::size_t> order;
    ExtractInParallel(*x.t.doc, {&one, &two, &three}, files,
                      [&](std::size_t nIndex, const Result& r, const std::string& written)
                      {
                          EXPECT_TRUE(r) << r.Text();
                          EXPECT_EQ(written, x.out + "/f" + std::to_string(nIndex % 20) + ".tbl");
                          order.push_back(nIndex);
                      });
    std::vector<std::size_t> expected(60);
    std::iota(expected.begin(), expected.end(), 0);
    EXPECT_EQ(order, expected);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(ReadFileText(x.out + "/f" + std::to_string(i) + ".tbl"), "c" + std::to_string(i));
}
