#include "quote/core/NewsWalk.h"

#include <QUrl>

using namespace Qt::StringLiterals;

QList<NewsEntry> NewsWalk::walk(const DomSnapshot &document)
{
    static const QString endMarker = u"已结束"_s;
    QList<NewsEntry> entries;
    for (const DomElement &element : document) {
        if (element.tagName.toUpper() != "INPUT"_L1)
            continue;
        const QString expected = u"news"_s + QString::number(entries.size() + 1);
        if (element.name.toLower() == expected)
            entries.append({element.value, element.attribute(u"mysrc"_s)});
        if (element.value == endMarker || entries.size() == maxEntries)
            break;
    }
    return entries;
}

bool NewsWalk::isOpenableWebLink(const QString &link)
{
    // The text itself must begin with the scheme, so that no leading blank or
    // control lets a desktop handler read it differently; the rest is parsed
    // as the shell opener parses it.
    if (!link.startsWith("http://"_L1, Qt::CaseInsensitive) &&
        !link.startsWith("https://"_L1, Qt::CaseInsensitive))
        return false;
    const QUrl url(link, QUrl::TolerantMode);
    return url.isValid() && (url.scheme() == "http"_L1 || url.scheme() == "https"_L1) &&
           !url.host().isEmpty();
}
