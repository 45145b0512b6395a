#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "PofModel.h"
#include "Result.h"
#include "RgbaPicture.h"

// Where the model is seen from and how it is drawn.
struct PofView
{
    double dYaw = 30;   // degrees the camera has turned from the model's front to its left
    double dPitch = 20; // degrees the camera looks down from above; kept within -89..89
    double dZoom = 1;   // 1: the model's bounding box fills the picture
    bool bWireframe = false;
    bool bTextures = true;
};

// The shown part of a model flattened once for drawing: every polygon corner placed in the
// model's frame with its normal and texture coordinates.
struct PofMesh
{
    struct Corner
    {
        float x, y, z;
        float nx, ny, nz;
        float u, v;
    };
    // How a textured polygon meets what lies behind it. POF polygons are all opaque; Red
    // Faction meshes cut holes by texture alpha and add glows onto what is behind.
    enum class Blend : std::uint8_t
    {
        Opaque,
        AlphaTested, // texels of alpha below half are not drawn
        Additive,    // texel x alpha added, unlit, hiding nothing; not drawn without its texture
    };
    struct Polygon
    {
        std::uint32_t nFirst;
        std::uint32_t nCount;
        std::int32_t nTexture; // -1: flat
        std::array<std::uint8_t, 3> colour;
        Blend blend = Blend::Opaque;
    };
    std::vector<Corner> corners;
    std::vector<Polygon> polygons;
    PofVector min; // of the corners
    PofVector max;
    // The scale that fits the model at zoom 1, worked out once; 0: work it out when drawing.
    double dFitX = 0;
    double dFitY = 0;
};

PofMesh BuildPofMesh(const PofModel& model);
// The bounds and the fitting scale of a mesh whose corners and polygons another reader filled
// in (Red Faction meshes are drawn through this shape too).
void FitPofMesh(PofMesh& mesh);
// Which of nTextures textures the mesh's polygons use: the ones worth reading.
std::vector<bool> UsedTextures(const PofMesh& mesh, std::size_t nTextures);

// Draws the mesh into a picture of nWidth x nHeight, opaque: textured polygons take the texel
// of textures[nTexture] (nearest, wrapped), blended as their Blend says; where that picture is
// empty or textures are off they are neutral grey and opaque; lit by one light from the
// viewer's upper left, back faces culled.
Result RenderPof(const PofMesh& mesh, std::span<const RgbaPicture> textures, const PofView& view,
                 int nWidth, int nHeight, RgbaPicture& picture);
