#include "Bc7Decoder.h"

#include <array>
#include <bit>
#include <cstring>
#include <utility>

namespace
{
struct ModeInfo
{
    int nSubsets;
    int nPartitionBits;
    int nRotationBits;
    int nIndexSelectionBits;
    int nColourBits;
    int nAlphaBits;
    int nEndpointPBits; // one per endpoint
    int nSharedPBits;   // one per subset
    int nIndexBits;
    int nIndex2Bits;
};

constexpr ModeInfo kModes[8] = {
    {3, 4, 0, 0, 4, 0, 1, 0, 3, 0}, {2, 6, 0, 0, 6, 0, 0, 1, 3, 0}, {3, 6, 0, 0, 5, 0, 0, 0, 2, 0},
    {2, 6, 0, 0, 7, 0, 1, 0, 2, 0}, {1, 0, 2, 1, 5, 6, 0, 0, 2, 3}, {1, 0, 2, 0, 7, 8, 0, 0, 2, 2},
    {1, 0, 0, 0, 7, 7, 1, 0, 4, 0}, {2, 6, 0, 0, 5, 5, 1, 0, 2, 0},
};

// Bit i: the subset of texel i (rows from the top, texels from the left).
constexpr std::uint16_t kPartitions2[64] = {
    0xCCCC, 0x8888, 0xEEEE, 0xECC8, 0xC880, 0xFEEC, 0xFEC8, 0xEC80, 0xC800, 0xFFEC, 0xFE80,
    0xE800, 0xFFE8, 0xFF00, 0xFFF0, 0xF000, 0xF710, 0x008E, 0x7100, 0x08CE, 0x008C, 0x7310,
    0x3100, 0x8CCE, 0x088C, 0x3110, 0x6666, 0x366C, 0x17E8, 0x0FF0, 0x718E, 0x399C, 0xAAAA,
    0xF0F0, 0x5A5A, 0x33CC, 0x3C3C, 0x55AA, 0x9696, 0xA55A, 0x73CE, 0x13C8, 0x324C, 0x3BDC,
    0x6996, 0xC33C, 0x9966, 0x0660, 0x0272, 0x04E4, 0x4E40, 0x2720, 0xC936, 0x936C, 0x39C6,
    0x639C, 0x9336, 0x9CC6, 0x817E, 0xE718, 0xCCF0, 0x0FCC, 0x7744, 0xEE22,
};

// Bits 2i and 2i+1: the subset of texel i.
constexpr std::uint32_t kPartitions3[64] = {
    0xAA685050, 0x6A5A5040, 0x5A5A4200, 0x5450A0A8, 0xA5A50000, 0xA0A05050, 0x5555A0A0, 0x5A5A5050,
    0xAA550000, 0xAA555500, 0xAAAA5500, 0x90909090, 0x94949494, 0xA4A4A4A4, 0xA9A59450, 0x2A0A4250,
    0xA5945040, 0x0A425054, 0xA5A5A500, 0x55A0A0A0, 0xA8A85454, 0x6A6A4040, 0xA4A45000, 0x1A1A0500,
    0x0050A4A4, 0xAAA59090, 0x14696914, 0x69691400, 0xA08585A0, 0xAA821414, 0x50A4A450, 0x6A5A0200,
    0xA9A58000, 0x5090A0A8, 0xA8A09050, 0x24242424, 0x00AA5500, 0x24924924, 0x24499224, 0x50A50A50,
    0x500AA550, 0xAAAA4444, 0x66660000, 0xA5A0A5A0, 0x50A050A0, 0x69286928, 0x44AAAA44, 0x66666600,
    0xAA444444, 0x54A854A8, 0x95809580, 0x96969600, 0xA85454A8, 0x80959580, 0xAA141414, 0x96960000,
    0xAAAA1414, 0xA05050A0, 0xA0A5A5A0, 0x96000000, 0x40804080, 0xA9A8A9A8, 0xAAAAAA44, 0x2A4A5254,
};

// The anchor texel of subset 1 (two subsets), and of subsets 1 and 2 (three subsets); subset
// 0 is anchored at texel 0. Partition 35 of two subsets anchors at 8, not at the 2 that some
// printed tables mark.
constexpr std::uint8_t kAnchors2[64] = {
    15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 2,  8, 2,  2, 8,
    8,  15, 2,  8,  2,  2,  8,  8,  2,  2,  15, 15, 6,  8,  2,  8,  15, 15, 2, 8,  2, 2,
    2,  15, 15, 6,  6,  2,  6,  8,  15, 15, 2,  2,  15, 15, 15, 15, 15, 2,  2, 15,
};
constexpr std::uint8_t kAnchors3Second[64] = {
    3,  3,  15, 15, 8, 3,  15, 15, 8,  8,  6, 6,  6, 5,  3, 3,  3,  3,  8,  15, 3,  3,
    6,  10, 5,  8,  8, 6,  8,  5,  15, 15, 8, 15, 3, 5,  6, 10, 8,  15, 15, 3,  15, 5,
    15, 15, 15, 15, 3, 15, 5,  5,  5,  8,  5, 10, 5, 10, 8, 13, 15, 12, 3,  3,
};
constexpr std::uint8_t kAnchors3Third[64] = {
    15, 8, 8, 3,  15, 15, 3,  8,  15, 15, 15, 15, 15, 15, 15, 8,  15, 8,  15, 3,  15, 8,
    15, 8, 3, 15, 6,  10, 15, 15, 10, 8,  15, 3,  15, 10, 10, 8,  9,  10, 6,  15, 8,  15,
    3,  6, 6, 8,  15, 3,  15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 3,  15, 15, 8,
};

// The two-subset table with two bits a texel, as the three-subset one.
constexpr std::array<std::uint32_t, 64> kPartitions2Wide = []
{
    std::array<std::uint32_t, 64> wide{};
    for (int p = 0; p < 64; ++p)
        for (int i = 0; i < 16; ++i)
            wide[p] |= static_cast<std::uint32_t>((kPartitions2[p] >> i) & 1) << (2 * i);
    return wide;
}();

constexpr std::uint8_t kWeights2[4] = {0, 21, 43, 64};
constexpr std::uint8_t kWeights3[8] = {0, 9, 18, 27, 37, 46, 55, 64};
constexpr std::uint8_t kWeights4[16] = {0,  4,  9,  13, 17, 21, 26, 30,
                                        34, 38, 43, 47, 51, 55, 60, 64};

const std::uint8_t* Weights(int nBits)
{
    return nBits == 2 ? kWeights2 : nBits == 3 ? kWeights3 : kWeights4;
}

// The fields of a block in the order they are stored, from bit 0 up.
class CBlockBits
{
public:
    explicit CBlockBits(const std::uint8_t* pBlock)
    {
        for (int i = 7; i >= 0; --i)
        {
            m_nLow = m_nLow << 8 | pBlock[i];
            m_nHigh = m_nHigh << 8 | pBlock[8 + i];
        }
    }

