#include "ImagePainters.h"

#include <cmath>

#include <QLinearGradient>
#include <QPainterPath>

#include "CommandIds.h"
#include "IconPrimitives.h"

using namespace IconArt;

namespace
{
QPen Pen(const QColor& colour)
{
    return QPen(colour, 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
}

void FillPixels(QPainter& painter, const char* const rows[], int nRows, QPoint origin,
                const QColor& colour)
{
    for (int y = 0; y < nRows; ++y)
    {
        for (int x = 0; rows[y][x] != '\0'; ++x)
        {
            if (rows[y][x] == 'X')
            {
                painter.fillRect(QRect(origin.x() + x, origin.y() + y, 1, 1), colour);
            }
        }
    }
}

// An unused slot: only the dotted outline of a sheet.
void DrawUnusedSlot(QPainter& painter)
{
    const QColor dot(0xa9, 0xb3, 0xbd);
    for (int i = 0; i < 10; i += 2)
    {
        painter.fillRect(QRect(3 + i, 1, 1, 1), dot);
        painter.fillRect(QRect(3 + i, 14, 1, 1), dot);
    }
    for (int i = 0; i < 14; i += 2)
    {
        painter.fillRect(QRect(3, 1 + i, 1, 1), dot);
        painter.fillRect(QRect(12, 1 + i + 1, 1, 1), dot);
    }
}

// An open folder with a "VP" badge on its front.
void DrawOpenArchive(QPainter& painter)
{
    QPainterPath back;
    back.moveTo(1.5, 3.5);
    back.lineTo(7.5, 3.5);
    back.lineTo(9.5, 5.5);
    back.lineTo(17.5, 5.5);
    back.lineTo(17.5, 19.5);
    back.lineTo(1.5, 19.5);
    back.closeSubpath();
    painter.setPen(Pen(kFolderOutline));
    painter.setBrush(kFolderDark);
    painter.drawPath(back);

    // A sheet sticking out of the open folder.
    painter.setBrush(kPaper);
    painter.setPen(Pen(kPaperLine));
    painter.drawRect(QRectF(4.5, 6.5, 11, 8));

    QPainterPath front;
    front.moveTo(1.5, 19.5);
    front.lineTo(4.5, 9.5);
    front.lineTo(21.5, 9.5);
    front.lineTo(18.5, 19.5);
    front.closeSubpath();
    QLinearGradient flap(0, 9.5, 0, 19.5);
    flap.setColorAt(0.0, kFolderLight);
    flap.setColorAt(1.0, QColor(0xf0, 0xae, 0x3a));
    painter.setPen(Pen(kFolderOutline));
    painter.setBrush(flap);
    painter.drawPath(front);

    const QColor badge(0x2a, 0x5f, 0xb5);
    painter.fillRect(QRect(5, 11, 14, 7), badge);
    painter.fillRect(QRect(5, 11, 14, 1), badge.lighter(125));
    painter.fillRect(QRect(5, 17, 14, 1), badge.darker(130));
    static const char* const kLetters[] = {
        "X...X.XXX.", "X...X.X..X", ".X.X..XXX.", ".X.X..X...", "..X...X...",
    };
    FillPixels(painter, kLetters, 5, QPoint(7, 12), Qt::white);
}

void DrawDisk(QPainter& painter)
{
    QPainterPath body;
    body.moveTo(8.5, 12.5);
    body.lineTo(18.5, 12.5);
    body.lineTo(20.5, 14.5);
    body.lineTo(20.5, 21.5);
    body.lineTo(8.5, 21.5);
    body.closeSubpath();
    QLinearGradient fill(0, 12.5, 0, 21.5);
    fill.setColorAt(0.0, QColor(0x46, 0x6c, 0x9e));
    fill.setColorAt(1.0, QColor(0x22, 0x3e, 0x68));
    painter.setPen(Pen(QColor(0x14, 0x28, 0x46)));
    painter.setBrush(fill);
    painter.drawPath(body);

    painter.fillRect(QRect(11, 13, 7, 3), kSteelLight);
    painter.fillRect(QRect(15, 13, 2, 2), QColor(0x30, 0x3c, 0x4a));
    painter.fillRect(QRect(10, 17, 9, 4), kPaper);
    painter.fillRect(QRect(11, 18, 7, 1), kPaperLine);
}

// A mains plug with its pins up, its cable leaving at the bottom.
void DrawPlug(QPainter& painter)
{
    const QColor brass(0xd9, 0xb5, 0x4a);
    const QColor brassEdge(0x80, 0x64, 0x18);
    for (int x : {11, 17})
    {
        painter.fillRect(QRect(x, 12, 3, 4), brassEdge);
        painter.fillRect(QRect(x + 1, 12, 1, 3), brass);
    }

    QLinearGradient fill(0, 15.5, 0, 20.5);
    fill.setColorAt(0.0, QColor(0x8a, 0x93, 0x9e));
    fill.setColorAt(1.0, QColor(0x48, 0x4f, 0x58));
    painter.setPen(Pen(QColor(0x2a, 0x2f, 0x36)));
    painter.setBrush(fill);
    painter.drawRoundedRect(QRectF(9.5, 15.5, 11, 5), 1.5, 1.5);
    painter.fillRect(QRect(11, 17, 9, 1), QColor(255, 255, 255, 60));

    painter.fillRect(QRect(14, 21, 3, 1), QColor(0x2a, 0x2f, 0x36));
}

void DrawExtract(QPainter& painter, int commandId)
{
    DrawPage(painter, QRect(1, 1, 9, 12), 3, true);
    switch (commandId)
    {
    case ID_EXTRACT_DEFAULT:
        DrawDisk(painter);
        DrawBentArrow(painter, QPoint(9, 5), QPoint(15, 11));
        break;
    case ID_EXTRACT_TO_DIR:
        DrawFolder(painter, QRect(7, 12, 14, 10));
        DrawBentArrow(painter, QPoint(9, 5), QPoint(16, 14));
        break;
    default:
        DrawPlug(painter);
        DrawBentArrow(painter, QPoint(9, 5), QPoint(15, 12));
        break;
    }
}

void DrawGear(QPainter& painter)
{
    const QPointF centre(11, 11);
    const int nTeeth = 8;
    const qreal outer = 10.0;
    const qreal root = 7.4;
    const qreal pi = 3.14159265358979;

    QPainterPath gear;
    for (int i = 0; i < nTeeth; ++i)
    {
        const qreal a = 2 * pi * i / nTeeth;
        const qreal step = 2 * pi / nTeeth;
        const QList<std::pair<qreal, qreal>> points = {
            {a - step * 0.5, root},   {a - step * 0.24, root}, {a - step * 0.15, outer},
            {a + step * 0.15, outer}, {a + step * 0.24, root},
        };
        for (const auto& [angle, radius] : points)
        {
            const QPointF p = centre + QPointF(std::cos(angle) * radius, std::sin(angle) * radius);
            if (gear.elementCount() == 0)
            {
                gear.moveTo(p);
            }
            else
            {
                gear.lineTo(p);
            }
        }
    }
    gear.closeSubpath();
    gear.addEllipse(centre, 3.0, 3.0);
    gear.setFillRule(Qt::OddEvenFill);

    QLinearGradient steel(3, 2, 19, 20);
    steel.setColorAt(0.0, kSteelLight);
    steel.setColorAt(1.0, kSteelDark);
    painter.setPen(QPen(QColor(0x3a, 0x46, 0x54), 1.0));
    painter.setBrush(steel);
    painter.drawPath(gear);

    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(255, 255, 255, 120), 1.0));
    painter.drawEllipse(centre, 5.2, 5.2);
}

