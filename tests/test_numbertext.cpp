#include "quote/core/NumberText.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestNumberText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundTrip_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("isNumber");
        QTest::addColumn<QString>("written");
        const QLocale c = QLocale::c();
        const QLocale german(QLocale::German, QLocale::Germany);
        QTest::newRow("whole") << c << u"30"_s << true << u"30"_s;
        QTest::newRow("trailing zero dropped") << c << u"12.50"_s << true << u"12.5"_s;
        QTest::newRow("blanks around") << c << u" 8 "_s << true << u"8"_s;
        QTest::newRow("zero") << c << u"0"_s << true << u"0"_s;
        QTest::newRow("one") << c << u"1"_s << true << u"1"_s;
        QTest::newRow("negative") << c << u"-3"_s << true << u"-3"_s;
        QTest::newRow("negative zero") << c << u"-0"_s << true << u"0"_s;
        QTest::newRow("plus sign") << c << u"+2.5"_s << true << u"2.5"_s;
        QTest::newRow("exponent") << c << u"1.5e2"_s << true << u"150"_s;
        QTest::newRow("grouping read, not written") << c << u"1,234,567.25"_s << true << u"1234567.25"_s;
        QTest::newRow("15 significant digits")
            << c << u"0.1234567890123456789"_s << true << u"0.123456789012346"_s;
        QTest::newRow("binary noise rounded off") << c << u"0.30000000000000004"_s << true << u"0.3"_s;
        QTest::newRow("German decimal comma") << german << u"12,5"_s << true << u"12,5"_s;
        QTest::newRow("German grouping") << german << u"1.234,5"_s << true << u"1234,5"_s;
        QTest::newRow("empty") << c << QString() << false << QString();
        QTest::newRow("blank") << c << u"  "_s << false << QString();
        QTest::newRow("letters") << c << u"abc"_s << false << QString();
        QTest::newRow("number and unit") << c << u"12m"_s << false << QString();
        QTest::newRow("overflow") << c << u"1e999"_s << false << QString();
    }
    void roundTrip()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, text);
        QFETCH(bool, isNumber);
        QFETCH(QString, written);
        const std::optional<double> number = NumberText::toNumber(text, locale);
        QCOMPARE(number.has_value(), isNumber);
        if (number)
            QCOMPARE(NumberText::toText(*number, locale), written);
    }
};

QTEST_APPLESS_MAIN(TestNumberText)
#include "test_numbertext.moc"
