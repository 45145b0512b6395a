#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "Bc7Decoder.h"
#include "DdsBuilder.h"
#include "DdsDecoder.h"

namespace
{
using Texel = std::array<std::uint8_t, 4>;

// Fields appended from bit 0 up, as a block stores them.
class BlockWriter
{
public:
    BlockWriter& Put(std::uint64_t nValue, int nBits)
    {
        for (int i = 0; i < nBits; ++i, ++m_nBit)
            if ((nValue >> i) & 1)
                m_block[m_nBit / 8] |= static_cast<std::uint8_t>(1 << (m_nBit % 8));
        return *this;
    }
    // Colour (or alpha) of every endpoint, endpoint 0 of subset 0 first.
    BlockWriter& PutEach(std::initializer_list<unsigned> values, int nBits)
    {
        for (unsigned v : values)
            Put(v, nBits);
        return *this;
    }
    std::array<std::uint8_t, 16> Block() const
    {
        EXPECT_EQ(m_nBit, 128);
        return m_block;
    }

private:
    std::array<std::uint8_t, 16> m_block{};
    int m_nBit = 0;
};

struct Texels
{
    std::array<std::uint8_t, 64> rgba{};
    Texel operator[](int i) const
    {
        return {rgba[4 * i], rgba[4 * i + 1], rgba[4 * i + 2], rgba[4 * i + 3]};
    }
};

Texels Decode(const std::array<std::uint8_t, 16>& block)
{
    Texels texels;
    DecodeBc7Block(block, texels.rgba.data(), 16);
    return texels;
}

// 16 indices of nBits, those of the anchor texels one bit shorter.
void PutIndices(BlockWriter& out, const std::array<unsigned, 16>& indices, int nBits,
                std::initializer_list<int> anchors)
{
    for (int i = 0; i < 16; ++i)
    {
        bool bAnchor = i == 0;
        for (int a : anchors)
            bAnchor = bAnchor || a == i;
        out.Put(indices[i], nBits - (bAnchor ? 1 : 0));
    }
}
} // namespace

// Weights: 2-bit 0 21 43 64, 3-bit 0 9 18 27 37 46 55 64, 4-bit 0 4 9 ... 34 ... 64; a texel is
// ((64 - w) * e0 + w * e1 + 32) >> 6.

TEST(Bc7Decoder, Mode0HasThreeSubsetsWithAPBitPerEndpoint)
{
    // Partition 1: rows 0001 / 0011 / 2211 / 2221, anchors 3 and 8.
    BlockWriter out;
    out.Put(1, 1).Put(1, 4);
    out.PutEach({0, 15, 15, 15, 0, 0}, 4); // red of e0 e1 for subsets 0, 1, 2
    out.PutEach({0, 15, 0, 0, 0, 15}, 4);  // green
    out.PutEach({0, 15, 0, 0, 15, 15}, 4); // blue
    out.PutEach({0, 1, 1, 1, 0, 1}, 1);    // p-bits
    PutIndices(out, {3, 4, 0, 1, 0, 0, 0, 0, 2, 7}, 3, {3, 8});
    const Texels t = Decode(out.Block());
    // Subset 0 runs 0 to 255; subset 1 is (255, 8, 8); subset 2 (0, 0, 247) to (8, 255, 255).
    EXPECT_EQ(t[0], (Texel{108, 108, 108, 255})); // weight 27
    EXPECT_EQ(t[1], (Texel{147, 147, 147, 255})); // weight 37
    EXPECT_EQ(t[2], (Texel{0, 0, 0, 255}));
    EXPECT_EQ(t[3], (Texel{255, 8, 8, 255}));
    EXPECT_EQ(t[8], (Texel{2, 72, 249, 255})); // weight 18
    EXPECT_EQ(t[9], (Texel{8, 255, 255, 255}));
    EXPECT_EQ(t[12], (Texel{0, 0, 247, 255}));
    EXPECT_EQ(t[15], (Texel{255, 8, 8, 255}));
}

