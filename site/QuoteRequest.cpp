#include "site/QuoteRequest.h"

#include "site/QueryString.h"
#include "site/TextCodec.h"

#include "quote/core/QuoteLimits.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace site {

namespace {

enum class Kind
{
    Count,
    Area,
    Phone,
    Province,
    City,
    District,
    Grade,
    HouseType,
    Submit,
    Style,
    Region,
    Address
};

struct FieldSpec
{
    std::string_view key;
    std::string_view label;
    Kind kind;
    int room = 0;
};

// The keys in the order the desktop program sends them.
constexpr FieldSpec fieldSpecs[] = {
    {"bom1", "卧房数量", Kind::Count, 1},
    {"bom2", "客厅数量", Kind::Count, 2},
    {"bom3", "餐厅数量", Kind::Count, 3},
    {"bom4", "厨房数量", Kind::Count, 4},
    {"bom5", "阳台数量", Kind::Count, 5},
    {"bom6", "卫生间数量", Kind::Count, 6},
    {"bomarea2", "客厅面积", Kind::Area, 2},
    {"bomarea3", "餐厅面积", Kind::Area, 3},
    {"bomarea1", "卧房面积", Kind::Area, 1},
    {"bomarea4", "厨房面积", Kind::Area, 4},
    {"bomarea5", "阳台面积", Kind::Area, 5},
    {"bomarea6", "卫生间面积", Kind::Area, 6},
    {"pho", "手机号码", Kind::Phone},
    {"cit1", "省份", Kind::Province},
    {"cit2", "城市", Kind::City},
    {"cit3", "区县", Kind::District},
    {"dc", "装修档次", Kind::Grade},
    {"findman3", "户型", Kind::HouseType},
    {"kongzhi", "提交标志", Kind::Submit},
    {"findman", "阳台数量", Kind::Count, 5},
    {"fengge", "装修风格", Kind::Style},
    {"sumcityname", "业主地址", Kind::Region},
    {"xingshi", "称呼", Kind::Address},
};

struct HouseType
{
    std::string_view code;
    int bedrooms, livingRooms, diningRooms;
};

constexpr HouseType houseTypes[] = {
    {"", 0, 0, 0},   {"1", 1, 1, 0},  {"2", 2, 1, 0},  {"3", 3, 1, 0},
    {"12", 2, 1, 1}, {"13", 3, 1, 1}, {"14", 4, 1, 1}, {"15", 5, 1, 1},
};

constexpr const FieldSpec &specOf(std::string_view key)
{
    for (const auto &field : fieldSpecs) {
        if (field.key == key)
            return field;
    }
    return fieldSpecs[0];
}

using QuoteLimits::maxAddressLength;
using QuoteLimits::maxArea;
using QuoteLimits::maxRegionLength;
constexpr std::size_t maxShownLength = 30;

bool allDigits(std::string_view s)
{
    if (s.empty())
        return false;
    for (char c : s) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

std::optional<int> smallNumber(std::string_view s, int lowest, int highest)
{
    if (!allDigits(s) || s.size() > 2)
        return std::nullopt;
    int value = 0;
    std::from_chars(s.data(), s.data() + s.size(), value);
    if (value < lowest || value > highest)
        return std::nullopt;
    return value;
}

enum class AreaProblem
{
    None,
    NotNumber,
    OutOfRange
};

AreaProblem parseArea(std::string_view s, double &value)
{
    if (s.empty() || s.size() > 32)
        return AreaProblem::NotNumber;
    // A desktop in a locale with a decimal comma writes "12,5".
    std::string text(s);
    if (text.find('.') == std::string::npos) {
        if (const auto comma = text.find(','); comma != std::string::npos)
            text[comma] = '.';
    }
    const char *end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range)
        return AreaProblem::OutOfRange;
    if (ec != std::errc() || ptr != end || !std::isfinite(value))
        return AreaProblem::NotNumber;
    if (value < 0 || value > maxArea)
        return AreaProblem::OutOfRange;
    if (value == 0)
        value = 0; // no "-0"
    return AreaProblem::None;
}

// Removes blanks and ideographic spaces at both ends.
std::string_view trimBlanks(std::string_view s)
{
    constexpr std::string_view ideographicSpace = "\u3000";
    for (;;) {
        if (s.starts_with(' '))
            s.remove_prefix(1);
        else if (s.starts_with(ideographicSpace))
            s.remove_prefix(ideographicSpace.size());
        else
            break;
    }
    for (;;) {
        if (s.ends_with(' '))
            s.remove_suffix(1);
        else if (s.ends_with(ideographicSpace))
            s.remove_suffix(ideographicSpace.size());
        else
            break;
    }
    return s;
}

bool isProvinceCode(std::string_view s)
{
    return s.size() == 6 && allDigits(s) && s.substr(0, 2) != "00" && s.substr(2) == "0000";
}

bool isCityCode(std::string_view s)
{
    return s.size() == 6 && allDigits(s) && s.substr(2, 2) != "00" && s.substr(4) == "00";
}

bool isDistrictCode(std::string_view s)
{
    return s.size() == 6 && allDigits(s) && s.substr(2, 2) != "00" && s.substr(4) != "00";
}

class Checker
{
public:
    explicit Checker(std::string_view query) : m_pairs(QueryString::parse(query)) {}

