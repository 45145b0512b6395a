#pragma once

#include <cstddef>
#include <vector>

#include "PofRenderer.h"

// Draws a mesh the reader took small, filled and then as a wireframe from another side,
// with a plain texture for each of its texture names; a filled picture that fails or comes
// out of the wrong size is a fault.
inline void RenderMeshBothWays(const PofMesh& mesh, std::size_t nTextures)
{
    RgbaPicture texture;
    texture.nWidth = 3;
    texture.nHeight = 2;
    texture.rgba.assign(3 * 2 * 4, 128);
    const std::vector<RgbaPicture> textures(nTextures, texture);
    PofView view;
    RgbaPicture picture;
    if (!RenderPof(mesh, textures, view, 48, 32, picture) || picture.rgba.size() != 48 * 32 * 4)
        __builtin_trap();
    view.bWireframe = true;
    view.dZoom = 7;
    view.dYaw = 200;
    RenderPof(mesh, textures, view, 32, 48, picture);
}
