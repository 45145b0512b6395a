// Red Faction pictures from memory: BM_DecodeTgaRle/1024x1024x32 (a run-length HUD picture,
// the whole decode), BM_VbmFrame/512x512 (one frame of a read 1555 animation turned into RGBA,
// as each frame is shown) and BM_DecodeVbm/512x512 (the file read, then its first frame).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "RfBuilders.h"
#include "TgaDecoder.h"
#include "VbmDecoder.h"

namespace
{
// Soft shapes with flat stretches and transparent holes, as HUD art has.
std::uint8_t Scene(int x, int y)
{
    const double v = std::sin(x / 37.0) + std::sin(y / 23.0) + std::sin((x + y) / 51.0);
    const auto level = static_cast<std::uint8_t>((v + 3.0) / 6.0 * 250.0);
    return (x / 16 + y / 16) % 5 == 0 ? 0 : level;
}

void BM_DecodeTgaRle(benchmark::State& state, int nWidth, int nHeight)
{
    std::vector<unsigned char> pixels;
    for (int y = 0; y < nHeight; ++y)
        for (int x = 0; x < nWidth; ++x)
        {
            const std::uint8_t v = Scene(x, y);
            pixels.insert(pixels.end(), {v, static_cast<std::uint8_t>(v / 2), 80,
                                         v == 0 ? std::uint8_t{0} : std::uint8_t{255}});
        }
    TgaFields f;
    f.byImageType = 10;
    f.nWidth = static_cast<std::uint16_t>(nWidth);
    f.nHeight = static_cast<std::uint16_t>(nHeight);
    f.byDepth = 32;
    f.byDescriptor = 8;
    const auto tga = MakeTgaFile(f, {}, {}, PackTgaRuns(pixels, 4));
    for (auto _ : state)
    {
        DecodedPicture picture;
        if (!DecodeTga(tga, picture))
            state.SkipWithError("not decoded");
        benchmark::DoNotOptimize(picture.pixels.data());
    }
    state.counters["bytes"] = static_cast<double>(tga.size());
}

std::vector<unsigned char> Vbm(int nWidth, int nHeight)
{
    VbmFields f;
    f.nWidth = static_cast<std::uint32_t>(nWidth);
    f.nHeight = static_cast<std::uint32_t>(nHeight);
    f.nFrames = 2;
    return MakeVbm(
        f, [](int nFrame, int, int x, int y)
        { return static_cast<std::uint16_t>(Scene(x + nFrame, y) * 131 + (x & 1) * 0x8000); });
}

void BM_VbmFrame(benchmark::State& state, int nWidth, int nHeight)
{
    VbmAnimation animation;
    if (!DecodeVbm(Vbm(nWidth, nHeight), animation))
        state.SkipWithError("not read");
    int nFrame = 0;
    for (auto _ : state)
    {
        RgbaPicture picture;
        if (!VbmFrameRgba(animation, nFrame, 0, true, picture))
            state.SkipWithError("not decoded");
        nFrame = 1 - nFrame;
        benchmark::DoNotOptimize(picture.rgba.data());
    }
}

void BM_DecodeVbm(benchmark::State& state, int nWidth, int nHeight)
{
    const auto vbm = Vbm(nWidth, nHeight);
    for (auto _ : state)
    {
        VbmAnimation animation;
        RgbaPicture picture;
        if (!DecodeVbm(vbm, animation) || !VbmFrameRgba(animation, 0, 0, true, picture))
            state.SkipWithError("not decoded");
        benchmark::DoNotOptimize(picture.rgba.data());
    }
}
} // namespace

BENCHMARK_CAPTURE(BM_DecodeTgaRle, 1024x1024x32, 1024, 1024)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_VbmFrame, 512x512, 512, 512)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DecodeVbm, 512x512, 512, 512)->Unit(benchmark::kMillisecond);
