#include "site/Estimate.h"
#include "site/PriceTable.h"
#include "site/QueryString.h"
#include "site/QuoteRequest.h"
#include "site/SitePages.h"
#include "site/TextCodec.h"

#include <QRegularExpression>
#include <QTest>

#include <fstream>
#include <sstream>

using namespace site;

namespace {

std::string toStd(const QByteArray &bytes)
{
    return bytes.toStdString();
}

// The request of the design's example as the desktop program sends it, with
// real region codes and the names escaped as GBK (甲乙丙, 王).
const std::vector<std::pair<std::string, std::string>> exampleRequest = {
    {"bom1", "3"},
    {"bom2", "1"},
    {"bom3", "1"},
    {"bom4", "1"},
    {"bom5", "1"},
    {"bom6", "2"},
    {"bomarea2", "30"},
    {"bomarea3", "12.5"},
    {"bomarea1", "40"},
    {"bomarea4", "8"},
    {"bomarea5", "5"},
    {"bomarea6", "6"},
    {"pho", "12345678901"},
    {"cit1", "110000"},
    {"cit2", "110100"},
    {"cit3", "110101"},
    {"dc", "2"},
    {"findman3", "13"},
    {"kongzhi", "tijiao"},
    {"findman", "1"},
    {"fengge", "3"},
    {"sumcityname", "%BC%D7%D2%D2%B1%FB"},
    {"xingshi", "%CD%F5"},
};

// Applies edits separated by blanks: "key=value" replaces a value, "-key"
// drops the key, "+key=value" appends one more pair, "~" reverses the order.
std::string buildQuery(const std::string &edits)
{
    auto pairs = exampleRequest;
    std::istringstream in(edits);
    std::string edit;
    while (in >> edit) {
        if (edit == "~") {
            std::reverse(pairs.begin(), pairs.end());
            continue;
        }
        const char op = edit.front();
        const std::string body = (op == '-' || op == '+') ? edit.substr(1) : edit;
        const auto eq = body.find('=');
        const std::string key = body.substr(0, eq);
        const std::string value = eq == std::string::npos ? std::string() : body.substr(eq + 1);
        if (op == '+') {
            pairs.emplace_back(key, value);
            continue;
        }
        for (auto it = pairs.begin(); it != pairs.end(); ++it) {
            if (it->first == key) {
                if (op == '-')
                    pairs.erase(it);
                else
                    it->second = value;
                break;
            }
        }
    }
    std::string query;
    for (const auto &[key, value] : pairs)
        query += (query.empty() ? "" : "&") + key + "=" + value;
    return query;
}

PriceTable fixturePrices()
{
    std::string error;
    auto table = PriceTable::load(SITE_FIXTURE_PRICES, error);
    if (!table)
        qFatal("%s", error.c_str());
    return *table;
}

std::string readText(const char *path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace

class TestSiteLogic : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void percentDecode_data();
    void percentDecode();
    void querySplitting();
    void chineseDecoding_data();
    void chineseDecoding();
    void utf8Validity_data();
    void utf8Validity();
    void quoteChecks_data();
    void quoteChecks();
    void rejectedValueShown_data();
    void rejectedValueShown();
    void exampleDecodesCompletely();
    void priceTableErrors_data();
    void priceTableErrors();
    void shippedPricesMatchAdvertisedLevels_data();
    void shippedPricesMatchAdvertisedLevels();
    void estimate_data();
    void estimate();
    void estimateLines();
    void formatYuan_data();
    void formatYuan();
    void pagesEscapeVisitorText_data();
    void pagesEscapeVisitorText();
    void layoutAndPlaceholders();
};

void TestSiteLogic::percentDecode_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QByteArray>("decoded");

    QTest::newRow("plain") << QByteArray("abc-._~") << true << QByteArray("abc-._~");
    QTest::newRow("upper hex") << QByteArray("%CD%F5") << true << QByteArray("\xCD\xF5");
    QTest::newRow("lower hex") << QByteArray("%cd%f5") << true << QByteArray("\xCD\xF5");
    QTest::newRow("plus is blank") << QByteArray("a+b") << true << QByteArray("a b");
    QTest::newRow("escaped plus") << QByteArray("a%2Bb") << true << QByteArray("a+b");
    QTest::newRow("escaped percent") << QByteArray("100%25") << true << QByteArray("100%");
    QTest::newRow("NUL byte") << QByteArray("a%00b") << true << QByteArray("a\0b", 3);
    QTest::newRow("lone percent") << QByteArray("%") << false << QByteArray();
    QTest::newRow("one digit at end") << QByteArray("ab%4") << false << QByteArray();
    QTest::newRow("not hex") << QByteArray("%G1") << false << QByteArray();
    QTest::newRow("percent percent") << QByteArray("%%41") << false << QByteArray();
}

