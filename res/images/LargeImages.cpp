#include "ImagePainters.h"

#include <cmath>

#include <QFont>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include "IconPrimitives.h"

using namespace IconArt;

namespace
{
constexpr int kSplashWidth = 421;
constexpr int kSplashHeight = 261;
// Where the start-up window lays the version label over the splash picture: dialog units
// (181, 25) of its 8-point dialog font.
constexpr QPoint kVersionOrigin{271, 40};
constexpr QSize kVersionSize{145, 16};

QFont ArtFont(int nPixelSize, int nWeight)
{
    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(nPixelSize);
    font.setWeight(static_cast<QFont::Weight>(nWeight));
    return font;
}

// Snaps a coordinate to a pixel centre, so that thin outlines of small icons stay sharp.
qreal Snap(qreal v, bool bSnap)
{
    return bSnap ? std::floor(v) + 0.5 : v;
}

void PaintSplashBackground(QPainter& painter)
{
    QLinearGradient sky(0, 0, kSplashWidth * 0.4, kSplashHeight);
    sky.setColorAt(0.0, QColor(0x10, 0x22, 0x4a));
    sky.setColorAt(1.0, QColor(0x03, 0x06, 0x12));
    painter.fillRect(QRect(0, 0, kSplashWidth, kSplashHeight), sky);

    QRadialGradient nebula(QPointF(300, 150), 220);
    nebula.setColorAt(0.0, QColor(0x6a, 0x4c, 0xb0, 70));
    nebula.setColorAt(0.5, QColor(0x2c, 0x4a, 0x9a, 40));
    nebula.setColorAt(1.0, QColor(0, 0, 0, 0));
    painter.fillRect(QRect(0, 0, kSplashWidth, kSplashHeight), nebula);

    DrawStars(painter, QRectF(0, 0, kSplashWidth, kSplashHeight), 150, 20070815u, 1.2);
}
} // namespace

QImage PaintApplicationIconImage(int size)
{
    QImage image = MakeCanvas(size, size, 1);
    QPainter painter;
    BeginPainting(painter, image, 1);
    const qreal n = size;
    const bool bSmall = size <= 32;

    // The tile: a piece of night sky.
    const qreal border = std::max<qreal>(1.0, n / 40);
    const qreal margin = bSmall ? 0 : std::round(n * 0.04);
    const QRectF tile(margin + border / 2, margin + border / 2, n - 2 * margin - border,
                      n - 2 * margin - border);
    const qreal corner = n * 0.18;
    QPainterPath tilePath;
    tilePath.addRoundedRect(tile, corner, corner);
    QLinearGradient sky(0, tile.top(), 0, tile.bottom());
    sky.setColorAt(0.0, QColor(0x2e, 0x52, 0x8c));
    sky.setColorAt(1.0, QColor(0x0b, 0x15, 0x2e));
    painter.setPen(QPen(QColor(0x07, 0x0e, 0x20), border));
    painter.setBrush(sky);
    painter.drawPath(tilePath);

    if (size >= 32)
    {
        painter.save();
        painter.setClipPath(tilePath);
        DrawStars(painter, tile, size >= 128 ? 28 : 12, 7u, std::max<qreal>(0.6, n / 110));
        painter.restore();
    }

    // The orbit around the crate; its back half passes behind the crate.
    const QPointF centre(n * 0.5, n * 0.53);
    const qreal rx = n * 0.41;
    const qreal ry = n * 0.15;
    const qreal tilt = -18;
    const qreal ringWidth = std::max<qreal>(1.0, n * 0.045);
    auto drawOrbitHalf = [&](bool bFront)
    {
        painter.save();
        painter.translate(centre);
        painter.rotate(tilt);
        painter.setClipRect(bFront ? QRectF(-n, 0, 2 * n, n) : QRectF(-n, -n, 2 * n, n));
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(bFront ? kSky.lighter(115) : kSky.darker(140), ringWidth));
        painter.drawEllipse(QPointF(0, 0), rx, ry);
        painter.restore();
    };
    drawOrbitHalf(false);

    const qreal crateW = std::round(n * 0.42);
    const qreal crateH = std::round(n * 0.36);
    const qreal cx = Snap(centre.x() - crateW / 2, bSmall);
    const qreal cy = Snap(centre.y() - crateH / 2, bSmall);
    DrawCrate(painter, QRectF(cx, cy, crateW, crateH), std::max<qreal>(1.0, n / 48));

    drawOrbitHalf(true);

    // A moon on the front of the orbit.
    const qreal pi = 3.14159265358979;
    const qreal angle = 35 * pi / 180;
    const qreal t = tilt * pi / 180;
    const QPointF onRing(rx * std::cos(angle), ry * std::sin(angle));
    const QPointF moon = centre + QPointF(onRing.x() * std::cos(t) - onRing.y() * std::sin(t),
                                          onRing.x() * std::sin(t) + onRing.y() * std::cos(t));
    const qreal moonRadius = std::max<qreal>(1.6, n * 0.07);
    QRadialGradient glow(moon - QPointF(moonRadius * 0.3, moonRadius * 0.3), moonRadius * 1.2);
    glow.setColorAt(0.0, Qt::white);
    glow.setColorAt(1.0, QColor(0xa8, 0xd4, 0xff));
    painter.setPen(QPen(QColor(0x0b, 0x20, 0x46), std::max<qreal>(0.8, n / 64)));
    painter.setBrush(glow);
    painter.drawEllipse(moon, moonRadius, moonRadius);
    return image;
}