TEST(Bc7Decoder, Mode1HasTwoSubsetsWithASharedPBitAndAnAnchorInsideTheBlock)
{
    // Partition 17: texels 1, 2, 3 and 7 in subset 1, anchored at texel 2.
    BlockWriter out;
    out.Put(2, 2).Put(17, 6);
    out.PutEach({0, 63, 32, 32}, 6);
    out.PutEach({0, 63, 0, 63}, 6);
    out.PutEach({0, 63, 63, 0}, 6);
    out.PutEach({1, 0}, 1);
    PutIndices(out, {3, 7, 2, 0, 7}, 3, {2});
    const Texels t = Decode(out.Block());
    // Subset 0: 2 to 255; subset 1: (129, 0, 253) to (129, 253, 0).
    EXPECT_EQ(t[0], (Texel{109, 109, 109, 255})); // weight 27
    EXPECT_EQ(t[1], (Texel{129, 253, 0, 255}));
    EXPECT_EQ(t[2], (Texel{129, 71, 182, 255})); // weight 18
    EXPECT_EQ(t[3], (Texel{129, 0, 253, 255}));
    EXPECT_EQ(t[4], (Texel{255, 255, 255, 255}));
    EXPECT_EQ(t[5], (Texel{2, 2, 2, 255}));
    EXPECT_EQ(t[7], (Texel{129, 0, 253, 255}));
}

TEST(Bc7Decoder, Mode2HasThreeSubsetsFromTheFullPartitionTable)
{
    // Partition 50: rows 0002 / 1112 / 0002 / 1112, anchors 5 and 15.
    BlockWriter out;
    out.Put(4, 3).Put(50, 6);
    out.PutEach({0, 31, 31, 0, 0, 0}, 5);
    out.PutEach({0, 31, 0, 31, 0, 0}, 5);
    out.PutEach({0, 31, 0, 0, 31, 31}, 5);
    PutIndices(out, {1, 3, 0, 3, 2, 1}, 2, {5, 15});
    const Texels t = Decode(out.Block());
    EXPECT_EQ(t[0], (Texel{84, 84, 84, 255})); // weight 21
    EXPECT_EQ(t[1], (Texel{255, 255, 255, 255}));
    EXPECT_EQ(t[2], (Texel{0, 0, 0, 255}));
    EXPECT_EQ(t[3], (Texel{0, 0, 255, 255}));
    EXPECT_EQ(t[4], (Texel{84, 171, 0, 255})); // weight 43
    EXPECT_EQ(t[5], (Texel{171, 84, 0, 255})); // weight 21
    EXPECT_EQ(t[6], (Texel{255, 0, 0, 255}));
}

TEST(Bc7Decoder, Mode3HasSevenBitColoursWithAPBitPerEndpoint)
{
    // Partition 34: rows 0101 / 1010 / 0101 / 1010, subset 1 anchored at texel 6.
    BlockWriter out;
    out.Put(8, 4).Put(34, 6);
    out.PutEach({0, 127, 100, 100}, 7);
    out.PutEach({0, 127, 50, 50}, 7);
    out.PutEach({0, 127, 0, 0}, 7);
    out.PutEach({0, 1, 1, 0}, 1);
    PutIndices(out, {1, 3, 2, 0, 0, 0, 1, 3}, 2, {6});
    const Texels t = Decode(out.Block());
    // Subset 0: 0 to 255; subset 1: (201, 101, 1) to (200, 100, 0).
    EXPECT_EQ(t[0], (Texel{84, 84, 84, 255}));
    EXPECT_EQ(t[1], (Texel{200, 100, 0, 255}));
    EXPECT_EQ(t[2], (Texel{171, 171, 171, 255}));
    EXPECT_EQ(t[3], (Texel{201, 101, 1, 255}));
    EXPECT_EQ(t[6], (Texel{201, 101, 1, 255}));
    EXPECT_EQ(t[7], (Texel{255, 255, 255, 255}));
}

TEST(Bc7Decoder, Mode4IndexSelectionTakesColourFromTheThreeBitIndices)
{
    BlockWriter out;
    out.Put(16, 5).Put(0, 2).Put(1, 1); // no rotation, index selection 1
    out.PutEach({31, 0}, 5).PutEach({0, 31}, 5).PutEach({16, 16}, 5);
    out.PutEach({0, 63}, 6);
    PutIndices(out, {1, 3}, 2, {}); // alpha
    PutIndices(out, {3, 7}, 3, {}); // colour
    const Texels t = Decode(out.Block());
    // Colour (255, 0, 132) to (0, 255, 132), alpha 0 to 255.
    EXPECT_EQ(t[0], (Texel{147, 108, 132, 84})); // colour weight 27, alpha 21
    EXPECT_EQ(t[1], (Texel{0, 255, 132, 255}));
    EXPECT_EQ(t[2], (Texel{255, 0, 132, 0}));
}

