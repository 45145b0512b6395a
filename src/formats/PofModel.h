#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "Result.h"

struct PofVector
{
    float x = 0;
    float y = 0;
    float z = 0;
};

// One corner of a polygon: a point and a normal of its subobject, and where it lies on the
// polygon's texture.
struct PofCorner
{
    std::uint32_t nVertex = 0;
    std::uint32_t nNormal = 0;
    float u = 0;
    float v = 0;
};

struct PofPolygon
{
    std::int32_t nTexture = -1;           // into the model's texture list; -1: a flat polygon
    std::array<std::uint8_t, 3> colour{}; // red, green, blue of a flat polygon
    std::uint32_t nFirstCorner = 0;
    std::uint32_t nCornerCount = 0;
};

struct PofSubobject
{
    std::int32_t nNumber = 0;
    std::int32_t nParent = -1; // a subobject number, -1 for none
    std::string strName;
    std::string strProperties;
    float fRadius = 0;
    PofVector offset; // of its origin from its parent's
    PofVector min;
    PofVector max;
    // The detail level whose subobject it is or descends from; -1 for debris and loose parts.
    std::int32_t nDetailLevel = -1;
    std::vector<PofVector> points;
    std::vector<PofVector> normals;
    std::vector<PofPolygon> polygons;
    std::vector<PofCorner> corners;
};

// A FreeSpace model as far as a preview needs it: header, subobjects with their geometry, and
// the texture names. Every other chunk is skipped.
struct PofModel
{
    std::int32_t nVersion = 0;
    float fRadius = 0;
    PofVector min;
    PofVector max;
    std::vector<std::int32_t> detailLevels; // subobject numbers, the finest first
    std::vector<std::int32_t> debris;
    std::vector<std::string> textures;
    std::vector<PofSubobject> subobjects; // by number, ascending

    // Index into subobjects of the subobject numbered nNumber, -1 when there is none.
    int IndexOf(std::int32_t nNumber) const;
    // Indices into subobjects of what a preview draws: the finest detail level and the
    // subobjects below it, without the replacements shown once a part is destroyed.
    std::vector<int> ShownSubobjects() const;
    std::size_t ShownPolygonCount() const;
};

// Reads a POF model ("PSPO", version, chunks). A model whose chunks or geometry do not lie
// within the bytes, or whose polygons name points it does not have, is refused.
Result ParsePof(std::span<const std::uint8_t> bytes, PofModel& model);
