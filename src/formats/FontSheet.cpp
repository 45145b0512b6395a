#include "FontSheet.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "PictureLimits.h"

namespace
{
constexpr int kMargin = 4;
constexpr int kGlyphGap = 3;
constexpr int kMinSheetWidth = 128;

// Glyph g with its top-left corner at x, y, blended over the ground; what falls outside the
// picture is left out.
void Draw(RgbaPicture& picture, const SheetGlyph& g, std::int64_t x, std::int64_t y)
{
    for (std::int64_t gy = 0; gy < g.nHeight; ++gy)
        for (std::int64_t gx = 0; gx < g.nWidth; ++gx)
        {
            const std::int64_t px = x + gx;
            const std::int64_t py = y + gy;
            if (px < 0 || py < 0 || px >= picture.nWidth || py >= picture.nHeight)
                continue;
            const std::uint8_t* c = &g.rgba[static_cast<std::size_t>(gy * g.nWidth + gx) * 4];
            std::uint8_t* o = &picture.rgba[static_cast<std::size_t>(py * picture.nWidth + px) * 4];
            for (int k = 0; k < 3; ++k)
                o[k] = static_cast<std::uint8_t>((c[k] * c[3] + o[k] * (255 - c[3]) + 127) / 255);
        }
}
} // namespace

Result LayOutFontSheet(std::int32_t nLineHeight, std::int32_t nSampleWidth,
                       const std::vector<SheetPlacement>& sample,
                       const std::vector<SheetGlyph>& glyphs, RgbaPicture& picture)
{
    std::int64_t nWidestGlyph = 0;
    for (const SheetGlyph& g : glyphs)
        nWidestGlyph = std::max<std::int64_t>(nWidestGlyph, g.nWidth);
    const std::int64_t nWidth = std::max<std::int64_t>(
        {kMinSheetWidth, std::int64_t{nSampleWidth} + 2 * kMargin, nWidestGlyph + 2 * kMargin});

    // Glyph rows below the sample, each glyph in a cell as wide as itself.
    std::vector<std::pair<std::int64_t, std::int64_t>> places;
    std::int64_t x = kMargin;
    std::int64_t y = kMargin + std::int64_t{nLineHeight} + 2 * kMargin;
    for (const SheetGlyph& g : glyphs)
    {
        if (x > kMargin && x + g.nWidth > nWidth - kMargin)
        {
            x = kMargin;
            y += nLineHeight + kGlyphGap;
        }
        places.emplace_back(x, y);
        x += g.nWidth + kGlyphGap;
    }
    const std::int64_t nHeight = y + nLineHeight + kMargin;
    if (!IsPictureSizeAllowed(nWidth, nHeight))
        return Result::Fail("the font sheet would be " + std::to_string(nWidth) + "x" +
                            std::to_string(nHeight) + " pixels");

    RgbaPicture out;
    out.nWidth = static_cast<std::int32_t>(nWidth);
    out.nHeight = static_cast<std::int32_t>(nHeight);
    const std::size_t nPixels = static_cast<std::size_t>(nWidth * nHeight);
    out.rgba.resize(nPixels * 4);
    for (std::size_t i = 0; i < nPixels; ++i)
    {
        std::memcpy(&out.rgba[i * 4], kFontSheetBackground.data(), 3);
        out.rgba[i * 4 + 3] = 255;
    }
    for (const SheetPlacement& p : sample)
        if (p.pGlyph != nullptr)
            Draw(out, *p.pGlyph, kMargin + std::int64_t{p.nPen} + p.pGlyph->nLeft,
                 kMargin + p.pGlyph->nTop);
    for (std::size_t i = 0; i < glyphs.size(); ++i)
        Draw(out, glyphs[i], places[i].first, places[i].second + glyphs[i].nTop);
    picture = std::move(out);
    return Result::Ok();
}
