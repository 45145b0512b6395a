#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QScrollBar>
#include <QTest>

#include "CAutoPreview.h"
#include "CEntryReader.h"
#include "CInputFile.h"
#include "CORBISTAVDoc.h"
#include "FileTypes.h"
#include "Lz41Builder.h"
#include "MediaBuilders.h"
#include "PcxDecoder.h"
#include "Settings.h"
#include "TempDir.h"
#include "TgaDecoder.h"
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
            .File("stamp.scc", std::string("\x01\x02\0\x03", 4))
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
                                                  {"stamp.scc", false}};
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
    pane->PreviewEntry(Entry("stamp.scc"), false);
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

namespace
{
Rgb Swatch(int x, int y)
{
    return {static_cast<std::uint8_t>(40 * x + 10), static_cast<std::uint8_t>(60 * y + 5), 200};
}

std::array<Rgb, 256> GreyPalette()
{
    std::array<Rgb, 256> palette{};
    for (int i = 0; i < 256; ++i)
        palette[i] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i), 99};
    return palette;
}

std::vector<unsigned char> PcxOf(int nWidth, int nHeight)
{
    return MakePcx8(
        nWidth, nHeight, [](int x, int y) { return static_cast<std::uint8_t>(1 + x * 7 + y * 3); },
        GreyPalette());
}

// Three frames of 4 x 2: the second leaves a run of pixels alone, the third changes one.
std::vector<unsigned char> ThreeFrameAni(int nFps)
{
    return MakeAni(4, 2, nFps, 0xEE, GreyPalette(),
                   {EncodeAniFrame(1, {10, 11, 12, 13, 14, 15, 16, 17}, 0xEE),
                    EncodeAniFrame(0, {20, 254, 254, 254, 254, 254, 26, 27}, 0xEE),
                    EncodeAniFrame(0, {254, 254, 254, 254, 254, 254, 254, 37}, 0xEE)});
}

std::string Packed(const std::vector<unsigned char>& bytes)
{
    return Lz41Builder(std::string(bytes.begin(), bytes.end()), 64).Bytes();
}

class PreviewPictures : public PreviewPane
{
protected:
    void SetUp() override
    {
        std::vector<unsigned char> rle = MakeTga(3, 2, 24, false, Swatch);
        rle[2] = 10;
        VpBuilder()
            .Dir("data")
            .File("small.pcx", PcxOf(7, 5))
            .File("bottom.tga", MakeTga(6, 4, 24, false, Swatch))
            .File("top.tga", MakeTga(5, 3, 32, true, Swatch))
            .File("wide.pcx", PcxOf(600, 300))
            .File("rle.tga", rle)
            .RawEntry(1 << 20, 900, "damaged.pcx")
            .File("fps0.ani", ThreeFrameAni(0))
            .File("fps1.ani", ThreeFrameAni(1))
            .File("fps15.ani", ThreeFrameAni(15))
            .File("packed.pcx", Packed(PcxOf(7, 5)))
            .File("packed.ani", Packed(ThreeFrameAni(1)))
            .File("broken.pcx", Packed(PcxOf(7, 5)).substr(0, 40) + std::string(40, '\0'))
            .Up()
            .WriteTo(m_dir / "media.vp");
        ASSERT_EQ(m_doc.OnOpenDocument(m_dir / "media.vp"), CORBISTAVDoc::OpenResult::Read);
    }

    // What the decoders make of the entry, as red, green, blue rows from the top.
    DecodedPicture Decoded(const std::string& name) const
    {
        const ArchiveFile& entry = Entry(name);
        std::vector<std::uint8_t> bytes;
        CInputFile file;
        EXPECT_TRUE(file.Open(m_dir / "media.vp"));
        EXPECT_TRUE(ReadEntryContent(file, entry, name, bytes));
        DecodedPicture picture;
        EXPECT_TRUE(entry.nType == FILE_TYPE_PCX ? DecodePcx(bytes, picture)
                                                 : DecodeTga(bytes, picture));
        return picture;
    }
};

