// Feeds arbitrary bytes to the PNG decoder and checks that a picture it accepts has the
// pixels its size says.
#include <cstddef>
#include <cstdint>
#include <span>

#include "PngDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    RgbaPicture picture;
    if (DecodePng(std::span<const std::uint8_t>(data, size), picture) &&
        (picture.nWidth <= 0 || picture.nHeight <= 0 ||
         picture.rgba.size() != static_cast<std::size_t>(picture.nWidth) *
                                    static_cast<std::size_t>(picture.nHeight) * 4))
        __builtin_trap();
    return 0;
}
