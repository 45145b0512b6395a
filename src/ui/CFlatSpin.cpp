#include "CFlatSpin.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QStyle>
#include <QStyleOptionSpinBox>

#include "CFlatScrollBar.h"

namespace
{
class CSpinBoxAccess : public QAbstractSpinBox
{
public:
    using QAbstractSpinBox::initStyleOption;
};
} // namespace

void CFlatSpin::DrawFrame(QPainter& dc, const QRect& rect)
{
    DrawEdgeFrame(dc, rect);
    DrawArrowButtons(dc);
}

void CFlatSpin::DrawArrowButtons(QPainter& dc)
{
    auto* pSpin = qobject_cast<QAbstractSpinBox*>(m_pWnd.data());
    if (!pSpin || pSpin->buttonSymbols() == QAbstractSpinBox::NoButtons)
        return;
    QStyleOptionSpinBox option;
    static_cast<CSpinBoxAccess*>(pSpin)->initStyleOption(&option);
    const bool bActive = IsActive() && IsEnabled();
    for (const auto nPart : {QStyle::SC_SpinBoxUp, QStyle::SC_SpinBoxDown})
    {
        const QRect button =
            pSpin->style()->subControlRect(QStyle::CC_SpinBox, &option, nPart, pSpin);
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
