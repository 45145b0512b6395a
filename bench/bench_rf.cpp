// Red Faction pictures from memory: BM_DecodeTgaRle/1024x1024x32 (a run-length HUD picture,
// the whole decode) and BM_DecodeVbmFrame/512x512 (a 1555 bitmap read, then its frame turned
// into RGBA).
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
            pixels.insert(pixels.end(), {v, static_cast<std::uint8_t>(v / 2), 80, v == 0 ? std::uint8_t{0} : std::uint8_t{255}});
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

void BM_DecodeVbmFrame(benchmark::State& state, int nWidth, int nHeight)
{
    VbmFields f;
    f.nWidth = static_cast<std::uint32_t>(nWidth);
    f.nHeight = static_cast<std::uint32_t>(nHeight);
    const auto vbm = MakeVbm(f, [](int, int, int x, int y)
                             { return static_cast<std::uint16_t>(Scene(x, y) * 131 + (x & 1) * 0x8000); });
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
BENCHMARK_CAPTURE(BM_DecodeVbmFrame, 512x512, 512, 512)->Unit(benchmark::kMillisecond);
