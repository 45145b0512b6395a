#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

struct PaletteEntry
{
    std::uint8_t byRed = 0;
    std::uint8_t byGreen = 0;
    std::uint8_t byBlue = 0;
};

using Palette = std::array<PaletteEntry, 256>;

// A decoded picture laid out as the preview pane holds it: nHeight rows of
// PictureStride(nWidth, nBitsPerPixel) bytes. 8-bit rows run from the top and index the
// palette; 24- and 32-bit rows run from the bottom and hold blue, green, red (and a fourth
// byte), as stored in a TGA file.
struct DecodedPicture
{
    std::int32_t nWidth = 0;
    std::int32_t nHeight = 0;
    std::int32_t nBitsPerPixel = 0;
    Palette palette{};
    std::vector<std::uint8_t> pixels;
};

// nValue when it is a multiple of nMultiple, else the next larger multiple.
std::int64_t RoundUp(std::int64_t nValue, std::int64_t nMultiple);

// Bytes of one pixel row, padded to a multiple of 4.
std::size_t PictureStride(std::int32_t nWidth, std::int32_t nBitsPerPixel);

// What the pane shows of the picture: red, green, blue triplets, rows from the top, no
// padding. Empty for a depth other than 8, 24 or 32.
std::vector<std::uint8_t> PictureToRgb(const DecodedPicture& picture);
