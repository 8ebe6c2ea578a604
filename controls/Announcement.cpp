#include "controls/Announcement.h"

#include <QAccessible>
#include <QString>

void Announcement::announce(QObject *source, const QString &text)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QAccessibleAnnouncementEvent event(source, text);
    QAccessible::updateAccessibility(&event);
#else
    Q_UNUSED(source);
    Q_UNUSED(text);
#endif
}
