#pragma once

#include <QColor>
#include <QRect>

class QPainter;

// Frames of one-pixel rings, each colour a system colour index: top and left edges in the
// first colour of a ring, right and bottom edges in the second.
void Draw3dRect(QPainter& dc, const QRect& rect, int nTopLeft, int nBottomRight);
void Draw3dFrame2(QPainter& dc, const QRect& rect, int c1, int c2, int c3, int c4);
void Draw3dFrame3(QPainter& dc, const QRect& rect, int c1, int c2, int c3, int c4, int c5, int c6);

// The same ring in colours given directly.
void Draw3dRectColors(QPainter& dc, const QRect& rect, const QColor& topLeft,
                      const QColor& bottomRight);
