#include "TgaDecoder.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "CByteReader.h"
#include "PictureLimits.h"

namespace
{
constexpr std::uint8_t kTopOriginBit = 0x20;
constexpr std::uint8_t kRightOriginBit = 0x10;
constexpr std::uint8_t kAlphaBitsMask = 0x0F;
constexpr std::size_t kMostRun = 128;

using Bgra = std::array<std::uint8_t, 4>;

Result Incomplete()
{
    return Result::Fail("the TGA header is incomplete");
}

Result EndsEarly()
{
    return Result::Fail("the TGA pixel data ends early");
}

std::uint8_t Widen5(unsigned v)
{
    return static_cast<std::uint8_t>((v & 31) * 255 / 31);
}

// A1R5G5B5; the top bit is coverage only when the descriptor counts an alpha bit.
void Widen16(const std::uint8_t* p, bool bAlpha, std::uint8_t* out)
{
    const unsigned v = p[0] | (p[1] << 8);
    out[0] = Widen5(v);
    out[1] = Widen5(v >> 5);
    out[2] = Widen5(v >> 10);
    out[3] = bAlpha && (v & 0x8000) == 0 ? 0 : 255;
}

// Hands out the place of each pixel in file order: the file's rows may run from the top or
// the bottom, its pixels from the right or the left, and runs go on across rows.
class CPixelCursor
{
public:
    CPixelCursor(DecodedPicture& picture, std::size_t nPixelBytes, std::uint8_t byDescriptor)
        : m_pBase(picture.pixels.data()),
          m_nStride(PictureStride(picture.nWidth, picture.nBitsPerPixel)),
          m_nWidth(static_cast<std::size_t>(picture.nWidth)),
          m_nHeight(static_cast<std::size_t>(picture.nHeight)), m_nPixelBytes(nPixelBytes),
          m_bTopFirst((byDescriptor & kTopOriginBit) != 0),
          m_bRightToLeft((byDescriptor & kRightOriginBit) != 0)
    {
        StartRow();
    }

    // The place of the next pixel and of as many after it, up to nWanted in all, as lie side
    // by side in memory (the rest of the row, or only one when rows run right to left).
    std::uint8_t* Next(std::size_t nWanted, std::size_t& nGot)
    {
        std::uint8_t* p = m_pNext;
        nGot = m_bRightToLeft ? 1 : std::min(nWanted, m_nWidth - m_nColumn);
        m_nColumn += nGot;
        if (m_nColumn == m_nWidth)
        {
            m_nColumn = 0;
            if (++m_nRow < m_nHeight)
                StartRow();
        }
        else
        {
            m_pNext = m_bRightToLeft ? m_pNext - m_nPixelBytes : m_pNext + nGot * m_nPixelBytes;
        }
        return p;
    }

private:
    void StartRow()
    {
        const std::size_t nTarget = m_bTopFirst ? m_nHeight - 1 - m_nRow : m_nRow;
        m_pNext =
            m_pBase + nTarget * m_nStride + (m_bRightToLeft ? (m_nWidth - 1) * m_nPixelBytes : 0);
    }

