#include "FrameDrawing.h"

#include <QPainter>

#include "SystemLook.h"

void Draw3dRectColors(QPainter& dc, const QRect& rect, const QColor& topLeft,
                      const QColor& bottomRight)
{
    if (rect.width() <= 0 || rect.height() <= 0)
        return;
    // Filled rectangles rather than lines: every corner pixel lands where it belongs.
    const int x = rect.x(), y = rect.y(), cx = rect.width(), cy = rect.height();
    dc.fillRect(x, y, cx - 1, 1, topLeft);
    dc.fillRect(x, y, 1, cy - 1, topLeft);
    dc.fillRect(x + cx - 1, y, 1, cy, bottomRight);
    dc.fillRect(x, y + cy - 1, cx, 1, bottomRight);
}

void Draw3dRect(QPainter& dc, const QRect& rect, int nTopLeft, int nBottomRight)
{
    Draw3dRectColors(dc, rect, GetSysColor(nTopLeft), GetSysColor(nBottomRight));
}

void Draw3dFrame2(QPainter& dc, const QRect& rect, int c1, int c2, int c3, int c4)
{
    Draw3dRect(dc, rect, c1, c2);
    Draw3dRect(dc, rect.adjusted(1, 1, -1, -1), c3, c4);
}

void Draw3dFrame3(QPainter& dc, const QRect& rect, int c1, int c2, int c3, int c4, int c5, int c6)
{
    Draw3dFrame2(dc, rect, c1, c2, c3, c4);
    Draw3dRect(dc, rect.adjusted(2, 2, -2, -2), c5, c6);
}
