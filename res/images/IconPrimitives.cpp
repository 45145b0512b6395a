#include "IconPrimitives.h"

#include <cmath>

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

namespace IconArt
{
QImage MakeCanvas(int nWidth, int nHeight, int nScale)
{
    QImage image(nWidth * nScale, nHeight * nScale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void BeginPainting(QPainter& painter, QImage& image, int nScale)
{
    painter.begin(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(nScale, nScale);
}

namespace
{
// Outlines lie on pixel centres; mitred corners keep the corner pixels.
QPen OutlinePen(const QColor& colour, qreal width = 1.0)
{
    return QPen(colour, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
}
} // namespace

void DrawPage(QPainter& painter, const QRect& rect, int nFold, bool bLines)
{
    const qreal l = rect.left() + 0.5;
    const qreal t = rect.top() + 0.5;
    const qreal r = rect.right() + 0.5;
    const qreal b = rect.bottom() + 0.5;

    QPainterPath sheet;
    sheet.moveTo(l, t);
    sheet.lineTo(r - nFold, t);
    sheet.lineTo(r, t + nFold);
    sheet.lineTo(r, b);
    sheet.lineTo(l, b);
    sheet.closeSubpath();

    QLinearGradient paper(l, t, r, b);
    paper.setColorAt(0.0, kPaper);
    paper.setColorAt(1.0, QColor(0xe9, 0xee, 0xf3));
    painter.setPen(OutlinePen(kOutline));
    painter.setBrush(paper);
    painter.drawPath(sheet);

    if (nFold > 0)
    {
        QPainterPath fold;
        fold.moveTo(r - nFold, t);
        fold.lineTo(r - nFold, t + nFold);
        fold.lineTo(r, t + nFold);
        fold.closeSubpath();
        painter.setBrush(kPaperShade);
        painter.drawPath(fold);
    }

    if (bLines)
    {
        painter.setPen(OutlinePen(kPaperLine));
        for (qreal y = t + nFold + 2; y <= b - 2; y += 2)
        {
            const qreal right = (y < t + nFold + 1) ? r - nFold - 2 : r - 2;
            painter.drawLine(QPointF(l + 2, y), QPointF(right, y));
        }
    }
}

void DrawFolder(QPainter& painter, const QRect& rect)
{
    const qreal l = rect.left() + 0.5;
    const qreal t = rect.top() + 0.5;
    const qreal r = rect.right() + 0.5;
    const qreal b = rect.bottom() + 0.5;
    const qreal tab = std::max<qreal>(4, std::round(rect.width() * 0.4));

    QPainterPath body;
    body.moveTo(l, t);
    body.lineTo(l + tab, t);
    body.lineTo(l + tab + 2, t + 2);
    body.lineTo(r, t + 2);
    body.lineTo(r, b);
    body.lineTo(l, b);
    body.closeSubpath();

    QLinearGradient fill(0, t, 0, b);
    fill.setColorAt(0.0, kFolderLight);
    fill.setColorAt(1.0, kFolderDark);
    painter.setPen(OutlinePen(kFolderOutline));
    painter.setBrush(fill);
    painter.drawPath(body);

    // The front flap's upper edge.
    painter.setPen(OutlinePen(QColor(255, 240, 200)));
    painter.drawLine(QPointF(l + 1, t + 4), QPointF(r - 1, t + 4));
    painter.setPen(OutlinePen(kFolderOutline.lighter(130)));
    painter.drawLine(QPointF(l + 1, t + 3), QPointF(r - 1, t + 3));
}

void DrawBentArrow(QPainter& painter, QPoint from, QPoint tip)
{
    const qreal fx = from.x() + 0.5;
    const qreal fy = from.y();
    const qreal tx = tip.x();
    const qreal ty = tip.y() + 0.5;
    const qreal hy = ty - 3; // the head is three pixels tall

    QPainterPath arrow;
    arrow.moveTo(fx, fy - 1.5);
    arrow.lineTo(tx + 2.5, fy - 1.5);
    arrow.lineTo(tx + 2.5, hy);
    arrow.lineTo(tx + 4.5, hy);
    arrow.lineTo(tx + 0.5, ty);
    arrow.lineTo(tx - 3.5, hy);
    arrow.lineTo(tx - 1.5, hy);
    arrow.lineTo(tx - 1.5, fy + 2.5);
    arrow.lineTo(fx, fy + 2.5);
    arrow.closeSubpath();

    QLinearGradient fill(0, fy - 1.5, 0, ty);
    fill.setColorAt(0.0, kArrow.lighter(135));
    fill.setColorAt(1.0, kArrow);
    painter.setPen(OutlinePen(kArrowOutline));
    painter.setBrush(fill);
    painter.drawPath(arrow);
}

void DrawRingedPlanet(QPainter& painter, QPointF centre, qreal radius, qreal ringWidth)
{
    const qreal tilt = -16.0;
    const qreal rx = radius * 1.8;
    const qreal ry = radius * 0.42;
    const qreal big = radius * 4;

    auto drawRingHalf = [&](bool bFront)
    {
        painter.save();
        painter.translate(centre);
        painter.rotate(tilt);
        painter.setClipRect(bFront ? QRectF(-big, 0, 2 * big, big)
                                   : QRectF(-big, -big, 2 * big, big));
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(QColor(0x7a, 0x4e, 0x0c), ringWidth + 2));
        painter.drawEllipse(QPointF(0, 0), rx, ry);
        painter.setPen(QPen(bFront ? kAmber : kAmber.darker(125), ringWidth));
        painter.drawEllipse(QPointF(0, 0), rx, ry);
        painter.setPen(QPen(QColor(255, 236, 180, 160), std::max<qreal>(1.0, ringWidth * 0.25)));
        painter.drawEllipse(QPointF(0, 0), rx - ringWidth * 0.2, ry - ringWidth * 0.2);
        painter.restore();
    };

    drawRingHalf(false);

    QRadialGradient body(centre + QPointF(-radius * 0.35, -radius * 0.4), radius * 1.3);
    body.setColorAt(0.0, QColor(0xd8, 0xef, 0xff));
    body.setColorAt(0.35, kSky);
    body.setColorAt(0.8, QColor(0x23, 0x56, 0xa8));
    body.setColorAt(1.0, QColor(0x12, 0x2a, 0x58));
    painter.setPen(QPen(QColor(0x0c, 0x1d, 0x40), std::max<qreal>(1.0, radius * 0.05)));
    painter.setBrush(body);
    painter.drawEllipse(centre, radius, radius);

    // Faint cloud bands, clipped to the disc.
    if (radius >= 12)
    {
        painter.save();
        QPainterPath disc;
        disc.addEllipse(centre, radius, radius);
        painter.setClipPath(disc);
        painter.setPen(QPen(QColor(255, 255, 255, 22), radius * 0.1));
        painter.setBrush(Qt::NoBrush);
        for (int i = -1; i <= 2; ++i)
        {
            const qreal y = centre.y() + i * radius * 0.33;
            painter.drawLine(QPointF(centre.x() - radius, y - radius * 0.15),
                             QPointF(centre.x() + radius, y + radius * 0.05));
        }
        painter.restore();
    }

    drawRingHalf(true);
}

void DrawCrate(QPainter& painter, const QRectF& rect, qreal outline)
{
    const QColor edge(0x6b, 0x44, 0x10);
    QLinearGradient body(rect.topLeft(), rect.bottomLeft());
    body.setColorAt(0.0, QColor(0xff, 0xd5, 0x80));
    body.setColorAt(1.0, QColor(0xd0, 0x88, 0x26));
    painter.setPen(QPen(edge, outline, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(body);
    const qreal round = rect.width() * 0.08;
    painter.drawRoundedRect(rect, round, round);

    // The lid: a lighter band across the top.
    const qreal lidBottom = rect.top() + std::max(outline * 2, std::round(rect.height() * 0.32));
    QRectF lid(rect.left(), rect.top(), rect.width(), lidBottom - rect.top());
    painter.setBrush(QColor(0xff, 0xe6, 0xae));
    painter.drawRoundedRect(lid, round, round);

    // Planks and the latch only where there is room for them.
    if (rect.width() >= 14)
    {
        painter.setPen(QPen(QColor(0x8a, 0x58, 0x10, 110), outline * 0.8));
        for (int i = 1; i < 3; ++i)
        {
            const qreal x = rect.left() + rect.width() * i / 3.0;
            painter.drawLine(QPointF(x, lidBottom + outline), QPointF(x, rect.bottom() - outline));
        }
        painter.setPen(QPen(edge, outline * 0.8));
        painter.setBrush(QColor(0x5a, 0x63, 0x70));
        const qreal w = rect.width() * 0.18;
        const qreal h = rect.height() * 0.22;
        painter.drawRect(QRectF(rect.center().x() - w / 2, lidBottom - h / 2, w, h));
    }
}

void DrawStars(QPainter& painter, const QRectF& area, int nCount, unsigned nSeed, qreal maxRadius)
{
    unsigned state = nSeed;
    auto next = [&state]()
    {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) / static_cast<qreal>(1u << 24);
    };
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < nCount; ++i)
    {
        const qreal x = area.left() + next() * area.width();
        const qreal y = area.top() + next() * area.height();
        const qreal size = next();
        const qreal radius = maxRadius * (0.35 + 0.65 * size * size);
        const int alpha = 90 + static_cast<int>(next() * 165);
        painter.setBrush(QColor(0xe8, 0xf1, 0xff, alpha));
        painter.drawEllipse(QPointF(x, y), radius, radius);
    }
}
} // namespace IconArt
