// The quote request from arbitrary control texts: which check fails, and on
// success the shape of the URL and what its values decode to.
#include "FuzzSupport.h"

#include "app/core/AppTexts.h"
#include "platform/core/GbkText.h"
#include "quote/core/NumberText.h"
#include "quote/core/QuoteLimits.h"
#include "quote/core/QuoteRequest.h"
#include "quote/core/RegionTable.h"

#include <QHash>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {
const QStringView regions[] = {u"请选择",        u"110000|北京市", u"110100|市辖区",
                               u"110101|东城区", u"P1|甲",         u"|",
                               u"a|b|c",         u"&|=",           u"%|#"};
const QStringView houseTypes[] = {u"请选择",   u"一房一厅", u"二房一厅", u"三房一厅",
                                  u"二房二厅", u"三房二厅", u"四房二厅", u"五房二厅"};
const QStringView counts[] = {u"请选择", u"一间", u"二间", u"三间", u"四间"};
const QStringView areas[] = {u"30",      u"12.5", u" 8 ", u"0",   u"-3", u"1e3", u"1e4",
                             u"10000.5", u"1,5",  u"inf", u"nan", u"",   u"-0"};
const QStringView phones[] = {u"12345678901", u"1234567890", u"abcdefghij1", u"123456789012"};
const QStringView addresses[] = {u"王", u" 王 ", u"   ", u"\t", u"\u3000", u"", u"王先生", u"王\u202E"};

const QStringView keys[] = {u"bom1",     u"bom2",     u"bom3",     u"bom4",        u"bom5",     u"bom6",
                            u"bomarea2", u"bomarea3", u"bomarea1", u"bomarea4",    u"bomarea5", u"bomarea6",
                            u"pho",      u"cit1",     u"cit2",     u"cit3",        u"dc",       u"findman3",
                            u"kongzhi",  u"findman",  u"fengge",   u"sumcityname", u"xingshi"};

bool isRegionEntry(const QString &text)
{
    return text != RegionTable::pleaseChoose() && text.contains(u'|');
}

