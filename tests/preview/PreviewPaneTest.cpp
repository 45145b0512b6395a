#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QImage>
#include <QPixmap>

#include "CAutoPreview.h"
#include "CORBISTAVDoc.h"
#include "Settings.h"
#include "TempDir.h"
#include "VpBuilder.h"

namespace
{
// The smallest rectangle holding every pixel that is not black, and the number of white ones.
QRect NonBlackBounds(const QImage& image, int* pWhite = nullptr)
{
    QRect bounds;
    int nWhite = 0;
    for (int y = 0; y < image.height(); ++y)
    {
        for (int x = 0; x < image.width(); ++x)
        {
            const QRgb p = image.pixel(x, y);
            if ((p & 0xffffff) != 0)
                bounds |= QRect(x, y, 1, 1);
            nWhite += qGray(p) > 200 ? 1 : 0;
        }
    }
    if (pWhite)
        *pWhite = nWhite;
    return bounds;
}

// A ".VP" archive whose media entries are too short to decode, so every load fails and the
// pane shows what it shows for a failed preview.
class PreviewPane : public ::testing::Test
{
protected:
    void SetUp() override
    {
        VpBuilder()
            .Dir("data")
            .File("title.pcx", "not a picture")
            .File("intro.ani", "not an animation")
            .File("ship.tga", "not a picture")
            .File("hail.wav", "not a sound")
            .File("ships.tbl", "#Ship Classes")
            .Up()
            .WriteTo(m_dir / "media.vp");
        ASSERT_EQ(m_doc.OnOpenDocument(m_dir / "media.vp"), CORBISTAVDoc::OpenResult::Read);
    }

    const ArchiveFile& Entry(const std::string& name) const
    {
        for (int i = 0; i < m_doc.m_nFileCount; ++i)
            if (m_doc.m_files[i].strName == name)
                return m_doc.m_files[i];
        ADD_FAILURE() << "no entry " << name;
        return m_doc.m_files[0];
    }

    std::unique_ptr<CAutoPreview> MakePane(bool bAutoPreviews = true)
    {
        m_settings.m_bAutoShowPCX = m_settings.m_bAutoPlayANI = m_settings.m_bSoundAutoPlayWAV =
            bAutoPreviews ? 1 : 0;
        auto pane = std::make_unique<CAutoPreview>(m_doc, m_settings);
        pane->SetCaptionHandler([this](const QString& text) { m_captions.push_back(text); });
        pane->resize(400, 120);
        pane->show();
        QApplication::processEvents();
        return pane;
    }

    static QImage Grab(CAutoPreview& pane)
    {
        QApplication::processEvents();
        return pane.grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    TempDir m_dir;
    CORBISTAVDoc m_doc;
    AppSettings m_settings;
    std::vector<QString> m_captions;
};
} // namespace

TEST_F(PreviewPane, PreviewableByTypeWhateverTheSettingsAndForce)
{
    const std::pair<const char*, bool> cases[] = {{"title.pcx", true},
                                                  {"intro.ani", true},
                                                  {"ship.tga", true},
                                                  {"hail.wav", true},
                                                  {"ships.tbl", false}};
    for (bool bSettingsOn : {true, false})
    {
        auto pane = MakePane(bSettingsOn);
        for (bool bForce : {false, true})
        {
            for (const auto& [szName, bPreviewable] : cases)
            {
                SCOPED_TRACE(std::string(szName) + (bSettingsOn ? " on" : " off") +
                             (bForce ? " forced" : ""));
                EXPECT_TRUE(pane->PreviewEntry(Entry(szName), bForce));
                EXPECT_EQ(pane->m_bPreviewable != 0, bPreviewable);
                // Nothing could be decoded: no picture is held. A sound is handed to the
                // player whatever its bytes, and the player stays silent on what it cannot play.
                const bool bSound = std::string(szName) == "hail.wav" && (bSettingsOn || bForce);
                EXPECT_EQ(pane->m_bPreviewActive, bSound ? 1 : 0);
                EXPECT_EQ(pane->m_nHeight, 0);
                EXPECT_EQ(pane->m_bWavLoaded, bSound ? 1 : 0);
                EXPECT_EQ(pane->m_strArchivePath, m_doc.GetPathName());
            }
        }
    }
}

TEST_F(PreviewPane, StopClearsTheCaptionAndKeepsThePrompt)
{
    auto pane = MakePane();
    pane->PreviewEntry(Entry("title.pcx"), false);
    ASSERT_EQ(m_captions.size(), 1u);
    EXPECT_TRUE(m_captions.back().isEmpty());

    pane->StopPreview(true);
    ASSERT_EQ(m_captions.size(), 2u);
    EXPECT_TRUE(m_captions.back().isEmpty());
    EXPECT_NE(pane->m_bPreviewable, 0);
    EXPECT_EQ(pane->m_bPreviewActive, 0);

    // Destroying the pane stops without a caption: the toolbar form may be gone already.
    pane->StopPreview(false);
    pane.reset();
    EXPECT_EQ(m_captions.size(), 2u);
}

TEST_F(PreviewPane, EmptyPaneIsBlackEverywhere)
{
    auto pane = MakePane();
    EXPECT_TRUE(NonBlackBounds(Grab(*pane)).isEmpty());
    pane->PreviewEntry(Entry("title.pcx"), true);
    pane->PreviewEntry(Entry("ships.tbl"), false);
    const QImage image = Grab(*pane);
    EXPECT_EQ(image.size(), QSize(400, 120));
    EXPECT_TRUE(NonBlackBounds(image).isEmpty());
}

TEST_F(PreviewPane, WaitingPaneShowsThePromptTopLeftInOneLine)
{
    auto pane = MakePane(false);
    pane->PreviewEntry(Entry("title.pcx"), false);
    int nWhite = 0;
    const QRect text = NonBlackBounds(Grab(*pane), &nWhite);
    ASSERT_FALSE(text.isEmpty());
    EXPECT_TRUE(QRect(0, 0, 340, 20).contains(text));
    EXPECT_LT(text.left(), 6);
    EXPECT_LT(text.top(), 8);
    // One line of a 10-point font, long enough to be the whole prompt.
    EXPECT_LE(text.height(), 18);
    EXPECT_GT(text.width(), 100);
    EXPECT_GT(nWhite, 30);

    pane->StopPreview(true);
    EXPECT_EQ(NonBlackBounds(Grab(*pane)), text);
}
