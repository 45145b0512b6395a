#include "CFlatLookStyle.h"

#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>

#include "CFlatRadioButton.h"
#include "CFlatScrollBar.h"
#include "FrameDrawing.h"
#include "ResourceImages.h"
#include "SystemLook.h"

CFlatLookStyle::CFlatLookStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

int CFlatLookStyle::pixelMetric(PixelMetric metric, const QStyleOption* pOption,
                                const QWidget* pWidget) const
{
    switch (metric)
    {
    case PM_IndicatorWidth:
    case PM_IndicatorHeight:
    case PM_ExclusiveIndicatorWidth:
    case PM_ExclusiveIndicatorHeight:
        return 13;
    case PM_ScrollBarExtent:
        return GetSystemMetrics(SM_CXHSCROLL);
    case PM_ScrollBarSliderMin:
        return 8;
    default:
        return QProxyStyle::pixelMetric(metric, pOption, pWidget);
    }
}

void CFlatLookStyle::DrawCheckGlyph(QPainter& dc, int x, int y, const QColor& colour)
{
    auto dot = [&](int px, int py) { dc.fillRect(px, py, 1, 1, colour); };
    dot(x, y + 2);
    dot(x, y + 3);
    dot(x, y + 4);
    dot(x + 1, y + 3);
    dot(x + 1, y + 4);
    dot(x + 1, y + 5);
    dot(x + 2, y + 4);
    for (int i = 0; i < 4; ++i)
    {
        dot(x + 2 + i, y + 5 - i);
        dot(x + 2 + i, y + 6 - i);
        dot(x + 3 + i, y + 3 - i);
    }
    dot(x + 6, y + 1);
    dot(x + 6, y + 2);
}

void CFlatLookStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* pOption,
                                   QPainter* pPainter, const QWidget* pWidget) const
{
    const bool bEnabled = (pOption->state & State_Enabled) != 0;
    switch (element)
    {
    case PE_IndicatorCheckBox:
    {
        // A sunken box; the flat look draws its own rings over the outer two.
        const QRect box(pOption->rect.topLeft(), QSize(13, 13));
        const bool bPartial = (pOption->state & State_NoChange) != 0;
        pPainter->fillRect(box.adjusted(2, 2, -2, -2),
                           GetSysColor(!bEnabled || bPartial ? COLOR_BTNFACE : COLOR_WINDOW));
        Draw3dFrame2(*pPainter, box, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW,
                     COLOR_3DLIGHT);
        if (pOption->state & (State_On | State_NoChange))
            DrawCheckGlyph(*pPainter, box.left() + 3, box.top() + 2,
                           GetSysColor(bEnabled && !bPartial ? COLOR_MENUTEXT : COLOR_GRAYTEXT));
        return;
    }
    case PE_IndicatorRadioButton:
    {
        const QPoint ring = pOption->rect.topLeft() + QPoint(1, 0);
        pPainter->save();
        pPainter->setRenderHint(QPainter::Antialiasing, false);
        pPainter->setPen(Qt::NoPen);
        pPainter->setBrush(GetSysColor(bEnabled ? COLOR_WINDOW : COLOR_BTNFACE));
        pPainter->drawRect(ring.x() + 2, ring.y() + 3, 8, 6);
        pPainter->drawRect(ring.x() + 3, ring.y() + 2, 6, 8);
        if (pOption->state & State_On)
        {
            pPainter->setBrush(GetSysColor(bEnabled ? COLOR_MENUTEXT : COLOR_GRAYTEXT));
            pPainter->drawRect(ring.x() + 5, ring.y() + 4, 2, 4);
            pPainter->drawRect(ring.x() + 4, ring.y() + 5, 4, 2);
        }
        pPainter->restore();
        CFlatRadioButton::DrawRing(*pPainter, ring, bEnabled, true);
        return;
    }
    case PE_IndicatorBranch:
        DrawBranch(pOption, pPainter);
        return;
    default:
        QProxyStyle::drawPrimitive(element, pOption, pPainter, pWidget);
    }
}

