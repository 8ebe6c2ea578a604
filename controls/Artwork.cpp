#include "controls/Artwork.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QImageReader>
#include <QThreadPool>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <future>
#include <memory>
#include <utility>

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

// Each size of an icon costs start-up time; those beyond the largest ratio of
// the screens would serve only a window manager that scales icons up.
int largestIconScale()
{
    return scaleFor(qGuiApp->devicePixelRatio());
}

// Reads a picture by its suffix's format alone. Left to find the format, the
// reader first has every installed image plugin say whether it reads it,
// loading each (Qt's PDF one brings in a network stack), even for the PNG
// pictures that it reads itself.
QImage read(const QString &file)
{
    QImageReader reader(file, QFileInfo(file).suffix().toLatin1());
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

// Draws the picture for the ratio; safe on any thread.
QImage render(const QString &resource, qreal ratio)
{
    for (int scale = scaleFor(ratio); scale >= 1; --scale) {
        QImage image = read(variant(resource, scale));
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
        return image;
    }
    return {};
}

QString keyOf(const QString &resource, qreal ratio)
{
    return resource + u' ' + QString::number(ratio);
}

// Every window shows the same background, so the windows share one copy of
// each picture and ratio; the copies go with the application object.
QHash<QString, QPixmap> cache;
// A picture queued for the prefetch thread. Whoever claims it first draws
// it: the thread, or pixmap() when it is wanted before the thread got to it.
struct Prefetch
{
    QString resource;
    qreal ratio = 1;
    std::atomic_bool claimed = false;
    std::promise<QImage> drawn;
    std::shared_future<QImage> image = drawn.get_future().share();
};
// Pictures queued or drawn ahead, until pixmap() takes them.
QHash<QString, std::shared_ptr<Prefetch>> pending;
QThreadPool *prefetchThread = nullptr;
bool clearsWithApplication = false;

void clearCache()
{
    if (prefetchThread)
        prefetchThread->waitForDone();
    delete std::exchange(prefetchThread, nullptr);
    pending.clear();
    cache.clear();
    clearsWithApplication = false;
}

void clearWithApplication()
{
    if (!std::exchange(clearsWithApplication, true))
        qAddPostRoutine(clearCache);
}
} // namespace

QPixmap Artwork::pixmap(const QString &resource, qreal ratio)
{
    const QString key = keyOf(resource, ratio);
    auto it = cache.find(key);
    if (it == cache.end()) {
        clearWithApplication();
        const std::shared_ptr<Prefetch> ahead = pending.take(key);
        QImage image = ahead && ahead->claimed.exchange(true) ? ahead->image.get() : render(resource, ratio);
        it = cache.insert(key, QPixmap::fromImage(std::move(image)));
    }
    return *it;
}

void Artwork::prefetch(const QStringList &resources, qreal ratio)
{
    clearWithApplication();
    if (!prefetchThread) {
        // One thread, which draws the pictures in the order asked for.
        prefetchThread = new QThreadPool;
        prefetchThread->setMaxThreadCount(1);
    }
    for (const QString &resource : resources) {
        const QString key = keyOf(resource, ratio);
        if (cache.contains(key) || pending.contains(key))
            continue;
        auto picture = std::make_shared<Prefetch>();
        picture->resource = resource;
        picture->ratio = ratio;
        pending.insert(key, picture);
        prefetchThread->start([picture] {
            if (!picture->claimed.exchange(true))
                picture->drawn.set_value(render(picture->resource, picture->ratio));
        });
    }
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
    QIcon icon;
    for (int scale = 1; scale <= largestIconScale(); ++scale)
        icon.addPixmap(pixmap(resource, scale));
    return icon;
}

void Artwork::prefetchIcon(const QString &resource)
{
    for (int scale = 1; scale <= largestIconScale(); ++scale)
        prefetch({resource}, scale);
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
