#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QImage>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>

#include "CAutoPreview.h"
#include "CORBISTAVDoc.h"
#include "CPictureCanvas.h"
#include "CPreviewViewer.h"
#include "CTextView.h"
#include "DdsBuilder.h"
#include "ISoundOutput.h"
#include "OggBuilder.h"
#include "PictureFileBuilders.h"
#include "Settings.h"
#include "TempDir.h"
#include "VpBuilder.h"

namespace
{
// What the pane hands its output: the stream's format and the loop flag; and whether the
// stream was still held when a stop was asked.
struct CStreamRecorder : ISoundOutput
{
    struct Played
    {
        int nRate;
        int nChannels;
        bool bLoop;
    };
    std::vector<Played>& plays;
    int& nStops;
    std::unique_ptr<IPcmSource> pSource;

    CStreamRecorder(std::vector<Played>& p, int& n) : plays(p), nStops(n) {}
    bool Play(std::span<const std::uint8_t>, bool) override { return true; }
    bool PlayStream(std::unique_ptr<IPcmSource> pNew, bool bLoop) override
    {
        plays.push_back({pNew->Rate(), pNew->Channels(), bLoop});
        pSource = std::move(pNew);
        return true;
    }
    void Stop() override
    {
        ++nStops;
        pSource.reset();
    }
};

Rgba Translucent(int x, int y)
{
    return {static_cast<std::uint8_t>(100 + x), static_cast<std::uint8_t>(y), 50, 0};
}

std::vector<std::int16_t> Tone(int nFrames)
{
    std::vector<std::int16_t> samples(static_cast<std::size_t>(nFrames) * 2);
    for (int i = 0; i < nFrames; ++i)
        samples[2 * i] = samples[2 * i + 1] =
            static_cast<std::int16_t>(8000 * std::sin(i * 2 * M_PI * 440 / 22050));
    return samples;
}

// DXT5 blocks of opaque grey, 16 bytes each.
std::vector<unsigned char> Dxt5Blocks(int nBlocks)
{
    std::vector<unsigned char> data;
    for (int i = 0; i < nBlocks; ++i)
        data.insert(data.end(), {255, 255, 0, 0, 0, 0, 0, 0, 0x10, 0x84, 0x10, 0x84, 0, 0, 0, 0});
    return data;
}

class ModernPreview : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ::setenv("QUILLMOOR_REGISTRY_DIR", (m_dir / "registry").c_str(), 1);
        std::string binary = "#Ships\n";
        binary += std::string(1, '\0');
        VpBuilder()
            .Dir("data")
            .Dir("maps")
            .File("hull.png", MakePng(6, 4, Translucent))
            .File("sky.jpg", MakeJpg(8, 8,
                                     [](int, int) {
                                         return Rgb{200, 30, 30};
                                     }))
            .File("glow.dds", MakeDds(DdsFourCc("DXT5", 8, 4, 3), Dxt5Blocks(4)))
            .File("broken.png", "not a picture")
            .Up()
            .Dir("music")
            .File("theme.ogg", MakeOgg(22050, 2, Tone(4000)))
            .Up()
            .Dir("tables")
            .File("ships.tbl", "#Ship Classes\n$Name: GTF Ulysses\n")
            .File("binary.tbl", binary)
            .Up()
            .Dir("effects")
            .File("main-f.sdr", "// lit\nfloat x = 1; /* a\nb */\n")
            .File("mod.json", "{\"name\": \"Caf\xe9\"}\n")
            .File("stamp.scc", binary)
            .Up()
            .File("hail.ogg", MakeOgg(22050, 2, Tone(2000)))
            .File("not.ogg", "not a sound")
            .Up()
            .WriteTo(m_dir / "mod.vp");
        ASSERT_EQ(m_doc.OnOpenDocument(m_dir / "mod.vp"), CORBISTAVDoc::OpenResult::Read);
        m_settings.m_bAutoShowPCX = m_settings.m_bAutoPlayANI = 0;
        m_pane = std::make_unique<CAutoPreview>(m_doc, m_settings);
        m_pane->SetCaptionHandler([this](const QString& text) { m_caption = text; });
        m_pane->SetSoundOutput(std::make_unique<CStreamRecorder>(m_plays, m_nStops));
        m_pane->resize(275, 200);
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

    // "play", "stop" or "-" for the two commands, as the frame enables them.
    std::string Commands() const
    {
        if (!m_pane->m_bPreviewable)
            return "-";
        return m_pane->m_bPreviewActive ? "stop" : "play";
    }