void CFlatLookStyle::DrawBranch(const QStyleOption* pOption, QPainter* pPainter) const
{
    // Dotted connecting lines and a boxed +/- on items with children, as tree controls
    // with lines and buttons show them.
    const QRect r = pOption->rect;
    const QColor line = GetSysColor(COLOR_BTNSHADOW);
    const int cx = r.left() + r.width() / 2;
    const int cy = r.top() + r.height() / 2;
    auto dotsV = [&](int y0, int y1)
    {
        for (int y = y0; y <= y1; ++y)
            if (((y + cx) & 1) == 0)
                pPainter->fillRect(cx, y, 1, 1, line);
    };
    auto dotsH = [&](int x0, int x1)
    {
        for (int x = x0; x <= x1; ++x)
            if (((x + cy) & 1) == 0)
                pPainter->fillRect(x, cy, 1, 1, line);
    };
    if (pOption->state & State_Item)
    {
        dotsV(r.top(), cy);
        dotsH(cx, r.right());
        if (pOption->state & State_Sibling)
            dotsV(cy, r.bottom());
    }
    else if (pOption->state & State_Sibling)
        dotsV(r.top(), r.bottom());

    if (pOption->state & State_Children)
    {
        const QRect box(cx - 4, cy - 4, 9, 9);
        pPainter->fillRect(box, GetSysColor(COLOR_WINDOW));
        Draw3dRect(*pPainter, box, COLOR_BTNSHADOW, COLOR_BTNSHADOW);
        const QColor sign = GetSysColor(COLOR_MENUTEXT);
        pPainter->fillRect(cx - 2, cy, 5, 1, sign);
        if (!(pOption->state & State_Open))
            pPainter->fillRect(cx, cy - 2, 1, 5, sign);
    }
}

QIcon CFlatLookStyle::standardIcon(StandardPixmap standardIcon, const QStyleOption* pOption,
                                   const QWidget* pWidget) const
{
    // Every toolbar and menu bar asks for its extension button's icon when it is made;
    // the base style's is three PNGs to decode, several milliseconds at start.
    if (standardIcon == SP_ToolBarHorizontalExtensionButton)
        return ToolbarExtensionIcon(Qt::Horizontal);
    if (standardIcon == SP_ToolBarVerticalExtensionButton)
        return ToolbarExtensionIcon(Qt::Vertical);
    return QProxyStyle::standardIcon(standardIcon, pOption, pWidget);
}

QRect CFlatLookStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* pOption,
                                     SubControl subControl, const QWidget* pWidget) const
{
    const auto* pBar = qstyleoption_cast<const QStyleOptionSlider*>(pOption);
    if (control != CC_ScrollBar || !pBar)
        return QProxyStyle::subControlRect(control, pOption, subControl, pWidget);
    // Arrows and thumb where the flat frames of the bar are drawn.
    const QRect r = pBar->rect;
    const bool bVertical = pBar->orientation == Qt::Vertical;
    const int nLength = bVertical ? r.height() : r.width();
    const CFlatScrollBar::Geometry g =
        CFlatScrollBar::Layout(nLength, pBar->minimum, pBar->maximum + pBar->pageStep - 1,
                               pBar->pageStep, pBar->sliderPosition);
    auto along = [&](int nStart, int nSize)
    {
        const QRect part =
            bVertical ? QRect(0, nStart, r.width(), nSize) : QRect(nStart, 0, nSize, r.height());
        return visualRect(pBar->direction, r, part);
    };
    const bool bThumb = g.nThumbStart >= 0 && pBar->maximum > pBar->minimum;
    const int nThumbStart = bThumb ? g.nThumbStart : g.nArrow;
    const int nThumbLength = bThumb ? g.nThumbLength : 0;
    switch (subControl)
    {
    case SC_ScrollBarSubLine:
        return along(0, g.nArrow);
    case SC_ScrollBarAddLine:
        return along(nLength - g.nArrow, g.nArrow);
    case SC_ScrollBarSlider:
        return along(nThumbStart, nThumbLength);
    case SC_ScrollBarSubPage:
        return along(g.nArrow, nThumbStart - g.nArrow);
    case SC_ScrollBarAddPage:
        return along(nThumbStart + nThumbLength, nLength - g.nArrow - nThumbStart - nThumbLength);
    case SC_ScrollBarGroove:
        return along(g.nArrow, nLength - 2 * g.nArrow);
    default:
        return QProxyStyle::subControlRect(control, pOption, subControl, pWidget);
    }
}
