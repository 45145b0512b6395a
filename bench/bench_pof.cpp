// The POF reader and renderer alone, from memory, on a generated ship of 10 000 polygons:
// BM_ParsePof (target 5 ms) and BM_RenderPof/512x512 (target 30 ms), textured.
#include <benchmark/benchmark.h>

#include <vector>

#include "DdsBuilder.h"
#include "DdsDecoder.h"
#include "PofBuilder.h"
#include "PofModel.h"
#include "PofRenderer.h"

namespace
{
constexpr int kPolygons = 10000;

const std::vector<unsigned char>& Ship()
{
    static const std::vector<unsigned char> ship = MakeShipPof(kPolygons, "hull");
    return ship;
}

void BM_ParsePof(benchmark::State& state)
{
    PofModel model;
    for (auto _ : state)
    {
        if (!ParsePof(Ship(), model))
            state.SkipWithError("the ship does not parse");
        benchmark::DoNotOptimize(model.subobjects.data());
    }
    state.counters["polygons"] = static_cast<double>(model.ShownPolygonCount());
}
BENCHMARK(BM_ParsePof)->Unit(benchmark::kMillisecond);

void BM_RenderPof(benchmark::State& state, int nSide)
{
    PofModel model;
    if (!ParsePof(Ship(), model))
        state.SkipWithError("the ship does not parse");
    const PofMesh mesh = BuildPofMesh(model);
    std::vector<RgbaPicture> textures(1);
    const auto colour = [](double u, double v) {
        return Rgb{static_cast<std::uint8_t>(u * 255), static_cast<std::uint8_t>(v * 255), 90};
    };
    DecodeDds(MakeDxt1Texture(512, colour), 0, 0, textures[0]);
    RgbaPicture picture;
    for (auto _ : state)
    {
        RenderPof(mesh, textures, PofView(), nSide, nSide, picture);
        benchmark::DoNotOptimize(picture.rgba.data());
    }
}
BENCHMARK_CAPTURE(BM_RenderPof, 512x512, 512)->Unit(benchmark::kMillisecond);
} // namespace
