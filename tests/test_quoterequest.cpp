#include "app/core/AppTexts.h"
#include "quote/core/QuoteRequest.h"

#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;

using FormChange = std::function<void(QuoteForm &)>;
Q_DECLARE_METATYPE(FormChange)

namespace {
// The form of the worked example: every check passes.
QuoteForm exampleForm()
{
    QuoteForm form;
    form.city1 = u"P1|甲"_s;
    form.city2 = u"P2|乙"_s;
    form.city3 = u"P3|丙"_s;
    form.houseType = u"三房二厅"_s;
    form.bathrooms = u"二间"_s;
    form.balconies = u"一间"_s;
    form.livingRoomArea = u"30"_s;
    form.diningRoomArea = u"12.5"_s;
    form.bedroomArea = u"40"_s;
    form.kitchenArea = u"8"_s;
    form.bathroomArea = u"6"_s;
    form.balconyArea = u"5"_s;
    form.style = {false, false, true, false, false};
    form.grade = {false, true, false};
    form.phone = u"12345678901"_s;
    form.formOfAddress = u"王"_s;
    return form;
}

// The form as the main window starts.
QuoteForm defaultForm()
{
    QuoteForm form;
    form.city1 = form.city2 = form.city3 = u"请选择"_s;
    form.houseType = form.bathrooms = form.balconies = u"请选择"_s;
    form.livingRoomArea = form.diningRoomArea = form.bedroomArea = form.kitchenArea = form.bathroomArea =
        form.balconyArea = u"0"_s;
    form.style = {true, false, false, false, false};
    form.grade = {true, false, false};
    return form;
}

QString query(const QuoteRequest &request)
{
    const QString prefix = AppTexts::webUrl(u"/AutoPrice.action?"_s);
    return request.url.startsWith(prefix) ? request.url.mid(prefix.size()) : u"<no request>"_s;
}
} // namespace

