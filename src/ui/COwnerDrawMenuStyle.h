#pragma once

#include <QProxyStyle>

class COwnerDrawMenu;

// The style of the owner-drawn popups: their items are measured and drawn by the menu
// object, their frame is raised like a window's.
class COwnerDrawMenuStyle : public QProxyStyle
{
    Q_OBJECT

public:
    explicit COwnerDrawMenuStyle(const COwnerDrawMenu& menu);

    int pixelMetric(PixelMetric metric, const QStyleOption* pOption = nullptr,
                    const QWidget* pWidget = nullptr) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* pOption, const QSize& size,
                           const QWidget* pWidget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption* pOption, QPainter* pPainter,
                     const QWidget* pWidget = nullptr) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* pOption, QPainter* pPainter,
                       const QWidget* pWidget = nullptr) const override;

private:
    // bPlaced: the option's rectangle is the item's own, as when it is drawn.
    const struct OwnerDrawMenuItem* ItemOf(const QStyleOption* pOption, const QWidget* pWidget,
                                           bool bPlaced) const;

    const COwnerDrawMenu& m_menu;
};
