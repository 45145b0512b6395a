#include "VfFont.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "ByteFields.h"
#include "CByteReader.h"
#include "PictureLimits.h"

namespace
{
// Character codes are bytes and kerning names glyphs by a byte.
constexpr std::uint32_t kMostGlyphs = 256;
constexpr std::uint32_t kMostGlyphSide = 4096;

std::size_t PixelBytes(std::uint32_t nFormat)
{
    return nFormat == kVfArgb4444 ? 2 : 1;
}

// Red, green, blue, alpha of pixel i of glyph g.
void GlyphPixel(const VfFont& font, const VfGlyph& g, std::size_t i, std::uint8_t* out)
{
    const std::uint8_t* p = font.pixels.data() + g.nPixelOffset + i * PixelBytes(font.nFormat);
    if (font.nFormat == kVfArgb4444)
    {
        const unsigned v = p[0] | (p[1] << 8);
        out[0] = static_cast<std::uint8_t>(((v >> 8) & 15) * 17);
        out[1] = static_cast<std::uint8_t>(((v >> 4) & 15) * 17);
        out[2] = static_cast<std::uint8_t>((v & 15) * 17);
        out[3] = static_cast<std::uint8_t>((v >> 12) * 17);
    }
    else if (font.nFormat == kVfIndexed)
    {
        std::memcpy(out, font.palette.data() + std::size_t{p[0]} * 4, 4);
    }
    else
    {
        // 14 is full coverage; 15 is never used by the games' fonts.
        out[0] = out[1] = out[2] = 255;
        out[3] = static_cast<std::uint8_t>(std::min<unsigned>(p[0], 14) * 255 / 14);
    }
}

const VfGlyph* GlyphOf(const VfFont& font, unsigned char ch)
{
    if (ch < font.nFirstCharacter || ch - font.nFirstCharacter >= font.glyphs.size())
        return nullptr;
    return &font.glyphs[ch - font.nFirstCharacter];
}
} // namespace

Result DecodeVf(std::span<const std::uint8_t> entry, VfFont& font)
{
    if (entry.size() < 4 || std::memcmp(entry.data(), "VFNT", 4) != 0)
        return Result::Fail("not a VF font (no VFNT signature)");
    CByteReader reader(entry);
    reader.Skip(4);
    VfFont out;
    std::uint32_t nGlyphs = 0, nDefault = 0, nHeight = 0, nKerning = 0, nKernBytes = 0,
                  nGlyphBytes = 0, nPixelBytes = 0;
    bool bHeader = ReadUInt32(reader, out.nVersion);
    if (bHeader && out.nVersion > 1)
        return Result::Fail("the VF font version is " + std::to_string(out.nVersion) +
                            "; 0 and 1 are shown");
    if (bHeader && out.nVersion == 1)
        bHeader = ReadUInt32(reader, out.nFormat);
    bHeader = bHeader && ReadUInt32(reader, nGlyphs) && ReadUInt32(reader, out.nFirstCharacter) &&
              ReadUInt32(reader, nDefault) && ReadUInt32(reader, nHeight) &&
              ReadUInt32(reader, nKerning);
    if (bHeader && out.nVersion == 0)
        bHeader = ReadUInt32(reader, nKernBytes) && ReadUInt32(reader, nGlyphBytes);
    if (!bHeader || !ReadUInt32(reader, nPixelBytes))
        return Result::Fail("the VF font header is incomplete");
    if (out.nFormat != kVfCoverage && out.nFormat != kVfArgb4444 && out.nFormat != kVfIndexed)
        return Result::Fail("the VF font pixel format is unknown");
    if (nGlyphs > kMostGlyphs)
        return Result::Fail("the VF font has " + std::to_string(nGlyphs) + " glyphs; at most " +
                            std::to_string(kMostGlyphs) + " can be reached by a character");
    if (nHeight > kMostGlyphSide)
        return Result::Fail("the VF font is " + std::to_string(nHeight) + " pixels high");
    // Version 0 names the sizes of its tables, and the games read them by those sizes.
    if (out.nVersion == 1)
    {
        if (nKerning > reader.Remaining() / 3)
            return Result::Fail("the VF font kerning table ends early");
        nKernBytes = nKerning * 3;
        nGlyphBytes = nGlyphs * 16;
    }
    const bool bTables = nKerning <= reader.Remaining() / 3 &&
                         nKernBytes >= std::uint64_t{nKerning} * 3 && nGlyphBytes >= nGlyphs * 16;
    if (!bTables || reader.Remaining() < nKernBytes)
        return Result::Fail("the VF font kerning table ends early");
    out.nDefaultAdvance =
        static_cast<std::int32_t>(std::min<std::uint32_t>(nDefault, kMostGlyphSide));
    out.nHeight = static_cast<std::int32_t>(nHeight);

    CByteReader kerning(entry.subspan(reader.Position(), nKernBytes));
    reader.Skip(nKernBytes);
    for (std::uint32_t i = 0; i < nKerning; ++i)
    {
        VfKerning k;
        std::uint8_t byOffset = 0;
        kerning.ReadUInt8(k.byBefore);
        kerning.ReadUInt8(k.byAfter);
        kerning.ReadUInt8(byOffset);
        k.nOffset = static_cast<std::int8_t>(byOffset);
        out.kerning.push_back(k);
    }
    std::stable_sort(out.kerning.begin(), out.kerning.end(),
                     [](const VfKerning& a, const VfKerning& b) {
                         return a.byBefore != b.byBefore ? a.byBefore < b.byBefore
                                                         : a.byAfter < b.byAfter;
                     });

    if (reader.Remaining() < nGlyphBytes)
        return Result::Fail("the VF font glyph table ends early");
    CByteReader table(entry.subspan(reader.Position(), nGlyphBytes));
    reader.Skip(nGlyphBytes);
    if (reader.Remaining() < nPixelBytes)
        return Result::Fail("the VF font pixel data ends early");
    const std::span<const std::uint8_t> pixels = entry.subspan(reader.Position(), nPixelBytes);
    reader.Skip(nPixelBytes);
    if (out.nFormat == kVfIndexed)
    {
        if (reader.Remaining() < out.palette.size())
            return Result::Fail("the VF font palette ends early");
        const std::uint8_t* p = entry.data() + reader.Position();
        for (std::size_t i = 0; i < 256; ++i)
        {
            // Stored blue, green, red, alpha.
            out.palette[i * 4] = p[i * 4 + 2];
            out.palette[i * 4 + 1] = p[i * 4 + 1];
            out.palette[i * 4 + 2] = p[i * 4];
            out.palette[i * 4 + 3] = p[i * 4 + 3];
        }
    }

    const std::size_t nBytesPerPixel = PixelBytes(out.nFormat);
    for (std::uint32_t i = 0; i < nGlyphs; ++i)
    {
        std::uint32_t nAdvance = 0, nWidth = 0, nOffset = 0;
        ReadUInt32(table, nAdvance);
        ReadUInt32(table, nWidth);
        ReadUInt32(table, nOffset);
        table.Skip(4);
        if (nWidth > kMostGlyphSide)
            return Result::Fail("glyph " + std::to_string(i) + " of the VF font is " +
                                std::to_string(nWidth) + " pixels wide");
        const std::uint64_t nBytes = std::uint64_t{nWidth} * nHeight * nBytesPerPixel;
        if (nOffset > nPixelBytes || nBytes > nPixelBytes - nOffset)
            return Result::Fail("glyph " + std::to_string(i) +
                                " of the VF font lies outside its pixel data");
        VfGlyph g;
        g.nAdvance = static_cast<std::int32_t>(std::min<std::uint32_t>(nAdvance, kMostGlyphSide));
        g.nWidth = static_cast<std::int32_t>(nWidth);
        g.nPixelOffset = nOffset;
        out.glyphs.push_back(g);
    }
    out.pixels.assign(pixels.begin(), pixels.end());
    font = std::move(out);
    return Result::Ok();
}

