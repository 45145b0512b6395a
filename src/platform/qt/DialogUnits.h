#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

// Layouts given in dialog units, converted as Windows converts them: from the dialog font's
// average character width and its height (x * width / 4, y * height / 8).

// "Tahoma" at a point size; where it is not installed the platform's sans-serif of the same
// size stands in.
QFont TahomaFont(int nPointSize);

// The dialog base units of a font: average character width and character height.
QSize DialogBaseUnits(const QFont& font);

// A rectangle of a dialog layout in pixels.
QRect DialogRect(const QSize& base, int x, int y, int cx, int cy);

// Pixel widths made to hold text in 8-point Tahoma, scaled by how much wider the given
// font's average character is, so that the texts they held whole still fit.
double TextWidthScale(const QFont& font);
int ScaleTextWidth(int nPixels, const QFont& font);
