#pragma once

#include "CFlatSpin.h"

// A date or time edit: with a calendar drop-down it is framed like a combo box, otherwise
// like a spin box.
class CFlatDateTime : public CFlatSpin
{
public:
    using CFlatSpin::CFlatSpin;
    void DrawFrame(QPainter& dc, const QRect& rect) override;
};
