#pragma once

#include <QRect>

// The frame's first size and place and its two splitter panes. The pixel sizes were made for
// 8-point Tahoma, as the list's columns were; all of them grow by the same factor so that a
// wider platform font does not leave the list too narrow for its own columns.
struct FramePlacement
{
    QRect geometry;
    int nLeftWidth = 0;  // the column of the tree and the preview area
    int nTreeHeight = 0; // the tree above the preview area
};

// On the available area of a screen, with the factor of the list's font against Tahoma 8.
// nListNeeds is the width the file list needs to show its columns whole; the left column
// gives way to it (never below its unscaled width) where the screen is too narrow for both.
FramePlacement InitialPlacement(const QRect& available, double dScale, int nListNeeds);
