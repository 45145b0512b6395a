#include "Picture.h"

std::int64_t RoundUp(std::int64_t nValue, std::int64_t nMultiple)
{
    const std::int64_t nRest = nValue % nMultiple;
    return nRest == 0 ? nValue : nValue + (nMultiple - nRest);
}

std::size_t PictureStride(std::int32_t nWidth, std::int32_t nBitsPerPixel)
{
    return static_cast<std::size_t>(
        RoundUp(static_cast<std::int64_t>(nWidth) * nBitsPerPixel / 8, 4));
}

std::vector<std::uint8_t> PictureToRgb(const DecodedPicture& picture)
{
    const int nBpp = picture.nBitsPerPixel;
    if ((nBpp != 8 && nBpp != 24 && nBpp != 32) || picture.nWidth <= 0 || picture.nHeight <= 0)
        return {};
    const std::size_t nWidth = static_cast<std::size_t>(picture.nWidth);
    const std::size_t nHeight = static_cast<std::size_t>(picture.nHeight);
    const std::size_t nStride = PictureStride(picture.nWidth, nBpp);
    if (picture.pixels.size() < nStride * nHeight)
        return {};

    std::vector<std::uint8_t> rgb(nWidth * nHeight * 3);
    std::uint8_t* pOut = rgb.data();
    for (std::size_t y = 0; y < nHeight; ++y)
    {
        if (nBpp == 8)
        {
            const std::uint8_t* pRow = picture.pixels.data() + y * nStride;
            for (std::size_t x = 0; x < nWidth; ++x)
            {
                const PaletteEntry& c = picture.palette[pRow[x]];
                *pOut++ = c.byRed;
                *pOut++ = c.byGreen;
                *pOut++ = c.byBlue;
            }
            continue;
        }
        const std::size_t nBytes = static_cast<std::size_t>(nBpp / 8);
        const std::uint8_t* pRow = picture.pixels.data() + (nHeight - 1 - y) * nStride;
        for (std::size_t x = 0; x < nWidth; ++x, pRow += nBytes)
        {
            *pOut++ = pRow[2];
            *pOut++ = pRow[1];
            *pOut++ = pRow[0];
        }
    }
    return rgb;
}
