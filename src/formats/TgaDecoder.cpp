#include "TgaDecoder.h"

#include <cstring>
#include <new>
#include <string>

#include "CByteReader.h"

namespace
{
constexpr std::size_t kHeaderSize = 18;
constexpr std::uint8_t kTopOriginBit = 0x20;

Result Incomplete()
{
    return Result::Fail("the TGA header is incomplete");
}
} // namespace

Result DecodeTga(std::span<const std::uint8_t> entry, DecodedPicture& picture)
{
    CByteReader reader(entry);
    std::uint8_t byIdLength = 0;
    std::uint8_t byColourMapType = 0;
    std::uint8_t byImageType = 0;
    if (!reader.ReadUInt8(byIdLength))
        return Incomplete();
    if (byIdLength != 0)
        return Result::Fail("the TGA carries an image ID; only pictures without one are shown");
    if (!reader.ReadUInt8(byColourMapType))
        return Incomplete();
    if (byColourMapType != 0)
        return Result::Fail("the TGA has a colour map; only true-colour pictures are shown");
    if (!reader.ReadUInt8(byImageType))
        return Incomplete();
    if (byImageType != 2)
        return Result::Fail("the TGA image type is " + std::to_string(byImageType) +
                            "; only uncompressed true-colour pictures (type 2) are shown");

    std::uint16_t nWidthField = 0;
    std::uint16_t nHeightField = 0;
    std::uint8_t byDepth = 0;
    std::uint8_t byDescriptor = 0;
    if (!reader.Skip(9) || !reader.ReadUInt16(nWidthField) || !reader.ReadUInt16(nHeightField) ||
        !reader.ReadUInt8(byDepth) || !reader.ReadUInt8(byDescriptor))
        return Incomplete();
    if (byDepth != 24 && byDepth != 32)
        return Result::Fail("the TGA pixel depth is " + std::to_string(byDepth) +
                            " bits; only 24 and 32 bits are shown");
    const std::int32_t nWidth = static_cast<std::int16_t>(nWidthField);
    const std::int32_t nHeight = static_cast<std::int16_t>(nHeightField);
    if (nWidth <= 0 || nHeight <= 0)
        return Result::Fail("the TGA picture size " + std::to_string(nWidth) + "x" +
                            std::to_string(nHeight) + " is not a picture");

    const std::size_t nRow = static_cast<std::size_t>(nWidth) * (byDepth / 8);
    const std::size_t nRows = static_cast<std::size_t>(nHeight);
    const std::span<const std::uint8_t> rows = entry.subspan(kHeaderSize);
    if (rows.size() / nRow < nRows)
        return Result::Fail("the TGA pixel data ends early (" + std::to_string(rows.size()) +
                            " of " + std::to_string(nRow * nRows) + " bytes)");

    const std::size_t nStride = PictureStride(nWidth, byDepth);
    std::vector<std::uint8_t> pixels;
    try
    {
        pixels.assign(nStride * nRows, 0);
    }
    catch (const std::bad_alloc&)
    {
        return Result::Fail("a TGA picture of " + std::to_string(nWidth) + "x" +
                            std::to_string(nHeight) + " does not fit in memory");
    }
    const bool bTopFirst = (byDescriptor & kTopOriginBit) != 0;
    for (std::size_t i = 0; i < nRows; ++i)
    {
        const std::size_t nTarget = bTopFirst ? nRows - 1 - i : i;
        std::memcpy(pixels.data() + nTarget * nStride, rows.data() + i * nRow, nRow);
    }

    picture.nWidth = nWidth;
    picture.nHeight = nHeight;
    picture.nBitsPerPixel = byDepth;
    picture.palette = Palette{};
    picture.pixels = std::move(pixels);
    return Result::Ok();
}
