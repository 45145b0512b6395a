#include <gtest/gtest.h>

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QTransform>

#include "CommandIds.h"
#include "ResourceImages.h"
#include "images/ImagePainters.h"

namespace
{
QImage Argb(const QPixmap& pixmap)
{
    return pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
}

struct PixelCounts
{
    int nOpaque = 0;   // alpha above one half
    int nVisible = 0;  // alpha above 0
    int nColoured = 0; // visible and not grey
};

PixelCounts Count(const QImage& image)
{
    PixelCounts counts;
    for (int y = 0; y < image.height(); ++y)
    {
        for (int x = 0; x < image.width(); ++x)
        {
            const QRgb p = image.pixel(x, y);
            counts.nOpaque += qAlpha(p) > 128 ? 1 : 0;
            counts.nVisible += qAlpha(p) > 0 ? 1 : 0;
            counts.nColoured += qAlpha(p) > 0 && (qRed(p) != qGreen(p) || qGreen(p) != qBlue(p));
        }
    }
    return counts;
}

void ExpectButtonIcon(const QIcon& icon, QSize size, bool bBlank)
{
    ASSERT_FALSE(icon.isNull());
    const QImage normal = Argb(icon.pixmap(size, QIcon::Normal));
    const QImage disabled = Argb(icon.pixmap(size, QIcon::Disabled));
    ASSERT_EQ(normal.size(), size);
    ASSERT_EQ(disabled.size(), size);
    const PixelCounts n = Count(normal);
    const PixelCounts d = Count(disabled);
    if (bBlank)
    {
        EXPECT_EQ(n.nVisible + d.nVisible, 0);
        return;
    }
    // A coloured picture on a see-through ground, grey and fainter when disabled.
    EXPECT_GT(n.nOpaque, size.width() * size.height() / 8);
    EXPECT_LT(n.nVisible, size.width() * size.height());
    EXPECT_GT(n.nColoured, 0);
    EXPECT_EQ(d.nColoured, 0);
    EXPECT_GT(d.nVisible, 0);
    EXPECT_LT(d.nOpaque, n.nOpaque);
    // Drawn anew for screens of twice the density.
    const QPixmap twice = icon.pixmap(size, 2.0, QIcon::Normal);
    EXPECT_EQ(twice.size(), size * 2);
}
} // namespace

TEST(PreviewResources, BitmapsOfTheirSizes)
{
    for (int id : {IDB_LIST_UNUSED, IDB_LIST_DOCUMENT, IDB_LIST_FOLDER})
    {
        SCOPED_TRACE(id);
        const QImage image = Argb(ResourceBitmap(id));
        ASSERT_EQ(image.size(), QSize(16, 16));
        // White was the see-through colour of list pictures.
        EXPECT_EQ(qAlpha(image.pixel(0, 15)), 0);
        EXPECT_EQ(qAlpha(image.pixel(15, 0)), 0);
        EXPECT_GT(Count(image).nVisible, 10);
    }
    EXPECT_NE(Argb(ResourceBitmap(IDB_LIST_DOCUMENT)), Argb(ResourceBitmap(IDB_LIST_FOLDER)));

    const QPixmap splash = ResourceBitmap(IDB_SPLASH);
    const QPixmap version = ResourceBitmap(IDB_SPLASH_VERSION);
    EXPECT_EQ(splash.size(), QSize(421, 261));
    EXPECT_EQ(version.size(), QSize(145, 16));
    EXPECT_FALSE(splash.hasAlphaChannel());
    EXPECT_FALSE(version.hasAlphaChannel());
    // The stored picture is the one its painter draws, row for row and colour for colour;
    // compared where no lettering lies, as lettering depends on the fonts installed.
    const QRect planet(300, 140, 121, 121);
    EXPECT_EQ(splash.toImage().convertToFormat(QImage::Format_RGB32).copy(planet),
              PaintSplashImage().convertToFormat(QImage::Format_RGB32).copy(planet));
    // The label carries light text on the dark sky.
    const QImage label = version.toImage();
    int nBright = 0;
    for (int x = 0; x < label.width(); ++x)
        for (int y = 0; y < label.height(); ++y)
            nBright += qGray(label.pixel(x, y)) > 160 ? 1 : 0;
    EXPECT_GT(nBright, 40);
}

