#include <gtest/gtest.h>

#include <vector>

#include "RfBuilders.h"
#include "VbmDecoder.h"

namespace
{
using Bytes = std::vector<unsigned char>;
using Rgba4 = std::vector<std::uint8_t>;

Rgba4 First(const RgbaPicture& p)
{
    return {p.rgba.begin(), p.rgba.begin() + 4};
}
} // namespace

TEST(VbmDecoder, EachFormatWidensItsChannelsAndKeepsTheColourUnderTransparency)
{
    struct Case
    {
        std::uint32_t nFormat;
        std::uint16_t nPixel;
        Rgba4 stored;   // as the file says, 1555 alpha bit read as coverage
        Rgba4 inverted; // 1555 with the bit inverted, as version 1 stores it
    };
    const Case cases[] = {
        {0, 0x8000 | (31 << 10) | (16 << 5) | 1, {255, 131, 8, 255}, {255, 131, 8, 0}},
        {0, (0 << 10) | (31 << 5) | 0, {0, 255, 0, 0}, {0, 255, 0, 255}},
        {1, 0x3F71, {255, 119, 17, 51}, {255, 119, 17, 51}},
        {2, (31 << 11) | (32 << 5) | 3, {255, 129, 24, 255}, {255, 129, 24, 255}},
    };
    for (const Case& c : cases)
    {
        VbmFields f;
        f.nFormat = c.nFormat;
        VbmAnimation vbm;
        ASSERT_TRUE(DecodeVbm(MakeVbm(f, [&](int, int, int, int) { return c.nPixel; }), vbm));
        EXPECT_TRUE(VbmAlphaInvertedByDefault(vbm));
        RgbaPicture p;
        ASSERT_TRUE(VbmFrameRgba(vbm, 0, 0, false, p));
        EXPECT_EQ(First(p), c.stored) << c.nFormat;
        ASSERT_TRUE(VbmFrameRgba(vbm, 0, 0, true, p));
        EXPECT_EQ(First(p), c.inverted) << c.nFormat;
    }
}

TEST(VbmDecoder, FramesAndLevelsAreFoundInFileOrderAndPlayAtTheFileRate)
{
    // 5 x 3 with two mip levels (2 x 1, 1 x 1), three frames; the blue bits say frame and
    // level, the red bits x and y.
    VbmFields f;
    f.nVersion = 2;
    f.nFormat = 2;
    f.nWidth = 5;
    f.nHeight = 3;
    f.nFps = 4;
    f.nFrames = 3;
    f.nMipmaps = 2;
    const auto pixel = [](int nFrame, int nLevel, int x, int y)
    { return static_cast<std::uint16_t>(((x + 5 * y) << 11) | (nFrame * 4 + nLevel)); };
    const Bytes bytes = MakeVbm(f, pixel);
    VbmAnimation vbm;
    ASSERT_TRUE(DecodeVbm(bytes, vbm));
    EXPECT_FALSE(VbmAlphaInvertedByDefault(vbm));
    EXPECT_EQ(vbm.nFrameCount, 3);
    EXPECT_EQ(vbm.nLevelCount, 3);
    RgbaPicture p;
    ASSERT_TRUE(VbmFrameRgba(vbm, 2, 1, false, p));
    EXPECT_EQ(p.nWidth, 2);
    EXPECT_EQ(p.nHeight, 1);
    EXPECT_EQ(p.strFormat, "565");
    EXPECT_EQ(p.rgba[4 * 1], 8);      // x 1: red 1 of 31
    EXPECT_EQ(p.rgba[4 * 1 + 2], 74); // frame 2, level 1: blue 9 of 31
    ASSERT_TRUE(VbmFrameRgba(vbm, 1, 0, false, p));
    EXPECT_EQ(p.rgba.size(), 5u * 3 * 4);
    EXPECT_EQ(p.rgba[4 * 14], 115); // the last pixel: red 14
    EXPECT_EQ(p.rgba[4 * 14 + 2], 32);
    EXPECT_FALSE(VbmFrameRgba(vbm, 3, 0, false, p));
    EXPECT_FALSE(VbmFrameRgba(vbm, 0, 3, false, p));

    // 4 frames a second: 250 ms each, wrapping after the third.
    EXPECT_EQ(VbmFrameAt(vbm, 0), 0);
    EXPECT_EQ(VbmFrameAt(vbm, 249), 0);
    EXPECT_EQ(VbmFrameAt(vbm, 250), 1);
    EXPECT_EQ(VbmFrameAt(vbm, 760), 0);
    EXPECT_EQ(VbmFrameAt(vbm, 1000LL * 3 * 1000000000 + 500), 2);
}

TEST(VbmDecoder, RefusesEveryTruncationExtraBytesAndHeadersOutsideTheFormat)
{
    VbmFields f;
    f.nWidth = 3;
    f.nHeight = 2;
    f.nFrames = 2;
    f.nMipmaps = 1;
    const Bytes good = MakeVbm(f, [](int, int, int, int) { return std::uint16_t{0x1234}; });
    VbmAnimation vbm;
    ASSERT_TRUE(DecodeVbm(good, vbm));
    for (std::size_t n = 0; n < good.size(); ++n)
        EXPECT_FALSE(DecodeVbm(Bytes(good.begin(), good.begin() + n), vbm)) << n;
    Bytes longer = good;
    longer.push_back(0);
    EXPECT_FALSE(DecodeVbm(longer, vbm));

    const auto Refuses = [&](VbmFields bad, const char* szWhy)
    {
        VbmAnimation v;
        EXPECT_FALSE(
            DecodeVbm(MakeVbm(bad, [](int, int, int, int) { return std::uint16_t{0}; }), v))
            << szWhy;
        EXPECT_EQ(v.nFrameCount, 0) << szWhy;
    };
    VbmFields bad = f;
    bad.nFormat = 3;
    Refuses(bad, "format");
    bad = f;
    bad.nVersion = 3;
    Refuses(bad, "version");
    bad = f;
    bad.nFrames = 0;
    Refuses(bad, "no frames");
    bad = f;
    bad.nWidth = 0;
    Refuses(bad, "width 0");
    // A header that promises far more than the bytes behind it.
    Bytes huge = good;
    huge[24] = 0xFF;
    huge[27] = 0x7F;
    EXPECT_FALSE(DecodeVbm(huge, vbm));
    huge = good;
    huge[28] = 0xFF;
    huge[31] = 0xFF;
    EXPECT_FALSE(DecodeVbm(huge, vbm));
}
