#include "CFlatSpin.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QStyle>
#include <QStyleOptionSpinBox>

#include "CFlatScrollBar.h"

void CFlatSpin::DrawFrame(QPainter& dc, const QRect& rect)
{
    DrawEdgeFrame(dc, rect);
    DrawArrowButtons(dc, rect);
}

void CFlatSpin::DrawArrowButtons(QPainter& dc, const QRect& rect)
{
    auto* pSpin = qobject_cast<QAbstractSpinBox*>(m_pWnd.data());
    if (!pSpin || pSpin->buttonSymbols() == QAbstractSpinBox::NoButtons)
        return;
    // What the arrows' places depend on.
    QStyleOptionSpinBox option;
    option.initFrom(pSpin);
    option.buttonSymbols = pSpin->buttonSymbols();
    option.frame = pSpin->hasFrame();
    option.subControls = QStyle::SC_SpinBoxFrame | QStyle::SC_SpinBoxEditField |
                         QStyle::SC_SpinBoxUp | QStyle::SC_SpinBoxDown;
    const bool bActive = IsActive() && IsEnabled();
    for (const auto nPart : {QStyle::SC_SpinBoxUp, QStyle::SC_SpinBoxDown})
    {
        // The arrows keep clear of the two frame rings around them.
        const QRect button = pSpin->style()
                                 ->subControlRect(QStyle::CC_SpinBox, &option, nPart, pSpin)
                                 .intersected(rect.adjusted(2, 2, -2, -2));
        CFlatScrollBar::DrawArrowButton(dc, button, bActive);
    }
}

bool CFlatSpin::HasFocus() const
{
    const QWidget* pFocus = QApplication::focusWidget();
    return m_pWnd && pFocus && (pFocus == m_pWnd || m_pWnd->isAncestorOf(pFocus));
}

bool CFlatSpin::IsReadOnly() const
{
    const auto* pSpin = qobject_cast<const QAbstractSpinBox*>(m_pWnd.data());
    return pSpin && pSpin->isReadOnly();
}
