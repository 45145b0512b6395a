// Feeds arbitrary bytes to the VBM decoder and, when it takes them, draws the first and last
// frame at the first and last level both ways of reading the alpha bit.
#include <cstddef>
#include <cstdint>
#include <span>

#include "VbmDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    VbmAnimation vbm;
    if (!DecodeVbm(std::span<const std::uint8_t>(data, size), vbm))
        return 0;
    for (int nFrame : {0, vbm.nFrameCount - 1, vbm.nFrameCount})
        for (int nLevel : {0, vbm.nLevelCount - 1})
            for (bool bInverted : {false, true})
            {
                RgbaPicture picture;
                const bool bOk = VbmFrameRgba(vbm, nFrame, nLevel, bInverted, picture).IsOk();
                if (bOk != (nFrame < vbm.nFrameCount) ||
                    (bOk && picture.rgba.size() != static_cast<std::size_t>(picture.nWidth) *
                                                       static_cast<std::size_t>(picture.nHeight) *
                                                       4))
                    __builtin_trap();
            }
    for (std::int64_t nMs : {std::int64_t{1}, std::int64_t{999}, std::int64_t{1} << 50})
    {
        const int nFrame = VbmFrameAt(vbm, nMs);
        if (nFrame < 0 || nFrame >= vbm.nFrameCount)
            __builtin_trap();
    }
    return 0;
}