bool isMobileNumber(const QString &text)
{
    return text.size() == 11 &&
           std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// What the quote service refuses in a name: nothing but blanks, a control
// character, or more code points than the limit once the blanks are gone.
bool isRefusedName(const QString &text, std::size_t limit)
{
    QList<uint> points = text.toUcs4();
    while (!points.isEmpty() && QuoteLimits::isBlank(points.first()))
        points.removeFirst();
    while (!points.isEmpty() && QuoteLimits::isBlank(points.last()))
        points.removeLast();
    return !text.isValidUtf16() || points.isEmpty() || std::size_t(points.size()) > limit ||
           std::any_of(points.cbegin(), points.cend(),
                       [](uint c) { return QuoteLimits::isControlCharacter(c); });
}

bool isUnreservedOrEscape(QStringView value)
{
    for (qsizetype i = 0; i < value.size(); ++i) {
        const char16_t c = value.at(i).unicode();
        if ((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'-' ||
            c == u'.' || c == u'_' || c == u'~')
            continue;
        const auto hex = [&](qsizetype at) {
            return at < value.size() && ((value.at(at) >= u'0' && value.at(at) <= u'9') ||
                                         (value.at(at) >= u'A' && value.at(at) <= u'F'));
        };
        if (c != u'%' || !hex(i + 1) || !hex(i + 2))
            return false;
        i += 2;
    }
    return true;
}

QString decoded(QStringView value)
{
    return GbkText::decode(QByteArray::fromPercentEncoding(value.toLatin1()));
}

void checkUrl(const QuoteForm &form, const QLocale &locale, const QString &url, const QString &context)
{
    const QString prefix = AppTexts::webUrl(u"/AutoPrice.action?"_s);
    FUZZ_CHECK(url.startsWith(prefix), context);
    const QStringList pairs = url.mid(prefix.size()).split(u'&');
    FUZZ_CHECK(pairs.size() == qsizetype(std::size(keys)), context);
    QHash<QStringView, QString> values;
    for (qsizetype i = 0; i < pairs.size(); ++i) {
        const QStringView pair = pairs.at(i);
        FUZZ_CHECK(pair.startsWith(keys[i]) && pair.mid(keys[i].size()).startsWith(u'='), context);
        const QStringView value = pair.mid(keys[i].size() + 1);
        FUZZ_CHECK(isUnreservedOrEscape(value), context);
        values.insert(keys[i], decoded(value));
    }

    FUZZ_CHECK(values[u"bom4"] == u"1" && values[u"kongzhi"] == u"tijiao", context);
    FUZZ_CHECK(values[u"findman"] == values[u"bom5"], context);
    FUZZ_CHECK(QStringList({u"1"_s, u"2"_s, u"3"_s}).contains(values[u"dc"]), context);
    FUZZ_CHECK(QStringList({u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s}).contains(values[u"fengge"]), context);
    FUZZ_CHECK(values[u"pho"] == form.phone, context);
    // Well-formed text comes through GBK unchanged, but for the old
    // private-use code points of characters GB18030 now has.
    if (form.formOfAddress.isValidUtf16())
        FUZZ_CHECK(values[u"xingshi"] == GbkText::standardized(form.formOfAddress), context);
    const QString cities[] = {form.city1, form.city2, form.city3};
    QString name;
    for (int i = 0; i < 3; ++i) {
        name += cities[i].section(u'|', 1, 1);
        if (cities[i].isValidUtf16())
            FUZZ_CHECK(values[u"cit%1"_s.arg(i + 1)] == GbkText::standardized(cities[i].section(u'|', 0, 0)),
                       context);
    }
    if (name.isValidUtf16())
        FUZZ_CHECK(values[u"sumcityname"] == GbkText::standardized(name), context);
    // Each area is the field's number, finite, from 0 to the limit, written back in
    // the general format. (Reading the written text again is no check: Qt 6.4
    // cannot read some signs and exponents it writes, e.g. in Persian.)
    const std::pair<QStringView, const QString *> areaFields[] = {
        {u"bomarea1", &form.bedroomArea},    {u"bomarea2", &form.livingRoomArea},
        {u"bomarea3", &form.diningRoomArea}, {u"bomarea4", &form.kitchenArea},
        {u"bomarea5", &form.balconyArea},    {u"bomarea6", &form.bathroomArea},
    };
    for (const auto &[key, field] : areaFields) {
        const std::optional<double> area = NumberText::toNumber(*field, locale);
        FUZZ_CHECK(area && std::isfinite(*area) && *area >= 0 && *area <= QuoteLimits::maxArea,
                   context + u" "_s + key.toString());
        FUZZ_CHECK(values[key] == NumberText::toText(*area, locale), context + u" "_s + key.toString());
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    FuzzedDataProvider data(bytes, size);
    using FuzzSupport::consumeChoiceOrText;
    const QLocale locale = FuzzSupport::consumeLocale(data);

    QuoteForm form;
    form.city1 = consumeChoiceOrText(data, regions);
    form.city2 = consumeChoiceOrText(data, regions);
    form.city3 = consumeChoiceOrText(data, regions);
    form.houseType = consumeChoiceOrText(data, houseTypes);
    form.bathrooms = consumeChoiceOrText(data, counts);
    form.balconies = consumeChoiceOrText(data, counts);
    for (QString *area : {&form.livingRoomArea, &form.diningRoomArea, &form.bedroomArea, &form.kitchenArea,
                          &form.bathroomArea, &form.balconyArea})
        *area = consumeChoiceOrText(data, areas);
    for (bool &option : form.style)
        option = data.ConsumeBool();
    for (bool &option : form.grade)
        option = data.ConsumeBool();
    form.phone = consumeChoiceOrText(data, phones);
    form.formOfAddress = consumeChoiceOrText(data, addresses);

    const QuoteRequest request = QuoteRequest::build(form, locale);
    const QString context =
        QStringList{form.city1, form.city2, form.city3, form.phone, form.formOfAddress}.join(u" ; "_s) +
        u" => "_s + request.message + request.url;
    FUZZ_CHECK(request.ok() != request.url.isEmpty(), context);

    // The last failing check of address, number, form of address names the field.
    QString missing;
    const QString regionName =
        form.city1.section(u'|', 1, 1) + form.city2.section(u'|', 1, 1) + form.city3.section(u'|', 1, 1);
    if (!isRegionEntry(form.city1) || !isRegionEntry(form.city2) || !isRegionEntry(form.city3) ||
        isRefusedName(regionName, QuoteLimits::maxRegionLength))
        missing = u"业主地址"_s;
    if (!isMobileNumber(form.phone))
        missing = u"电话号码"_s;
    if (isRefusedName(form.formOfAddress, QuoteLimits::maxAddressLength))
        missing = u"称呼"_s;
    if (!missing.isEmpty()) {
        FUZZ_CHECK(request.message == u"请录入正确的："_s + missing, context);
        return 0;
    }
    if (!request.ok()) {
        FUZZ_CHECK(request.message.startsWith(u"请录入正确的："_s) && request.message.endsWith(u"面积"_s),
                   context);
        return 0;
    }
    checkUrl(form, locale, request.url, context);
    return 0;
}
