#include "CModelPresenter.h"

#include <new>

#include <QPainter>

#include "CPreviewViewer.h"
#include "FileTypes.h"
#include "ITextureResolver.h"
#include "ModelTextures.h"
#include "PofModel.h"
#include "PofTextures.h"
#include "TextEncoding.h"
#include "V3dMesh.h"
#include "V3dTextures.h"

QImage RenderModelImage(const ModelScene& scene, QSize size, const PofView& view)
{
    RgbaPicture picture;
    if (size.isEmpty() ||
        !RenderPof(scene.mesh, scene.textures, view, size.width(), size.height(), picture))
        return QImage();
    return QImage(picture.rgba.data(), picture.nWidth, picture.nHeight,
                  static_cast<qsizetype>(picture.nWidth) * 4, QImage::Format_RGBX8888)
        .copy();
}

Result CModelPresenter::Load(std::vector<std::uint8_t> bytes, const EntrySource& entry)
{
    Clear();
    try
    {
        auto pScene = std::make_shared<ModelScene>();
        Result r;
        switch (entry.nType)
        {
        case FILE_TYPE_POF:
            r = LoadPof(bytes, *pScene);
            break;
        case FILE_TYPE_V3M:
        case FILE_TYPE_V3C:
            r = LoadV3d(bytes, *pScene);
            break;
        default:
            r = Result::Fail("not a model");
            break;
        }
        if (!r)
            return r;
        m_pScene = std::move(pScene);
    }
    catch (const std::bad_alloc&)
    {
        return Result::Fail("not enough memory for the model");
    }
    return Result::Ok();
}

Result CModelPresenter::LoadPof(const std::vector<std::uint8_t>& bytes, ModelScene& scene)
{
    PofModel model;
    if (Result r = ParsePof(bytes, model); !r)
        return r;
    scene.mesh = BuildPofMesh(model);
    scene.textures = LoadModelTextures(m_host.textures(), model.textures, PofTextureFileNames,
                                       UsedTextures(scene.mesh, model.textures.size()));
    scene.caption =
        QString::asprintf("%i polys, %i subobjects - ", static_cast<int>(model.ShownPolygonCount()),
                          static_cast<int>(model.ShownSubobjects().size())) +
        (model.textures.empty() ? QStringLiteral("no textures")
                                : QString::fromStdString(Cp1252ToUtf8(model.textures.front())));
    return Result::Ok();
}

Result CModelPresenter::LoadV3d(const std::vector<std::uint8_t>& bytes, ModelScene& scene)
{
    V3dMesh mesh;
    if (Result r = ParseV3d(bytes, mesh); !r)
        return r;
    const std::vector<std::string> textures = mesh.Textures();
    scene.mesh = BuildV3dMesh(mesh);
    scene.textures = LoadModelTextures(m_host.textures(), textures, V3dTextureFileNames,
                                       UsedTextures(scene.mesh, textures.size()));
    scene.caption = QString::asprintf("%i triangles, %i submeshes - ",
                                      static_cast<int>(mesh.ShownTriangleCount()),
                                      static_cast<int>(mesh.submeshes.size())) +
                    (textures.empty() ? QStringLiteral("no textures")
                                      : QString::fromStdString(Cp1252ToUtf8(textures.front())));
    return Result::Ok();
}

void CModelPresenter::Clear()
{
    m_pScene.reset();
    m_image = QImage();
}

QString CModelPresenter::Caption() const
{
    return m_pScene ? m_pScene->caption : QString();
}

const QImage& CModelPresenter::Image(QSize size)
{
    if (m_pScene && m_image.size() != size)
        m_image = RenderModelImage(*m_pScene, size, PofView());
    return m_image;
}

void CModelPresenter::Paint(QPainter& painter, QSize size)
{
    painter.drawImage(0, 0, Image(size));
}

void CModelPresenter::ShowIn(CPreviewViewer& viewer, const QString& title) const
{
    viewer.ShowModel(title, m_pScene, Caption());
}
