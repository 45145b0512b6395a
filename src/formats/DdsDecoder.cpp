#include "DdsDecoder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdio>
#include <cstring>
#include <new>

#include "Bc7Decoder.h"
#include "BlockDecoders.h"
#include "CByteReader.h"
#include "PictureLimits.h"

namespace
{
constexpr std::size_t kHeaderBytes = 128; // magic and DDS_HEADER
constexpr std::size_t kDx10HeaderBytes = 20;
constexpr std::uint32_t kHeaderSize = 124;
constexpr std::uint32_t kPixelFormatSize = 32;
// Deeper or longer than any volume or array a graphics card takes; keeps every size sum within
// 64 bits and the face count within an int. Sides are bounded as for every picture.
constexpr std::uint32_t kMostDepthOrArray = 65536;

constexpr std::uint32_t kFlagDepth = 0x800000;
constexpr std::uint32_t kPixelAlphaPixels = 0x1;
constexpr std::uint32_t kPixelAlpha = 0x2;
constexpr std::uint32_t kPixelFourCc = 0x4;
constexpr std::uint32_t kPixelPalette4 = 0x8;
constexpr std::uint32_t kPixelPalette8 = 0x20;
constexpr std::uint32_t kPixelRgb = 0x40;
constexpr std::uint32_t kPixelLuminance = 0x20000;
constexpr std::uint32_t kCaps2CubeMap = 0x200;
constexpr std::uint32_t kCaps2AllFaces = 0xFC00;
constexpr std::uint32_t kCaps2Volume = 0x200000;
constexpr std::uint32_t kDx10Texture1D = 2;
constexpr std::uint32_t kDx10Texture2D = 3;
constexpr std::uint32_t kDx10Texture3D = 4;
constexpr std::uint32_t kDx10MiscCube = 0x4;

enum class Coding
{
    Bc1,
    Bc2,
    Bc3,
    Bc7,
    Masks
};

// An uncompressed pixel: nBytes little-endian bytes, each channel taken by its mask.
struct MaskFormat
{
    int nBytes = 4;
    std::uint32_t masks[4] = {}; // red, green, blue, alpha; 0 for a channel not stored
    bool bLuminance = false;     // the red mask feeds all three colours
};

struct Layout
{
    DdsInfo info;
    Coding coding = Coding::Masks;
    MaskFormat pixel;
    std::size_t nDataOffset = kHeaderBytes;
    std::uint64_t nFaceBytes = 0;
};

constexpr std::uint32_t FourCc(const char (&code)[5])
{
    return static_cast<std::uint32_t>(static_cast<unsigned char>(code[0])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(code[1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(code[2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(code[3])) << 24;
}

std::uint32_t ReadU32(CByteReader& reader)
{
    std::int32_t n = 0;
    reader.ReadInt32(n);
    return static_cast<std::uint32_t>(n);
}

Result Unsupported(const std::string& strName)
{
    return Result::Fail("DDS format " + strName + " is not supported");
}

std::string FourCcText(std::uint32_t nCode)
{
    std::string strText;
    for (int i = 0; i < 4; ++i)
    {
        const auto ch = static_cast<char>((nCode >> (8 * i)) & 0xFF);
        if (ch < 0x20 || ch > 0x7E)
            return std::to_string(nCode);
        strText += ch;
    }
    return "'" + strText + "'";
}

std::string Hex(std::uint32_t nValue)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", nValue);
    return text;
}

std::size_t BlockBytes(Coding coding)
{
    return coding == Coding::Bc1 ? kBc1BlockBytes : kBc7BlockBytes;
}

std::uint64_t LevelSide(std::uint32_t nSide, int nMip)
{
    return std::max<std::uint64_t>(1, nSide >> nMip);
}

// Bytes of one slice of a level.
std::uint64_t SliceBytes(const Layout& layout, std::uint64_t nWidth, std::uint64_t nHeight)
{
    if (layout.coding == Coding::Masks)
        return nWidth * nHeight * static_cast<std::uint64_t>(layout.pixel.nBytes);
    return (nWidth + 3) / 4 * ((nHeight + 3) / 4) * BlockBytes(layout.coding);
}

MaskFormat Masks(int nBytes, std::uint32_t r, std::uint32_t g, std::uint32_t b, std::uint32_t a)
{
    MaskFormat pixel;
    pixel.nBytes = nBytes;
    pixel.masks[0] = r;
    pixel.masks[1] = g;
    pixel.masks[2] = b;
    pixel.masks[3] = a;
    return pixel;
}

// Short names for the common layouts; others are named by their width.
std::string MaskFormatName(const MaskFormat& pixel)
{
    const std::uint32_t r = pixel.masks[0];
    const std::uint32_t g = pixel.masks[1];
    const std::uint32_t b = pixel.masks[2];
    const std::uint32_t a = pixel.masks[3];
    struct Known
    {
        int nBytes;
        std::uint32_t r, g, b, a;
        const char* pName;
    };
    static constexpr Known kKnown[] = {
        {4, 0xFF0000, 0xFF00, 0xFF, 0xFF000000, "BGRA8"},
        {4, 0xFF0000, 0xFF00, 0xFF, 0, "BGRX8"},
        {4, 0xFF, 0xFF00, 0xFF0000, 0xFF000000, "RGBA8"},
        {4, 0xFF, 0xFF00, 0xFF0000, 0, "RGBX8"},
        {3, 0xFF0000, 0xFF00, 0xFF, 0, "BGR8"},
        {3, 0xFF, 0xFF00, 0xFF0000, 0, "RGB8"},
        {2, 0xF800, 0x7E0, 0x1F, 0, "RGB565"},
        {2, 0x7C00, 0x3E0, 0x1F, 0x8000, "ARGB1555"},
        {2, 0x7C00, 0x3E0, 0x1F, 0, "XRGB1555"},
        {2, 0xF00, 0xF0, 0xF, 0xF000, "ARGB4444"},
        {2, 0xF00, 0xF0, 0xF, 0, "XRGB4444"},
    };
    const std::string strBits = std::to_string(8 * pixel.nBytes) + "-bit";
    if (pixel.bLuminance)
    {
        if (pixel.nBytes == 1 && r == 0xFF && a == 0)
            return "L8";
        if (pixel.nBytes == 2 && r == 0xFF && a == 0xFF00)
            return "L8A8";
        if (pixel.nBytes == 2 && r == 0xFFFF && a == 0)
            return "L16";
        return (a != 0 ? "LA " : "L ") + strBits;
    }
    if (r == 0 && g == 0 && b == 0)
        return pixel.nBytes == 1 && a == 0xFF ? "A8" : "A " + strBits;
    for (const Known& known : kKnown)
        if (known.nBytes == pixel.nBytes && known.r == r && known.g == g && known.b == b &&
            known.a == a)
            return known.pName;
    return (a != 0 ? "RGBA " : "RGB ") + strBits;
}

Result ReadFourCc(std::uint32_t nFourCc, Layout& layout)
{
    struct Known
    {
        std::uint32_t nCode;
        Coding coding;
        const char* pName;
    };
    // DXT2 and DXT4 carry premultiplied colour; it is shown as stored.
    static constexpr Known kKnown[] = {
        {FourCc("DXT1"), Coding::Bc1, "DXT1"}, {FourCc("DXT2"), Coding::Bc2, "DXT2"},
        {FourCc("DXT3"), Coding::Bc2, "DXT3"}, {FourCc("DXT4"), Coding::Bc3, "DXT4"},
        {FourCc("DXT5"), Coding::Bc3, "DXT5"},
    };
    for (const Known& known : kKnown)
        if (known.nCode == nFourCc)
        {
            layout.coding = known.coding;
            layout.info.strFormat = known.pName;
            return Result::Ok();
        }
    if (nFourCc == FourCc("ATI1") || nFourCc == FourCc("BC4U") || nFourCc == FourCc("BC4S"))
        return Unsupported("BC4");
    if (nFourCc == FourCc("ATI2") || nFourCc == FourCc("BC5U") || nFourCc == FourCc("BC5S"))
        return Unsupported("BC5");
    return Unsupported(FourCcText(nFourCc));
}

Result ReadDxgiFormat(std::uint32_t nFormat, Layout& layout)
{
    // TYPELESS, UNORM and UNORM_SRGB of each; sRGB channels are shown as stored.
    struct Known
    {
        std::uint32_t nFirst;
        Coding coding;
        const char* pName;
    };
    static constexpr Known kBlocks[] = {
        {70, Coding::Bc1, "BC1"},
        {73, Coding::Bc2, "BC2"},
        {76, Coding::Bc3, "BC3"},
        {97, Coding::Bc7, "BC7"},
    };
    for (const Known& known : kBlocks)
        if (nFormat >= known.nFirst && nFormat < known.nFirst + 3)
        {
            layout.coding = known.coding;
            layout.info.strFormat = known.pName;
            return Result::Ok();
        }
    MaskFormat pixel;
    if (nFormat >= 27 && nFormat <= 29)
        pixel = Masks(4, 0xFF, 0xFF00, 0xFF0000, 0xFF000000);
    else if (nFormat == 87 || nFormat == 90 || nFormat == 91)
        pixel = Masks(4, 0xFF0000, 0xFF00, 0xFF, 0xFF000000);
    else if (nFormat == 88 || nFormat == 92 || nFormat == 93)
        pixel = Masks(4, 0xFF0000, 0xFF00, 0xFF, 0);
    else if (nFormat == 85)
        pixel = Masks(2, 0xF800, 0x7E0, 0x1F, 0);
    else if (nFormat == 86)
        pixel = Masks(2, 0x7C00, 0x3E0, 0x1F, 0x8000);
    else if (nFormat == 115)
        pixel = Masks(2, 0xF00, 0xF0, 0xF, 0xF000);
    else if (nFormat >= 79 && nFormat <= 81)
        return Unsupported("BC4");
    else if (nFormat >= 82 && nFormat <= 84)
        return Unsupported("BC5");
    else if (nFormat >= 94 && nFormat <= 96)
        return Unsupported("BC6H");
    else
        return Unsupported("DXGI " + std::to_string(nFormat));
    layout.coding = Coding::Masks;
    layout.pixel = pixel;
    layout.info.strFormat = MaskFormatName(pixel);
    return Result::Ok();
}

Result ReadMasks(std::uint32_t nFlags, std::uint32_t nBitCount, const std::uint32_t (&masks)[4],
                 Layout& layout)
{
    if ((nFlags & (kPixelPalette4 | kPixelPalette8)) != 0)
        return Result::Fail("DDS palette textures are not supported");
    if ((nFlags & (kPixelRgb | kPixelLuminance | kPixelAlpha)) == 0)
        return Result::Fail("DDS pixel format flags " + Hex(nFlags) +
                            " name no coding that is supported");
    if (nBitCount != 8 && nBitCount != 16 && nBitCount != 24 && nBitCount != 32)
        return Result::Fail("DDS pixels of " + std::to_string(nBitCount) +
                            " bits are not supported");
    MaskFormat pixel;
    pixel.nBytes = static_cast<int>(nBitCount / 8);
    pixel.bLuminance = (nFlags & kPixelLuminance) != 0;
    const bool bColour = (nFlags & (kPixelRgb | kPixelLuminance)) != 0;
    for (int c = 0; c < 3; ++c)
        pixel.masks[c] = bColour && !(pixel.bLuminance && c > 0) ? masks[c] : 0;
    if ((nFlags & (kPixelAlphaPixels | kPixelAlpha)) != 0)
        pixel.masks[3] = masks[3];
    const std::uint64_t nAllBits = (std::uint64_t{1} << nBitCount) - 1;
    for (const std::uint32_t nMask : pixel.masks)
    {
        if (nMask == 0)
            continue;
        if ((nMask & ~nAllBits) != 0)
            return Result::Fail("DDS pixel masks do not fit its " + std::to_string(nBitCount) +
                                "-bit pixels");
        const std::uint32_t nShifted = nMask >> std::countr_zero(nMask);
        if ((nShifted & (nShifted + 1)) != 0)
            return Result::Fail("DDS pixel masks with gaps are not supported");
    }
    layout.coding = Coding::Masks;
    layout.pixel = pixel;
    layout.info.strFormat = MaskFormatName(pixel);
    return Result::Ok();
}

Result ReadLayout(std::span<const std::uint8_t> bytes, Layout& layout)
{
    if (bytes.size() < kHeaderBytes)
        return Result::Fail("DDS header is incomplete (" + std::to_string(bytes.size()) +
                            " of 128 bytes)");
    CByteReader reader(bytes);
    if (ReadU32(reader) != FourCc("DDS "))
        return Result::Fail("DDS signature is missing");
    const std::uint32_t nSize = ReadU32(reader);
    const std::uint32_t nFlags = ReadU32(reader);
    const std::uint32_t nHeight = ReadU32(reader);
    const std::uint32_t nWidth = ReadU32(reader);
    ReadU32(reader); // pitch or linear size: the size follows from the format
    std::uint32_t nDepth = ReadU32(reader);
    const std::uint32_t nMipCount = ReadU32(reader);
    reader.Skip(11 * 4);
    const std::uint32_t nPixelSize = ReadU32(reader);
    const std::uint32_t nPixelFlags = ReadU32(reader);
    const std::uint32_t nFourCc = ReadU32(reader);
    const std::uint32_t nBitCount = ReadU32(reader);
    std::uint32_t masks[4];
    for (std::uint32_t& nMask : masks)
        nMask = ReadU32(reader);
    ReadU32(reader); // caps
    const std::uint32_t nCaps2 = ReadU32(reader);
    reader.Skip(3 * 4);
    if (nSize != kHeaderSize || nPixelSize != kPixelFormatSize)
        return Result::Fail("DDS header sizes are " + std::to_string(nSize) + " and " +
                            std::to_string(nPixelSize) + ", not 124 and 32");

    bool bVolume = (nFlags & kFlagDepth) != 0 || (nCaps2 & kCaps2Volume) != 0;
    std::uint64_t nFaces = 1;
    if ((nCaps2 & kCaps2CubeMap) != 0)
    {
        nFaces = static_cast<std::uint64_t>(std::popcount(nCaps2 & kCaps2AllFaces));
        if (nFaces == 0)
            return Result::Fail("DDS cube map names none of its faces");
        bVolume = false;
    }

    Result result;
    if ((nPixelFlags & kPixelFourCc) != 0 && nFourCc == FourCc("DX10"))
    {
        if (bytes.size() < kHeaderBytes + kDx10HeaderBytes)
            return Result::Fail("DDS header is incomplete (" + std::to_string(bytes.size()) +
                                " of 148 bytes)");
        const std::uint32_t nFormat = ReadU32(reader);
        const std::uint32_t nDimension = ReadU32(reader);
        const std::uint32_t nMisc = ReadU32(reader);
        const std::uint32_t nArraySize = ReadU32(reader);
        if (nArraySize == 0 || nArraySize > kMostDepthOrArray)
            return Result::Fail("DDS texture array of " + std::to_string(nArraySize) +
                                " elements is not a texture");
        if (nDimension != kDx10Texture1D && nDimension != kDx10Texture2D &&
            nDimension != kDx10Texture3D)
            return Result::Fail("DDS resource dimension " + std::to_string(nDimension) +
                                " is not a texture");
        bVolume = nDimension == kDx10Texture3D;
        if (bVolume && ((nMisc & kDx10MiscCube) != 0 || nArraySize > 1))
            return Result::Fail("DDS volume textures with several faces are not supported");
        nFaces = nArraySize * ((nMisc & kDx10MiscCube) != 0 ? std::uint64_t{6} : 1);
        layout.nDataOffset = kHeaderBytes + kDx10HeaderBytes;
        result = ReadDxgiFormat(nFormat, layout);
    }
    else if ((nPixelFlags & kPixelFourCc) != 0)
        result = ReadFourCc(nFourCc, layout);
    else
        result = ReadMasks(nPixelFlags, nBitCount, masks, layout);
    if (!result)
        return result;

    if (!bVolume)
        nDepth = 1;
    const std::string strSize = std::to_string(nWidth) + "x" + std::to_string(nHeight) +
                                (bVolume ? "x" + std::to_string(nDepth) : std::string());
    if (nWidth == 0 || nHeight == 0 || nDepth == 0)
        return Result::Fail("DDS size " + strSize + " is not a texture");
    if (!IsPictureSizeAllowed(nWidth, nHeight) || nDepth > kMostDepthOrArray)
        return Result::Fail("DDS size " + strSize + " is larger than a picture may be");
    const int nFullChain = std::bit_width(std::max({nWidth, nHeight, nDepth}));
    const std::uint32_t nMips = std::max<std::uint32_t>(nMipCount, 1);
    if (nMips > static_cast<std::uint32_t>(nFullChain))
        return Result::Fail("DDS mip count " + std::to_string(nMips) + " is more than a " +
                            std::to_string(nWidth) + "x" + std::to_string(nHeight) +
                            " texture has");

    std::uint64_t nFaceBytes = 0;
    for (int nMip = 0; nMip < static_cast<int>(nMips); ++nMip)
        nFaceBytes += SliceBytes(layout, LevelSide(nWidth, nMip), LevelSide(nHeight, nMip)) *
                      LevelSide(nDepth, nMip);
    const std::uint64_t nAvailable = bytes.size() - layout.nDataOffset;
    if (nFaces > nAvailable / nFaceBytes)
        return Result::Fail("DDS data is shorter than its header says (" +
                            std::to_string(nAvailable) + " bytes for " + std::to_string(nFaces) +
                            (nFaces == 1 ? " face" : " faces") + " of " +
                            std::to_string(nFaceBytes) + ")");

    layout.nFaceBytes = nFaceBytes;
    layout.info.nWidth = static_cast<std::int32_t>(nWidth);
    layout.info.nHeight = static_cast<std::int32_t>(nHeight);
    layout.info.nDepth = static_cast<std::int32_t>(nDepth);
    layout.info.nMipCount = static_cast<int>(nMips);
    layout.info.nFaceCount = static_cast<int>(nFaces);
    return Result::Ok();
}

template <std::size_t N,
          void (*DecodeBlock)(std::span<const std::uint8_t, N>, std::uint8_t*, std::size_t)>
void DecodeBlocks(const std::uint8_t* pData, std::size_t nWidth, std::size_t nHeight,
                  std::uint8_t* pOut)
{
    const std::size_t nStride = nWidth * 4;
    const std::size_t nBlocksWide = (nWidth + 3) / 4;
    const std::size_t nBlocksHigh = (nHeight + 3) / 4;
    for (std::size_t by = 0; by < nBlocksHigh; ++by)
    {
        const std::size_t nRows = std::min<std::size_t>(4, nHeight - 4 * by);
        for (std::size_t bx = 0; bx < nBlocksWide; ++bx, pData += N)
        {
            std::uint8_t* pTarget = pOut + 4 * by * nStride + 16 * bx;
            const std::size_t nColumns = std::min<std::size_t>(4, nWidth - 4 * bx);
            const std::span<const std::uint8_t, N> block(pData, N);
            if (nRows == 4 && nColumns == 4)
            {
                DecodeBlock(block, pTarget, nStride);
                continue;
            }
            // A block across the right or bottom edge: the texels outside are dropped.
            std::uint8_t texels[64];
            DecodeBlock(block, texels, 16);
            for (std::size_t y = 0; y < nRows; ++y)
                std::memcpy(pTarget + y * nStride, texels + 16 * y, 4 * nColumns);
        }
    }
}

// A channel as shift, mask and a table that widens the masked value to 8 bits.
struct Channel
{
    int nShift = 0;
    std::uint32_t nMask = 0;
    std::array<std::uint8_t, 256> widen{};
};

Channel MakeChannel(std::uint32_t nMask, std::uint8_t byMissing)
{
    Channel channel;
    if (nMask == 0)
    {
        channel.widen[0] = byMissing;
        return channel;
    }
    channel.nShift = std::countr_zero(nMask);
    int nBits = std::popcount(nMask);
    if (nBits > 8)
    {
        // Wider channels keep their top 8 bits.
        channel.nShift += nBits - 8;
        nBits = 8;
    }
    channel.nMask = (1u << nBits) - 1;
    for (unsigned v = 0; v <= channel.nMask; ++v)
    {
        // The value repeated below itself until it fills a byte.
        unsigned nWide = 0;
        int nFilled = 0;
        while (nFilled < 8)
        {
            nWide = nWide << nBits | v;
            nFilled += nBits;
        }
        channel.widen[v] = static_cast<std::uint8_t>(nWide >> (nFilled - 8));
    }
    return channel;
}

void DecodeMasks(const MaskFormat& pixel, const std::uint8_t* pData, std::size_t nPixels,
                 std::uint8_t* pOut)
{
    Channel channels[4];
    for (int c = 0; c < 3; ++c)
        channels[c] = MakeChannel(pixel.masks[pixel.bLuminance ? 0 : c], 0);
    channels[3] = MakeChannel(pixel.masks[3], 255);
    const auto nBytes = static_cast<std::size_t>(pixel.nBytes);
    for (std::size_t i = 0; i < nPixels; ++i, pData += nBytes, pOut += 4)
    {
        std::uint32_t nValue = 0;
        for (std::size_t b = nBytes; b-- > 0;)
            nValue = nValue << 8 | pData[b];
        for (int c = 0; c < 4; ++c)
            pOut[c] = channels[c].widen[(nValue >> channels[c].nShift) & channels[c].nMask];
    }
}
} // namespace

Result ReadDdsInfo(std::span<const std::uint8_t> bytes, DdsInfo& info)
{
    Layout layout;
    Result result = ReadLayout(bytes, layout);
    if (result)
        info = layout.info;
    return result;
}

Result DecodeDds(std::span<const std::uint8_t> bytes, int nMip, int nFace, RgbaPicture& picture)
{
    Layout layout;
    if (Result result = ReadLayout(bytes, layout); !result)
        return result;
    const DdsInfo& info = layout.info;
    if (nMip < 0 || nMip >= info.nMipCount)
        return Result::Fail("DDS has no mip level " + std::to_string(nMip) + " (it has " +
                            std::to_string(info.nMipCount) + ")");
    if (nFace < 0 || nFace >= info.nFaceCount)
        return Result::Fail("DDS has no face " + std::to_string(nFace) + " (it has " +
                            std::to_string(info.nFaceCount) + ")");

    // Each face holds its whole mip chain; each level holds all slices of a volume.
    const auto nWidth = static_cast<std::uint32_t>(info.nWidth);
    const auto nHeight = static_cast<std::uint32_t>(info.nHeight);
    const auto nDepth = static_cast<std::uint32_t>(info.nDepth);
    std::uint64_t nOffset = layout.nDataOffset + layout.nFaceBytes * static_cast<unsigned>(nFace);
    for (int m = 0; m < nMip; ++m)
        nOffset +=
            SliceBytes(layout, LevelSide(nWidth, m), LevelSide(nHeight, m)) * LevelSide(nDepth, m);
    const std::uint64_t nLevelWidth = LevelSide(nWidth, nMip);
    const std::uint64_t nLevelHeight = LevelSide(nHeight, nMip);
    const std::uint8_t* pData = bytes.data() + nOffset;

    const std::size_t nPixels = static_cast<std::size_t>(nLevelWidth * nLevelHeight);
    try
    {
        picture.rgba.resize(nPixels * 4);
    }
    catch (const std::bad_alloc&)
    {
        return Result::Fail("a DDS level of " + std::to_string(nLevelWidth) + "x" +
                            std::to_string(nLevelHeight) + " does not fit in memory");
    }
    std::uint8_t* pOut = picture.rgba.data();
    switch (layout.coding)
    {
    case Coding::Bc1:
        DecodeBlocks<kBc1BlockBytes, DecodeBc1Block>(pData, nLevelWidth, nLevelHeight, pOut);
        break;
    case Coding::Bc2:
        DecodeBlocks<kBc2BlockBytes, DecodeBc2Block>(pData, nLevelWidth, nLevelHeight, pOut);
        break;
    case Coding::Bc3:
        DecodeBlocks<kBc3BlockBytes, DecodeBc3Block>(pData, nLevelWidth, nLevelHeight, pOut);
        break;
    case Coding::Bc7:
        DecodeBlocks<kBc7BlockBytes, DecodeBc7Block>(pData, nLevelWidth, nLevelHeight, pOut);
        break;
    case Coding::Masks:
        DecodeMasks(layout.pixel, pData, nPixels, pOut);
        break;
    }
    picture.nWidth = static_cast<std::int32_t>(nLevelWidth);
    picture.nHeight = static_cast<std::int32_t>(nLevelHeight);
    picture.strFormat = info.strFormat;
    return Result::Ok();
}
