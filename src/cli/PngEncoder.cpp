#include "PngEncoder.h"

#include <png.h>

Result EncodePng(int nWidth, int nHeight, const std::vector<std::uint8_t>& rgb, std::string& png,
                 int nChannels)
{
    if (nWidth <= 0 || nHeight <= 0 || (nChannels != 3 && nChannels != 4) ||
        rgb.size() != static_cast<std::size_t>(nWidth) * static_cast<std::size_t>(nHeight) *
                          static_cast<std::size_t>(nChannels))
        return Result::Fail("no pixels to write");
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(nWidth);
    image.height = static_cast<png_uint_32>(nHeight);
    image.format = nChannels == 4 ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    png_alloc_size_t nSize = 0;
    if (!png_image_write_get_memory_size(image, nSize, 0, rgb.data(), 0, nullptr))
        return Result::Fail(std::string("cannot encode the PNG: ") + image.message);
    png.resize(nSize);
    if (!png_image_write_to_memory(&image, png.data(), &nSize, 0, rgb.data(), 0, nullptr))
        return Result::Fail(std::string("cannot encode the PNG: ") + image.message);
    png.resize(nSize);
    return Result::Ok();
}
