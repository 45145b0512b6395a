// Feeds arbitrary bytes to the VF font decoder and, when it takes them, sets every character
// pair and lays out the font sheet.
#include <cstddef>
#include <cstdint>
#include <span>

#include "VfFont.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    VfFont font;
    if (!DecodeVf(std::span<const std::uint8_t>(data, size), font))
        return 0;
    for (int a = 0; a < 256; a += 7)
        for (int b = 0; b < 256; ++b)
            VfAdvance(font, static_cast<unsigned char>(a), static_cast<unsigned char>(b));
    RgbaPicture sheet;
    if (RenderFontSheet(font, sheet) &&
        sheet.rgba.size() !=
            static_cast<std::size_t>(sheet.nWidth) * static_cast<std::size_t>(sheet.nHeight) * 4)
        __builtin_trap();
    return 0;
}
