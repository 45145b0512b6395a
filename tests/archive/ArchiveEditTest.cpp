#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sys/stat.h>

#include "ByteWriter.h"
#include "CArchiveEditList.h"
#include "CInputFile.h"
#include "Lz41Builder.h"
#include "TempDir.h"
#include "VpBuilder.h"
#include "VpDirectory.h"
#include "VppBuilder.h"

namespace fs = std::filesystem;

namespace
{
void Put(const std::string& path, const std::string& text)
{
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// "path size state" per row, the way a view would list them.
std::vector<std::string> Listing(const CArchiveEditList& list)
{
    std::vector<std::string> lines;
    for (const EditRow& row : list.Rows())
        lines.push_back(row.Path() + " " + std::to_string(row.nSize) +
                        (row.state == EditState::Added      ? " added"
                         : row.state == EditState::Replaced ? " replaced"
                                                            : ""));
    return lines;
}

std::string Content(const CArchiveEditList& list, const std::string& path)
{
    std::vector<unsigned char> bytes;
    EXPECT_TRUE(list.ReadContent(path, bytes).IsOk()) << path;
    return std::string(bytes.begin(), bytes.end());
}

struct ArchiveEdit : ::testing::Test
{
    TempDir dir;
    std::string archive = dir / "mod.vp";
    std::string packed = Lz41Builder(CompressibleText(150000), 65536).Bytes();

    void SetUp() override
    {
        VpBuilder()
            .Dir("data")
            .Dir("tables")
            .File("ships.tbl", "#Ships", 100)
            .File("weapons.tbl", "#Weapons", 200)
            .Up()
            .Dir("maps")
            .File("hull.dds", packed, 300)
            .Up()
            .Up()
            .File("readme.txt", "hello", 400)
            .WriteTo(archive);
        Put(dir / "in/new.tbl", "#New");
        Put(dir / "in/ships.tbl", "#Ships v2");
        Put(dir / "in/effects/fire.pcx", "pcx");
    }
};
} // namespace

TEST_F(ArchiveEdit, SavedArchiveHoldsExactlyTheEditsAndUntouchedEntriesAsStored)
{
    CArchiveEditList list;
    ASSERT_TRUE(list.Open(archive).IsOk());
    ASSERT_TRUE(list.AddPaths("\\data\\tables", {dir / "in/new.tbl", dir / "in/effects"}).IsOk());
    ASSERT_TRUE(list.Replace("\\DATA\\tables\\Ships.tbl", dir / "in/ships.tbl").IsOk());
    ASSERT_TRUE(list.Remove({"\\readme.txt"}).IsOk());
    ASSERT_TRUE(list.Rename("\\data\\tables\\weapons.tbl", "weapons-old.tbl").IsOk());
    ASSERT_TRUE(list.MakeDirectory("\\data", "hud").IsOk());
    ASSERT_TRUE(list.Move("\\data\\maps\\hull.dds", "\\data\\hud").IsOk());
    EXPECT_EQ(Listing(list), (std::vector<std::string>{
                                 "\\data\\tables\\ships.tbl 9 replaced",
                                 "\\data\\tables\\weapons-old.tbl 8",
                                 "\\data\\tables\\new.tbl 4 added",
                                 "\\data\\tables\\effects\\fire.pcx 3 added",
                                 "\\data\\hud\\hull.dds " + std::to_string(packed.size()),
                             }));
    EXPECT_EQ(Content(list, "\\data\\tables\\ships.tbl"), "#Ships v2");
    EXPECT_EQ(Content(list, "\\data\\hud\\hull.dds"), CompressibleText(150000));
    EXPECT_EQ(ReadFileText(archive).size(), fs::file_size(archive)); // untouched before Save

    ASSERT_TRUE(list.Save().IsOk());
    EXPECT_FALSE(list.IsModified());
    CInputFile file;
    VpDirectory saved;
    ASSERT_TRUE(file.Open(archive).IsOk());
    ASSERT_TRUE(ReadVpDirectory(file, saved).IsOk());
    std::vector<std::string> entries;
    const std::string bytes = ReadFileText(archive);
    for (const VpEntry& e : saved.aEntries)
        entries.push_back(e.strName + (e.IsDirectory() ? "/" : "=" + bytes.substr(e.nOffset, std::min(e.nSize, 12))));
    EXPECT_EQ(entries, (std::vector<std::string>{"data/", "tables/", "ships.tbl=#Ships v2",
                                                 "weapons-old.tbl=#Weapons", "new.tbl=#New",
                                                 "effects/", "fire.pcx=pcx", "../", "../",
                                                 "maps/", "../", "hud/",
                                                 "hull.dds=" + packed.substr(0, 12), "../",
                                                 "../"}));
    // The compressed entry is copied as it was stored, with its time.
    EXPECT_EQ(bytes.substr(saved.aEntries[12].nOffset, saved.aEntries[12].nSize), packed);
    EXPECT_EQ(saved.aEntries[12].tTime, 300);
    EXPECT_EQ(saved.aEntries[3].tTime, 200);
}

TEST_F(ArchiveEdit, UndoAndRedoStepThroughEveryEdit)
{
    CArchiveEditList list;
    ASSERT_TRUE(list.Open(archive).IsOk());
    const std::vector<std::string> stored = Listing(list);
    ASSERT_TRUE(list.Move("\\data\\maps", "\\data\\tables").IsOk());
    const std::vector<std::string> moved = Listing(list);
    ASSERT_TRUE(list.Rename("\\data\\tables\\maps", "textures").IsOk());
    ASSERT_TRUE(list.Remove({"\\data\\tables\\ships.tbl"}).IsOk());
    const std::vector<std::string> last = Listing(list);
    EXPECT_EQ(list.UndoText(), "Delete ships.tbl");

    list.Undo();
    list.Undo();
    EXPECT_EQ(Listing(list), moved);
    EXPECT_EQ(list.RedoText(), "Rename maps");
    list.Undo();
    EXPECT_EQ(Listing(list), stored);
    EXPECT_FALSE(list.IsModified());
    list.Redo();
    list.Redo();
    list.Redo();
    EXPECT_EQ(Listing(list), last);
    EXPECT_FALSE(list.CanRedo());
}

TEST_F(ArchiveEdit, RefusedEditsSayWhyAndChangeNothing)
{
    CArchiveEditList list;
    ASSERT_TRUE(list.Open(archive).IsOk());
    Put(dir / "in/empty.tbl", "");
    Put(dir / std::string("in/") + std::string(32, 'n'), "x");
    const std::vector<std::string> before = Listing(list);
    const auto refused = [&](const Result& r, const std::string& why)
    {
        EXPECT_FALSE(r.IsOk());
        EXPECT_NE(r.Text().find(why), std::string::npos) << r.Text();
    };
    refused(list.Rename("\\data\\tables\\ships.tbl", "WEAPONS.TBL"), "already holds a file");
    refused(list.Rename("\\readme.txt", std::string(32, 'r')), "at most 31");
    refused(list.Rename("\\readme.txt", "a\\b"), "cannot hold");
    refused(list.MakeDirectory("\\", "Data"), "already holds a directory");
    refused(list.Move("\\data", "\\data\\maps"), "itself");
    refused(list.Move("\\nowhere.tbl", "\\data"), "no such entry");
    refused(list.AddPaths("", {dir / "in/empty.tbl"}), "size 0");
    refused(list.AddPaths("", {dir / std::string("in/") + std::string(32, 'n')}), "at most 31");
    refused(list.AddPaths("\\readme.txt", {dir / "in/new.tbl"}), "not a directory");
    EXPECT_EQ(Listing(list), before);
    EXPECT_FALSE(list.CanUndo());

    // An empty file goes in compressed; a .vpc compresses what is added to it.
    EXPECT_TRUE(list.AddPaths("", {dir / "in/empty.tbl"}, true).IsOk());

    CArchiveEditList vpp;
    ASSERT_TRUE(vpp.New(dir / "level.vpp").IsOk());
    refused(vpp.MakeDirectory("", "maps"), "no directories");
    refused(vpp.AddPaths("", {dir / "in/effects"}), "no directories");
    refused(vpp.AddPaths("", {dir / "in/new.tbl", dir / "in/effects/../new.tbl"}),
            "same name");
    Put(dir / ("in/" + std::string(60, 'v')), "x");
    refused(vpp.AddPaths("", {dir / ("in/" + std::string(60, 'v'))}), "at most 59");
}

TEST_F(ArchiveEdit, PackfileIsWrittenByteExactAndReadBackForEditing)
{
    CArchiveEditList list;
    const std::string vpp = dir / "level.vpp";
    ASSERT_TRUE(list.New(vpp).IsOk());
    Put(dir / "rf/a.tga", std::string(3000, 'a'));
    Put(dir / "rf/b.v3m", "model");
    ASSERT_TRUE(list.AddPaths("\\ignored", {dir / "rf/a.tga", dir / "rf/b.v3m"}).IsOk());
    ASSERT_TRUE(list.Save().IsOk());
    const std::vector<unsigned char> expected =
        VppBuilder().File("a.tga", std::string(3000, 'a')).File("b.v3m", "model").Bytes();
    EXPECT_EQ(ReadFileText(vpp), std::string(expected.begin(), expected.end()));

    ASSERT_TRUE(list.Open(vpp).IsOk());
    ASSERT_TRUE(list.Rename("\\a.tga", "c.tga").IsOk());
    ASSERT_TRUE(list.Save().IsOk());
    const std::vector<unsigned char> renamed =
        VppBuilder().File("c.tga", std::string(3000, 'a')).File("b.v3m", "model").Bytes();
    EXPECT_EQ(ReadFileText(vpp), std::string(renamed.begin(), renamed.end()));

    // A .VP tree saved as a packfile is flattened, its compressed entries decompressed.
    ASSERT_TRUE(list.Open(archive).IsOk());
    ASSERT_TRUE(list.Save(dir / "flat.vpp").IsOk());
    EXPECT_EQ(Content(list, "\\hull.dds"), CompressibleText(150000));
    EXPECT_EQ(Listing(list).size(), 4u);
}

TEST_F(ArchiveEdit, CancelledOrImpossibleSaveLeavesTheArchiveAsItWas)
{
    const std::string old = ReadFileText(archive);
    CArchiveEditList list;
    ASSERT_TRUE(list.Open(archive).IsOk());
    ASSERT_TRUE(list.Remove({"\\data\\maps"}).IsOk());
    SaveOptions cancel;
    cancel.onProgress = [](std::int64_t, std::int64_t) { return false; };
    EXPECT_EQ(list.Save({}, cancel).Text(), "cancelled");
    EXPECT_EQ(ReadFileText(archive), old);
    EXPECT_TRUE(list.IsModified());
    // Nor does a cancel that comes with the last bytes.
    cancel.onProgress = [](std::int64_t nDone, std::int64_t nTotal) { return nDone < nTotal; };
    EXPECT_EQ(list.Save({}, cancel).Text(), "cancelled");
    EXPECT_EQ(ReadFileText(archive), old);

    // A file that changed after it was added is not stored torn.
    ASSERT_TRUE(list.AddPaths("", {dir / "in/new.tbl"}).IsOk());
    Put(dir / "in/new.tbl", "#New and longer");
    EXPECT_NE(list.Save().Text().find("changed since it was added"), std::string::npos);
    EXPECT_EQ(ReadFileText(archive), old);
    // Nor does one that became a pipe make the save wait for a writer.
    fs::remove(dir / "in/new.tbl");
    ASSERT_EQ(::mkfifo((dir / "in/new.tbl").c_str(), 0600), 0);
    EXPECT_NE(list.Save().Text().find("no longer a regular file"), std::string::npos);
    EXPECT_EQ(ReadFileText(archive), old);
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir.Path()))
        names.push_back(e.path().filename().string());
    EXPECT_EQ(names.size(), 2u) << ::testing::PrintToString(names);

    // An archive read only in part is not opened for editing.
    std::vector<unsigned char> cut = VpBuilder().File("a.tbl", "a").File("b.tbl", "b").Truncated(40);
    WriteBytes(dir / "cut.vp", cut);
    EXPECT_NE(list.Open(dir / "cut.vp").Text().find("read only in part"), std::string::npos);
}