void TestSiteLogic::percentDecode()
{
    QFETCH(QByteArray, input);
    QFETCH(bool, valid);
    QFETCH(QByteArray, decoded);
    const auto result = QueryString::percentDecode(toStd(input));
    QCOMPARE(result.has_value(), valid);
    if (valid)
        QCOMPARE(QByteArray::fromStdString(*result), decoded);
    else // the lenient form keeps the text of a bad escape
        QVERIFY(QueryString::percentDecodeLenient(toStd(input)).find('%') != std::string::npos);
}

void TestSiteLogic::querySplitting()
{
    QCOMPARE(QueryString::queryOf("/AutoPrice.action?a=1&b=2#frag"), std::string_view("a=1&b=2"));
    QCOMPARE(QueryString::queryOf("/AutoPrice.action"), std::string_view());

    const auto pairs = QueryString::parse("a=1&&b=&c&d=x=y&e=%ZZ&=v");
    QCOMPARE(pairs.size(), std::size_t(6));
    QCOMPARE(pairs[0].key, std::string("a"));
    QCOMPARE(pairs[0].value, std::string("1"));
    QCOMPARE(pairs[1].key, std::string("b"));
    QCOMPARE(pairs[1].value, std::string());
    QCOMPARE(pairs[2].key, std::string("c"));
    QCOMPARE(pairs[3].value, std::string("x=y")); // split at the first '=' only
    QVERIFY(!pairs[4].valueValid);
    QCOMPARE(pairs[5].key, std::string());

    const auto lenient = QueryString::parse("e=%ZZ", true);
    QVERIFY(lenient[0].valueValid);
    QCOMPARE(lenient[0].value, std::string("%ZZ"));
}

void TestSiteLogic::chineseDecoding_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("strictValid");
    QTest::addColumn<QByteArray>("strict");
    QTest::addColumn<QByteArray>("lenient");

    QTest::newRow("ascii") << QByteArray("Wang") << true << QByteArray("Wang") << QByteArray("Wang");
    QTest::newRow("GBK surname") << QByteArray("\xCD\xF5") << true << QByteArray("王") << QByteArray("王");
    QTest::newRow("GBK region") << QByteArray("\xBC\xD7\xD2\xD2\xB1\xFB") << true << QByteArray("甲乙丙")
                                << QByteArray("甲乙丙");
    QTest::newRow("GB18030 four-byte")
        << QByteArray("\x81\x30\x81\x30") << true << QByteArray("\xC2\x80") << QByteArray("\xC2\x80");
    // 9 bytes of UTF-8 are not GBK (odd length): taken as UTF-8.
    QTest::newRow("UTF-8 three characters")
        << QByteArray("王小明") << true << QByteArray("王小明") << QByteArray("王小明");
    // D6 A7 is 支 in GBK and also valid UTF-8 (U+05A7): the program's encoding
    // wins for the quote, a browser's for the chat page.
    QTest::newRow("GBK that is also UTF-8")
        << QByteArray("\xD6\xA7") << true << QByteArray("支") << QByteArray("\xD6\xA7");
    QTest::newRow("truncated GBK") << QByteArray("\xCD") << false << QByteArray()
                                   << QByteArray("\xEF\xBF\xBD");
    QTest::newRow("invalid lead") << QByteArray("a\xFF\xFF") << false << QByteArray()
                                  << QByteArray("a\xEF\xBF\xBD\xEF\xBF\xBD");
}

void TestSiteLogic::chineseDecoding()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, strictValid);
    QFETCH(QByteArray, strict);
    QFETCH(QByteArray, lenient);
    const auto result = TextCodec::decodeChineseStrict(toStd(bytes));
    QCOMPARE(result.has_value(), strictValid);
    if (strictValid)
        QCOMPARE(QByteArray::fromStdString(*result), strict);
    QCOMPARE(QByteArray::fromStdString(TextCodec::decodeChineseLenient(toStd(bytes))), lenient);
}

void TestSiteLogic::utf8Validity_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("valid");
    QTest::newRow("Chinese") << QByteArray("技术支持") << true;
    QTest::newRow("four-byte") << QByteArray("\xF0\x9F\x8F\xA0") << true;
    QTest::newRow("overlong slash") << QByteArray("\xC0\xAF") << false;
    QTest::newRow("overlong three-byte") << QByteArray("\xE0\x80\xAF") << false;
    QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << false;
    QTest::newRow("above U+10FFFF") << QByteArray("\xF4\x90\x80\x80") << false;
    QTest::newRow("cut short") << QByteArray("\xE6\x8A") << false;
    QTest::newRow("stray continuation") << QByteArray("a\x80") << false;
}

void TestSiteLogic::utf8Validity()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, valid);
    QCOMPARE(TextCodec::isValidUtf8(toStd(bytes)), valid);
}

