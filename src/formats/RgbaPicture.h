#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A picture of the newer kinds (DDS, PNG, JPG) as every user of it takes it: rows from the
// top, four bytes a pixel (red, green, blue, alpha), no padding. strFormat names the coding
// for the caption ("DXT5", "BC7", "PNG").
struct RgbaPicture
{
    std::int32_t nWidth = 0;
    std::int32_t nHeight = 0;
    std::vector<std::uint8_t> rgba;
    std::string strFormat;
};
