#include "CFlatCheckBox.h"

#include <QCheckBox>

#include "FrameDrawing.h"
#include "SystemLook.h"

QRect CFlatCheckBox::BoxRect(const QRect& rect, Qt::Alignment vertical, bool bRightButton,
                             int nSize)
{
    int nTop = rect.top() + (rect.height() - 13) / 2;
    if (vertical == Qt::AlignTop)
        nTop = rect.top() + 1;
    else if (vertical == Qt::AlignBottom)
        nTop = rect.bottom() + 1 - 15;
    const int nLeft = bRightButton ? rect.right() + 1 - nSize : rect.left() + (13 - nSize);
    return {nLeft, nTop, nSize, nSize};
}

void CFlatCheckBox::DrawFrame(QPainter& dc, const QRect& rect)
{
    const auto* pBox = qobject_cast<const QCheckBox*>(m_pWnd.data());
    const QRect box =
        BoxRect(rect, Qt::AlignVCenter, m_pWnd->layoutDirection() == Qt::RightToLeft, 13);
    if (IsActive())
        Draw3dFrame2(dc, box, COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW, COLOR_BTNFACE);
    else if (!IsEnabled())
        Draw3dFrame2(dc, box, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT, COLOR_BTNFACE, COLOR_BTNFACE);
    else
    {
        const int x =
            pBox && pBox->checkState() == Qt::PartiallyChecked ? COLOR_BTNHIGHLIGHT : COLOR_WINDOW;
        Draw3dFrame2(dc, box, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT, x, x);
    }
}
