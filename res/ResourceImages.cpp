#include "ResourceImages.h"

#include <QResource>

#include <functional>
#include <map>

#include "CDrawnIconEngine.h"
#include "CommandIds.h"
#include "images/ImagePainters.h"

namespace
{
// A button icon: drawn at 1x now, to know that the id has a picture and its size; the rest
// when first shown.
QIcon ButtonIcon(const std::function<QImage(int nScale)>& paint)
{
    const QImage picture = paint(1);
    if (picture.isNull())
    {
        return {};
    }
    return QIcon(new CDrawnIconEngine(paint, picture));
}

template <typename T>
const T& Cached(std::map<int, T>& cache, int id, const std::function<T()>& make)
{
    auto it = cache.find(id);
    if (it == cache.end())
    {
        it = cache.emplace(id, make()).first;
    }
    return it->second;
}
} // namespace

QPixmap ResourceBitmap(int resourceId)
{
    static std::map<int, QPixmap> cache;
    return Cached<QPixmap>(cache, resourceId,
                           [resourceId]() -> QPixmap
                           {
                               switch (resourceId)
                               {
                               case IDB_SPLASH:
                               case IDB_SPLASH_VERSION:
                                   return QPixmap::fromImage(ResourceImage(resourceId));
                               default:
                               {
                                   const QImage image = PaintListImage(resourceId, 1);
                                   return image.isNull() ? QPixmap() : QPixmap::fromImage(image);
                               }
                               }
                           });
}

QImage ResourceImage(int resourceId)
{
    QString path;
    QSize size;
    if (resourceId == IDB_SPLASH)
    {
        path = QStringLiteral(":/splash/splash.rgb");
        size = QSize(421, 261);
    }
    else if (resourceId == IDB_SPLASH_VERSION)
    {
        path = QStringLiteral(":/splash/splash-version.rgb");
        size = QSize(145, 16);
    }
    else
        return {};
    const QResource resource(path);
    const QByteArray bytes = resource.uncompressedData();
    const qsizetype nStride = RawPictureStride(size.width());
    if (bytes.size() != nStride * size.height())
        return {};
    const auto* pPixels = reinterpret_cast<const uchar*>(bytes.constData());
    const QImage stored(pPixels, size.width(), size.height(), nStride, kRawPictureFormat);
    // Stored uncompressed, the rows lie in the program's read-only data for the whole run
    // and are shown from there: nothing to decode, nothing to copy before the first paint.
    const bool bInPlace = resource.compressionAlgorithm() == QResource::NoCompression &&
                          reinterpret_cast<quintptr>(pPixels) % 4 == 0;
    return bInPlace ? stored : stored.copy();
}

QIcon MainToolbarIcon(int commandId)
{
    static std::map<int, QIcon> cache;
    return Cached<QIcon>(cache, commandId,
                         [commandId]()
                         {
                             return ButtonIcon(
                                 [commandId](int nScale)
                                 { return PaintMainToolbarImage(commandId, nScale); });
                         });
}

QIcon PreviewToolbarIcon(int commandId)
{
    static std::map<int, QIcon> cache;
    return Cached<QIcon>(cache, commandId,
                         [commandId]()
                         {
                             return ButtonIcon(
                                 [commandId](int nScale)
                                 { return PaintPreviewToolbarImage(commandId, nScale); });
                         });
}

QIcon ToolbarExtensionIcon(Qt::Orientation orientation)
{
    const bool bVertical = orientation == Qt::Vertical;
    static std::map<int, QIcon> cache;
    return Cached<QIcon>(cache, bVertical ? 1 : 0,
                         [bVertical]()
                         {
                             return QIcon(new CDrawnIconEngine(
                                 [bVertical](int nScale)
                                 { return PaintToolbarExtensionImage(bVertical, nScale); },
                                 QSize(8, 8)));
                         });
}

QIcon ApplicationIcon()
{
    static const QIcon icon = []()
    {
        QIcon result;
        for (int nSize : {16, 22, 24, 32, 48, 64, 128, 256})
        {
            result.addPixmap(QPixmap::fromImage(PaintApplicationIconImage(nSize)));
        }
        return result;
    }();
    return icon;
}
