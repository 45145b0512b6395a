#include "PofModel.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

namespace
{
constexpr std::uint32_t ChunkId(const char (&code)[5])
{
    return static_cast<std::uint32_t>(static_cast<unsigned char>(code[0])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(code[1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(code[2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(code[3])) << 24;
}

constexpr std::uint32_t kIdHeader = ChunkId("HDR2");
constexpr std::uint32_t kIdOldHeader = ChunkId("OHDR"); // FreeSpace 1
constexpr std::uint32_t kIdSubobject = ChunkId("OBJ2");
constexpr std::uint32_t kIdOldSubobject = ChunkId("SOBJ"); // FreeSpace 1
constexpr std::uint32_t kIdTextures = ChunkId("TXTR");

// Geometry chunks inside a subobject.
constexpr std::int32_t kOpEnd = 0;
constexpr std::int32_t kOpPoints = 1;
constexpr std::int32_t kOpFlatPoly = 2;
constexpr std::int32_t kOpTexturedPoly = 3;
constexpr std::int32_t kOpSortNormal = 4;
constexpr std::int32_t kOpBoundBox = 5;
constexpr std::int32_t kOpTexturedPoly2 = 6;
constexpr std::int32_t kOpSortNormal2 = 7;

constexpr std::size_t kChunkHeader = 8;

// Little-endian reads over one chunk; a read past its end fails and moves nothing.
class CPofReader
{
public:
    explicit CPofReader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    bool I32(std::int32_t& value)
    {
        if (Remaining() < 4)
            return false;
        const std::uint8_t* p = m_bytes.data() + m_nPos;
        value = static_cast<std::int32_t>(
            static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
            static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24);
        m_nPos += 4;
        return true;
    }
    // Infinities and NaNs, which no model holds, read as 0 so no later sum turns into one.
    bool Float(float& value)
    {
        std::int32_t n = 0;
        if (!I32(n))
            return false;
        value = std::bit_cast<float>(n);
        if (!std::isfinite(value))
            value = 0;
        return true;
    }
    bool Vector(PofVector& v) { return Float(v.x) && Float(v.y) && Float(v.z); }
    // A length, then that many bytes; the text ends at the first NUL.
    bool String(std::string& text)
    {
        std::int32_t nLength = 0;
        const std::size_t nStart = m_nPos;
        if (!I32(nLength) || nLength < 0 || static_cast<std::size_t>(nLength) > Remaining())
        {
            m_nPos = nStart;
            return false;
        }
        const char* p = reinterpret_cast<const char*>(m_bytes.data() + m_nPos);
        const void* pNul = std::memchr(p, 0, static_cast<std::size_t>(nLength));
        text.assign(p, pNul ? static_cast<std::size_t>(static_cast<const char*>(pNul) - p)
                            : static_cast<std::size_t>(nLength));
        m_nPos += static_cast<std::size_t>(nLength);
        return true;
    }
    bool Skip(std::size_t nCount)
    {
        if (Remaining() < nCount)
            return false;
        m_nPos += nCount;
        return true;
    }
    std::size_t Remaining() const { return m_bytes.size() - m_nPos; }
    std::size_t Position() const { return m_nPos; }

private:
    std::span<const std::uint8_t> m_bytes;
    std::size_t m_nPos = 0;
};

std::int32_t I32At(std::span<const std::uint8_t> bytes, std::size_t at)
{
    CPofReader reader(bytes.subspan(at));
    std::int32_t n = 0;
    reader.I32(n);
    return n;
}

std::string IdText(std::uint32_t nId)
{
    std::string text;
    for (int i = 0; i < 4; ++i)
    {
        const auto ch = static_cast<char>((nId >> (8 * i)) & 0xFF);
        text += ch >= 0x20 && ch <= 0x7E ? ch : '?';
    }
    return text;
}

std::string Name(const PofSubobject& sub)
{
    return "subobject " + std::to_string(sub.nNumber) +
           (sub.strName.empty() ? std::string() : " (" + sub.strName + ")");
}

// A count of nSize-byte records from an int field, refused when the rest of the chunk cannot
// hold them.
bool Count(CPofReader& reader, std::size_t nSize, std::int32_t& nCount)
{
    return reader.I32(nCount) && nCount >= 0 &&
           static_cast<std::size_t>(nCount) <= reader.Remaining() / nSize;
}

Result ReadHeader(std::span<const std::uint8_t> chunk, bool bOld, PofModel& model,
                  std::int32_t& nSubobjects)
{
    CPofReader reader(chunk);
    std::int32_t nFlags = 0;
    const bool bStart =
        bOld ? reader.I32(nSubobjects) && reader.Float(model.fRadius) && reader.I32(nFlags)
             : reader.Float(model.fRadius) && reader.I32(nFlags) && reader.I32(nSubobjects);
    std::int32_t nCount = 0;
    if (!bStart || !reader.Vector(model.min) || !reader.Vector(model.max) ||
        !Count(reader, 4, nCount))
        return Result::Fail("the header is cut short");
    model.detailLevels.resize(static_cast<std::size_t>(nCount));
    for (std::int32_t& n : model.detailLevels)
        reader.I32(n);
    if (!Count(reader, 4, nCount))
        return Result::Fail("the header's debris list is cut short");
    model.debris.resize(static_cast<std::size_t>(nCount));
    for (std::int32_t& n : model.debris)
        reader.I32(n);
    if (nSubobjects < 0)
        return Result::Fail("the header gives " + std::to_string(nSubobjects) + " subobjects");
    return Result::Ok();
}

Result ReadTextures(std::span<const std::uint8_t> chunk, PofModel& model)
{
    CPofReader reader(chunk);
    std::int32_t nCount = 0;
    if (!Count(reader, 4, nCount))
        return Result::Fail("the texture list is cut short");
    model.textures.resize(static_cast<std::size_t>(nCount));
    for (std::string& name : model.textures)
        if (!reader.String(name))
            return Result::Fail("the texture list is cut short");
    return Result::Ok();
}

Result ReadPoints(std::span<const std::uint8_t> chunk, PofSubobject& sub)
{
    CPofReader reader(chunk);
    std::int32_t nPoints = 0;
    std::int32_t nNormals = 0;
    std::int32_t nDataAt = 0;
    reader.Skip(kChunkHeader);
    if (!Count(reader, 1, nPoints) || !reader.I32(nNormals) || !reader.I32(nDataAt) ||
        !reader.Skip(static_cast<std::size_t>(nPoints)))
        return Result::Fail(Name(sub) + ": its points are cut short");
    const auto counts = chunk.subspan(reader.Position() - static_cast<std::size_t>(nPoints),
                                      static_cast<std::size_t>(nPoints));
    std::size_t nNormalTotal = 0;
    for (const std::uint8_t n : counts)
        nNormalTotal += n;
    const std::size_t nVectors = static_cast<std::size_t>(nPoints) + nNormalTotal;
    if (nDataAt < 0 || static_cast<std::size_t>(nDataAt) > chunk.size() ||
        nVectors > (chunk.size() - static_cast<std::size_t>(nDataAt)) / 12)
        return Result::Fail(Name(sub) + ": its points lie outside their chunk");
    CPofReader data(chunk.subspan(static_cast<std::size_t>(nDataAt)));
    sub.points.resize(static_cast<std::size_t>(nPoints));
    sub.normals.resize(nNormalTotal);
    std::size_t nNormal = 0;
    for (std::size_t i = 0; i < counts.size(); ++i)
    {
        data.Vector(sub.points[i]);
        for (int k = 0; k < counts[i]; ++k)
            data.Vector(sub.normals[nNormal++]);
    }
    return Result::Ok();
}

// FLATPOLY, TMAPPOLY and TMAP2POLY; polygons of fewer than three corners draw nothing and are
// left out.
Result ReadPolygon(std::span<const std::uint8_t> chunk, std::int32_t nOp, PofSubobject& sub)
{
    CPofReader reader(chunk);
    PofPolygon polygon;
    std::int32_t nCorners = 0;
    std::size_t nCornerSize = 4;
    bool bRead = false;
    if (nOp == kOpTexturedPoly2)
    {
        nCornerSize = 16;
        bRead = reader.Skip(44) && reader.I32(polygon.nTexture) && Count(reader, 16, nCorners);
    }
    else if (nOp == kOpTexturedPoly)
    {
        nCornerSize = 12;
        bRead = reader.Skip(36) && reader.I32(nCorners) && reader.I32(polygon.nTexture) &&
                nCorners >= 0 && static_cast<std::size_t>(nCorners) <= reader.Remaining() / 12;
    }
    else
    {
        std::int32_t nColour = 0;
        bRead = reader.Skip(36) && reader.I32(nCorners) && reader.I32(nColour) && nCorners >= 0 &&
                static_cast<std::size_t>(nCorners) <= reader.Remaining() / 4;
        polygon.colour = {static_cast<std::uint8_t>(nColour),
                          static_cast<std::uint8_t>(nColour >> 8),
                          static_cast<std::uint8_t>(nColour >> 16)};
    }
    if (!bRead)
        return Result::Fail(Name(sub) + ": a polygon is cut short");
    if (polygon.nTexture < 0)
        polygon.nTexture = -1;
    if (nCorners < 3)
        return Result::Ok();
    polygon.nFirstCorner = static_cast<std::uint32_t>(sub.corners.size());
    polygon.nCornerCount = static_cast<std::uint32_t>(nCorners);
    for (std::int32_t i = 0; i < nCorners; ++i)
    {
        PofCorner corner;
        std::int32_t a = 0;
        std::int32_t b = 0;
        if (nCornerSize == 16)
        {
            reader.I32(a);
            reader.I32(b);
            corner.nVertex = static_cast<std::uint32_t>(a);
            corner.nNormal = static_cast<std::uint32_t>(b);
        }
        else
        {
            // Two 16-bit numbers in one int.
            reader.I32(a);
            corner.nVertex = static_cast<std::uint32_t>(a) & 0xFFFF;
            corner.nNormal = static_cast<std::uint32_t>(a) >> 16;
        }
        if (nCornerSize != 4)
        {
            reader.Float(corner.u);
            reader.Float(corner.v);
        }
        sub.corners.push_back(corner);
    }
    sub.polygons.push_back(polygon);
    return Result::Ok();
}

// The geometry is a tree of chunk lists: SORTNORM nodes name lists by their offset from the
// node, SORTNORM2 nodes name single nodes. Each chunk is read once however often it is named,
// so a forged tree can neither loop nor make the walk grow past the data. Lists are read front
// first, in the order the model was written.
Result ReadGeometry(std::span<const std::uint8_t> bsp, PofSubobject& sub)
{
    struct Work
    {
        std::size_t nAt;
        bool bSingle;
    };
    std::vector<bool> visited(bsp.size());
    std::vector<Work> work{{0, false}};
    const auto push = [&](std::size_t nNode, std::int32_t nOffset, bool bSingle)
    {
        if (nOffset == 0)
            return true;
        const std::int64_t nAt = static_cast<std::int64_t>(nNode) + nOffset;
        if (nAt < 0 || static_cast<std::uint64_t>(nAt) >= bsp.size())
            return false;
        work.push_back({static_cast<std::size_t>(nAt), bSingle});
        return true;
    };
    if (bsp.empty())
        return Result::Ok();
    while (!work.empty())
    {
        const Work item = work.back();
        work.pop_back();
        for (std::size_t nAt = item.nAt;;)
        {
            if (bsp.size() - nAt < kChunkHeader)
                return Result::Fail(Name(sub) + ": its geometry is cut short");
            if (visited[nAt])
                break;
            visited[nAt] = true;
            const std::int32_t nOp = I32At(bsp, nAt);
            const std::int32_t nSize = I32At(bsp, nAt + 4);
            if (nOp == kOpEnd)
                break;
            if (nSize < static_cast<std::int32_t>(kChunkHeader) ||
                static_cast<std::size_t>(nSize) > bsp.size() - nAt)
                return Result::Fail(Name(sub) + ": a geometry chunk runs past its data");
            const auto chunk = bsp.subspan(nAt, static_cast<std::size_t>(nSize));
            Result r;
            switch (nOp)
            {
            case kOpPoints:
                r = ReadPoints(chunk, sub);
                break;
            case kOpFlatPoly:
            case kOpTexturedPoly:
            case kOpTexturedPoly2:
                r = ReadPolygon(chunk, nOp, sub);
                break;
            case kOpSortNormal:
                if (chunk.size() < 56)
                    return Result::Fail(Name(sub) + ": a sorting node is cut short");
                for (const std::size_t nField : {52, 48, 44, 40, 36})
                    if (!push(nAt, I32At(chunk, nField), false))
                        return Result::Fail(Name(sub) + ": a sorting node points outside");
                break;
            case kOpSortNormal2:
                if (chunk.size() < 16)
                    return Result::Fail(Name(sub) + ": a sorting node is cut short");
                for (const std::size_t nField : {12, 8})
                    if (!push(nAt, I32At(chunk, nField), true))
                        return Result::Fail(Name(sub) + ": a sorting node points outside");
                break;
            case kOpBoundBox:
            default:
                // Bounding boxes, and chunks of later versions, carry nothing drawn.
                break;
            }
            if (!r)
                return r;
            if (item.bSingle)
                break;
            nAt += static_cast<std::size_t>(nSize);
        }
    }
    for (const PofCorner& corner : sub.corners)
    {
        if (corner.nVertex >= sub.points.size())
            return Result::Fail(Name(sub) + ": a polygon names point " +
                                std::to_string(corner.nVertex) + " of " +
                                std::to_string(sub.points.size()));
        if (corner.nNormal >= sub.normals.size())
            return Result::Fail(Name(sub) + ": a polygon names normal " +
                                std::to_string(corner.nNormal) + " of " +
                                std::to_string(sub.normals.size()));
    }
    return Result::Ok();
}

Result ReadSubobject(std::span<const std::uint8_t> chunk, bool bOld, PofSubobject& sub)
{
    CPofReader reader(chunk);
    PofVector centre;
    std::int32_t nMovementType = 0;
    std::int32_t nMovementAxis = 0;
    std::int32_t nReserved = 0;
    std::int32_t nBspSize = 0;
    bool bRead = reader.I32(sub.nNumber);
    bRead =
        bRead &&
        (bOld ? reader.I32(sub.nParent) && reader.Vector(sub.offset) && reader.Float(sub.fRadius)
              : reader.Float(sub.fRadius) && reader.I32(sub.nParent) && reader.Vector(sub.offset));
    bRead = bRead && reader.Vector(centre) && reader.Vector(sub.min) && reader.Vector(sub.max) &&
            reader.String(sub.strName) && reader.String(sub.strProperties) &&
            reader.I32(nMovementType) && reader.I32(nMovementAxis) && Count(reader, 4, nReserved) &&
            reader.Skip(static_cast<std::size_t>(nReserved) * 4) && reader.I32(nBspSize);
    if (!bRead)
        return Result::Fail("subobject " + std::to_string(sub.nNumber) + " is cut short");
    if (nBspSize < 0 || static_cast<std::size_t>(nBspSize) > reader.Remaining())
        return Result::Fail(Name(sub) + ": its geometry runs past its chunk");
    return ReadGeometry(chunk.subspan(reader.Position(), static_cast<std::size_t>(nBspSize)), sub);
}

bool EndsWithNoCase(const std::string& text, const char* szEnd)
{
    const std::size_t n = std::strlen(szEnd);
    if (text.size() < n)
        return false;
    for (std::size_t i = 0; i < n; ++i)
    {
        char ch = text[text.size() - n + i];
        if (ch >= 'A' && ch <= 'Z')
            ch = static_cast<char>(ch - 'A' + 'a');
        if (ch != szEnd[i])
            return false;
    }
    return true;
}

// Each subobject takes the detail level of the first detail root above it (or its own).
void AssignDetailLevels(PofModel& model)
{
    for (PofSubobject& sub : model.subobjects)
    {
        sub.nDetailLevel = -1;
        std::int32_t nNumber = sub.nNumber;
        // A chain longer than the subobjects is a loop.
        for (std::size_t nSteps = 0; nSteps <= model.subobjects.size() && nNumber >= 0; ++nSteps)
        {
            const auto level =
                std::find(model.detailLevels.begin(), model.detailLevels.end(), nNumber);
            if (level != model.detailLevels.end())
            {
                sub.nDetailLevel = static_cast<std::int32_t>(level - model.detailLevels.begin());
                break;
            }
            const int nIndex = model.IndexOf(nNumber);
            nNumber = nIndex < 0 ? -1 : model.subobjects[static_cast<std::size_t>(nIndex)].nParent;
        }
    }
}
} // namespace

int PofModel::IndexOf(std::int32_t nNumber) const
{
    const auto it =
        std::lower_bound(subobjects.begin(), subobjects.end(), nNumber,
                         [](const PofSubobject& s, std::int32_t n) { return s.nNumber < n; });
    return it != subobjects.end() && it->nNumber == nNumber
               ? static_cast<int>(it - subobjects.begin())
               : -1;
}

std::vector<int> PofModel::ShownSubobjects() const
{
    std::vector<int> shown;
    for (std::size_t i = 0; i < subobjects.size(); ++i)
    {
        if (subobjects[i].nDetailLevel != 0)
            continue;
        // A destroyed part's replacement, and whatever hangs below it, waits unseen.
        bool bDestroyed = false;
        int nIndex = static_cast<int>(i);
        for (std::size_t nSteps = 0; nSteps <= subobjects.size() && nIndex >= 0; ++nSteps)
        {
            const PofSubobject& sub = subobjects[static_cast<std::size_t>(nIndex)];
            if (EndsWithNoCase(sub.strName, "-destroyed"))
                bDestroyed = true;
            if (!detailLevels.empty() && sub.nNumber == detailLevels.front())
                break;
            nIndex = IndexOf(sub.nParent);
        }
        if (!bDestroyed)
            shown.push_back(static_cast<int>(i));
    }
    return shown;
}

std::size_t PofModel::ShownPolygonCount() const
{
    std::size_t nCount = 0;
    for (const int i : ShownSubobjects())
        nCount += subobjects[static_cast<std::size_t>(i)].polygons.size();
    return nCount;
}

Result ParsePof(std::span<const std::uint8_t> bytes, PofModel& model)
{
    model = PofModel();
    CPofReader reader(bytes);
    std::int32_t nSignature = 0;
    if (!reader.I32(nSignature) || static_cast<std::uint32_t>(nSignature) != ChunkId("PSPO") ||
        !reader.I32(model.nVersion))
        return Result::Fail("not a POF model (no \"PSPO\" signature)");

    bool bHeader = false;
    std::int32_t nSubobjects = 0;
    while (reader.Remaining() > 0)
    {
        std::int32_t nId = 0;
        std::int32_t nLength = 0;
        if (!reader.I32(nId) || !reader.I32(nLength))
            return Result::Fail("the last chunk's header is cut short");
        const auto id = static_cast<std::uint32_t>(nId);
        if (nLength < 0 || static_cast<std::size_t>(nLength) > reader.Remaining())
            return Result::Fail("chunk " + IdText(id) + " runs past the end of the model");
        const auto chunk = bytes.subspan(reader.Position(), static_cast<std::size_t>(nLength));
        reader.Skip(chunk.size());
        Result r;
        if (id == kIdHeader || id == kIdOldHeader)
        {
            if (bHeader)
                return Result::Fail("the model has two headers");
            bHeader = true;
            r = ReadHeader(chunk, id == kIdOldHeader, model, nSubobjects);
        }
        else if (id == kIdSubobject || id == kIdOldSubobject)
        {
            PofSubobject sub;
            r = ReadSubobject(chunk, id == kIdOldSubobject, sub);
            if (r)
                model.subobjects.push_back(std::move(sub));
        }
        else if (id == kIdTextures)
        {
            r = ReadTextures(chunk, model);
        }
        if (!r)
            return r;
    }
    if (!bHeader)
        return Result::Fail("the model has no header chunk (HDR2 or OHDR)");

    std::sort(model.subobjects.begin(), model.subobjects.end(),
              [](const PofSubobject& a, const PofSubobject& b) { return a.nNumber < b.nNumber; });
    for (std::size_t i = 0; i < model.subobjects.size(); ++i)
    {
        const std::int32_t n = model.subobjects[i].nNumber;
        if (n < 0 || n >= nSubobjects)
            return Result::Fail("subobject " + std::to_string(n) + " is outside the header's " +
                                std::to_string(nSubobjects));
        if (i > 0 && model.subobjects[i - 1].nNumber == n)
            return Result::Fail("subobject " + std::to_string(n) + " appears twice");
    }
    if (model.subobjects.size() != static_cast<std::size_t>(nSubobjects))
        return Result::Fail("the header gives " + std::to_string(nSubobjects) +
                            " subobjects, the model holds " +
                            std::to_string(model.subobjects.size()));
    // A model without detail levels is shown from its first subobject.
    if (model.detailLevels.empty() && !model.subobjects.empty())
        model.detailLevels.push_back(model.subobjects.front().nNumber);
    for (const std::int32_t n : model.detailLevels)
        if (model.IndexOf(n) < 0)
            return Result::Fail("a detail level names subobject " + std::to_string(n) +
                                ", which the model does not hold");
    AssignDetailLevels(model);
    return Result::Ok();
}
