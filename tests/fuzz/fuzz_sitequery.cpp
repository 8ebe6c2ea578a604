// The site's quote service from an arbitrary query: splitting and decoding,
// the text codecs, the request checks, and on success the estimate and the
// quote page, otherwise the error page.
#include "site/Estimate.h"
#include "site/PriceTable.h"
#include "site/QueryString.h"
#include "site/QuoteRequest.h"
#include "site/SitePages.h"
#include "site/TextCodec.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

using namespace site;

namespace {

std::string_view currentQuery;

// Control bytes as \xNN, and every byte beyond ASCII too unless the text is
// valid UTF-8, so that the report shows the input as it is.
std::string printable(std::string_view bytes)
{
    const bool utf8 = TextCodec::isValidUtf8(bytes);
    std::string out;
    for (char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if ((u >= 0x20 && u != 0x7F && c != '\\' && (utf8 || u < 0x80)) || c == '\n') {
            out += c;
        } else {
            char escape[5];
            std::snprintf(escape, sizeof escape, "\\x%02X", u);
            out += escape;
        }
    }
    return out;
}

[[noreturn]] void broken(const char *condition, int line, std::string_view detail)
{
    std::fprintf(stderr, "invariant broken: %s (%s:%d)\n  query: %s\n  detail: %s\n", condition, __FILE__,
                 line, printable(currentQuery).c_str(), printable(detail).c_str());
    std::abort();
}

} // namespace