    QImage Grab()
    {
        QApplication::processEvents();
        return m_pane->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    TempDir m_dir;
    CORBISTAVDoc m_doc;
    AppSettings m_settings;
    std::unique_ptr<CAutoPreview> m_pane;
    QString m_caption;
    std::vector<CStreamRecorder::Played> m_plays;
    int m_nStops = 0;
};
} // namespace

TEST_F(ModernPreview, PicturesShowOnSelectionLikeATgaWithAlphaNotApplied)
{
    m_pane->PreviewEntry(Entry("hull.png"), false);
    EXPECT_EQ(Commands(), "play");
    EXPECT_EQ(m_caption, "6x4 - PNG");
    QImage shown = Grab();
    // Alpha 0 everywhere, yet the colours show as stored, 1:1 from the top-left.
    EXPECT_EQ(shown.pixel(5, 3), qRgb(105, 3, 50));
    EXPECT_EQ(shown.pixel(6, 3), qRgb(0, 0, 0));

    m_pane->PreviewEntry(Entry("glow.dds"), false);
    EXPECT_EQ(m_caption, "8x4 - DXT5");
    m_pane->PreviewEntry(Entry("sky.jpg"), false);
    EXPECT_EQ(m_caption, "8x8 - JPG");
    EXPECT_GT(qRed(Grab().pixel(4, 4)), 180);

    m_pane->PreviewEntry(Entry("broken.png"), false);
    EXPECT_EQ(Commands(), "play");
    EXPECT_TRUE(m_caption.isEmpty());
    EXPECT_EQ(m_pane->m_nHeight, 0);
}

TEST_F(ModernPreview, TextShowsOnSelectionAndBytesThatAreNoTextShowNothing)
{
    m_pane->PreviewEntry(Entry("ships.tbl"), false);
    ASSERT_TRUE(m_pane->ShowsText());
    EXPECT_EQ(m_pane->TextView()->Editor()->toPlainText(), "#Ship Classes\n$Name: GTF Ulysses\n");
    EXPECT_EQ(Commands(), "play");
    EXPECT_EQ(m_caption, "2 lines");

    m_pane->PreviewEntry(Entry("binary.tbl"), false);
    EXPECT_FALSE(m_pane->ShowsText());
    EXPECT_EQ(Commands(), "-");
    EXPECT_TRUE(m_caption.isEmpty());

    // Text whatever the name, in Windows-1252 too; shaders get C-like comments coloured.
    m_pane->PreviewEntry(Entry("mod.json"), false);
    ASSERT_TRUE(m_pane->ShowsText());
    EXPECT_EQ(m_pane->TextView()->Editor()->toPlainText(), "{\"name\": \"Caf\u00e9\"}\n");
    EXPECT_EQ(Commands(), "play");
    m_pane->PreviewEntry(Entry("main-f.sdr"), false);
    ASSERT_TRUE(m_pane->ShowsText());
    EXPECT_EQ(m_caption, "3 lines");
    const QImage shown = Grab();
    bool bGreen = false; // the comment's colour, which tables give ";" comments
    for (int y = 0; y < 20 && !bGreen; ++y)
        for (int x = 0; x < 60 && !bGreen; ++x)
            bGreen = qGreen(shown.pixel(x, y)) > qRed(shown.pixel(x, y)) + 30;
    EXPECT_TRUE(bGreen);
    m_pane->PreviewEntry(Entry("stamp.scc"), false);
    EXPECT_FALSE(m_pane->ShowsText());
    EXPECT_EQ(Commands(), "-");
}

