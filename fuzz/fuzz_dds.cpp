// Feeds arbitrary bytes to the DDS reader and decoder: the header first, then the first and
// last level of the first and last face, each checked against the size the header gives.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "DdsDecoder.h"

namespace
{
void DecodeAndCheck(std::span<const std::uint8_t> bytes, const DdsInfo& info, int nMip, int nFace)
{
    RgbaPicture picture;
    if (!DecodeDds(bytes, nMip, nFace, picture))
        __builtin_trap(); // the header was read whole, so every level it names must decode
    const auto nWidth = static_cast<std::size_t>(std::max(1, info.nWidth >> nMip));
    const auto nHeight = static_cast<std::size_t>(std::max(1, info.nHeight >> nMip));
    if (picture.nWidth != static_cast<std::int32_t>(nWidth) ||
        picture.nHeight != static_cast<std::int32_t>(nHeight) ||
        picture.rgba.size() != nWidth * nHeight * 4 || picture.strFormat != info.strFormat)
        __builtin_trap();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);
    DdsInfo info;
    if (!ReadDdsInfo(bytes, info))
        return 0;
    if (info.nWidth <= 0 || info.nHeight <= 0 || info.nMipCount < 1 || info.nFaceCount < 1)
        __builtin_trap();
    for (const int nFace : {0, info.nFaceCount - 1})
        for (const int nMip : {0, info.nMipCount - 1})
            DecodeAndCheck(bytes, info, nMip, nFace);
    RgbaPicture picture;
    if (DecodeDds(bytes, info.nMipCount, 0, picture) || DecodeDds(bytes, 0, -1, picture))
        __builtin_trap();
    return 0;
}
