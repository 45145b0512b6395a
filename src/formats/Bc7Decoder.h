#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

constexpr std::size_t kBc7BlockBytes = 16;

// One BC7 block, all eight modes, written as red, green, blue, alpha bytes with row y of the
// block at pOut + y * nStride. A block whose first byte is 0 names no mode and decodes to
// transparent black, as hardware returns it.
void DecodeBc7Block(std::span<const std::uint8_t, kBc7BlockBytes> block, std::uint8_t* pOut,
                    std::size_t nStride);