void TestSiteLogic::quoteChecks_data()
{
    QTest::addColumn<QByteArray>("edits");
    QTest::addColumn<QByteArray>("key"); // empty: the request passes
    QTest::addColumn<QByteArray>("reason");

    const QByteArray ok;
    QTest::newRow("example") << QByteArray("") << ok << ok;
    QTest::newRow("keys in another order") << QByteArray("~") << ok << ok;
    QTest::newRow("unknown key ignored") << QByteArray("+utm=1") << ok << ok;

    QTest::newRow("count 6") << QByteArray("bom6=6") << QByteArray("bom6") << QByteArray("0到5");
    QTest::newRow("count negative") << QByteArray("bom6=-1") << QByteArray("bom6") << QByteArray("0到5");
    QTest::newRow("count empty") << QByteArray("bom4=") << QByteArray("bom4") << QByteArray("0到5");
    QTest::newRow("count with blank") << QByteArray("bom4=1%20") << QByteArray("bom4") << QByteArray("0到5");

    QTest::newRow("area upper bound") << QByteArray("bomarea2=10000") << ok << ok;
    QTest::newRow("area above bound")
        << QByteArray("bomarea2=10000.01") << QByteArray("bomarea2") << QByteArray("0到10000");
    QTest::newRow("area negative") << QByteArray("bomarea6=-3") << QByteArray("bomarea6")
                                   << QByteArray("0到10000");
    QTest::newRow("area decimal comma") << QByteArray("bomarea3=12,5") << ok << ok;
    QTest::newRow("area exponent") << QByteArray("bomarea3=1E3") << ok << ok;
    QTest::newRow("area huge exponent")
        << QByteArray("bomarea3=1E400") << QByteArray("bomarea3") << QByteArray("0到10000");
    QTest::newRow("area text") << QByteArray("bomarea1=abc") << QByteArray("bomarea1") << QByteArray("数字");
    QTest::newRow("area inf") << QByteArray("bomarea1=inf") << QByteArray("bomarea1") << QByteArray("数字");
    QTest::newRow("area nan") << QByteArray("bomarea1=nan") << QByteArray("bomarea1") << QByteArray("数字");
    QTest::newRow("area empty") << QByteArray("bomarea5=") << QByteArray("bomarea5") << QByteArray("数字");
    QTest::newRow("area of 32 characters")
        << QByteArray("bomarea3=" + QByteArray(28, '0') + "12.5") << ok << ok;
    QTest::newRow("area of 33 characters") << QByteArray("bomarea3=" + QByteArray(29, '0') + "12.5")
                                           << QByteArray("bomarea3") << QByteArray("数字");
    QTest::newRow("area two separators")
        << QByteArray("bomarea5=1.5.2") << QByteArray("bomarea5") << QByteArray("数字");

    QTest::newRow("phone 10 digits") << QByteArray("pho=1234567890") << QByteArray("pho")
                                     << QByteArray("11位");
    QTest::newRow("phone 12 digits") << QByteArray("pho=123456789012") << QByteArray("pho")
                                     << QByteArray("11位");
    // The program's own check lets ten letters and a digit through.
    QTest::newRow("phone letters") << QByteArray("pho=abcdefghij1") << QByteArray("pho")
                                   << QByteArray("11位");

    QTest::newRow("province not a province")
        << QByteArray("cit1=110100") << QByteArray("cit1") << QByteArray("省级");
    QTest::newRow("province letters") << QByteArray("cit1=P1") << QByteArray("cit1") << QByteArray("省级");
    QTest::newRow("city of another province")
        << QByteArray("cit2=120100") << QByteArray("cit2") << QByteArray("所选省份");
    QTest::newRow("city is a district")
        << QByteArray("cit2=110101") << QByteArray("cit2") << QByteArray("地级");
    QTest::newRow("district of another city")
        << QByteArray("cit3=110201") << QByteArray("cit3") << QByteArray("所选城市");
    QTest::newRow("district is a city")
        << QByteArray("cit3=110100") << QByteArray("cit3") << QByteArray("县级");
    QTest::newRow("town of a city without counties")
        << QByteArray("cit1=440000 cit2=441900 cit3=441924") << ok << ok;

    QTest::newRow("grade 0") << QByteArray("dc=0") << QByteArray("dc") << QByteArray("1到3");
    QTest::newRow("grade 4") << QByteArray("dc=4") << QByteArray("dc") << QByteArray("1到3");
    QTest::newRow("grade 03") << QByteArray("dc=03") << QByteArray("dc") << QByteArray("1到3");
    QTest::newRow("style 6") << QByteArray("fengge=6") << QByteArray("fengge") << QByteArray("1到5");

    QTest::newRow("house type unknown")
        << QByteArray("findman3=4") << QByteArray("findman3") << QByteArray("户型代码");
    QTest::newRow("house type against counts")
        << QByteArray("bom3=0") << QByteArray("findman3") << QByteArray("不符");
    QTest::newRow("no house type, no rooms") << QByteArray("findman3= bom1=0 bom2=0 bom3=0") << ok << ok;
    QTest::newRow("no house type, rooms")
        << QByteArray("findman3=") << QByteArray("findman3") << QByteArray("不符");
    QTest::newRow("two-room house") << QByteArray("findman3=2 bom1=2 bom3=0") << ok << ok;
    QTest::newRow("findman differs from bom5")
        << QByteArray("findman=2") << QByteArray("findman") << QByteArray("bom5");
    QTest::newRow("submit flag") << QByteArray("kongzhi=send") << QByteArray("kongzhi")
                                 << QByteArray("tijiao");

    QTest::newRow("region UTF-8") << QByteArray("sumcityname=%E7%94%B2%E4%B9%99%E4%B8%99") << ok << ok;
    QTest::newRow("region invalid GBK")
        << QByteArray("sumcityname=%FF%FE%FD") << QByteArray("sumcityname") << QByteArray("GBK");
    QTest::newRow("region empty") << QByteArray("sumcityname=") << QByteArray("sumcityname")
                                  << QByteArray("为空");
    QTest::newRow("address blanks only")
        << QByteArray("xingshi=%20%20") << QByteArray("xingshi") << QByteArray("为空");
    QTest::newRow("address with blanks") << QByteArray("xingshi=%20%CD%F5%20") << ok << ok;
    QTest::newRow("address control character")
        << QByteArray("xingshi=%CD%F5%0A") << QByteArray("xingshi") << QByteArray("控制字符");
    QTest::newRow("address C1 control")
        << QByteArray("xingshi=%E7%8E%8B%C2%85") << QByteArray("xingshi") << QByteArray("控制字符");
    QTest::newRow("address right-to-left override")
        << QByteArray("xingshi=%E7%8E%8B%E2%80%AE") << QByteArray("xingshi") << QByteArray("控制字符");
    QTest::newRow("region first isolate") << QByteArray("sumcityname=%E7%94%B2%E2%81%A6%E4%B9%99")
                                          << QByteArray("sumcityname") << QByteArray("控制字符");
    QTest::newRow("address with a mark that reorders nothing")
        << QByteArray("xingshi=%E7%8E%8B%E2%80%8E") << ok << ok;
    QTest::newRow("address 21 characters") << QByteArray("xingshi=" + QByteArray("%CD%F5").repeated(21))
                                           << QByteArray("xingshi") << QByteArray("过长");

    QTest::newRow("missing key") << QByteArray("-pho") << QByteArray("pho") << QByteArray("缺少");
    QTest::newRow("repeated key") << QByteArray("+dc=2") << QByteArray("dc") << QByteArray("重复");
    QTest::newRow("repeated equal values") << QByteArray("+dc=3") << QByteArray("dc") << QByteArray("重复");
    QTest::newRow("bad escape") << QByteArray("pho=1234567890%G") << QByteArray("pho") << QByteArray("转义");
}

