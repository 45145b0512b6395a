#include <gtest/gtest.h>

#include "DocTestSupport.h"
#include "FileTypes.h"
#include "VpBuilder.h"
#include "VppBuilder.h"

namespace
{
VpBuilder SmallTree()
{
    VpBuilder vp;
    vp.File("readme.txt", "root file", 1000)
        .Dir("data")
        .Dir("tables")
        .File("ships.tbl", "#Ship Classes", 1001)
        .File("weapons.tbl", "#Weapons", 1002)
        .Up()
        .Dir("effects")
        .File("fire.ani", "ANI")
        .Up()
        .Dir("maps")
        .Dir("effects")
        .File("glow.pcx", "PCX")
        .Up()
        .Up()
        .Up();
    return vp;
}
} // namespace

TEST(VpReader, AnArchiveReadAfterAnotherListsOnlyItsOwnFiles)
{
    // The records are reused: a directory of the new archive holds none of the old files.
    DocFixture t;
    ASSERT_TRUE(t.Load(SmallTree().Bytes()));
    ASSERT_TRUE(t.Load(VpBuilder().Dir("data").Dir("x").File("one.tbl", "1").Up().Up().Bytes()));
    EXPECT_EQ(t.FilesOf(2), std::vector<int>({0}));
    ASSERT_TRUE(t.Load(VppBuilder().File("a.tga", "a").File("b.wav", "b").Bytes(), "/x/m.vpp"));
    EXPECT_EQ(t.FilesOf(1), std::vector<int>({0}));
    EXPECT_EQ(t.FilesOf(2), std::vector<int>({1}));
}

TEST(VpReader, BuildsTheDirectoryTreeFromTheOrderOfEntries)
{
    DocFixture t;
    const auto bytes = SmallTree().Bytes();
    ASSERT_TRUE(t.Load(bytes));
    CORBISTAVDoc& doc = *t.doc;

    EXPECT_EQ(doc.m_nArchiveKind, ARCHIVE_KIND_VP);
    EXPECT_TRUE(doc.IsReadComplete());
    ASSERT_EQ(doc.m_nDirCount, 6);
    ASSERT_EQ(doc.m_nFileCount, 5);

    EXPECT_EQ(t.Dir(0).nParent, -1);
    EXPECT_EQ(t.Dir(0).strName, "");
    EXPECT_EQ(t.ChildrenOf(0), std::vector<int>({1}));
    EXPECT_EQ(t.ChildrenOf(1), std::vector<int>({2, 3, 4}));
    EXPECT_EQ(t.ChildrenOf(4), std::vector<int>({5}));

    // A file before the first directory lies in the root.
    EXPECT_EQ(t.File(0).nDir, 0);
    EXPECT_EQ(t.FilesOf(0), std::vector<int>({0}));
    EXPECT_EQ(doc.GetDirPath(t.File(0).nDir), "");
    EXPECT_EQ(t.FilesOf(2), std::vector<int>({1, 2}));

    // Two directories of one name are separate records with separate paths.
    EXPECT_EQ(doc.GetDirPath(3), "\\data\\effects");
    EXPECT_EQ(doc.GetDirPath(5), "\\data\\maps\\effects");
    EXPECT_EQ(doc.GetDirPath(2), "\\data\\tables");

    const ArchiveFile& ships = t.File(1);
    EXPECT_EQ(ships.strName, "ships.tbl");
    EXPECT_EQ(ships.nSize, 13);
    EXPECT_EQ(ships.tTime, 1001);
    EXPECT_EQ(ships.nType, 5);
    EXPECT_EQ(ships.nDir, 2);
    EXPECT_EQ(
        std::string(bytes.begin() + ships.nOffset, bytes.begin() + ships.nOffset + ships.nSize),
        "#Ship Classes");
    EXPECT_EQ(t.File(4).nType, FILE_TYPE_PCX);

    EXPECT_EQ(t.recorder.events, std::vector<std::string>({"before", "after"}));
}

