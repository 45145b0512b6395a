#pragma once

#include "CFlatControl.h"

// A spin box: an edit and its up-down arrows framed as one control. Hovering the arrows
// lights the edit, since both are this one widget.
class CFlatSpin : public CFlatControl
{
public:
    using CFlatControl::CFlatControl;
    void DrawFrame(QPainter& dc, const QRect& rect) override;
    bool HasFocus() const override;

protected:
    bool IsReadOnly() const override;
    void DrawArrowButtons(QPainter& dc, const QRect& rect);
};
