#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "Result.h"
#include "RgbaPicture.h"

// The line the font sheet opens with.
constexpr const char* kFontSampleText = "The quick brown fox jumps over the lazy dog 0123456789";

// The ground of the font sheet: the games draw their fonts over their own scenes, and white
// or grey glyphs need a dark ground to be seen.
constexpr std::array<std::uint8_t, 3> kFontSheetBackground = {0x20, 0x20, 0x28};

// One glyph as the font sheet draws it: straight red, green, blue, alpha rows from the top,
// nTop rows below the top of the line (negative: it reaches above the line).
struct SheetGlyph
{
    std::int32_t nWidth = 0;
    std::int32_t nHeight = 0;
    std::int32_t nLeft = 0; // from the pen, in the sample line
    std::int32_t nTop = 0;
    std::vector<std::uint8_t> rgba;
};

// Where the sample line puts a glyph: pen position from the line's start.
struct SheetPlacement
{
    std::int32_t nPen = 0;
    const SheetGlyph* pGlyph = nullptr;
};

// The picture every font kind shows: the sample line set as placed (nSampleWidth its extent),
// then every glyph in order in rows, each line nLineHeight high, over an opaque dark ground.
Result LayOutFontSheet(std::int32_t nLineHeight, std::int32_t nSampleWidth,
                       const std::vector<SheetPlacement>& sample,
                       const std::vector<SheetGlyph>& glyphs, RgbaPicture& picture);
