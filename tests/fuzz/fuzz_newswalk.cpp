// The news walk over an element list made from the bytes, and the check that
// decides which headline links may go to the desktop.
#include "FuzzSupport.h"

#include "quote/core/NewsWalk.h"

#include <QUrl>

using namespace Qt::StringLiterals;

namespace {
const QStringView tags[] = {u"INPUT", u"input", u"Input", u"DIV", u"A", u""};
const QStringView values[] = {u"已结束", u"标题", u""};
const QStringView links[] = {u"http://h/1",     u"https://a.b/c?d=1", u"HTTP://X", u"file:///etc/passwd",
                             u"javascript:x",   u" http://x",         u"http://",  u"http:///path",
                             u"https://[::1]/", u"http://a b/"};

// "news" and a number near the ten taken, in mixed case, or any other name.
QString consumeName(FuzzedDataProvider &data)
{
    if (data.ConsumeIntegralInRange<int>(0, 4) == 0)
        return FuzzSupport::consumeText(data, 16);
    QString name = u"news"_s + QString::number(data.ConsumeIntegralInRange<int>(0, 13));
    for (QChar &c : name) {
        if (data.ConsumeIntegralInRange<int>(0, 7) == 0)
            c = c.toUpper();
    }
    return name;
}

DomSnapshot consumeDocument(FuzzedDataProvider &data)
{
    DomSnapshot document;
    while (data.remaining_bytes() > 0 && document.size() < 200) {
        DomElement element;
        element.tagName = FuzzSupport::consumeChoiceOrText(data, tags);
        element.name = consumeName(data);
        element.value = FuzzSupport::consumeChoiceOrText(data, values);
        if (data.ConsumeBool())
            element.attributes.insert(u"name"_s, element.name);
        if (data.ConsumeIntegralInRange<int>(0, 3) != 0)
            element.attributes.insert(u"mysrc"_s, FuzzSupport::consumeChoiceOrText(data, links));
        document.append(element);
    }
    return document;
}

void checkLink(const QString &link)
{
    if (!NewsWalk::isOpenableWebLink(link))
        return;
    FUZZ_CHECK(link.startsWith("http://"_L1, Qt::CaseInsensitive) ||
                   link.startsWith("https://"_L1, Qt::CaseInsensitive),
               link);
    // What the desktop opener makes of it must still be a web address with a host.
    const QUrl url(link, QUrl::TolerantMode);
    FUZZ_CHECK(url.isValid() && (url.scheme() == "http"_L1 || url.scheme() == "https"_L1) &&
                   !url.host().isEmpty(),
               link);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    FuzzedDataProvider data(bytes, size);
    const QString loneLink = FuzzSupport::consumeChoiceOrText(data, links);
    checkLink(loneLink);

    const DomSnapshot document = consumeDocument(data);
    const QList<NewsEntry> entries = NewsWalk::walk(document);
    FUZZ_CHECK(entries.size() <= NewsWalk::maxEntries, QString::number(entries.size()));

    // Entry k is an INPUT named news<k+1> that comes after entry k-1, and no
    // end marker comes before the last entry taken.
    qsizetype at = -1;
    for (qsizetype k = 0; k < entries.size(); ++k) {
        const QString name = u"news"_s + QString::number(k + 1);
        qsizetype i = at + 1;
        while (i < document.size() &&
               !(document.at(i).tagName.toUpper() == "INPUT"_L1 && document.at(i).name.toLower() == name))
            ++i;
        FUZZ_CHECK(i < document.size(), name + u" taken but not in the document"_s);
        const DomElement &element = document.at(i);
        FUZZ_CHECK(entries.at(k).headline == element.value &&
                       entries.at(k).link == element.attribute(u"mysrc"_s),
                   name);
        for (qsizetype j = 0; j < i; ++j) {
            FUZZ_CHECK(!(document.at(j).tagName.toUpper() == "INPUT"_L1 && document.at(j).value == u"已结束"),
                       name + u" taken after the end marker"_s);
        }
        at = i;
        checkLink(entries.at(k).link);
    }
    return 0;
}
