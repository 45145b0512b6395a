#include "V3dMesh.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

#include "AsciiText.h"
#include "CByteReader.h"

namespace
{
constexpr std::int32_t kSignatureStatic = 0x52463344;    // "D3FR"
constexpr std::int32_t kSignatureCharacter = 0x5246434D; // "MCFR"
constexpr std::int32_t kVersion = 0x40000;
constexpr std::size_t kHeaderSize = 40;

constexpr std::int32_t kSectionEnd = 0;
constexpr std::int32_t kSectionSubmesh = 0x5355424D;
constexpr std::int32_t kSectionBones = 0x424F4E45;
constexpr std::int32_t kSectionSphere = 0x43535048;

constexpr std::uint32_t kLevelMorphMap = 0x01;
constexpr std::uint32_t kLevelPlanes = 0x20;
constexpr std::uint16_t kTriangleTwoSided = 0x20;

constexpr std::size_t kBatchHeaderSize = 56;
constexpr std::size_t kBatchTextureAt = 0x20;
constexpr std::size_t kBatchInfoSize = 18;
constexpr std::size_t kMaterialSize = 84;
constexpr std::size_t kBoneSize = 56;
constexpr std::size_t kAlignment = 16;

constexpr std::array<std::uint8_t, 3> kGrey{168, 168, 168};

// The render mode packs five-bit fields; the blend at bit 15 and the depth test at bit 20.
PofMesh::Blend BlendOf(std::uint32_t nRenderMode)
{
    const std::uint32_t nBlend = (nRenderMode >> 15) & 0x1F;
    const std::uint32_t nDepth = (nRenderMode >> 20) & 0x1F;
    if (nBlend == 1 || nBlend == 2) // additive, alpha-additive
        return PofMesh::Blend::Additive;
    if (nBlend == 3 || nDepth == 5) // alpha blended, alpha-tested depth
        return PofMesh::Blend::AlphaTested;
    return PofMesh::Blend::Opaque;
}

// Infinities and NaNs read as 0, so no later sum or bound turns into one.
bool ReadFloat(CByteReader& reader, float& value)
{
    std::int32_t n = 0;
    if (!reader.ReadInt32(n))
        return false;
    value = std::bit_cast<float>(n);
    if (!std::isfinite(value))
        value = 0;
    return true;
}

bool ReadVector(CByteReader& reader, V3dVector& v)
{
    return ReadFloat(reader, v.x) && ReadFloat(reader, v.y) && ReadFloat(reader, v.z);
}

bool ReadU32(CByteReader& reader, std::uint32_t& value)
{
    std::int32_t n = 0;
    if (!reader.ReadInt32(n))
        return false;
    value = static_cast<std::uint32_t>(n);
    return true;
}

// A count of records of at least nSize bytes each, refused when the rest cannot hold them.
bool ReadCount(CByteReader& reader, std::size_t nSize, std::uint32_t& nCount)
{
    return ReadU32(reader, nCount) && nCount <= reader.Remaining() / nSize;
}

// A NUL-terminated name; refused when no NUL follows.
bool ReadTerminated(CByteReader& reader, std::string& text)
{
    text.clear();
    for (std::uint8_t ch = 0;;)
    {
        if (!reader.ReadUInt8(ch))
            return false;
        if (ch == 0)
            return true;
        text += static_cast<char>(ch);
    }
}

struct BatchInfo
{
    std::uint32_t nRenderMode = 0;
    std::uint16_t nVertices = 0;
    std::uint16_t nTriangles = 0;
    std::uint16_t nPositionsSize = 0;
    std::uint16_t nIndicesSize = 0;
    std::uint16_t nSamePositionSize = 0;
    std::uint16_t nBoneLinksSize = 0;
    std::uint16_t nUvsSize = 0;
};

std::string LevelName(std::size_t nSubmesh, std::size_t nLevel)
{
    return "submesh " + std::to_string(nSubmesh + 1) + ", level " + std::to_string(nLevel + 1);
}

// The regions of a level's data, each starting on a 16-byte boundary from the data's start.
class CRegions
{
public:
    explicit CRegions(std::span<const std::uint8_t> data) : m_data(data) {}

