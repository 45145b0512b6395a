#include "CFlatPushButton.h"

#include <QAbstractButton>
#include <QPushButton>

#include "FrameDrawing.h"
#include "SystemLook.h"

void CFlatPushButton::DrawFrame(QPainter& dc, const QRect& rect)
{
    const bool bActive = IsActive();
    const int c = bActive ? COLOR_3DDKSHADOW : COLOR_BTNSHADOW;
    const int d = bActive ? COLOR_3DLIGHT : COLOR_BTNFACE;
    const int e = bActive ? COLOR_BTNSHADOW : COLOR_BTNFACE;
    const auto* pPush = qobject_cast<const QPushButton*>(m_pWnd.data());
    const auto* pButton = qobject_cast<const QAbstractButton*>(m_pWnd.data());
    if (pPush && pPush->isDefault() && IsEnabled())
        Draw3dFrame3(dc, rect, COLOR_3DDKSHADOW, COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT, c, d, e);
    else if (pButton && pButton->isCheckable() && pButton->isChecked())
        Draw3dFrame2(dc, rect, c, COLOR_BTNHIGHLIGHT, e, d);
    else
        Draw3dFrame3(dc, rect, COLOR_BTNHIGHLIGHT, c, d, e, COLOR_BTNFACE, COLOR_BTNFACE);
}
