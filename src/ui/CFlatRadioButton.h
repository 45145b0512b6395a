#pragma once

#include "CFlatControl.h"

// A radio button: a 12 x 12 ring of four pixel sets.
class CFlatRadioButton : public CFlatControl
{
public:
    using CFlatControl::CFlatControl;
    void DrawFrame(QPainter& dc, const QRect& rect) override;
    bool HasFocus() const override { return false; }

    static void DrawRing(QPainter& dc, const QPoint& topLeft, bool bEnabled, bool bActive);
};
