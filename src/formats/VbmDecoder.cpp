#include "VbmDecoder.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>
#include <string>

#include "ByteFields.h"
#include "CByteReader.h"
#include "PictureLimits.h"

namespace
{
constexpr std::size_t kHeaderSize = 32;
constexpr std::array<const char*, 3> kFormatNames = {"1555", "4444", "565"};

std::size_t LevelSide(std::int32_t nSide, int nLevel)
{
    return nLevel >= 31 ? 1 : std::max<std::size_t>(1, static_cast<std::size_t>(nSide) >> nLevel);
}

std::size_t LevelPixels(const VbmAnimation& vbm, int nLevel)
{
    return LevelSide(vbm.nWidth, nLevel) * LevelSide(vbm.nHeight, nLevel);
}

std::uint8_t Widen5(unsigned v)
{
    return static_cast<std::uint8_t>((v & 31) * 255 / 31);
}

using Rgba8 = std::array<std::uint8_t, 4>;

Rgba8 Convert(std::uint32_t nFormat, bool bAlphaInverted, unsigned v)
{
    if (nFormat == 0)
    {
        const bool bOpaque = ((v & 0x8000) != 0) != bAlphaInverted;
        return {Widen5(v >> 10), Widen5(v >> 5), Widen5(v),
                static_cast<std::uint8_t>(bOpaque ? 255 : 0)};
    }
    if (nFormat == 1)
        return {static_cast<std::uint8_t>(((v >> 8) & 15) * 17),
                static_cast<std::uint8_t>(((v >> 4) & 15) * 17),
                static_cast<std::uint8_t>((v & 15) * 17),
                static_cast<std::uint8_t>((v >> 12) * 17)};
    return {Widen5(v >> 11), static_cast<std::uint8_t>(((v >> 5) & 63) * 255 / 63), Widen5(v), 255};
}

// Every 16-bit value of a format as RGBA, made once: a frame is then one lookup a pixel.
const std::vector<Rgba8>& PixelTable(std::uint32_t nFormat, bool bAlphaInverted)
{
    // 1555, 1555 inverted, 4444, 565.
    static const std::array<std::vector<Rgba8>, 4> tables = []
    {
        std::array<std::vector<Rgba8>, 4> t;
        for (int k = 0; k < 4; ++k)
        {
            t[k].resize(0x10000);
            for (unsigned v = 0; v < 0x10000; ++v)
                t[k][v] = Convert(k < 2 ? 0 : static_cast<std::uint32_t>(k - 1), k == 1, v);
        }
        return t;
    }();
    return tables[nFormat == 0 ? (bAlphaInverted ? 1 : 0) : nFormat + 1];
}
} // namespace

Result DecodeVbm(std::span<const std::uint8_t> entry, VbmAnimation& vbm)
{
    if (entry.size() < 4 || std::memcmp(entry.data(), ".vbm", 4) != 0)
        return Result::Fail("not a VBM bitmap (no .vbm signature)");
    CByteReader reader(entry.subspan(4));
    std::uint32_t nVersion = 0, nWidth = 0, nHeight = 0, nFormat = 0, nFps = 0, nFrames = 0,
                  nMipmaps = 0;
    if (!ReadUInt32(reader, nVersion) || !ReadUInt32(reader, nWidth) ||
        !ReadUInt32(reader, nHeight) || !ReadUInt32(reader, nFormat) || !ReadUInt32(reader, nFps) ||
        !ReadUInt32(reader, nFrames) || !ReadUInt32(reader, nMipmaps))
        return Result::Fail("the VBM header is incomplete");
    if (nVersion != 1 && nVersion != 2)
        return Result::Fail("the VBM version is " + std::to_string(nVersion) +
                            "; 1 and 2 are shown");
    if (nFormat >= kFormatNames.size())
        return Result::Fail("the VBM pixel format is " + std::to_string(nFormat) +
                            "; 0 (1555), 1 (4444) and 2 (565) are shown");
    if (!IsPictureSizeAllowed(nWidth, nHeight))
        return Result::Fail("the VBM size " + std::to_string(nWidth) + "x" +
                            std::to_string(nHeight) + " is not a picture that can be shown");
    if (nFrames == 0)
        return Result::Fail("the VBM has no frames");

    const std::size_t nAvailable = (entry.size() - kHeaderSize) / 2;
    VbmAnimation out;
    out.nVersion = nVersion;
    out.nFormat = nFormat;
    out.nWidth = static_cast<std::int32_t>(nWidth);
    out.nHeight = static_cast<std::int32_t>(nHeight);
    out.nFramesPerSecond = nFps;
    // Every level has at least one pixel, so the levels and frames are bounded by the entry.
    const std::size_t nLevels = std::size_t{nMipmaps} + 1;
    std::size_t nFramePixels = 0;
    if (nLevels <= nAvailable)
        for (std::size_t i = 0; i < nLevels; ++i)
            nFramePixels += LevelPixels(out, static_cast<int>(i));
    const std::size_t nExpected = kHeaderSize + std::size_t{nFrames} * nFramePixels * 2;
    if (nLevels > nAvailable || nFramePixels > nAvailable || nFrames > nAvailable / nFramePixels ||
        nExpected != entry.size())
        return Result::Fail("the VBM is " + std::to_string(entry.size()) + " bytes, but " +
                            std::to_string(nFrames) + " frames of " + std::to_string(nWidth) + "x" +
                            std::to_string(nHeight) + " with " + std::to_string(nMipmaps) +
                            " mip levels take " +
                            (nLevels > nAvailable || nFramePixels > nAvailable ||
                                     nFrames > nAvailable / nFramePixels
                                 ? std::string("more")
                                 : std::to_string(nExpected)));
    out.nFrameCount = static_cast<std::int32_t>(nFrames);
    out.nLevelCount = static_cast<std::int32_t>(nLevels);
    try
    {
        out.pixels.resize(nFrames * nFramePixels);
    }
    catch (const std::bad_alloc&)
    {
        return Result::Fail("the VBM does not fit in memory");
    }
    const std::uint8_t* p = entry.data() + kHeaderSize;
    for (std::uint16_t& v : out.pixels)
    {
        v = static_cast<std::uint16_t>(p[0] | (p[1] << 8));
        p += 2;
    }
    vbm = std::move(out);
    return Result::Ok();
}

