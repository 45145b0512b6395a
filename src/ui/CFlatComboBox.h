#pragma once

#include "CFlatControl.h"

// A drop-down list or combo box: the edge frame and the drop-down button.
class CFlatComboBox : public CFlatControl
{
public:
    using CFlatControl::CFlatControl;
    void DrawFrame(QPainter& dc, const QRect& rect) override;
    bool HasFocus() const override;

    // The button at the right end of a drop-down frame.
    static void DrawDropButton(QPainter& dc, const QRect& rect, bool bEnabled, bool bActive);
};
