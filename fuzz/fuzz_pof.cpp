// Feeds arbitrary bytes to the POF reader; a model it takes is flattened and drawn small,
// filled and as a wireframe, with a texture for every name, so the renderer meets whatever
// the reader lets through.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "PofModel.h"
#include "PofRenderer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    PofModel model;
    if (!ParsePof(std::span<const std::uint8_t>(data, size), model))
        return 0;
    for (const PofSubobject& sub : model.subobjects)
        for (const PofCorner& corner : sub.corners)
            if (corner.nVertex >= sub.points.size() || corner.nNormal >= sub.normals.size())
                __builtin_trap(); // the reader promises every corner names what exists
    const PofMesh mesh = BuildPofMesh(model);
    RgbaPicture texture;
    texture.nWidth = 3;
    texture.nHeight = 2;
    texture.rgba.assign(3 * 2 * 4, 128);
    const std::vector<RgbaPicture> textures(model.textures.size(), texture);
    PofView view;
    RgbaPicture picture;
    if (!RenderPof(mesh, textures, view, 48, 32, picture) || picture.rgba.size() != 48 * 32 * 4)
        __builtin_trap();
    view.bWireframe = true;
    view.dZoom = 7;
    view.dYaw = 200;
    RenderPof(mesh, textures, view, 32, 48, picture);
    return 0;
}
