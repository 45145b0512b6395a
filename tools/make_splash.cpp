// Writes the splash pictures (resources 143 and 144) as PNGs: <dir>/splash.png and
// <dir>/splash-version.png, which the program loads instead of drawing them at every start.

#include <cstdio>
#include <cstdlib>

#include <QDir>
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
        {PaintSplashImage(), QStringLiteral("splash.png")},
        {PaintSplashVersionImage(), QStringLiteral("splash-version.png")},
    };
    for (const auto& [image, name] : pictures)
    {
        if (!image.save(dir.filePath(name), "PNG"))
        {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(dir.filePath(name)));
            return 1;
        }
    }
    return 0;
}
