#include "CFlatToolBar.h"

#include <QCursor>
#include <QEvent>
#include <QToolBar>
#include <QToolButton>

#include "FrameDrawing.h"
#include "SystemLook.h"

bool CFlatToolBar::IsFlat(const QWidget* pToolBar)
{
    const QList<QToolButton*> buttons =
        pToolBar->findChildren<QToolButton*>(Qt::FindDirectChildrenOnly);
    return std::all_of(buttons.begin(), buttons.end(),
                       [](const QToolButton* p) { return p->autoRaise(); });
}

QList<QToolButton*> CFlatToolBar::Buttons() const
{
    QList<QToolButton*> buttons;
    if (!m_pWnd)
        return buttons;
    for (QToolButton* p : m_pWnd->findChildren<QToolButton*>(Qt::FindDirectChildrenOnly))
        if (p->isVisible() && p->objectName() != QLatin1String("qt_toolbar_ext_button"))
            buttons << p;
    return buttons;
}

int CFlatToolBar::ItemAt(const QPoint& ptScreen) const
{
    const QList<QToolButton*> buttons = Buttons();
    for (int i = 0; i < buttons.size(); ++i)
        if (buttons[i]->isEnabled() &&
            buttons[i]->rect().contains(buttons[i]->mapFromGlobal(ptScreen)))
            return i;
    return -1;
}

bool CFlatToolBar::WindowProc(QObject* pObj, QEvent* pEvent)
{
    if (pEvent->type() == QEvent::Paint)
        m_nHotItem = (m_nState & STATE_HOT) ? ItemAt(QCursor::pos()) : -1;
    return CFlatControl::WindowProc(pObj, pEvent);
}

bool CFlatToolBar::IsNewHotSpot(const QPoint& ptScreen, bool bIsHotWindow)
{
    return !bIsHotWindow || ItemAt(ptScreen) != m_nHotItem;
}

void CFlatToolBar::DrawFrame(QPainter& dc, const QRect&)
{
    // The buttons are children drawn after the bar; their frames go on the bar around them.
    const QList<QToolButton*> buttons = Buttons();
    for (int i = 0; i < buttons.size(); ++i)
    {
        const QRect item = buttons[i]->geometry().adjusted(-1, -1, 1, 1);
        const bool bChecked = buttons[i]->isChecked();
        const bool bHot = i == m_nHotItem;
        if (bChecked && !bHot)
            Draw3dFrame2(dc, item, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT, COLOR_BTNFACE,
                         COLOR_BTNFACE);
        else if (bChecked)
            Draw3dFrame2(dc, item, COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW,
                         COLOR_BTNSHADOW);
        else if (bHot)
            Draw3dFrame2(dc, item, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW, COLOR_3DLIGHT,
                         COLOR_BTNSHADOW);
        else
            Draw3dFrame2(dc, item, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW, COLOR_BTNFACE,
                         COLOR_BTNFACE);
    }
}