TEST_F(ModernPreview, OggPlaysAsTheSoundSettingsSayAndStopsFirst)
{
    m_pane->PreviewEntry(Entry("theme.ogg"), false); // \data\music loops in mode 1
    m_pane->PreviewEntry(Entry("hail.ogg"), false);
    ASSERT_EQ(m_plays.size(), 2u);
    EXPECT_TRUE(m_plays[0].bLoop);
    EXPECT_FALSE(m_plays[1].bLoop);
    EXPECT_EQ(m_plays[1].nRate, 22050);
    EXPECT_EQ(m_plays[1].nChannels, 2);
    EXPECT_EQ(Commands(), "stop");
    ASSERT_NE(m_pane->Presenter(), nullptr);
    EXPECT_EQ(m_pane->Presenter()->Message(), "Playing OGG...");
    EXPECT_FALSE(Grab().copy(0, 0, 120, 20).isNull());

    const int nStops = m_nStops;
    m_pane->StopPreview(true);
    EXPECT_GT(m_nStops, nStops);
    EXPECT_EQ(m_pane->Presenter(), nullptr);
    EXPECT_EQ(Commands(), "play");

    // Off by the setting: waiting, until Play/Preview forces it.
    m_settings.m_bSoundAutoPlayWAV = 0;
    m_pane->PreviewEntry(Entry("hail.ogg"), false);
    EXPECT_EQ(Commands(), "play");
    m_pane->PreviewEntry(Entry("hail.ogg"), true);
    EXPECT_EQ(m_plays.size(), 3u);

    // Not a Vorbis stream: the pane says it plays, as for a broken WAV, but nothing does.
    m_pane->PreviewEntry(Entry("not.ogg"), true);
    EXPECT_EQ(m_plays.size(), 3u);
    EXPECT_EQ(Commands(), "stop");
}

TEST_F(ModernPreview, ViewerFollowsThePreviewAndRemembersWhereItWas)
{
    m_pane->PreviewEntry(Entry("hull.png"), false);
    QTest::mouseDClick(m_pane->viewport(), Qt::LeftButton);
    CPreviewViewer* pViewer = m_pane->Viewer();
    ASSERT_NE(pViewer, nullptr);
    EXPECT_TRUE(pViewer->isVisible());
    ASSERT_TRUE(pViewer->ShowsPicture());
    EXPECT_EQ(pViewer->Canvas()->Image().size(), QSize(6, 4));
    // The viewer keeps alpha: the first pixel is transparent there.
    EXPECT_EQ(qAlpha(pViewer->Canvas()->Image().pixel(0, 0)), 0);
    EXPECT_EQ(pViewer->Caption(), "6x4 - PNG");

    m_pane->PreviewEntry(Entry("ships.tbl"), false);
    EXPECT_TRUE(pViewer->ShowsText());
    m_pane->PreviewEntry(Entry("glow.dds"), false);
    // Another mip level, chosen in the viewer, shows in both.
    emit pViewer->MipRequested(1, 0);
    EXPECT_EQ(pViewer->Canvas()->Image().size(), QSize(4, 2));
    EXPECT_EQ(m_caption, "4x2 - DXT5");
    m_pane->StopPreview(true);
    EXPECT_FALSE(pViewer->ShowsPicture());

    // Closing it leaves the pane as it is.
    m_pane->PreviewEntry(Entry("hull.png"), false);
    EXPECT_TRUE(pViewer->ShowsPicture());
    pViewer->setGeometry(40, 50, 500, 400);
    pViewer->close();
    EXPECT_EQ(m_pane->m_nHeight, 4);
    EXPECT_EQ(m_caption, "6x4 - PNG");
    EXPECT_EQ(CPreviewViewer::ReadGeometryValue(), QRect(40, 50, 500, 400));

    // Enter in the pane opens it again.
    m_pane->setFocus();
    QTest::keyClick(m_pane.get(), Qt::Key_Return);
    EXPECT_TRUE(pViewer->isVisible());
    EXPECT_TRUE(pViewer->ShowsPicture());
}

TEST(PictureCanvas, FitsLargePicturesAndZoomsAroundThePointer)
{
    CPictureCanvas canvas;
    canvas.resize(200, 200);
    canvas.show();
    QImage image(400, 400, QImage::Format_RGBA8888);
    image.fill(Qt::red);
    canvas.SetImage(image);
    QApplication::processEvents();
    EXPECT_DOUBLE_EQ(canvas.Zoom(), 0.5);

    canvas.SetZoom(1.0);
    canvas.horizontalScrollBar()->setValue(100);
    canvas.verticalScrollBar()->setValue(100);
    // The texel under the pointer at (50, 50) is (150, 150); at 150 % it stays there.
    canvas.ZoomBy(1, QPoint(50, 50));
    EXPECT_DOUBLE_EQ(canvas.Zoom(), 1.5);
    EXPECT_EQ(canvas.horizontalScrollBar()->value(), 175);
    EXPECT_EQ(canvas.verticalScrollBar()->value(), 175);
    canvas.ZoomBy(-2, QPoint(50, 50));
    EXPECT_LT(canvas.Zoom(), 1.0);
}