void TestSiteLogic::quoteChecks()
{
    QFETCH(QByteArray, edits);
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, reason);
    const QuoteParse parsed = parseQuoteRequest(buildQuery(toStd(edits)));
    if (key.isEmpty()) {
        QVERIFY2(parsed.errors.empty(), parsed.errors.empty() ? "" : parsed.errors.front().reason.c_str());
        QVERIFY(parsed.request.has_value());
        return;
    }
    QVERIFY(!parsed.request.has_value());
    QCOMPARE(parsed.errors.size(), std::size_t(1));
    QCOMPARE(QByteArray::fromStdString(parsed.errors.front().key), key);
    QVERIFY2(parsed.errors.front().reason.find(toStd(reason)) != std::string::npos,
             parsed.errors.front().reason.c_str());
}

void TestSiteLogic::rejectedValueShown_data()
{
    QTest::addColumn<QByteArray>("edits");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("received");

    QTest::newRow("phone as sent") << QByteArray("pho=123") << QByteArray("pho") << QByteArray("123");
    QTest::newRow("repeated key shows nothing") << QByteArray("+dc=2") << QByteArray("dc") << QByteArray();
    QTest::newRow("long value cut") << QByteArray("xingshi=" + QByteArray(40, 'a')) << QByteArray("xingshi")
                                    << QByteArray(30, 'a') + "…";
    QTest::newRow("invalid GBK replaced") << QByteArray("sumcityname=%FF%FE%FD") << QByteArray("sumcityname")
                                          << QByteArray("\uFFFD\uFFFD\uFFFD");
    // D6 A7 is 支 in GBK and valid UTF-8 too: the name is shown as the
    // checks read it, not as U+05A7.
    QTest::newRow("GBK that is also UTF-8, control character")
        << QByteArray("xingshi=%D6%A7%0A") << QByteArray("xingshi") << QByteArray("支\n");
    QTest::newRow("GBK that is also UTF-8, too long")
        << QByteArray("xingshi=" + QByteArray("%D6%A7").repeated(21)) << QByteArray("xingshi")
        << QByteArray("支").repeated(21);
    // A value that is not a name is not read as GBK.
    QTest::newRow("UTF-8 count") << QByteArray("bom1=%EF%BC%8C") << QByteArray("bom1") << QByteArray("，");
}

