#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPointF>
#include <QRectF>

// Shapes and colours shared by the icons, the program icon and the splash picture.
namespace IconArt
{
// One palette for every image, so the toolbars, lists and splash belong together.
inline const QColor kOutline{0x2d, 0x3b, 0x4c};
inline const QColor kPaper{0xfd, 0xfd, 0xfa};
inline const QColor kPaperShade{0xdc, 0xe2, 0xe9};
inline const QColor kPaperLine{0x9d, 0xab, 0xba};
inline const QColor kFolderDark{0xc9, 0x87, 0x1f};
inline const QColor kFolderLight{0xff, 0xd2, 0x6e};
inline const QColor kFolderOutline{0x8a, 0x58, 0x10};
inline const QColor kArrow{0x2f, 0xa3, 0x5c};
inline const QColor kArrowOutline{0x1a, 0x62, 0x35};
inline const QColor kNavy{0x1b, 0x33, 0x5e};
inline const QColor kNavyDeep{0x0b, 0x14, 0x2b};
inline const QColor kSky{0x5d, 0xa9, 0xf0};
inline const QColor kAmber{0xff, 0xbf, 0x3f};
inline const QColor kSteelLight{0xd5, 0xdd, 0xe6};
inline const QColor kSteelDark{0x74, 0x84, 0x95};

// A transparent image of size * scale pixels and a painter that draws on it in logical
// pixels.
QImage MakeCanvas(int nWidth, int nHeight, int nScale);
void BeginPainting(QPainter& painter, QImage& image, int nScale);

// A sheet of paper with a folded top-right corner; rect in whole pixels.
void DrawPage(QPainter& painter, const QRect& rect, int nFold, bool bLines);
// A closed folder filling rect.
void DrawFolder(QPainter& painter, const QRect& rect);
// A short arrow that leaves rightwards at the top and turns down: the "goes into" arrow of
// the extraction buttons. tip is the pixel the point reaches.
void DrawBentArrow(QPainter& painter, QPoint from, QPoint tip);
// A planet with a tilted ring; the back of the ring passes behind it.
void DrawRingedPlanet(QPainter& painter, QPointF centre, qreal radius, qreal ringWidth);
// A small archive crate: a box with a lid and a strap.
void DrawCrate(QPainter& painter, const QRectF& rect, qreal outline);
// A field of stars, the same every time for the same seed.
void DrawStars(QPainter& painter, const QRectF& area, int nCount, unsigned nSeed, qreal maxRadius);
} // namespace IconArt