    std::uint8_t* m_pBase;
    std::size_t m_nStride;
    std::size_t m_nWidth;
    std::size_t m_nHeight;
    std::size_t m_nPixelBytes;
    bool m_bTopFirst;
    bool m_bRightToLeft;
    std::size_t m_nRow = 0;
    std::size_t m_nColumn = 0;
    std::uint8_t* m_pNext = nullptr;
};

// Converts nPixels stored pixels of nIn bytes, stored as they are or as run-length packets,
// into nOut-byte pixels. convert returns false for a pixel that cannot be shown (a map index
// outside the map).
// nCount pixels from pSource: each stored one after the other, or with bRepeat one stored
// pixel nCount times. False when convert refuses one. bCopy says convert copies the pixel as
// it is, so stored pixels side by side are copied at once.
template <std::size_t nOut, bool bCopy, typename Convert>
bool Store(const std::uint8_t* pSource, std::size_t nIn, std::size_t nCount, bool bRepeat,
           CPixelCursor& cursor, Convert& convert)
{
    std::uint8_t pixel[nOut] = {};
    if (bRepeat && !convert(pSource, pixel))
        return false;
    while (nCount > 0)
    {
        std::size_t nGot = 0;
        std::uint8_t* p = cursor.Next(nCount, nGot);
        nCount -= nGot;
        if (bRepeat)
        {
            for (std::size_t i = 0; i < nGot; ++i)
                std::memcpy(p + i * nOut, pixel, nOut);
        }
        else if constexpr (bCopy)
        {
            std::memcpy(p, pSource, nGot * nOut);
            pSource += nGot * nOut;
        }
        else
        {
            for (std::size_t i = 0; i < nGot; ++i, pSource += nIn)
                if (!convert(pSource, p + i * nOut))
                    return false;
        }
    }
    return true;
}

template <std::size_t nOut, bool bCopy = false, typename Convert>
Result Unpack(std::span<const std::uint8_t> data, bool bRunLength, std::size_t nIn,
              std::size_t nPixels, CPixelCursor& cursor, Convert convert)
{
    const Result outside = Result::Fail("a TGA pixel names a colour outside the colour map");
    if (!bRunLength)
    {
        if (data.size() / nIn < nPixels)
            return EndsEarly();
        return Store<nOut, bCopy>(data.data(), nIn, nPixels, false, cursor, convert) ? Result::Ok()
                                                                                     : outside;
    }
    std::size_t nAt = 0;
    std::size_t nLeft = nPixels;
    while (nLeft > 0)
    {
        if (nAt == data.size())
            return EndsEarly();
        const std::uint8_t byPacket = data[nAt++];
        const std::size_t nCount = (byPacket & 0x7Fu) + 1;
        if (nCount > nLeft)
            return Result::Fail("a TGA run goes past the last pixel");
        const bool bRepeat = (byPacket & 0x80) != 0;
        const std::size_t nBytes = bRepeat ? nIn : nCount * nIn;
        if (data.size() - nAt < nBytes)
            return EndsEarly();
        if (!Store<nOut, bCopy>(data.data() + nAt, nIn, nCount, bRepeat, cursor, convert))
            return outside;
        nAt += nBytes;
        nLeft -= nCount;
    }
    return Result::Ok();
}

struct TgaHeader
{
    std::uint8_t byIdLength = 0;
    std::uint8_t byMapType = 0;
    std::uint8_t byImageType = 0;
    std::uint16_t nMapFirst = 0;
    std::uint16_t nMapLength = 0;
    std::uint8_t byMapEntryBits = 0;
    std::uint16_t nWidth = 0;
    std::uint16_t nHeight = 0;
    std::uint8_t byDepth = 0;
    std::uint8_t byDescriptor = 0;
};

bool ReadHeader(CByteReader& reader, TgaHeader& h)
{
    return reader.ReadUInt8(h.byIdLength) && reader.ReadUInt8(h.byMapType) &&
           reader.ReadUInt8(h.byImageType) && reader.ReadUInt16(h.nMapFirst) &&
           reader.ReadUInt16(h.nMapLength) && reader.ReadUInt8(h.byMapEntryBits) &&
           reader.Skip(4) && reader.ReadUInt16(h.nWidth) && reader.ReadUInt16(h.nHeight) &&
           reader.ReadUInt8(h.byDepth) && reader.ReadUInt8(h.byDescriptor);
}

// The colour map as blue, green, red, alpha; empty when the file has none.
void ReadColourMap(std::span<const std::uint8_t> bytes, const TgaHeader& h, bool bAlpha,
                   std::vector<Bgra>& map)
{
    const std::size_t nEntry = (h.byMapEntryBits + 7u) / 8;
    for (std::size_t i = 0; i < h.nMapLength; ++i)
    {
        const std::uint8_t* p = bytes.data() + i * nEntry;
        Bgra c{0, 0, 0, 255};
        if (nEntry == 2)
            Widen16(p, bAlpha && h.byMapEntryBits == 16, c.data());
        else
            std::memcpy(c.data(), p, nEntry);
        map.push_back(c);
    }
}

std::string Describe(const char* szWhat, int nValue, const char* szAllowed)
{
    return std::string("the TGA ") + szWhat + " is " + std::to_string(nValue) + "; " + szAllowed;
}
} // namespace

