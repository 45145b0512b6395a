#include "CFlatTabCtrl.h"

#include <QCursor>
#include <QEvent>
#include <QPainter>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>

#include "FrameDrawing.h"
#include "SystemLook.h"

namespace
{
void Line(QPainter& dc, int x, int y, int cx, int cy, int nColour)
{
    if (cx > 0 && cy > 0)
        dc.fillRect(x, y, cx, cy, GetSysColor(nColour));
}

bool IsVerticalShape(QTabBar::Shape shape)
{
    return shape == QTabBar::RoundedWest || shape == QTabBar::RoundedEast ||
           shape == QTabBar::TriangularWest || shape == QTabBar::TriangularEast;
}
} // namespace

bool CFlatTabCtrl::WindowProc(QObject* pObj, QEvent* pEvent)
{
    if (pEvent->type() == QEvent::Paint)
        m_nHotItem = (m_nState & STATE_HOT) ? ItemAt(QCursor::pos()) : -1;
    return CFlatControl::WindowProc(pObj, pEvent);
}

int CFlatTabCtrl::ItemAt(const QPoint& ptScreen) const
{
    const auto* pBar = qobject_cast<const QTabBar*>(m_pWnd.data());
    return pBar ? pBar->tabAt(pBar->mapFromGlobal(ptScreen)) : -1;
}

bool CFlatTabCtrl::IsNewHotSpot(const QPoint& ptScreen, bool bIsHotWindow)
{
    return !bIsHotWindow || ItemAt(ptScreen) != m_nHotItem;
}

void CFlatTabCtrl::DrawFrame(QPainter& dc, const QRect&)
{
    if (const auto* pBar = qobject_cast<const QTabBar*>(m_pWnd.data()))
        DrawTabs(dc, *pBar);
    else
        DrawPane(dc);
}

void CFlatTabCtrl::DrawPane(QPainter& dc)
{
    const auto* pTabs = qobject_cast<const QTabWidget*>(m_pWnd.data());
    const auto* pStack = pTabs ? pTabs->findChild<const QStackedWidget*>() : nullptr;
    if (!pStack)
        return;
    const QRect pane = pStack->geometry().adjusted(-2, -2, 2, 2);
    Draw3dRect(dc, pane, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
    Draw3dRect(dc, pane.adjusted(1, 1, -1, -1), COLOR_BTNFACE, COLOR_BTNFACE);
    // Where the selected tab joins the pane the border stays open.
    const QTabBar* pBar = pTabs->tabBar();
    if (pBar && pTabs->tabPosition() == QTabWidget::North && pBar->currentIndex() >= 0)
    {
        const QRect tab = pBar->tabRect(pBar->currentIndex()).translated(pBar->pos());
        Line(dc, tab.left() - 1, pane.top(), tab.width() + 2, 1, COLOR_BTNFACE);
    }
}

void CFlatTabCtrl::DrawTabs(QPainter& dc, const QTabBar& bar)
{
    const bool bVertical = IsVerticalShape(bar.shape());
    const int nSelected = bar.currentIndex();
    auto outline = [&](int i)
    {
        const bool bSelected = i == nSelected;
        QRect r = bar.tabRect(i);
        if (bSelected)
            r.adjust(-2, -2, 2, 0);
        const bool bHot = i == m_nHotItem && !bSelected;
        const bool bLeftOut = !bSelected && i - 1 == nSelected;
        const bool bRightOut = !bSelected && i + 1 == nSelected;
        const int nInner = bHot ? COLOR_3DLIGHT : COLOR_BTNFACE;
        if (bVertical)
        {
            // Tabs on a side: outlined as a box.
            Draw3dFrame2(dc, r, COLOR_BTNHIGHLIGHT, bHot ? COLOR_3DDKSHADOW : COLOR_BTNSHADOW,
                         nInner, bHot ? COLOR_BTNSHADOW : COLOR_BTNFACE);
            return;
        }
        const int x = r.left(), y = r.top(), cx = r.width(), cy = r.height();
        if (!bLeftOut)
        {
            Line(dc, x, y + 2, 1, cy - 2, COLOR_BTNHIGHLIGHT);
            Line(dc, x + 1, y + 1, 1, 1, COLOR_BTNHIGHLIGHT);
            Line(dc, x + 1, y + 2, 1, cy - 2, nInner);
        }
        Line(dc, x + 2, y, cx - 4, 1, COLOR_BTNHIGHLIGHT);
        Line(dc, x + 2, y + 1, cx - 4, 1, nInner);
        if (!bRightOut)
        {
            Line(dc, x + cx - 1, y + 2, 1, cy - 2, bHot ? COLOR_3DDKSHADOW : COLOR_BTNSHADOW);
            Line(dc, x + cx - 2, y + 1, 1, 1, bHot ? COLOR_3DDKSHADOW : COLOR_BTNSHADOW);
            Line(dc, x + cx - 2, y + 2, 1, cy - 2, bHot ? COLOR_BTNSHADOW : COLOR_BTNFACE);
        }
    };
    for (int i = 0; i < bar.count(); ++i)
        if (i != nSelected)
            outline(i);
    if (nSelected >= 0)
        outline(nSelected);
}
