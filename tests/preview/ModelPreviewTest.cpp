#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include <QApplication>
#include <QImage>
#include <QTest>

#include "CAutoPreview.h"
#include "CModelCanvas.h"
#include "CORBISTAVDoc.h"
#include "CPreviewViewer.h"
#include "DdsBuilder.h"
#include "PofBuilder.h"
#include "Settings.h"
#include "TempDir.h"
#include "VpBuilder.h"

namespace
{
class ModelPreview : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ::setenv("QUILLMOOR_REGISTRY_DIR", (m_dir / "registry").c_str(), 1);
        std::vector<unsigned char> broken = MakeShipPof(200, "hull");
        broken.resize(broken.size() / 2);
        VpBuilder()
            .Dir("data")
            .Dir("maps")
            .File("HULL.dds", MakeDxt1Texture(16,
                                              [](double, double) {
                                                  return Rgb{40, 220, 40};
                                              }))
            .Up()
            .Dir("models")
            .File("cruiser.pof", MakeShipPof(400, "hull"))
            .File("bare.pof", PofBuilder().Subobject(Quad()).Bytes())
            .File("broken.pof", broken)
            .Up()
            .Up()
            .WriteTo(m_dir / "mod.vp");
        ASSERT_EQ(m_doc.OnOpenDocument(m_dir / "mod.vp"), CORBISTAVDoc::OpenResult::Read);
        m_pane = std::make_unique<CAutoPreview>(m_doc, m_settings);
        m_pane->SetCaptionHandler([this](const QString& text) { m_caption = text; });
        m_pane->resize(300, 200);
        m_pane->show();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        m_pane.reset();
        ::unsetenv("QUILLMOOR_REGISTRY_DIR");
    }

    static PofBuildSubobject Quad()
    {
        PofBuildSubobject sub;
        sub.strName = "plate";
        sub.points = {{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}};
        sub.normals.assign(4, {0, 0, 1});
        PofBuildPolygon quad;
        quad.vertices = {0, 1, 2, 3};
        sub.polygons = {quad};
        return sub;
    }

    const ArchiveFile& Entry(const std::string& name) const
    {
        for (int i = 0; i < m_doc.m_nFileCount; ++i)
            if (m_doc.m_files[i].strName == name)
                return m_doc.m_files[i];
        ADD_FAILURE() << "no entry " << name;
        return m_doc.m_files[0];
    }

    QImage Grab()
    {
        QApplication::processEvents();
        return m_pane->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    // Pixels whose green stands out: the ship's texture.
    static int GreenPixels(const QImage& image)
    {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
            {
                const QRgb p = image.pixel(x, y);
                n += qGreen(p) > 2 * qRed(p) + 10 ? 1 : 0;
            }
        return n;
    }

    TempDir m_dir;
    CORBISTAVDoc m_doc;
    AppSettings m_settings;
    std::unique_ptr<CAutoPreview> m_pane;
    QString m_caption;
};
} // namespace

TEST_F(ModelPreview, PaneDrawsTheShipAtItsSizeWithCaptionAndRefusesABrokenOne)
{
    m_pane->PreviewEntry(Entry("cruiser.pof"), false);
    EXPECT_EQ(m_caption, "331 polys, 4 subobjects - hull");
    EXPECT_EQ(m_pane->m_bPreviewable, 1);
    const QImage shown = Grab();
    EXPECT_EQ(shown.size(), QSize(300, 200));
    EXPECT_EQ(shown.pixel(0, 0), qRgb(26, 28, 34));
    EXPECT_GT(GreenPixels(shown), 300 * 200 / 10);

    m_pane->resize(200, 260);
    EXPECT_EQ(Grab().size(), QSize(200, 260));
    ASSERT_NE(m_pane->Presenter(), nullptr);
    EXPECT_EQ(m_pane->Presenter()->Caption(), m_caption);

    m_pane->PreviewEntry(Entry("bare.pof"), false);
    EXPECT_EQ(m_caption, "1 polys, 1 subobjects - no textures");

    // Refused like a picture that does not decode: offered, nothing drawn, no caption.
    m_pane->PreviewEntry(Entry("broken.pof"), false);
    EXPECT_EQ(m_pane->Presenter(), nullptr);
    EXPECT_EQ(m_pane->m_bPreviewable, 1);
    EXPECT_TRUE(m_caption.isEmpty());
    EXPECT_EQ(Grab().pixel(150, 150), qRgb(0, 0, 0));

    m_pane->PreviewEntry(Entry("cruiser.pof"), false);
    m_pane->StopPreview(true);
    EXPECT_EQ(m_pane->Presenter(), nullptr);
}

TEST_F(ModelPreview, ViewerTurnsZoomsAndTogglesTheModelAndFollowsThePreview)
{
    m_pane->PreviewEntry(Entry("cruiser.pof"), false);
    QTest::mouseDClick(m_pane->viewport(), Qt::LeftButton);
    CPreviewViewer* pViewer = m_pane->Viewer();
    ASSERT_NE(pViewer, nullptr);
    ASSERT_TRUE(pViewer->ShowsModel());
    EXPECT_EQ(pViewer->Caption(), m_caption);
    CModelCanvas* pCanvas = pViewer->ModelCanvas();
    QApplication::processEvents();
    const QImage first = pCanvas->Image();
    ASSERT_FALSE(first.isNull());
    EXPECT_EQ(first.size(), pCanvas->size());

    // A drag to the right turns the nose that way.
    QTest::mousePress(pCanvas, Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseMove(pCanvas, QPoint(160, 110));
    QTest::mouseRelease(pCanvas, Qt::LeftButton, {}, QPoint(160, 110));
    EXPECT_DOUBLE_EQ(pCanvas->View().dYaw, 0);
    EXPECT_DOUBLE_EQ(pCanvas->View().dPitch, 25);
    const QImage turned = pCanvas->Image();
    EXPECT_NE(turned, first);

    pCanvas->ZoomBy(2);
    EXPECT_NEAR(pCanvas->View().dZoom, 1.44, 1e-9);
    QTest::mouseDClick(pCanvas, Qt::LeftButton);
    EXPECT_EQ(pCanvas->Image(), first);

    // Textures off: none of the texture's green is left; wireframe: less is drawn than filled.
    pCanvas->SetTextures(false);
    EXPECT_EQ(GreenPixels(pCanvas->Image()), 0);
    pCanvas->SetTextures(true);
    pCanvas->SetWireframe(true);
    EXPECT_NE(pCanvas->Image(), first);
    pCanvas->SetWireframe(false);

    // Opened again on the same model it keeps the view; another model starts from the first.
    pCanvas->Turn(40, 0);
    m_pane->OpenViewer();
    EXPECT_DOUBLE_EQ(pCanvas->View().dYaw, 70);
    m_pane->PreviewEntry(Entry("bare.pof"), false);
    EXPECT_DOUBLE_EQ(pCanvas->View().dYaw, 30);
    EXPECT_EQ(pViewer->Caption(), "1 polys, 1 subobjects - no textures");
    m_pane->PreviewEntry(Entry("HULL.dds"), false);
    EXPECT_TRUE(pViewer->ShowsPicture());
    EXPECT_FALSE(pCanvas->HasScene());
}
