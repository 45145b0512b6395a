#pragma once

#include <QImage>

// The program's artwork, drawn in code. Small images are laid out on their pixel grid and
// painted at an integer scale, so they stay crisp at 1x and at 2x.

// 16 x 16 file list pictures; null for an unknown id.
QImage PaintListImage(int resourceId, int scale);
// 22 x 22 main toolbar buttons; null for an unknown id.
QImage PaintMainToolbarImage(int commandId, int scale);
// 16 x 15 preview toolbar buttons; null for an unknown id.
QImage PaintPreviewToolbarImage(int commandId, int scale);
// 8 x 8 double chevron of a toolbar's or menu bar's extension button: pointing right for
// a horizontal bar, down for a vertical one.
QImage PaintToolbarExtensionImage(bool bVertical, int scale);
// The program icon at size x size pixels.
QImage PaintApplicationIconImage(int size);
// The 421 x 261 splash picture and the 145 x 16 version label that lies over it.
QImage PaintSplashImage();
QImage PaintSplashVersionImage();
// How the splash pictures are stored: the rows of an RGB888 image, each padded to a
// multiple of 4 bytes as QImage keeps them, so that the program reads them in place.
constexpr QImage::Format kRawPictureFormat = QImage::Format_RGB888;
constexpr qsizetype RawPictureStride(int nWidth)
{
    return (qsizetype{nWidth} * 3 + 3) / 4 * 4;
}

// The look of a disabled button: grey, light and faded, transparency kept.
QImage GreyedImage(const QImage& image);
