// Writes the program icon into an icon theme directory: <dir>/<N>x<N>/apps/orbistav.png.

#include <cstdio>
#include <cstdlib>

#include <QDir>
#include <QGuiApplication>
#include <QPixmap>

#include "ResourceImages.h"

int main(int argc, char* argv[])
{
    // Runs without a display, for builds on machines that have none.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: orbistav_make_icons <hicolor directory>\n");
        return 2;
    }

    const QIcon icon = ApplicationIcon();
    const QDir root(QString::fromLocal8Bit(argv[1]));
    for (int nSize : {16, 22, 24, 32, 48, 64, 128, 256})
    {
        const QString dir = QStringLiteral("%1x%1/apps").arg(nSize);
        const QString path = root.filePath(dir + QStringLiteral("/orbistav.png"));
        const QPixmap pixmap = icon.pixmap(QSize(nSize, nSize));
        if (!root.mkpath(dir) || pixmap.size() != QSize(nSize, nSize) || !pixmap.save(path, "PNG"))
        {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
