#include "PngDecoder.h"

#include <algorithm>
#include <new>
#include <string>

#include <png.h>

#include "PictureLimits.h"

namespace
{
constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

std::uint32_t BigEndian32(const std::uint8_t* p)
{
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
           p[3];
}

// Deflate expands at most about 1032 times, so the filtered rows the header announces must
// fit into that many times the entry's bytes; a forged header is refused before any
// allocation.
bool RowsFitTheBytes(std::span<const std::uint8_t> bytes, std::uint32_t nWidth,
                     std::uint32_t nHeight)
{
    if (bytes.size() < 33)
        return false;
    const int nDepth = bytes[24];
    int nChannels = 1;
    switch (bytes[25])
    {
    case 2:
        nChannels = 3;
        break;
    case 4:
        nChannels = 2;
        break;
    case 6:
        nChannels = 4;
        break;
    default:
        break;
    }
    const std::uint64_t nRowBytes = (std::uint64_t{nWidth} * nChannels * nDepth + 7) / 8 + 1;
    return nRowBytes * nHeight <= std::uint64_t{1100} * bytes.size() + 4096;
}
} // namespace

Result DecodePng(std::span<const std::uint8_t> bytes, RgbaPicture& picture)
{
    if (bytes.size() < 8 || !std::equal(kSignature, kSignature + 8, bytes.begin()))
        return Result::Fail("not a PNG picture");
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()))
        return Result::Fail(std::string("damaged PNG picture: ") + image.message);
    const std::uint32_t nWidth = bytes.size() >= 24 ? BigEndian32(bytes.data() + 16) : 0;
    const std::uint32_t nHeight = bytes.size() >= 24 ? BigEndian32(bytes.data() + 20) : 0;
    if (!IsPictureSizeAllowed(image.width, image.height))
    {
        png_image_free(&image);
        return Result::Fail("PNG picture of " + std::to_string(image.width) + "x" +
                            std::to_string(image.height) + " pixels is too large");
    }
    if (nWidth != image.width || nHeight != image.height ||
        !RowsFitTheBytes(bytes, image.width, image.height))
    {
        png_image_free(&image);
        return Result::Fail("PNG picture is shorter than its header says");
    }
    image.format = PNG_FORMAT_RGBA;
    std::vector<std::uint8_t> rgba;
    try
    {
        rgba.resize(PNG_IMAGE_SIZE(image));
    }
    catch (const std::bad_alloc&)
    {
        png_image_free(&image);
        return Result::Fail("not enough memory for the PNG picture");
    }
    if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr))
        return Result::Fail(std::string("damaged PNG picture: ") + image.message);
    picture.nWidth = static_cast<std::int32_t>(image.width);
    picture.nHeight = static_cast<std::int32_t>(image.height);
    picture.rgba = std::move(rgba);
    picture.strFormat = "PNG";
    return Result::Ok();
}