void TestSiteLogic::rejectedValueShown()
{
    QFETCH(QByteArray, edits);
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, received);
    const QuoteParse parsed = parseQuoteRequest(buildQuery(toStd(edits)));
    QCOMPARE(parsed.errors.size(), std::size_t(1));
    QCOMPARE(QByteArray::fromStdString(parsed.errors.front().key), key);
    QCOMPARE(QByteArray::fromStdString(parsed.errors.front().received), received);
}

void TestSiteLogic::exampleDecodesCompletely()
{
    const QuoteParse parsed = parseQuoteRequest(buildQuery("xingshi=%20%CD%F5%20"));
    QVERIFY(parsed.request);
    const QuoteRequest &r = *parsed.request;
    QCOMPARE(r.counts, (std::array<int, 6>{3, 1, 1, 1, 1, 2}));
    // bomarea2 is the living room (room 2), bomarea1 the bedroom (room 1).
    QCOMPARE(r.areas, (std::array<double, 6>{40, 30, 12.5, 8, 5, 6}));
    QCOMPARE(r.grade, 2);
    QCOMPARE(r.style, 3);
    QCOMPARE(r.houseTypeCode, std::string("13"));
    QCOMPARE(r.regionName, std::string("甲乙丙"));
    QCOMPARE(r.formOfAddress, std::string("王"));
    QCOMPARE(r.districtCode, std::string("110101"));

    // Every failing field is named, not only the first.
    const QuoteParse bad = parseQuoteRequest(buildQuery("bom1=9 pho=1 -xingshi"));
    QCOMPARE(bad.errors.size(), std::size_t(3));
    QCOMPARE(bad.errors[0].key, std::string("bom1"));
    QCOMPARE(bad.errors[1].key, std::string("pho"));
    QCOMPARE(bad.errors[2].key, std::string("xingshi"));
    QCOMPARE(bad.errors[1].received, std::string("1"));

    std::string many;
    for (int i = 0; i < 1000; ++i)
        many += "k" + std::to_string(i) + "=1&";
    const QuoteParse flood = parseQuoteRequest(many + buildQuery(""));
    QCOMPARE(flood.errors.size(), std::size_t(1));
    QVERIFY(flood.errors.front().key.empty());
}

void TestSiteLogic::priceTableErrors_data()
{
    QTest::addColumn<QByteArray>("from");
    QTest::addColumn<QByteArray>("to");
    QTest::addColumn<QByteArray>("error"); // empty: still valid

    QTest::newRow("unchanged") << QByteArray("tax = 0.05") << QByteArray("tax = 0.05") << QByteArray();
    QTest::newRow("inline comment") << QByteArray("tax = 0.05") << QByteArray("tax = 0.05   ; 税率")
                                    << QByteArray();
    QTest::newRow("missing entry") << QByteArray("tax = 0.05") << QByteArray("")
                                   << QByteArray("missing entry fees.tax");
    QTest::newRow("given twice") << QByteArray("tax = 0.05") << QByteArray("tax = 0.05\ntax = 0.06")
                                 << QByteArray("line 36: fees.tax given twice");
    QTest::newRow("misspelt key") << QByteArray("tax = 0.05") << QByteArray("taxes = 0.05")
                                  << QByteArray("unknown entry fees.taxes");
    QTest::newRow("not a number") << QByteArray("tax = 0.05") << QByteArray("tax = 5%")
                                  << QByteArray("fees.tax must");
    QTest::newRow("zero base") << QByteArray("base = 800") << QByteArray("base = 0")
                               << QByteArray("grade.1.base must");
    QTest::newRow("material share above 1") << QByteArray("materials = 0.5") << QByteArray("materials = 1.5")
                                            << QByteArray("grade.1.materials must");
    QTest::newRow("region factor of a city")
        << QByteArray("[region]") << QByteArray("[region]\n320100 = 1.1") << QByteArray();
    QTest::newRow("region code of a district")
        << QByteArray("[region]") << QByteArray("[region]\n440103 = 1.1")
        << QByteArray("region.440103 is not the code of a province or city");
    QTest::newRow("region code not digits") << QByteArray("[region]") << QByteArray("[region]\n44ab00 = 1.1")
                                            << QByteArray("region.44ab00 is not");
    QTest::newRow("region code with a nine")
        << QByteArray("[region]") << QByteArray("[region]\n130900 = 1.1") << QByteArray();
    QTest::newRow("region code too short")
        << QByteArray("[region]") << QByteArray("[region]\n4400 = 1.1") << QByteArray("region.4400 is not");
    QTest::newRow("style factor zero")
        << QByteArray("[style.1]\nfactor = 1") << QByteArray("[style.1]\nfactor = 0")
        << QByteArray("style.1.factor must be a number above 0 to 10");
    QTest::newRow("region factor zero")
        << QByteArray("440000 = 0.8") << QByteArray("440000 = 0")
        << QByteArray("line 37: region.440000 must be a number above 0 to 10");
    QTest::newRow("region factor at its limit")
        << QByteArray("440000 = 0.8") << QByteArray("440000 = 10") << QByteArray();
    QTest::newRow("region factor past its limit")
        << QByteArray("440000 = 0.8") << QByteArray("440000 = 10.01") << QByteArray("region.440000 must");
    QTest::newRow("region given twice")
        << QByteArray("440100 = 1.25") << QByteArray("440100 = 1.25\n440100 = 1.3")
        << QByteArray("line 39: region.440100 given twice");
    QTest::newRow("unclosed section")
        << QByteArray("[fees]") << QByteArray("[fees") << QByteArray("unclosed");
}

