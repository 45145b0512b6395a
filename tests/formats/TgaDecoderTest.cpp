#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "RfBuilders.h"
#include "TgaDecoder.h"

namespace
{
using Bytes = std::vector<unsigned char>;
using Px = std::array<std::uint8_t, 4>;

// Blue, green, red (and alpha, 255 for 24 bits) at x, y counted from the top-left.
Px At(const DecodedPicture& p, int x, int y)
{
    const std::size_t nBytes = static_cast<std::size_t>(p.nBitsPerPixel / 8);
    const std::uint8_t* q =
        p.pixels.data() +
        static_cast<std::size_t>(p.nHeight - 1 - y) * PictureStride(p.nWidth, p.nBitsPerPixel) +
        static_cast<std::size_t>(x) * nBytes;
    return {q[0], q[1], q[2], nBytes == 4 ? q[3] : std::uint8_t{255}};
}

void ExpectEveryTruncationRefused(const Bytes& good)
{
    DecodedPicture p;
    for (std::size_t n = 0; n < good.size(); ++n)
        EXPECT_FALSE(DecodeTga(Bytes(good.begin(), good.begin() + n), p)) << n << " bytes";
}

// 5 x 3 at 32 bits, rows from the bottom: four of one colour, then pairs, so the run of
// pixels 4 and 5 goes on from the bottom row into the next.
Bytes Pixels32()
{
    Bytes px;
    for (int i = 0; i < 15; ++i)
    {
        const std::uint8_t v = static_cast<std::uint8_t>(i < 4 ? 7 : 10 + i / 2);
        px.insert(px.end(),
                  {v, static_cast<std::uint8_t>(v + 1), static_cast<std::uint8_t>(v + 2), 200});
    }
    return px;
}
} // namespace

TEST(TgaDecoder, RunLengthGivesTheStoredPictureAcrossScanLinesPastIdAndFooter)
{
    TgaFields f;
    f.nWidth = 5;
    f.nHeight = 3;
    f.byDepth = 32;
    f.byDescriptor = 8;
    DecodedPicture stored;
    ASSERT_TRUE(DecodeTga(MakeTgaFile(f, {}, {}, Pixels32()), stored));
    f.byImageType = 10;
    const Bytes packed = PackTgaRuns(Pixels32(), 4);
    ASSERT_LT(packed.size(), 50u); // runs, not only stored packets
    Bytes footer(26, 0);
    std::copy_n("TRUEVISION-XFILE.", 18, footer.begin() + 8);
    Bytes withFooter = packed;
    withFooter.insert(withFooter.end(), footer.begin(), footer.end());
    DecodedPicture p;
    ASSERT_TRUE(DecodeTga(MakeTgaFile(f, {'i', 'd', '!'}, {}, withFooter), p));
    EXPECT_EQ(p.nBitsPerPixel, 32);
    EXPECT_EQ(p.pixels, stored.pixels);
    EXPECT_EQ(At(p, 0, 2), (Px{7, 8, 9, 200}));
    EXPECT_EQ(At(p, 4, 2), (Px{12, 13, 14, 200}));
    EXPECT_EQ(At(p, 0, 1), (Px{12, 13, 14, 200}));

    ExpectEveryTruncationRefused(MakeTgaFile(f, {'i'}, {}, packed));
    // A run that would fill one pixel more than the picture has.
    Bytes over = packed;
    over[0] = 0x85;
    EXPECT_NE(DecodeTga(MakeTgaFile(f, {}, {}, over), p).Text().find("past"), std::string::npos);
}

TEST(TgaDecoder, OriginBitsPlaceTheFirstStoredPixelInItsCorner)
{
    // 2 x 2 grey or 24-bit, stored 1 2 3 4; bit 5 puts the first row at the top, bit 4 the
    // first pixel at the right.
    const Bytes grey = {1, 2, 3, 4};
    const Bytes rgb = {1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4};
    for (std::uint8_t byDescriptor : {0x00, 0x10, 0x20, 0x30})
        for (std::uint8_t byType : {2, 3, 10, 11})
        {
            TgaFields f;
            f.byImageType = byType;
            f.nWidth = 2;
            f.nHeight = 2;
            f.byDepth = (byType & 3) == 2 ? 24 : 8;
            f.byDescriptor = byDescriptor;
            const Bytes& stored = f.byDepth == 24 ? rgb : grey;
            DecodedPicture p;
            ASSERT_TRUE(DecodeTga(
                MakeTgaFile(f, {}, {}, byType < 8 ? stored : PackTgaRuns(stored, f.byDepth / 8)),
                p));
            const int x = byDescriptor & 0x10 ? 1 : 0;
            const int y = byDescriptor & 0x20 ? 0 : 1;
            EXPECT_EQ(At(p, x, y), (Px{1, 1, 1, 255})) << int(byDescriptor) << " " << int(byType);
            EXPECT_EQ(At(p, 1 - x, 1 - y), (Px{4, 4, 4, 255})) << int(byDescriptor);
        }
}

