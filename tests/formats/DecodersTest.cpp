#include <gtest/gtest.h>

#include <vector>

#include "AniDecoder.h"
#include "ByteWriter.h"
#include "MediaBuilders.h"
#include "PcxDecoder.h"
#include "TgaDecoder.h"

namespace
{
using Bytes = std::vector<unsigned char>;

// A PCX header for an 8-bit picture from (0, 0) to (nXMax, nYMax).
ByteWriter PcxHeader(int nXMax, int nYMax, int nBytesPerLine)
{
    ByteWriter out;
    out.U8(10);
    out.U8(5);
    out.U8(1);
    out.U8(8);
    out.U16(0);
    out.U16(0);
    out.U16(static_cast<std::uint16_t>(nXMax));
    out.U16(static_cast<std::uint16_t>(nYMax));
    out.PadTo(66);
    out.U16(static_cast<std::uint16_t>(nBytesPerLine));
    out.PadTo(128);
    return out;
}

void PaletteBytes(ByteWriter& out, std::uint8_t bySeed)
{
    for (int i = 0; i < 768; ++i)
        out.U8(static_cast<std::uint8_t>(bySeed + i));
}

std::vector<std::uint8_t> Row(const DecodedPicture& p, int y, int nBytes)
{
    const std::size_t nStride = PictureStride(p.nWidth, p.nBitsPerPixel);
    const auto* pRow = p.pixels.data() + static_cast<std::size_t>(y) * nStride;
    return {pRow, pRow + nBytes};
}

// An ANI with one key frame record and frames given as raw codes.
Bytes Ani(int nWidth, int nHeight, int nFps, int nFrames, const Bytes& codes)
{
    ByteWriter out;
    out.U16(0);
    out.U16(2);
    out.U16(static_cast<std::uint16_t>(nFps));
    out.PadTo(9);
    out.U16(static_cast<std::uint16_t>(nWidth));
    out.U16(static_cast<std::uint16_t>(nHeight));
    out.U16(static_cast<std::uint16_t>(nFrames));
    out.U8(0xEE);
    PaletteBytes(out, 0);
    out.U16(1);
    out.PadTo(out.Size() + 6 + 4);
    out.Bytes(codes);
    return out.Data();
}

const std::vector<std::uint8_t> kFramePadding = {0xAA, 0xAA, 0xAA};
} // namespace

TEST(PcxDecoder, RunsCrossRowsOddWidthPaddingIsDroppedAndThePaletteFollowsTheCodes)
{
    ByteWriter pcx = PcxHeader(4, 1, 6); // 5 x 2: lines of 6 bytes, rows of 8
    for (std::uint8_t b : {1, 2, 3})
        pcx.U8(b);
    pcx.U8(0xC5); // 5 bytes: the end of row 0 and the first two of row 1
    pcx.U8(7);
    pcx.U8(0xC0); // length 0 counts as 1
    pcx.U8(9);
    for (std::uint8_t b : {10, 11, 12})
        pcx.U8(b);
    pcx.U8(0xFF); // not a marker, but the palette is found behind it regardless
    PaletteBytes(pcx, 40);
    PaletteBytes(pcx, 90); // what a palette at the end of the entry would be

    DecodedPicture p;
    ASSERT_TRUE(DecodePcx(pcx.Data(), p));
    EXPECT_EQ(p.nWidth, 5);
    EXPECT_EQ(p.nHeight, 2);
    EXPECT_EQ(p.nBitsPerPixel, 8);
    ASSERT_EQ(p.pixels.size(), 16u);
    EXPECT_EQ(Row(p, 0, 8), std::vector<std::uint8_t>({1, 2, 3, 7, 7, 0, 0, 0}));
    EXPECT_EQ(Row(p, 1, 8), std::vector<std::uint8_t>({7, 7, 9, 10, 11, 0, 0, 0}));
    EXPECT_EQ(p.palette[0].byRed, 40);
    EXPECT_EQ(p.palette[255].byBlue, static_cast<std::uint8_t>(40 + 767));
}

