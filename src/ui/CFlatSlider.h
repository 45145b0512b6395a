#pragma once

#include "CFlatControl.h"

// A slider: the channel gets two sunken rings and the thumb is outlined again.
class CFlatSlider : public CFlatControl
{
public:
    using CFlatControl::CFlatControl;
    void DrawFrame(QPainter& dc, const QRect& rect) override;
};
