#include "tools/core/CoverageCalculator.h"
#include "tools/core/SizeRule.h"

#include <QLocale>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
// An empty expected count stands for the fixed failure message.
const QString failure;
} // namespace

class TestCoverageCalculator : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void count_data()
    {
        QTest::addColumn<QString>("roomLength");
        QTest::addColumn<QString>("roomWidth");
        QTest::addColumn<QString>("pieceWidth");
        QTest::addColumn<QString>("pieceLength");
        QTest::addColumn<QString>("expected");

        QTest::newRow("tiles rounded down") << u"5"_s << u"4"_s << u"600"_s << u"600"_s << u"55"_s;
        QTest::newRow("exact quotient stays whole") << u"3"_s << u"3"_s << u"300"_s << u"300"_s << u"100"_s;
        // In double arithmetic, in the fixed order, the quotient lies just below the whole number.
        QTest::newRow("3.3 x 3.3 is not 121") << u"3.3"_s << u"3.3"_s << u"300"_s << u"300"_s << u"120"_s;
        QTest::newRow("1.22 x 9.1 boards is not 100")
            << u"1.22"_s << u"9.1"_s << u"910"_s << u"122"_s << u"99"_s;
        // Regrouping the operations changes these counts: one product and two separate divisions.
        QTest::newRow("not regrouped into one division")
            << u"0.36"_s << u"2.25"_s << u"300"_s << u"300"_s << u"9"_s;
        QTest::newRow("piece sides not converted apart")
            << u"1"_s << u"0.64"_s << u"800"_s << u"800"_s << u"1"_s;
        QTest::newRow("width divided first") << u"1.19"_s << u"3.51"_s << u"910"_s << u"153"_s << u"29"_s;
        QTest::newRow("300 x 600") << u"4"_s << u"3"_s << u"300"_s << u"600"_s << u"66"_s;
        QTest::newRow("600 x 300") << u"4"_s << u"3"_s << u"600"_s << u"300"_s << u"66"_s;
        QTest::newRow("boards 910*122") << u"5"_s << u"4"_s << u"910"_s << u"122"_s << u"180"_s;
        QTest::newRow("boards 700*2400") << u"5"_s << u"4"_s << u"700"_s << u"2400"_s << u"11"_s;
        QTest::newRow("boards 910*921") << u"3"_s << u"4"_s << u"910"_s << u"921"_s << u"14"_s;
        QTest::newRow("room length 0") << u"0"_s << u"4"_s << u"600"_s << u"600"_s << u"0"_s;
        QTest::newRow("room width 0") << u"5"_s << u"0"_s << u"600"_s << u"600"_s << u"0"_s;
        QTest::newRow("negative zero is zero") << u"-0"_s << u"4"_s << u"600"_s << u"600"_s << u"0"_s;
        QTest::newRow("room area underflows") << u"1E-200"_s << u"1E-200"_s << u"600"_s << u"600"_s << u"0"_s;
        QTest::newRow("blanks around") << u" 5 "_s << u"\t4"_s << u"600 "_s << u" 600"_s << u"55"_s;
        QTest::newRow("sign and exponent") << u"+5"_s << u"0.4e1"_s << u"6E2"_s << u"600"_s << u"55"_s;
        QTest::newRow("17 digits, no exponent")
            << u"1E8"_s << u"1E8"_s << u"1000"_s << u"1000"_s << u"10000000000000000"_s;

        QTest::newRow("tile width 0") << u"5"_s << u"4"_s << u"0"_s << u"600"_s << failure;
        QTest::newRow("tile length 0") << u"5"_s << u"4"_s << u"600"_s << u"0"_s << failure;
        QTest::newRow("zero over zero") << u"0"_s << u"0"_s << u"0"_s << u"0"_s << failure;
        QTest::newRow("empty room length") << u""_s << u"4"_s << u"600"_s << u"600"_s << failure;
        QTest::newRow("empty tile length") << u"5"_s << u"4"_s << u"600"_s << u""_s << failure;
        QTest::newRow("letters") << u"abc"_s << u"4"_s << u"600"_s << u"600"_s << failure;
        QTest::newRow("number with unit") << u"5米"_s << u"4"_s << u"600"_s << u"600"_s << failure;
        QTest::newRow("size text in a box") << u"5"_s << u"4"_s << u"600*600"_s << u"600"_s << failure;
        QTest::newRow("inf is no length") << u"inf"_s << u"4"_s << u"600"_s << u"600"_s << failure;
        QTest::newRow("nan is no length") << u"5"_s << u"nan"_s << u"600"_s << u"600"_s << failure;
        QTest::newRow("text overflows") << u"1E400"_s << u"4"_s << u"600"_s << u"600"_s << failure;
        QTest::newRow("room area overflows") << u"1E200"_s << u"1E200"_s << u"600"_s << u"600"_s << failure;
        QTest::newRow("tile area underflows") << u"5"_s << u"4"_s << u"1E-200"_s << u"1E-200"_s << failure;
        QTest::newRow("quotient overflows") << u"1E150"_s << u"1E150"_s << u"1E-3"_s << u"1E-3"_s << failure;
        // A negative count is never a sound answer: negative sides fail like text.
        QTest::newRow("negative room length") << u"-5"_s << u"4"_s << u"600"_s << u"600"_s << failure;
        QTest::newRow("negative room width") << u"5"_s << u"-4"_s << u"600"_s << u"600"_s << failure;
        QTest::newRow("negative tile width") << u"5"_s << u"4"_s << u"-600"_s << u"600"_s << failure;
        QTest::newRow("negative tile length") << u"5"_s << u"4"_s << u"600"_s << u"-600"_s << failure;
    }
    void count()
    {
        QFETCH(QString, roomLength);
        QFETCH(QString, roomWidth);
        QFETCH(QString, pieceWidth);
        QFETCH(QString, pieceLength);
        QFETCH(QString, expected);
        const auto result = CoverageCalculator::count(roomLength, roomWidth, pieceWidth, pieceLength);
        if (expected.isEmpty()) {
            QCOMPARE(result.outcome, CoverageCalculator::Outcome::BadInput);
        } else {
            QCOMPARE(result.outcome, CoverageCalculator::Outcome::Counted);
            QCOMPARE(result.count, expected);
        }
    }

    void conversionFollowsTheLocale()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        const auto german = CoverageCalculator::count(u"2,5"_s, u"4"_s, u"500"_s, u"500"_s);
        QLocale::setDefault(QLocale::c());
        QCOMPARE(german.outcome, CoverageCalculator::Outcome::Counted);
        QCOMPARE(german.count, u"40"_s);
    }

    void wholeNumberText_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("zero") << 0.0 << u"0"_s;
        QTest::newRow("negative zero") << -0.0 << u"0"_s;
        QTest::newRow("negative") << -56.0 << u"-56"_s;
        QTest::newRow("15 digits") << 123456789012345.0 << u"123456789012345"_s;
        QTest::newRow("beyond 2^53") << 1e26 << u"100000000000000004764729344"_s;
    }
    void wholeNumberText()
    {
        QFETCH(double, value);
        QFETCH(QString, expected);
        QCOMPARE(CoverageCalculator::wholeNumberText(value), expected);
    }

    void sizeRule_data()
    {
        QTest::addColumn<QString>("listText");
        QTest::addColumn<bool>("applies");
        QTest::addColumn<QString>("width");
        QTest::addColumn<QString>("length");
        QTest::newRow("tile") << u"300*600"_s << true << u"300"_s << u"600"_s;
        QTest::newRow("four digits") << u"1000*1000"_s << true << u"1000"_s << u"1000"_s;
        QTest::newRow("board, longer side first") << u"1210*165"_s << true << u"1210"_s << u"165"_s;
        QTest::newRow("board, longer side second") << u"700*2400"_s << true << u"700"_s << u"2400"_s;
        QTest::newRow("second asterisk ends the length") << u"1*2*3"_s << true << u"1"_s << u"2"_s;
        QTest::newRow("empty width") << u"*600"_s << true << QString() << u"600"_s;
        QTest::newRow("empty text") << QString() << false << QString() << QString();
        QTest::newRow("no asterisk") << u"600"_s << false << QString() << QString();
    }
    void sizeRule()
    {
        QFETCH(QString, listText);
        QFETCH(bool, applies);
        QFETCH(QString, width);
        QFETCH(QString, length);
        const std::optional<PieceSize> size = splitPieceSize(listText);
        QCOMPARE(size.has_value(), applies);
        if (size) {
            QCOMPARE(size->width, width);
            QCOMPARE(size->length, length);
        }
    }
};

QTEST_APPLESS_MAIN(TestCoverageCalculator)
#include "test_coveragecalculator.moc"
