#include "JpgDecoder.h"

#include <csetjmp>
#include <cstdio>
#include <new>
#include <string>

#include <jpeglib.h>

#include "PictureLimits.h"

namespace
{
// libjpeg reports errors by calling error_exit, which must not return: it jumps back here
// with the library's text.
struct ErrorManager
{
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char szMessage[JMSG_LENGTH_MAX];
};

[[noreturn]] void OnError(j_common_ptr pInfo)
{
    auto* pErrors = reinterpret_cast<ErrorManager*>(pInfo->err);
    pInfo->err->format_message(pInfo, pErrors->szMessage);
    std::longjmp(pErrors->jump, 1);
}

void OnMessage(j_common_ptr, int)
{
    // Warnings about damaged but decodable data are no reason to stop or to print.
}

// What setjmp may come back into: nothing with a destructor lives in this frame.
bool DecodeInto(std::span<const std::uint8_t> bytes, RgbaPicture& picture, std::string& error)
{
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = OnError;
    errors.pub.emit_message = OnMessage;
    if (setjmp(errors.jump))
    {
        error = std::string("damaged JPG picture: ") + errors.szMessage;
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    if (!IsPictureSizeAllowed(info.image_width, info.image_height))
    {
        error = "JPG picture of " + std::to_string(info.image_width) + "x" +
                std::to_string(info.image_height) + " pixels is too large";
        jpeg_destroy_decompress(&info);
        return false;
    }
    // Even a flat colour takes a few bits per 8x8 block, so the header's size must fit the
    // entry's bytes; a forged one would make libjpeg fill a huge picture with grey.
    if (std::uint64_t{info.image_width} * info.image_height >
        std::uint64_t{4096} * bytes.size() + (std::uint64_t{1} << 22))
    {
        error = "JPG picture is shorter than its header says";
        jpeg_destroy_decompress(&info);
        return false;
    }
    const bool bCmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = bCmyk ? JCS_CMYK : JCS_EXT_RGBA;
    jpeg_start_decompress(&info);

    const std::size_t nWidth = info.output_width;
    const std::size_t nHeight = info.output_height;
    try
    {
        picture.rgba.resize(nWidth * nHeight * 4);
    }
    catch (const std::bad_alloc&)
    {
        error = "not enough memory for the JPG picture";
        jpeg_destroy_decompress(&info);
        return false;
    }
    while (info.output_scanline < info.output_height)
    {
        JSAMPROW pRow = picture.rgba.data() + std::size_t{info.output_scanline} * nWidth * 4;
        jpeg_read_scanlines(&info, &pRow, 1);
    }
    // Adobe's CMYK JPGs store the inks inverted; the colour is what is left of white.
    if (bCmyk)
    {
        const bool bInverted = info.saw_Adobe_marker;
        for (std::size_t i = 0; i < picture.rgba.size(); i += 4)
        {
            std::uint8_t* p = picture.rgba.data() + i;
            const int k = bInverted ? p[3] : 255 - p[3];
            for (int c = 0; c < 3; ++c)
            {
                const int ink = bInverted ? p[c] : 255 - p[c];
                p[c] = static_cast<std::uint8_t>(ink * k / 255);
            }
            p[3] = 255;
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    picture.nWidth = static_cast<std::int32_t>(nWidth);
    picture.nHeight = static_cast<std::int32_t>(nHeight);
    picture.strFormat = "JPG";
    return true;
}
} // namespace

Result DecodeJpg(std::span<const std::uint8_t> bytes, RgbaPicture& picture)
{
    if (bytes.size() < 3 || bytes[0] != 0xFF || bytes[1] != 0xD8 || bytes[2] != 0xFF)
        return Result::Fail("not a JPG picture");
    RgbaPicture decoded;
    std::string error;
    if (!DecodeInto(bytes, decoded, error))
        return Result::Fail(error);
    picture = std::move(decoded);
    return Result::Ok();
}
