#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <png.h>

#include "CliRunner.h"
#include "DdsBuilder.h"
#include "PofBuilder.h"
#include "TempDir.h"
#include "VpBuilder.h"

namespace
{
struct ModelCli : ::testing::Test
{
    TempDir dir;
    std::string archive = dir / "ships.vp";
    std::string png = dir / "ship.png";

    void SetUp() override
    {
        std::vector<unsigned char> broken = MakeShipPof(300, "hull");
        broken.resize(broken.size() - 10);
        VpBuilder()
            .Dir("data")
            .Dir("models")
            .File("cruiser.pof", MakeShipPof(300, "Hull"))
            .File("bare.pof", MakeShipPof(300, "paint"))
            .File("broken.pof", broken)
            .Up()
            .Dir("maps")
            .File("hull.dds", MakeDxt1Texture(16,
                                              [](double, double) {
                                                  return Rgb{250, 40, 40};
                                              }))
            .Up()
            .Up()
            .WriteTo(archive);
    }

    // Red, green, blue rows from the top.
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

    // Pixels of the model (not the background) whose red stands out, and all of the model's.
    static std::pair<int, int> RedAndDrawn(const std::vector<std::uint8_t>& rgb)
    {
        int nRed = 0, nDrawn = 0;
        for (std::size_t i = 0; i + 2 < rgb.size(); i += 3)
        {
            if (rgb[i] == 26 && rgb[i + 1] == 28 && rgb[i + 2] == 34)
                continue;
            ++nDrawn;
            nRed += rgb[i] > 2 * rgb[i + 1] ? 1 : 0;
        }
        return {nRed, nDrawn};
    }
};
} // namespace

TEST_F(ModelCli, RendersTheShipWithItsTexturesAtTheGivenSizeAndView)
{
    CliRun run = RunCli({"render", archive, "*cruiser.pof", "-o", png, "--size", "120x80"});
    ASSERT_EQ(run.nExit, 0) << run.err;
    int w = 0, h = 0;
    const std::vector<std::uint8_t> textured = ReadPng(png, w, h);
    EXPECT_EQ(w, 120);
    EXPECT_EQ(h, 80);
    const auto [nRed, nDrawn] = RedAndDrawn(textured);
    EXPECT_GT(nDrawn, 120 * 80 / 10);
    EXPECT_GT(nRed, nDrawn / 2);

    for (const std::vector<std::string>& options :
         {std::vector<std::string>{"--no-textures"}, {"--wireframe"}, {"--yaw", "120"}})
    {
        std::vector<std::string> args{"render", archive,  "*cruiser.pof", "-o",
                                      png,      "--size", "120x80"};
        args.insert(args.end(), options.begin(), options.end());
        run = RunCli(args);
        ASSERT_EQ(run.nExit, 0) << run.err;
        const std::vector<std::uint8_t> other = ReadPng(png, w, h);
        EXPECT_NE(other, textured) << options[0];
        if (options[0] == "--no-textures")
        {
            EXPECT_EQ(RedAndDrawn(other).first, 0);
        }
    }
}

TEST_F(ModelCli, RefusesADamagedModelAndModelOptionsOnOtherEntries)
{
    CliRun run = RunCli({"render", archive, "*broken.pof", "-o", png});
    EXPECT_EQ(run.nExit, 1);
    EXPECT_NE(run.err.find("broken.pof: "), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("runs past the end"), std::string::npos) << run.err;
    run = RunCli({"render", archive, "*hull.dds", "-o", png, "--yaw", "10"});
    EXPECT_EQ(run.nExit, 1);
    EXPECT_NE(run.err.find("are for models"), std::string::npos) << run.err;
    run = RunCli({"render", archive, "*cruiser.pof", "-o", png, "--size", "0x10"});
    EXPECT_EQ(run.nExit, 1);
    EXPECT_NE(run.err.find("WIDTHxHEIGHT"), std::string::npos) << run.err;
    run = RunCli({"model", archive, "*broken.pof", "--json"});
    EXPECT_EQ(run.nExit, 1);
    EXPECT_TRUE(run.out.empty());
}

TEST_F(ModelCli, JsonGivesTheStructureAndWhichTexturesTheArchiveHolds)
{
    CliRun run = RunCli({"model", archive, "*cruiser.pof", "--json"});
    ASSERT_EQ(run.nExit, 0) << run.err;
    const nlohmann::json model = nlohmann::json::parse(run.out);
    EXPECT_EQ(model["entry"], "\\data\\models\\cruiser.pof");
    EXPECT_EQ(model["version"], 2117);
    EXPECT_GT(model["radius"].get<double>(), 50);
    EXPECT_EQ(model["boundingBox"]["max"].size(), 3u);
    EXPECT_EQ(model["detailLevels"], nlohmann::json::array({0, 4}));
    ASSERT_EQ(model["subobjects"].size(), 6u);
    const nlohmann::json& wings = model["subobjects"][1];
    EXPECT_EQ(wings["name"], "wings");
    EXPECT_EQ(wings["parent"], 0);
    EXPECT_EQ(wings["detailLevel"], 0);
    EXPECT_EQ(wings["vertices"], 72);
    EXPECT_EQ(wings["polygons"], 18);
    EXPECT_EQ(wings["shown"], true);
    EXPECT_TRUE(model["subobjects"][0]["parent"].is_null());
    EXPECT_TRUE(model["subobjects"][5]["detailLevel"].is_null());
    EXPECT_EQ(model["subobjects"][4]["shown"], false);
    EXPECT_EQ(model["textures"][0]["name"], "Hull");
    EXPECT_EQ(model["textures"][0]["entry"], "\\data\\maps\\hull.dds");

    run = RunCli({"model", archive, "*bare.pof", "--json"});
    ASSERT_EQ(run.nExit, 0) << run.err;
    EXPECT_TRUE(nlohmann::json::parse(run.out)["textures"][0]["entry"].is_null());

    // Names are Windows-1252 in the archive and UTF-8 once, not twice, in the output.
    const std::string accented = dir / "accented.vp";
    VpBuilder()
        .Dir("m\xE4p")
        .File("j\xE4ger.pof", MakeShipPof(300, "j\xE4ger"))
        .Up()
        .File("j\xE4ger.dds", "x")
        .WriteTo(accented);
    run = RunCli({"model", accented, "j\xC3\xA4ger.pof", "--json"});
    ASSERT_EQ(run.nExit, 0) << run.err;
    EXPECT_EQ(nlohmann::json::parse(run.out)["entry"], "\\m\xC3\xA4p\\j\xC3\xA4ger.pof");
    EXPECT_EQ(nlohmann::json::parse(run.out)["textures"][0]["entry"], "\\j\xC3\xA4ger.dds");
}
