#include "PcxDecoder.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

#include "CByteReader.h"

namespace
{
constexpr std::size_t kHeaderSize = 128;
constexpr std::size_t kBytesPerLineOffset = 66;
// One run code (two bytes) yields at most 63 bytes.
constexpr std::int64_t kMostBytesPerCodePair = 63;

std::int16_t ReadInt16(CByteReader& reader)
{
    std::uint16_t u = 0;
    reader.ReadUInt16(u);
    return static_cast<std::int16_t>(u);
}
} // namespace

Result DecodePcx(std::span<const std::uint8_t> entry, DecodedPicture& picture)
{
    if (entry.size() < kHeaderSize)
        return Result::Fail("the PCX header is incomplete (" + std::to_string(entry.size()) +
                            " of 128 bytes)");
    CByteReader header(entry);
    header.Skip(4);
    const std::int32_t nXMin = ReadInt16(header);
    const std::int32_t nYMin = ReadInt16(header);
    const std::int32_t nXMax = ReadInt16(header);
    const std::int32_t nYMax = ReadInt16(header);
    const std::int32_t nWidth = nXMax - nXMin + 1;
    const std::int32_t nHeight = nYMax - nYMin + 1;
    if (nWidth <= 0 || nHeight <= 0)
        return Result::Fail("the PCX picture size " + std::to_string(nWidth) + "x" +
                            std::to_string(nHeight) + " is not a picture");

    // Files whose lines are padded beyond an even width would shear with the rounded width.
    const std::int64_t nBytesPerLine = entry[kBytesPerLineOffset] | entry[kBytesPerLineOffset + 1]
                                                                        << 8;
    const std::int64_t nLine = nBytesPerLine >= nWidth ? nBytesPerLine : RoundUp(nWidth, 2);

    const std::span<const std::uint8_t> codes = entry.subspan(kHeaderSize);
    const std::int64_t nCodes = static_cast<std::int64_t>(codes.size());
    const std::int64_t nMostDecodable = nCodes / 2 * kMostBytesPerCodePair + nCodes % 2;
    if (nLine * nHeight > nMostDecodable)
        return Result::Fail("the PCX data ends before the picture is complete");

    const std::size_t nStride = PictureStride(nWidth, 8);
    std::vector<std::uint8_t> pixels;
    try
    {
        pixels.assign(nStride * static_cast<std::size_t>(nHeight), 0);
    }
    catch (const std::bad_alloc&)
    {
        return Result::Fail("a PCX picture of " + std::to_string(nWidth) + "x" +
                            std::to_string(nHeight) + " does not fit in memory");
    }

    // A run is not cut at the end of a line: it goes on at the start of the next one.
    std::size_t nIn = 0;
    std::int64_t nRun = 0;
    std::uint8_t byValue = 0;
    for (std::int32_t y = 0; y < nHeight; ++y)
    {
        std::uint8_t* pRow = pixels.data() + static_cast<std::size_t>(y) * nStride;
        std::int64_t x = 0;
        while (x < nLine)
        {
            if (nRun == 0)
            {
                if (nIn >= codes.size())
                    return Result::Fail("the PCX data ends before the picture is complete");
                const std::uint8_t byCode = codes[nIn++];
                if ((byCode & 0xC0) != 0xC0)
                {
                    if (x < nWidth)
                        pRow[x] = byCode;
                    ++x;
                    continue;
                }
                if (nIn >= codes.size())
                    return Result::Fail("the PCX data ends before the picture is complete");
                byValue = codes[nIn++];
                nRun = std::max(byCode & 0x3F, 1);
            }
            const std::int64_t nTake = std::min(nRun, nLine - x);
            if (x < nWidth)
                std::memset(
                    pRow + x, byValue,
                    static_cast<std::size_t>(std::min(x + nTake, std::int64_t{nWidth}) - x));
            x += nTake;
            nRun -= nTake;
        }
    }

    // The palette lies behind the last code byte used, after one marker byte.
    Palette palette{};
    const std::size_t nPalette = nIn + 1 < codes.size() ? codes.size() - (nIn + 1) : 0;
    const std::size_t nColours = std::min<std::size_t>(nPalette / 3, 256);
    for (std::size_t i = 0; i < nColours; ++i)
    {
        const std::uint8_t* p = codes.data() + nIn + 1 + i * 3;
        palette[i] = {p[0], p[1], p[2]};
    }

    picture.nWidth = nWidth;
    picture.nHeight = nHeight;
    picture.nBitsPerPixel = 8;
    picture.palette = palette;
    picture.pixels = std::move(pixels);
    return Result::Ok();
}
