#include "DialogUnits.h"

#include <QFontMetrics>
#include <QString>
#include <algorithm>
#include <cmath>

QFont TahomaFont(int nPointSize)
{
    QFont font(QStringLiteral("Tahoma"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(nPointSize);
    return font;
}

QSize DialogBaseUnits(const QFont& font)
{
    const QFontMetrics metrics(font);
    const int cx = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {(cx / 26 + 1) / 2, metrics.height()};
}

QRect DialogRect(const QSize& base, int x, int y, int cx, int cy)
{
    return {x * base.width() / 4, y * base.height() / 8, cx * base.width() / 4,
            cy * base.height() / 8};
}

double TextWidthScale(const QFont& font)
{
    // Average width of the 52 letters in 8-point Tahoma on the 96-dpi screens the pixel
    // widths were made for.
    constexpr double kTahoma8AverageWidth = 5.5;
    const QFontMetricsF metrics(font);
    const double average = metrics.horizontalAdvance(QStringLiteral(
                               "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
                           52.0;
    // A narrower font keeps the widths as they are: texts never get less room.
    return std::max(1.0, average / kTahoma8AverageWidth);
}

int ScaleTextWidth(int nPixels, const QFont& font)
{
    return static_cast<int>(std::ceil(nPixels * TextWidthScale(font)));
}
