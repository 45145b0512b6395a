#include "CModelPresenter.h"

#include <new>

#include "PofModel.h"
#include "PofTextures.h"
#include "TextEncoding.h"

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

Result CModelPresenter::Load(const std::vector<std::uint8_t>& bytes, const CORBISTAVDoc& doc,
                             IByteSource& archive, CEntryReader::Mode mode)
{
    Clear();
    try
    {
        PofModel model;
        if (Result r = ParsePof(bytes, model); !r)
            return r;
        auto pScene = std::make_shared<ModelScene>();
        pScene->mesh = BuildPofMesh(model);
        pScene->textures = LoadPofTextures(doc, archive, model.textures, mode,
                                           UsedTextures(pScene->mesh, model.textures.size()));
        pScene->caption =
            QString::asprintf("%i polys, %i subobjects - ",
                              static_cast<int>(model.ShownPolygonCount()),
                              static_cast<int>(model.ShownSubobjects().size())) +
            (model.textures.empty() ? QStringLiteral("no textures")
                                    : QString::fromStdString(Cp1252ToUtf8(model.textures.front())));
        m_pScene = std::move(pScene);
    }
    catch (const std::bad_alloc&)
    {
        return Result::Fail("not enough memory for the model");
    }
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
