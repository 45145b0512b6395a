#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "Picture.h"
#include "Result.h"

// What the player needs of an ANI header.
struct AniHeader
{
    std::int32_t nFramesPerSecond = 0;
    std::int32_t nWidth = 0;
    std::int32_t nHeight = 0;
    std::int32_t nFrameCount = 0;
    std::uint8_t byPackerCode = 0;
    Palette palette{};
    // Where frame 1 starts, counted from the start of the entry.
    std::size_t nFirstFrameOffset = 0;
};

// The header bytes never exceed this; reading this much (or the whole entry when shorter)
// is enough for ParseAniHeader.
constexpr std::size_t kMostAniHeaderBytes = 786 + 6 * 32767 + 4;

// The code value that leaves a pixel as the previous frame drew it.
constexpr std::uint8_t kAniTransparent = 254;

// Reads the header from the first bytes of an entry of nEntrySize bytes. Rejects sizes and
// frame counts below 1, a negative rate, and a picture larger than the rest of the entry
// could encode, so the frame buffer stays bounded by the entry.
Result ParseAniHeader(std::span<const std::uint8_t> bytes, std::int64_t nEntrySize,
                      AniHeader& header);

// Timer interval of the player in milliseconds: 1000 / rate, 67 for rate 0, never below
// the 10 ms that a window timer can fire at.
int AniFrameInterval(std::int32_t nFramesPerSecond);

// The most bytes the codes of one frame of nWidth x nHeight can take, its leading byte
// included.
std::size_t MostAniFrameBytes(std::int32_t nWidth, std::int32_t nHeight);

// Decodes one frame from code (its leading byte first) into frame, a buffer of nHeight
// rows of RoundUp(nWidth, 4) bytes that keeps the previous frame. Stops at the end of
// code. Returns the bytes consumed, the leading byte included.
std::size_t DecodeAniFrame(std::span<const std::uint8_t> code, std::int32_t nWidth,
                           std::int32_t nHeight, std::uint8_t byPackerCode,
                           std::span<std::uint8_t> frame);

// Frame nFrame (1-based) of the animation in entry, as the player shows it after
// playing frames 1 to nFrame.
Result DecodeAniPicture(std::span<const std::uint8_t> entry, std::int32_t nFrame,
                        DecodedPicture& picture);
