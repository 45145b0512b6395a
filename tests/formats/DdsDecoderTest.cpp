#include <gtest/gtest.h>

#include <squish.h>

#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "DdsBuilder.h"
#include "DdsDecoder.h"

namespace
{
using Bytes = std::vector<unsigned char>;

std::uint16_t ReadU16(const Bytes& b, std::size_t i)
{
    return static_cast<std::uint16_t>(b[i] | b[i + 1] << 8);
}

void WriteU16(Bytes& b, std::size_t i, std::uint16_t v)
{
    b[i] = static_cast<unsigned char>(v);
    b[i + 1] = static_cast<unsigned char>(v >> 8);
}

// Random blocks; every other block has its colour endpoints (at nColourAt) in ascending
// order and its first byte pair (DXT5 alpha endpoints) likewise, so both modes of each occur.
Bytes RandomBlocks(std::size_t nBlocks, std::size_t nBlockBytes, std::size_t nColourAt)
{
    std::mt19937 random(7);
    Bytes data(nBlocks * nBlockBytes);
    for (unsigned char& b : data)
        b = static_cast<unsigned char>(random());
    for (std::size_t i = 0; i < nBlocks; ++i)
    {
        const std::size_t at = i * nBlockBytes;
        const std::uint16_t c0 = ReadU16(data, at + nColourAt);
        const std::uint16_t c1 = ReadU16(data, at + nColourAt + 2);
        const bool bAscending = i % 2 == 0;
        if ((c0 <= c1) != bAscending)
        {
            WriteU16(data, at + nColourAt, c1);
            WriteU16(data, at + nColourAt + 2, c0);
        }
        if ((data[at] <= data[at + 1]) != bAscending)
            std::swap(data[at], data[at + 1]);
    }
    // Equal endpoints select the three-colour mode of DXT1 and the six-value mode of DXT5.
    data[1] = data[0];
    WriteU16(data, nColourAt + 2, ReadU16(data, nColourAt));
    return data;
}

// The texture as libsquish decodes it, block by block.
Bytes SquishPicture(const Bytes& data, int nWidth, int nHeight, int nFlags, std::size_t nBlockBytes)
{
    Bytes rgba(static_cast<std::size_t>(nWidth) * nHeight * 4);
    const int nBlocksWide = (nWidth + 3) / 4;
    for (int by = 0; by < (nHeight + 3) / 4; ++by)
        for (int bx = 0; bx < nBlocksWide; ++bx)
        {
            squish::u8 texels[64];
            squish::Decompress(texels, &data[(by * nBlocksWide + bx) * nBlockBytes], nFlags);
            for (int y = 0; y < 4 && 4 * by + y < nHeight; ++y)
                for (int x = 0; x < 4 && 4 * bx + x < nWidth; ++x)
                    for (int c = 0; c < 4; ++c)
                        rgba[((4 * by + y) * nWidth + 4 * bx + x) * 4 + c] =
                            texels[(4 * y + x) * 4 + c];
        }
    return rgba;
}

void ExpectLikeSquish(const std::string& strFourCc, int nFlags, std::size_t nBlockBytes)
{
    const int nWidth = 30; // edge blocks cut on the right and at the bottom
    const int nHeight = 18;
    const Bytes data = RandomBlocks(8 * 5, nBlockBytes, nBlockBytes - 8);
    RgbaPicture picture;
    ASSERT_TRUE(DecodeDds(MakeDds(DdsFourCc(strFourCc, nWidth, nHeight), data), 0, 0, picture));
    EXPECT_EQ(picture.strFormat, strFourCc);
    EXPECT_EQ(picture.nWidth, nWidth);
    EXPECT_EQ(picture.nHeight, nHeight);
    EXPECT_EQ(picture.rgba, SquishPicture(data, nWidth, nHeight, nFlags, nBlockBytes));
}

// A DXT1 block of one colour.
Bytes SolidDxt1(std::uint16_t nColour)
{
    return {static_cast<unsigned char>(nColour),
            static_cast<unsigned char>(nColour >> 8),
            0,
            0,
            0,
            0,
            0,
            0};
}

std::array<std::uint8_t, 4> PixelAt(const RgbaPicture& picture, int x, int y)
{
    const auto* p = &picture.rgba[(static_cast<std::size_t>(y) * picture.nWidth + x) * 4];
    return {p[0], p[1], p[2], p[3]};
}

std::string Refusal(const Bytes& dds, int nMip = 0, int nFace = 0)
{
    RgbaPicture picture;
    const Result result = DecodeDds(dds, nMip, nFace, picture);
    EXPECT_FALSE(result);
    EXPECT_TRUE(picture.rgba.empty());
    return result.Text();
}
} // namespace