TEST_F(ArchiveEdit, FilesAddedToAVpcAreCompressedButPicturesStayAsTheyAre)
{
    const std::string vpc = dir / "mod.vpc";
    fs::copy_file(archive, vpc);
    Put(dir / "in/big.tbl", CompressibleText(100000));
    Put(dir / "in/logo.png", CompressibleText(100000));
    CArchiveEditList list;
    ASSERT_TRUE(list.Open(vpc).IsOk());
    ASSERT_TRUE(list.AddPaths("\\data", {dir / "in/big.tbl", dir / "in/logo.png"}).IsOk());
    ASSERT_TRUE(list.Save().IsOk());
    CInputFile file;
    VpDirectory saved;
    ASSERT_TRUE(file.Open(vpc).IsOk());
    ASSERT_TRUE(ReadVpDirectory(file, saved).IsOk());
    const std::string bytes = ReadFileText(vpc);
    std::map<std::string, std::string> heads;
    for (const VpEntry& e : saved.aEntries)
        heads[e.strName] = bytes.substr(e.nOffset, 4);
    EXPECT_EQ(heads["big.tbl"], "LZ41");
    EXPECT_EQ(heads["logo.png"], CompressibleText(4));
    EXPECT_EQ(heads["ships.tbl"], "#Shi"); // untouched entries keep their stored form
    EXPECT_EQ(Content(list, "\\data\\big.tbl"), CompressibleText(100000));
}

TEST_F(ArchiveEdit, AnArchiveReachedThroughALinkStaysALink)
{
    const std::string link = dir / "linked.vp";
    fs::create_symlink(archive, link);
    CArchiveEditList list;
    ASSERT_TRUE(list.Open(link).IsOk());
    ASSERT_TRUE(list.Remove({"\\readme.txt"}).IsOk());
    ASSERT_TRUE(list.Save().IsOk());
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(list.Path(), link);
    EXPECT_EQ(Listing(list).size(), 3u);
    CArchiveEditList direct;
    ASSERT_TRUE(direct.Open(archive).IsOk());
    EXPECT_FALSE(direct.IsFile("\\readme.txt"));
}