// The pane's pixels in the picture's rectangle, as red, green, blue rows from the top.
std::vector<std::uint8_t> Shown(const QImage& image, int nWidth, int nHeight)
{
    std::vector<std::uint8_t> rgb;
    for (int y = 0; y < nHeight; ++y)
        for (int x = 0; x < nWidth; ++x)
        {
            const QRgb p = image.pixel(x, y);
            rgb.insert(rgb.end(),
                       {static_cast<std::uint8_t>(qRed(p)), static_cast<std::uint8_t>(qGreen(p)),
                        static_cast<std::uint8_t>(qBlue(p))});
        }
    return rgb;
}
} // namespace

TEST_F(PreviewPictures, PicturesAreDrawnOneToOneTopLeftOnBlackAsTheDecodersSeeThem)
{
    auto pane = MakePane();
    for (const auto& [szName, nBits, bActive] :
         {std::tuple{"small.pcx", 8, true}, std::tuple{"bottom.tga", 24, false},
          std::tuple{"top.tga", 32, false}})
    {
        SCOPED_TRACE(szName);
        pane->PreviewEntry(Entry(szName), false);
        const DecodedPicture picture = Decoded(szName);
        EXPECT_EQ(pane->m_nBitsPerPixel, nBits);
        EXPECT_EQ(pane->m_bPreviewActive != 0, bActive);
        EXPECT_EQ(m_captions.back(),
                  QStringLiteral("%1x%2").arg(picture.nWidth).arg(picture.nHeight));
        const QImage image = Grab(*pane);
        EXPECT_EQ(Shown(image, picture.nWidth, picture.nHeight), PictureToRgb(picture));
        EXPECT_EQ(NonBlackBounds(image), QRect(0, 0, picture.nWidth, picture.nHeight));
    }
    // The swatch puts red 10 at the left, blue 200 everywhere, and the top row at the top.
    const QImage image = Grab(*pane);
    EXPECT_EQ(image.pixel(0, 0), qRgb(10, 5, 200));
    EXPECT_EQ(image.pixel(4, 2), qRgb(170, 125, 200));
}

TEST_F(PreviewPictures, RejectedAndDamagedPicturesLeaveThePromptWithoutCaption)
{
    auto pane = MakePane();
    const QRect prompt = [&]
    {
        pane->PreviewEntry(Entry("small.pcx"), false);
        pane->StopPreview(true);
        return NonBlackBounds(Grab(*pane));
    }();
    for (const char* szName : {"rle.tga", "damaged.pcx"})
    {
        SCOPED_TRACE(szName);
        pane->PreviewEntry(Entry(szName), true);
        EXPECT_EQ(pane->m_nHeight, 0);
        EXPECT_EQ(pane->m_bPreviewActive, 0);
        EXPECT_TRUE(m_captions.back().isEmpty());
        EXPECT_EQ(NonBlackBounds(Grab(*pane)), prompt);
    }
}

TEST_F(PreviewPictures, PicturesLargerThanThePaneAreFittedOrScrolledAsTheViewSays)
{
    auto pane = MakePane();
    pane->PreviewEntry(Entry("wide.pcx"), false);
    const DecodedPicture picture = Decoded("wide.pcx");
    // 600 x 300 into 400 x 120, whole and upright, with nothing to scroll; the caption keeps
    // the real size.
    EXPECT_EQ(NonBlackBounds(Grab(*pane)), QRect(0, 0, 240, 120));
    EXPECT_EQ(pane->horizontalScrollBar()->maximum(), 0);
    EXPECT_EQ(m_captions.back(), "600x300");

    // 1:1 from the top-left, as the View menu may say.
    m_settings.m_bPreviewOneToOne = 1;
    pane->SettingsChanged();
    Grab(*pane);
    const QSize view = pane->viewport()->size();
    EXPECT_EQ(pane->horizontalScrollBar()->maximum(), 600 - view.width());
    EXPECT_EQ(pane->verticalScrollBar()->maximum(), 300 - view.height());
    pane->horizontalScrollBar()->setValue(100);
    pane->verticalScrollBar()->setValue(50);
    const QImage image = Grab(*pane);
    const PaletteEntry c = picture.palette[picture.pixels[50 * 600 + 100]];
    EXPECT_EQ(image.pixel(0, 0), qRgb(c.byRed, c.byGreen, c.byBlue));
}

