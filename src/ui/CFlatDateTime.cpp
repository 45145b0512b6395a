#include "CFlatDateTime.h"

#include <QDateTimeEdit>

#include "CFlatComboBox.h"

void CFlatDateTime::DrawFrame(QPainter& dc, const QRect& rect)
{
    const auto* pEdit = qobject_cast<const QDateTimeEdit*>(m_pWnd.data());
    if (!pEdit || !pEdit->calendarPopup())
    {
        CFlatSpin::DrawFrame(dc, rect);
        return;
    }
    DrawEdgeFrame(dc, rect);
    CFlatComboBox::DrawDropButton(dc, rect, IsEnabled(), IsActive());
}
