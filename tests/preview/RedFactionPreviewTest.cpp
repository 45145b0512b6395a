#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QScrollBar>
#include <QTest>

#include "CAutoPreview.h"
#include "CORBISTAVDoc.h"
#include "CPictureCanvas.h"
#include "CPreviewViewer.h"
#include "CVbmPresenter.h"
#include "FileTypes.h"
#include "ITextureResolver.h"
#include "MediaBuilders.h"
#include "RfBuilders.h"
#include "Settings.h"
#include "TempDir.h"
#include "TtfBuilder.h"
#include "V3mBuilder.h"
#include "VpBuilder.h"

namespace
{
// Red 0x7C00 with the 1555 alpha bit clear: opaque as version 1 reads it.
std::uint16_t Frames(int nFrame, int, int x, int)
{
    return x == 0 ? std::uint16_t(0x7C00) : std::uint16_t(0x001F * (nFrame + 1) / 3);
}

std::vector<unsigned char> Ttf()
{
    return MakeTtf("Th", -200);
}

V3mBuildSubmesh TwoSidedTriangle(const std::string& texture)
{
    V3mBuildSubmesh sub = OneTriangleSubmesh(texture);
    sub.levels[0].batches[0].triangles[0].nFlags = 0x20;
    return sub;
}

Rgb Green(int, int)
{
    return {20, 230, 20};
}

// Textures from one loose file, as a game folder hands them.
struct CLooseTextures : ITextureResolver
{
    std::string strPath;
    std::string strName;
    bool Find(std::string_view fileName, EntrySource& found) override
    {
        if (fileName != strName)
            return false;
        found.strPath = strPath;
        found.nSize = static_cast<std::int64_t>(std::filesystem::file_size(strPath));
        found.strName = strName;
        return true;
    }
};

class RedFactionPreview : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ::setenv("QUILLMOOR_REGISTRY_DIR", (m_dir / "registry").c_str(), 1);
        VbmFields anim;
        anim.nWidth = 3;
        anim.nHeight = 2;
        anim.nFrames = 3;
        VbmFields still = anim;
        still.nFrames = 1;
        std::vector<unsigned char> ttf = Ttf();
        VpBuilder()
            .Dir("data")
            .File("boom.vbm", MakeVbm(anim, Frames))
            .File("still.vbm", MakeVbm(still, Frames))
            .File("small.vf", MakeVf(0, 0, 'g', 5,
                                     {{4, 3, std::vector<unsigned char>(15, 14)},
                                      {4, 3, std::vector<unsigned char>(15, 7)}},
                                     {{0, 1, -1}}))
            .File("many.vf",
                  MakeVf(0, 0, 32, 5,
                         std::vector<VfGlyphBytes>(220, {4, 3, std::vector<unsigned char>(15, 14)}),
                         {}))
            .File("sans.ttf", ttf)
            .File("sans.otf", ttf)
            .File("broken.ttf", std::vector<unsigned char>(ttf.begin(), ttf.begin() + 40))
            .File("tri.v3m", V3mBuilder().Submesh(TwoSidedTriangle("tri.tga")).Bytes())
            .File("tri.tga", MakeTga24(4, 4, Green))
            .Up()
            .WriteTo(m_dir / "rf.vp");
        ASSERT_EQ(m_doc.OnOpenDocument(m_dir / "rf.vp"), CORBISTAVDoc::OpenResult::Read);
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

    static int CountPixels(const QImage& image, const std::function<bool(QRgb)>& test)
    {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += test(image.pixel(x, y)) ? 1 : 0;
        return n;
    }

    static bool IsGreen(QRgb p) { return qGreen(p) > 2 * qRed(p) + 10; }

    TempDir m_dir;
    CORBISTAVDoc m_doc;
    AppSettings m_settings;
    std::unique_ptr<CAutoPreview> m_pane;
    QString m_caption;
};
} // namespace