    QuoteParse run();

private:
    // The one value of a key, or nothing after recording why there is none.
    const std::string *valueOf(const FieldSpec &field);
    void fail(const FieldSpec &field, std::string reason, std::string_view received);
    void checkField(const FieldSpec &field, const std::string &value);
    void checkTogether();

    // Where each field's value is: the first pair with its key, and how many
    // pairs have it. Filled in one pass over the pairs.
    void indexPairs();

    std::vector<QueryString::Pair> m_pairs;
    std::array<const QueryString::Pair *, std::size(fieldSpecs)> m_firstPair{};
    std::array<int, std::size(fieldSpecs)> m_occurrences{};
    QuoteRequest m_request;
    std::vector<FieldError> m_errors;
    std::string m_balconyText;
    std::string m_findmanText;
    bool m_codesValid = true;
    bool m_countsValid = true;
    bool m_houseTypeValid = true;
};

QuoteParse Checker::run()
{
    if (m_pairs.size() > maxQueryPairs) {
        m_errors.push_back({"", "请求",
                            "查询参数过多（收到" + std::to_string(m_pairs.size()) + "个，最多" +
                                std::to_string(maxQueryPairs) + "个）",
                            ""});
        return {std::nullopt, std::move(m_errors)};
    }
    indexPairs();
    for (const FieldSpec &field : fieldSpecs) {
        if (const std::string *value = valueOf(field))
            checkField(field, *value);
        else if (field.kind == Kind::Province || field.kind == Kind::City || field.kind == Kind::District)
            m_codesValid = false;
        else if (field.kind == Kind::Count || field.kind == Kind::HouseType)
            m_countsValid = m_houseTypeValid = false;
    }
    checkTogether();
    if (!m_errors.empty())
        return {std::nullopt, std::move(m_errors)};
    return {std::move(m_request), {}};
}

void Checker::indexPairs()
{
    for (const auto &pair : m_pairs) {
        if (!pair.keyValid || pair.key.empty())
            continue;
        for (std::size_t i = 0; i < std::size(fieldSpecs); ++i) {
            // The last character tells most keys apart (bom1 … bom6) before
            // a full comparison.
            const std::string_view key = fieldSpecs[i].key;
            if (key.back() == pair.key.back() && key == pair.key) {
                if (m_occurrences[i]++ == 0)
                    m_firstPair[i] = &pair;
                break;
            }
        }
    }
}

const std::string *Checker::valueOf(const FieldSpec &field)
{
    const auto index = static_cast<std::size_t>(&field - fieldSpecs);
    const int occurrences = m_occurrences[index];
    const QueryString::Pair *found = m_firstPair[index];
    if (occurrences == 0) {
        fail(field, "缺少此项", {});
        return nullptr;
    }
    if (occurrences > 1) {
        fail(field, "重复出现" + std::to_string(occurrences) + "次", {});
        return nullptr;
    }
    if (!found->valueValid) {
        fail(field, "含有无效的百分号转义", {});
        return nullptr;
    }
    return &found->value;
}

void Checker::fail(const FieldSpec &field, std::string reason, std::string_view received)
{
    m_errors.push_back({std::string(field.key), std::string(field.label), std::move(reason),
                        TextCodec::truncateUtf8(TextCodec::decodeChineseLenient(received), maxShownLength)});
}

void Checker::checkField(const FieldSpec &field, const std::string &value)
{
    switch (field.kind) {
    case Kind::Count: {
        const auto n = smallNumber(value, 0, 5);
        if (!n) {
            fail(field, "应为0到5之间的整数", value);
            m_countsValid = false;
        } else if (field.key == "findman") {
            m_findmanText = value;
        } else {
            m_request.counts[field.room - 1] = *n;
            if (field.room == static_cast<int>(Room::Balcony))
                m_balconyText = value;
        }
        break;
    }
    case Kind::Area: {
        double area = 0;
        switch (parseArea(value, area)) {
        case AreaProblem::NotNumber:
            fail(field, "不是有效的数字", value);
            break;
        case AreaProblem::OutOfRange:
            fail(field, "应在0到" + std::to_string(static_cast<int>(maxArea)) + "平方米之间", value);
            break;
        case AreaProblem::None:
            m_request.areas[field.room - 1] = area;
        }
        break;
    }
    case Kind::Phone:
        if (value.size() == 11 && allDigits(value))
            m_request.phone = value;
        else
            fail(field, "应为11位数字", value);
        break;
    case Kind::Province:
        if (isProvinceCode(value))
            m_request.provinceCode = value;
        else {
            fail(field, "不是有效的省级行政区划代码", value);
            m_codesValid = false;
        }
        break;
    case Kind::City:
        if (isCityCode(value))
            m_request.cityCode = value;
        else {
            fail(field, "不是有效的地级行政区划代码", value);
            m_codesValid = false;
        }
        break;
    case Kind::District:
        if (isDistrictCode(value))
            m_request.districtCode = value;
        else {
            fail(field, "不是有效的县级行政区划代码", value);
            m_codesValid = false;
        }
        break;
    case Kind::Grade:
        if (const auto n = smallNumber(value, 1, 3); n && value.size() == 1)
            m_request.grade = *n;
        else
            fail(field, "应为1到3", value);
        break;
    case Kind::Style:
        if (const auto n = smallNumber(value, 1, 5); n && value.size() == 1)
            m_request.style = *n;
        else
            fail(field, "应为1到5", value);
        break;
    case Kind::HouseType: {
        bool known = false;
        for (const auto &type : houseTypes)
            known = known || type.code == value;
        if (known)
            m_request.houseTypeCode = value;
        else {
            fail(field, "不是有效的户型代码", value);
            m_houseTypeValid = false;
        }
        break;
    }
    case Kind::Submit:
        if (value != "tijiao")
            fail(field, "应为tijiao", value);
        break;
    case Kind::Region:
    case Kind::Address: {
        const bool isRegion = field.kind == Kind::Region;
        const auto text = TextCodec::decodeChineseStrict(value);
        if (!text) {
            fail(field, "不是有效的GBK或UTF-8文字", value);
            break;
        }
        // A rejected name is shown as read here: bytes that are both GBK and
        // UTF-8 would otherwise be shown as the UTF-8 text.
        const std::string_view trimmed = trimBlanks(*text);
        const std::size_t limit = isRegion ? maxRegionLength : maxAddressLength;
        if (trimmed.empty())
            fail(field, "不能为空", *text);
        else if (TextCodec::hasControlCharacter(trimmed))
            fail(field, "含有控制字符", *text);
        else if (TextCodec::codePointCount(trimmed) > limit)
            fail(field, "过长（最多" + std::to_string(limit) + "个字）", *text);
        else if (isRegion)
            m_request.regionName = std::string(trimmed);
        else
            m_request.formOfAddress = std::string(trimmed);
        break;
    }
    }
}

void Checker::checkTogether()
{
    if (m_codesValid) {
        if (m_request.cityCode.compare(0, 2, m_request.provinceCode, 0, 2) != 0)
            fail(specOf("cit2"), "不属于所选省份", m_request.cityCode);
        else if (m_request.districtCode.compare(0, 4, m_request.cityCode, 0, 4) != 0)
            fail(specOf("cit3"), "不属于所选城市", m_request.districtCode);
    }
    if (!m_countsValid || !m_houseTypeValid)
        return;
    if (m_findmanText != m_balconyText)
        fail(specOf("findman"), "与bom5不一致", m_findmanText);
    for (const auto &type : houseTypes) {
        if (type.code != m_request.houseTypeCode)
            continue;
        if (type.bedrooms != m_request.count(Room::Bedroom) ||
            type.livingRooms != m_request.count(Room::LivingRoom) ||
            type.diningRooms != m_request.count(Room::DiningRoom))
            fail(specOf("findman3"), "与卧房、客厅、餐厅数量不符", m_request.houseTypeCode);
    }
}

} // namespace

