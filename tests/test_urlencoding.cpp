#include "quote/core/UrlEncoding.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestUrlEncoding : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void encode_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("encoded");
        QTest::newRow("unreserved stay") << u"AZaz09-._~"_s << u"AZaz09-._~"_s;
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("region name in GBK") << u"甲乙丙"_s << u"%BC%D7%D2%D2%B1%FB"_s;
        QTest::newRow("blanks around a surname") << u" 王 "_s << u"%20%CD%F5%20"_s;
        QTest::newRow("query delimiters") << u"a&b=c#d?e/f+g%"_s << u"a%26b%3Dc%23d%3Fe%2Ff%2Bg%25"_s;
        QTest::newRow("comma and bar") << u"1,2|3"_s << u"1%2C2%7C3"_s;
        QTest::newRow("GBK symbol") << u"€·"_s << u"%A2%E3%A1%A4"_s;
        QTest::newRow("beyond GBK takes four bytes") << u"😀"_s << u"%949%FC6"_s;
        QTest::newRow("GB18030-2022 character") << u"\uFE12\u9FBB"_s << u"%A6%DA%FE%A0"_s;
        QTest::newRow("its old private-use code point") << u"\uE78E\uE864"_s << u"%A6%DA%FE%A0"_s;
        QTest::newRow("control characters") << u"\t\n"_s << u"%09%0A"_s;
    }
    void encode()
    {
        QFETCH(QString, value);
        QFETCH(QString, encoded);
        QCOMPARE(UrlEncoding::percentEncodeGbk(value), encoded);
    }
};

QTEST_APPLESS_MAIN(TestUrlEncoding)
#include "test_urlencoding.moc"