TEST_F(RedFactionPreview, VbmPlaysItsFramesAndTheViewerFlipsThe1555Alpha)
{
    m_pane->PreviewEntry(Entry("boom.vbm"), false);
    EXPECT_EQ(m_caption, "3x2 - Frame 1/3");
    EXPECT_EQ(m_pane->m_bPreviewActive, 1); // Stop offered while it plays
    EXPECT_EQ(Grab().pixel(0, 0), qRgb(255, 0, 0));
    auto* pVbm = dynamic_cast<CVbmPresenter*>(m_pane->Presenter());
    ASSERT_NE(pVbm, nullptr);
    EXPECT_EQ(pVbm->TimerInterval(), 66);
    pVbm->NextFrame();
    EXPECT_EQ(m_caption, "3x2 - Frame 2/3");
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_caption == "3x2 - Frame 3/3"; }, 5000));

    m_pane->OpenViewer();
    CPreviewViewer* pViewer = m_pane->Viewer();
    ASSERT_TRUE(pViewer->ShowsPicture());
    QAction* pInvert = pViewer->InvertAlphaAction();
    EXPECT_TRUE(pInvert->isVisible());
    EXPECT_TRUE(pInvert->isChecked());
    m_pane->StopPreview(true);
    m_pane->PreviewEntry(Entry("still.vbm"), false);
    EXPECT_EQ(m_caption, "3x2 - 1555");
    EXPECT_EQ(m_pane->m_bPreviewActive, 0);
    EXPECT_EQ(qAlpha(pViewer->Canvas()->Image().pixel(0, 0)), 255);
    pInvert->trigger();
    EXPECT_EQ(qAlpha(pViewer->Canvas()->Image().pixel(0, 0)), 0);
    // The colour under the now clear pixel stays.
    EXPECT_EQ(qRed(pViewer->Canvas()->Image().pixel(0, 0)), 255);
    EXPECT_EQ(Grab().pixel(0, 0), qRgb(255, 0, 0));
}

TEST_F(RedFactionPreview, FontsShowTheirSheetWithGlyphCountAndHeight)
{
    const auto lit = [](QRgb p) { return qGray(p) > 150; };
    m_pane->PreviewEntry(Entry("small.vf"), false);
    EXPECT_EQ(m_caption, "2 glyphs, height 5");
    EXPECT_GE(CountPixels(Grab(), lit), 2 * 15); // "g" in "dog" and in the glyph rows

    // Drawn by Qt from the entry's bytes, whatever the font's extension.
    for (const char* szName : {"sans.ttf", "sans.otf"})
    {
        SCOPED_TRACE(szName);
        m_pane->PreviewEntry(Entry(szName), false);
        EXPECT_TRUE(m_caption.startsWith("3 glyphs, height ")) << m_caption.toStdString();
        // The sample's two glyphs and the sheet's two are filled squares.
        EXPECT_GT(CountPixels(Grab(), lit), 4 * 6 * 10);
    }
    // A tall sheet is fitted to the pane's width and read by scrolling down.
    m_pane->resize(200, 30);
    m_pane->PreviewEntry(Entry("many.vf"), false);
    EXPECT_EQ(m_caption, "220 glyphs, height 5");
    QApplication::processEvents();
    EXPECT_EQ(m_pane->horizontalScrollBar()->maximum(), 0);
    EXPECT_GT(m_pane->verticalScrollBar()->maximum(), 0);
    EXPECT_LT(m_pane->PictureScale(), 1.0);

    m_pane->PreviewEntry(Entry("broken.ttf"), false);
    EXPECT_EQ(m_pane->m_bPreviewable, 1);
    EXPECT_EQ(m_pane->Presenter(), nullptr);
    EXPECT_TRUE(m_caption.isEmpty());
}

TEST_F(RedFactionPreview, MeshesDrawTexturedFromTheArchiveOrWhereTheResolverFindsThem)
{
    m_pane->PreviewEntry(Entry("tri.v3m"), false);
    EXPECT_EQ(m_caption, "1 triangles, 1 submeshes - tri.tga");
    EXPECT_GT(CountPixels(Grab(), IsGreen), 300);
    m_pane->OpenViewer();
    EXPECT_TRUE(m_pane->Viewer()->ShowsModel());

    // A loose mesh beside a loose texture, as a game folder holds them.
    const std::string mesh = m_dir / "loose.v3m";
    const std::string texture = m_dir / "tri.tga";
    for (const auto& [path, bytes] :
         {std::pair{mesh, V3mBuilder().Submesh(TwoSidedTriangle("tri.tga")).Bytes()},
          std::pair{texture, MakeTga24(4, 4, Green)}})
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    EntrySource source;
    source.strPath = mesh;
    source.nSize = static_cast<std::int64_t>(std::filesystem::file_size(mesh));
    source.strName = "loose.v3m";
    source.nType = FILE_TYPE_V3M;
    CLooseTextures loose;
    loose.strPath = texture;
    loose.strName = "tri.tga";
    m_pane->SetTextureResolver(&loose);
    m_pane->PreviewEntry(source, false);
    EXPECT_EQ(m_caption, "1 triangles, 1 submeshes - tri.tga");
    EXPECT_GT(CountPixels(Grab(), IsGreen), 300);
    loose.strName = "elsewhere.tga";
    m_pane->PreviewEntry(source, false);
    EXPECT_EQ(CountPixels(Grab(), IsGreen), 0);
    m_pane->SetTextureResolver(nullptr);
}