    // nBits is 0 to 8.
    unsigned Read(int nBits)
    {
        if (nBits == 0)
            return 0;
        const auto nValue = static_cast<unsigned>(m_nLow & ((1u << nBits) - 1));
        m_nLow = m_nLow >> nBits | m_nHigh << (64 - nBits);
        m_nHigh >>= nBits;
        return nValue;
    }

    // The next 64 bits, the next one lowest.
    std::uint64_t Peek() const { return m_nLow; }

    // nBits is 1 to 63.
    void Skip(int nBits)
    {
        m_nLow = m_nLow >> nBits | m_nHigh << (64 - nBits);
        m_nHigh >>= nBits;
    }

private:
    std::uint64_t m_nLow = 0;
    std::uint64_t m_nHigh = 0;
};

// nBits (5 to 8) moved to the top of a byte, its high bits repeated below them.
std::uint8_t Unquantize(unsigned nValue, int nBits)
{
    nValue <<= 8 - nBits;
    return static_cast<std::uint8_t>(nValue | nValue >> nBits);
}

// Red, green, blue and alpha in the low bytes of four 16-bit lanes: one multiply interpolates
// all four, none can carry into the next lane (64 * 255 + 32 < 65536).
constexpr std::uint64_t kLaneBytes = 0x00FF00FF00FF00FF;
constexpr std::uint64_t kLaneHalf = 0x0020002000200020;

// Both for single channels and for four lanes at once (nHalf 32 in each lane).
std::uint64_t Interpolate(std::uint64_t e0, std::uint64_t e1, std::uint64_t nWeight,
                          std::uint64_t nHalf = kLaneHalf)
{
    return ((64 - nWeight) * e0 + nWeight * e1 + nHalf) >> 6;
}

std::uint64_t Lanes(const unsigned (&channels)[4])
{
    return std::uint64_t{channels[0]} | std::uint64_t{channels[1]} << 16 |
           std::uint64_t{channels[2]} << 32 | std::uint64_t{channels[3]} << 48;
}

// 16 indices from the low bits of nBits, one bit shorter where nShortMask has texel i set.
void ReadIndices(std::uint64_t nBits, int nWidth, unsigned nShortMask, std::uint8_t (&indices)[16])
{
    for (int i = 0; i < 16; ++i)
    {
        const int n = nWidth - static_cast<int>((nShortMask >> i) & 1);
        indices[i] = static_cast<std::uint8_t>(nBits & ((1u << n) - 1));
        nBits >>= n;
    }
}
// The texel's four lanes as red, green, blue and alpha bytes.
void StoreLanes(std::uint64_t nTexel, std::uint8_t* pOut)
{
    if constexpr (std::endian::native == std::endian::little)
    {
        const std::uint64_t nPaired = nTexel | nTexel >> 8;
        const auto nPacked =
            static_cast<std::uint32_t>((nPaired & 0xFFFF) | (nPaired >> 16 & 0xFFFF0000));
        std::memcpy(pOut, &nPacked, 4);
    }
    else
    {
        for (int c = 0; c < 4; ++c)
            pOut[c] = static_cast<std::uint8_t>(nTexel >> (16 * c));
    }
}

template <int nMode> void DecodeMode(CBlockBits& bits, std::uint8_t* pOut, std::size_t nStride)
{
    constexpr ModeInfo mode = kModes[nMode];
    bits.Skip(nMode + 1);
    const unsigned nPartition = bits.Read(mode.nPartitionBits);
    const unsigned nRotation = bits.Read(mode.nRotationBits);
    const unsigned nIndexSelection = bits.Read(mode.nIndexSelectionBits);

    const int nEndpoints = 2 * mode.nSubsets;
    unsigned endpoints[6][4];
    for (int c = 0; c < 3; ++c)
        for (int i = 0; i < nEndpoints; ++i)
            endpoints[i][c] = bits.Read(mode.nColourBits);
    for (int i = 0; i < nEndpoints; ++i)
        endpoints[i][3] = bits.Read(mode.nAlphaBits);

    int nColourBits = mode.nColourBits;
    int nAlphaBits = mode.nAlphaBits;
    if constexpr (mode.nEndpointPBits != 0 || mode.nSharedPBits != 0)
    {
        unsigned pBits[6];
        for (int i = 0; i < nEndpoints; i += 2)
        {
            pBits[i] = bits.Read(1);
            pBits[i + 1] = mode.nSharedPBits != 0 ? pBits[i] : bits.Read(1);
        }
        for (int i = 0; i < nEndpoints; ++i)
            for (unsigned& nChannel : endpoints[i])
                nChannel = nChannel << 1 | pBits[i];
        ++nColourBits;
        if (nAlphaBits != 0)
            ++nAlphaBits;
    }
    std::uint64_t lanes[6];
    for (int i = 0; i < nEndpoints; ++i)
    {
        unsigned channels[4];
        for (int c = 0; c < 3; ++c)
            channels[c] = Unquantize(endpoints[i][c], nColourBits);
        channels[3] = nAlphaBits != 0 ? Unquantize(endpoints[i][3], nAlphaBits) : 255;
        lanes[i] = Lanes(channels);
    }

    std::uint32_t nSubsets = 0; // two bits a texel
    unsigned nAnchors = 1;      // texels whose index is stored one bit short, its top bit 0
    if constexpr (mode.nSubsets == 2)
    {
        nSubsets = kPartitions2Wide[nPartition];
        nAnchors |= 1u << kAnchors2[nPartition];
    }
    else if constexpr (mode.nSubsets == 3)
    {
        nSubsets = kPartitions3[nPartition];
        nAnchors |= 1u << kAnchors3Second[nPartition] | 1u << kAnchors3Third[nPartition];
    }

    // Every mode's primary indices fit in 63 bits, the secondary ones in 47.
    std::uint8_t indices[16];
    ReadIndices(bits.Peek(), mode.nIndexBits, nAnchors, indices);
    const std::uint8_t* pWeights = Weights(mode.nIndexBits);
    if constexpr (mode.nIndex2Bits == 0)
    {
        for (int y = 0; y < 4; ++y)
        {
            std::uint8_t* pRow = pOut + static_cast<std::size_t>(y) * nStride;
            for (int x = 0; x < 4; ++x, nSubsets >>= 2)
            {
                const unsigned nSubset = nSubsets & 3;
                const std::uint64_t nTexel = Interpolate(lanes[2 * nSubset], lanes[2 * nSubset + 1],
                                                         pWeights[indices[4 * y + x]]) &
                                             kLaneBytes;
                StoreLanes(nTexel, pRow + 4 * x);
            }
        }
    }
    else
    {
        // Modes 4 and 5: alpha has indices of its own; the selection bit swaps the two sets.
        bits.Skip(16 * mode.nIndexBits - 1);
        std::uint8_t indices2[16];
        ReadIndices(bits.Peek(), mode.nIndex2Bits, 1, indices2);
        const std::uint8_t* pColourIndices = nIndexSelection != 0 ? indices2 : indices;
        const std::uint8_t* pAlphaIndices = nIndexSelection != 0 ? indices : indices2;
        const std::uint8_t* pColourWeights =
            Weights(nIndexSelection != 0 ? mode.nIndex2Bits : mode.nIndexBits);
        const std::uint8_t* pAlphaWeights =
            Weights(nIndexSelection != 0 ? mode.nIndexBits : mode.nIndex2Bits);
        const std::uint64_t nAlpha0 = lanes[0] >> 48;
        const std::uint64_t nAlpha1 = lanes[1] >> 48;
        for (int y = 0; y < 4; ++y)
        {
            std::uint8_t* pRow = pOut + static_cast<std::size_t>(y) * nStride;
            for (int x = 0; x < 4; ++x)
            {
                const int i = 4 * y + x;
                const std::uint64_t nColour =
                    Interpolate(lanes[0], lanes[1], pColourWeights[pColourIndices[i]]) & kLaneBytes;
                std::uint8_t texel[4];
                for (int c = 0; c < 3; ++c)
                    texel[c] = static_cast<std::uint8_t>(nColour >> (16 * c));
                texel[3] = static_cast<std::uint8_t>(
                    Interpolate(nAlpha0, nAlpha1, pAlphaWeights[pAlphaIndices[i]], 32));
                if (nRotation != 0)
                    std::swap(texel[3], texel[nRotation - 1]);
                std::memcpy(pRow + 4 * x, texel, 4);
            }
        }
    }
}
} // namespace

void DecodeBc7Block(std::span<const std::uint8_t, kBc7BlockBytes> block, std::uint8_t* pOut,
                    std::size_t nStride)
{
    if (block[0] == 0)
    {
        for (int y = 0; y < 4; ++y)
            std::memset(pOut + static_cast<std::size_t>(y) * nStride, 0, 16);
        return;
    }
    CBlockBits bits(block.data());
    switch (std::countr_zero(static_cast<unsigned>(block[0])))
    {
    case 0:
        DecodeMode<0>(bits, pOut, nStride);
        break;
    case 1:
        DecodeMode<1>(bits, pOut, nStride);
        break;
    case 2:
        DecodeMode<2>(bits, pOut, nStride);
        break;
    case 3:
        DecodeMode<3>(bits, pOut, nStride);
        break;
    case 4:
        DecodeMode<4>(bits, pOut, nStride);
        break;
    case 5:
        DecodeMode<5>(bits, pOut, nStride);
        break;
    case 6:
        DecodeMode<6>(bits, pOut, nStride);
        break;
    default:
        DecodeMode<7>(bits, pOut, nStride);
        break;
    }
}
