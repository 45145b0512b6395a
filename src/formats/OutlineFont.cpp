#include "OutlineFont.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_FONT_FORMATS_H
#include FT_OUTLINE_H

#include "FontSheet.h"
#include "PictureLimits.h"

namespace
{
// A sheet of a whole CJK font would be a poster; the first glyphs show what the font is.
constexpr FT_Long kMostSheetGlyphs = 4096;
// A glyph many times the em is a forged outline, not something to draw.
constexpr int kMostGlyphSide = 16 * kOutlineFontPixels;

class CFreeType
{
public:
    ~CFreeType()
    {
        if (m_face != nullptr)
            FT_Done_Face(m_face);
        if (m_library != nullptr)
            FT_Done_FreeType(m_library);
    }
    FT_Library m_library = nullptr;
    FT_Face m_face = nullptr;
};

// Glyph nIndex drawn into glyph, placed against a line whose baseline is nAscender below
// its top; false when the glyph cannot be drawn, which leaves it out.
bool DrawGlyph(FT_Face face, FT_UInt nIndex, int nAscender, SheetGlyph& glyph, int& nAdvance)
{
    if (FT_Load_Glyph(face, nIndex, FT_LOAD_DEFAULT | FT_LOAD_COLOR) != 0)
        return false;
    FT_GlyphSlot slot = face->glyph;
    nAdvance = static_cast<int>(
        std::clamp<FT_Pos>((slot->advance.x + 32) / 64, -kMostGlyphSide, kMostGlyphSide));
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE)
    {
        FT_BBox box;
        FT_Outline_Get_CBox(&slot->outline, &box);
        if (box.xMax - box.xMin > FT_Pos{kMostGlyphSide} * 64 ||
            box.yMax - box.yMin > FT_Pos{kMostGlyphSide} * 64)
            return false;
    }
    if (slot->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0)
        return false;
    const FT_Bitmap& b = slot->bitmap;
    if (b.width > static_cast<unsigned>(kMostGlyphSide) ||
        b.rows > static_cast<unsigned>(kMostGlyphSide) ||
        std::abs(slot->bitmap_left) > kMostGlyphSide || std::abs(slot->bitmap_top) > kMostGlyphSide)
        return false;
    glyph.nWidth = static_cast<std::int32_t>(b.width);
    glyph.nHeight = static_cast<std::int32_t>(b.rows);
    glyph.nLeft = slot->bitmap_left;
    glyph.nTop = nAscender - slot->bitmap_top;
    glyph.rgba.assign(std::size_t{b.width} * b.rows * 4, 0);
    for (unsigned y = 0; y < b.rows; ++y)
    {
        const unsigned char* row = b.buffer + static_cast<std::ptrdiff_t>(y) * b.pitch;
        for (unsigned x = 0; x < b.width; ++x)
        {
            std::uint8_t* o = &glyph.rgba[(std::size_t{y} * b.width + x) * 4];
            switch (b.pixel_mode)
            {
            case FT_PIXEL_MODE_GRAY:
                o[0] = o[1] = o[2] = 255;
                o[3] = static_cast<std::uint8_t>(b.num_grays > 1 ? row[x] * 255 / (b.num_grays - 1)
                                                                 : row[x]);
                break;
            case FT_PIXEL_MODE_MONO:
                o[0] = o[1] = o[2] = 255;
                o[3] = (row[x / 8] >> (7 - x % 8)) & 1 ? 255 : 0;
                break;
            case FT_PIXEL_MODE_BGRA:
            {
                // Stored premultiplied; the sheet takes straight colour.
                const unsigned char* p = row + x * 4;
                const unsigned a = p[3];
                o[3] = p[3];
                for (int k = 0; k < 3; ++k)
                    o[k] =
                        static_cast<std::uint8_t>(a == 0 ? 0 : std::min(255u, p[2 - k] * 255u / a));
                break;
            }
            default:
                return false;
            }
        }
    }
    return true;
}
} // namespace

Result RenderOutlineFontSheet(std::span<const std::uint8_t> entry, RgbaPicture& picture)
{
    CFreeType ft;
    if (FT_Init_FreeType(&ft.m_library) != 0)
        return Result::Fail("the font library could not start");
    if (entry.empty() || FT_New_Memory_Face(ft.m_library, entry.data(),
                                            static_cast<FT_Long>(entry.size()), 0, &ft.m_face) != 0)
        return Result::Fail("not a TrueType or OpenType font that can be read");
    FT_Face face = ft.m_face;
    const bool bSized = FT_IS_SCALABLE(face)
                            ? FT_Set_Pixel_Sizes(face, 0, kOutlineFontPixels) == 0
                            : face->num_fixed_sizes > 0 && FT_Select_Size(face, 0) == 0;
    if (!bSized)
        return Result::Fail("the font has no size it can be drawn at");
    const FT_Size_Metrics& metrics = face->size->metrics;
    int nAscender =
        static_cast<int>(std::clamp<FT_Pos>((metrics.ascender + 63) / 64, 0, kMostGlyphSide));
    int nDescender =
        static_cast<int>(std::clamp<FT_Pos>(-metrics.descender / 64, 0, kMostGlyphSide));
    if (nAscender + nDescender == 0)
        nAscender = kOutlineFontPixels;
    const int nLineHeight = nAscender + nDescender;

    std::vector<SheetGlyph> glyphs;
    std::int64_t nArea = 0;
    const FT_Long nGlyphs = std::min(face->num_glyphs, kMostSheetGlyphs);
    for (FT_Long i = 0; i < nGlyphs; ++i)
    {
        SheetGlyph g;
        int nAdvance = 0;
        if (!DrawGlyph(face, static_cast<FT_UInt>(i), nAscender, g, nAdvance))
            continue;
        nArea += std::int64_t{g.nWidth + 3} * nLineHeight;
        if (nArea > kMostPicturePixels)
            break;
        glyphs.push_back(std::move(g));
    }

    const std::string_view text = kFontSampleText;
    std::vector<SheetGlyph> sampleGlyphs(text.size());
    std::vector<SheetPlacement> sample;
    int nPen = 0;
    int nSampleWidth = 0;
    FT_UInt nPrevious = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
    {
        const FT_UInt nIndex = FT_Get_Char_Index(face, static_cast<unsigned char>(text[i]));
        FT_Vector kerning{0, 0};
        if (FT_HAS_KERNING(face) && nPrevious != 0 && nIndex != 0 &&
            FT_Get_Kerning(face, nPrevious, nIndex, FT_KERNING_DEFAULT, &kerning) == 0)
            nPen += static_cast<int>(
                std::clamp<FT_Pos>(kerning.x / 64, -kMostGlyphSide, kMostGlyphSide));
        int nAdvance = 0;
        if (DrawGlyph(face, nIndex, nAscender, sampleGlyphs[i], nAdvance))
        {
            sample.push_back({nPen, &sampleGlyphs[i]});
            nSampleWidth =
                std::max(nSampleWidth, nPen + sampleGlyphs[i].nLeft + sampleGlyphs[i].nWidth);
        }
        nPen += nAdvance;
        nSampleWidth = std::max(nSampleWidth, nPen);
        nPrevious = nIndex;
    }
    if (Result r = LayOutFontSheet(nLineHeight, nSampleWidth, sample, glyphs, picture); !r)
        return r;
    const char* szFormat = FT_Get_Font_Format(face);
    picture.strFormat = szFormat != nullptr ? szFormat : "";
    return Result::Ok();
}
