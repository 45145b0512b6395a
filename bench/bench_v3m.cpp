// The Red Faction mesh reader and the model renderer, from memory, on a generated sphere of
// 10 000 triangles: BM_ParseV3m and BM_RenderV3m/512x512 (target 30 ms), textured.
#include <benchmark/benchmark.h>

#include <vector>

#include "PofRenderer.h"
#include "V3dMesh.h"
#include "V3mBuilder.h"

namespace
{
constexpr int kTriangles = 10000;

const std::vector<unsigned char>& Sphere()
{
    static const std::vector<unsigned char> sphere = MakeSphereV3m(kTriangles, "skin.tga");
    return sphere;
}

void BM_ParseV3m(benchmark::State& state)
{
    V3dMesh mesh;
    for (auto _ : state)
    {
        if (!ParseV3d(Sphere(), mesh))
            state.SkipWithError("the sphere does not parse");
        benchmark::DoNotOptimize(mesh.submeshes.data());
    }
    state.counters["triangles"] = static_cast<double>(mesh.ShownTriangleCount());
}
BENCHMARK(BM_ParseV3m)->Unit(benchmark::kMillisecond);

void BM_RenderV3m(benchmark::State& state, int nSide)
{
    V3dMesh mesh;
    if (!ParseV3d(Sphere(), mesh))
        state.SkipWithError("the sphere does not parse");
    const PofMesh drawn = BuildV3dMesh(mesh);
    // A 256x256 texture of gradients, the size of a real skin.
    std::vector<RgbaPicture> textures(1);
    textures[0].nWidth = textures[0].nHeight = 256;
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            textures[0].rgba.insert(textures[0].rgba.end(),
                                    {static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y),
                                     90, 255});
    RgbaPicture picture;
    for (auto _ : state)
    {
        RenderPof(drawn, textures, PofView(), nSide, nSide, picture);
        benchmark::DoNotOptimize(picture.rgba.data());
    }
    state.counters["triangles"] = static_cast<double>(mesh.ShownTriangleCount());
}
BENCHMARK_CAPTURE(BM_RenderV3m, 512x512, 512)->Unit(benchmark::kMillisecond);
} // namespace
