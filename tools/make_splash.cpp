// Writes the splash pictures (resources 143 and 144) as raw pixel rows: <dir>/splash.rgb
// and <dir>/splash-version.rgb, which the program shows in place instead of drawing or
// decoding them at every start.

#include <cstdio>
#include <cstdlib>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>

#include "images/ImagePainters.h"

int main(int argc, char* argv[])
{
    // Runs without a display, for builds on machines that have none.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: orbistav_make_splash <directory>\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    const std::pair<QImage, QString> pictures[] = {
        {PaintSplashImage(), QStringLiteral("splash.rgb")},
        {PaintSplashVersionImage(), QStringLiteral("splash-version.rgb")},
    };
    for (const auto& [image, name] : pictures)
    {
        const QImage raw = image.convertToFormat(kRawPictureFormat);
        QFile file(dir.filePath(name));
        bool bWritten = file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        // The padding is written as zeros, so that the same drawing gives the same file.
        const qsizetype nRow = qsizetype{raw.width()} * 3;
        const QByteArray padding(RawPictureStride(raw.width()) - nRow, '\0');
        for (int y = 0; bWritten && y < raw.height(); ++y)
            bWritten = file.write(reinterpret_cast<const char*>(raw.constScanLine(y)), nRow) ==
                           nRow &&
                       file.write(padding) == padding.size();
        if (!bWritten || !file.flush())
        {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(dir.filePath(name)));
            return 1;
        }
    }
    return 0;
}