TEST(PcxDecoder, LinesPaddedBeyondAnEvenWidthKeepTheirRowsStraight)
{
    // Width 3 stored in lines of 8 bytes; a header that claims fewer bytes than the width
    // falls back to the even width.
    for (const auto& [nBytesPerLine, nLine] : {std::pair{8, 8}, std::pair{1, 4}})
    {
        ByteWriter pcx = PcxHeader(2, 1, nBytesPerLine);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < nLine; ++x)
                pcx.U8(static_cast<std::uint8_t>(x < 3 ? 10 * y + x : 0x3F));
        pcx.U8(12);
        PaletteBytes(pcx, 0);
        DecodedPicture p;
        ASSERT_TRUE(DecodePcx(pcx.Data(), p)) << nBytesPerLine;
        EXPECT_EQ(Row(p, 1, 3), std::vector<std::uint8_t>({10, 11, 12})) << nBytesPerLine;
    }
}

TEST(PcxDecoder, ShortOrImpossibleDataIsRejectedAndAShortPaletteIsBlack)
{
    DecodedPicture p;
    EXPECT_FALSE(DecodePcx(Bytes(127, 0), p));
    // Xmax below Xmin.
    EXPECT_FALSE(DecodePcx(PcxHeader(0xFFFF, 0, 2).Data(), p));
    // 32767 x 32767 from two code bytes: refused before anything is allocated.
    ByteWriter huge = PcxHeader(0x7FFE, 0x7FFE, 0);
    huge.U8(0xFF);
    huge.U8(1);
    EXPECT_FALSE(DecodePcx(huge.Data(), p));
    // A run byte without its value at the end of the data.
    ByteWriter cut = PcxHeader(1, 0, 2);
    cut.U8(0xC2);
    EXPECT_FALSE(DecodePcx(cut.Data(), p));
    EXPECT_EQ(p.nHeight, 0);

    // Complete pixels, then the marker and one colour and a half.
    ByteWriter shortPalette = PcxHeader(1, 0, 2);
    shortPalette.U8(0xC2);
    shortPalette.U8(1);
    for (std::uint8_t b : {12, 50, 60, 70, 80})
        shortPalette.U8(b);
    ASSERT_TRUE(DecodePcx(shortPalette.Data(), p));
    EXPECT_EQ(p.palette[0].byBlue, 70);
    EXPECT_EQ(p.palette[1].byRed, 0);
}

TEST(TgaDecoder, HeaderFieldsOutsideTheFormatAndShortFilesAreRefused)
{
    const auto good = MakeTga(2, 2, 24, false, [](int, int) { return Rgb{1, 2, 3}; });
    DecodedPicture p;
    ASSERT_TRUE(DecodeTga(good, p));
    const auto Rejects = [&](std::size_t nAt, std::uint8_t byValue, const char* szWhy)
    {
        Bytes bad = good;
        bad[nAt] = byValue;
        DecodedPicture q;
        const Result r = DecodeTga(bad, q);
        EXPECT_FALSE(r) << szWhy;
        EXPECT_EQ(q.nHeight, 0) << szWhy;
        return r.Text();
    };
    Rejects(0, 1, "an image ID that leaves the pixels a byte short");
    Rejects(1, 2, "colour map type");
    EXPECT_NE(Rejects(2, 12, "image type").find("12"), std::string::npos);
    EXPECT_NE(Rejects(16, 20, "20 bits").find("20"), std::string::npos);
    Rejects(12, 0, "width 0");
    EXPECT_NE(DecodeTga(Bytes{1}, p).Text().find("header"), std::string::npos);
    EXPECT_FALSE(DecodeTga(Bytes(good.begin(), good.end() - 1), p));
}