void TestSiteLogic::priceTableErrors()
{
    QFETCH(QByteArray, from);
    QFETCH(QByteArray, to);
    QFETCH(QByteArray, error);
    std::string text = readText(SITE_FIXTURE_PRICES);
    const auto at = text.find(toStd(from));
    QVERIFY(at != std::string::npos);
    text.replace(at, static_cast<std::size_t>(from.size()), toStd(to));
    std::string message;
    const auto table = PriceTable::parse(text, message);
    QCOMPARE(table.has_value(), error.isEmpty());
    if (!error.isEmpty())
        QVERIFY2(message.find(toStd(error)) != std::string::npos, message.c_str());
}

void TestSiteLogic::shippedPricesMatchAdvertisedLevels_data()
{
    QTest::addColumn<int>("grade");
    QTest::addColumn<double>("advertised");
    QTest::newRow("经济实惠") << 1 << 1000.0;
    QTest::newRow("小康实用") << 2 << 1650.0;
    QTest::newRow("高档豪华") << 3 << 2500.0;
}

void TestSiteLogic::shippedPricesMatchAdvertisedLevels()
{
    // The pages quote the all-inclusive levels; the shipped table must give
    // them for an ordinary flat in the plainest style (within 5 %).
    QFETCH(int, grade);
    QFETCH(double, advertised);
    std::string error;
    const auto prices = PriceTable::load(SITE_SHIPPED_PRICES, error);
    QVERIFY2(prices, error.c_str());
    const QuoteParse parsed = parseQuoteRequest(buildQuery("fengge=1 dc=" + std::to_string(grade)));
    QVERIFY(parsed.request);
    const Estimate e = estimateQuote(*parsed.request, *prices);
    const double perSquareMetre = static_cast<double>(e.totalFen) / 100.0 / e.countedArea / e.regionFactor;
    QVERIFY2(std::abs(perSquareMetre - advertised) / advertised < 0.05,
             std::to_string(perSquareMetre).c_str());
    // Every province has a factor, and none is far from the national level.
    int provinces = 0;
    for (const auto &[code, factor] : prices->regionFactors) {
        provinces += code.ends_with("0000");
        QVERIFY2(factor >= 0.8 && factor <= 1.3, code.c_str());
    }
    QCOMPARE(provinces, 31);
}

void TestSiteLogic::estimate_data()
{
    QTest::addColumn<QByteArray>("edits");
    QTest::addColumn<qlonglong>("directFen");
    QTest::addColumn<qlonglong>("managementFen");
    QTest::addColumn<qlonglong>("taxFen");
    QTest::addColumn<qlonglong>("totalFen");

    // Fixture: grade 2 base 1000, style 3 × 1.2; rooms 1, 1, 1, kitchen 1.5,
    // balcony 0.5, bathroom 2; management 10 %, tax 5 %.
    // 1200 × (40 + 30 + 12.5) + 1800 × 8 + 600 × 5 + 2400 × 6 = 130 800 yuan.
    QTest::newRow("example") << QByteArray("") << 13080000LL << 1308000LL << 719400LL << 15107400LL;
    // No dining room: its 12.5 m² drop out (15 000 yuan less).
    QTest::newRow("dining area without a dining room")
        << QByteArray("bom3=0 findman3=3") << 11580000LL << 1158000LL << 636900LL << 13374900LL;
    // Grade 1 (800, materials 0.5), style 1: kitchen only, 8 × 1200.
    QTest::newRow("kitchen only")
        << QByteArray("findman3= bom1=0 bom2=0 bom3=0 bom5=0 findman=0 bom6=0 dc=1 fengge=1") << 960000LL
        << 96000LL << 52800LL << 1108800LL;
    // 0.33333 m² of bathroom at 4000 yuan: 1333.32; fee 133.332 and tax
    // 73.3325 are rounded to the fen.
    QTest::newRow("fractions of a fen")
        << QByteArray("findman3= bom1=0 bom2=0 bom3=0 bom5=0 findman=0 bomarea4=0 "
                      "bomarea6=0.33333 dc=3 fengge=1")
        << 133332LL << 13333LL << 7333LL << 153998LL;
    // 广州市 1.25 over 广东省 0.8: every unit price of the example × 1.25.
    QTest::newRow("city factor") << QByteArray("cit1=440000 cit2=440100 cit3=440103") << 16350000LL
                                 << 1635000LL << 899250LL << 18884250LL;
    // Another city of the province: the province's 0.8.
    QTest::newRow("province factor") << QByteArray("cit1=440000 cit2=440300 cit3=440303") << 10464000LL
                                     << 1046400LL << 575520LL << 12085920LL;
    QTest::newRow("all areas zero")
        << QByteArray("bomarea1=0 bomarea2=0 bomarea3=0 bomarea4=0 bomarea5=0 bomarea6=0") << 0LL << 0LL
        << 0LL << 0LL;
}