    // The next region of nSize bytes, or false when it does not lie within the data.
    bool Next(std::size_t nSize, std::span<const std::uint8_t>& region)
    {
        m_nPos = (m_nPos + kAlignment - 1) / kAlignment * kAlignment;
        if (nSize == 0)
        {
            region = {};
            return true;
        }
        if (m_nPos > m_data.size() || nSize > m_data.size() - m_nPos)
            return false;
        region = m_data.subspan(m_nPos, nSize);
        m_nPos += nSize;
        return true;
    }

private:
    std::span<const std::uint8_t> m_data;
    std::size_t m_nPos = 0;
};

Result ReadBatchData(std::span<const std::uint8_t> data, const std::vector<BatchInfo>& infos,
                     const std::string& name, V3dLevel& level)
{
    const std::string cut = name + ": its geometry lies outside its data";
    if (infos.size() > data.size() / kBatchHeaderSize)
        return Result::Fail(cut);
    CRegions regions(data);
    std::span<const std::uint8_t> headers;
    regions.Next(infos.size() * kBatchHeaderSize, headers);
    level.batches.resize(infos.size());
    for (std::size_t b = 0; b < infos.size(); ++b)
    {
        const BatchInfo& info = infos[b];
        V3dBatch& batch = level.batches[b];
        CByteReader header(headers.subspan(b * kBatchHeaderSize + kBatchTextureAt));
        header.ReadInt32(batch.nTexture);
        batch.nRenderMode = info.nRenderMode;
        if (batch.nTexture < 0 || static_cast<std::size_t>(batch.nTexture) >= level.textures.size())
            batch.nTexture = -1;

        const std::string where = name + ", batch " + std::to_string(b + 1);
        // The sizes are what was allocated, often more than the counts need.
        if (std::size_t{info.nVertices} * 12 > info.nPositionsSize ||
            std::size_t{info.nVertices} * 8 > info.nUvsSize ||
            std::size_t{info.nTriangles} * 8 > info.nIndicesSize)
            return Result::Fail(where + ": its vertices or triangles do not fit their sizes");
        std::span<const std::uint8_t> positions, normals, uvs, triangles, unused, same;
        if (!regions.Next(info.nPositionsSize, positions) ||
            !regions.Next(info.nPositionsSize, normals) || !regions.Next(info.nUvsSize, uvs) ||
            !regions.Next(info.nIndicesSize, triangles) ||
            ((level.nFlags & kLevelPlanes) &&
             !regions.Next(std::size_t{info.nTriangles} * 16, unused)) ||
            !regions.Next(info.nSamePositionSize, same) ||
            !regions.Next(info.nBoneLinksSize, unused) ||
            ((level.nFlags & kLevelMorphMap) &&
             !regions.Next(std::size_t{level.nVertices} * 2, unused)))
            return Result::Fail(cut);

        CByteReader p(positions), n(normals), t(uvs), i(triangles), s(same);
        batch.positions.resize(info.nVertices);
        batch.normals.resize(info.nVertices);
        batch.uvs.resize(info.nVertices);
        for (std::size_t v = 0; v < info.nVertices; ++v)
        {
            ReadVector(p, batch.positions[v]);
            ReadVector(n, batch.normals[v]);
            ReadFloat(t, batch.uvs[v][0]);
            ReadFloat(t, batch.uvs[v][1]);
        }
        batch.triangles.resize(info.nTriangles);
        for (V3dTriangle& triangle : batch.triangles)
        {
            for (std::uint16_t& nVertex : triangle.vertices)
            {
                i.ReadUInt16(nVertex);
                if (nVertex >= info.nVertices)
                    return Result::Fail(where + ": a triangle names vertex " +
                                        std::to_string(nVertex) + " of " +
                                        std::to_string(info.nVertices));
            }
            i.ReadUInt16(triangle.nFlags);
        }
        if (same.size() >= std::size_t{info.nVertices} * 2)
        {
            batch.samePosition.resize(info.nVertices);
            for (std::int16_t& nOffset : batch.samePosition)
            {
                std::uint16_t u = 0;
                s.ReadUInt16(u);
                nOffset = static_cast<std::int16_t>(u);
            }
        }
    }
    return Result::Ok();
}

Result ReadLevel(CByteReader& reader, std::span<const std::uint8_t> bytes, const std::string& name,
                 V3dLevel& level)
{
    const std::string cut = name + " is cut short";
    std::uint16_t nBatches = 0;
    std::uint32_t nDataSize = 0;
    if (!ReadU32(reader, level.nFlags) || !ReadU32(reader, level.nVertices) ||
        !reader.ReadUInt16(nBatches) || !ReadCount(reader, 1, nDataSize))
        return Result::Fail(cut);
    const std::size_t nDataAt = reader.Position();
    reader.Skip(nDataSize);
    std::int32_t nUnknown = 0;
    if (!reader.ReadInt32(nUnknown) || nBatches > reader.Remaining() / kBatchInfoSize)
        return Result::Fail(cut);
    std::vector<BatchInfo> infos(nBatches);
    for (BatchInfo& info : infos)
    {
        reader.ReadUInt16(info.nVertices);
        reader.ReadUInt16(info.nTriangles);
        reader.ReadUInt16(info.nPositionsSize);
        reader.ReadUInt16(info.nIndicesSize);
        reader.ReadUInt16(info.nSamePositionSize);
        reader.ReadUInt16(info.nBoneLinksSize);
        reader.ReadUInt16(info.nUvsSize);
        ReadU32(reader, info.nRenderMode);
    }
    std::uint32_t nTextures = 0;
    // A texture is at least its material byte and the name's NUL.
    if (!ReadU32(reader, level.nPropPoints) || !ReadCount(reader, 2, nTextures))
        return Result::Fail(cut);
    level.textures.resize(nTextures);
    for (std::string& texture : level.textures)
    {
        std::uint8_t nMaterial = 0;
        if (!reader.ReadUInt8(nMaterial) || !ReadTerminated(reader, texture))
            return Result::Fail(name + ": its texture names are cut short");
    }
    return ReadBatchData(bytes.subspan(nDataAt, nDataSize), infos, name, level);
}

Result ReadSubmesh(CByteReader& reader, std::span<const std::uint8_t> bytes, std::size_t nIndex,
                   V3dSubmesh& sub)
{
    const std::string name = "submesh " + std::to_string(nIndex + 1);
    const std::string cut = name + " is cut short";
    std::int32_t nVersion = 0;
    std::int32_t nLevels = 0;
    if (!reader.ReadFixedName(24, sub.strName) || !reader.ReadFixedName(24, sub.strParent) ||
        !reader.ReadInt32(nVersion) || !reader.ReadInt32(nLevels))
        return Result::Fail(cut);
    if (nLevels < 1 || nLevels > 3)
        return Result::Fail(name + " has " + std::to_string(nLevels) +
                            " levels of detail, not 1 to 3");
    sub.levels.resize(static_cast<std::size_t>(nLevels));
    for (V3dLevel& level : sub.levels)
        if (!ReadFloat(reader, level.fDistance))
            return Result::Fail(cut);
    if (!ReadVector(reader, sub.offset) || !ReadFloat(reader, sub.fRadius) ||
        !ReadVector(reader, sub.min) || !ReadVector(reader, sub.max))
        return Result::Fail(cut);
    for (std::size_t n = 0; n < sub.levels.size(); ++n)
        if (Result r = ReadLevel(reader, bytes, LevelName(nIndex, n), sub.levels[n]); !r)
            return r;
    std::uint32_t nMaterials = 0;
    if (!ReadCount(reader, kMaterialSize, nMaterials))
        return Result::Fail(name + ": its materials are cut short");
    sub.materials.resize(nMaterials);
    for (std::string& material : sub.materials)
    {
        reader.ReadFixedName(32, material);
        reader.Skip(kMaterialSize - 32);
    }
    // Names the exporter repeats with a number each; nothing a preview shows.
    std::uint32_t nExtra = 0;
    if (!ReadCount(reader, 28, nExtra) || !reader.Skip(std::size_t{nExtra} * 28))
        return Result::Fail(cut);
    return Result::Ok();
}

Result ReadBones(std::span<const std::uint8_t> section, V3dMesh& mesh)
{
    CByteReader reader(section);
    std::uint32_t nBones = 0;
    if (!ReadCount(reader, kBoneSize, nBones))
        return Result::Fail("the bones are cut short");
    mesh.bones.resize(nBones);
    for (std::string& bone : mesh.bones)
    {
        reader.ReadFixedName(24, bone);
        reader.Skip(kBoneSize - 24);
    }
    return Result::Ok();
}

// A position moved by its submesh's offset; two large floats add up beyond what a float
// holds, and the drawing wants a finite corner.
float Placed(float fPosition, float fOffset)
{
    const double d = static_cast<double>(fPosition) + fOffset;
    return static_cast<float>(std::clamp<double>(d, -std::numeric_limits<float>::max(),
                                                 std::numeric_limits<float>::max()));
}
} // namespace

