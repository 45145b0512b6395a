#include "BlockDecoders.h"

#include <bit>
#include <cstring>

namespace
{
// Texels as four bytes in memory order, so a palette entry and an alpha value combine with an
// OR and land with one store. Built with shifts: bytes copied into a word stall the load that
// follows (store forwarding), which cost DXT5 half its speed.
constexpr bool kLittleEndian = std::endian::native == std::endian::little;

std::uint32_t PackedByte(unsigned nValue, int nByte)
{
    return std::uint32_t{nValue} << (8 * (kLittleEndian ? nByte : 3 - nByte));
}

std::uint32_t PackedRgb(unsigned r, unsigned g, unsigned b)
{
    return PackedByte(r, 0) | PackedByte(g, 1) | PackedByte(b, 2);
}

std::uint32_t PackedAlpha(unsigned nAlpha)
{
    return PackedByte(nAlpha, 3);
}

struct Rgb
{
    unsigned r, g, b;
};

Rgb Expand565(unsigned nPacked)
{
    const unsigned r = (nPacked >> 11) & 0x1F;
    const unsigned g = (nPacked >> 5) & 0x3F;
    const unsigned b = nPacked & 0x1F;
    return {(r << 3) | (r >> 2), (g << 2) | (g >> 4), (b << 3) | (b >> 2)};
}

// The colour half of every block, alpha bytes left 0 except for bOneBitAlpha (BC1), where they
// are 255 and the transparent entry is all 0. BC2 and BC3 never use the three-colour mode.
void ColourPalette(const std::uint8_t* pBlock, bool bOneBitAlpha, std::uint32_t (&palette)[4])
{
    const unsigned nColour0 = pBlock[0] | pBlock[1] << 8;
    const unsigned nColour1 = pBlock[2] | pBlock[3] << 8;
    const Rgb c0 = Expand565(nColour0);
    const Rgb c1 = Expand565(nColour1);
    const std::uint32_t nOpaque = bOneBitAlpha ? PackedAlpha(255) : 0;
    palette[0] = PackedRgb(c0.r, c0.g, c0.b) | nOpaque;
    palette[1] = PackedRgb(c1.r, c1.g, c1.b) | nOpaque;
    if (nColour0 > nColour1 || !bOneBitAlpha)
    {
        palette[2] =
            PackedRgb((2 * c0.r + c1.r) / 3, (2 * c0.g + c1.g) / 3, (2 * c0.b + c1.b) / 3) |
            nOpaque;
        palette[3] =
            PackedRgb((c0.r + 2 * c1.r) / 3, (c0.g + 2 * c1.g) / 3, (c0.b + 2 * c1.b) / 3) |
            nOpaque;
    }
    else
    {
        palette[2] = PackedRgb((c0.r + c1.r) / 2, (c0.g + c1.g) / 2, (c0.b + c1.b) / 2) | nOpaque;
        palette[3] = 0;
    }
}

std::uint32_t ColourIndices(const std::uint8_t* pBlock)
{
    return static_cast<std::uint32_t>(pBlock[4]) | static_cast<std::uint32_t>(pBlock[5]) << 8 |
           static_cast<std::uint32_t>(pBlock[6]) << 16 |
           static_cast<std::uint32_t>(pBlock[7]) << 24;
}

// Colour from the palette, alpha from alphaOf(i) (a PackedAlpha) for texel i.
template <typename AlphaOf>
void WriteTexels(const std::uint32_t (&palette)[4], std::uint32_t nIndices, AlphaOf alphaOf,
                 std::uint8_t* pOut, std::size_t nStride)
{
    for (int y = 0; y < 4; ++y)
    {
        std::uint8_t* pRow = pOut + static_cast<std::size_t>(y) * nStride;
        for (int x = 0; x < 4; ++x, nIndices >>= 2)
        {
            const std::uint32_t nTexel = palette[nIndices & 3] | alphaOf(4 * y + x);
            std::memcpy(pRow + 4 * x, &nTexel, 4);
        }
    }
}
} // namespace

void DecodeBc1Block(std::span<const std::uint8_t, kBc1BlockBytes> block, std::uint8_t* pOut,
                    std::size_t nStride)
{
    std::uint32_t palette[4];
    ColourPalette(block.data(), true, palette);
    WriteTexels(
        palette, ColourIndices(block.data()), [](int) { return std::uint32_t{0}; }, pOut, nStride);
}

void DecodeBc2Block(std::span<const std::uint8_t, kBc2BlockBytes> block, std::uint8_t* pOut,
                    std::size_t nStride)
{
    std::uint32_t palette[4];
    ColourPalette(block.data() + 8, false, palette);
    std::uint64_t nAlpha = 0;
    for (int i = 7; i >= 0; --i)
        nAlpha = nAlpha << 8 | block[i];
    WriteTexels(
        palette, ColourIndices(block.data() + 8),
        [nAlpha](int i)
        {
            const auto n = static_cast<unsigned>(nAlpha >> (4 * i)) & 0x0F;
            return PackedAlpha(n | n << 4);
        },
        pOut, nStride);
}

void DecodeBc3Block(std::span<const std::uint8_t, kBc3BlockBytes> block, std::uint8_t* pOut,
                    std::size_t nStride)
{
    std::uint32_t palette[4];
    ColourPalette(block.data() + 8, false, palette);
    const unsigned a0 = block[0];
    const unsigned a1 = block[1];
    std::uint32_t alpha[8] = {PackedAlpha(a0), PackedAlpha(a1)};
    if (a0 > a1)
    {
        for (unsigned i = 1; i < 7; ++i)
            alpha[i + 1] = PackedAlpha(((7 - i) * a0 + i * a1) / 7);
    }
    else
    {
        for (unsigned i = 1; i < 5; ++i)
            alpha[i + 1] = PackedAlpha(((5 - i) * a0 + i * a1) / 5);
        alpha[6] = PackedAlpha(0);
        alpha[7] = PackedAlpha(255);
    }
    std::uint64_t nIndices = 0;
    for (int i = 7; i >= 2; --i)
        nIndices = nIndices << 8 | block[i];
    WriteTexels(
        palette, ColourIndices(block.data() + 8),
        [&alpha, nIndices](int i) { return alpha[(nIndices >> (3 * i)) & 7]; }, pOut, nStride);
}