TEST(VpReader, EmptyDirectoryAndFullLengthNames)
{
    DocFixture t;
    ASSERT_TRUE(t.Load(VpBuilder().Bytes()));
    EXPECT_EQ(t.doc->m_nDirCount, 1);
    EXPECT_EQ(t.doc->m_nFileCount, 0);
    EXPECT_TRUE(t.doc->IsReadComplete());

    const std::string name32 = "abcdefghijklmnopqrstuvwxyz012.tbl"; // 33 characters, cut to 32
    ASSERT_TRUE(t.Load(VpBuilder().File(name32, "x").Dir(std::string(32, 'd')).Bytes()));
    EXPECT_EQ(t.File(0).strName, name32.substr(0, 32));
    EXPECT_EQ(t.Dir(1).strName, std::string(32, 'd'));
}

TEST(VpReader, UpAtTheRootStaysAtTheRoot)
{
    DocFixture t;
    ASSERT_TRUE(t.Load(
        VpBuilder().Up().Up().File("a.txt", "a").Dir("d").Up().Up().File("b.txt", "b").Bytes()));
    EXPECT_EQ(t.File(0).nDir, 0);
    EXPECT_EQ(t.File(1).nDir, 0);
    EXPECT_EQ(t.doc->m_nDirCount, 2);
    EXPECT_TRUE(t.doc->IsReadComplete());
}

TEST(VpReader, DamagedHeadersAndDirectoriesYieldWhatWasReadAndSayWhy)
{
    DocFixture t;
    const VpBuilder vp = SmallTree();
    const auto whole = vp.Bytes();

    // Cut in the middle of the fifth entry: four whole entries stand.
    ASSERT_TRUE(t.Load(vp.Truncated(whole.size() - 44 * 11 + 20)));
    EXPECT_EQ(t.doc->m_nFileCount, 2);
    EXPECT_EQ(t.doc->m_nDirCount, 3);
    EXPECT_FALSE(t.doc->IsReadComplete());
    EXPECT_NE(t.doc->GetReadWarning().find("4 of 15 entries"), std::string::npos)
        << t.doc->GetReadWarning();

    // A count far beyond the file.
    ASSERT_TRUE(t.Load(VpBuilder(vp).EntryCount(0x7fffffff).Bytes()));
    EXPECT_EQ(t.doc->m_nFileCount, 5);
    EXPECT_FALSE(t.doc->IsReadComplete());

    for (const auto& bytes :
         {VpBuilder(vp).EntryCount(-3).Bytes(), VpBuilder(vp).DirectoryOffset(-16).Bytes(),
          VpBuilder(vp).DirectoryOffset(1 << 30).Bytes(), vp.Truncated(10)})
    {
        ASSERT_TRUE(t.Load(bytes));
        EXPECT_EQ(t.doc->m_nDirCount, 1);
        EXPECT_EQ(t.doc->m_nFileCount, 0);
        EXPECT_FALSE(t.doc->IsReadComplete());
        EXPECT_FALSE(t.doc->GetReadWarning().empty());
    }

    // A clean archive afterwards is complete again and replaces everything.
    ASSERT_TRUE(t.Load(VpBuilder().File("only.txt", "1").Bytes()));
    EXPECT_TRUE(t.doc->IsReadComplete());
    EXPECT_EQ(t.doc->m_nFileCount, 1);
    EXPECT_EQ(t.doc->m_nDirCount, 1);
}

TEST(VpReader, FilesBeyondTheTableAreLeftOutAndCounted)
{
    DocFixture t;
    VpBuilder vp;
    vp.Dir("data");
    for (int i = 0; i < MAX_FILES + 5; ++i)
        vp.RawEntry(16, 1, "f" + std::to_string(i) + ".txt");
    ASSERT_TRUE(t.Load(vp.Bytes()));
    EXPECT_EQ(t.doc->m_nFileCount, MAX_FILES);
    EXPECT_EQ(t.Dir(1).nFiles, MAX_FILES);
    EXPECT_EQ(t.File(MAX_FILES - 1).strName, "f16383.txt");
    EXPECT_NE(t.doc->GetReadWarning().find("5 files were left out"), std::string::npos);
}