void TestSiteLogic::estimate()
{
    QFETCH(QByteArray, edits);
    QFETCH(qlonglong, directFen);
    QFETCH(qlonglong, managementFen);
    QFETCH(qlonglong, taxFen);
    QFETCH(qlonglong, totalFen);
    const QuoteParse parsed = parseQuoteRequest(buildQuery(toStd(edits)));
    QVERIFY2(parsed.request, parsed.errors.empty() ? "" : parsed.errors.front().key.c_str());
    const Estimate e = estimateQuote(*parsed.request, fixturePrices());
    QCOMPARE(e.directFen, directFen);
    QCOMPARE(e.managementFen, managementFen);
    QCOMPARE(e.taxFen, taxFen);
    QCOMPARE(e.totalFen, totalFen);
    QCOMPARE(e.materialsFen + e.labourFen, e.directFen);
    long long lines = 0;
    for (const auto &line : e.lines)
        lines += line.amountFen;
    QCOMPARE(lines, e.directFen);
}

void TestSiteLogic::estimateLines()
{
    const QuoteParse parsed = parseQuoteRequest(buildQuery("bom3=0 findman3=3"));
    QVERIFY(parsed.request);
    const Estimate e = estimateQuote(*parsed.request, fixturePrices());
    QCOMPARE(e.lines.size(), std::size_t(6));
    const Room order[] = {Room::LivingRoom, Room::DiningRoom, Room::Bedroom,
                          Room::Kitchen,    Room::Bathroom,   Room::Balcony};
    for (std::size_t i = 0; i < 6; ++i)
        QCOMPARE(e.lines[i].room, order[i]);
    const EstimateLine &dining = e.lines[1];
    QVERIFY(!dining.counted);
    QCOMPARE(dining.area, 12.5);
    QCOMPARE(dining.amountFen, 0LL);
    const EstimateLine &bathroom = e.lines[4];
    QCOMPARE(bathroom.unitPriceFen, 240000LL);
    QCOMPARE(bathroom.amountFen, 1440000LL);
    QCOMPARE(bathroom.materialsFen, 864000LL); // 60 % materials
    QCOMPARE(bathroom.labourFen, 576000LL);
    QCOMPARE(e.countedArea, 40.0 + 30 + 8 + 5 + 6);
}

void TestSiteLogic::formatYuan_data()
{
    QTest::addColumn<qlonglong>("fen");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("zero") << 0LL << QByteArray("0.00");
    QTest::newRow("five fen") << 5LL << QByteArray("0.05");
    QTest::newRow("thousand") << 100000LL << QByteArray("1,000.00");
    QTest::newRow("just below thousand") << 99999LL << QByteArray("999.99");
    QTest::newRow("millions") << 123456789LL << QByteArray("1,234,567.89");
    QTest::newRow("negative") << -150LL << QByteArray("-1.50");
}

void TestSiteLogic::formatYuan()
{
    QFETCH(qlonglong, fen);
    QFETCH(QByteArray, text);
    QCOMPARE(QByteArray::fromStdString(SitePages::formatYuan(fen)), text);
}

