#include "CFlatComboBox.h"

#include <QApplication>

#include "FrameDrawing.h"
#include "SystemLook.h"

void CFlatComboBox::DrawFrame(QPainter& dc, const QRect& rect)
{
    DrawEdgeFrame(dc, rect);
    DrawDropButton(dc, rect, IsEnabled(), IsActive());
}

void CFlatComboBox::DrawDropButton(QPainter& dc, const QRect& rect, bool bEnabled, bool bActive)
{
    QRect button = rect.adjusted(2, 2, -2, -2);
    button.setLeft(button.right() + 1 - GetSystemMetrics(SM_CXHSCROLL));
    if (!bEnabled)
        Draw3dFrame2(dc, button, COLOR_BTNFACE, COLOR_BTNFACE, COLOR_BTNFACE, COLOR_BTNFACE);
    else if (bActive)
        Draw3dFrame2(dc, button, COLOR_BTNFACE, COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT,
                     COLOR_BTNSHADOW);
    else
        Draw3dFrame2(dc, button, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW, COLOR_BTNFACE, COLOR_BTNFACE);
}

bool CFlatComboBox::HasFocus() const
{
    // An editable combo box has the focus while its edit has it.
    const QWidget* pFocus = QApplication::focusWidget();
    return m_pWnd && pFocus && (pFocus == m_pWnd || m_pWnd->isAncestorOf(pFocus));
}
