#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "PofRenderer.h"
#include "Result.h"

// Red Faction meshes: .v3m (static) and .v3c (characters), one layout.
//
//   V3dMesh mesh;
//   if (Result r = ParseV3d(bytes, mesh); !r) ... r.Text() says what is wrong
//   const PofMesh drawn = BuildV3dMesh(mesh);         // what a preview shows
//   textures = LoadV3dTextures(doc, archive, mesh.Textures(), mode,
//                              UsedTextures(drawn, mesh.Textures().size()));
//   RenderPof(drawn, textures, view, w, h, picture);  // the model renderer of POF models
//
// A mesh is drawn as the game shows it at close range: the most detailed level of every
// submesh, placed at the submesh's offset; characters in the pose they are stored in.

struct V3dVector
{
    float x = 0;
    float y = 0;
    float z = 0;
};

struct V3dTriangle
{
    std::array<std::uint16_t, 3> vertices{}; // into its batch's vertices
    std::uint16_t nFlags = 0;                // 0x20: seen from both sides
};

// The triangles of one level that share a texture, with their own vertices.
struct V3dBatch
{
    std::int32_t nTexture = -1; // into its level's textures; -1: none
    std::uint32_t nRenderMode = 0; // the game's blend and depth modes
    std::vector<V3dVector> positions;
    std::vector<V3dVector> normals;
    std::vector<std::array<float, 2>> uvs; // origin at the texture's top left
    std::vector<V3dTriangle> triangles;
    // Per vertex of a character: n > 0 says it stands where vertex i - n stands.
    std::vector<std::int16_t> samePosition;
};

struct V3dLevel
{
    float fDistance = 0; // from which the game shows this level
    std::uint32_t nFlags = 0;
    std::uint32_t nVertices = 0;
    std::uint32_t nPropPoints = 0;
    std::vector<V3dBatch> batches;
    std::vector<std::string> textures; // file names, .tga or .vbm
    std::size_t TriangleCount() const;
};

struct V3dSubmesh
{
    std::string strName;
    std::string strParent;
    V3dVector offset; // where its centred vertices stand in the mesh
    float fRadius = 0;
    V3dVector min;
    V3dVector max;
    std::vector<V3dLevel> levels; // the most detailed first
    std::vector<std::string> materials;
};

struct V3dMesh
{
    bool bCharacter = false; // a .v3c: bones, collision spheres
    std::vector<V3dSubmesh> submeshes;
    std::vector<std::string> bones;
    std::size_t nSpheres = 0;

    // Every texture name of every level, each once in the order met (names compared without
    // regard to case); what BuildV3dMesh's polygons index.
    std::vector<std::string> Textures() const;
    // Triangles of the most detailed levels, as stored (a two-sided one counts once).
    std::size_t ShownTriangleCount() const;
};

// Reads a .v3m or .v3c. A mesh whose sections or geometry do not lie within the bytes, whose
// triangles name vertices their batch does not have, or that lacks its closing section is
// refused.
Result ParseV3d(std::span<const std::uint8_t> bytes, V3dMesh& mesh);

// The most detailed level of each submesh at its offset, one polygon a triangle (a two-sided
// one twice, once each way round), textured by index into mesh.Textures(); batches the game
// alpha-tests cut holes, glows (additive batches) come last and add onto what lies behind.
PofMesh BuildV3dMesh(const V3dMesh& mesh);