std::size_t V3dLevel::TriangleCount() const
{
    std::size_t n = 0;
    for (const V3dBatch& batch : batches)
        n += batch.triangles.size();
    return n;
}

std::vector<std::string> V3dMesh::Textures() const
{
    std::vector<std::string> names;
    for (const V3dSubmesh& sub : submeshes)
        for (const V3dLevel& level : sub.levels)
            for (const std::string& name : level.textures)
                if (std::none_of(names.begin(), names.end(),
                                 [&](const std::string& known) { return EqualsNoCaseAscii(known, name); }))
                    names.push_back(name);
    return names;
}

std::size_t V3dMesh::ShownTriangleCount() const
{
    std::size_t n = 0;
    for (const V3dSubmesh& sub : submeshes)
        n += sub.levels.front().TriangleCount();
    return n;
}

Result ParseV3d(std::span<const std::uint8_t> bytes, V3dMesh& mesh)
{
    mesh = V3dMesh();
    CByteReader reader(bytes);
    std::int32_t nSignature = 0;
    std::int32_t nVersion = 0;
    if (!reader.ReadInt32(nSignature) || !reader.ReadInt32(nVersion) ||
        !reader.Skip(kHeaderSize - 8))
        return Result::Fail("the header is cut short");
    if (nSignature != kSignatureStatic && nSignature != kSignatureCharacter)
        return Result::Fail("not a Red Faction mesh (no D3FR or MCFR signature)");
    if (nVersion != kVersion)
        return Result::Fail("version " + std::to_string(nVersion) +
                            " is not the one known (262144, 0x40000)");
    mesh.bCharacter = nSignature == kSignatureCharacter;
    for (;;)
    {
        std::int32_t nType = 0;
        std::int32_t nSize = 0;
        if (!reader.ReadInt32(nType) || !reader.ReadInt32(nSize))
            return Result::Fail("the mesh ends without its closing section");
        if (nType == kSectionEnd)
            break;
        if (nType == kSectionSubmesh)
        {
            // Packed files leave a submesh's size 0: only reading it finds its end.
            V3dSubmesh& sub = mesh.submeshes.emplace_back();
            if (Result r = ReadSubmesh(reader, bytes, mesh.submeshes.size() - 1, sub); !r)
                return r;
            continue;
        }
        const std::size_t nAt = reader.Position();
        if (nSize < 0 || !reader.Skip(static_cast<std::size_t>(nSize)))
            return Result::Fail("a section at byte " + std::to_string(nAt - 8) +
                                " does not lie within the mesh");
        if (nType == kSectionBones)
        {
            if (Result r = ReadBones(bytes.subspan(nAt, static_cast<std::size_t>(nSize)), mesh);
                !r)
                return r;
        }
        else if (nType == kSectionSphere)
            ++mesh.nSpheres;
    }
    if (mesh.submeshes.empty())
        return Result::Fail("the mesh has no submesh");
    return Result::Ok();
}

