#pragma once

#include <QCursor>
#include <QIcon>
#include <QPixmap>
#include <QStringList>

class QEvent;

// The program's pictures at the pixel ratio of the screen they show on. Beside
// each resource name.png lie name@2x.png and name@3x.png; a picture is drawn
// from the smallest of them with at least the screen's pixels and, at a ratio
// in between (1.25, 1.5), scaled down to exactly the screen's pixels.
namespace Artwork {
QPixmap pixmap(const QString &resource, qreal ratio);
// Starts drawing pictures for pixmap() on a thread of their own, in the order
// given, so that a window built meanwhile finds them drawn.
void prefetch(const QStringList &resources, qreal ratio);
// A cursor showing a picture from pixmap(); hotSpot is in its natural (1x) pixels.
QCursor cursor(const QPixmap &picture, QPoint hotSpot);
// A picture in its sizes up to the largest ratio of the screens, for a window icon.
QIcon icon(const QString &resource);
// Starts drawing the sizes of icon(), as prefetch() does.
void prefetchIcon(const QString &resource);
// Whether the event tells a widget that its screen, and so perhaps its pixel ratio, changed.
bool isScreenChange(const QEvent *event);
} // namespace Artwork
