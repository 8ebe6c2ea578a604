#pragma once

#include "platform/core/DomElement.h"

#include <QList>
#include <QString>

// One headline of the news page: the text shown in a news label and the link
// its click opens.
struct NewsEntry
{
    QString headline;
    QString link;

    friend bool operator==(const NewsEntry &, const NewsEntry &) = default;
};

namespace NewsWalk {
inline constexpr int maxEntries = 10;

// The headlines of a news page, in label order. Headlines are INPUT elements
// named news1, news2, ... in sequence (an out-of-turn entry is skipped), the
// value is the text and the "mysrc" attribute the link; the first INPUT whose
// value is "已结束" ends the walk, after it was itself taken if it was the
// expected entry. At most maxEntries are taken.
QList<NewsEntry> walk(const DomSnapshot &document);

// Whether a link from a web page may be handed to the desktop: only absolute
// http and https URLs with a host. Local paths, file:, javascript: and any
// other scheme could start a program or open a local file.
bool isOpenableWebLink(const QString &link);
} // namespace NewsWalk