int VfAdvance(const VfFont& font, unsigned char ch, unsigned char next)
{
    const VfGlyph* g = GlyphOf(font, ch);
    if (g == nullptr)
        return font.nDefaultAdvance;
    int nAdvance = g->nAdvance;
    if (GlyphOf(font, next) == nullptr)
        return nAdvance;
    const VfKerning key{static_cast<std::uint8_t>(ch - font.nFirstCharacter),
                        static_cast<std::uint8_t>(next - font.nFirstCharacter), 0};
    const auto it = std::lower_bound(font.kerning.begin(), font.kerning.end(), key,
                                     [](const VfKerning& a, const VfKerning& b) {
                                         return a.byBefore != b.byBefore ? a.byBefore < b.byBefore
                                                                         : a.byAfter < b.byAfter;
                                     });
    if (it != font.kerning.end() && it->byBefore == key.byBefore && it->byAfter == key.byAfter)
        nAdvance += it->nOffset;
    return nAdvance;
}

Result RenderFontSheet(const VfFont& font, RgbaPicture& picture)
{
    // The sheet holds every glyph, so glyphs larger together than any picture cannot be shown.
    std::uint64_t nAllPixels = 0;
    for (const VfGlyph& g : font.glyphs)
        nAllPixels += std::uint64_t(g.nWidth) * std::uint64_t(font.nHeight);
    if (nAllPixels > std::uint64_t{kMostPicturePixels})
        return Result::Fail("the font's glyphs together are larger than any picture");
    std::vector<SheetGlyph> glyphs(font.glyphs.size());
    for (std::size_t i = 0; i < glyphs.size(); ++i)
    {
        const VfGlyph& g = font.glyphs[i];
        glyphs[i].nWidth = g.nWidth;
        glyphs[i].nHeight = font.nHeight;
        const std::size_t nPixels = static_cast<std::size_t>(g.nWidth) * font.nHeight;
        glyphs[i].rgba.resize(nPixels * 4);
        for (std::size_t p = 0; p < nPixels; ++p)
            GlyphPixel(font, g, p, &glyphs[i].rgba[p * 4]);
    }
    // The pen may move back with kerning; the line is as wide as its furthest pixel.
    const std::string_view text = kFontSampleText;
    std::vector<SheetPlacement> sample;
    int nPen = 0;
    int nSampleWidth = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
    {
        const auto ch = static_cast<unsigned char>(text[i]);
        const VfGlyph* g = GlyphOf(font, ch);
        if (g != nullptr)
            sample.push_back({nPen, &glyphs[static_cast<std::size_t>(g - font.glyphs.data())]});
        nSampleWidth = std::max(nSampleWidth, nPen + (g ? g->nWidth : 0));
        nPen +=
            VfAdvance(font, ch, i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0);
        nSampleWidth = std::max(nSampleWidth, nPen);
    }
    if (Result r = LayOutFontSheet(font.nHeight, nSampleWidth, sample, glyphs, picture); !r)
        return r;
    picture.strFormat = "VF";
    return Result::Ok();
}