TEST(DdsDecoder, Dxt1MatchesSquishInBothColourModes)
{
    ExpectLikeSquish("DXT1", squish::kDxt1, 8);
}

TEST(DdsDecoder, Dxt3MatchesSquishWithColourAlwaysInFourColourMode)
{
    ExpectLikeSquish("DXT3", squish::kDxt3, 16);
}

TEST(DdsDecoder, Dxt5MatchesSquishInBothAlphaModes)
{
    ExpectLikeSquish("DXT5", squish::kDxt5, 16);
}

TEST(DdsDecoder, Dx10BlockFormatsDecodeLikeTheirFourCcAndAreNamedBc)
{
    const Bytes data = RandomBlocks(4, 16, 8);
    const struct
    {
        std::uint32_t nDxgi;
        const char* pFourCc;
        const char* pName;
    } cases[] = {{kDxgiBc1Typeless, "DXT1", "BC1"},
                 {kDxgiBc1Unorm, "DXT1", "BC1"},
                 {kDxgiBc2UnormSrgb, "DXT3", "BC2"},
                 {kDxgiBc3Unorm, "DXT5", "BC3"}};
    for (const auto& c : cases)
    {
        RgbaPicture fourCc;
        RgbaPicture dx10;
        ASSERT_TRUE(DecodeDds(MakeDds(DdsFourCc(c.pFourCc, 8, 8), data), 0, 0, fourCc));
        ASSERT_TRUE(DecodeDds(MakeDds(DdsDx10(c.nDxgi, 8, 8), data), 0, 0, dx10)) << c.pName;
        EXPECT_EQ(dx10.strFormat, c.pName);
        EXPECT_EQ(dx10.rgba, fourCc.rgba) << c.pName;
    }
}

TEST(DdsDecoder, UncompressedPixelsComeFromTheirMasksWidenedByBitReplication)
{
    const struct
    {
        DdsDescription dds;
        Bytes pixel;
        std::array<std::uint8_t, 4> expected;
        const char* pName;
    } cases[] = {
        {DdsMasks(kDdsRgb | kDdsAlphaPixels, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000, 1, 1),
         {0x10, 0x20, 0x30, 0x40},
         {0x30, 0x20, 0x10, 0x40},
         "BGRA8"},
        {DdsMasks(kDdsRgb, 32, 0xFF0000, 0xFF00, 0xFF, 0, 1, 1),
         {0x10, 0x20, 0x30, 0x99},
         {0x30, 0x20, 0x10, 255},
         "BGRX8"},
        {DdsMasks(kDdsRgb | kDdsAlphaPixels, 32, 0xFF, 0xFF00, 0xFF0000, 0xFF000000, 1, 1),
         {1, 2, 3, 4},
         {1, 2, 3, 4},
         "RGBA8"},
        {DdsMasks(kDdsRgb, 24, 0xFF0000, 0xFF00, 0xFF, 0, 1, 1),
         {0x10, 0x20, 0x30},
         {0x30, 0x20, 0x10, 255},
         "BGR8"},
        // 10001 100001 00011
        {DdsMasks(kDdsRgb, 16, 0xF800, 0x7E0, 0x1F, 0, 1, 1),
         {0x23, 0x8C},
         {140, 134, 24, 255},
         "RGB565"},
        // 1 10000 00001 11111
        {DdsMasks(kDdsRgb | kDdsAlphaPixels, 16, 0x7C00, 0x3E0, 0x1F, 0x8000, 1, 1),
         {0x3F, 0xC0},
         {132, 8, 255, 255},
         "ARGB1555"},
        {DdsMasks(kDdsRgb | kDdsAlphaPixels, 16, 0xF00, 0xF0, 0xF, 0xF000, 1, 1),
         {0x5F, 0x3A},
         {0xAA, 0x55, 0xFF, 0x33},
         "ARGB4444"},
        {DdsMasks(kDdsLuminance, 8, 0xFF, 0, 0, 0, 1, 1), {0x7B}, {0x7B, 0x7B, 0x7B, 255}, "L8"},
    };
    for (const auto& c : cases)
    {
        RgbaPicture picture;
        ASSERT_TRUE(DecodeDds(MakeDds(c.dds, c.pixel), 0, 0, picture)) << c.pName;
        EXPECT_EQ(picture.strFormat, c.pName);
        EXPECT_EQ(PixelAt(picture, 0, 0), c.expected) << c.pName;
    }
}