void DrawPlay(QPainter& painter)
{
    QPainterPath triangle;
    triangle.moveTo(4.5, 2.5);
    triangle.lineTo(12.5, 7.5);
    triangle.lineTo(4.5, 12.5);
    triangle.closeSubpath();
    QLinearGradient fill(0, 2.5, 0, 12.5);
    fill.setColorAt(0.0, QColor(0x7c, 0xdb, 0x95));
    fill.setColorAt(1.0, QColor(0x25, 0x93, 0x47));
    painter.setPen(Pen(kArrowOutline));
    painter.setBrush(fill);
    painter.drawPath(triangle);
}

void DrawStop(QPainter& painter)
{
    QLinearGradient fill(0, 3.5, 0, 11.5);
    fill.setColorAt(0.0, QColor(0xf0, 0x7a, 0x6e));
    fill.setColorAt(1.0, QColor(0xc0, 0x33, 0x2b));
    painter.setPen(Pen(QColor(0x7a, 0x1c, 0x16)));
    painter.setBrush(fill);
    painter.drawRoundedRect(QRectF(3.5, 3.5, 8, 8), 1.2, 1.2);
}

// A window with an arrow leaving it: open in the program the system associates.
void DrawOpenExternal(QPainter& painter)
{
    painter.setPen(Pen(kOutline));
    painter.setBrush(kPaper);
    painter.drawRect(QRectF(1.5, 3.5, 10, 10));
    painter.fillRect(QRect(2, 4, 10, 2), QColor(0x3b, 0x74, 0xc9));

    QPainterPath arrow;
    arrow.moveTo(6.0, 11.0);
    arrow.lineTo(11.8, 5.2);
    painter.setPen(QPen(kArrowOutline, 3.2, Qt::SolidLine, Qt::FlatCap));
    painter.drawPath(arrow);
    painter.setPen(QPen(kArrow.lighter(120), 1.4, Qt::SolidLine, Qt::FlatCap));
    painter.drawPath(arrow);

    QPainterPath head;
    head.moveTo(9.0, 1.5);
    head.lineTo(14.5, 1.5);
    head.lineTo(14.5, 7.0);
    head.closeSubpath();
    painter.setPen(Pen(kArrowOutline));
    painter.setBrush(kArrow.lighter(120));
    painter.drawPath(head);
}
} // namespace

