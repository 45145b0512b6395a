#include "CDrawnIconEngine.h"

#include <QPainter>

#include "images/ImagePainters.h"

CDrawnIconEngine::CDrawnIconEngine(Painter paint, const QImage& picture1x)
    : m_paint(std::move(paint)), m_size(picture1x.size())
{
    m_pictures1x2x[0] = picture1x;
}

CDrawnIconEngine::CDrawnIconEngine(Painter paint, QSize size)
    : m_paint(std::move(paint)), m_size(size)
{
}

QSize CDrawnIconEngine::actualSize(const QSize& size, QIcon::Mode, QIcon::State)
{
    // Never larger than drawn, the shape kept, as for icons made of pixmaps.
    if (m_size.width() <= size.width() && m_size.height() <= size.height())
        return m_size;
    return m_size.scaled(size, Qt::KeepAspectRatio);
}

QPixmap CDrawnIconEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state)
{
    return scaledPixmap(size, mode, state, 1.0);
}

QPixmap CDrawnIconEngine::scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                                       qreal scale)
{
    const int nScale = scale > 1.0 ? 2 : 1;
    const QPixmap& picture = Picture(nScale, mode == QIcon::Disabled);
    const QSize target = actualSize(size, mode, state);
    if (target == m_size)
        return picture;
    QPixmap reduced =
        picture.scaled(target * nScale, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    reduced.setDevicePixelRatio(nScale);
    return reduced;
}

void CDrawnIconEngine::paint(QPainter* pPainter, const QRect& rect, QIcon::Mode mode,
                             QIcon::State state)
{
    const qreal scale = pPainter->device() ? pPainter->device()->devicePixelRatioF() : 1.0;
    const QPixmap picture = scaledPixmap(rect.size(), mode, state, scale);
    const QSize size = picture.deviceIndependentSize().toSize();
    const QRect placed(rect.x() + (rect.width() - size.width()) / 2,
                       rect.y() + (rect.height() - size.height()) / 2, size.width(),
                       size.height());
    pPainter->drawPixmap(placed, picture);
}

QList<QSize> CDrawnIconEngine::availableSizes(QIcon::Mode, QIcon::State)
{
    return {m_size};
}

QIconEngine* CDrawnIconEngine::clone() const
{
    return new CDrawnIconEngine(*this);
}

QString CDrawnIconEngine::key() const
{
    return QStringLiteral("CDrawnIconEngine");
}

const QPixmap& CDrawnIconEngine::Picture(int nScale, bool bDisabled)
{
    QPixmap& pixmap = m_pixmaps[static_cast<std::size_t>((nScale - 1) * 2 + (bDisabled ? 1 : 0))];
    if (pixmap.isNull())
    {
        QImage& picture = m_pictures1x2x[static_cast<std::size_t>(nScale - 1)];
        if (picture.isNull())
            picture = m_paint(nScale);
        QImage image = bDisabled ? GreyedImage(picture) : picture;
        image.setDevicePixelRatio(nScale);
        pixmap = QPixmap::fromImage(image);
    }
    return pixmap;
}
