#pragma once

#include "CFlatControl.h"

// A check box: its 13 x 13 box gets two rings. Push-like boxes are framed as push buttons.
class CFlatCheckBox : public CFlatControl
{
public:
    using CFlatControl::CFlatControl;
    void DrawFrame(QPainter& dc, const QRect& rect) override;
    bool HasFocus() const override { return false; }

    // The box inside the control's rectangle, placed by the alignment of the button.
    static QRect BoxRect(const QRect& rect, Qt::Alignment vertical, bool bRightButton, int nSize);
};
