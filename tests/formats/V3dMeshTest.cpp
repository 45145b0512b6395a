#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <memory>
#include <vector>

#include "CMemorySource.h"
#include "CORBISTAVDoc.h"
#include "MediaBuilders.h"
#include "RfBuilders.h"
#include "V3dMesh.h"
#include "V3dTextures.h"
#include "V3mBuilder.h"
#include "VpBuilder.h"

namespace
{
V3dMesh Parse(const std::vector<unsigned char>& bytes)
{
    V3dMesh mesh;
    const Result r = ParseV3d(bytes, mesh);
    EXPECT_TRUE(r) << r.Text();
    return mesh;
}

// Seen from straight in front of its +z side.
RgbaPicture Render(const V3dMesh& mesh, double dYaw = 0,
                   const std::vector<RgbaPicture>& textures = {})
{
    PofView view;
    view.dYaw = dYaw;
    view.dPitch = 0;
    RgbaPicture picture;
    EXPECT_TRUE(RenderPof(BuildV3dMesh(mesh), textures, view, 32, 32, picture));
    return picture;
}

std::array<int, 3> Middle(const RgbaPicture& picture)
{
    const std::size_t i = (16 * 32 + 16) * 4;
    return {picture.rgba[i], picture.rgba[i + 1], picture.rgba[i + 2]};
}

bool DrawnInTheMiddle(const RgbaPicture& picture)
{
    return Middle(picture) != std::array<int, 3>{26, 28, 34}; // not the background
}
} // namespace

TEST(V3dMesh, ReadsAOneTriangleMeshAndRefusesEveryTruncation)
{
    const std::vector<unsigned char> bytes =
        V3mBuilder().Submesh(OneTriangleSubmesh("skin.tga")).Bytes();
    const V3dMesh mesh = Parse(bytes);
    ASSERT_EQ(mesh.submeshes.size(), 1u);
    EXPECT_FALSE(mesh.bCharacter);
    const V3dLevel& level = mesh.submeshes[0].levels.at(0);
    EXPECT_EQ(mesh.submeshes[0].strName, "triangle");
    EXPECT_EQ(level.textures, std::vector<std::string>{"skin.tga"});
    ASSERT_EQ(level.batches.size(), 1u);
    const V3dBatch& batch = level.batches[0];
    EXPECT_EQ(batch.nTexture, 0);
    ASSERT_EQ(batch.positions.size(), 3u);
    EXPECT_EQ(batch.positions[1].x, -1);
    EXPECT_EQ(batch.normals[2].z, 1);
    EXPECT_EQ(batch.uvs[0], (std::array<float, 2>{0.5f, 0}));
    ASSERT_EQ(batch.triangles.size(), 1u);
    EXPECT_EQ(batch.triangles[0].vertices, (std::array<std::uint16_t, 3>{0, 1, 2}));
    EXPECT_EQ(mesh.ShownTriangleCount(), 1u);

    for (std::size_t n = 0; n < bytes.size(); ++n)
    {
        V3dMesh cut;
        EXPECT_FALSE(ParseV3d(std::span(bytes.data(), n), cut)) << n << " bytes";
    }
}

TEST(V3dMesh, RefusesWhatNoMeshHolds)
{
    V3mBuildSubmesh sub = OneTriangleSubmesh("skin.tga");
    sub.levels[0].batches[0].triangles[0].c = 3;
    V3dMesh mesh;
    const Result r = ParseV3d(V3mBuilder().Submesh(sub).Bytes(), mesh);
    EXPECT_EQ(r.Text(), "submesh 1, level 1, batch 1: a triangle names vertex 3 of 3");

    std::vector<unsigned char> bytes = V3mBuilder().Submesh(OneTriangleSubmesh("a")).Bytes();
    bytes[0] = 'X';
    EXPECT_FALSE(ParseV3d(bytes, mesh));
    bytes = V3mBuilder().Bytes();
    EXPECT_EQ(ParseV3d(bytes, mesh).Text(), "the mesh has no submesh");
}

