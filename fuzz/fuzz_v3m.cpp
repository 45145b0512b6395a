// Feeds arbitrary bytes to the Red Faction mesh reader; a mesh it takes is flattened and drawn
// small, filled and as a wireframe, with a texture for every name, so the renderer meets
// whatever the reader lets through.
#include <cstddef>
#include <cstdint>
#include <span>

#include "FuzzRenderMesh.h"
#include "V3dMesh.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    V3dMesh mesh;
    if (!ParseV3d(std::span<const std::uint8_t>(data, size), mesh))
        return 0;
    for (const V3dSubmesh& sub : mesh.submeshes)
        for (const V3dLevel& level : sub.levels)
            for (const V3dBatch& batch : level.batches)
            {
                // The reader promises every triangle names what its batch has.
                if (batch.normals.size() != batch.positions.size() ||
                    batch.uvs.size() != batch.positions.size() ||
                    (batch.nTexture >= 0 &&
                     static_cast<std::size_t>(batch.nTexture) >= level.textures.size()))
                    __builtin_trap();
                for (const V3dTriangle& triangle : batch.triangles)
                    for (const std::uint16_t n : triangle.vertices)
                        if (n >= batch.positions.size())
                            __builtin_trap();
            }
    RenderMeshBothWays(BuildV3dMesh(mesh), mesh.Textures().size());
    return 0;
}
