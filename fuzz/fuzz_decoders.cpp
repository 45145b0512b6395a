// Feeds arbitrary bytes to one picture decoder, chosen when building (FUZZ_PCX, FUZZ_TGA
// or FUZZ_ANI), and checks that what it built matches the size it reported.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "AniDecoder.h"
#include "PcxDecoder.h"
#include "TgaDecoder.h"

namespace
{
void CheckPicture(const DecodedPicture& picture)
{
    const std::size_t nStride = PictureStride(picture.nWidth, picture.nBitsPerPixel);
    if (picture.nWidth <= 0 || picture.nHeight <= 0 ||
        picture.pixels.size() != nStride * static_cast<std::size_t>(picture.nHeight))
        __builtin_trap();
    const std::size_t nPixels =
        static_cast<std::size_t>(picture.nWidth) * static_cast<std::size_t>(picture.nHeight);
    if (PictureToRgb(picture).size() != nPixels * 3)
        __builtin_trap();
}

// The player's way through the frames: each from where the last one ended, then back to
// the first. A few rounds are enough to reach every path.
void PlayAni(std::span<const std::uint8_t> bytes)
{
    AniHeader header;
    if (!ParseAniHeader(bytes, static_cast<std::int64_t>(bytes.size()), header))
        return;
    std::vector<std::uint8_t> frame(PictureStride(header.nWidth, 8) *
                                    static_cast<std::size_t>(header.nHeight));
    std::size_t nPos = header.nFirstFrameOffset;
    const int nTicks = std::min(header.nFrameCount, 8) + 1;
    for (int nTick = 0, nFrame = 0; nTick < nTicks; ++nTick)
    {
        const std::span<const std::uint8_t> rest = bytes.subspan(std::min(nPos, bytes.size()));
        const std::size_t nCode =
            std::min(rest.size(), MostAniFrameBytes(header.nWidth, header.nHeight));
        const std::size_t nUsed = DecodeAniFrame(rest.first(nCode), header.nWidth, header.nHeight,
                                                 header.byPackerCode, frame);
        if (nUsed > nCode)
            __builtin_trap();
        nPos += nUsed;
        if (++nFrame >= header.nFrameCount)
        {
            nFrame = 0;
            nPos = header.nFirstFrameOffset;
        }
    }
    DecodedPicture picture;
    if (DecodeAniPicture(bytes, std::min(header.nFrameCount, 3), picture))
        CheckPicture(picture);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);
#if defined(FUZZ_ANI)
    PlayAni(bytes);
#else
    DecodedPicture picture;
#if defined(FUZZ_PCX)
    const Result result = DecodePcx(bytes, picture);
#else
    const Result result = DecodeTga(bytes, picture);
#endif
    if (result)
        CheckPicture(picture);
#endif
    return 0;
}