TEST(V3dMesh, SkipsEachRegionByItsSizeAndReadsACharactersSections)
{
    // Two batches with slack in every size, planes, bone links, shared positions and a morph
    // map: the second batch is only right if every region before it was skipped right.
    V3mBuildSubmesh sub = OneTriangleSubmesh("skin.tga");
    V3mBuildLevel& level = sub.levels[0];
    level.nFlags = 0x23;
    level.nPropPoints = 2;
    level.textures.push_back("face.vbm");
    V3mBuildBatch second = level.batches[0];
    second.nTexture = 1;
    second.vertices.push_back({0, 1, 0});
    second.vertices[0].x = 0.25f;
    second.samePosition = {0, 0, 0, 3};
    second.triangles = {{3, 1, 2, 0}};
    for (V3mBuildBatch* batch : {&level.batches[0], &second})
    {
        batch->nSlack = 20;
        batch->bBoneLinks = true;
    }
    level.batches.push_back(second);
    sub.levels.push_back(sub.levels[0]);
    const V3dMesh mesh = Parse(V3mBuilder().Character({"root", "head"}).Submesh(sub).Bytes());

    EXPECT_TRUE(mesh.bCharacter);
    EXPECT_EQ(mesh.bones, (std::vector<std::string>{"root", "head"}));
    EXPECT_EQ(mesh.nSpheres, 1u);
    ASSERT_EQ(mesh.submeshes[0].levels.size(), 2u);
    const V3dBatch& read = mesh.submeshes[0].levels[1].batches.at(1);
    EXPECT_EQ(read.nTexture, 1);
    EXPECT_EQ(read.positions[0].x, 0.25f);
    EXPECT_EQ(read.uvs[2], (std::array<float, 2>{1, 1}));
    EXPECT_EQ(read.samePosition, (std::vector<std::int16_t>{0, 0, 0, 3}));
    EXPECT_EQ(read.triangles[0].vertices[0], 3);

    // Vertex 3 of a character stands where vertex 0 does, whatever position it stores.
    const PofMesh drawn = BuildV3dMesh(mesh);
    ASSERT_EQ(drawn.polygons.size(), 2u);
    EXPECT_EQ(drawn.corners[3].x, 0.25f);
    EXPECT_EQ(drawn.polygons[1].nTexture, 1);
    EXPECT_EQ(mesh.Textures(), (std::vector<std::string>{"skin.tga", "face.vbm"}));
}

TEST(V3dMesh, DrawsTheFinestLevelOfEachSubmeshAtItsOffsetClockwiseFrontFaces)
{
    V3mBuildSubmesh near = OneTriangleSubmesh("SKIN.tga");
    near.offset = {0, 0, 2};
    V3mBuildLevel coarse = near.levels[0];
    coarse.batches[0].vertices[0].y = 9;
    coarse.textures = {"skin-mip1.tga"};
    near.levels.push_back(coarse);
    V3mBuildSubmesh plain = OneTriangleSubmesh("skin.tga");
    plain.strName = "plain";
    plain.offset = {5, 0, 0};
    plain.levels[0].batches[0].nTexture = -1;
    const V3dMesh mesh = Parse(V3mBuilder().Submesh(near).Submesh(plain).Bytes());

    const PofMesh drawn = BuildV3dMesh(mesh);
    ASSERT_EQ(drawn.polygons.size(), 2u);
    EXPECT_EQ(drawn.corners[0].z, 2);
    EXPECT_EQ(drawn.corners[0].y, 1); // not the coarse level's 9
    EXPECT_EQ(drawn.corners[3].x, 5);
    EXPECT_EQ(drawn.polygons[0].nTexture, 0);
    EXPECT_EQ(drawn.polygons[1].nTexture, -1);
    EXPECT_EQ(mesh.Textures(), (std::vector<std::string>{"SKIN.tga", "skin-mip1.tga"}));

    // Wound clockwise seen from +z, so seen from there and not from behind; a two-sided one
    // from both.
    const V3dMesh one = Parse(V3mBuilder().Submesh(OneTriangleSubmesh("a")).Bytes());
    EXPECT_TRUE(DrawnInTheMiddle(Render(one)));
    EXPECT_FALSE(DrawnInTheMiddle(Render(one, 180)));
    V3mBuildSubmesh both = OneTriangleSubmesh("a");
    both.levels[0].batches[0].triangles[0].nFlags = 0x20;
    const V3dMesh twoSided = Parse(V3mBuilder().Submesh(both).Bytes());
    EXPECT_EQ(BuildV3dMesh(twoSided).polygons.size(), 2u);
    EXPECT_TRUE(DrawnInTheMiddle(Render(twoSided, 180)));

    // An offset and a position that add up beyond a float's range give a corner at its end.
    V3mBuildSubmesh far = OneTriangleSubmesh("a");
    far.offset = {0, 0, -3.3e38f};
    far.levels[0].batches[0].vertices[0].z = -3.3e38f;
    const PofMesh farDrawn = BuildV3dMesh(Parse(V3mBuilder().Submesh(far).Bytes()));
    EXPECT_EQ(farDrawn.corners[0].z, -std::numeric_limits<float>::max());
}