QImage PaintSplashImage()
{
    QImage image(kSplashWidth, kSplashHeight, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    PaintSplashBackground(painter);

    DrawRingedPlanet(painter, QPointF(352, 214), 88, 9);

    // Crates drifting along an orbit towards the planet.
    QPainterPath orbit;
    orbit.moveTo(8, 236);
    orbit.cubicTo(90, 208, 180, 184, 272, 170);
    painter.setPen(QPen(QColor(0x9f, 0xc8, 0xf5, 90), 1.2, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(orbit);
    for (const auto& [along, width] : {std::pair{0.34, 13.0}, {0.6, 20.0}, {0.86, 30.0}})
    {
        painter.save();
        painter.translate(orbit.pointAtPercent(along));
        painter.rotate(-orbit.angleAtPercent(along) + (width > 15 ? 8 : -10));
        DrawCrate(painter, QRectF(-width / 2, -width * 0.42, width, width * 0.84),
                  std::max<qreal>(1.0, width / 24));
        painter.restore();
    }

    // The lettering.
    painter.setPen(QColor(0x8f, 0xc3, 0xf7));
    QFont suite = ArtFont(15, QFont::DemiBold);
    suite.setLetterSpacing(QFont::AbsoluteSpacing, 3);
    painter.setFont(suite);
    painter.drawText(QPointF(27, 48), QStringLiteral("Vantorel"));

    QPainterPath name;
    QFont title = ArtFont(52, QFont::Black);
    title.setLetterSpacing(QFont::AbsoluteSpacing, 1);
    name.addText(QPointF(24, 106), title, QStringLiteral("ORBISTAV"));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 140));
    painter.drawPath(name.translated(2, 3));
    QLinearGradient letters(0, 64, 0, 106);
    letters.setColorAt(0.0, Qt::white);
    letters.setColorAt(1.0, QColor(0xa9, 0xd2, 0xff));
    painter.setBrush(letters);
    painter.setPen(QPen(QColor(0x0d, 0x1f, 0x44), 1.2));
    painter.drawPath(name);

    painter.setPen(kAmber);
    painter.setFont(ArtFont(13, QFont::Normal));
    painter.drawText(QPointF(28, 128), QStringLiteral("Browser for .VP and .VPP game archives"));

    painter.setPen(QColor(0x8a, 0x9b, 0xb0));
    painter.setFont(ArtFont(10, QFont::Normal));
    painter.drawText(QPointF(27, 246), QStringLiteral("A Quillmoor tool"));
    return image;
}

QImage PaintSplashVersionImage()
{
    QImage image(kVersionSize, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    // The label continues the sky of the splash picture it lies on.
    painter.translate(-kVersionOrigin.x(), -kVersionOrigin.y());
    PaintSplashBackground(painter);
    painter.resetTransform();

    painter.setPen(QColor(0xdc, 0xe8, 0xf6));
    painter.setFont(ArtFont(11, QFont::Normal));
    painter.drawText(QRect(QPoint(0, 0), kVersionSize).adjusted(0, 0, -4, 0),
                     Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Version 2.0 Beta 03b"));
    return image;
}
