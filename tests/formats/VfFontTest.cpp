#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RfBuilders.h"
#include "VfFont.h"

namespace
{
using Bytes = std::vector<unsigned char>;
using Rgb3 = std::vector<std::uint8_t>;

constexpr int kLineY = 4; // the sample's first row on the sheet
const Rgb3 kGround(kFontSheetBackground.begin(), kFontSheetBackground.end());
const Rgb3 kWhite = {255, 255, 255};

Rgb3 At(const RgbaPicture& p, int x, int y)
{
    const auto* q = &p.rgba[(static_cast<std::size_t>(y) * p.nWidth + x) * 4];
    return {q[0], q[1], q[2]};
}

// The columns of row y that are not ground.
std::vector<int> InkColumns(const RgbaPicture& p, int y)
{
    std::vector<int> xs;
    for (int x = 0; x < p.nWidth; ++x)
        if (At(p, x, y) != kGround)
            xs.push_back(x);
    return xs;
}

// '0' 2 pixels wide and '1' 1 pixel wide, 2 high, full coverage; "01" kerned by -1.
Bytes Digits(std::uint32_t nVersion)
{
    return MakeVf(nVersion, kVfCoverage, '0', 2, {{4, 2, Bytes(4, 14)}, {3, 1, Bytes(2, 14)}},
                  {{0, 1, -1}});
}
} // namespace

TEST(VfFont, TheSampleIsSetWithKerningAndEveryGlyphFollowsBelow)
{
    for (std::uint32_t nVersion : {0u, 1u})
    {
        VfFont font;
        ASSERT_TRUE(DecodeVf(Digits(nVersion), font)) << nVersion;
        EXPECT_EQ(font.glyphs.size(), 2u);
        EXPECT_EQ(font.nHeight, 2);
        EXPECT_EQ(VfAdvance(font, '0', '1'), 3);
        EXPECT_EQ(VfAdvance(font, '0', '0'), 4);
        EXPECT_EQ(VfAdvance(font, 'x', '1'), 4); // a missing character takes the default

        RgbaPicture sheet;
        ASSERT_TRUE(RenderFontSheet(font, sheet));
        // 44 characters before the digits, none in the font, 4 each; "0" then "1" kerned.
        const int x0 = 4 + 44 * 4;
        EXPECT_EQ(InkColumns(sheet, kLineY), (std::vector<int>{x0, x0 + 1, x0 + 3}));
        EXPECT_EQ(At(sheet, x0, kLineY), kWhite);
        EXPECT_TRUE(InkColumns(sheet, kLineY + 2).empty());
        // The glyph rows: the margin, a gap of two margins under the sample line.
        const int y = kLineY + 2 + 8;
        EXPECT_EQ(InkColumns(sheet, y), (std::vector<int>{4, 5, 9}));
        EXPECT_EQ(sheet.nHeight, y + 2 + 4);
        EXPECT_EQ(sheet.rgba[3], 255);
    }
}

TEST(VfFont, RedFactionPixelFormatsGiveTheirColours)
{
    // One glyph 'A' of one pixel in each format: half coverage, 4444 green, palette red.
    VfFont font;
    RgbaPicture sheet;
    ASSERT_TRUE(DecodeVf(MakeVf(1, kVfCoverage, 'A', 1, {{2, 1, {7}}}, {}), font));
    ASSERT_TRUE(RenderFontSheet(font, sheet));
    EXPECT_EQ(At(sheet, 4, kLineY + 1 + 8),
              (Rgb3{143, 143, 147})); // coverage 7 of 14 over the ground

    ASSERT_TRUE(DecodeVf(MakeVf(1, kVfArgb4444, 'A', 1, {{2, 1, {0xF0, 0xF0}}}, {}), font));
    ASSERT_TRUE(RenderFontSheet(font, sheet));
    EXPECT_EQ(At(sheet, 4, kLineY + 1 + 8), (Rgb3{0, 255, 0}));

    std::vector<std::uint32_t> palette(256, 0);
    palette[9] = 0xFFFF0000; // stored blue, green, red, alpha: opaque red
    const Bytes indexed = MakeVf(1, kVfIndexed, 'A', 1, {{2, 1, {9}}}, {}, palette);
    ASSERT_TRUE(DecodeVf(indexed, font));
    ASSERT_TRUE(RenderFontSheet(font, sheet));
    EXPECT_EQ(At(sheet, 4, kLineY + 1 + 8), (Rgb3{255, 0, 0}));
    // The palette closes the file: without its last byte the font is refused.
    EXPECT_FALSE(DecodeVf(Bytes(indexed.begin(), indexed.end() - 1), font));
}

TEST(VfFont, RefusesEveryTruncationAndGlyphsOutsideThePixels)
{
    for (std::uint32_t nVersion : {0u, 1u})
    {
        const Bytes good = Digits(nVersion);
        VfFont font;
        for (std::size_t n = 0; n < good.size(); ++n)
            EXPECT_FALSE(DecodeVf(Bytes(good.begin(), good.begin() + n), font)) << n;
        EXPECT_TRUE(font.glyphs.empty());
    }
    VfFont font;
    // Glyph '1' is 2 wide: its pixels run one byte past the data.
    EXPECT_FALSE(DecodeVf(
        MakeVf(1, kVfCoverage, '0', 2, {{4, 2, Bytes(4, 14)}, {3, 2, Bytes(3, 14)}}, {}), font));
    // 4444 glyphs take two bytes a pixel.
    EXPECT_FALSE(DecodeVf(MakeVf(1, kVfArgb4444, '0', 2, {{4, 2, Bytes(4, 0)}}, {}), font));
    EXPECT_FALSE(DecodeVf(MakeVf(1, 0x1234, '0', 2, {{4, 2, Bytes(4, 0)}}, {}), font));
    Bytes version2 = Digits(1);
    version2[4] = 2;
    EXPECT_FALSE(DecodeVf(version2, font));
    // More glyphs than a character can name.
    Bytes many = Digits(1);
    many[12] = 0x01;
    many[13] = 0x01;
    EXPECT_FALSE(DecodeVf(many, font));
}
