#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <memory>
#include <vector>

#include "CMemorySource.h"
#include "CORBISTAVDoc.h"
#include "MediaBuilders.h"
#include "PictureFileBuilders.h"
#include "PofBuilder.h"
#include "PofRenderer.h"
#include "PofTextures.h"
#include "VpBuilder.h"

namespace
{
constexpr int kSide = 64;
using Pixel = std::array<int, 3>;

// Seen straight from the front (+z) the viewer's right is the model's -x.
PofView Front()
{
    PofView view;
    view.dYaw = 0;
    view.dPitch = 0;
    return view;
}

struct Triangle
{
    float z;
    std::array<std::uint8_t, 3> colour;
    bool bAnticlockwise = true;
    PofPoint normal{0, 0, 1};
};

// Triangles about the middle of the picture, each flat, in the order given.
PofMesh Mesh(const std::vector<Triangle>& triangles)
{
    PofBuildSubobject sub;
    sub.strName = "detail-0";
    for (const Triangle& t : triangles)
    {
        const int n = static_cast<int>(sub.points.size());
        sub.points.insert(sub.points.end(), {{-1, -1, t.z}, {1, -1, t.z}, {0, 1, t.z}});
        sub.normals.insert(sub.normals.end(), {t.normal, t.normal, t.normal});
        PofBuildPolygon polygon;
        polygon.vertices = t.bAnticlockwise ? std::vector<int>{n, n + 1, n + 2}
                                            : std::vector<int>{n, n + 2, n + 1};
        polygon.colour = t.colour;
        sub.polygons.push_back(polygon);
    }
    PofModel model;
    EXPECT_TRUE(ParsePof(PofBuilder().Subobject(sub).Bytes(), model));
    return BuildPofMesh(model);
}

RgbaPicture Render(const PofMesh& mesh, const PofView& view = Front(),
                   const std::vector<RgbaPicture>& textures = {})
{
    RgbaPicture picture;
    EXPECT_TRUE(RenderPof(mesh, textures, view, kSide, kSide, picture));
    return picture;
}

Pixel At(const RgbaPicture& picture, int x, int y)
{
    const std::size_t i = (static_cast<std::size_t>(y) * picture.nWidth + x) * 4;
    return {picture.rgba[i], picture.rgba[i + 1], picture.rgba[i + 2]};
}

const Pixel kBackground{26, 28, 34};
} // namespace

TEST(PofRenderer, DrawsAFrontFaceLitFromTheUpperLeftAndCullsABackFace)
{
    const RgbaPicture picture = Render(Mesh({{0, {255, 0, 0}}}));
    ASSERT_EQ(picture.nWidth, kSide);
    EXPECT_EQ(At(picture, 0, 0), kBackground);
    EXPECT_EQ(picture.rgba[3], 255);
    // Facing the viewer: ambient 0.3 and 0.7 of the light's share along the view, 0.70.
    const Pixel middle = At(picture, kSide / 2, kSide / 2);
    EXPECT_NEAR(middle[0], 255 * (0.3 + 0.7 * 0.7018), 2);
    EXPECT_EQ(middle[1], 0);
    EXPECT_EQ(middle[2], 0);

    // Normals turned to the viewer's upper left (+x, +y) catch more light than to the lower
    // right.
    const float s = 0.57735f;
    const Pixel upperLeft =
        At(Render(Mesh({{0, {255, 0, 0}, true, {s, s, s}}})), kSide / 2, kSide / 2);
    const Pixel lowerRight =
        At(Render(Mesh({{0, {255, 0, 0}, true, {-s, -s, s}}})), kSide / 2, kSide / 2);
    EXPECT_GT(upperLeft[0], middle[0]);
    EXPECT_LT(lowerRight[0], middle[0]);

    EXPECT_EQ(At(Render(Mesh({{0, {255, 0, 0}, false}})), kSide / 2, kSide / 2), kBackground);
}

TEST(PofRenderer, TheNearerOfTwoOverlappingFacesWinsInEitherOrder)
{
    const Triangle nearRed{1, {255, 0, 0}};
    const Triangle farGreen{-1, {0, 255, 0}};
    for (const auto& order :
         {std::vector<Triangle>{nearRed, farGreen}, std::vector<Triangle>{farGreen, nearRed}})
    {
        const Pixel middle = At(Render(Mesh(order)), kSide / 2, kSide / 2);
        EXPECT_GT(middle[0], 100);
        EXPECT_EQ(middle[1], 0);
    }
}

