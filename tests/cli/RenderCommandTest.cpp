#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <tuple>

#include <png.h>

#include "CliRunner.h"
#include "MediaBuilders.h"
#include "TempDir.h"
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
         {std::tuple{"*ships.tbl", "1", "not a picture"}, std::tuple{"*rle.tga", "1", "type is 10"},
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