TEST_F(PreviewPictures, AnimationCountsItsFramesLoopsAndKeepsTransparentPixels)
{
    auto pane = MakePane();
    for (const auto& [szName, nInterval] :
         {std::pair{"fps0.ani", 67}, std::pair{"fps1.ani", 1000}, std::pair{"fps15.ani", 66}})
    {
        pane->PreviewEntry(Entry(szName), false);
        EXPECT_EQ(pane->AniTimerInterval(), nInterval) << szName;
    }
    // Frame 1 was decoded by the load; the running timer shows frame 2 in time.
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_captions.back().endsWith("Frame 2/3"); }, 5000));

    pane->PreviewEntry(Entry("fps1.ani"), false);
    const auto Pixels = [&]
    {
        const auto& d = pane->m_pData;
        return std::vector<std::uint8_t>({d[0], d[1], d[2], d[3], d[4], d[5], d[6], d[7]});
    };
    const std::vector<std::vector<std::uint8_t>> frames = {{10, 11, 12, 13, 14, 15, 16, 17},
                                                           {20, 11, 12, 13, 14, 15, 26, 27},
                                                           {20, 11, 12, 13, 14, 15, 26, 37},
                                                           {10, 11, 12, 13, 14, 15, 16, 17}};
    for (std::size_t i = 0; i < frames.size(); ++i)
    {
        if (i > 0)
        {
            EXPECT_TRUE(pane->DecodeNextAniFrame());
        }
        EXPECT_EQ(m_captions.back(), QStringLiteral("4x2 - Frame %1/3").arg(i % 3 + 1));
        EXPECT_EQ(Pixels(), frames[i]) << i;
        EXPECT_EQ(pane->m_nBitsPerPixel, 8);
        EXPECT_NE(pane->m_bPreviewActive, 0);
    }
    const QImage image = Grab(*pane);
    EXPECT_EQ(image.pixel(3, 1), qRgb(17, 255 - 17, 99));
    EXPECT_EQ(NonBlackBounds(image), QRect(0, 0, 4, 2));

    // A tick that cannot open the archive changes nothing; the next one goes on.
    const std::string moved = m_dir / "moved.vp";
    std::filesystem::rename(m_dir / "media.vp", moved);
    const std::size_t nCaptions = m_captions.size();
    EXPECT_FALSE(pane->DecodeNextAniFrame());
    EXPECT_EQ(m_captions.size(), nCaptions);
    std::filesystem::rename(moved, m_dir / "media.vp");
    EXPECT_TRUE(pane->DecodeNextAniFrame());
    EXPECT_EQ(m_captions.back(), "4x2 - Frame 2/3");

    pane->StopPreview(true);
    EXPECT_EQ(pane->AniTimerInterval(), 0);
    EXPECT_EQ(pane->m_nHeight, 0);
    EXPECT_TRUE(m_captions.back().isEmpty());
}

TEST_F(PreviewPictures, CompressedPicturesAndAnimationsShowTheirContent)
{
    auto pane = MakePane();
    pane->PreviewEntry(Entry("small.pcx"), false);
    const QImage plain = Grab(*pane);
    pane->PreviewEntry(Entry("packed.pcx"), false);
    EXPECT_EQ(Grab(*pane), plain);
    EXPECT_EQ(m_captions.back(), "7x5");
    pane->PreviewEntry(Entry("broken.pcx"), false);
    EXPECT_EQ(pane->m_nHeight, 0);

    // The frames come from the content held in memory, not from the archive file.
    pane->PreviewEntry(Entry("packed.ani"), false);
    std::filesystem::rename(m_dir / "media.vp", m_dir / "moved.vp");
    for (const char* szCaption : {"4x2 - Frame 2/3", "4x2 - Frame 3/3", "4x2 - Frame 1/3"})
    {
        EXPECT_TRUE(pane->DecodeNextAniFrame());
        EXPECT_EQ(m_captions.back(), szCaption);
    }
    EXPECT_EQ(pane->m_pData, std::vector<std::uint8_t>({10, 11, 12, 13, 14, 15, 16, 17}));
    std::filesystem::rename(m_dir / "moved.vp", m_dir / "media.vp");
}
