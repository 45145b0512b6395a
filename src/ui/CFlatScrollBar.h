#pragma once

#include "CFlatControl.h"

// A scroll bar: both arrow buttons and the thumb get flat button frames.
class CFlatScrollBar : public CFlatControl
{
public:
    using CFlatControl::CFlatControl;
    void DrawFrame(QPainter& dc, const QRect& rect) override;

    // The frame of an arrow button or thumb, raised and flat or three-dimensional.
    static void DrawArrowButton(QPainter& dc, const QRect& rect, bool bActive);

    struct Geometry
    {
        int nArrow = 0;      // length of each arrow button
        int nThumbStart = 0; // offset of the thumb from the bar's start, -1 for none
        int nThumbLength = 0;
    };
    // Where arrows and thumb lie along a bar of nLength pixels.
    static Geometry Layout(int nLength, int nMin, int nMax, int nPage, int nPos);
};