// Without Qt, unlike FuzzSupport.h: the site's library is plain C++.
#define SITE_CHECK(condition, detail)                                                                        \
    do {                                                                                                     \
        if (!(condition))                                                                                    \
            broken(#condition, __LINE__, detail);                                                            \
    } while (false)

namespace {

constexpr std::string_view knownKeys[] = {
    "bom1",     "bom2",     "bom3",     "bom4",     "bom5",   "bom6",        "bomarea2", "bomarea3",
    "bomarea1", "bomarea4", "bomarea5", "bomarea6", "pho",    "cit1",        "cit2",     "cit3",
    "dc",       "findman3", "kongzhi",  "findman",  "fengge", "sumcityname", "xingshi"};

constexpr std::string_view replacementCharacter = "\xEF\xBF\xBD";
constexpr std::size_t shownLength = 30; // received values in error messages, in code points

const PriceTable &prices()
{
    static const PriceTable table = [] {
        std::string error;
        auto loaded = PriceTable::load(SITE_PRICES, error);
        if (!loaded) {
            std::fprintf(stderr, "%s\n", error.c_str());
            std::abort();
        }
        return *loaded;
    }();
    return table;
}

std::vector<std::string_view> pieces(std::string_view query)
{
    std::vector<std::string_view> out;
    for (;;) {
        const auto amp = query.find('&');
        out.push_back(query.substr(0, amp));
        if (amp == std::string_view::npos)
            return out;
        query.remove_prefix(amp + 1);
    }
}

std::string_view keyOf(std::string_view piece)
{
    return piece.substr(0, piece.find('='));
}

std::string_view valueOf(std::string_view piece)
{
    const auto eq = piece.find('=');
    return eq == std::string_view::npos ? std::string_view() : piece.substr(eq + 1);
}

// Escapes every byte but the unreserved ones, a blank as '+', hex digits in
// both cases, so that the decoder meets each form it must read.
std::string percentEncode(std::string_view bytes)
{
    static constexpr char upper[] = "0123456789ABCDEF";
    static constexpr char lower[] = "0123456789abcdef";
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto u = static_cast<unsigned char>(bytes[i]);
        if ((u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') || u == '-' ||
            u == '.' || u == '_' || u == '~') {
            out += bytes[i];
        } else if (u == ' ') {
            out += '+';
        } else {
            const char *digits = i % 2 ? lower : upper;
            out += '%';
            out += digits[u >> 4];
            out += digits[u & 15];
        }
    }
    return out;
}

std::string htmlUnescape(std::string_view html)
{
    static constexpr std::pair<std::string_view, char> entities[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&#39;", '\''}};
    std::string out;
    while (!html.empty()) {
        bool matched = false;
        for (const auto &[entity, c] : entities) {
            if (html.starts_with(entity)) {
                out += c;
                html.remove_prefix(entity.size());
                matched = true;
                break;
            }
        }
        if (!matched) {
            SITE_CHECK(html.front() != '&', "a bare & in escaped text");
            out += html.front();
            html.remove_prefix(1);
        }
    }
    return out;
}

// Characters that make markup. Text from the query may add entities to a
// page, never one of these.
std::size_t markupCount(std::string_view html)
{
    return static_cast<std::size_t>(std::count_if(
        html.begin(), html.end(), [](char c) { return c == '<' || c == '>' || c == '"' || c == '\''; }));
}

bool contains(std::string_view text, std::string_view part)
{
    return text.find(part) != std::string_view::npos;
}

bool hasScriptTag(std::string_view html)
{
    std::string lowered(html);
    std::transform(lowered.begin(), lowered.end(), lowered.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return contains(lowered, "<script");
}

bool isDigits(std::string_view s, std::size_t size)
{
    return s.size() == size && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

void checkQueryString(std::string_view query)
{
    SITE_CHECK(QueryString::queryOf("/AutoPrice.action?" + std::string(query)) ==
                   query.substr(0, query.find('#')),
               "queryOf");

    const auto strict = QueryString::parse(query);
    const auto lenient = QueryString::parse(query, true);
    std::vector<std::string_view> raw = pieces(query);
    std::erase_if(raw, [](std::string_view piece) { return piece.empty(); });
    SITE_CHECK(strict.size() == raw.size() && lenient.size() == raw.size(), "pair count");

    for (std::size_t i = 0; i < raw.size(); ++i) {
        const QueryString::Pair &s = strict[i];
        const QueryString::Pair &l = lenient[i];
        SITE_CHECK(l.keyValid && l.valueValid, raw[i]);
        SITE_CHECK(l.key == QueryString::percentDecodeLenient(keyOf(raw[i])), raw[i]);
        SITE_CHECK(l.value == QueryString::percentDecodeLenient(valueOf(raw[i])), raw[i]);
        // A piece without '%' has nothing to get wrong.
        SITE_CHECK(s.keyValid || contains(keyOf(raw[i]), "%"), raw[i]);
        SITE_CHECK(s.valueValid || contains(valueOf(raw[i]), "%"), raw[i]);
        // Where the strict reading succeeds, both readings agree.
        if (s.keyValid)
            SITE_CHECK(s.key == l.key, raw[i]);
        if (s.valueValid)
            SITE_CHECK(s.value == l.value, raw[i]);

        // Decoded bytes, escaped again, read back as the same pair.
        const std::string encoded = percentEncode(l.key) + "=" + percentEncode(l.value);
        const auto again = QueryString::parse(encoded);
        SITE_CHECK(again.size() == 1 && again[0].keyValid && again[0].valueValid, encoded);
        SITE_CHECK(again[0].key == l.key && again[0].value == l.value, encoded);
    }
}

void checkCodec(std::string_view bytes)
{
    const std::string lenient = TextCodec::decodeChineseLenient(bytes);
    SITE_CHECK(TextCodec::isValidUtf8(lenient), lenient);
    // Every byte read gives at most one character.
    SITE_CHECK(TextCodec::codePointCount(lenient) <= bytes.size(), lenient);
    if (TextCodec::isValidUtf8(bytes))
        SITE_CHECK(lenient == bytes, lenient);
    else if (const auto gbk = TextCodec::gb18030ToUtf8(bytes))
        SITE_CHECK(lenient == *gbk, lenient);
    else
        SITE_CHECK(contains(lenient, replacementCharacter), lenient);

    if (const auto strict = TextCodec::decodeChineseStrict(bytes))
        SITE_CHECK(TextCodec::isValidUtf8(*strict), *strict);

    const std::string shortened = TextCodec::truncateUtf8(lenient, shownLength);
    SITE_CHECK(TextCodec::isValidUtf8(shortened), shortened);
    if (TextCodec::codePointCount(lenient) <= shownLength) {
        SITE_CHECK(shortened == lenient, shortened);
    } else {
        SITE_CHECK(shortened.ends_with("…") && lenient.starts_with(shortened.substr(0, shortened.size() - 3)),
                   shortened);
        SITE_CHECK(TextCodec::codePointCount(shortened) == shownLength + 1, shortened);
    }

    const std::string escaped = TextCodec::htmlEscape(bytes);
    SITE_CHECK(markupCount(escaped) == 0, escaped);
    SITE_CHECK(htmlUnescape(escaped) == bytes, escaped);
}

bool sameRequest(const QuoteRequest &a, const QuoteRequest &b)
{
    return a.counts == b.counts && a.areas == b.areas && a.houseTypeCode == b.houseTypeCode &&
           a.style == b.style && a.grade == b.grade && a.phone == b.phone &&
           a.provinceCode == b.provinceCode && a.cityCode == b.cityCode && a.districtCode == b.districtCode &&
           a.regionName == b.regionName && a.formOfAddress == b.formOfAddress;
}

bool sameErrors(const std::vector<FieldError> &a, const std::vector<FieldError> &b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const FieldError &x, const FieldError &y) {
        return x.key == y.key && x.label == y.label && x.reason == y.reason && x.received == y.received;
    });
}

bool hasOuterBlank(std::string_view text)
{
    return text.starts_with(' ') || text.ends_with(' ') || text.starts_with("\u3000") ||
           text.ends_with("\u3000");
}

// The accepted request holds what the query says, each value read here by
// other means than the checker's.
void checkAccepted(const QuoteRequest &r, const std::vector<QueryString::Pair> &pairs)
{
    const auto value = [&](std::string_view key) -> const std::string & {
        const auto it = std::find_if(pairs.begin(), pairs.end(),
                                     [&](const QueryString::Pair &p) { return p.keyValid && p.key == key; });
        return it->value;
    };
    for (int room = 1; room <= roomKinds; ++room) {
        const std::string count = value("bom" + std::to_string(room));
        SITE_CHECK(r.counts[room - 1] >= 0 && r.counts[room - 1] <= 5, count);
        SITE_CHECK(count.size() <= 2 && std::atoi(count.c_str()) == r.counts[room - 1], count);

        std::string area = value("bomarea" + std::to_string(room));
        if (!contains(area, "."))
            std::replace(area.begin(), area.end(), ',', '.');
        const double a = r.areas[room - 1];
        SITE_CHECK(std::isfinite(a) && a >= 0 && a <= 10000 && !std::signbit(a), area);
        char *end = nullptr;
        SITE_CHECK(std::strtod(area.c_str(), &end) == a && *end == '\0', area);
    }
    SITE_CHECK(value("findman") == value("bom5"), value("findman"));
    SITE_CHECK(value("kongzhi") == "tijiao", value("kongzhi"));
    SITE_CHECK(r.grade >= 1 && r.grade <= 3 && value("dc") == std::to_string(r.grade), value("dc"));
    SITE_CHECK(r.style >= 1 && r.style <= 5 && value("fengge") == std::to_string(r.style), value("fengge"));
    SITE_CHECK(isDigits(r.phone, 11) && r.phone == value("pho"), r.phone);
    SITE_CHECK(r.houseTypeCode == value("findman3"), r.houseTypeCode);

    SITE_CHECK(isDigits(r.provinceCode, 6) && r.provinceCode == value("cit1"), r.provinceCode);
    SITE_CHECK(isDigits(r.cityCode, 6) && r.cityCode == value("cit2"), r.cityCode);
    SITE_CHECK(isDigits(r.districtCode, 6) && r.districtCode == value("cit3"), r.districtCode);
    SITE_CHECK(r.cityCode.starts_with(r.provinceCode.substr(0, 2)), r.cityCode);
    SITE_CHECK(r.districtCode.starts_with(r.cityCode.substr(0, 4)), r.districtCode);

    const std::pair<const std::string *, std::size_t> texts[] = {{&r.regionName, 60}, {&r.formOfAddress, 20}};
    for (const auto &[text, limit] : texts) {
        SITE_CHECK(TextCodec::isValidUtf8(*text) && !text->empty(), *text);
        SITE_CHECK(!TextCodec::hasControlCharacter(*text) && !hasOuterBlank(*text), *text);
        SITE_CHECK(TextCodec::codePointCount(*text) <= limit, *text);
    }
}

void checkEstimate(const QuoteRequest &r, const Estimate &e)
{
    SITE_CHECK(e.lines.size() == std::size_t(roomKinds), "line count");
    long long materials = 0, labour = 0;
    double area = 0;
    for (const EstimateLine &line : e.lines) {
        const std::string room(roomName(line.room));
        SITE_CHECK(line.count == r.count(line.room) && line.area == r.area(line.room), room);
        SITE_CHECK(line.counted == (line.count > 0), room);
        SITE_CHECK(line.unitPriceFen > 0, room);
        SITE_CHECK(line.materialsFen >= 0 && line.labourFen >= 0, room);
        SITE_CHECK(line.materialsFen + line.labourFen == line.amountFen, room);
        if (!line.counted) {
            SITE_CHECK(line.amountFen == 0, room);
            continue;
        }
        // The amount is the area times the unit price, to the fen.
        const double exact = line.area * static_cast<double>(line.unitPriceFen);
        SITE_CHECK(std::abs(static_cast<double>(line.amountFen) - exact) <= 0.5 + exact * 1e-12, room);
        materials += line.materialsFen;
        labour += line.labourFen;
        area += line.area;
    }
    SITE_CHECK(std::isfinite(e.countedArea) && e.countedArea >= 0 && e.countedArea == area, "counted area");
    SITE_CHECK(e.materialsFen == materials && e.labourFen == labour, "sums");
    SITE_CHECK(e.directFen == materials + labour, "direct cost");
    SITE_CHECK(e.managementFen >= 0 && e.managementFen <= e.directFen, "management fee");
    SITE_CHECK(e.taxFen >= 0 && e.taxFen <= e.directFen + e.managementFen, "tax");
    SITE_CHECK(e.totalFen == e.directFen + e.managementFen + e.taxFen, "total");
}

constexpr std::string_view layout = "<title>{{title}}</title><main>{{content}}</main>";

void checkPage(const std::string &html, std::size_t expectedMarkup)
{
    SITE_CHECK(TextCodec::isValidUtf8(html), html);
    SITE_CHECK(!hasScriptTag(html), html);
    SITE_CHECK(markupCount(html) == expectedMarkup, html);
    // Braces from the query are content, never names to fill.
    SITE_CHECK(SitePages::wrap(layout, "t", html) == "<title>t</title><main>" + html + "</main>", html);
}

void checkQuotePage(const QuoteRequest &r, const Estimate &e)
{
    const SitePages::QuoteIssue issue{"2024年1月1日", "2024年1月31日", "http://127.0.0.1:8360"};
    const std::string html = SitePages::quoteContent(r, e, prices(), issue);

    // The same page for a request without any visitor text shows the markup
    // the page itself makes.
    QuoteRequest plain = r;
    plain.regionName = plain.formOfAddress = "x";
    plain.phone = "00000000000";
    plain.districtCode = "000000";
    checkPage(html, markupCount(SitePages::quoteContent(plain, e, prices(), issue)));

    SITE_CHECK(contains(html, TextCodec::htmlEscape(r.regionName)), r.regionName);
    SITE_CHECK(contains(html, TextCodec::htmlEscape(r.formOfAddress)), r.formOfAddress);
    SITE_CHECK(contains(html, r.phone.substr(0, 3) + "****" + r.phone.substr(7)), r.phone);
    SITE_CHECK(contains(html, "id=\"total\">" + SitePages::formatYuan(e.totalFen) + "<"), "total");
    // No amount is shown as negative.
    SITE_CHECK(!contains(html, "class=\"num\">-") && !contains(html, "约 -"), html);
}

void checkErrors(const QuoteParse &parsed, const std::vector<QueryString::Pair> &pairs)
{
    const auto &errors = parsed.errors;
    if (pairs.size() > maxQueryPairs) {
        SITE_CHECK(errors.size() == 1 && errors[0].key.empty(), "too many pairs");
        return;
    }
    for (std::size_t i = 0; i < errors.size(); ++i) {
        const FieldError &error = errors[i];
        SITE_CHECK(std::find(std::begin(knownKeys), std::end(knownKeys), error.key) != std::end(knownKeys),
                   error.key);
        SITE_CHECK(TextCodec::isValidUtf8(error.received), error.received);
        SITE_CHECK(TextCodec::codePointCount(error.received) <= shownLength + 1, error.received);
        // One message per field.
        for (std::size_t j = 0; j < i; ++j)
            SITE_CHECK(errors[j].key != error.key, error.key);
    }
    for (std::string_view key : knownKeys) {
        std::size_t occurrences = 0;
        const QueryString::Pair *found = nullptr;
        for (const auto &pair : pairs) {
            if (pair.keyValid && pair.key == key) {
                ++occurrences;
                found = &pair;
            }
        }
        const auto error =
            std::find_if(errors.begin(), errors.end(), [&](const FieldError &e) { return e.key == key; });
        // A key that is missing, repeated or badly escaped is named.
        if (occurrences != 1 || !found->valueValid) {
            SITE_CHECK(error != errors.end() && error->received.empty(), key);
            continue;
        }
        // A bad value is shown as read: the names as the checks read them
        // (GBK first), other values as a browser user would have typed them.
        if (error != errors.end()) {
            const bool isName = key == "sumcityname" || key == "xingshi";
            const auto strict = TextCodec::decodeChineseStrict(found->value);
            const std::string shown = TextCodec::truncateUtf8(
                isName && strict ? *strict : TextCodec::decodeChineseLenient(found->value), shownLength);
            SITE_CHECK(error->received == shown, error->received + " / " + shown);
        }
    }
}

void checkErrorPage(const std::vector<FieldError> &errors)
{
    const std::string html = SitePages::quoteErrorContent(errors);
    std::vector<FieldError> plain = errors;
    for (FieldError &error : plain) {
        for (std::string *text : {&error.key, &error.label, &error.reason, &error.received}) {
            if (!text->empty())
                *text = "x";
        }
    }
    checkPage(html, markupCount(SitePages::quoteErrorContent(plain)));
    for (const FieldError &error : errors)
        SITE_CHECK(contains(html, TextCodec::htmlEscape(error.received)), error.received);
}

void checkRequest(std::string_view query)
{
    const QuoteParse parsed = parseQuoteRequest(query);
    SITE_CHECK(parsed.request.has_value() == parsed.errors.empty(), "request exactly when no errors");
    const auto pairs = QueryString::parse(query);

    // The order of the pairs does not matter.
    std::vector<std::string_view> raw = pieces(query);
    std::reverse(raw.begin(), raw.end());
    std::string reversed;
    for (std::string_view piece : raw)
        (reversed += piece) += '&';
    const QuoteParse again = parseQuoteRequest(reversed);
    SITE_CHECK(sameErrors(parsed.errors, again.errors), reversed);
    SITE_CHECK(parsed.request.has_value() == again.request.has_value(), reversed);

    if (!parsed.request) {
        checkErrors(parsed, pairs);
        checkErrorPage(parsed.errors);
        return;
    }
    SITE_CHECK(sameRequest(*parsed.request, *again.request), reversed);
    SITE_CHECK(pairs.size() <= maxQueryPairs, "too many pairs accepted");
    checkAccepted(*parsed.request, pairs);
    const Estimate estimate = estimateQuote(*parsed.request, prices());
    checkEstimate(*parsed.request, estimate);
    checkQuotePage(*parsed.request, estimate);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string_view query(reinterpret_cast<const char *>(data), size);
    currentQuery = query;
    checkQueryString(query);
    checkCodec(query);
    for (const auto &pair : QueryString::parse(query, true))
        checkCodec(pair.value);
    checkRequest(query);
    return 0;
}