Result DecodeTga(std::span<const std::uint8_t> entry, DecodedPicture& picture)
{
    CByteReader reader(entry);
    TgaHeader h;
    if (!ReadHeader(reader, h))
        return Incomplete();
    const int nKind = h.byImageType & 7;
    const bool bRunLength = (h.byImageType & 8) != 0;
    if (nKind < 1 || nKind > 3 || (h.byImageType & ~0x0Bu) != 0)
        return Result::Fail(Describe("image type", h.byImageType,
                                     "pictures of types 1, 2, 3, 9, 10 and 11 are shown"));
    if (h.byMapType > 1)
        return Result::Fail(Describe("colour map type", h.byMapType, "only 0 and 1 exist"));
    const bool bMapped = nKind == 1;
    const bool bHasMap = h.byMapType == 1 && h.nMapLength > 0;
    if (bMapped && !bHasMap)
        return Result::Fail("the colour-mapped TGA has no colour map");
    if (bMapped && h.byMapEntryBits != 15 && h.byMapEntryBits != 16 && h.byMapEntryBits != 24 &&
        h.byMapEntryBits != 32)
        return Result::Fail(Describe("colour map entry size", h.byMapEntryBits,
                                     "15, 16, 24 and 32 bits are shown"));
    const int nDepth = h.byDepth;
    const bool bDepthOk = bMapped ? nDepth == 8 || nDepth == 16
                          : nKind == 3
                              ? nDepth == 8 || nDepth == 16
                              : nDepth == 15 || nDepth == 16 || nDepth == 24 || nDepth == 32;
    if (!bDepthOk)
        return Result::Fail(Describe("pixel depth", nDepth,
                                     bMapped ? "map indices of 8 and 16 bits are shown"
                                     : nKind == 3
                                         ? "grey pictures of 8 and 16 bits are shown"
                                         : "true colour of 15, 16, 24 and 32 bits is shown"));
    if (!IsPictureSizeAllowed(h.nWidth, h.nHeight))
        return Result::Fail("the TGA picture size " + std::to_string(h.nWidth) + "x" +
                            std::to_string(h.nHeight) + " is not a picture that can be shown");

    if (!reader.Skip(h.byIdLength))
        return Incomplete();
    const std::size_t nMapBytes =
        bHasMap ? std::size_t{h.nMapLength} * ((h.byMapEntryBits + 7u) / 8) : 0;
    if (reader.Remaining() < nMapBytes)
        return Result::Fail("the TGA colour map ends early");
    const bool bAlpha16 = (h.byDescriptor & kAlphaBitsMask) != 0;
    std::vector<Bgra> map;
    if (bMapped)
        ReadColourMap(entry.subspan(reader.Position(), nMapBytes), h, bAlpha16, map);
    reader.Skip(nMapBytes);

    const std::span<const std::uint8_t> data = entry.subspan(reader.Position());
    const std::size_t nIn = (nDepth + 7u) / 8;
    const std::size_t nPixels = std::size_t{h.nWidth} * h.nHeight;
    // Bounds the picture by the entry: a packet of 1 + nIn bytes makes at most 128 pixels.
    const std::size_t nMostPixels =
        bRunLength ? (data.size() / (1 + nIn) + 1) * kMostRun : data.size() / nIn;
    if (nPixels > nMostPixels)
        return EndsEarly();

    const int nOutDepth = nKind == 2 && nDepth == 24 ? 24 : 32;
    DecodedPicture out;
    out.nWidth = h.nWidth;
    out.nHeight = h.nHeight;
    out.nBitsPerPixel = nOutDepth;
    try
    {
        out.pixels.assign(PictureStride(out.nWidth, nOutDepth) * h.nHeight, 0);
    }
    catch (const std::bad_alloc&)
    {
        return Result::Fail("a TGA picture of " + std::to_string(h.nWidth) + "x" +
                            std::to_string(h.nHeight) + " does not fit in memory");
    }
    CPixelCursor cursor(out, static_cast<std::size_t>(nOutDepth / 8), h.byDescriptor);
    Result r;
    if (nOutDepth == 24)
    {
        r = Unpack<3, true>(data, bRunLength, nIn, nPixels, cursor,
                            [](const std::uint8_t* p, std::uint8_t* o)
                            {
                                std::memcpy(o, p, 3);
                                return true;
                            });
    }
    else if (bMapped)
    {
        const std::size_t nFirst = h.nMapFirst;
        r = Unpack<4>(data, bRunLength, nIn, nPixels, cursor,
                      [&map, nFirst, nIn](const std::uint8_t* p, std::uint8_t* o)
                      {
                          const std::size_t nIndex = nIn == 1 ? p[0] : p[0] | (p[1] << 8);
                          if (nIndex < nFirst || nIndex - nFirst >= map.size())
                              return false;
                          std::memcpy(o, map[nIndex - nFirst].data(), 4);
                          return true;
                      });
    }
    else if (nKind == 3)
    {
        r = Unpack<4>(data, bRunLength, nIn, nPixels, cursor,
                      [nIn](const std::uint8_t* p, std::uint8_t* o)
                      {
                          o[0] = o[1] = o[2] = p[0];
                          o[3] = nIn == 2 ? p[1] : 255;
                          return true;
                      });
    }
    else if (nDepth == 32)
    {
        r = Unpack<4, true>(data, bRunLength, nIn, nPixels, cursor,
                            [](const std::uint8_t* p, std::uint8_t* o)
                            {
                                std::memcpy(o, p, 4);
                                return true;
                            });
    }
    else
    {
        const bool bAlpha = nDepth == 16 && bAlpha16;
        r = Unpack<4>(data, bRunLength, nIn, nPixels, cursor,
                      [bAlpha](const std::uint8_t* p, std::uint8_t* o)
                      {
                          Widen16(p, bAlpha, o);
                          return true;
                      });
    }
    if (!r)
        return r;
    picture.nWidth = out.nWidth;
    picture.nHeight = out.nHeight;
    picture.nBitsPerPixel = out.nBitsPerPixel;
    picture.palette = Palette{};
    picture.pixels = std::move(out.pixels);
    return Result::Ok();
}
