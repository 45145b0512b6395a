#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "PofBuilder.h"
#include "PofModel.h"

namespace
{
using Bytes = std::vector<unsigned char>;

// One subobject with a flat triangle and a textured quad, two points a side of z = 0.
PofBuildSubobject TriangleAndQuad(int nNumber, int nParent, const std::string& name,
                                  PofTree tree = PofTree::List)
{
    PofBuildSubobject sub;
    sub.nNumber = nNumber;
    sub.nParent = nParent;
    sub.strName = name;
    sub.tree = tree;
    sub.points = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {2, 0, 0}};
    sub.normals = {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}, {0, 0, 1}, {0, 0, 1}};
    PofBuildPolygon triangle;
    triangle.vertices = {0, 4, 1};
    triangle.colour = {10, 20, 30};
    PofBuildPolygon quad;
    quad.vertices = {0, 1, 2, 3};
    quad.nTexture = 1;
    quad.uv = {{0, 0}, {1, 0}, {1, 1}, {0.25f, 0.75f}};
    sub.polygons = {triangle, quad};
    return sub;
}

Result Parse(const Bytes& bytes, PofModel& model)
{
    return ParsePof(bytes, model);
}
} // namespace

TEST(PofModel, ReadsHeaderSubobjectsPolygonsAndTexturesOfEveryTreeKind)
{
    for (const PofTree tree : {PofTree::List, PofTree::SortNorm, PofTree::SortNorm2})
    {
        PofBuildSubobject child = TriangleAndQuad(1, 0, "turret01", tree);
        child.offset = {5, 6, 7};
        const Bytes bytes = PofBuilder()
                                .Version(2200)
                                .Texture("hull")
                                .Texture("Engine.DDS")
                                .Chunk("GPNT", Bytes(13, 0xAB)) // skipped by its length
                                .Subobject(TriangleAndQuad(0, -1, "detail-0"))
                                .Subobject(child)
                                .Bytes();
        PofModel model;
        ASSERT_TRUE(Parse(bytes, model)) << static_cast<int>(tree);
        EXPECT_EQ(model.nVersion, 2200);
        EXPECT_EQ(model.textures, (std::vector<std::string>{"hull", "Engine.DDS"}));
        EXPECT_EQ(model.detailLevels, std::vector<std::int32_t>{0});
        EXPECT_FLOAT_EQ(model.max.x, 7);
        ASSERT_EQ(model.subobjects.size(), 2u);
        const PofSubobject& turret = model.subobjects[1];
        EXPECT_EQ(turret.strName, "turret01");
        EXPECT_EQ(turret.nParent, 0);
        EXPECT_EQ(turret.nDetailLevel, 0);
        EXPECT_FLOAT_EQ(turret.offset.z, 7);
        EXPECT_EQ(turret.points.size(), 5u);
        ASSERT_EQ(turret.normals.size(), 5u);
        EXPECT_FLOAT_EQ(turret.normals[2].z, 1);
        // SORTNORM2 trees hold textured polygons only; the flat one comes as texture -1.
        ASSERT_EQ(turret.polygons.size(), 2u);
        const PofPolygon& flat = turret.polygons[0];
        EXPECT_EQ(flat.nTexture, -1);
        EXPECT_EQ(flat.nCornerCount, 3u);
        if (tree != PofTree::SortNorm2)
        {
            EXPECT_EQ(flat.colour, (std::array<std::uint8_t, 3>{10, 20, 30}));
        }
        const PofPolygon& quad = turret.polygons[1];
        EXPECT_EQ(quad.nTexture, 1);
        ASSERT_EQ(quad.nCornerCount, 4u);
        const PofCorner& last = turret.corners[quad.nFirstCorner + 3];
        EXPECT_EQ(last.nVertex, 3u);
        EXPECT_FLOAT_EQ(last.u, 0.25f);
        EXPECT_FLOAT_EQ(last.v, 0.75f);
        EXPECT_EQ(model.ShownPolygonCount(), 4u);
    }
}

TEST(PofModel, ReadsFreeSpace1Chunks)
{
    PofBuildSubobject child = TriangleAndQuad(1, 0, "arm");
    child.offset = {0, 3, 0};
    PofModel model;
    ASSERT_TRUE(Parse(PofBuilder()
                          .Version(1802)
                          .OldChunks()
                          .Subobject(TriangleAndQuad(0, -1, "body"))
                          .Subobject(child)
                          .Bytes(),
                      model));
    ASSERT_EQ(model.subobjects.size(), 2u);
    EXPECT_EQ(model.subobjects[1].nParent, 0);
    EXPECT_FLOAT_EQ(model.subobjects[1].offset.y, 3);
    EXPECT_GT(model.fRadius, 3);
    EXPECT_EQ(model.subobjects[1].polygons.size(), 2u);
}

