#include "MenuImages.h"

#include <QPainter>

#include "CommandIds.h"
#include "ResourceImages.h"

int ToolbarResource::ImageOf(int nCommand) const
{
    int nImage = 0;
    for (const int nButton : aButtons)
    {
        if (nButton == nCommand)
            return nImage;
        if (nButton != 0)
            ++nImage;
    }
    return -1;
}

std::optional<ToolbarResource> LoadToolbarResource(int nToolbarId)
{
    if (nToolbarId != IDR_MENU_IMAGES)
        return std::nullopt;
    // Drawn once: every item of the toolbar shares the bitmap.
    static std::optional<ToolbarResource> s_loaded;
    if (s_loaded)
        return s_loaded;
    ToolbarResource& toolbar = s_loaded.emplace();
    toolbar.aButtons = {ID_FILE_OPEN,
                        0,
                        ID_OPTIONS,
                        0,
                        ID_OPEN_SELECTED,
                        ID_EXTRACT_DEFAULT,
                        ID_EXTRACT_TO_DIR,
                        ID_EXTRACT_FS_DATA,
                        0,
                        ID_PLAY_PREVIEW,
                        ID_STOP_PREVIEW};
    const int nImages = static_cast<int>(toolbar.aButtons.size() - toolbar.aButtons.count(0));
    QImage strip(toolbar.nCellX * nImages, toolbar.nCellY, QImage::Format_ARGB32_Premultiplied);
    strip.fill(Qt::transparent);
    QPainter painter(&strip);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    int x = 0;
    for (const int nButton : toolbar.aButtons)
    {
        if (nButton == 0)
            continue;
        // The preview's own buttons are drawn at this size; the main toolbar's are reduced.
        QIcon icon = PreviewToolbarIcon(nButton);
        if (icon.isNull())
            icon = MainToolbarIcon(nButton);
        const QPixmap picture = icon.pixmap(QSize(toolbar.nCellX, toolbar.nCellY));
        painter.drawPixmap(QRect(x, 0, toolbar.nCellX, toolbar.nCellY), picture);
        x += toolbar.nCellX;
    }
    painter.end();
    toolbar.bitmap = QPixmap::fromImage(strip);
    return toolbar;
}
