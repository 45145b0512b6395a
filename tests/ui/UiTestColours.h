#pragma once

#include <QImage>
#include <QPalette>
#include <QWidget>
#include <ostream>

#include "SystemLook.h"

// A palette whose system colours all differ, so every pixel names the colour it was given.
inline QPalette TestPalette()
{
    QPalette palette;
    palette.setColor(QPalette::Button, QColor(0xc0, 0xc0, 0xc0));   // BTNFACE
    palette.setColor(QPalette::Light, QColor(0xff, 0xff, 0xff));    // BTNHIGHLIGHT
    palette.setColor(QPalette::Midlight, QColor(0xdf, 0xdf, 0xdf)); // 3DLIGHT
    palette.setColor(QPalette::Dark, QColor(0x80, 0x80, 0x80));     // BTNSHADOW
    palette.setColor(QPalette::Shadow, QColor(0x10, 0x10, 0x10));   // 3DDKSHADOW
    palette.setColor(QPalette::Base, QColor(0xf8, 0xf8, 0xf8));     // WINDOW
    palette.setColor(QPalette::Window, QColor(0xd4, 0xd0, 0xc8));   // MENU
    palette.setColor(QPalette::WindowText, QColor(0, 0, 0));        // MENUTEXT
    palette.setColor(QPalette::Text, QColor(0, 0, 0));
    palette.setColor(QPalette::ButtonText, QColor(0, 0, 0));
    palette.setColor(QPalette::Highlight, QColor(0x0a, 0x24, 0x6a));
    palette.setColor(QPalette::HighlightedText, QColor(0xfe, 0xfe, 0xfe));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0x6d, 0x6d, 0x6d)); // GRAYTEXT
    return palette;
}

// The name of the system colour a pixel has, or its hex value when it is none of them.
inline QString ColourAt(const QImage& image, int x, int y)
{
    const QRgb rgb = image.pixel(x, y) | 0xFF000000u;
    const std::pair<int, const char*> names[] = {{COLOR_BTNFACE, "BTNFACE"},
                                                 {COLOR_BTNHIGHLIGHT, "BTNHIGHLIGHT"},
                                                 {COLOR_3DLIGHT, "3DLIGHT"},
                                                 {COLOR_BTNSHADOW, "BTNSHADOW"},
                                                 {COLOR_3DDKSHADOW, "3DDKSHADOW"},
                                                 {COLOR_WINDOW, "WINDOW"},
                                                 {COLOR_MENU, "MENU"},
                                                 {COLOR_HIGHLIGHT, "HIGHLIGHT"},
                                                 {COLOR_GRAYTEXT, "GRAYTEXT"}};
    for (const auto& [nIndex, pName] : names)
        if (GetSysColor(nIndex).rgb() == rgb)
            return QString::fromLatin1(pName);
    return QColor(rgb).name();
}

inline QImage Grab(QWidget& widget)
{
    return widget.grab().toImage();
}

inline void PrintTo(const QString& text, std::ostream* pOut)
{
    *pOut << text.toStdString();
}