TEST(DdsDecoder, MipLevelsFollowOneAnotherDownToOneTexel)
{
    // 30x17, 15x8, 7x4, 3x2, 1x1: every block of level 0 its own green, the others one red
    // each.
    Bytes data;
    for (int nBlock = 0; nBlock < 8 * 5; ++nBlock)
        for (unsigned char b : SolidDxt1(static_cast<std::uint16_t>(nBlock << 5)))
            data.push_back(b);
    const int blocks[] = {4 * 2, 2 * 1, 1, 1};
    for (int nLevel = 1; nLevel <= 4; ++nLevel)
        for (int i = 0; i < blocks[nLevel - 1]; ++i)
            for (unsigned char b : SolidDxt1(static_cast<std::uint16_t>(nLevel << 11)))
                data.push_back(b);
    const Bytes dds = MakeDds(DdsFourCc("DXT1", 30, 17, 5), data);
    DdsInfo info;
    ASSERT_TRUE(ReadDdsInfo(dds, info));
    EXPECT_EQ(info.nMipCount, 5);

    RgbaPicture picture;
    ASSERT_TRUE(DecodeDds(dds, 0, 0, picture));
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 30; ++x)
        {
            const int nBlock = y / 4 * 8 + x / 4;
            ASSERT_EQ(PixelAt(picture, x, y)[1], (nBlock << 2) | (nBlock >> 4)) << x << "," << y;
        }
    const int sizes[][2] = {{15, 8}, {7, 4}, {3, 2}, {1, 1}};
    for (int nLevel = 1; nLevel <= 4; ++nLevel)
    {
        ASSERT_TRUE(DecodeDds(dds, nLevel, 0, picture));
        EXPECT_EQ(picture.nWidth, sizes[nLevel - 1][0]);
        EXPECT_EQ(picture.nHeight, sizes[nLevel - 1][1]);
        const auto nRed = static_cast<std::uint8_t>(nLevel << 3 | nLevel >> 2);
        for (int y = 0; y < picture.nHeight; ++y)
            for (int x = 0; x < picture.nWidth; ++x)
                ASSERT_EQ(PixelAt(picture, x, y), (std::array<std::uint8_t, 4>{nRed, 0, 0, 255}));
    }

    // Uncompressed levels are packed rows: 3x3 then 1x1.
    Bytes bgr(9 * 3, 0x11);
    bgr.insert(bgr.end(), {0x01, 0x02, 0x03});
    DdsDescription masks = DdsMasks(kDdsRgb, 24, 0xFF0000, 0xFF00, 0xFF, 0, 3, 3);
    masks.nMipCount = 2;
    ASSERT_TRUE(DecodeDds(MakeDds(masks, bgr), 1, 0, picture));
    EXPECT_EQ(PixelAt(picture, 0, 0), (std::array<std::uint8_t, 4>{3, 2, 1, 255}));
}

TEST(DdsDecoder, CubeFacesFollowOneAnotherEachWithItsMipChain)
{
    // 8x8 with 4 levels: 4 + 1 + 1 + 1 blocks a face; face f, level m has red f, green m.
    Bytes data;
    for (std::uint16_t nFace = 0; nFace < 6; ++nFace)
        for (std::uint16_t nMip = 0; nMip < 4; ++nMip)
            for (int i = 0; i < (nMip == 0 ? 4 : 1); ++i)
                for (unsigned char b :
                     SolidDxt1(static_cast<std::uint16_t>(nFace << 11 | nMip << 5)))
                    data.push_back(b);
    DdsDescription cube = DdsFourCc("DXT1", 8, 8, 4);
    cube.bCubeMap = true;
    const Bytes dds = MakeDds(cube, data);
    DdsInfo info;
    ASSERT_TRUE(ReadDdsInfo(dds, info));
    EXPECT_EQ(info.nFaceCount, 6);
    RgbaPicture picture;
    ASSERT_TRUE(DecodeDds(dds, 2, 4, picture));
    EXPECT_EQ(PixelAt(picture, 1, 1), (std::array<std::uint8_t, 4>{4 << 3 | 1, 2 << 2, 0, 255}));
    ASSERT_TRUE(DecodeDds(dds, 0, 5, picture));
    EXPECT_EQ(PixelAt(picture, 7, 7), (std::array<std::uint8_t, 4>{5 << 3 | 1, 0, 0, 255}));
    EXPECT_NE(Refusal(dds, 0, 6).find("no face 6"), std::string::npos);
}

