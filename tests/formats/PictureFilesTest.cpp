#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include <zlib.h>

#include "JpgDecoder.h"
#include "PictureFileBuilders.h"
#include "PngDecoder.h"

namespace
{
Rgba Gradient(int x, int y)
{
    return {static_cast<std::uint8_t>(x * 40), static_cast<std::uint8_t>(y * 60),
            static_cast<std::uint8_t>(200 - x), static_cast<std::uint8_t>(255 - x * y * 10)};
}
} // namespace

TEST(PictureFiles, PngRowsFromTheTopWithAlphaAsStored)
{
    RgbaPicture picture;
    ASSERT_TRUE(DecodePng(MakePng(5, 3, Gradient), picture)) << "decoded";
    EXPECT_EQ(picture.nWidth, 5);
    EXPECT_EQ(picture.nHeight, 3);
    EXPECT_EQ(picture.strFormat, "PNG");
    std::vector<std::uint8_t> expected;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
        {
            const Rgba c = Gradient(x, y);
            expected.insert(expected.end(), {c.r, c.g, c.b, c.a});
        }
    EXPECT_EQ(picture.rgba, expected);
}

TEST(PictureFiles, JpgColoursComeBackCloseAndOpaque)
{
    const auto pixel = [](int x, int y) {
        return Rgb{static_cast<std::uint8_t>(100 + x * 4), static_cast<std::uint8_t>(y * 8), 90};
    };
    RgbaPicture picture;
    ASSERT_TRUE(DecodeJpg(MakeJpg(16, 16, pixel, 100), picture));
    ASSERT_EQ(picture.rgba.size(), 16u * 16u * 4u);
    EXPECT_EQ(picture.strFormat, "JPG");
    int nWorst = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
        {
            const std::uint8_t* p = &picture.rgba[(y * 16 + x) * 4];
            const Rgb c = pixel(x, y);
            nWorst = std::max(
                {nWorst, std::abs(p[0] - c.r), std::abs(p[1] - c.g), std::abs(p[2] - c.b)});
            EXPECT_EQ(p[3], 255);
        }
    EXPECT_LT(nWorst, 8);
}

TEST(PictureFiles, DamagedOrForgedFilesAreRefusedWithAReason)
{
    RgbaPicture picture;
    std::vector<unsigned char> png = MakePng(64, 64, Gradient);
    std::vector<unsigned char> jpg = MakeJpg(64, 64,
                                             [](int x, int) {
                                                 return Rgb{static_cast<std::uint8_t>(x), 0, 0};
                                             });
    EXPECT_EQ(DecodePng(jpg, picture).Text(), "not a PNG picture");
    EXPECT_EQ(DecodeJpg(png, picture).Text(), "not a JPG picture");

    const std::vector<unsigned char> cutPng(png.begin(), png.begin() + png.size() / 2);
    const std::vector<unsigned char> cutJpg(jpg.begin(), jpg.begin() + 200);
    EXPECT_NE(DecodePng(cutPng, picture).Text().find("damaged"), std::string::npos);
    // libjpeg pads a cut-off scan with grey; what matters is that nothing breaks.
    (void)DecodeJpg(cutJpg, picture);

    // A header claiming 8000 x 8000 pixels, with its checksum right, in a few kB.
    std::vector<unsigned char> forged = png;
    forged[18] = 0x1F, forged[19] = 0x40, forged[22] = 0x1F, forged[23] = 0x40;
    const uLong nCrc = crc32(0, forged.data() + 12, 17);
    for (int i = 0; i < 4; ++i)
        forged[29 + i] = static_cast<unsigned char>(nCrc >> (24 - 8 * i));
    // A text chunk claiming 512 MiB in a file of 60 bytes.
    std::vector<unsigned char> claim(png.begin(), png.begin() + 33);
    claim.insert(claim.end(), {0x20, 0, 0, 0, 'z', 'T', 'X', 't', 1, 2, 3, 4, 5, 6, 7, 8});
    EXPECT_NE(DecodePng(claim, picture).Text().find("ends inside a chunk"), std::string::npos);

    RgbaPicture none;
    EXPECT_EQ(DecodePng(forged, none).Text(), "PNG picture is shorter than its header says");
    EXPECT_EQ(none.rgba.size(), 0u);
}
