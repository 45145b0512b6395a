// The picture decoders alone, from memory: BM_DecodePcx/1024x768, BM_DecodeTga/512x512x32,
// BM_DecodeAniFrame/512x512.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>

#include "AniDecoder.h"
#include "MediaBuilders.h"
#include "PcxDecoder.h"
#include "TgaDecoder.h"

namespace
{
// Soft shapes with flat stretches, as game pictures have: runs and single pixels mixed.
std::uint8_t Scene(int x, int y)
{
    const double v = std::sin(x / 37.0) + std::sin(y / 23.0) + std::sin((x + y) / 51.0);
    const auto level = static_cast<std::uint8_t>((v + 3.0) / 6.0 * 250.0);
    return (x / 16 + y / 16) % 5 == 0 ? 0 : level;
}

std::array<Rgb, 256> Palette()
{
    std::array<Rgb, 256> palette{};
    for (int i = 0; i < 256; ++i)
        palette[i] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i / 2), 40};
    return palette;
}

void BM_DecodePcx(benchmark::State& state, int nWidth, int nHeight)
{
    const auto pcx = MakePcx8(nWidth, nHeight, Scene, Palette());
    for (auto _ : state)
    {
        DecodedPicture picture;
        if (!DecodePcx(pcx, picture))
            state.SkipWithError("not decoded");
        benchmark::DoNotOptimize(picture.pixels.data());
    }
    state.counters["bytes"] = static_cast<double>(pcx.size());
}

void BM_DecodeTga(benchmark::State& state, int nWidth, int nHeight, int nDepth)
{
    const auto tga = MakeTga(nWidth, nHeight, nDepth, false,
                             [](int x, int y)
                             {
                                 const std::uint8_t v = Scene(x, y);
                                 return Rgb{v, static_cast<std::uint8_t>(x), 80};
                             });
    for (auto _ : state)
    {
        DecodedPicture picture;
        if (!DecodeTga(tga, picture))
            state.SkipWithError("not decoded");
        benchmark::DoNotOptimize(picture.pixels.data());
    }
}

// A key frame: every pixel coded, runs through the packer code.
void BM_DecodeAniFrame(benchmark::State& state, int nWidth, int nHeight)
{
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(nWidth) * nHeight);
    for (int y = 0; y < nHeight; ++y)
        for (int x = 0; x < nWidth; ++x)
            pixels[static_cast<std::size_t>(y) * nWidth + x] = Scene(x, y);
    const auto code = EncodeAniFrame(1, pixels, 0xEE);
    std::vector<std::uint8_t> frame(PictureStride(nWidth, 8) * static_cast<std::size_t>(nHeight));
    for (auto _ : state)
    {
        if (DecodeAniFrame(code, nWidth, nHeight, 0xEE, frame) != code.size())
            state.SkipWithError("not decoded whole");
        benchmark::DoNotOptimize(frame.data());
    }
    state.counters["bytes"] = static_cast<double>(code.size());
}
} // namespace

BENCHMARK_CAPTURE(BM_DecodePcx, 1024x768, 1024, 768)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DecodeTga, 512x512x32, 512, 512, 32)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DecodeAniFrame, 512x512, 512, 512)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
