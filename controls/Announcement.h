#pragma once

class QObject;
class QString;

namespace Announcement {
// Tells assistive technology what just happened away from the focus, in
// text it reads out (a result, a field switched on). Qt has such
// announcements from 6.8 on; with an older Qt they are not sent.
void announce(QObject *source, const QString &text);
} // namespace Announcement
