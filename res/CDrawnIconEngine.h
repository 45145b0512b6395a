#pragma once

#include <QIconEngine>
#include <QImage>
#include <QPixmap>
#include <array>
#include <functional>

// A button icon drawn in code when a size and mode are first asked for: 1x or 2x, normal
// or greyed for the Disabled mode (Active and Selected show the normal picture). Drawing
// all four up front cost a few milliseconds before the window could show.
class CDrawnIconEngine : public QIconEngine
{
public:
    using Painter = std::function<QImage(int nScale)>;

    // picture1x is what paint(1) draws; the icon's size is its size.
    CDrawnIconEngine(Painter paint, const QImage& picture1x);
    // Draws nothing until a picture is asked for: for icons most runs never show.
    CDrawnIconEngine(Painter paint, QSize size);

    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override;
    void paint(QPainter* pPainter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override;
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
    QIconEngine* clone() const override;
    QString key() const override;

private:
    const QPixmap& Picture(int nScale, bool bDisabled);

    Painter m_paint;
    QSize m_size;
    std::array<QImage, 2> m_pictures1x2x;
    std::array<QPixmap, 4> m_pixmaps; // [scale - 1][disabled]
};
