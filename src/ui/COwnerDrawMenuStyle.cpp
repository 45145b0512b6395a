#include "COwnerDrawMenuStyle.h"

#include <QFontMetrics>
#include <QMenu>
#include <QPainter>
#include <QStyleOptionMenuItem>

#include "COwnerDrawMenu.h"
#include "FrameDrawing.h"
#include "SystemLook.h"

COwnerDrawMenuStyle::COwnerDrawMenuStyle(const COwnerDrawMenu& menu) : m_menu(menu) {}

const OwnerDrawMenuItem* COwnerDrawMenuStyle::ItemOf(const QStyleOption* pOption,
                                                     const QWidget* pWidget, bool bPlaced) const
{
    const auto* pMenu = qobject_cast<const QMenu*>(pWidget);
    const COwnerDrawMenu* pPopup = pMenu ? m_menu.FindPopup(pMenu) : nullptr;
    const auto* pItem = qstyleoption_cast<const QStyleOptionMenuItem*>(pOption);
    if (!pPopup || !pItem)
        return nullptr;
    if (bPlaced)
        return pPopup->FindItem(pMenu->actionAt(pOption->rect.center()));
    // While the menu lays itself out the items have no place yet: found by their text.
    for (const auto& pRecord : pPopup->Items())
    {
        const QAction* pAction = pRecord->pAction;
        if (!pAction ||
            pAction->isSeparator() != (pItem->menuItemType == QStyleOptionMenuItem::Separator))
            continue;
        QString strText = pAction->text();
        if (!pAction->shortcut().isEmpty())
            strText += QLatin1Char('\t') + pAction->shortcut().toString(QKeySequence::NativeText);
        if (pAction->isSeparator() || strText == pItem->text)
            return pRecord.get();
    }
    return nullptr;
}

int COwnerDrawMenuStyle::pixelMetric(PixelMetric metric, const QStyleOption* pOption,
                                     const QWidget* pWidget) const
{
    switch (metric)
    {
    case PM_MenuPanelWidth:
        return 3;
    case PM_MenuHMargin:
    case PM_MenuVMargin:
        return 0;
    default:
        return QProxyStyle::pixelMetric(metric, pOption, pWidget);
    }
}

QSize COwnerDrawMenuStyle::sizeFromContents(ContentsType type, const QStyleOption* pOption,
                                            const QSize& size, const QWidget* pWidget) const
{
    if (type != CT_MenuItem)
        return QProxyStyle::sizeFromContents(type, pOption, size, pWidget);
    const OwnerDrawMenuItem* pItem = ItemOf(pOption, pWidget, false);
    if (!pItem)
        return QProxyStyle::sizeFromContents(type, pOption, size, pWidget);
    QSize measured = m_menu.MeasureItem(*pItem);
    // An item measured empty would be left out of the menu.
    measured.setWidth(std::max(1, measured.width()));
    // The menu adds a column as wide as the widest accelerator to every item itself.
    const QString strAccelerator = pItem->strText.section(QLatin1Char('\t'), 1);
    if (!strAccelerator.isEmpty())
        measured.rwidth() -= QFontMetrics(MenuFont()).horizontalAdvance(strAccelerator);
    return measured;
}

void COwnerDrawMenuStyle::drawControl(ControlElement element, const QStyleOption* pOption,
                                      QPainter* pPainter, const QWidget* pWidget) const
{
    const auto* pMenuItem = qstyleoption_cast<const QStyleOptionMenuItem*>(pOption);
    const OwnerDrawMenuItem* pItem =
        element == CE_MenuItem && pMenuItem ? ItemOf(pOption, pWidget, true) : nullptr;
    if (!pItem)
    {
        if (element == CE_MenuEmptyArea || element == CE_MenuItem)
        {
            pPainter->fillRect(pOption->rect, GetSysColor(COLOR_MENU));
            return;
        }
        QProxyStyle::drawControl(element, pOption, pPainter, pWidget);
        return;
    }
    pPainter->save();
    m_menu.DrawItem(*pPainter, *pMenuItem, *pItem);
    pPainter->restore();
}

void COwnerDrawMenuStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* pOption,
                                        QPainter* pPainter, const QWidget* pWidget) const
{
    switch (element)
    {
    case PE_FrameMenu:
        Draw3dFrame3(*pPainter, pOption->rect, COLOR_3DLIGHT, COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT,
                     COLOR_BTNSHADOW, COLOR_MENU, COLOR_MENU);
        return;
    case PE_PanelMenu:
        pPainter->fillRect(pOption->rect, GetSysColor(COLOR_MENU));
        return;
    default:
        QProxyStyle::drawPrimitive(element, pOption, pPainter, pWidget);
    }
}
