#pragma once

#include <cstdint>
#include <span>

#include "Result.h"
#include "RgbaPicture.h"

// The size outline fonts are drawn at on their sheet, in pixels to the em.
constexpr int kOutlineFontPixels = 24;

// The font sheet of a TrueType or OpenType font (.ttf, .otf), drawn by FreeType: the sample
// line with the font's kerning, then its glyphs in glyph order. The command line's stand-in
// for what the desktop draws with Qt; glyphs too large for a sheet are left out.
Result RenderOutlineFontSheet(std::span<const std::uint8_t> entry, RgbaPicture& picture);
