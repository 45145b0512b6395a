#pragma once

#include <QList>
#include <QPixmap>
#include <optional>

// A toolbar resource for menus: its button commands (0 for a separator) and one bitmap
// with a 16 x 15 cell per button that has an image, in button order.
struct ToolbarResource
{
    QList<int> aButtons;
    QPixmap bitmap;
    int nCellX = 16;
    int nCellY = 15;

    // The image number of a command, -1 when the toolbar has no button for it.
    int ImageOf(int nCommand) const;
};

// Nothing for an unknown toolbar id. GUI thread only.
std::optional<ToolbarResource> LoadToolbarResource(int nToolbarId);