TEST(TgaDecoder, ColourMapsFromTheirFirstIndexInEveryEntrySize)
{
    // Entries for indices 5 and 6: red and half-transparent blue where the size allows.
    struct Case
    {
        std::uint8_t byBits;
        Bytes map;
        Px second;
    };
    const Case cases[] = {
        {24, {0, 0, 255, 255, 0, 0}, {255, 0, 0, 255}},
        {32, {0, 0, 255, 255, 255, 0, 0, 128}, {255, 0, 0, 128}},
        {16, {0x00, 0xFC, 0x1F, 0x00}, {255, 0, 0, 0}}, // A1R5G5B5, blue without its bit
        {15, {0x00, 0x7C, 0x1F, 0x00}, {255, 0, 0, 255}},
    };
    for (const Case& c : cases)
        for (std::uint8_t byDepth : {8, 16})
            for (std::uint8_t byType : {1, 9})
            {
                TgaFields f;
                f.byImageType = byType;
                f.byMapType = 1;
                f.nMapFirst = 5;
                f.nMapLength = 2;
                f.byMapEntryBits = c.byBits;
                f.nWidth = 3;
                f.byDepth = byDepth;
                f.byDescriptor = 1; // one alpha bit: the 16-bit entries' top bit counts
                Bytes indices;
                for (std::uint8_t i : {6, 5, 5})
                {
                    indices.push_back(i);
                    if (byDepth == 16)
                        indices.push_back(0);
                }
                const Bytes data = byType == 1 ? indices : PackTgaRuns(indices, byDepth / 8);
                DecodedPicture p;
                ASSERT_TRUE(DecodeTga(MakeTgaFile(f, {}, c.map, data), p)) << int(c.byBits);
                EXPECT_EQ(At(p, 0, 0), c.second) << int(c.byBits) << " " << int(byDepth);
                EXPECT_EQ(At(p, 2, 0), (Px{0, 0, 255, 255})) << int(c.byBits);
                if (c.byBits == 24 && byDepth == 8)
                    ExpectEveryTruncationRefused(MakeTgaFile(f, {}, c.map, data));

                // Below the first index and past the last are both outside.
                for (std::uint8_t byOutside : {4, 7})
                {
                    Bytes bad = indices;
                    bad[0] = byOutside;
                    const Bytes badData = byType == 1 ? bad : PackTgaRuns(bad, byDepth / 8);
                    EXPECT_NE(
                        DecodeTga(MakeTgaFile(f, {}, c.map, badData), p).Text().find("outside"),
                        std::string::npos);
                }
            }
}

TEST(TgaDecoder, SixteenBitsHaveAlphaOnlyWhenTheDescriptorCountsIt)
{
    // Pure green with the top bit clear, then white with it set.
    const Bytes data = {0xE0, 0x03, 0xFF, 0xFF};
    for (std::uint8_t byDepth : {15, 16})
        for (std::uint8_t byDescriptor : {0, 1})
        {
            TgaFields f;
            f.nWidth = 2;
            f.byDepth = byDepth;
            f.byDescriptor = byDescriptor;
            DecodedPicture p;
            ASSERT_TRUE(DecodeTga(MakeTgaFile(f, {}, {}, data), p));
            const std::uint8_t byAlpha = byDepth == 16 && byDescriptor == 1 ? 0 : 255;
            EXPECT_EQ(At(p, 0, 0), (Px{0, 255, 0, byAlpha}));
            EXPECT_EQ(At(p, 1, 0), (Px{255, 255, 255, 255}));
        }
}

TEST(TgaDecoder, RefusesAMappedPictureWithoutItsMapAndSizesNoPictureHas)
{
    TgaFields noMap;
    noMap.byImageType = 1;
    noMap.byDepth = 8;
    TgaFields wide;
    wide.nWidth = 20000;
    for (const TgaFields& f : {noMap, wide})
    {
        DecodedPicture p;
        EXPECT_FALSE(DecodeTga(MakeTgaFile(f, {}, {}, Bytes(64, 0)), p));
        EXPECT_EQ(p.nHeight, 0);
    }
}
