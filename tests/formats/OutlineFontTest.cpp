#include <gtest/gtest.h>

#include <vector>

#include "FontSheet.h"
#include "OutlineFont.h"
#include "TtfBuilder.h"

namespace
{
// The first column of the sample line's middle row, from nFrom on, that is not ground.
int FirstInk(const RgbaPicture& p, int nFrom)
{
    const int y = 4 + kOutlineFontPixels / 2;
    for (int x = nFrom; x < p.nWidth; ++x)
        if (!std::equal(kFontSheetBackground.begin(), kFontSheetBackground.end(),
                        &p.rgba[(static_cast<std::size_t>(y) * p.nWidth + x) * 4]))
            return x;
    return -1;
}
} // namespace

TEST(OutlineFont, TheSampleLineTakesTheFontsKerning)
{
    // "T" and "h" are squares 400 units wide with an advance of 1000: 24 pixels to the em,
    // the pair kerned by -500 units moves "h" 12 pixels to the left.
    RgbaPicture plain;
    RgbaPicture kerned;
    ASSERT_TRUE(RenderOutlineFontSheet(MakeTtf("Th", 0), plain));
    ASSERT_TRUE(RenderOutlineFontSheet(MakeTtf("Th", -500), kerned));
    EXPECT_EQ(plain.strFormat, "TrueType");
    const int nT = FirstInk(plain, 0);
    ASSERT_GE(nT, 4);
    EXPECT_EQ(FirstInk(kerned, 0), nT);
    const int nH = FirstInk(plain, nT + 12);
    ASSERT_GT(nH, nT + 12);
    EXPECT_EQ(FirstInk(kerned, nT + 12), nH - 12);
    // Below the sample: the glyph rows, the empty glyph 0 first.
    EXPECT_GT(plain.nHeight, 2 * kOutlineFontPixels);

    EXPECT_FALSE(RenderOutlineFontSheet(std::vector<std::uint8_t>{'t', 'r', 'u', 'e'}, plain));
    const std::vector<std::uint8_t> font = MakeTtf("Th", 0);
    EXPECT_FALSE(
        RenderOutlineFontSheet(std::vector<std::uint8_t>(font.begin(), font.begin() + 40), plain));
}
