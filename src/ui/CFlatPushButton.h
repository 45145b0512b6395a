#pragma once

#include "CFlatControl.h"

// A push button: three rings, the outer one dark for the default button.
class CFlatPushButton : public CFlatControl
{
public:
    using CFlatControl::CFlatControl;
    void DrawFrame(QPainter& dc, const QRect& rect) override;
};
