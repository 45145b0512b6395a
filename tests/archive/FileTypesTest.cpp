#include <gtest/gtest.h>

#include "FileTypes.h"

TEST(FileTypes, TypeComesFromTheLastThreeCharactersWhateverTheirCase)
{
    EXPECT_EQ(GetFileType("interface.PCX"), FILE_TYPE_PCX);
    EXPECT_EQ(GetFileType("intro.ani"), FILE_TYPE_ANI);
    EXPECT_EQ(GetFileType("shield.TgA"), FILE_TYPE_TGA);
    EXPECT_EQ(GetFileType("music.wav"), FILE_TYPE_WAV);
    EXPECT_EQ(GetFileType("font01.vf"), 10);
    EXPECT_EQ(GetFileType("MAIN.UI"), 20);
    EXPECT_EQ(GetFileType("sm1-01.fs2"), 7);
    EXPECT_EQ(GetFileType("freespace2.fc2"), 9);
    EXPECT_EQ(GetFileType("level.rfa"), 37);
    EXPECT_EQ(GetFileType("ship.DDS"), FILE_TYPE_DDS);
    EXPECT_EQ(GetFileType("font.ttf"), 45);
    // The extension is not looked for: only the last three characters count.
    EXPECT_EQ(GetFileType("xpcx"), FILE_TYPE_PCX);
}

TEST(FileTypes, NamesWithoutAKnownEndingAreUnknown)
{
    EXPECT_EQ(GetFileType("readme"), FILE_TYPE_UNKNOWN);
    EXPECT_EQ(GetFileType(""), FILE_TYPE_UNKNOWN);
    EXPECT_EQ(GetFileType("vf"), FILE_TYPE_UNKNOWN);
    EXPECT_EQ(GetFileType("x.***"), FILE_TYPE_UNKNOWN);
    EXPECT_EQ(GetFileType("file.pc"), FILE_TYPE_UNKNOWN);
}

TEST(FileTypes, EveryRowIsFoundByItsOwnKeyAndNamesItsTypeDirectory)
{
    for (int i = 1; i < FILE_TYPE_COUNT; ++i)
        EXPECT_EQ(GetFileType(std::string("name") + FileTypes[i].szExtension), i) << i;
    EXPECT_EQ(GetTypeDirName(1), "PCX files (PCX graphic)");
    EXPECT_EQ(GetTypeDirName(10), ".VF files (Font)");
    EXPECT_EQ(GetTypeDirName(0), "*** files (? <Unknown>)");
}
