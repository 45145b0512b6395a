// Feeds arbitrary bytes to the POF reader; a model it takes is flattened and drawn small,
// filled and as a wireframe, with a texture for every name, so the renderer meets whatever
// the reader lets through.
#include <cstddef>
#include <cstdint>
#include <span>

#include "FuzzRenderMesh.h"
#include "PofModel.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    PofModel model;
    if (!ParsePof(std::span<const std::uint8_t>(data, size), model))
        return 0;
    for (const PofSubobject& sub : model.subobjects)
        for (const PofCorner& corner : sub.corners)
            if (corner.nVertex >= sub.points.size() || corner.nNormal >= sub.normals.size())
                __builtin_trap(); // the reader promises every corner names what exists
    RenderMeshBothWays(BuildPofMesh(model), model.textures.size());
    return 0;
}
