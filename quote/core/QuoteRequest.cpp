#include "quote/core/QuoteRequest.h"

#include "app/core/AppTexts.h"
#include "quote/core/HouseRules.h"
#include "quote/core/NumberText.h"
#include "quote/core/QuoteLimits.h"
#include "quote/core/RegionTable.h"
#include "quote/core/UrlEncoding.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <optional>
#include <utility>

using namespace Qt::StringLiterals;

namespace {
QString missingFieldMessage(const QString &field)
{
    return u"请录入正确的："_s + field;
}

// A region text counts when it is a chosen entry: not "请选择" and with a bar.
bool isRegionEntry(const QString &text)
{
    return text != RegionTable::pleaseChoose() && text.contains(u'|');
}

bool isMobileNumber(const QString &text)
{
    static const QRegularExpression elevenDigits(QRegularExpression::anchoredPattern(u"[0-9]{11}"_s));
    return elevenDigits.match(text).hasMatch();
}

// The number of the first selected option, else the last one's.
template <std::size_t N> QString selectedOption(const std::array<bool, N> &options)
{
    for (std::size_t i = 0; i + 1 < N; ++i) {
        if (options[i])
            return QString::number(i + 1);
    }
    return QString::number(N);
}

// A name the quote service takes: well-formed text with something left once
// the blanks around it are gone, at most limit code points of it and no
// control character.
bool isAcceptableName(const QString &text, std::size_t limit)
{
    if (!text.isValidUtf16())
        return false;
    const QList<uint> points = text.toUcs4();
    const auto blank = [](uint c) { return QuoteLimits::isBlank(c); };
    const auto first = std::find_if_not(points.cbegin(), points.cend(), blank);
    const auto last = std::find_if_not(points.crbegin(), std::make_reverse_iterator(first), blank).base();
    const auto length = static_cast<std::size_t>(last - first);
    return length > 0 && length <= limit &&
           std::none_of(first, last, [](uint c) { return QuoteLimits::isControlCharacter(c); });
}

struct AreaField
{
    QString QuoteForm::*text;
    QStringView caption;
};
// By room number 1 … 6: the order the areas are read and checked in.
const AreaField areaFields[] = {
    {&QuoteForm::bedroomArea, u"卧房"},    {&QuoteForm::livingRoomArea, u"客厅"},
    {&QuoteForm::diningRoomArea, u"餐厅"}, {&QuoteForm::kitchenArea, u"厨房"},
    {&QuoteForm::balconyArea, u"阳台"},    {&QuoteForm::bathroomArea, u"卫生间"},
};
} // namespace

QuoteRequest QuoteRequest::build(const QuoteForm &form, const QLocale &locale)
{
    const QString city[] = {form.city1, form.city2, form.city3};
    QString regionName;
    for (const QString &entry : city)
        regionName += entry.section(u'|', 1, 1);

    // Every check runs; the last one that fails names the field. What the
    // quote service would refuse is refused here, so that every request sent
    // gets a quote.
    QString missing;
    if (!std::all_of(std::cbegin(city), std::cend(city), isRegionEntry) ||
        !isAcceptableName(regionName, QuoteLimits::maxRegionLength))
        missing = u"业主地址"_s;
    if (!isMobileNumber(form.phone))
        missing = u"电话号码"_s;
    if (!isAcceptableName(form.formOfAddress, QuoteLimits::maxAddressLength))
        missing = u"称呼"_s;
    if (!missing.isEmpty())
        return {missingFieldMessage(missing), {}};

    // An area that is no usable floor area stops the request before anything is sent.
    QString areas[6];
    for (int room = 0; room < 6; ++room) {
        const std::optional<double> area = NumberText::toNumber(form.*areaFields[room].text, locale);
        if (!area || !std::isfinite(*area) || *area < 0 || *area > QuoteLimits::maxArea)
            return {missingFieldMessage(areaFields[room].caption.toString() + u"面积"_s), {}};
        areas[room] = NumberText::toText(*area, locale);
    }

    const HouseType house = HouseRules::houseType(form.houseType);
    const QString balconies = QString::number(HouseRules::roomCount(form.balconies));
    const QString bathrooms = QString::number(HouseRules::roomCount(form.bathrooms));
    const std::pair<QStringView, QString> query[] = {
        {u"bom1", QString::number(house.bedrooms)},
        {u"bom2", QString::number(house.livingRooms)},
        {u"bom3", QString::number(house.diningRooms)},
        {u"bom4", u"1"_s},
        {u"bom5", balconies},
        {u"bom6", bathrooms},
        {u"bomarea2", areas[1]},
        {u"bomarea3", areas[2]},
        {u"bomarea1", areas[0]},
        {u"bomarea4", areas[3]},
        {u"bomarea5", areas[4]},
        {u"bomarea6", areas[5]},
        {u"pho", form.phone},
        {u"cit1", city[0].section(u'|', 0, 0)},
        {u"cit2", city[1].section(u'|', 0, 0)},
        {u"cit3", city[2].section(u'|', 0, 0)},
        {u"dc", selectedOption(form.grade)},
        {u"findman3", house.code},
        {u"kongzhi", u"tijiao"_s},
        {u"findman", balconies},
        {u"fengge", selectedOption(form.style)},
        {u"sumcityname", regionName},
        {u"xingshi", form.formOfAddress},
    };
    QString path = u"/AutoPrice.action"_s;
    QChar separator = u'?';
    for (const auto &[key, value] : query) {
        path += separator;
        path += key;
        path += u'=';
        path += UrlEncoding::percentEncodeGbk(value);
        separator = u'&';
    }
    return {{}, AppTexts::webUrl(path)};
}
