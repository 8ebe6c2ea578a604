#include "quote/core/HouseRules.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestHouseRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void hallFields_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("livingRoom");
        QTest::addColumn<bool>("diningRoom");
        QTest::addColumn<bool>("bedroom");
        QTest::newRow("五房二厅 opens all three") << u"五房二厅"_s << true << true << true;
        QTest::newRow("三房一厅 closes the dining room") << u"三房一厅"_s << true << false << true;
        QTest::newRow("请选择 closes all") << u"请选择"_s << false << false << false;
        QTest::newRow("only characters 3-4 count") << u"xx二厅yy"_s << true << true << true;
        QTest::newRow("shifted by a blank") << u" 二房二厅"_s << false << false << false;
        QTest::newRow("too short") << u"二房二"_s << false << false << false;
    }
    void hallFields()
    {
        QFETCH(QString, text);
        QFETCH(bool, livingRoom);
        QFETCH(bool, diningRoom);
        QFETCH(bool, bedroom);
        const HallFields fields = HouseRules::hallFields(text);
        QCOMPARE(fields.livingRoom, livingRoom);
        QCOMPARE(fields.diningRoom, diningRoom);
        QCOMPARE(fields.bedroom, bedroom);
    }

    void counts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("一间") << u"一间"_s << 1 << true;
        QTest::newRow("四间") << u"四间"_s << 4 << true;
        QTest::newRow("请选择") << u"请选择"_s << 0 << false;
        QTest::newRow("typed text opens the field") << u"五间"_s << 0 << true;
        QTest::newRow("empty text opens the field") << QString() << 0 << true;
    }
    void counts()
    {
        QFETCH(QString, text);
        QFETCH(int, count);
        QFETCH(bool, enabled);
        QCOMPARE(HouseRules::roomCount(text), count);
        QCOMPARE(HouseRules::countFieldEnabled(text), enabled);
    }
};

QTEST_APPLESS_MAIN(TestHouseRules)
#include "test_houserules.moc"