TEST(PofRenderer, MapsTexturesByTheirCornersAndDrawsMissingOnesGrey)
{
    // A quad over the view, its texture's top left (v = 0) at the model's top right, which the
    // viewer sees at the top right.
    PofBuildSubobject sub;
    sub.strName = "detail-0";
    sub.points = {{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}};
    sub.normals.assign(4, {0, 0, 1});
    PofBuildPolygon quad;
    quad.vertices = {0, 1, 2, 3};
    quad.nTexture = 0;
    quad.uv = {{0, 1}, {1, 1}, {1, 0}, {0, 0}};
    sub.polygons = {quad};
    PofModel model;
    ASSERT_TRUE(ParsePof(PofBuilder().Texture("quad").Subobject(sub).Bytes(), model));
    const PofMesh mesh = BuildPofMesh(model);

    RgbaPicture texture;
    texture.nWidth = 2;
    texture.nHeight = 2;
    texture.rgba = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 255};
    const auto dominant = [](const Pixel& p)
    {
        return p[0] > 2 * (p[1] + p[2])   ? 'r'
               : p[1] > 2 * (p[0] + p[2]) ? 'g'
               : p[2] > 2 * (p[0] + p[1]) ? 'b'
                                          : '-';
    };
    const RgbaPicture picture = Render(mesh, Front(), {texture});
    const int nQuarter = kSide / 4;
    EXPECT_EQ(dominant(At(picture, 3 * nQuarter, nQuarter)), 'r');
    EXPECT_EQ(dominant(At(picture, nQuarter, nQuarter)), 'g');
    EXPECT_EQ(dominant(At(picture, 3 * nQuarter, 3 * nQuarter)), 'b');

    PofView plain = Front();
    plain.bTextures = false;
    for (const RgbaPicture& grey : {Render(mesh, plain, {texture}), Render(mesh, Front(), {})})
    {
        const Pixel p = At(grey, 3 * nQuarter, nQuarter);
        EXPECT_EQ(p[0], p[1]);
        EXPECT_EQ(p[1], p[2]);
        EXPECT_GT(p[0], kBackground[2]);
    }
}

TEST(PofTextures, FindsTheTextureByNameInAnyDirectoryDdsFirst)
{
    const auto red = [](int, int) { return Rgb{200, 10, 20}; };
    const std::vector<unsigned char> archive = VpBuilder()
                                                   .Dir("data")
                                                   .Dir("maps")
                                                   .File("HULL.TGA", MakeTga24(2, 2, red))
                                                   .File("engine.tga", MakeTga24(4, 2, red))
                                                   .Up()
                                                   .Dir("effects")
                                                   .File("Hull.dds", "not a texture")
                                                   .Up()
                                                   .Up()
                                                   .Bytes();
    auto doc = std::make_unique<CORBISTAVDoc>();
    CMemorySource source(archive);
    ASSERT_TRUE(doc->Serialize(source, "/mods/test.vp"));
    EXPECT_EQ(doc->m_files[FindPofTexture(*doc, "hull")].strName, "Hull.dds");
    EXPECT_EQ(doc->m_files[FindPofTexture(*doc, "ENGINE.pcx")].strName, "engine.tga");
    EXPECT_EQ(FindPofTexture(*doc, "missing"), -1);

    // A texture that does not decode, or is missing, is an empty picture.
    const std::vector<RgbaPicture> textures =
        LoadPofTextures(*doc, source, {"hull", "engine", "missing"}, CEntryReader::Mode::Content);
    ASSERT_EQ(textures.size(), 3u);
    EXPECT_EQ(textures[0].nWidth, 0);
    EXPECT_EQ(textures[1].nWidth, 4);
    EXPECT_EQ(std::vector<std::uint8_t>(textures[1].rgba.begin(), textures[1].rgba.begin() + 4),
              (std::vector<std::uint8_t>{200, 10, 20, 255}));
    EXPECT_EQ(textures[2].nWidth, 0);
}

TEST(PofRenderer, ACornerBeyondWhatAFloatHoldsLeavesTheRestDrawn)
{
    // What the camera makes of an infinite corner is no position at all; the picture is
    // still drawn, with the face that lies where it should.
    PofMesh mesh = Mesh({{0, {255, 0, 0}}});
    const float inf = std::numeric_limits<float>::infinity();
    mesh.polygons.push_back({static_cast<std::uint32_t>(mesh.corners.size()), 3, -1, {0, 255, 0}});
    mesh.corners.insert(mesh.corners.end(), {{-inf, -1, -inf, 0, 0, 1, 0, 0},
                                             {inf, -1, -inf, 0, 0, 1, 0, 0},
                                             {0, inf, -inf, 0, 0, 1, 0, 0}});
    const RgbaPicture picture = Render(mesh);
    EXPECT_GT(At(picture, kSide / 2, kSide / 2)[0], 0);
}
