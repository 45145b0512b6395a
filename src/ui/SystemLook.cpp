#include "SystemLook.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPalette>
#include <algorithm>

QColor GetSysColor(int nIndex)
{
    const QPalette palette = QApplication::palette();
    switch (nIndex)
    {
    case COLOR_MENU:
        return palette.color(QPalette::Active, QPalette::Window);
    case COLOR_MENUTEXT:
        return palette.color(QPalette::Active, QPalette::WindowText);
    case COLOR_WINDOW:
        return palette.color(QPalette::Active, QPalette::Base);
    case COLOR_HIGHLIGHT:
        return palette.color(QPalette::Active, QPalette::Highlight);
    case COLOR_HIGHLIGHTTEXT:
        return palette.color(QPalette::Active, QPalette::HighlightedText);
    case COLOR_BTNFACE:
        return palette.color(QPalette::Active, QPalette::Button);
    case COLOR_BTNSHADOW:
        return palette.color(QPalette::Active, QPalette::Dark);
    case COLOR_GRAYTEXT:
        return palette.color(QPalette::Disabled, QPalette::Text);
    case COLOR_BTNHIGHLIGHT:
        return palette.color(QPalette::Active, QPalette::Light);
    case COLOR_3DDKSHADOW:
        return palette.color(QPalette::Active, QPalette::Shadow);
    case COLOR_3DLIGHT:
        return palette.color(QPalette::Active, QPalette::Midlight);
    default:
        return palette.color(QPalette::Active, QPalette::Window);
    }
}

int GetSystemMetrics(int nIndex)
{
    switch (nIndex)
    {
    case SM_CXHSCROLL:
    case SM_CXHTHUMB:
        return 16;
    case SM_CXEDGE:
        return 2;
    case SM_CYMENU:
        // A menu bar line: the font's height with the margins Windows gives it, never
        // below the 19 pixels of Tahoma 8.
        return std::max(19, QFontMetrics(MenuFont()).height() + 5);
    default:
        return 0;
    }
}

QFont MenuFont()
{
    return QApplication::font("QMenu");
}