TEST(VpReader, DirectoriesWithoutRoomAreSkippedWithTheirContents)
{
    DocFixture t;
    VpBuilder vp;
    // 129 subdirectories under one parent; the last one holds a file and a subdirectory.
    vp.Dir("maps");
    for (int i = 0; i < MAX_SUBDIRS; ++i)
        vp.Dir("m" + std::to_string(i)).Up();
    vp.Dir("extra").File("lost.txt", "x").Dir("deeper").File("lost2.txt", "y").Up().Up();
    vp.File("kept.txt", "z").Up().File("root.txt", "r");
    ASSERT_TRUE(t.Load(vp.Bytes()));

    EXPECT_EQ(t.Dir(1).nChildren, MAX_SUBDIRS);
    EXPECT_EQ(t.doc->m_nDirCount, 1 + 1 + MAX_SUBDIRS);
    ASSERT_EQ(t.doc->m_nFileCount, 2);
    EXPECT_EQ(t.File(0).strName, "kept.txt");
    EXPECT_EQ(t.File(0).nDir, 1); // back in "maps", not in a wrong directory
    EXPECT_EQ(t.File(1).nDir, 0);
    EXPECT_NE(t.doc->GetReadWarning().find("2 directories were left out"), std::string::npos)
        << t.doc->GetReadWarning();
    EXPECT_NE(t.doc->GetReadWarning().find("2 files"), std::string::npos);

    // More than 511 directories in all: 4 levels of 128, 127, 127, 127 +...
    VpBuilder many;
    for (int i = 0; i < 600; ++i)
    {
        if (i % 100 == 0 && i > 0)
            many.Up();
        if (i % 100 == 0)
            many.Dir("top" + std::to_string(i));
        many.Dir("d" + std::to_string(i)).File("f.txt", "1").Up();
    }
    many.Up().File("end.txt", "e");
    ASSERT_TRUE(t.Load(many.Bytes()));
    EXPECT_EQ(t.doc->m_nDirCount, MAX_DIRS);
    const ArchiveFile& last = t.File(t.doc->m_nFileCount - 1);
    EXPECT_EQ(last.strName, "end.txt");
    EXPECT_EQ(last.nDir, 0);
    EXPECT_NE(t.doc->GetReadWarning().find("more than 511 directories"), std::string::npos);
}

TEST(VpReader, GameDirectoryIsFoundCaseInsensitivelyAndFreeSpace2Wins)
{
    DocFixture t;
    std::string fs1 = "/Games/FreeSpace/", fs2 = "/games/freespace2/";
    t.doc->SetGamePathLookup(
        [&](int game, int edition)
        {
            EXPECT_EQ(edition, 0);
            return game == 1 ? fs1 : game == 2 ? fs2 : std::string();
        });
    const auto bytes = VpBuilder().File("a.tbl", "1").Bytes();

    ASSERT_TRUE(t.Load(bytes, "/GAMES/FREESPACE2/root_fs2.vp"));
    EXPECT_EQ(t.doc->m_strGameDir, "/games/freespace2/");
    ASSERT_TRUE(t.Load(bytes, "/games/freespace/data.vp"));
    EXPECT_EQ(t.doc->m_strGameDir, "/Games/FreeSpace/");
    ASSERT_TRUE(t.Load(bytes, "/home/me/mods/data.vp"));
    EXPECT_EQ(t.doc->m_strGameDir, "");

    fs1 = "/games/";
    ASSERT_TRUE(t.Load(bytes, "/games/freespace2/root_fs2.vp"));
    EXPECT_EQ(t.doc->m_strGameDir, "/games/freespace2/");
}

TEST(Document, PathHelpers)
{
    EXPECT_EQ(CORBISTAVDoc::Align2048(0), 0);
    EXPECT_EQ(CORBISTAVDoc::Align2048(1), 2048);
    EXPECT_EQ(CORBISTAVDoc::Align2048(2048), 2048);
    EXPECT_EQ(CORBISTAVDoc::Align2048(2049), 4096);
    EXPECT_EQ(CORBISTAVDoc::Align2048(0x7fffffff), 0x80000000LL);
}
