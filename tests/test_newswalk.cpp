#include "quote/core/NewsWalk.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {
DomElement element(const QString &tag, const QString &name, const QString &value, const QString &mysrc = {})
{
    DomElement e{tag, name, value, {}};
    if (!name.isEmpty())
        e.attributes.insert(u"name"_s, name);
    if (!mysrc.isNull())
        e.attributes.insert(u"mysrc"_s, mysrc);
    return e;
}
DomElement input(const QString &name, const QString &value, const QString &mysrc = {})
{
    return element(u"INPUT"_s, name, value, mysrc);
}
DomElement entry(int n)
{
    return input(u"news%1"_s.arg(n), u"标题%1"_s.arg(n), u"http://h/%1"_s.arg(n));
}
DomElement endMarker()
{
    return input(u"end"_s, u"已结束"_s);
}

// The walk's result as "headline|link" lines, so a failure shows what differs.
QStringList lines(const QList<NewsEntry> &entries)
{
    QStringList out;
    for (const NewsEntry &e : entries)
        out.append(e.headline + u'|' + e.link);
    return out;
}
QStringList numbered(std::initializer_list<int> numbers)
{
    QStringList out;
    for (int n : numbers)
        out.append(u"标题%1|http://h/%1"_s.arg(n));
    return out;
}
} // namespace

class TestNewsWalk : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void walk_data()
    {
        QTest::addColumn<DomSnapshot>("document");
        QTest::addColumn<QStringList>("expected");

        const DomElement html = element(u"HTML"_s, {}, {});
        QTest::newRow("empty document") << DomSnapshot{} << QStringList{};
        QTest::newRow("three then end marker")
            << DomSnapshot{html, entry(1), entry(2), entry(3), endMarker(), entry(4)} << numbered({1, 2, 3});
        QTest::newRow("out of turn entry skipped")
            << DomSnapshot{entry(1), entry(3), entry(2), endMarker()} << numbered({1, 2});
        QTest::newRow("repeated entry skipped")
            << DomSnapshot{entry(1), entry(1), entry(2)} << numbered({1, 2});
        QTest::newRow("leading zero is another name")
            << DomSnapshot{input(u"news01"_s, u"x"_s), entry(1)} << numbered({1});
        QTest::newRow("upper-case name taken")
            << DomSnapshot{input(u"NEWS1"_s, u"标题1"_s, u"http://h/1"_s)} << numbered({1});
        QTest::newRow("lower-case tag taken")
            << DomSnapshot{element(u"input"_s, u"news1"_s, u"标题1"_s, u"http://h/1"_s)} << numbered({1});
        QTest::newRow("div named news1 ignored")
            << DomSnapshot{element(u"DIV"_s, u"news1"_s, u"div"_s, u"http://div"_s), entry(1)}
            << numbered({1});
        QTest::newRow("end marker on a div does not stop")
            << DomSnapshot{entry(1), element(u"DIV"_s, {}, u"已结束"_s), entry(2)} << numbered({1, 2});
        QTest::newRow("end marker is exact")
            << DomSnapshot{entry(1), input({}, u"已结束 "_s), input({}, u"结束"_s), entry(2)}
            << numbered({1, 2});
        QTest::newRow("end marker before news1 takes nothing")
            << DomSnapshot{endMarker(), entry(1), entry(2)} << QStringList{};
        QTest::newRow("entry that is the marker is shown and ends")
            << DomSnapshot{entry(1), input(u"news2"_s, u"已结束"_s, u"http://h/2"_s), entry(3)}
            << QStringList{numbered({1}).first(), u"已结束|http://h/2"_s};
        QTest::newRow("skipped entry with marker value still ends")
            << DomSnapshot{entry(1), input(u"news3"_s, u"已结束"_s), entry(2)} << numbered({1});

        DomSnapshot longPage{html};
        for (int i = 0; i < 200; ++i)
            longPage.append(element(u"P"_s, {}, {}));
        longPage.append(entry(1));
        longPage.append(entry(2));
        QTest::newRow("no marker walks the whole document") << longPage << numbered({1, 2});

        DomSnapshot fifteen;
        for (int n = 1; n <= 15; ++n)
            fifteen.append(entry(n));
        fifteen.append(endMarker());
        QTest::newRow("fifteen entries give ten") << fifteen << numbered({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});

        QTest::newRow("entry without mysrc has an empty link")
            << DomSnapshot{input(u"news1"_s, u"无链接"_s, QString())} << QStringList{u"无链接|"_s};
        QTest::newRow("markup in a headline is kept as text")
            << DomSnapshot{input(u"news1"_s, u"<b>粗</b>&amp;"_s, u"http://h/1"_s)}
            << QStringList{u"<b>粗</b>&amp;|http://h/1"_s};
    }
    void walk()
    {
        QFETCH(DomSnapshot, document);
        QFETCH(QStringList, expected);
        QCOMPARE(lines(NewsWalk::walk(document)), expected);
    }

    void mysrcIsReadByAttributeName()
    {
        // The link is the "mysrc" attribute, not the element's name or value.
        DomElement e = input(u"news1"_s, u"标题"_s);
        e.attributes.insert(u"href"_s, u"http://wrong"_s);
        e.attributes.insert(u"mysrc"_s, u"http://right"_s);
        QCOMPARE(lines(NewsWalk::walk({e})), QStringList{u"标题|http://right"_s});
    }

    void openableLinks_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<bool>("openable");
        QTest::newRow("http") << u"http://127.0.0.1:8360/news/1.html"_s << true;
        QTest::newRow("https with query") << u"https://example.com/a?b=c&d=e"_s << true;
        QTest::newRow("upper-case scheme") << u"HTTP://EXAMPLE.COM/"_s << true;
        QTest::newRow("Chinese path") << u"http://example.com/新闻/一.html"_s << true;
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("file URL") << u"file:///etc/passwd"_s << false;
        QTest::newRow("javascript") << u"javascript:alert(1)"_s << false;
        QTest::newRow("local path") << u"/usr/bin/xterm"_s << false;
        QTest::newRow("windows path") << u"C:\\Windows\\System32\\calc.exe"_s << false;
        QTest::newRow("relative") << u"news/1.html"_s << false;
        QTest::newRow("scheme-relative") << u"//example.com/x"_s << false;
        QTest::newRow("ftp") << u"ftp://example.com/x"_s << false;
        QTest::newRow("mailto") << u"mailto:a@example.com"_s << false;
        QTest::newRow("no host") << u"http://"_s << false;
        QTest::newRow("single slash") << u"http:/example.com"_s << false;
        QTest::newRow("leading blank") << u" http://example.com"_s << false;
        QTest::newRow("similar scheme") << u"httpx://example.com"_s << false;
    }
    void openableLinks()
    {
        QFETCH(QString, link);
        QFETCH(bool, openable);
        QCOMPARE(NewsWalk::isOpenableWebLink(link), openable);
    }
};

QTEST_APPLESS_MAIN(TestNewsWalk)
#include "test_newswalk.moc"
