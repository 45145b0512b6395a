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
// The chunks that make the picture, each checked to lie within the bytes. libpng allocates a
// chunk's claimed length before reading it (a 60-byte file asked for 512 MiB) and inflates
// text and profile chunks without a limit; neither changes the pixels shown.
bool KeepPictureChunks(std::span<const std::uint8_t> bytes, std::vector<std::uint8_t>& kept)
{
    static constexpr const char* kKept[] = {"IHDR", "PLTE", "tRNS", "IDAT", "IEND"};
    kept.assign(bytes.begin(), bytes.begin() + 8);
    std::size_t nPos = 8;
    while (nPos + 12 <= bytes.size())
    {
        const std::uint64_t nLength = BigEndian32(bytes.data() + nPos);
        if (nLength > bytes.size() - nPos - 12)
            return false;
        const char* pType = reinterpret_cast<const char*>(bytes.data() + nPos + 4);
        const std::size_t nChunk = static_cast<std::size_t>(nLength) + 12;
        for (const char* szKept : kKept)
            if (std::equal(szKept, szKept + 4, pType))
                kept.insert(kept.end(), bytes.begin() + static_cast<std::ptrdiff_t>(nPos),
                            bytes.begin() + static_cast<std::ptrdiff_t>(nPos + nChunk));
        nPos += nChunk;
        if (std::equal(pType, pType + 4, "IEND"))
            return true;
    }
    // Whole chunks up to the end but no end chunk, as some tools write them: the picture is
    // all there.
    if (nPos != bytes.size())
        return false;
    kept.insert(kept.end(), {0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82});
    return true;
}
} // namespace

Result DecodePng(std::span<const std::uint8_t> entry, RgbaPicture& picture)
{
    if (entry.size() < 8 || !std::equal(kSignature, kSignature + 8, entry.begin()))
        return Result::Fail("not a PNG picture");
    std::vector<std::uint8_t> kept;
    if (!KeepPictureChunks(entry, kept))
        return Result::Fail("damaged PNG picture: it ends inside a chunk or has no end chunk");
    const std::span<const std::uint8_t> bytes(kept);
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
