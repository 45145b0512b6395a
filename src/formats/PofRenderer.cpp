#include "PofRenderer.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "PictureLimits.h"

namespace
{
struct Vec3
{
    double x = 0, y = 0, z = 0;
};

Vec3 operator+(Vec3 a, Vec3 b)
{
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
Vec3 operator-(Vec3 a, Vec3 b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Vec3 operator*(Vec3 a, double s)
{
    return {a.x * s, a.y * s, a.z * s};
}
double Dot(Vec3 a, Vec3 b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
Vec3 Cross(Vec3 a, Vec3 b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
Vec3 Normalized(Vec3 a)
{
    const double d = std::sqrt(Dot(a, a));
    return d > 0 ? a * (1 / d) : Vec3{};
}

constexpr std::uint8_t kBackground[3] = {26, 28, 34};
constexpr std::uint8_t kGrey[3] = {168, 168, 168};
constexpr std::uint8_t kWire[3] = {150, 200, 255};
constexpr float kAmbient = 0.3f;
// Share of the picture the model takes at zoom 1, at the widest of its turns.
constexpr double kFill = 0.95;

// A corner after the camera: screen position, 1/depth and the lit intensity.
struct ScreenCorner
{
    float x, y, w, light;
};

struct Camera
{
    Vec3 eye;
    Vec3 right, up, forward;
    Vec3 light; // towards the light
    double dFocal = 1;
    double dHalfWidth = 0, dHalfHeight = 0;

    // Viewer frame: x right, y up, z the depth ahead.
    Vec3 View(Vec3 p) const
    {
        const Vec3 q = p - eye;
        return {Dot(q, right), Dot(q, up), Dot(q, forward)};
    }
};

// The camera's frame for a yaw and pitch in degrees, looking at centre from dDistance away.
Camera Orbit(double dYawDegrees, double dPitchDegrees, Vec3 centre, double dDistance)
{
    const double dYaw = dYawDegrees * std::numbers::pi / 180;
    const double dPitch = std::clamp(dPitchDegrees, -89.0, 89.0) * std::numbers::pi / 180;
    Camera camera;
    // The model's nose points along +z, its right side along +x, y up; seen from the front
    // left a yaw puts the camera towards -x.
    const Vec3 towardsEye{-std::sin(dYaw) * std::cos(dPitch), std::sin(dPitch),
                          std::cos(dYaw) * std::cos(dPitch)};
    camera.forward = towardsEye * -1;
    camera.right = Normalized(Cross({0, 1, 0}, camera.forward));
    camera.up = Cross(camera.forward, camera.right);
    camera.light = Normalized(camera.right * -0.45 + camera.up * 0.55 + towardsEye * 0.7);
    camera.eye = centre + towardsEye * dDistance;
    return camera;
}

// Where the eye stands from the middle of the model's box.
void Frame(const PofMesh& mesh, Vec3& centre, double& dDistance)
{
    const Vec3 min{mesh.min.x, mesh.min.y, mesh.min.z};
    const Vec3 max{mesh.max.x, mesh.max.y, mesh.max.z};
    centre = (min + max) * 0.5;
    double dRadius = std::sqrt(Dot(max - min, max - min)) / 2;
    if (!(dRadius > 0))
        dRadius = 1;
    dDistance = dRadius * 2.6;
}

// The half width and height, at depth 1, of what the model covers turned once round its
// vertical axis at the first view's pitch: one scale then holds for every turn, so the model
// keeps its size and stays in the picture while the viewer turns it.
void FitSpans(const PofMesh& mesh, double& dSpanX, double& dSpanY)
{
    Vec3 centre;
    double dDistance = 0;
    Frame(mesh, centre, dDistance);
    const PofView first;
    dSpanX = dSpanY = 1e-9;
    for (int nYaw = 0; nYaw < 360; nYaw += 30)
    {
        const Camera fit = Orbit(first.dYaw + nYaw, first.dPitch, centre, dDistance);
        for (const PofMesh::Corner& c : mesh.corners)
        {
            const Vec3 v = fit.View({c.x, c.y, c.z});
            dSpanX = std::max(dSpanX, std::abs(v.x / v.z));
            dSpanY = std::max(dSpanY, std::abs(v.y / v.z));
        }
    }
}

Camera MakeCamera(const PofMesh& mesh, const PofView& view, int nWidth, int nHeight)
{
    Vec3 centre;
    double dDistance = 0;
    Frame(mesh, centre, dDistance);
    Camera camera = Orbit(view.dYaw, view.dPitch, centre, dDistance);
    double dSpanX = mesh.dFitX;
    double dSpanY = mesh.dFitY;
    if (!(dSpanX > 0 && dSpanY > 0))
        FitSpans(mesh, dSpanX, dSpanY);
    const double dZoom = view.dZoom > 0 ? view.dZoom : 1;
    camera.dFocal = dZoom * kFill * std::min(nWidth / 2 / dSpanX, nHeight / 2 / dSpanY);
    camera.dHalfWidth = nWidth / 2.0;
    camera.dHalfHeight = nHeight / 2.0;
    return camera;
}

float Clamped(double d)
{
    // Screen positions far outside the picture are clipped anyway; this keeps them finite
    // and within what a float and the rasteriser's int conversions hold. A corner the camera
    // cannot place (corners at a float's ends make it so) goes far off as well.
    if (std::isnan(d))
        return -1e7f;
    return static_cast<float>(std::clamp(d, -1e7, 1e7));
}

class CRasteriser
{
public:
    CRasteriser(int nWidth, int nHeight, RgbaPicture& picture)
        : m_nWidth(nWidth), m_nHeight(nHeight), m_picture(picture),
          m_depth(static_cast<std::size_t>(nWidth) * static_cast<std::size_t>(nHeight), 0.0f)
    {
    }

    // One triangle; uv holds u/depth and v/depth per corner, pTexture null for a plain colour.
    void Triangle(const ScreenCorner& a, const ScreenCorner& b, const ScreenCorner& c,
                  const float (&uv)[3][2], const RgbaPicture* pTexture, const std::uint8_t* colour,
                  PofMesh::Blend blend)
    {
        float fArea = Edge(a.x, a.y, b.x, b.y, c.x, c.y);
        if (fArea == 0)
            return;
        const ScreenCorner* p[3] = {&a, &b, &c};
        int order[3] = {0, 1, 2};
        if (fArea < 0)
        {
            std::swap(order[1], order[2]);
            fArea = -fArea;
        }
        const ScreenCorner& p0 = *p[order[0]];
        const ScreenCorner& p1 = *p[order[1]];
        const ScreenCorner& p2 = *p[order[2]];
        const int nX0 = std::max(0, static_cast<int>(std::floor(std::min({p0.x, p1.x, p2.x}))));
        const int nX1 =
            std::min(m_nWidth - 1, static_cast<int>(std::ceil(std::max({p0.x, p1.x, p2.x}))));
        const int nY0 = std::max(0, static_cast<int>(std::floor(std::min({p0.y, p1.y, p2.y}))));
        const int nY1 =
            std::min(m_nHeight - 1, static_cast<int>(std::ceil(std::max({p0.y, p1.y, p2.y}))));
        if (nX0 > nX1 || nY0 > nY1)
            return;
        const float fInv = 1 / fArea;
        // Edge functions step by a constant per pixel along a row.
        const float dx0 = p1.y - p2.y;
        const float dx1 = p2.y - p0.y;
        const float dx2 = p0.y - p1.y;
        const float fStartX = static_cast<float>(nX0) + 0.5f;
        for (int y = nY0; y <= nY1; ++y)
        {
            const float fy = static_cast<float>(y) + 0.5f;
            float e0 = Edge(p1.x, p1.y, p2.x, p2.y, fStartX, fy);
            float e1 = Edge(p2.x, p2.y, p0.x, p0.y, fStartX, fy);
            float e2 = Edge(p0.x, p0.y, p1.x, p1.y, fStartX, fy);
            const std::size_t nRow =
                static_cast<std::size_t>(y) * static_cast<std::size_t>(m_nWidth);
            for (int x = nX0; x <= nX1; ++x, e0 += dx0, e1 += dx1, e2 += dx2)
            {
                if (e0 < 0 || e1 < 0 || e2 < 0)
                    continue;
                const float b0 = e0 * fInv, b1 = e1 * fInv, b2 = e2 * fInv;
                const float w = b0 * p0.w + b1 * p1.w + b2 * p2.w;
                float& depth = m_depth[nRow + static_cast<std::size_t>(x)];
                if (w <= depth)
                    continue;
                const float light = b0 * p0.light + b1 * p1.light + b2 * p2.light;
                std::uint8_t texel[4] = {colour[0], colour[1], colour[2], 255};
                if (pTexture)
                {
                    const float fDepth = 1 / w;
                    const float u =
                        (b0 * uv[order[0]][0] + b1 * uv[order[1]][0] + b2 * uv[order[2]][0]) *
                        fDepth;
                    const float v =
                        (b0 * uv[order[0]][1] + b1 * uv[order[1]][1] + b2 * uv[order[2]][1]) *
                        fDepth;
                    Sample(*pTexture, u, v, texel);
                }
                std::uint8_t* out =
                    m_picture.rgba.data() + (nRow + static_cast<std::size_t>(x)) * 4;
                if (blend == PofMesh::Blend::Additive)
                {
                    const float fAlpha = texel[3] / 255.0f;
                    for (int k = 0; k < 3; ++k)
                        out[k] = static_cast<std::uint8_t>(
                            std::min(255.0f, static_cast<float>(out[k]) + texel[k] * fAlpha));
                    continue;
                }
                if (blend == PofMesh::Blend::AlphaTested && texel[3] < 128)
                    continue;
                depth = w;
                for (int k = 0; k < 3; ++k)
                    out[k] = static_cast<std::uint8_t>(std::min(255.0f, texel[k] * light));
            }
        }
    }

    // A line, clipped to the picture first so a zoomed-in edge costs no more than its pixels
    // in view.
    void Line(float x0, float y0, float x1, float y1)
    {
        float t0 = 0, t1 = 1;
        const float dx = x1 - x0, dy = y1 - y0;
        const float fMaxX = static_cast<float>(m_nWidth) - 0.5f;
        const float fMaxY = static_cast<float>(m_nHeight) - 0.5f;
        const float p[4] = {-dx, dx, -dy, dy};
        const float q[4] = {x0, fMaxX - x0, y0, fMaxY - y0};
        for (int i = 0; i < 4; ++i)
        {
            if (p[i] == 0)
            {
                if (q[i] < 0)
                    return;
                continue;
            }
            const float r = q[i] / p[i];
            if (p[i] < 0)
                t0 = std::max(t0, r);
            else
                t1 = std::min(t1, r);
        }
        if (t0 > t1)
            return;
        const float ax = x0 + t0 * dx, ay = y0 + t0 * dy;
        const float bx = x0 + t1 * dx, by = y0 + t1 * dy;
        const int nSteps = static_cast<int>(std::max(std::abs(bx - ax), std::abs(by - ay))) + 1;
        for (int i = 0; i <= nSteps; ++i)
        {
            const float t = static_cast<float>(i) / static_cast<float>(nSteps);
            const int x = std::clamp(static_cast<int>(ax + (bx - ax) * t), 0, m_nWidth - 1);
            const int y = std::clamp(static_cast<int>(ay + (by - ay) * t), 0, m_nHeight - 1);
            std::uint8_t* out = m_picture.rgba.data() +
                                (static_cast<std::size_t>(y) * static_cast<std::size_t>(m_nWidth) +
                                 static_cast<std::size_t>(x)) *
                                    4;
            out[0] = kWire[0];
            out[1] = kWire[1];
            out[2] = kWire[2];
        }
    }

private:
    static float Edge(float ax, float ay, float bx, float by, float px, float py)
    {
        return (bx - ax) * (py - ay) - (by - ay) * (px - ax);
    }

    static void Sample(const RgbaPicture& texture, float u, float v, std::uint8_t* texel)
    {
        float fu = u - std::floor(u);
        float fv = v - std::floor(v);
        if (!(fu >= 0 && fu < 1))
            fu = 0;
        if (!(fv >= 0 && fv < 1))
            fv = 0;
        const int x =
            std::min(texture.nWidth - 1, static_cast<int>(fu * static_cast<float>(texture.nWidth)));
        const int y = std::min(texture.nHeight - 1,
                               static_cast<int>(fv * static_cast<float>(texture.nHeight)));
        const std::uint8_t* p =
            texture.rgba.data() +
            (static_cast<std::size_t>(y) * static_cast<std::size_t>(texture.nWidth) +
             static_cast<std::size_t>(x)) *
                4;
        texel[0] = p[0];
        texel[1] = p[1];
        texel[2] = p[2];
        texel[3] = p[3];
    }

    int m_nWidth;
    int m_nHeight;
    RgbaPicture& m_picture;
    std::vector<float> m_depth; // 1/depth, 0 where nothing is drawn
};

bool IsUsable(const RgbaPicture& texture)
{
    return texture.nWidth > 0 && texture.nHeight > 0 &&
           texture.rgba.size() >= static_cast<std::size_t>(texture.nWidth) *
                                      static_cast<std::size_t>(texture.nHeight) * 4;
}
} // namespace

PofMesh BuildPofMesh(const PofModel& model)
{
    PofMesh mesh;
    bool bAny = false;
    for (const int nIndex : model.ShownSubobjects())
    {
        // Each subobject's points are relative to its own origin, which lies at its offset from
        // its parent's; the detail level's own origin is the model's.
        Vec3 origin;
        int n = nIndex;
        for (std::size_t nSteps = 0; nSteps < model.subobjects.size() && n >= 0; ++nSteps)
        {
            const PofSubobject& sub = model.subobjects[static_cast<std::size_t>(n)];
            if (sub.nDetailLevel == 0 && sub.nNumber == model.detailLevels.front())
                break;
            origin = origin + Vec3{sub.offset.x, sub.offset.y, sub.offset.z};
            n = model.IndexOf(sub.nParent);
        }
        const PofSubobject& sub = model.subobjects[static_cast<std::size_t>(nIndex)];
        for (const PofPolygon& polygon : sub.polygons)
        {
            mesh.polygons.push_back({static_cast<std::uint32_t>(mesh.corners.size()),
                                     polygon.nCornerCount, polygon.nTexture, polygon.colour});
            for (std::uint32_t i = 0; i < polygon.nCornerCount; ++i)
            {
                const PofCorner& c = sub.corners[polygon.nFirstCorner + i];
                const PofVector& p = sub.points[c.nVertex];
                const PofVector& nrm = sub.normals[c.nNormal];
                const PofMesh::Corner corner{static_cast<float>(p.x + origin.x),
                                             static_cast<float>(p.y + origin.y),
                                             static_cast<float>(p.z + origin.z),
                                             nrm.x,
                                             nrm.y,
                                             nrm.z,
                                             c.u,
                                             c.v};
                mesh.corners.push_back(corner);
                if (!bAny)
                {
                    mesh.min = mesh.max = {corner.x, corner.y, corner.z};
                    bAny = true;
                }
                mesh.min = {std::min(mesh.min.x, corner.x), std::min(mesh.min.y, corner.y),
                            std::min(mesh.min.z, corner.z)};
                mesh.max = {std::max(mesh.max.x, corner.x), std::max(mesh.max.y, corner.y),
                            std::max(mesh.max.z, corner.z)};
            }
        }
    }
    FitSpans(mesh, mesh.dFitX, mesh.dFitY);
    return mesh;
}

void FitPofMesh(PofMesh& mesh)
{
    if (!mesh.corners.empty())
    {
        const PofMesh::Corner& first = mesh.corners.front();
        mesh.min = mesh.max = {first.x, first.y, first.z};
    }
    for (const PofMesh::Corner& c : mesh.corners)
    {
        mesh.min = {std::min(mesh.min.x, c.x), std::min(mesh.min.y, c.y),
                    std::min(mesh.min.z, c.z)};
        mesh.max = {std::max(mesh.max.x, c.x), std::max(mesh.max.y, c.y),
                    std::max(mesh.max.z, c.z)};
    }
    FitSpans(mesh, mesh.dFitX, mesh.dFitY);
}

std::vector<bool> UsedTextures(const PofMesh& mesh, std::size_t nTextures)
{
    std::vector<bool> used(nTextures);
    for (const PofMesh::Polygon& polygon : mesh.polygons)
        if (polygon.nTexture >= 0 && static_cast<std::size_t>(polygon.nTexture) < nTextures)
            used[static_cast<std::size_t>(polygon.nTexture)] = true;
    return used;
}

Result RenderPof(const PofMesh& mesh, std::span<const RgbaPicture> textures, const PofView& view,
                 int nWidth, int nHeight, RgbaPicture& picture)
{
    if (!IsPictureSizeAllowed(nWidth, nHeight))
        return Result::Fail("a picture of " + std::to_string(nWidth) + "x" +
                            std::to_string(nHeight) + " cannot be drawn");
    picture = RgbaPicture();
    picture.nWidth = nWidth;
    picture.nHeight = nHeight;
    picture.strFormat = "POF";
    picture.rgba.resize(static_cast<std::size_t>(nWidth) * static_cast<std::size_t>(nHeight) * 4);
    for (std::size_t i = 0; i < picture.rgba.size(); i += 4)
    {
        picture.rgba[i] = kBackground[0];
        picture.rgba[i + 1] = kBackground[1];
        picture.rgba[i + 2] = kBackground[2];
        picture.rgba[i + 3] = 255;
    }
    if (mesh.polygons.empty())
        return Result::Ok();

    const Camera camera = MakeCamera(mesh, view, nWidth, nHeight);
    CRasteriser raster(nWidth, nHeight, picture);
    std::vector<ScreenCorner> screen;
    std::vector<float> uv;
    for (const PofMesh::Polygon& polygon : mesh.polygons)
    {
        const PofMesh::Corner* corners = mesh.corners.data() + polygon.nFirst;
        // Newell's normal: the corners of a front face run anticlockwise about it, as every
        // model's stored face normals bear out.
        Vec3 normal;
        for (std::uint32_t i = 0; i < polygon.nCount; ++i)
        {
            const PofMesh::Corner& a = corners[i];
            const PofMesh::Corner& b = corners[(i + 1) % polygon.nCount];
            normal.x += (static_cast<double>(a.y) - b.y) * (static_cast<double>(a.z) + b.z);
            normal.y += (static_cast<double>(a.z) - b.z) * (static_cast<double>(a.x) + b.x);
            normal.z += (static_cast<double>(a.x) - b.x) * (static_cast<double>(a.y) + b.y);
        }
        const Vec3 first{corners[0].x, corners[0].y, corners[0].z};
        if (Dot(normal, camera.eye - first) <= 0)
            continue;
        const Vec3 faceNormal = Normalized(normal);

        screen.resize(polygon.nCount);
        uv.resize(polygon.nCount * 2);
        for (std::uint32_t i = 0; i < polygon.nCount; ++i)
        {
            const PofMesh::Corner& c = corners[i];
            const Vec3 v = camera.View({c.x, c.y, c.z});
            const double w = 1 / v.z;
            Vec3 n = Normalized({c.nx, c.ny, c.nz});
            if (Dot(n, n) == 0)
                n = faceNormal;
            const double dLight = kAmbient + (1 - kAmbient) * std::max(0.0, Dot(n, camera.light));
            screen[i] = {Clamped(camera.dHalfWidth + v.x * w * camera.dFocal),
                         Clamped(camera.dHalfHeight - v.y * w * camera.dFocal),
                         static_cast<float>(w), static_cast<float>(dLight)};
            uv[2 * i] = static_cast<float>(c.u * w);
            uv[2 * i + 1] = static_cast<float>(c.v * w);
        }
        if (view.bWireframe)
        {
            for (std::uint32_t i = 0; i < polygon.nCount; ++i)
            {
                const ScreenCorner& a = screen[i];
                const ScreenCorner& b = screen[(i + 1) % polygon.nCount];
                raster.Line(a.x, a.y, b.x, b.y);
            }
            continue;
        }
        const RgbaPicture* pTexture = nullptr;
        const std::uint8_t* colour = polygon.colour.data();
        if (polygon.nTexture >= 0)
        {
            colour = kGrey;
            const auto nTexture = static_cast<std::size_t>(polygon.nTexture);
            if (view.bTextures && nTexture < textures.size() && IsUsable(textures[nTexture]))
                pTexture = &textures[nTexture];
        }
        if (polygon.blend == PofMesh::Blend::Additive && !pTexture)
            continue;
        // A fan from the first corner.
        for (std::uint32_t i = 1; i + 1 < polygon.nCount; ++i)
        {
            const float corners3[3][2] = {
                {uv[0], uv[1]}, {uv[2 * i], uv[2 * i + 1]}, {uv[2 * i + 2], uv[2 * i + 3]}};
            raster.Triangle(screen[0], screen[i], screen[i + 1], corners3, pTexture, colour,
                            pTexture ? polygon.blend : PofMesh::Blend::Opaque);
        }
    }
    return Result::Ok();
}
