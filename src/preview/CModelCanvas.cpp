#include "CModelCanvas.h"

#include <algorithm>
#include <cmath>

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace
{
constexpr double kDegreesPerPixel = 0.5;
constexpr double kZoomStep = 1.2;
constexpr double kMostZoom = 40;
constexpr double kLeastZoom = 0.1;
} // namespace

CModelCanvas::CModelCanvas(QWidget* pParent) : QWidget(pParent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::OpenHandCursor);
}

void CModelCanvas::SetScene(std::shared_ptr<const ModelScene> pScene)
{
    if (pScene == m_pScene)
        return;
    const bool bWireframe = m_view.bWireframe;
    const bool bTextures = m_view.bTextures;
    m_pScene = std::move(pScene);
    // The toggles are the viewer's; the camera starts again for every model.
    m_view = PofView();
    m_view.bWireframe = bWireframe;
    m_view.bTextures = bTextures;
    ViewChanged();
}

void CModelCanvas::ClearScene()
{
    m_pScene.reset();
    ViewChanged();
}

void CModelCanvas::Turn(double dYaw, double dPitch)
{
    m_view.dYaw = std::fmod(m_view.dYaw + dYaw, 360.0);
    m_view.dPitch = std::clamp(m_view.dPitch + dPitch, -89.0, 89.0);
    ViewChanged();
}

void CModelCanvas::ZoomBy(int nSteps)
{
    m_view.dZoom = std::clamp(m_view.dZoom * std::pow(kZoomStep, nSteps), kLeastZoom, kMostZoom);
    ViewChanged();
}

void CModelCanvas::ResetView()
{
    const bool bWireframe = m_view.bWireframe;
    const bool bTextures = m_view.bTextures;
    m_view = PofView();
    m_view.bWireframe = bWireframe;
    m_view.bTextures = bTextures;
    ViewChanged();
}

void CModelCanvas::SetWireframe(bool bWireframe)
{
    m_view.bWireframe = bWireframe;
    ViewChanged();
}

void CModelCanvas::SetTextures(bool bTextures)
{
    m_view.bTextures = bTextures;
    ViewChanged();
}

QImage CModelCanvas::Image()
{
    if (m_image.isNull() && m_pScene)
        m_image = RenderModelImage(*m_pScene, size(), m_view);
    return m_image;
}

void CModelCanvas::ViewChanged()
{
    m_image = QImage();
    update();
}

void CModelCanvas::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (m_image.size() != size())
        m_image = QImage();
    const QImage image = Image();
    if (image.isNull())
    {
        painter.fillRect(rect(), QColor(0x20, 0x20, 0x20));
        return;
    }
    painter.drawImage(0, 0, image);
}

void CModelCanvas::mousePressEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(pEvent);
    m_bDragging = true;
    m_lastDrag = pEvent->position().toPoint();
    setCursor(Qt::ClosedHandCursor);
}

void CModelCanvas::mouseMoveEvent(QMouseEvent* pEvent)
{
    if (!m_bDragging)
        return QWidget::mouseMoveEvent(pEvent);
    // The model follows the pointer: dragging right turns its nose to the right, dragging down
    // tips its top towards the viewer.
    const QPoint delta = pEvent->position().toPoint() - m_lastDrag;
    m_lastDrag = pEvent->position().toPoint();
    Turn(-delta.x() * kDegreesPerPixel, delta.y() * kDegreesPerPixel);
}

void CModelCanvas::mouseReleaseEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() != Qt::LeftButton)
        return QWidget::mouseReleaseEvent(pEvent);
    m_bDragging = false;
    setCursor(Qt::OpenHandCursor);
}

void CModelCanvas::mouseDoubleClickEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() != Qt::LeftButton)
        return QWidget::mouseDoubleClickEvent(pEvent);
    ResetView();
}

void CModelCanvas::wheelEvent(QWheelEvent* pEvent)
{
    // A wheel turns 15 degrees (120 eighths) a notch; touchpads send less at a time.
    m_nWheelAngle += pEvent->angleDelta().y();
    const int nSteps = m_nWheelAngle / 120;
    m_nWheelAngle -= nSteps * 120;
    if (nSteps != 0)
        ZoomBy(nSteps);
    pEvent->accept();
}