TEST(DdsDecoder, VolumeShowsTheFirstSliceOfEachLevel)
{
    // 2x2x4 then 1x1x2, 8-bit luminance: slice s of level m is 10 * m + s + 1.
    Bytes data;
    for (unsigned char s = 1; s <= 4; ++s)
        data.insert(data.end(), 4, s);
    data.insert(data.end(), {11, 12});
    DdsDescription volume = DdsMasks(kDdsLuminance, 8, 0xFF, 0, 0, 0, 2, 2);
    volume.nDepth = 4;
    volume.nMipCount = 2;
    const Bytes dds = MakeDds(volume, data);
    DdsInfo info;
    ASSERT_TRUE(ReadDdsInfo(dds, info));
    EXPECT_EQ(info.nDepth, 4);
    RgbaPicture picture;
    ASSERT_TRUE(DecodeDds(dds, 0, 0, picture));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(PixelAt(picture, i % 2, i / 2), (std::array<std::uint8_t, 4>{1, 1, 1, 255}));
    ASSERT_TRUE(DecodeDds(dds, 1, 0, picture));
    EXPECT_EQ(PixelAt(picture, 0, 0), (std::array<std::uint8_t, 4>{11, 11, 11, 255}));
}

TEST(DdsDecoder, RefusesWhatItCannotShowAndSaysWhy)
{
    const Bytes dxt1 = MakeDds(DdsFourCc("DXT1", 8, 8), Bytes(32, 0x5A));
    EXPECT_NE(Refusal(Bytes(dxt1.begin(), dxt1.begin() + 100)).find("header is incomplete"),
              std::string::npos);
    Bytes notDds = dxt1;
    notDds[0] = 'X';
    EXPECT_NE(Refusal(notDds).find("signature"), std::string::npos);
    EXPECT_EQ(Refusal(MakeDds(DdsDx10(kDxgiBc5Unorm, 4, 4), Bytes(16))),
              "DDS format BC5 is not supported");
    EXPECT_EQ(Refusal(MakeDds(DdsFourCc("ATI2", 4, 4), Bytes(16))),
              "DDS format BC5 is not supported");
    EXPECT_EQ(Refusal(MakeDds(DdsDx10(kDxgiBc6hUf16, 4, 4), Bytes(16))),
              "DDS format BC6H is not supported");
    EXPECT_NE(Refusal(MakeDds(DdsMasks(kDdsPalette8, 8, 0, 0, 0, 0, 4, 4), Bytes(16 + 1024)))
                  .find("palette"),
              std::string::npos);
    EXPECT_NE(Refusal(Bytes(dxt1.begin(), dxt1.end() - 1)).find("shorter than its header says"),
              std::string::npos);
    // 8192x8192 in a 200-byte file is refused before anything is allocated.
    EXPECT_NE(Refusal(MakeDds(DdsFourCc("DXT1", 8192, 8192), Bytes(72))).find("shorter"),
              std::string::npos);
    EXPECT_NE(Refusal(MakeDds(DdsFourCc("DXT1", 65535, 4), Bytes(72))).find("larger"),
              std::string::npos);
    EXPECT_NE(Refusal(MakeDds(DdsFourCc("DXT1", 0, 4), Bytes(8))).find("not a texture"),
              std::string::npos);
    EXPECT_NE(Refusal(MakeDds(DdsFourCc("DXT1", 4, 4, 4), Bytes(64))).find("mip count 4"),
              std::string::npos);
    const Bytes bc7 = MakeDds(DdsDx10(kDxgiBc7Unorm, 4, 4), Bytes(16));
    EXPECT_NE(Refusal(Bytes(bc7.begin(), bc7.begin() + 140)).find("of 148 bytes"),
              std::string::npos);
    EXPECT_NE(Refusal(dxt1, 1).find("no mip level 1"), std::string::npos);
}
