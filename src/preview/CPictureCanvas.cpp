#include "CPictureCanvas.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

namespace
{
// Zoom steps: doublings between 1/32 and 32, with 1.5 steps between the doublings.
constexpr std::array<double, 21> kZoomSteps = {
    1.0 / 32, 1.0 / 16, 1.0 / 8, 1.0 / 6, 1.0 / 4, 1.0 / 3, 1.0 / 2, 2.0 / 3, 1.0,  1.5, 2.0,
    3.0,      4.0,      6.0,     8.0,     12.0,    16.0,    24.0,    32.0,    48.0, 64.0};
constexpr int kCheckerSize = 8;

QPixmap Checkerboard()
{
    QPixmap tile(kCheckerSize * 2, kCheckerSize * 2);
    tile.fill(QColor(0x99, 0x99, 0x99));
    QPainter painter(&tile);
    painter.fillRect(0, 0, kCheckerSize, kCheckerSize, QColor(0x66, 0x66, 0x66));
    painter.fillRect(kCheckerSize, kCheckerSize, kCheckerSize, kCheckerSize,
                     QColor(0x66, 0x66, 0x66));
    return tile;
}
} // namespace

CPictureCanvas::CPictureCanvas(QWidget* pParent) : QAbstractScrollArea(pParent)
{
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::OpenHandCursor);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
}

void CPictureCanvas::SetImage(const QImage& image)
{
    const bool bSameSize = image.size() == m_image.size();
    m_image = image;
    if (!bSameSize)
    {
        UpdateScrollBars();
        emit ZoomChanged(Zoom());
    }
    viewport()->update();
}

void CPictureCanvas::ClearImage()
{
    m_image = QImage();
    UpdateScrollBars();
    viewport()->update();
}

void CPictureCanvas::SetFit(bool bFit)
{
    m_bFit = bFit;
    UpdateScrollBars();
    viewport()->update();
    emit ZoomChanged(Zoom());
}

double CPictureCanvas::Zoom() const
{
    return m_bFit ? FitZoom() : m_dZoom;
}

void CPictureCanvas::SetZoom(double dZoom)
{
    m_dZoom = std::clamp(dZoom, kZoomSteps.front(), kZoomSteps.back());
    m_bFit = false;
    UpdateScrollBars();
    viewport()->update();
    emit ZoomChanged(m_dZoom);
}

void CPictureCanvas::ZoomBy(int nSteps)
{
    ZoomBy(nSteps, viewport()->rect().center());
}

void CPictureCanvas::ZoomBy(int nSteps, QPoint anchor)
{
    if (m_image.isNull() || nSteps == 0)
        return;
    const double dOld = Zoom();
    // The next step from the current scale, so zooming out of a fitted view goes on from
    // where the fit was.
    double dNew = dOld;
    for (int i = 0; i < std::abs(nSteps); ++i)
    {
        if (nSteps > 0)
        {
            const auto it = std::upper_bound(kZoomSteps.begin(), kZoomSteps.end(), dNew * 1.001);
            dNew = it == kZoomSteps.end() ? kZoomSteps.back() : *it;
        }
        else
        {
            const auto it = std::lower_bound(kZoomSteps.begin(), kZoomSteps.end(), dNew / 1.001);
            dNew = it == kZoomSteps.begin() ? kZoomSteps.front() : *(it - 1);
        }
    }
    const QPointF picturePoint = QPointF(anchor - Origin()) / dOld;
    m_dZoom = dNew;
    m_bFit = false;
    UpdateScrollBars();
    // Scroll so that the picture point stays under the anchor.
    const QPointF target = picturePoint * dNew - QPointF(anchor);
    horizontalScrollBar()->setValue(static_cast<int>(std::lround(target.x())));
    verticalScrollBar()->setValue(static_cast<int>(std::lround(target.y())));
    viewport()->update();
    emit ZoomChanged(m_dZoom);
}

void CPictureCanvas::SetIgnoreAlpha(bool bIgnore)
{
    m_bIgnoreAlpha = bIgnore;
    viewport()->update();
}

double CPictureCanvas::FitZoom() const
{
    if (m_image.isNull())
        return 1.0;
    const QSize view = viewport()->size();
    const double dScale = std::min(view.width() / static_cast<double>(m_image.width()),
                                   view.height() / static_cast<double>(m_image.height()));
    // Small pictures are not blown up to fill the window: they stay 1:1.
    return std::min(1.0, dScale);
}