TEST(PofModel, ShowsTheFinestDetailLevelAndItsPartsOnly)
{
    const Bytes bytes = PofBuilder()
                            .DetailLevels({0, 3})
                            .Debris({4})
                            .Subobject(TriangleAndQuad(0, -1, "detail-0"))
                            .Subobject(TriangleAndQuad(1, 0, "turret01"))
                            .Subobject(TriangleAndQuad(2, 0, "turret01-Destroyed"))
                            .Subobject(TriangleAndQuad(3, -1, "detail-1"))
                            .Subobject(TriangleAndQuad(4, -1, "debris-0"))
                            .Subobject(TriangleAndQuad(5, 1, "barrel"))
                            .Bytes();
    PofModel model;
    ASSERT_TRUE(Parse(bytes, model));
    EXPECT_EQ(model.ShownSubobjects(), (std::vector<int>{0, 1, 5}));
    EXPECT_EQ(model.ShownPolygonCount(), 6u);
    EXPECT_EQ(model.subobjects[3].nDetailLevel, 1);
    EXPECT_EQ(model.subobjects[4].nDetailLevel, -1);
    EXPECT_EQ(model.subobjects[5].nDetailLevel, 0);
}

TEST(PofModel, RefusesEveryTruncation)
{
    const Bytes bytes = PofBuilder()
                            .Texture("hull")
                            .Subobject(TriangleAndQuad(0, -1, "detail-0", PofTree::SortNorm))
                            .Subobject(TriangleAndQuad(1, 0, "turret01", PofTree::SortNorm2))
                            .Bytes();
    PofModel model;
    ASSERT_TRUE(Parse(bytes, model));
    for (std::size_t n = 0; n < bytes.size(); ++n)
    {
        const Bytes cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n));
        const Result r = Parse(cut, model);
        ASSERT_FALSE(r) << "cut at " << n;
        EXPECT_FALSE(r.Text().empty());
    }
}

TEST(PofModel, RefusesForgedCountsIndicesAndOffsetsAndSurvivesLoops)
{
    PofBuildSubobject sub = TriangleAndQuad(0, -1, "detail-0", PofTree::SortNorm);
    const Bytes good = PofBuilder().Subobject(sub).Bytes();
    PofModel model;
    ASSERT_TRUE(Parse(good, model));

    // The subobject's geometry ends the file: DEFPOINTS, the node, the front and back lists.
    const Bytes geometry = PofBuilder::Geometry(sub);
    const std::size_t nGeometryAt = good.size() - geometry.size();
    const auto put = [](Bytes& b, std::size_t at, std::int32_t v)
    { std::memcpy(b.data() + at, &v, 4); };
    const std::size_t nPoints = 0;
    const std::size_t nNode = 20 + 5 + 5 * 24; // after DEFPOINTS
    const std::size_t nFront = nNode + 88;     // the node, the top list's end

    struct Forgery
    {
        std::size_t nAt;
        std::int32_t nValue;
        const char* szWhy;
    };
    for (const Forgery& f : {
             Forgery{nFront + 44, 9, "names point 9 of 5"},         // flat polygon's corner
             Forgery{nPoints + 8, 1000000, "points are cut short"}, // point count
             Forgery{nPoints + 16, 1 << 30, "points lie outside"},  // point data offset
             Forgery{nNode + 36, 1 << 20, "points outside"},        // front list offset
             Forgery{nNode + 4, 1 << 20, "runs past"},              // node size
             Forgery{nFront + 36, -5, "cut short"},                 // corner count
         })
    {
        Bytes forged = good;
        put(forged, nGeometryAt + f.nAt, f.nValue);
        const Result r = Parse(forged, model);
        ASSERT_FALSE(r) << f.szWhy;
        EXPECT_NE(r.Text().find(f.szWhy), std::string::npos) << r.Text();
    }

    // Lists that lead back to what was read are read once: the model loads, nothing doubles.
    Bytes loop = good;
    put(loop, nGeometryAt + nNode + 44, 88);                                // prelist: front
    put(loop, nGeometryAt + nNode + 48, -static_cast<std::int32_t>(nNode)); // postlist: start
    ASSERT_TRUE(Parse(loop, model));
    EXPECT_EQ(model.subobjects[0].polygons.size(), 2u);

    // The header promises a subobject the model lacks.
    ASSERT_FALSE(Parse(PofBuilder().DetailLevels({1}).Subobject(sub).Bytes(), model));
    EXPECT_FALSE(Parse(Bytes{'P', 'S', 'P', 'X', 0, 0, 0, 0}, model));
}
