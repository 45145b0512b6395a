#include "CFlatScrollBar.h"

#include <QScrollBar>
#include <algorithm>

#include "FrameDrawing.h"
#include "SystemLook.h"

namespace
{
constexpr int kMinThumb = 8;

int MulDiv(long long a, long long b, long long c)
{
    return c == 0 ? -1 : static_cast<int>((a * b + c / 2) / c);
}
} // namespace

void CFlatScrollBar::DrawArrowButton(QPainter& dc, const QRect& rect, bool bActive)
{
    if (bActive)
        Draw3dFrame2(dc, rect, COLOR_BTNFACE, COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT,
                     COLOR_BTNSHADOW);
    else
        Draw3dFrame2(dc, rect, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW, COLOR_BTNFACE, COLOR_BTNFACE);
}

CFlatScrollBar::Geometry CFlatScrollBar::Layout(int nLength, int nMin, int nMax, int nPage,
                                                int nPos)
{
    Geometry g;
    g.nArrow = GetSystemMetrics(SM_CXHSCROLL);
    if (nLength < 2 * g.nArrow)
        g.nArrow = nLength / 2;
    g.nThumbStart = -1;
    // The bar's range counts the page, as the value runs to max - page + 1.
    const long long r = static_cast<long long>(nMax) - nMin + 1;
    if (r <= 0)
        return g;
    const int t = nLength - 2 * g.nArrow;
    int h = nPage > 0 ? std::max(kMinThumb, MulDiv(nPage, t, r)) : GetSystemMetrics(SM_CXHTHUMB);
    h = std::min(h, t);
    if (h <= 0)
        return g;
    // A page that covers the whole range leaves the thumb one pixel short of the track.
    const bool bWholeRange = r == nPage;
    const int nOffset =
        bWholeRange ? 0 : MulDiv(std::clamp(nPos, nMin, nMax) - nMin, t - h, r - nPage);
    g.nThumbStart = g.nArrow + std::clamp(nOffset, 0, t - h);
    g.nThumbLength = bWholeRange ? h - 1 : h;
    return g;
}

void CFlatScrollBar::DrawFrame(QPainter& dc, const QRect& rect)
{
    const auto* pBar = qobject_cast<const QScrollBar*>(m_pWnd.data());
    if (!pBar)
        return;
    const bool bVertical = pBar->orientation() == Qt::Vertical;
    const int nLength = bVertical ? rect.height() : rect.width();
    const int nPage = pBar->pageStep();
    const Geometry g =
        Layout(nLength, pBar->minimum(), pBar->maximum() + nPage - 1, nPage, pBar->value());
    auto along = [&](int nStart, int nSize)
    {
        return bVertical ? QRect(rect.left(), rect.top() + nStart, rect.width(), nSize)
                         : QRect(rect.left() + nStart, rect.top(), nSize, rect.height());
    };
    const bool bActive = IsActive();
    DrawArrowButton(dc, along(0, g.nArrow), bActive);
    DrawArrowButton(dc, along(nLength - g.nArrow, g.nArrow), bActive);
    if (!IsEnabled() || g.nThumbStart < 0 || pBar->maximum() <= pBar->minimum())
        return;
    DrawArrowButton(dc, along(g.nThumbStart, g.nThumbLength), bActive);
}
