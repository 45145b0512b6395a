#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "Result.h"
#include "RgbaPicture.h"

// What the caption and the level choice need of a DDS texture.
struct DdsInfo
{
    std::int32_t nWidth = 0;
    std::int32_t nHeight = 0;
    std::int32_t nDepth = 1;
    int nMipCount = 1;
    // 6 for a cube map; the elements of a texture array count as faces too.
    int nFaceCount = 1;
    // The coding for the caption: "DXT1", "BC7", "BGRA8", ...
    std::string strFormat;
};

// Reads the header of a DDS entry. Refuses codings it cannot decode, and a header whose faces
// and mip levels do not all lie within the bytes.
Result ReadDdsInfo(std::span<const std::uint8_t> bytes, DdsInfo& info);

// Mip level nMip (0 = largest) of face nFace (cube maps; 0 otherwise), first slice of a volume.
Result DecodeDds(std::span<const std::uint8_t> bytes, int nMip, int nFace, RgbaPicture& picture);