QuoteParse parseQuoteRequest(std::string_view query)
{
    return Checker(query).run();
}

std::string quoteNumber(const QuoteRequest &request)
{
    // FNV-1a over every field, each closed by a byte no text contains.
    std::uint64_t hash = 14695981039346656037ULL;
    const auto mix = [&hash](std::string_view text) {
        for (unsigned char c : text) {
            hash ^= c;
            hash *= 1099511628211ULL;
        }
        hash ^= 0xFF;
        hash *= 1099511628211ULL;
    };
    char buffer[32];
    for (int i = 0; i < roomKinds; ++i) {
        mix(std::to_string(request.counts[i]));
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, request.areas[i]).ptr;
        mix(std::string_view(buffer, static_cast<std::size_t>(end - buffer)));
    }
    mix(std::to_string(request.style));
    mix(std::to_string(request.grade));
    for (const std::string *text :
         {&request.houseTypeCode, &request.phone, &request.provinceCode, &request.cityCode,
          &request.districtCode, &request.regionName, &request.formOfAddress})
        mix(*text);
    constexpr char hex[] = "0123456789ABCDEF";
    std::string number = "RV";
    for (int digit = 0; digit < 12; ++digit) {
        if (digit % 4 == 0)
            number += '-';
        number += hex[(hash >> (60 - 4 * digit)) & 0xF];
    }
    return number;
}

std::string_view roomName(Room room)
{
    switch (room) {
    case Room::Bedroom:
        return "卧房";
    case Room::LivingRoom:
        return "客厅";
    case Room::DiningRoom:
        return "餐厅";
    case Room::Kitchen:
        return "厨房";
    case Room::Balcony:
        return "阳台";
    case Room::Bathroom:
        return "卫生间";
    }
    return {};
}

} // namespace site
