#include "platform/core/TextFileInput.h"
#include "quote/core/RegionTable.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;

class TestRegionTable : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void split_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("empty line has no fields") << QString() << QStringList();
        QTest::newRow("one field is the table") << u"110000|北京市"_s << QStringList{u"110000|北京市"_s};
        QTest::newRow("trailing comma adds an empty field")
            << u"a,b,"_s << QStringList{u"a"_s, u"b"_s, QString()};
        QTest::newRow("blanks are kept") << u"a, b"_s << QStringList{u"a"_s, u" b"_s};
    }
    void split()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, fields);
        QCOMPARE(RegionTable::split(line), fields);
    }

    void classify_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("province");
        QTest::addColumn<QString>("city");
        QTest::addColumn<bool>("isProvince");
        QTest::addColumn<bool>("isCity");
        QTest::addColumn<bool>("isDistrict");
        const QString bj = u"110000|北京市"_s;
        const QString bjCity = u"110100|市辖区"_s;
        QTest::newRow("province") << bj << bj << bjCity << true << false << false;
        QTest::newRow("city of the province") << bjCity << bj << bjCity << false << true << false;
        QTest::newRow("city of another province")
            << u"120100|市辖区"_s << bj << bjCity << false << false << false;
        QTest::newRow("district of the city") << u"110101|东城区"_s << bj << bjCity << false << false << true;
        QTest::newRow("district of another city")
            << u"110101|东城区"_s << bj << u"110200|县"_s << false << false << false;
        QTest::newRow("district of another province")
            << u"120101|和平区"_s << bj << u"120100|市辖区"_s << false << false << false;
        QTest::newRow("five-character code is a district")
            << u"11011|名"_s << bj << bjCity << false << false << true;
        QTest::newRow("blank shifts a province")
            << u" 110000|北京市"_s << bj << bjCity << false << false << false;
        QTest::newRow("blank shifts a district")
            << u" 110101|东城区"_s << bj << bjCity << false << false << false;
        QTest::newRow("district with 00 at 3-4 never listed")
            << u"110001|x"_s << bj << bjCity << false << false << false;
        QTest::newRow("empty field matches nothing")
            << QString() << QString() << QString() << false << false << false;
        QTest::newRow("short field matches no zeros") << u"11"_s << bj << bjCity << false << false << false;
        QTest::newRow("codes are not checked for digits")
            << u"11ab00|x"_s << bj << bjCity << false << true << false;
        QTest::newRow("comparison is case-sensitive")
            << u"ab0100|x"_s << u"AB0000|y"_s << bjCity << false << false << false;
        QTest::newRow("请选择 as city matches no district")
            << u"110101|东城区"_s << bj << u"请选择"_s << false << false << false;
        QTest::newRow("typed province text counts")
            << u"120101|和平区"_s << u"12"_s << u"xx01"_s << false << false << true;
    }
    void classify()
    {
        QFETCH(QString, field);
        QFETCH(QString, province);
        QFETCH(QString, city);
        QFETCH(bool, isProvince);
        QFETCH(bool, isCity);
        QFETCH(bool, isDistrict);
        QCOMPARE(RegionTable::isProvince(field), isProvince);
        QCOMPARE(RegionTable::isCityOf(field, province), isCity);
        QCOMPARE(RegionTable::isDistrictOf(field, province, city), isDistrict);
    }

    void fills()
    {
        const QStringList table = RegionTable::split(
            u"110000|北京市,110100|市辖区,110101|东城区,110102|西城区,110101|东城区,120000|天津市,"
            "120100|市辖区,710000|台湾省,130000|河北省,130100|石家庄市,130200|唐山市,130201|路南区,"_s);
        QCOMPARE(RegionTable::provinces(table), (QStringList{u"110000|北京市"_s, u"120000|天津市"_s,
                                                             u"710000|台湾省"_s, u"130000|河北省"_s}));

        const SelectorFill hebei = RegionTable::cities(table, u"130000|河北省"_s);
        QCOMPARE(hebei.items, (QStringList{u"请选择"_s, u"130100|石家庄市"_s, u"130200|唐山市"_s}));
        QCOMPARE(hebei.text, u"请选择"_s);

        const SelectorFill taiwan = RegionTable::cities(table, u"710000|台湾省"_s);
        QCOMPARE(taiwan.items, QStringList{u"请选择"_s});
        QCOMPARE(taiwan.text, QString());

        const SelectorFill beijing = RegionTable::districts(table, u"110000|北京市"_s, u"110100|市辖区"_s);
        QCOMPARE(beijing.items,
                 (QStringList{u"请选择"_s, u"110101|东城区"_s, u"110102|西城区"_s, u"110101|东城区"_s}));
        QCOMPARE(beijing.text, u"请选择"_s);

        const SelectorFill noDistricts =
            RegionTable::districts(table, u"130000|河北省"_s, u"130100|石家庄市"_s);
        QCOMPARE(noDistricts.items, QStringList{u"请选择"_s});
        QCOMPARE(noDistricts.text, u"请选择"_s);
    }

    void moreFieldsThanSixteenBitPositions()
    {
        QStringList fields;
        for (int i = 0; i < 40000; ++i)
            fields.append(i % 1000 == 0 ? u"%1|p"_s.arg(100000 + i * 10) : u"x|y"_s);
        const QStringList table = RegionTable::split(fields.join(u','));
        QCOMPARE(table.size(), 40000);
        QCOMPARE(RegionTable::provinces(table).size(), 40);
        QCOMPARE(RegionTable::provinces(table).last(), u"490000|p"_s);
    }

    // The file that ships beside the program.
    void shippedFile()
    {
        QFile file(QStringLiteral(RIVAV_CITY_TXT));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(!bytes.contains('\r') && !bytes.contains('\n'));
        QVERIFY(!bytes.endsWith(','));

        const QString line = firstLineOfGbk(bytes);
        QVERIFY(!line.contains(QChar::ReplacementCharacter));
        // Plain GBK: no four-byte GB18030 sequence (a digit as second byte).
        for (qsizetype i = 0; i < bytes.size(); i += quint8(bytes[i]) < 0x80 ? 1 : 2)
            QVERIFY(quint8(bytes[i]) < 0x80 || (i + 1 < bytes.size() && !QChar::isDigit(bytes[i + 1])));

        const QStringList table = RegionTable::split(line);
        static const QRegularExpression shape(u"\\A[0-9]{6}\\|[^|,]+\\z"_s);
        QString previous;
        for (const QString &field : table) {
            QVERIFY2(shape.match(field).hasMatch(), qPrintable(field));
            QVERIFY2(field.left(6) > previous, qPrintable(field)); // ascending, no duplicates
            previous = field.left(6);
        }

        const QStringList provinces = RegionTable::provinces(table);
        QCOMPARE(provinces.size(), 34);
        QCOMPARE(provinces.first(), u"110000|北京市"_s);
        QCOMPARE(provinces.last(), u"820000|澳门特别行政区"_s);
        for (const QString &without :
             {u"710000|台湾省"_s, u"810000|香港特别行政区"_s, u"820000|澳门特别行政区"_s})
            QCOMPARE(RegionTable::cities(table, without).items.size(), 1);
        const SelectorFill guangdong = RegionTable::cities(table, u"440000|广东省"_s);
        QCOMPARE(guangdong.items.size(), 1 + 21);
        QVERIFY(guangdong.items.contains(u"440300|深圳市"_s));
        QCOMPARE(RegionTable::districts(table, u"440000|广东省"_s, u"440300|深圳市"_s).items.size(), 1 + 9);

        // Every city offers districts: one without counties offers its towns.
        for (const QString &province : provinces) {
            for (const QString &city : RegionTable::cities(table, province).items.mid(1))
                QVERIFY2(RegionTable::districts(table, province, city).items.size() > 1, qPrintable(city));
        }
        const SelectorFill dongguan = RegionTable::districts(table, u"440000|广东省"_s, u"441900|东莞市"_s);
        QCOMPARE(dongguan.items.size(), 1 + 36);
        QVERIFY(dongguan.items.contains(u"441924|虎门镇"_s));
    }
};

QTEST_APPLESS_MAIN(TestRegionTable)
#include "test_regiontable.moc"