PofMesh BuildV3dMesh(const V3dMesh& mesh)
{
    PofMesh drawn;
    const std::vector<std::string> names = mesh.Textures();
    const auto modelTexture = [&](const V3dLevel& level, std::int32_t nTexture) -> std::int32_t
    {
        if (nTexture < 0)
            return -1;
        const std::string& name = level.textures[static_cast<std::size_t>(nTexture)];
        for (std::size_t i = 0; i < names.size(); ++i)
            if (EqualsNoCaseAscii(names[i], name))
                return static_cast<std::int32_t>(i);
        return -1;
    };
    const auto add = [&](const V3dSubmesh& sub, const V3dBatch& batch, std::int32_t nTexture,
                         PofMesh::Blend blend)
    {
        const auto corner = [&](std::uint16_t nVertex, float fSide)
        {
            // A character's vertex may only point at the one whose position it shares.
            std::size_t nAt = nVertex;
            if (mesh.bCharacter && nVertex < batch.samePosition.size() &&
                batch.samePosition[nVertex] > 0 && batch.samePosition[nVertex] <= nVertex)
                nAt = nVertex - static_cast<std::size_t>(batch.samePosition[nVertex]);
            const V3dVector& p = batch.positions[nAt];
            const V3dVector& n = batch.normals[nAt];
            const auto& uv = batch.uvs[nVertex];
            return PofMesh::Corner{Placed(p.x, sub.offset.x), Placed(p.y, sub.offset.y),
                                   Placed(p.z, sub.offset.z), n.x * fSide,
                                   n.y * fSide,               n.z * fSide,
                                   uv[0],                     uv[1]};
        };
        const auto polygon = [&]
        {
            drawn.polygons.push_back(
                {static_cast<std::uint32_t>(drawn.corners.size()), 3, nTexture, kGrey, blend});
        };
        for (const V3dTriangle& triangle : batch.triangles)
        {
            const auto& v = triangle.vertices;
            polygon();
            drawn.corners.insert(drawn.corners.end(),
                                 {corner(v[0], 1), corner(v[1], 1), corner(v[2], 1)});
            if (triangle.nFlags & kTriangleTwoSided)
            {
                polygon();
                drawn.corners.insert(drawn.corners.end(),
                                     {corner(v[0], -1), corner(v[2], -1), corner(v[1], -1)});
            }
        }
    };
    // Glows after everything they may lie in front of, as they hide nothing.
    for (const bool bGlows : {false, true})
        for (const V3dSubmesh& sub : mesh.submeshes)
        {
            const V3dLevel& level = sub.levels.front();
            for (const V3dBatch& batch : level.batches)
                if (const PofMesh::Blend blend = BlendOf(batch.nRenderMode);
                    (blend == PofMesh::Blend::Additive) == bGlows)
                    add(sub, batch, modelTexture(level, batch.nTexture), blend);
        }
    FitPofMesh(drawn);
    return drawn;
}