TEST(PreviewResources, ToolbarIconsOfTheirSizesWithDisabledLook)
{
    for (int id : {ID_FILE_OPEN, ID_EXTRACT_DEFAULT, ID_EXTRACT_TO_DIR, ID_EXTRACT_FS_DATA,
                   ID_OPTIONS, ID_BLANK})
    {
        SCOPED_TRACE(id);
        ExpectButtonIcon(MainToolbarIcon(id), QSize(22, 22), id == ID_BLANK);
    }
    for (int id : {ID_PLAY_PREVIEW, ID_STOP_PREVIEW, ID_OPEN_SELECTED, ID_BLANK})
    {
        SCOPED_TRACE(id);
        ExpectButtonIcon(PreviewToolbarIcon(id), QSize(16, 15), id == ID_BLANK);
    }
    // On a 2x screen the pictures are drawn at twice the pixels, not enlarged.
    const QPixmap sharp = MainToolbarIcon(ID_FILE_OPEN).pixmap(QSize(22, 22), 2.0);
    EXPECT_EQ(sharp.size(), QSize(44, 44));
    EXPECT_EQ(sharp.devicePixelRatio(), 2.0);
    EXPECT_NE(Argb(sharp), Argb(MainToolbarIcon(ID_FILE_OPEN).pixmap(22, 22)).scaled(44, 44));
    EXPECT_EQ(Count(Argb(MainToolbarIcon(ID_FILE_OPEN).pixmap(QSize(22, 22), 2.0,
                                                              QIcon::Disabled)))
                  .nColoured,
              0);
    // Three destinations, three pictures.
    const QImage disk = Argb(MainToolbarIcon(ID_EXTRACT_DEFAULT).pixmap(22, 22));
    const QImage dir = Argb(MainToolbarIcon(ID_EXTRACT_TO_DIR).pixmap(22, 22));
    const QImage plug = Argb(MainToolbarIcon(ID_EXTRACT_FS_DATA).pixmap(22, 22));
    EXPECT_NE(disk, dir);
    EXPECT_NE(dir, plug);
    EXPECT_NE(disk, plug);
    // A bar's extension button: a chevron pointing along the bar, turned for a vertical one.
    const QImage along = Argb(ToolbarExtensionIcon(Qt::Horizontal).pixmap(8, 8));
    const QImage down = Argb(ToolbarExtensionIcon(Qt::Vertical).pixmap(8, 8));
    ASSERT_EQ(along.size(), QSize(8, 8));
    EXPECT_GT(Count(along).nOpaque, 8);
    EXPECT_EQ(down, along.transformed(QTransform().rotate(90)));
}

TEST(PreviewResources, UnknownIdsGiveNothingAndKnownOnesAreDrawnOnce)
{
    EXPECT_TRUE(ResourceBitmap(IDR_MAINFRAME).isNull());
    EXPECT_TRUE(MainToolbarIcon(ID_PLAY_PREVIEW).isNull());
    EXPECT_TRUE(PreviewToolbarIcon(ID_OPTIONS).isNull());
    EXPECT_TRUE(PreviewToolbarIcon(-1).isNull());

    EXPECT_EQ(ResourceBitmap(IDB_SPLASH).cacheKey(), ResourceBitmap(IDB_SPLASH).cacheKey());
    EXPECT_EQ(MainToolbarIcon(ID_OPTIONS).cacheKey(), MainToolbarIcon(ID_OPTIONS).cacheKey());
}

TEST(PreviewResources, ApplicationIconAtEverySize)
{
    const QIcon icon = ApplicationIcon();
    for (int n : {16, 22, 24, 32, 48, 64, 128, 256})
    {
        SCOPED_TRACE(n);
        EXPECT_TRUE(icon.availableSizes().contains(QSize(n, n)));
        const QImage image = Argb(icon.pixmap(QSize(n, n)));
        ASSERT_EQ(image.size(), QSize(n, n));
        // A rounded tile: see-through corners, a solid middle.
        EXPECT_LT(qAlpha(image.pixel(0, 0)), 128);
        EXPECT_EQ(qAlpha(image.pixel(n / 2, n / 2)), 255);
        EXPECT_GT(Count(image).nOpaque, n * n / 2);
    }
}