TEST(V3dTextures, FindsTheNamedFileThenAnotherKindThenTheNameWithoutMip)
{
    const auto red = [](int, int) { return Rgb{200, 10, 20}; };
    VbmFields fields;
    fields.nFormat = 2; // 565
    const std::vector<unsigned char> archive =
        VpBuilder()
            .Dir("data")
            .File("Skin.TGA", MakeTga24(2, 2, red))
            .File("skin-mip2.tga", MakeTga24(1, 1, red))
            .File("glow.vbm", MakeVbm(fields, [](int, int, int, int) { return 0x001F; }))
            .Up()
            .Bytes();
    auto doc = std::make_unique<CORBISTAVDoc>();
    CMemorySource source(archive);
    ASSERT_TRUE(doc->Serialize(source, "/rf/meshes.vp"));
    const std::vector<std::string> names = {"skin.tga", "skin-mip1.tga", "skin-mip2.tga",
                                            "glow.tga", "glow-mip1.tga", "missing.tga"};
    const std::vector<int> found = FindV3dTextures(*doc, names);
    const auto name = [&](int n) { return doc->m_files[n].strName; };
    EXPECT_EQ(name(found[0]), "Skin.TGA");
    EXPECT_EQ(name(found[1]), "Skin.TGA");
    EXPECT_EQ(name(found[2]), "skin-mip2.tga");
    EXPECT_EQ(name(found[3]), "glow.vbm");
    EXPECT_EQ(name(found[4]), "glow.vbm");
    EXPECT_EQ(found[5], -1);

    const std::vector<RgbaPicture> textures = LoadV3dTextures(
        *doc, source, names, CEntryReader::Mode::Content, {true, false, false, true, false, true});
    ASSERT_EQ(textures[0].nWidth, 2);
    EXPECT_EQ(std::vector<std::uint8_t>(textures[0].rgba.begin(), textures[0].rgba.begin() + 4),
              (std::vector<std::uint8_t>{200, 10, 20, 255}));
    EXPECT_EQ(textures[1].nWidth, 0); // not wanted
    EXPECT_EQ(textures[3].rgba, (std::vector<std::uint8_t>{0, 0, 255, 255}));
    EXPECT_EQ(textures[5].nWidth, 0);
}

TEST(V3dMesh, AlphaTestedTexelsCutHolesAndGlowsAddOntoWhatLiesBehind)
{
    // A textured triangle in front of a plain one; the glow comes first in the file.
    V3mBuildSubmesh front = OneTriangleSubmesh("front.tga");
    front.offset = {0, 0, 1};
    V3mBuildSubmesh back = OneTriangleSubmesh("front.tga");
    back.levels[0].batches[0].nTexture = -1;
    const auto render = [&](std::uint32_t nMode, std::uint8_t byAlpha)
    {
        front.levels[0].batches[0].nRenderMode = nMode;
        RgbaPicture texture;
        texture.nWidth = texture.nHeight = 1;
        texture.rgba = {60, 0, 0, byAlpha};
        return Middle(Render(Parse(V3mBuilder().Submesh(front).Submesh(back).Bytes()), 0, {texture}));
    };
    const std::array<int, 3> behind = Middle(Render(Parse(V3mBuilder().Submesh(back).Bytes())));

    EXPECT_EQ(render(0x518C41, 0), behind);
    EXPECT_EQ(render(0x518C41, 255)[1], 0);
    const std::array<int, 3> glow = render(0x110C21, 255);
    EXPECT_EQ(glow[0], behind[0] + 60);
    EXPECT_EQ(glow[1], behind[1]);
}
