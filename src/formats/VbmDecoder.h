#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "Result.h"
#include "RgbaPicture.h"

// A Red Faction bitmap or animation: frames of 16-bit pixels, each frame with its mip levels.
struct VbmAnimation
{
    std::uint32_t nVersion = 0;
    std::uint32_t nFormat = 0; // 0 A1R5G5B5, 1 A4R4G4B4, 2 R5G6B5
    std::int32_t nWidth = 0;
    std::int32_t nHeight = 0;
    std::uint32_t nFramesPerSecond = 0;
    std::int32_t nFrameCount = 0;
    std::int32_t nLevelCount = 0; // level 0 and the mip levels below it
    // Every frame's levels in file order, rows from the top.
    std::vector<std::uint16_t> pixels;
};

// Reads the header and the pixels. The entry must be exactly as long as its header says,
// which is the only check a VBM offers that it was read right.
Result DecodeVbm(std::span<const std::uint8_t> entry, VbmAnimation& vbm);

// Version 1 files store the 1555 alpha bit inverted (set = transparent); the viewer lets the
// user flip it because other versions are not known to.
bool VbmAlphaInvertedByDefault(const VbmAnimation& vbm);

// Frame nFrame (from 0), level nLevel (0 the full size) as red, green, blue, alpha, straight:
// the colour under a transparent pixel is kept. bAlphaInverted applies to 1555 only.
// strFormat names the pixel format ("1555").
Result VbmFrameRgba(const VbmAnimation& vbm, int nFrame, int nLevel, bool bAlphaInverted,
                    RgbaPicture& picture);

// The frame shown nMilliseconds after the animation started, at the file's rate.
int VbmFrameAt(const VbmAnimation& vbm, std::int64_t nMilliseconds);