QImage PaintListImage(int resourceId, int scale)
{
    if (resourceId != IDB_LIST_UNUSED && resourceId != IDB_LIST_DOCUMENT &&
        resourceId != IDB_LIST_FOLDER)
    {
        return {};
    }
    QImage image = MakeCanvas(16, 16, scale);
    QPainter painter;
    BeginPainting(painter, image, scale);
    switch (resourceId)
    {
    case IDB_LIST_UNUSED:
        DrawUnusedSlot(painter);
        break;
    case IDB_LIST_DOCUMENT:
        DrawPage(painter, QRect(3, 1, 10, 14), 3, true);
        break;
    default:
        DrawFolder(painter, QRect(1, 2, 14, 12));
        break;
    }
    return image;
}

QImage PaintMainToolbarImage(int commandId, int scale)
{
    switch (commandId)
    {
    case ID_FILE_OPEN:
    case ID_EXTRACT_DEFAULT:
    case ID_EXTRACT_TO_DIR:
    case ID_EXTRACT_FS_DATA:
    case ID_OPTIONS:
    case ID_BLANK:
        break;
    default:
        return {};
    }
    QImage image = MakeCanvas(22, 22, scale);
    QPainter painter;
    BeginPainting(painter, image, scale);
    switch (commandId)
    {
    case ID_FILE_OPEN:
        DrawOpenArchive(painter);
        break;
    case ID_OPTIONS:
        DrawGear(painter);
        break;
    case ID_BLANK:
        break;
    default:
        DrawExtract(painter, commandId);
        break;
    }
    return image;
}

QImage PaintPreviewToolbarImage(int commandId, int scale)
{
    switch (commandId)
    {
    case ID_PLAY_PREVIEW:
    case ID_STOP_PREVIEW:
    case ID_OPEN_SELECTED:
    case ID_BLANK:
        break;
    default:
        return {};
    }
    QImage image = MakeCanvas(16, 15, scale);
    QPainter painter;
    BeginPainting(painter, image, scale);
    switch (commandId)
    {
    case ID_PLAY_PREVIEW:
        DrawPlay(painter);
        break;
    case ID_STOP_PREVIEW:
        DrawStop(painter);
        break;
    case ID_OPEN_SELECTED:
        DrawOpenExternal(painter);
        break;
    default:
        break;
    }
    return image;
}

QImage GreyedImage(const QImage& image)
{
    QImage result = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < result.height(); ++y)
    {
        auto* pLine = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x)
        {
            const QRgb pixel = pLine[x];
            const int grey = 118 + qGray(pixel) * 45 / 100;
            pLine[x] = qRgba(grey, grey, grey, qAlpha(pixel) * 55 / 100);
        }
    }
    return result.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage PaintToolbarExtensionImage(bool bVertical, int scale)
{
    static const char* const kChevron[] = {
        "XX.XX...", ".XX.XX..", "..XX.XX.", ".XX.XX..", "XX.XX...",
    };
    QImage image = MakeCanvas(8, 8, scale);
    QPainter painter;
    BeginPainting(painter, image, scale);
    if (bVertical)
    {
        // Drawn as the horizontal one, turned a quarter clockwise.
        painter.translate(8, 0);
        painter.rotate(90);
    }
    FillPixels(painter, kChevron, 5, QPoint(1, 2), kOutline);
    return image;
}
