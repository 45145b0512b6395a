#include "CFlatControl.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>

#include "FrameDrawing.h"
#include "SystemLook.h"

CFlatControl::CFlatControl(QWidget* pWnd) : m_pWnd(pWnd) {}

CFlatControl::~CFlatControl()
{
    // The widget may be going away with us; a later paint shows its own frame.
    if (m_pWnd)
        m_pWnd->update();
}

bool CFlatControl::WindowProc(QObject* pObj, QEvent* pEvent)
{
    // The control's own painting, passed on below, reaches the control undisturbed.
    if (m_bInPaint)
        return false;
    QWidget* pTarget = nullptr;
    QRect rect;
    GetFrameDC(pTarget, rect);
    switch (pEvent->type())
    {
    case QEvent::FocusIn:
    case QEvent::FocusOut:
    case QEvent::EnabledChange:
    case QEvent::ReadOnlyChange:
        if (pObj == m_pWnd)
            UpdateFrame();
        return false;
    case QEvent::Paint:
        if (pObj != pTarget)
            return false;
        // The control paints itself first, through the filters it installed on itself (a
        // scroll area's viewport paints only through its owner's); the frame goes over what
        // it drew.
        m_bInPaint = true;
        QCoreApplication::sendEvent(pObj, pEvent);
        m_bInPaint = false;
        {
            RefreshState(rect);
            QPainter dc(pTarget);
            DrawFrame(dc, rect);
        }
        m_nPaintedState = m_nState;
        return true;
    default:
        return false;
    }
}

bool CFlatControl::IsNewHotSpot(const QPoint&, bool bIsHotWindow)
{
    return !bIsHotWindow;
}

void CFlatControl::GetFrameDC(QWidget*& pTarget, QRect& rect) const
{
    pTarget = m_pWnd;
    rect = m_pWnd ? m_pWnd->rect() : QRect();
}

bool CFlatControl::HasFocus() const
{
    return m_pWnd && m_pWnd->hasFocus();
}

void CFlatControl::RefreshState(const QRect& rect)
{
    auto set = [this](std::uint16_t nFlag, bool bOn)
    { m_nState = bOn ? (m_nState | nFlag) : (m_nState & ~nFlag); };
    set(STATE_FOCUSED, HasFocus());
    set(STATE_LOW, rect.height() < 30);
    set(STATE_READONLY, IsReadOnly());
}

void CFlatControl::UpdateFrame()
{
    QWidget* pTarget = nullptr;
    QRect rect;
    GetFrameDC(pTarget, rect);
    if (!pTarget)
        return;
    RefreshState(rect);
    // Paint requests are queued, so the frame is drawn once the control painted itself; a
    // control whose state did not change keeps the frame it has.
    if (m_nState != m_nPaintedState)
        pTarget->update();
}

void CFlatControl::SetHot(bool bHot)
{
    m_nState = bHot ? (m_nState | STATE_HOT) : (m_nState & ~STATE_HOT);
}

void CFlatControl::DrawFrame(QPainter& dc, const QRect& rect)
{
    DrawEdgeFrame(dc, rect);
}

void CFlatControl::DrawEdgeFrame(QPainter& dc, const QRect& rect)
{
    int nInnerTopLeft = COLOR_BTNFACE;
    int nInnerBottomRight = COLOR_BTNFACE;
    if (IsActive())
    {
        nInnerTopLeft = COLOR_3DDKSHADOW;
        nInnerBottomRight = COLOR_3DLIGHT;
    }
    else if (IsEnabled() && !(m_nState & STATE_READONLY))
    {
        nInnerTopLeft = (m_nState & STATE_LOW) ? COLOR_BTNHIGHLIGHT : COLOR_3DLIGHT;
        nInnerBottomRight = COLOR_3DLIGHT;
    }
    Draw3dFrame2(dc, rect, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT, nInnerTopLeft, nInnerBottomRight);
}