class TestQuoteRequest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void example()
    {
        const QuoteRequest request = QuoteRequest::build(exampleForm());
        QVERIFY(request.ok());
        QCOMPARE(
            request.url,
            AppTexts::webUrl(u"/AutoPrice.action?bom1=3&bom2=1&bom3=1&bom4=1&bom5=1&bom6=2&bomarea2=30&"
                             "bomarea3=12.5&bomarea1=40&bomarea4=8&bomarea5=5&bomarea6=6&pho=12345678901&"
                             "cit1=P1&cit2=P2&cit3=P3&dc=2&findman3=13&kongzhi=tijiao&findman=1&fengge=3&"
                             "sumcityname=%BC%D7%D2%D2%B1%FB&xingshi=%CD%F5"_s));
    }

    // Keys keep their order whatever the values hold.
    void keysInOrder()
    {
        QuoteForm form = exampleForm();
        form.formOfAddress = u"王&pho=1#x"_s;
        form.city3 = u"P3&cit1=Z|丙 &="_s;
        const QString sent = query(QuoteRequest::build(form));
        QStringList keys;
        for (const QString &pair : sent.split(u'&')) {
            QCOMPARE(pair.count(u'='), 1);
            QVERIFY(!pair.contains(u'#'));
            keys.append(pair.section(u'=', 0, 0));
        }
        QCOMPARE(keys,
                 (QStringList{u"bom1"_s,     u"bom2"_s,        u"bom3"_s,     u"bom4"_s,     u"bom5"_s,
                              u"bom6"_s,     u"bomarea2"_s,    u"bomarea3"_s, u"bomarea1"_s, u"bomarea4"_s,
                              u"bomarea5"_s, u"bomarea6"_s,    u"pho"_s,      u"cit1"_s,     u"cit2"_s,
                              u"cit3"_s,     u"dc"_s,          u"findman3"_s, u"kongzhi"_s,  u"findman"_s,
                              u"fengge"_s,   u"sumcityname"_s, u"xingshi"_s}));
        QVERIFY(sent.contains(u"&cit3=P3%26cit1%3DZ&"_s));
        QVERIFY(sent.endsWith(u"&xingshi=%CD%F5%26pho%3D1%23x"_s));
    }

    void checks_data()
    {
        QTest::addColumn<bool>("fromDefaults");
        QTest::addColumn<FormChange>("change");
        QTest::addColumn<QString>("message");
        QTest::newRow("all defaults name the form of address last")
            << true << FormChange([](QuoteForm &) {}) << u"请录入正确的：称呼"_s;
        QTest::newRow("ten digits") << false << FormChange([](QuoteForm &f) { f.phone = u"1234567890"_s; })
                                    << u"请录入正确的：电话号码"_s;
        QTest::newRow("ten letters and a digit")
            << false << FormChange([](QuoteForm &f) { f.phone = u"abcdefghij1"_s; })
            << u"请录入正确的：电话号码"_s;
        QTest::newRow("eleven digits and a blank")
            << false << FormChange([](QuoteForm &f) { f.phone = u"12345678901 "_s; })
            << u"请录入正确的：电话号码"_s;
        QTest::newRow("ten digits and a line end")
            << false << FormChange([](QuoteForm &f) { f.phone = u"1234567890\n"_s; })
            << u"请录入正确的：电话号码"_s;
        QTest::newRow("full-width digits")
            << false << FormChange([](QuoteForm &f) { f.phone = u"１２３４５６７８９０１"_s; })
            << u"请录入正确的：电话号码"_s;
        QTest::newRow("twelve digits")
            << false << FormChange([](QuoteForm &f) { f.phone = u"123456789012"_s; })
            << u"请录入正确的：电话号码"_s;
        QTest::newRow("one region at 请选择")
            << false << FormChange([](QuoteForm &f) { f.city2 = u"请选择"_s; })
            << u"请录入正确的：业主地址"_s;
        QTest::newRow("typed region without bar")
            << false << FormChange([](QuoteForm &f) { f.city3 = u"丙"_s; }) << u"请录入正确的：业主地址"_s;
        QTest::newRow("blank-only form of address")
            << false << FormChange([](QuoteForm &f) { f.formOfAddress = u"   "_s; })
            << u"请录入正确的：称呼"_s;
        QTest::newRow("tab-only form of address")
            << false << FormChange([](QuoteForm &f) { f.formOfAddress = u"\t"_s; })
            << u"请录入正确的：称呼"_s;
        QTest::newRow("ideographic blanks only")
            << false << FormChange([](QuoteForm &f) { f.formOfAddress = u"\u3000 \u3000"_s; })
            << u"请录入正确的：称呼"_s;
        QTest::newRow("form of address one past the limit")
            << false << FormChange([](QuoteForm &f) { f.formOfAddress = u" "_s + QString(21, u'王'); })
            << u"请录入正确的：称呼"_s;
        QTest::newRow("direction override in the name")
            << false << FormChange([](QuoteForm &f) { f.formOfAddress = u"王\u202E"_s; })
            << u"请录入正确的：称呼"_s;
        QTest::newRow("DEL in the name")
            << false << FormChange([](QuoteForm &f) { f.formOfAddress = u"王\u007F"_s; })
            << u"请录入正确的：称呼"_s;
        QTest::newRow("last direction isolate in the name")
            << false << FormChange([](QuoteForm &f) { f.formOfAddress = u"王\u2069"_s; })
            << u"请录入正确的：称呼"_s;
        QTest::newRow("region name one past the limit")
            << false << FormChange([](QuoteForm &f) { f.city3 = u"C3|"_s + QString(59, u'丙'); })
            << u"请录入正确的：业主地址"_s;
        QTest::newRow("address and phone fail: phone named") << false << FormChange([](QuoteForm &f) {
            f.city1 = u"请选择"_s;
            f.phone.clear();
        }) << u"请录入正确的：电话号码"_s;
        QTest::newRow("checks come before areas") << false << FormChange([](QuoteForm &f) {
            f.phone.clear();
            f.bedroomArea = u"x"_s;
        }) << u"请录入正确的：电话号码"_s;
        QTest::newRow("emptied bedroom area")
            << false << FormChange([](QuoteForm &f) { f.bedroomArea.clear(); })
            << u"请录入正确的：卧房面积"_s;
        QTest::newRow("negative living room")
            << false << FormChange([](QuoteForm &f) { f.livingRoomArea = u"-3"_s; })
            << u"请录入正确的：客厅面积"_s;
        QTest::newRow("slightly negative bedroom")
            << false << FormChange([](QuoteForm &f) { f.bedroomArea = u"-0.01"_s; })
            << u"请录入正确的：卧房面积"_s;
        QTest::newRow("living room one past the limit")
            << false << FormChange([](QuoteForm &f) { f.livingRoomArea = u"10000.01"_s; })
            << u"请录入正确的：客厅面积"_s;
        QTest::newRow("1e9 kitchen") << false << FormChange([](QuoteForm &f) { f.kitchenArea = u"1e9"_s; })
                                     << u"请录入正确的：厨房面积"_s;
        QTest::newRow("infinite kitchen")
            << false << FormChange([](QuoteForm &f) { f.kitchenArea = u"inf"_s; })
            << u"请录入正确的：厨房面积"_s;
        QTest::newRow("NaN bathroom") << false << FormChange([](QuoteForm &f) { f.bathroomArea = u"nan"_s; })
                                      << u"请录入正确的：卫生间面积"_s;
        QTest::newRow("first bad area in reading order") << false << FormChange([](QuoteForm &f) {
            f.bathroomArea = u"a"_s;
            f.balconyArea = u"b"_s;
            f.diningRoomArea = u"c"_s;
        }) << u"请录入正确的：餐厅面积"_s;
        QTest::newRow("balcony before bathroom") << false << FormChange([](QuoteForm &f) {
            f.bathroomArea = u"a"_s;
            f.balconyArea = u"b"_s;
        }) << u"请录入正确的：阳台面积"_s;
    }
    void checks()
    {
        QFETCH(bool, fromDefaults);
        QFETCH(FormChange, change);
        QFETCH(QString, message);
        QuoteForm form = fromDefaults ? defaultForm() : exampleForm();
        change(form);
        const QuoteRequest request = QuoteRequest::build(form);
        QCOMPARE(request.message, message);
        QVERIFY(request.url.isEmpty());
    }

    void values_data()
    {
        QTest::addColumn<FormChange>("change");
        QTest::addColumn<QStringList>("pieces"); // each found in the query
        const auto row = [](const char *name, FormChange change, QStringList pieces) {
            QTest::newRow(name) << change << pieces;
        };
        row("surname sent with its blanks", [](QuoteForm &f) { f.formOfAddress = u" 王 "_s; },
            {u"&xingshi=%20%CD%F5%20"_s});
        row("form of address at the limit",
            [](QuoteForm &f) { f.formOfAddress = u"\u3000"_s + QString(20, u'王'); },
            {u"&xingshi=%A1%A1"_s + u"%CD%F5"_s.repeated(20)});
        row("region name at the limit", [](QuoteForm &f) { f.city3 = u"C3|"_s + QString(58, u'丙'); },
            {u"&sumcityname=%BC%D7%D2%D2"_s + u"%B1%FB"_s.repeated(58)});
        row("area at the limit", [](QuoteForm &f) { f.livingRoomArea = u"1e4"_s; }, {u"&bomarea2=10000&"_s});
        row("house type 请选择", [](QuoteForm &f) { f.houseType = u"请选择"_s; },
            {u"bom1=0&bom2=0&bom3=0&"_s, u"&findman3=&kongzhi=tijiao&findman="_s});
        row("disabled dining area still sent",
            [](QuoteForm &f) {
                f.houseType = u"二房一厅"_s;
                f.diningRoomArea = u"9"_s;
            },
            {u"bom1=2&bom2=1&bom3=0&"_s, u"&bomarea3=9&"_s, u"&findman3=2&"_s});
        row("counts at 请选择",
            [](QuoteForm &f) {
                f.bathrooms = u"请选择"_s;
                f.balconies = u"请选择"_s;
            },
            {u"&bom5=0&bom6=0&"_s, u"&findman=0&"_s});
        row("balconies twice", [](QuoteForm &f) { f.balconies = u"四间"_s; },
            {u"&bom5=4&bom6=2&"_s, u"&findman=4&"_s});
        row("areas written back",
            [](QuoteForm &f) {
                f.livingRoomArea = u"30"_s;
                f.diningRoomArea = u"12.50"_s;
                f.bedroomArea = u" 8 "_s;
                f.kitchenArea = u"0"_s;
            },
            {u"&bomarea2=30&bomarea3=12.5&bomarea1=8&bomarea4=0&"_s});
        row("area 5 is the balcony, 6 the bathroom",
            [](QuoteForm &f) {
                f.bathroomArea = u"6.25"_s;
                f.balconyArea = u"1e1"_s;
            },
            {u"&bomarea5=10&bomarea6=6.25&"_s});
        row("no option selected",
            [](QuoteForm &f) {
                f.style = {};
                f.grade = {};
            },
            {u"&fengge=5&"_s, u"&dc=3&"_s});
        row("first selected option",
            [](QuoteForm &f) {
                f.style = {false, true, true}, f.grade = {true, true};
            },
            {u"&fengge=2&"_s, u"&dc=1&"_s});
        row("name ends at a second bar", [](QuoteForm &f) { f.city1 = u"P1|甲|x"_s; },
            {u"&cit1=P1&"_s, u"&sumcityname=%BC%D7%D2%D2%B1%FB&"_s});
        row("code before the first bar", [](QuoteForm &f) { f.city2 = u"11 01|乙"_s; },
            {u"&cit2=11%2001&"_s});
    }
    void values()
    {
        QFETCH(FormChange, change);
        QFETCH(QStringList, pieces);
        QuoteForm form = exampleForm();
        change(form);
        const QuoteRequest request = QuoteRequest::build(form);
        QVERIFY2(request.ok(), qPrintable(request.message));
        const QString sent = query(request);
        for (const QString &piece : pieces)
            QVERIFY2(sent.contains(piece), qPrintable(piece + u" in "_s + sent));
    }

    void germanLocale()
    {
        QuoteForm form = exampleForm();
        form.diningRoomArea = u"12,5"_s;
        form.livingRoomArea = u"1.230"_s;
        const QString sent = query(QuoteRequest::build(form, QLocale(QLocale::German, QLocale::Germany)));
        QVERIFY2(sent.contains(u"&bomarea2=1230&bomarea3=12%2C5&"_s), qPrintable(sent));
    }
};

QTEST_APPLESS_MAIN(TestQuoteRequest)
#include "test_quoterequest.moc"