bool VbmAlphaInvertedByDefault(const VbmAnimation& vbm)
{
    return vbm.nVersion == 1;
}

Result VbmFrameRgba(const VbmAnimation& vbm, int nFrame, int nLevel, bool bAlphaInverted,
                    RgbaPicture& picture)
{
    if (nFrame < 0 || nFrame >= vbm.nFrameCount)
        return Result::Fail("the VBM has " + std::to_string(vbm.nFrameCount) +
                            (vbm.nFrameCount == 1 ? " frame, not " : " frames, not ") +
                            std::to_string(nFrame + 1));
    if (vbm.nFormat >= kFormatNames.size())
        return Result::Fail("the VBM pixel format is unknown");
    if (nLevel < 0 || nLevel >= vbm.nLevelCount)
        return Result::Fail("the VBM has mip levels 0 to " + std::to_string(vbm.nLevelCount - 1) +
                            ", not " + std::to_string(nLevel));
    std::size_t nFramePixels = 0;
    std::size_t nLevelStart = 0;
    for (int i = 0; i < vbm.nLevelCount; ++i)
    {
        if (i == nLevel)
            nLevelStart = nFramePixels;
        nFramePixels += LevelPixels(vbm, i);
    }
    const std::size_t nPixels = LevelPixels(vbm, nLevel);
    const std::uint16_t* pIn =
        vbm.pixels.data() + static_cast<std::size_t>(nFrame) * nFramePixels + nLevelStart;

    RgbaPicture out;
    out.nWidth = static_cast<std::int32_t>(LevelSide(vbm.nWidth, nLevel));
    out.nHeight = static_cast<std::int32_t>(LevelSide(vbm.nHeight, nLevel));
    out.strFormat = kFormatNames[vbm.nFormat];
    out.rgba.resize(nPixels * 4);
    const std::vector<Rgba8>& table = PixelTable(vbm.nFormat, bAlphaInverted);
    std::uint8_t* o = out.rgba.data();
    for (std::size_t i = 0; i < nPixels; ++i)
        std::memcpy(o + i * 4, table[pIn[i]].data(), 4);
    picture = std::move(out);
    return Result::Ok();
}

int VbmFrameAt(const VbmAnimation& vbm, std::int64_t nMilliseconds)
{
    if (vbm.nFrameCount <= 1 || nMilliseconds <= 0)
        return 0;
    // floor(t * fps / 1000) mod frames, without the product overflowing for long runs.
    const auto t = static_cast<std::uint64_t>(nMilliseconds);
    const auto nFrames = static_cast<std::uint64_t>(vbm.nFrameCount);
    const std::uint64_t nWhole = (t / 1000 % nFrames) * (vbm.nFramesPerSecond % nFrames);
    return static_cast<int>((nWhole + t % 1000 * vbm.nFramesPerSecond / 1000) % nFrames);
}
