#include <gtest/gtest.h>

#include "DocTestSupport.h"
#include "FileTypes.h"
#include "VppBuilder.h"

TEST(VppReader, OffsetsFollowFromSizesOnTheirOwnBoundaries)
{
    DocFixture t;
    const auto bytes = VppBuilder()
                           .File("a.tga", std::string(100, 'a'))
                           .File("b.wav", "")
                           .File("c.tga", std::string(5000, 'c'))
                           .Bytes();
    ASSERT_TRUE(t.Load(bytes, "/x/music.vpp"));
    ASSERT_EQ(t.doc->m_nFileCount, 3);
    EXPECT_EQ(t.File(0).nOffset, 4096);
    EXPECT_EQ(t.File(1).nOffset, 6144);
    EXPECT_EQ(t.File(2).nOffset, 6144);
    EXPECT_EQ(std::string(bytes.begin() + 6144, bytes.begin() + 6144 + 5000),
              std::string(5000, 'c'));
    EXPECT_EQ(t.File(2).tTime, 0);

    // Type directories in order of first occurrence.
    EXPECT_EQ(t.doc->m_nArchiveKind, ARCHIVE_KIND_VPP);
    ASSERT_EQ(t.doc->m_nDirCount, 3);
    EXPECT_EQ(t.ChildrenOf(0), std::vector<int>({1, 2}));
    EXPECT_EQ(t.Dir(0).nType, -1);
    EXPECT_EQ(t.Dir(1).strName, "TGA files (TGA graphic)");
    EXPECT_EQ(t.Dir(1).nType, FILE_TYPE_TGA);
    EXPECT_EQ(t.FilesOf(1), std::vector<int>({0, 2}));
    EXPECT_EQ(t.Dir(2).strName, "WAV files (WAV sound)");
    EXPECT_EQ(t.FilesOf(2), std::vector<int>({1}));
    EXPECT_EQ(t.Dir(2).nParent, 0);
    EXPECT_EQ(t.File(1).nDir, 2);
    EXPECT_EQ(t.doc->m_strGameDir, "");
    EXPECT_TRUE(t.doc->IsReadComplete());
}

TEST(VppReader, DataStartsAfterTheDirectoryRoundedUp)
{
    DocFixture t;
    for (const auto& [count, start] : {std::pair{31, 4096}, {32, 4096}, {33, 6144}})
    {
        VppBuilder vpp;
        for (int i = 0; i < count; ++i)
            vpp.File("f" + std::to_string(i) + ".xyz", "1");
        ASSERT_TRUE(t.Load(vpp.Bytes(), "a.vpp"));
        EXPECT_EQ(t.File(0).nOffset, start) << count;
        EXPECT_EQ(t.Dir(1).strName, "*** files (? <Unknown>)");
    }
}

TEST(VppReader, EmptyArchiveAndFullLengthNames)
{
    DocFixture t;
    ASSERT_TRUE(t.Load(VppBuilder().Bytes(), "a.vpp"));
    EXPECT_EQ(t.doc->m_nDirCount, 1);
    EXPECT_EQ(t.doc->m_nFileCount, 0);

    const std::string name60 = std::string(56, 'n') + ".tga";
    ASSERT_TRUE(t.Load(VppBuilder().File(name60 + "extra", "x").Bytes(), "a.vpp"));
    EXPECT_EQ(t.File(0).strName, name60);
}

TEST(VppReader, BrokenDirectoriesKeepWhatCanBePlaced)
{
    DocFixture t;
    VppBuilder three;
    three.File("a.tga", "a").File("b.tga", "b").File("c.tga", "c");

    // Directory cut inside the third entry.
    ASSERT_TRUE(t.Load(three.Truncated(2048 + 64 * 2 + 10), "a.vpp"));
    EXPECT_EQ(t.doc->m_nFileCount, 2);
    EXPECT_NE(t.doc->GetReadWarning().find("2 of 3"), std::string::npos);

    // A size with the sign bit set: nothing from it on can be placed.
    VppBuilder huge;
    huge.File("a.tga", "a").RawEntry("big.wav", -2).File("c.tga", "c");
    ASSERT_TRUE(t.Load(huge.Bytes(), "a.vpp"));
    EXPECT_EQ(t.doc->m_nFileCount, 1);
    EXPECT_FALSE(t.doc->IsReadComplete());

    // Sizes that push later offsets past 2 GiB.
    VppBuilder far;
    far.RawEntry("a.tga", 0x7ffff000).RawEntry("b.tga", 0x7ffff000).RawEntry("c.tga", 1);
    ASSERT_TRUE(t.Load(far.Bytes(), "a.vpp"));
    EXPECT_EQ(t.doc->m_nFileCount, 1);
    EXPECT_FALSE(t.doc->IsReadComplete());

    for (const std::int32_t count : {-1, 0x7fffffff})
    {
        ASSERT_TRUE(t.Load(VppBuilder(three).FileCount(count).Bytes(), "a.vpp"));
        EXPECT_FALSE(t.doc->IsReadComplete()) << count;
        EXPECT_LE(t.doc->m_nFileCount, 3);
    }
    ASSERT_TRUE(t.Load(three.Truncated(12), "a.vpp"));
    EXPECT_EQ(t.doc->m_nFileCount, 0);
    EXPECT_FALSE(t.doc->IsReadComplete());
}

TEST(VppReader, MoreFilesThanTheTableHoldsStopAtItsEnd)
{
    DocFixture t;
    VppBuilder vpp;
    for (int i = 0; i < MAX_FILES + 2; ++i)
        vpp.File("f" + std::to_string(i) + (i % 2 ? ".tga" : ".wav"), "");
    ASSERT_TRUE(t.Load(vpp.Bytes(), "a.vpp"));
    EXPECT_EQ(t.doc->m_nFileCount, MAX_FILES);
    EXPECT_EQ(t.Dir(1).nFiles + t.Dir(2).nFiles, MAX_FILES);
    EXPECT_FALSE(t.doc->IsReadComplete());
}

TEST(VppReader, OnlyVersionOnePackfilesAreRead)
{
    DocFixture t;
    VppBuilder two;
    two.File("a.tga", "a").File("b.wav", "b");

    // Red Faction 2 shares the signature but not the layout: said so, nothing listed.
    ASSERT_TRUE(t.Load(VppBuilder(two).Header(0x51890ACE, 3).Bytes(), "rf2.vpp"));
    EXPECT_EQ(t.doc->m_nFileCount, 0);
    EXPECT_EQ(t.doc->m_nDirCount, 1);
    EXPECT_EQ(t.doc->GetReadWarning(), "Version 3 packfiles are not supported.");

    // Another signature is not checked, whatever the version says.
    ASSERT_TRUE(t.Load(VppBuilder(two).Header(0x12345678, 7).Bytes(), "other.vpp"));
    EXPECT_EQ(t.doc->m_nFileCount, 2);
    EXPECT_TRUE(t.doc->IsReadComplete());
}
