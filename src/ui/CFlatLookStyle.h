#pragma once

#include <QProxyStyle>

// The application style under the flat look: check boxes, radio buttons and scroll bars
// with the geometry the painters frame, and trees with connecting lines and +/- buttons.
class CFlatLookStyle : public QProxyStyle
{
    Q_OBJECT

public:
    CFlatLookStyle();

    int pixelMetric(PixelMetric metric, const QStyleOption* pOption = nullptr,
                    const QWidget* pWidget = nullptr) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* pOption, QPainter* pPainter,
                       const QWidget* pWidget = nullptr) const override;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* pOption,
                         SubControl subControl, const QWidget* pWidget = nullptr) const override;
    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption* pOption = nullptr,
                       const QWidget* pWidget = nullptr) const override;

    // The check glyph of menus and check boxes, 7 pixels wide, its top-left at (x, y).
    static void DrawCheckGlyph(QPainter& dc, int x, int y, const QColor& colour);

private:
    void DrawBranch(const QStyleOption* pOption, QPainter* pPainter) const;
};
