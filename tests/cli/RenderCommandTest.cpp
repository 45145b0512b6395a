#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <iterator>
#include <tuple>

#include <png.h>

#include "CliRunner.h"
#include "DdsBuilder.h"
#include "MediaBuilders.h"
#include "OggBuilder.h"
#include "PictureFileBuilders.h"
#include "RfBuilders.h"
#include "TempDir.h"
#include "TtfBuilder.h"
#include "VpBuilder.h"

namespace fs = std::filesystem;

namespace
{
struct RenderCli : ::testing::Test
{
    TempDir dir;
    std::string archive = dir / "media.vp";
    std::string png = dir / "out.png";

    void SetUp() override
    {
        std::array<Rgb, 256> palette{};
        for (int i = 0; i < 256; ++i)
            palette[i] = {static_cast<std::uint8_t>(i), 0, static_cast<std::uint8_t>(255 - i)};
        std::vector<unsigned char> rle = MakeTga(2, 2, 24, false,
                                                 [](int, int) {
                                                     return Rgb{1, 2, 3};
                                                 });
        rle[2] = 10;
        VpBuilder()
            .Dir("data")
            .File("top.tga",
                  MakeTga(
                      3, 2, 32, true,
                      [](int x, int y) {
                          return Rgb{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 7};
                      }))
            .File("intro.ani",
                  MakeAni(2, 1, 15, 0xEE, palette,
                          {EncodeAniFrame(1, {10, 20}, 0xEE), EncodeAniFrame(0, {254, 30}, 0xEE)}))
            .File("rle.tga", rle)
            .File("ships.tbl", "#Ships")
            .Up()
            .WriteTo(archive);
    }

    // Red, green, blue rows from the top; empty when the file is no PNG.
    static std::vector<std::uint8_t> ReadPng(const std::string& path, int& nWidth, int& nHeight)
    {
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        if (!png_image_begin_read_from_file(&image, path.c_str()))
            return {};
        image.format = PNG_FORMAT_RGB;
        std::vector<std::uint8_t> rgb(PNG_IMAGE_SIZE(image));
        if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr))
            return {};
        nWidth = static_cast<int>(image.width);
        nHeight = static_cast<int>(image.height);
        return rgb;
    }
};
} // namespace

TEST_F(RenderCli, WritesThePixelsThePaneShows)
{
    CliRun run = RunCli({"render", archive, "data/top.tga", "-o", png});
    ASSERT_EQ(run.nExit, 0) << run.err;
    int w = 0, h = 0;
    EXPECT_EQ(ReadPng(png, w, h),
              std::vector<std::uint8_t>({0, 0, 7, 1, 0, 7, 2, 0, 7, 0, 1, 7, 1, 1, 7, 2, 1, 7}));
    EXPECT_EQ(w, 3);
    EXPECT_EQ(h, 2);

    run = RunCli({"render", archive, "\\DATA\\intro.ani", "--frame", "2", "-o", png});
    ASSERT_EQ(run.nExit, 0) << run.err;
    EXPECT_EQ(ReadPng(png, w, h), std::vector<std::uint8_t>({10, 0, 245, 30, 0, 225}));
}

TEST_F(RenderCli, RefusesWhatIsNoShowablePictureAndWritesNothing)
{
    for (const auto& [entry, frame, why] :
         {std::tuple{"*ships.tbl", "1", "not a picture"}, std::tuple{"*rle.tga", "1", "ends early"},
          std::tuple{"*intro.ani", "3", "2 frames"}, std::tuple{"*missing.pcx", "1", "no entry"},
          std::tuple{"*.tga", "1", "matches 2 entries"}})
    {
        const CliRun run = RunCli({"render", archive, entry, "--frame", frame, "-o", png});
        EXPECT_EQ(run.nExit, 1) << entry;
        EXPECT_NE(run.err.find(why), std::string::npos) << run.err;
    }
    // Neither the picture nor a temporary file.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1);
}

