// The DDS decoder alone, from memory, mip 0 of textures the size mods ship:
// BM_DecodeDds/2048x2048/DXT1, /DXT5, /BC7.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "DdsBuilder.h"
#include "DdsDecoder.h"

namespace
{
constexpr int kSide = 2048;
constexpr int kBlocks = kSide / 4;

// A smooth 0..1 field with some detail, sampled per block.
double Field(int bx, int by, double dPhase)
{
    return (std::sin(bx / 9.0 + dPhase) + std::sin(by / 13.0) + std::sin((bx + by) / 29.0) + 3) / 6;
}

std::uint16_t Rgb565(double r, double g, double b)
{
    return static_cast<std::uint16_t>(static_cast<int>(r * 31) << 11 |
                                      static_cast<int>(g * 63) << 5 | static_cast<int>(b * 31));
}

// Endpoints that follow the field and indices that vary texel by texel, as an encoder leaves
// them; one block in eight of DXT1 in its three-colour mode, as cut-out edges are.
void ColourBlock(std::vector<unsigned char>& out, int bx, int by, bool bAllowThreeColour,
                 std::mt19937& random)
{
    const double v = Field(bx, by, 0);
    std::uint16_t c0 = Rgb565(v, v * 0.8, 1 - v);
    std::uint16_t c1 = Rgb565(v * 0.5, v * 0.3, (1 - v) * 0.6);
    if (c0 == c1)
        ++c0;
    if ((c0 < c1) != (bAllowThreeColour && (bx + by) % 8 == 0))
        std::swap(c0, c1);
    const std::uint32_t nIndices = static_cast<std::uint32_t>(random());
    for (unsigned n : {unsigned{c0}, unsigned{c0} >> 8, unsigned{c1}, unsigned{c1} >> 8})
        out.push_back(static_cast<unsigned char>(n));
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<unsigned char>(nIndices >> (8 * i)));
}

std::vector<unsigned char> Dxt1()
{
    std::mt19937 random(1);
    std::vector<unsigned char> data;
    for (int by = 0; by < kBlocks; ++by)
        for (int bx = 0; bx < kBlocks; ++bx)
            ColourBlock(data, bx, by, true, random);
    return MakeDds(DdsFourCc("DXT1", kSide, kSide), data);
}

std::vector<unsigned char> Dxt5()
{
    std::mt19937 random(2);
    std::vector<unsigned char> data;
    for (int by = 0; by < kBlocks; ++by)
        for (int bx = 0; bx < kBlocks; ++bx)
        {
            // Mostly eight-value alpha, the six-value mode where the field is low.
            const auto a = static_cast<unsigned>(Field(bx, by, 1) * 255);
            const bool bSix = a < 60;
            data.push_back(static_cast<unsigned char>(bSix ? a / 2 : a));
            data.push_back(static_cast<unsigned char>(bSix ? a : a / 2));
            const std::uint64_t nIndices = (std::uint64_t{random()} << 32) | random();
            for (int i = 0; i < 6; ++i)
                data.push_back(static_cast<unsigned char>(nIndices >> (8 * i)));
            ColourBlock(data, bx, by, false, random);
        }
    return MakeDds(DdsFourCc("DXT5", kSide, kSide), data);
}

// Every mode, weighted towards the ones encoders pick most (6, 1, 5, 3); the bits after the
// mode are random, which every mode reads as a valid block.
std::vector<unsigned char> Bc7()
{
    static constexpr int kModeMix[16] = {6, 6, 6, 6, 1, 1, 1, 5, 5, 3, 3, 4, 2, 0, 7, 7};
    std::mt19937 random(3);
    std::vector<unsigned char> data;
    for (int i = 0; i < kBlocks * kBlocks; ++i)
    {
        unsigned char block[16];
        for (unsigned char& b : block)
            b = static_cast<unsigned char>(random());
        const int nMode = kModeMix[random() % 16];
        block[0] = static_cast<unsigned char>((block[0] & ~((2u << nMode) - 1)) | (1u << nMode));
        data.insert(data.end(), block, block + 16);
    }
    return MakeDds(DdsDx10(kDxgiBc7Unorm, kSide, kSide), data);
}

void BM_DecodeDds(benchmark::State& state, std::vector<unsigned char> (*make)())
{
    const std::vector<unsigned char> dds = make();
    for (auto _ : state)
    {
        RgbaPicture picture;
        if (!DecodeDds(dds, 0, 0, picture))
            state.SkipWithError("not decoded");
        benchmark::DoNotOptimize(picture.rgba.data());
    }
    state.counters["bytes"] = static_cast<double>(dds.size());
}

using Maker = std::vector<unsigned char> (*)();

// Registered by name: the names read exactly as the reports quote them.
const bool kRegistered = []
{
    const struct
    {
        const char* pName;
        Maker make;
    } textures[] = {{"BM_DecodeDds/2048x2048/DXT1", Dxt1},
                    {"BM_DecodeDds/2048x2048/DXT5", Dxt5},
                    {"BM_DecodeDds/2048x2048/BC7", Bc7}};
    for (const auto& texture : textures)
        benchmark::RegisterBenchmark(texture.pName, BM_DecodeDds, texture.make)
            ->Unit(benchmark::kMillisecond);
    return true;
}();
} // namespace