void TestSiteLogic::pagesEscapeVisitorText_data()
{
    QTest::addColumn<QByteArray>("edits");
    QTest::addColumn<QByteArrayList>("shown");
    QTest::addColumn<QByteArrayList>("absent");
    QTest::newRow("visitor text escaped") << QByteArray("xingshi=%3Cb%3E sumcityname=%22%3E%3Cscript%3E")
                                          << QByteArrayList{"&lt;b&gt;先生/女士", "&quot;&gt;&lt;script&gt;",
                                                            "123****8901", "id=\"total\">151,074.00<"}
                                          << QByteArrayList{"<script>"};
    QTest::newRow("bare surname") << QByteArray("xingshi=%CD%F5")
                                  << QByteArrayList{"尊敬的王先生/女士，", "<td>王先生/女士</td>"}
                                  << QByteArrayList{};
    QTest::newRow("honorific as typed")
        << QByteArray("xingshi=%CD%F5%CF%C8%C9%FA") << QByteArrayList{"尊敬的王先生，", "<td>王先生</td>"}
        << QByteArrayList{"先生先生", "先生/女士"};
    QTest::newRow("issued, valid until, contact")
        << QByteArray("")
        << QByteArrayList{"报价编号 <strong id=\"number\">{example}<", "估算日期 2024年1月1日",
                          "有效期至 2024年1月31日（30天）", "网址 http://127.0.0.1:8360",
                          "<th>地区系数</th><td>1</td>"}
        << QByteArrayList{};
    // The example flat in grade 1: 960 × 82.5 + 1440 × 8 + 480 × 5 + 1920 × 6
    // = 104 640 yuan direct, 120 859.20 with fee and tax, over 101.5 m².
    QTest::newRow("grades compared")
        << QByteArray("")
        << QByteArrayList{"<tr><th>经济实惠</th><td class=\"num\">1,190.73</td><td "
                          "class=\"num\">120,859.20</td>",
                          "<tr class=\"chosen\"><th>小康实用（本报价）</th><td class=\"num\">1,488.41</td>"
                          "<td class=\"num\">151,074.00</td>"}
        << QByteArrayList{"经济实惠（本报价）"};
    QTest::newRow("another flat, another number")
        << QByteArray("bomarea1=41") << QByteArrayList{"RV-"} << QByteArrayList{"{example}"};
    QTest::newRow("another grade, another number")
        << QByteArray("dc=3") << QByteArrayList{"RV-"} << QByteArrayList{"{example}"};
    QTest::newRow("no area counted")
        << QByteArray("bomarea1=0 bomarea2=0 bomarea3=0 bomarea4=0 bomarea5=0 bomarea6=0")
        << QByteArrayList{"（本报价）</th><td class=\"num\">—</td>"} << QByteArrayList{"inf"};
    QTest::newRow("region factor shown")
        << QByteArray("cit1=440000 cit2=440100 cit3=440103")
        << QByteArrayList{"<th>地区系数</th><td>1.25</td>"} << QByteArrayList{};
    QTest::newRow("honorific first") << QByteArray("xingshi=%C5%AE%CA%BF%C0%EE")
                                     << QByteArrayList{"尊敬的女士李，"} << QByteArrayList{"先生/女士"};
}

void TestSiteLogic::pagesEscapeVisitorText()
{
    QFETCH(QByteArray, edits);
    QFETCH(QByteArrayList, shown);
    QFETCH(QByteArrayList, absent);
    QuoteParse parsed = parseQuoteRequest(buildQuery(toStd(edits)));
    QVERIFY(parsed.request);
    const Estimate e = estimateQuote(*parsed.request, fixturePrices());
    const std::string html = SitePages::quoteContent(
        *parsed.request, e, fixturePrices(), {"2024年1月1日", "2024年1月31日", "http://127.0.0.1:8360"});
    // "{example}" stands for the quote number of the unedited example.
    const QByteArray example =
        QByteArray::fromStdString(quoteNumber(*parseQuoteRequest(buildQuery("")).request));
    QVERIFY2(QRegularExpression(QStringLiteral("^RV(-[0-9A-F]{4}){3}$"))
                 .match(QString::fromLatin1(example))
                 .hasMatch(),
             example.constData());
    for (QByteArray text : shown)
        QVERIFY2(html.find(text.replace("{example}", example).toStdString()) != std::string::npos,
                 text.constData());
    for (QByteArray text : absent)
        QVERIFY2(html.find(text.replace("{example}", example).toStdString()) == std::string::npos,
                 text.constData());
    const std::string errors = SitePages::quoteErrorContent({{"xingshi", "称呼", "不能为空", "<i>"}});
    QVERIFY(errors.find("&lt;i&gt;") != std::string::npos);
    QVERIFY(errors.find("<i>") == std::string::npos);
}

void TestSiteLogic::layoutAndPlaceholders()
{
    const std::string layout = "<title>{{title}}</title><main>{{content}}</main>";
    QCOMPARE(SitePages::applyLayout(layout, "<!-- layout: 最新动态 -->\n<p>{{site}}</p>"),
             std::string("<title>最新动态</title><main>\n<p>{{site}}</p></main>"));
    QCOMPARE(SitePages::applyLayout(layout, "<!DOCTYPE html><p>x</p>"),
             std::string("<!DOCTYPE html><p>x</p>"));
    // Content that itself contains placeholders is not filled again.
    QCOMPARE(SitePages::wrap(layout, "t", "{{title}}"),
             std::string("<title>t</title><main>{{title}}</main>"));
    QCOMPARE(SitePages::fill("a{{x}}b{{y}}c{{", {{"x", "1"}}), std::string("a1b{{y}}c{{"));
}

QTEST_APPLESS_MAIN(TestSiteLogic)
#include "test_site_logic.moc"
