#include "AniDecoder.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

#include "CByteReader.h"

namespace
{
// The longest single code (packer code, count 255, value) yields 256 pixels in 3 bytes.
constexpr std::int64_t kMostPixelsPerCode = 256;
constexpr std::int64_t kLongestCode = 3;
// Window timers fire no more often than this; a faster rate plays as fast as they can.
constexpr int kShortestInterval = 10;
constexpr int kIntervalForRateZero = 67;

bool ReadInt16(CByteReader& reader, std::int32_t& value)
{
    std::uint16_t u = 0;
    if (!reader.ReadUInt16(u))
        return false;
    value = static_cast<std::int16_t>(u);
    return true;
}
} // namespace

Result ParseAniHeader(std::span<const std::uint8_t> bytes, std::int64_t nEntrySize,
                      AniHeader& header)
{
    CByteReader reader(bytes);
    AniHeader h;
    std::int32_t nRecords = 0;
    bool bRead = reader.Skip(4) && ReadInt16(reader, h.nFramesPerSecond) && reader.Skip(3) &&
                 ReadInt16(reader, h.nWidth) && ReadInt16(reader, h.nHeight) &&
                 ReadInt16(reader, h.nFrameCount) && reader.ReadUInt8(h.byPackerCode);
    for (PaletteEntry& c : h.palette)
        bRead = bRead && reader.ReadUInt8(c.byRed) && reader.ReadUInt8(c.byGreen) &&
                reader.ReadUInt8(c.byBlue);
    bRead = bRead && ReadInt16(reader, nRecords);
    if (bRead && nRecords < 0)
        return Result::Fail("the animation's header is damaged (" + std::to_string(nRecords) +
                            " key frame records)");
    bRead = bRead && reader.Skip(static_cast<std::size_t>(nRecords) * 6 + 4);
    if (!bRead)
        return Result::Fail("the animation ends inside its header");
    h.nFirstFrameOffset = reader.Position();

    if (h.nWidth <= 0 || h.nHeight <= 0)
        return Result::Fail("the animation's size " + std::to_string(h.nWidth) + "x" +
                            std::to_string(h.nHeight) + " is not a picture");
    if (h.nFrameCount < 1)
        return Result::Fail("the animation has " + std::to_string(h.nFrameCount) + " frames");
    if (h.nFramesPerSecond < 0)
        return Result::Fail("the animation's rate of " + std::to_string(h.nFramesPerSecond) +
                            " frames per second is negative");
    const std::int64_t nCodeBytes = nEntrySize - static_cast<std::int64_t>(h.nFirstFrameOffset) - 1;
    const std::int64_t nMostPixels =
        std::max<std::int64_t>(0, (nCodeBytes + kLongestCode - 1) / kLongestCode) *
        kMostPixelsPerCode;
    if (static_cast<std::int64_t>(h.nWidth) * h.nHeight > nMostPixels)
        return Result::Fail("the animation ends before its first frame is complete");
    header = h;
    return Result::Ok();
}

int AniFrameInterval(std::int32_t nFramesPerSecond)
{
    if (nFramesPerSecond == 0)
        return kIntervalForRateZero;
    return std::max(1000 / nFramesPerSecond, kShortestInterval);
}

std::size_t MostAniFrameBytes(std::int32_t nWidth, std::int32_t nHeight)
{
    // The most one frame can use, so a frame's read stays bounded however large the archive:
    // a lone pixel of the packer code's own value takes two bytes.
    return 1 + 2 * static_cast<std::size_t>(std::max(nWidth, 0)) *
                   static_cast<std::size_t>(std::max(nHeight, 0));
}

std::size_t DecodeAniFrame(std::span<const std::uint8_t> code, std::int32_t nFrameWidth,
                           std::int32_t nFrameHeight, std::uint8_t byPacker,
                           std::span<std::uint8_t> frame)
{
    if (code.empty() || nFrameWidth <= 0 || nFrameHeight <= 0)
        return 0;
    const std::size_t nWidth = static_cast<std::size_t>(nFrameWidth);
    const std::size_t nHeight = static_cast<std::size_t>(nFrameHeight);
    const std::size_t nStride = PictureStride(nFrameWidth, 8);
    if (frame.size() < nStride * nHeight)
        return 0;

    std::size_t nIn = 1; // the leading byte is not a pixel code
    std::size_t nRun = 0;
    std::uint8_t byValue = 0;
    // A run is not cut at the end of a row: it goes on at the start of the next one.
    for (std::size_t y = 0; y < nHeight; ++y)
    {
        std::uint8_t* pRow = frame.data() + y * nStride;
        std::size_t x = 0;
        while (x < nWidth)
        {
            if (nRun == 0)
            {
                if (nIn >= code.size())
                    return nIn;
                const std::uint8_t byCode = code[nIn++];
                if (byCode != byPacker)
                {
                    if (byCode != kAniTransparent)
                        pRow[x] = byCode;
                    ++x;
                    continue;
                }
                if (nIn >= code.size())
                    return nIn;
                const std::uint8_t byCount = code[nIn++];
                if (byCount < 2)
                    byValue = byPacker;
                else
                {
                    if (nIn >= code.size())
                        return nIn;
                    byValue = code[nIn++];
                }
                nRun = static_cast<std::size_t>(byCount) + 1;
            }
            const std::size_t nTake = std::min(nRun, nWidth - x);
            if (byValue != kAniTransparent)
                std::memset(pRow + x, byValue, nTake);
            x += nTake;
            nRun -= nTake;
        }
    }
    return nIn;
}

Result DecodeAniPicture(std::span<const std::uint8_t> entry, std::int32_t nFrame,
                        DecodedPicture& picture)
{
    AniHeader header;
    if (Result r = ParseAniHeader(entry, static_cast<std::int64_t>(entry.size()), header); !r)
        return r;
    if (nFrame < 1 || nFrame > header.nFrameCount)
        return Result::Fail("the animation has " + std::to_string(header.nFrameCount) +
                            (header.nFrameCount == 1 ? " frame" : " frames") + ", not " +
                            std::to_string(nFrame));
    std::vector<std::uint8_t> frame;
    try
    {
        frame.assign(PictureStride(header.nWidth, 8) * static_cast<std::size_t>(header.nHeight), 0);
    }
    catch (const std::bad_alloc&)
    {
        return Result::Fail("an animation of " + std::to_string(header.nWidth) + "x" +
                            std::to_string(header.nHeight) + " does not fit in memory");
    }
    std::size_t nPos = header.nFirstFrameOffset;
    for (std::int32_t i = 0; i < nFrame; ++i)
    {
        const std::span<const std::uint8_t> rest = entry.subspan(std::min(nPos, entry.size()));
        const std::size_t nCode =
            std::min(rest.size(), MostAniFrameBytes(header.nWidth, header.nHeight));
        nPos += DecodeAniFrame(rest.first(nCode), header.nWidth, header.nHeight,
                               header.byPackerCode, frame);
    }
    picture.nWidth = header.nWidth;
    picture.nHeight = header.nHeight;
    picture.nBitsPerPixel = 8;
    picture.palette = header.palette;
    picture.pixels = std::move(frame);
    return Result::Ok();
}