QPoint CPictureCanvas::Origin() const
{
    const QSize view = viewport()->size();
    const double dZoom = Zoom();
    const int nWidth = static_cast<int>(std::lround(m_image.width() * dZoom));
    const int nHeight = static_cast<int>(std::lround(m_image.height() * dZoom));
    // Centred while it is smaller than the window, else scrolled.
    const int x =
        nWidth < view.width() ? (view.width() - nWidth) / 2 : -horizontalScrollBar()->value();
    const int y =
        nHeight < view.height() ? (view.height() - nHeight) / 2 : -verticalScrollBar()->value();
    return {x, y};
}

void CPictureCanvas::UpdateScrollBars()
{
    const QSize view = viewport()->size();
    const double dZoom = Zoom();
    const int nWidth =
        m_image.isNull() ? 0 : static_cast<int>(std::lround(m_image.width() * dZoom));
    const int nHeight =
        m_image.isNull() ? 0 : static_cast<int>(std::lround(m_image.height() * dZoom));
    horizontalScrollBar()->setRange(0, std::max(0, nWidth - view.width()));
    horizontalScrollBar()->setPageStep(view.width());
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setRange(0, std::max(0, nHeight - view.height()));
    verticalScrollBar()->setPageStep(view.height());
    verticalScrollBar()->setSingleStep(20);
}

void CPictureCanvas::paintEvent(QPaintEvent* pEvent)
{
    QPainter painter(viewport());
    painter.fillRect(pEvent->rect(), QColor(0x20, 0x20, 0x20));
    if (m_image.isNull())
        return;
    const double dZoom = Zoom();
    const QRectF target(Origin(), QSizeF(m_image.width() * dZoom, m_image.height() * dZoom));
    const bool bAlpha = m_image.hasAlphaChannel() && !m_bIgnoreAlpha;
    if (bAlpha)
        painter.fillRect(target, QBrush(Checkerboard()));
    // Texels stay sharp when enlarged; a reduced picture is smoothed.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, dZoom < 1.0);
    if (bAlpha || !m_image.hasAlphaChannel())
    {
        painter.drawImage(target, m_image);
        return;
    }
    // Alpha ignored: the colour bytes as they are.
    const QImage opaque(m_image.constBits(), m_image.width(), m_image.height(),
                        m_image.bytesPerLine(),
                        m_image.format() == QImage::Format_RGBA8888 ? QImage::Format_RGBX8888
                                                                    : QImage::Format_RGB32);
    painter.drawImage(target, opaque);
}

void CPictureCanvas::resizeEvent(QResizeEvent* pEvent)
{
    QAbstractScrollArea::resizeEvent(pEvent);
    UpdateScrollBars();
    if (m_bFit)
        emit ZoomChanged(Zoom());
}

void CPictureCanvas::wheelEvent(QWheelEvent* pEvent)
{
    const int nDelta = pEvent->angleDelta().y();
    if (nDelta == 0)
        return;
    ZoomBy(nDelta > 0 ? 1 : -1, pEvent->position().toPoint());
    pEvent->accept();
}

void CPictureCanvas::keyPressEvent(QKeyEvent* pEvent)
{
    switch (pEvent->key())
    {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        ZoomBy(1);
        return;
    case Qt::Key_Minus:
        ZoomBy(-1);
        return;
    default:
        QAbstractScrollArea::keyPressEvent(pEvent);
    }
}

void CPictureCanvas::mousePressEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() != Qt::LeftButton)
        return QAbstractScrollArea::mousePressEvent(pEvent);
    m_bDragging = true;
    m_dragStart = pEvent->position().toPoint();
    m_scrollAtDragStart = {horizontalScrollBar()->value(), verticalScrollBar()->value()};
    viewport()->setCursor(Qt::ClosedHandCursor);
}

void CPictureCanvas::mouseMoveEvent(QMouseEvent* pEvent)
{
    if (!m_bDragging)
        return QAbstractScrollArea::mouseMoveEvent(pEvent);
    const QPoint moved = pEvent->position().toPoint() - m_dragStart;
    horizontalScrollBar()->setValue(m_scrollAtDragStart.x() - moved.x());
    verticalScrollBar()->setValue(m_scrollAtDragStart.y() - moved.y());
}

void CPictureCanvas::mouseReleaseEvent(QMouseEvent* pEvent)
{
    m_bDragging = false;
    viewport()->setCursor(Qt::OpenHandCursor);
    QAbstractScrollArea::mouseReleaseEvent(pEvent);
}
