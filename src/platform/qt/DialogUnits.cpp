#include "DialogUnits.h"

#include <QFontMetrics>
#include <QString>

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
