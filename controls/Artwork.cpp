#include "controls/Artwork.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QHash>
#include <QImage>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {
constexpr int largestScale = 3;

QString variant(const QString &resource, int scale)
{
    if (scale == 1)
        return resource;
    const qsizetype dot = resource.lastIndexOf(u'.');
    return resource.left(dot) + u'@' + QString::number(scale) + u'x' + resource.mid(dot);
}

// The smallest picture size with at least the pixels of the ratio; the
// tolerance keeps a ratio such as 2.0000001 on the @2x picture.
int scaleFor(qreal ratio)
{
    return std::clamp(int(std::ceil(ratio - 1e-6)), 1, largestScale);
}

QPixmap render(const QString &resource, qreal ratio)
{
    for (int scale = scaleFor(ratio); scale >= 1; --scale) {
        QImage image(variant(resource, scale));
        if (image.isNull())
            continue; // a picture without larger sizes is stretched, as before
        if (!qFuzzyCompare(qreal(scale), ratio)) {
            // Drawn as it is at a ratio in between, the picture would lose
            // whole rows and columns of pixels; scaled smoothly beforehand,
            // it maps one to one onto the screen. Smooth scaling needs 32-bit
            // pixels, which palette pictures do not have.
            const QSize pixels = (QSizeF(image.size()) * (ratio / scale)).toSize();
            image.convertTo(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                    : QImage::Format_RGB32);
            image = image.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        }
        image.setDevicePixelRatio(ratio);
        return QPixmap::fromImage(std::move(image));
    }
    return {};
}

// Every window shows the same background, so the windows share one copy of
// each picture and ratio; the copies go with the application object.
QHash<QString, QPixmap> cache;

void clearCache()
{
    cache.clear();
}
} // namespace

QPixmap Artwork::pixmap(const QString &resource, qreal ratio)
{
    const QString key = resource + u' ' + QString::number(ratio);
    auto it = cache.find(key);
    if (it == cache.end()) {
        if (cache.isEmpty())
            qAddPostRoutine(clearCache);
        it = cache.insert(key, render(resource, ratio));
    }
    return *it;
}

QCursor Artwork::cursor(const QPixmap &picture, QPoint hotSpot)
{
    // The X11 plugin of Qt 6.4 hands the hot spot to the server as it is,
    // where it counts in the picture's own pixels; other platforms scale it
    // by the picture's ratio themselves.
    if (QGuiApplication::platformName() == "xcb"_L1)
        hotSpot = (QPointF(hotSpot) * picture.devicePixelRatio()).toPoint();
    return QCursor(picture, hotSpot.x(), hotSpot.y());
}

QIcon Artwork::icon(const QString &resource)
{
    // Each size costs start-up time; those beyond the largest ratio of the
    // screens would serve only a window manager that scales icons up.
    const int largest = scaleFor(qGuiApp->devicePixelRatio());
    QIcon icon;
    for (int scale = 1; scale <= largest; ++scale)
        icon.addPixmap(pixmap(resource, scale));
    return icon;
}

bool Artwork::isScreenChange(const QEvent *event)
{
    switch (event->type()) {
    case QEvent::ScreenChangeInternal:
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
    case QEvent::DevicePixelRatioChange:
#endif
        return true;
    default:
        return false;
    }
}