TEST(TgaDecoder, RowsAreStoredBottomFirstWhateverTheOrigin)
{
    // Width 3 at 24 bits: 9 bytes a row in the file, 12 in the picture.
    const auto pixel = [](int x, int y) {
        return Rgb{static_cast<std::uint8_t>(x), 0, static_cast<std::uint8_t>(y)};
    };
    for (bool bTopFirst : {false, true})
    {
        DecodedPicture p;
        ASSERT_TRUE(DecodeTga(MakeTga(3, 2, 24, bTopFirst, pixel), p));
        EXPECT_EQ(p.nBitsPerPixel, 24);
        ASSERT_EQ(p.pixels.size(), 24u);
        // Row 0 of the picture is the bottom row (y 1): blue 1, green 0, red x.
        EXPECT_EQ(Row(p, 0, 12), std::vector<std::uint8_t>({1, 0, 0, 1, 0, 1, 1, 0, 2, 0, 0, 0}))
            << bTopFirst;
        EXPECT_EQ(PictureToRgb(p),
                  std::vector<std::uint8_t>({0, 0, 0, 1, 0, 0, 2, 0, 0, 0, 0, 1, 1, 0, 1, 2, 0, 1}))
            << bTopFirst;
    }
    DecodedPicture p32;
    ASSERT_TRUE(DecodeTga(MakeTga(1, 2, 32, true, pixel), p32));
    EXPECT_EQ(p32.pixels, std::vector<std::uint8_t>({1, 0, 0, 255, 0, 0, 0, 255}));
}

TEST(AniDecoder, HeaderGivesTheFirstFramePastTheSkippedRecordsAndRejectsWhatCannotPlay)
{
    const Bytes ani = Ani(4, 2, 15, 3, Bytes(12, 0));
    AniHeader h;
    ASSERT_TRUE(ParseAniHeader(ani, static_cast<std::int64_t>(ani.size()), h));
    EXPECT_EQ(h.nFramesPerSecond, 15);
    EXPECT_EQ(h.nWidth, 4);
    EXPECT_EQ(h.nHeight, 2);
    EXPECT_EQ(h.nFrameCount, 3);
    EXPECT_EQ(h.byPackerCode, 0xEE);
    EXPECT_EQ(h.palette[1].byRed, 3);
    EXPECT_EQ(h.nFirstFrameOffset, 796u);

    const auto Parses = [](const Bytes& bytes)
    {
        AniHeader unused;
        return ParseAniHeader(bytes, static_cast<std::int64_t>(bytes.size()), unused).IsOk();
    };
    EXPECT_FALSE(Parses(Ani(0, 2, 15, 3, Bytes(12, 0))));
    EXPECT_FALSE(Parses(Ani(4, 2, 15, 0, Bytes(12, 0))));
    EXPECT_FALSE(Parses(Ani(4, 2, -1, 3, Bytes(12, 0))));
    EXPECT_FALSE(Parses(Bytes(ani.begin(), ani.begin() + 795)));
    // A frame of 30000 x 30000 pixels cannot come out of a few bytes.
    EXPECT_FALSE(Parses(Ani(30000, 30000, 15, 1, Bytes(4, 0))));

    // Faster than a window timer can fire: as fast as it can.
    EXPECT_EQ(AniFrameInterval(5000), 10);
}

TEST(AniDecoder, PackerCodesRunsAcrossRowsAndTransparentPixels)
{
    // 5 x 2, stride 8; the padding bytes hold 0xAA and must keep it.
    std::vector<std::uint8_t> frame(16, 0);
    for (std::size_t i : {5u, 6u, 7u, 13u, 14u, 15u})
        frame[i] = 0xAA;
    // Leading byte; EE 00: one EE; EE 01: two EE; EE 05 07: six 7s across the row end;
    // FE leaves its pixel; the last two bytes belong to the next frame.
    const Bytes code = {1, 0xEE, 0x00, 0xEE, 0x01, 0xEE, 0x05, 0x07, 0xFE, 0x03, 0x99};
    EXPECT_EQ(DecodeAniFrame(code, 5, 2, 0xEE, frame), 9u);
    EXPECT_EQ(frame, std::vector<std::uint8_t>({0xEE, 0xEE, 0xEE, 7, 7, 0xAA, 0xAA, 0xAA, //
                                                7, 7, 7, 7, 0, 0xAA, 0xAA, 0xAA}));
    // A run of 254 changes nothing; codes ending early stop the decoder at their end.
    const Bytes transparent = {0, 0xEE, 0x03, 0xFE, 0x05, 0xEE};
    EXPECT_EQ(DecodeAniFrame(transparent, 5, 2, 0xEE, frame), transparent.size());
    EXPECT_EQ(frame[0], 0xEE);
    EXPECT_EQ(frame[3], 7);
    EXPECT_EQ(frame[4], 5);
    EXPECT_EQ(DecodeAniFrame(Bytes{}, 5, 2, 0xEE, frame), 0u);
}
