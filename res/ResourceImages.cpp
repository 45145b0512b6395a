#include "ResourceImages.h"

#include <functional>
#include <map>

#include "CommandIds.h"
#include "images/ImagePainters.h"

namespace
{
QPixmap ToPixmap(QImage image, int nScale)
{
    image.setDevicePixelRatio(nScale);
    return QPixmap::fromImage(image);
}

// A button icon: the image at 1x and 2x, each also greyed for the Disabled mode.
QIcon ButtonIcon(const std::function<QImage(int nScale)>& paint)
{
    if (paint(1).isNull())
    {
        return {};
    }
    QIcon icon;
    for (int nScale : {1, 2})
    {
        const QImage image = paint(nScale);
        icon.addPixmap(ToPixmap(image, nScale), QIcon::Normal);
        icon.addPixmap(ToPixmap(GreyedImage(image), nScale), QIcon::Disabled);
    }
    return icon;
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
                                   return QPixmap(QStringLiteral(":/splash/splash.png"));
                               case IDB_SPLASH_VERSION:
                                   return QPixmap(QStringLiteral(":/splash/splash-version.png"));
                               default:
                               {
                                   const QImage image = PaintListImage(resourceId, 1);
                                   return image.isNull() ? QPixmap() : QPixmap::fromImage(image);
                               }
                               }
                           });
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
