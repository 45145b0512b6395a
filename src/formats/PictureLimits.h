#pragma once

#include <cstdint>

// The largest picture any decoder builds: 16384 on a side and 256 MiB of RGBA, so a forged
// header of a few bytes never asks for gigabytes.
constexpr std::int64_t kMostPictureSide = 16384;
constexpr std::int64_t kMostPicturePixels = std::int64_t{1} << 26;

inline bool IsPictureSizeAllowed(std::int64_t nWidth, std::int64_t nHeight)
{
    return nWidth > 0 && nHeight > 0 && nWidth <= kMostPictureSide && nHeight <= kMostPictureSide &&
           nWidth * nHeight <= kMostPicturePixels;
}
