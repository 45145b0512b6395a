#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include <QImage>
#include <QSize>
#include <QString>

#include "IPreviewPresenter.h"
#include "PofRenderer.h"
#include "Result.h"
#include "RgbaPicture.h"

// A model ready to draw, shared by the pane and the viewer: each keeps it as long as it shows
// it, so neither waits for the other's next preview.
struct ModelScene
{
    PofMesh mesh;
    std::vector<RgbaPicture> textures; // one per name of the model's list, empty where missing
    QString caption;
};

// The model drawn into an image of the given size, as the view says.
QImage RenderModelImage(const ModelScene& scene, QSize size, const PofView& view);

// What the preview holds of a model entry (POF, V3M, V3C): the model flattened for drawing with the
// textures the resolver finds, and the pane's picture of it.
class CModelPresenter : public IPreviewPresenter
{
public:
    explicit CModelPresenter(const PresenterHost& host) : m_host(host) {}

    // Reads the model once and the textures it names; a model that does not parse leaves the
    // presenter empty.
    Result Load(std::vector<std::uint8_t> bytes, const EntrySource& entry) override;
    void Clear();
    void Stop() override { Clear(); }

    bool IsEmpty() const override { return !m_pScene; }
    const std::shared_ptr<const ModelScene>& Scene() const { return m_pScene; }
    // "1536 polys, 4 subobjects - hull": what is drawn, and the first texture's name.
    QString Caption() const override;
    // The model as first shown, drawn at size; drawn again only when the size changes.
    const QImage& Image(QSize size);
    void Paint(QPainter& painter, QSize size) override;
    void ShowIn(CPreviewViewer& viewer, const QString& title) const override;

private:
    Result LoadPof(const std::vector<std::uint8_t>& bytes, ModelScene& scene);
    Result LoadV3d(const std::vector<std::uint8_t>& bytes, ModelScene& scene);

    PresenterHost m_host;
    std::shared_ptr<const ModelScene> m_pScene;
    QImage m_image;
};
