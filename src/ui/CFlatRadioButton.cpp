#include "CFlatRadioButton.h"

#include <QPainter>

#include "CFlatCheckBox.h"
#include "SystemLook.h"

namespace
{
struct Pixel
{
    int x, y;
};
constexpr Pixel kOuterUpperLeft[] = {{1, 9}, {1, 8}, {0, 7}, {0, 6}, {0, 5}, {0, 4},
                                     {1, 3}, {1, 2}, {2, 1}, {3, 1}, {4, 0}, {5, 0},
                                     {6, 0}, {7, 0}, {8, 1}, {9, 1}};
constexpr Pixel kInnerUpperLeft[] = {{2, 8}, {1, 7}, {1, 6}, {1, 5}, {1, 4}, {2, 3}, {2, 2},
                                     {3, 2}, {4, 1}, {5, 1}, {6, 1}, {7, 1}, {8, 2}, {9, 2}};
constexpr Pixel kInnerLowerRight[] = {{2, 9}, {3, 9}, {4, 10}, {5, 10}, {6, 10}, {7, 10}, {8, 9},
                                      {9, 9}, {9, 8}, {10, 7}, {10, 6}, {10, 5}, {10, 4}, {9, 3}};
constexpr Pixel kOuterLowerRight[] = {{2, 10}, {3, 10}, {4, 11}, {5, 11}, {6, 11}, {7, 11},
                                      {8, 10}, {9, 10}, {10, 9}, {10, 8}, {11, 7}, {11, 6},
                                      {11, 5}, {11, 4}, {10, 3}, {10, 2}};

template <std::size_t N>
void DrawSet(QPainter& dc, const QPoint& origin, const Pixel (&set)[N], const QColor& colour)
{
    for (const Pixel& p : set)
        dc.fillRect(origin.x() + p.x, origin.y() + p.y, 1, 1, colour);
}
} // namespace

void CFlatRadioButton::DrawRing(QPainter& dc, const QPoint& topLeft, bool bEnabled, bool bActive)
{
    DrawSet(dc, topLeft, kOuterUpperLeft, GetSysColor(COLOR_BTNSHADOW));
    DrawSet(dc, topLeft, kInnerLowerRight, GetSysColor(COLOR_BTNFACE));
    const int nInner = !bEnabled ? COLOR_BTNFACE : bActive ? COLOR_3DDKSHADOW : COLOR_WINDOW;
    DrawSet(dc, topLeft, kInnerUpperLeft, GetSysColor(nInner));
    DrawSet(dc, topLeft, kOuterLowerRight,
            GetSysColor(bEnabled ? COLOR_WINDOW : COLOR_BTNHIGHLIGHT));
}

void CFlatRadioButton::DrawFrame(QPainter& dc, const QRect& rect)
{
    const QRect ring = CFlatCheckBox::BoxRect(rect, Qt::AlignVCenter,
                                              m_pWnd->layoutDirection() == Qt::RightToLeft, 12);
    DrawRing(dc, ring.topLeft(), IsEnabled(), IsActive());
}
