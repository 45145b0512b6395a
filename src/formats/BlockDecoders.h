#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// Decoders of one 4x4 block of the DXT family. Each writes the 16 texels as red, green,
// blue, alpha bytes, row y of the block at pOut + y * nStride, so a block lands straight in
// the rows of the picture.

constexpr std::size_t kBc1BlockBytes = 8;
constexpr std::size_t kBc2BlockBytes = 16;
constexpr std::size_t kBc3BlockBytes = 16;

// DXT1 / BC1: two 5:6:5 colours; colour0 <= colour1 selects three colours and transparent
// black.
void DecodeBc1Block(std::span<const std::uint8_t, kBc1BlockBytes> block, std::uint8_t* pOut,
                    std::size_t nStride);
// DXT3 / BC2: 4-bit alpha per texel, then a colour block always read with four colours.
void DecodeBc2Block(std::span<const std::uint8_t, kBc2BlockBytes> block, std::uint8_t* pOut,
                    std::size_t nStride);
// DXT5 / BC3: two alpha endpoints with 3-bit indices (8 interpolated values, or 6 plus 0
// and 255), then a colour block always read with four colours.
void DecodeBc3Block(std::span<const std::uint8_t, kBc3BlockBytes> block, std::uint8_t* pOut,
                    std::size_t nStride);
