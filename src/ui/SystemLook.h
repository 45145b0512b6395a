#pragma once

#include <QColor>
#include <QFont>

// The Windows system colour indices the look is specified in, mapped onto the application
// palette.
enum SysColor : int
{
    COLOR_MENU = 4,
    COLOR_WINDOW = 5,
    COLOR_MENUTEXT = 7,
    COLOR_HIGHLIGHT = 13,
    COLOR_HIGHLIGHTTEXT = 14,
    COLOR_BTNFACE = 15,
    COLOR_3DFACE = 15,
    COLOR_BTNSHADOW = 16,
    COLOR_GRAYTEXT = 17,
    COLOR_BTNHIGHLIGHT = 20,
    COLOR_3DDKSHADOW = 21,
    COLOR_3DLIGHT = 22,
};

enum SysMetric : int
{
    SM_CXHSCROLL = 21,
    SM_CXHTHUMB = 10,
    SM_CYMENU = 15,
    SM_CXEDGE = 45,
};

QColor GetSysColor(int nIndex);

// Sizes in pixels; the menu line follows the menu font.
int GetSystemMetrics(int nIndex);

// The font menus are measured and drawn in.
QFont MenuFont();
