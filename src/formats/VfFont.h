#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "FontSheet.h"
#include "Result.h"
#include "RgbaPicture.h"

// Pixel formats of a VF font. Version 0 (FreeSpace, early Red Faction) is always coverage.
constexpr std::uint32_t kVfCoverage = 0x0000000F; // a byte a pixel, 0..14
constexpr std::uint32_t kVfArgb4444 = 0x0F0F0F0F; // two bytes a pixel
constexpr std::uint32_t kVfIndexed = 0xFFFFFFF0;  // a byte a pixel into the palette

struct VfGlyph
{
    std::int32_t nAdvance = 0; // how far the pen moves, before kerning
    std::int32_t nWidth = 0;
    std::size_t nPixelOffset = 0; // into VfFont::pixels, in bytes
};

struct VfKerning
{
    std::uint8_t byBefore = 0; // glyph indices
    std::uint8_t byAfter = 0;
    std::int8_t nOffset = 0; // added to the advance of byBefore
};

// A bitmap font of FreeSpace or Red Faction: glyph i draws character nFirstCharacter + i,
// nWidth x nHeight pixels, rows from the top.
struct VfFont
{
    std::uint32_t nVersion = 0;
    std::uint32_t nFormat = kVfCoverage;
    std::uint32_t nFirstCharacter = 0;
    std::int32_t nDefaultAdvance = 0; // for characters the font lacks
    std::int32_t nHeight = 0;
    std::vector<VfGlyph> glyphs;
    std::vector<VfKerning> kerning; // sorted by before, then after
    std::vector<std::uint8_t> pixels;
    std::array<std::uint8_t, 256 * 4> palette{}; // red, green, blue, alpha; indexed fonts only
};

// Reads a VFNT font of version 0 or 1. Every glyph's pixels must lie in the pixel data.
Result DecodeVf(std::span<const std::uint8_t> entry, VfFont& font);

// How far the pen moves after character ch when next follows (0 for none): the glyph's
// advance with the kerning of the pair, or the default advance for a character the font lacks.
int VfAdvance(const VfFont& font, unsigned char ch, unsigned char next);

// One opaque picture: the sample text set in the font with its kerning, and below it every
// glyph of the font in order, in rows. Coverage glyphs are drawn white.
Result RenderFontSheet(const VfFont& font, RgbaPicture& picture);
