#pragma once

#include <QPixmap>
#include <QPointer>
#include <QString>

#include <QAction>

// Menu flags an item was last given.
enum MenuFlag : unsigned
{
    MF_GRAYED = 0x1,
    MF_DISABLED = 0x2,
    MF_CHECKED = 0x8,
    MF_POPUP = 0x10,
    MF_OWNERDRAW = 0x100,
    MF_BYPOSITION = 0x400,
    MF_SEPARATOR = 0x800,
};

// The record of one owner-drawn menu item.
struct OwnerDrawMenuItem
{
    QString strText;           // "&" marks the mnemonic, a tab leads the accelerator text
    int nImage = -1;           // button of the image source, -1 for none
    int nImageSource = -1;     // toolbar that supplies the image, -1 for none
    unsigned nFlags = 0;       // MenuFlag bits
    unsigned nID = 0;          // command id; 0 for separators and popups
    bool bSeen = false;        // marker while re-synchronising
    QPixmap pImages;           // the toolbar's buttons side by side
    QPointer<QAction> pAction; // the item in its menu
};
