#pragma once

#include <QRect>
#include <optional>
#include <vector>

// What the frame remembers of its layout from one run to the next, per user, in the key
// "Window" below the program's settings key.
struct WindowLayout
{
    QRect geometry; // not maximised
    bool bMaximized = false;
    int nLeftWidth = 0;
    int nTreeHeight = 0;
    std::vector<int> aVpColumns; // empty: none stored
    std::vector<int> aVppColumns;

    // The window and both splitter panes fit on that available area of a screen.
    bool Fits(const QRect& available) const;

    // Nothing before a first end of the program.
    static std::optional<WindowLayout> Load();
    void Save() const;
};