TEST(RenderCliModern, WritesEachKindByTheOutputsExtension)
{
    TempDir dir;
    const auto pixel = [](int x, int y)
    {
        return Rgba{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 9,
                    static_cast<std::uint8_t>(x * 100)};
    };
    // DXT1, 8x4 then 4x2: the second level one block of colour 0 (pure red).
    std::vector<unsigned char> blocks(3 * 8, 0);
    blocks[16] = 0x00, blocks[17] = 0xF8;
    std::vector<std::int16_t> samples(2000);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<std::int16_t>(6000 * std::sin(static_cast<double>(i) / 5));
    VpBuilder()
        .Dir("data")
        .File("alpha.png", MakePng(2, 2, pixel))
        .File("tex.dds", MakeDds(DdsFourCc("DXT1", 8, 4, 2), blocks))
        .File("bad.dds", MakeDds(DdsDx10(kDxgiBc5Unorm, 4, 4), std::vector<unsigned char>(16)))
        .File("theme.ogg", MakeOgg(11025, 1, samples))
        .File("ships.tbl", "#Ship Classes\r\n$Name: \xC9"
                           "clair\r\n")
        .Up()
        .WriteTo(dir / "mod.vp");
    const std::string archive = dir / "mod.vp";

    ASSERT_EQ(RunCli({"render", archive, "*alpha.png", "-o", dir / "a.png"}).nExit, 0);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, (dir / "a.png").c_str()));
    image.format = PNG_FORMAT_RGBA;
    std::vector<std::uint8_t> rgba(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr));
    EXPECT_EQ(rgba,
              (std::vector<std::uint8_t>{0, 0, 9, 0, 1, 0, 9, 100, 0, 1, 9, 0, 1, 1, 9, 100}));

    ASSERT_EQ(RunCli({"render", archive, "*tex.dds", "--mip", "1", "-o", dir / "m.png"}).nExit, 0);
    png_image mip{};
    mip.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&mip, (dir / "m.png").c_str()));
    EXPECT_EQ(mip.width, 4u);
    png_image_free(&mip);

    ASSERT_EQ(RunCli({"render", archive, "*theme.ogg", "-o", dir / "t.wav"}).nExit, 0);
    const std::string wav = ReadFileText(dir / "t.wav");
    ASSERT_GT(wav.size(), 44u);
    EXPECT_EQ(wav.substr(0, 4), "RIFF");
    EXPECT_EQ(wav.size() - 44, samples.size() * 2);

    ASSERT_EQ(RunCli({"render", archive, "*ships.tbl", "-o", dir / "s.txt"}).nExit, 0);
    EXPECT_EQ(ReadFileText(dir / "s.txt"), "#Ship Classes\n$Name: \xC3\x89"
                                           "clair\n");

    for (const auto& [entry, out, why] :
         {std::tuple{"*ships.tbl", "x.png", "not a picture"},
          std::tuple{"*alpha.png", "x.wav", "not a sound"},
          std::tuple{"*theme.ogg", "x.txt", "not text"}, std::tuple{"*bad.dds", "x.png", "BC5"},
          std::tuple{"*alpha.png", "x.bmp", ".png, .wav or .txt"}})
    {
        const CliRun run = RunCli({"render", archive, entry, "-o", dir / out});
        EXPECT_EQ(run.nExit, 1) << entry;
        EXPECT_NE(run.err.find(why), std::string::npos) << run.err;
        EXPECT_FALSE(fs::exists(dir / out));
    }
}

namespace
{
// Red, green, blue, alpha rows of a PNG file; empty when it is none.
std::vector<std::uint8_t> ReadPngRgba(const std::string& path, unsigned& nWidth, unsigned& nHeight)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return {};
    image.format = PNG_FORMAT_RGBA;
    std::vector<std::uint8_t> rgba(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr))
        return {};
    nWidth = image.width;
    nHeight = image.height;
    return rgba;
}
} // namespace

TEST(RenderCliRedFaction, VbmFramesKeepTheirAlphaFontsGiveTheirSheetsAndTextIsKnownByItsBytes)
{
    TempDir dir;
    VbmFields f;
    f.nWidth = 2;
    f.nFrames = 2;
    // Frame 2: the first pixel's alpha bit set, transparent in a version 1 file; red kept.
    const auto pixel = [](int nFrame, int, int x, int)
    { return static_cast<std::uint16_t>(nFrame == 1 && x == 0 ? 0xFC00 : 0x03E0); };
    VpBuilder()
        .Dir("data")
        .File("anim.vbm", MakeVbm(f, pixel))
        .File("font.vf", MakeVf(1, 0x0F /* coverage */, '0', 2,
                                {{4, 2, std::vector<unsigned char>(4, 14)}}, {}))
        .File("fx.hlsl", "// shader\nfloat4 main() : COLOR { return 1; }\n")
        .File("data.rfl", std::string("\x55\xDA\xBA\xD4\x00\x01", 6))
        .File("cool.ttf", "true")
        .File("sans.otf", MakeTtf("Th", 0))
        .Up()
        .WriteTo(dir / "rf.vp");
    const std::string archive = dir / "rf.vp";

    ASSERT_EQ(RunCli({"render", archive, "*anim.vbm", "--frame", "2", "-o", dir / "v.png"}).nExit,
              0);
    unsigned w = 0, h = 0;
    EXPECT_EQ(ReadPngRgba(dir / "v.png", w, h),
              (std::vector<std::uint8_t>{255, 0, 0, 0, 0, 255, 0, 255}));

    ASSERT_EQ(RunCli({"render", archive, "*font.vf", "-o", dir / "f.png"}).nExit, 0);
    EXPECT_FALSE(ReadPngRgba(dir / "f.png", w, h).empty());
    EXPECT_GT(w, 44u * 4);

    ASSERT_EQ(RunCli({"render", archive, "*sans.otf", "-o", dir / "o.png"}).nExit, 0);
    EXPECT_FALSE(ReadPngRgba(dir / "o.png", w, h).empty());
    EXPECT_GT(h, 48u);

    ASSERT_EQ(RunCli({"render", archive, "*fx.hlsl", "-o", dir / "fx.txt"}).nExit, 0);
    EXPECT_EQ(ReadFileText(dir / "fx.txt"), "// shader\nfloat4 main() : COLOR { return 1; }\n");

    for (const auto& [entry, frame, out, why] :
         {std::tuple{"*anim.vbm", "3", "x.png", "2 frames"},
          std::tuple{"*font.vf", "2", "x.png", "1 frame"},
          std::tuple{"*data.rfl", "1", "x.txt", "not text"},
          std::tuple{"*cool.ttf", "1", "x.png", "not a TrueType"}})
    {
        const CliRun run = RunCli({"render", archive, entry, "--frame", frame, "-o", dir / out});
        EXPECT_EQ(run.nExit, 1) << entry;
        EXPECT_NE(run.err.find(why), std::string::npos) << run.err;
        EXPECT_FALSE(fs::exists(dir / out));
    }
}