TEST(Bc7Decoder, Mode5RotationSwapsAlphaWithAColourAfterInterpolating)
{
    BlockWriter out;
    out.Put(32, 6).Put(1, 2); // rotation 1: alpha and red change places
    out.PutEach({127, 0}, 7).PutEach({64, 64}, 7).PutEach({0, 127}, 7);
    out.PutEach({16, 240}, 8);
    PutIndices(out, {0, 1, 3}, 2, {}); // colour
    PutIndices(out, {1, 2, 0}, 2, {}); // alpha
    const Texels t = Decode(out.Block());
    // Colour (255, 129, 0) to (0, 129, 255), alpha 16 to 240.
    EXPECT_EQ(t[0], (Texel{90, 129, 0, 255}));
    EXPECT_EQ(t[1], (Texel{167, 129, 84, 171}));
    EXPECT_EQ(t[2], (Texel{16, 129, 255, 0}));
    EXPECT_EQ(t[3], (Texel{16, 129, 0, 255}));
}

TEST(Bc7Decoder, Mode6HasOneSubsetWithFourBitIndicesAndAlpha)
{
    BlockWriter out;
    out.Put(64, 7);
    out.PutEach({16, 112}, 7).PutEach({0, 127}, 7).PutEach({64, 64}, 7).PutEach({127, 0}, 7);
    out.PutEach({1, 0}, 1);
    PutIndices(out, {0, 15, 0, 0, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4}, 4, {});
    const Texels t = Decode(out.Block());
    // (33, 1, 129, 255) to (224, 254, 128, 0).
    EXPECT_EQ(t[0], (Texel{33, 1, 129, 255}));
    EXPECT_EQ(t[1], (Texel{224, 254, 128, 0}));
    EXPECT_EQ(t[5], (Texel{134, 135, 128, 120})); // weight 34
    EXPECT_EQ(t[15], (Texel{84, 68, 129, 187}));  // weight 17
}

TEST(Bc7Decoder, Mode7HasTwoSubsetsWithFiveBitAlpha)
{
    // Partition 1: the right column is subset 1, anchored at texel 15.
    BlockWriter out;
    out.Put(128, 8).Put(1, 6);
    out.PutEach({31, 31, 0, 0}, 5).PutEach({0, 0, 0, 0}, 5).PutEach({0, 0, 31, 31}, 5);
    out.PutEach({31, 0, 16, 16}, 5);
    out.PutEach({1, 0, 0, 1}, 1);
    PutIndices(out, {1, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}, 2, {15});
    const Texels t = Decode(out.Block());
    // Subset 0: (255, 4, 4, 255) to (251, 0, 0, 0); subset 1: (0, 0, 251, 130) to (4, 4, 255, 134).
    EXPECT_EQ(t[0], (Texel{254, 3, 3, 171}));
    EXPECT_EQ(t[1], (Texel{255, 4, 4, 255}));
    EXPECT_EQ(t[3], (Texel{3, 3, 254, 133}));
    EXPECT_EQ(t[15], (Texel{1, 1, 252, 131}));
}

TEST(Bc7Decoder, ABlockWithoutAModeIsTransparentBlack)
{
    std::array<std::uint8_t, 16> block;
    block.fill(0xFF);
    block[0] = 0;
    Texels texels;
    texels.rgba.fill(0x55);
    DecodeBc7Block(block, texels.rgba.data(), 16);
    EXPECT_EQ(texels.rgba, (std::array<std::uint8_t, 64>{}));
}

TEST(Bc7Decoder, ADx10TextureCutsItsEdgeBlocks)
{
    // 5 x 3: two blocks, each one colour (mode 6, all indices 0).
    std::vector<unsigned char> data;
    for (unsigned nRed : {100u, 20u})
    {
        BlockWriter out;
        out.Put(64, 7).PutEach({nRed, 0}, 7).PutEach({0, 0}, 7).PutEach({0, 0}, 7);
        out.PutEach({127, 0}, 7).Put(0, 2).Put(0, 63);
        const auto block = out.Block();
        data.insert(data.end(), block.begin(), block.end());
    }
    RgbaPicture picture;
    ASSERT_TRUE(DecodeDds(MakeDds(DdsDx10(kDxgiBc7UnormSrgb, 5, 3), data), 0, 0, picture));
    EXPECT_EQ(picture.strFormat, "BC7");
    ASSERT_EQ(picture.rgba.size(), 5u * 3 * 4);
    for (int i = 0; i < 15; ++i)
        EXPECT_EQ(picture.rgba[4 * i], i % 5 < 4 ? 200 : 40) << "texel " << i;
}
