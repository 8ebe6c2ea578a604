#include "site/QueryString.h"

#include <algorithm>

namespace site::QueryString {

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Returns false at the first invalid escape; with lenient set it copies the
// escape unchanged instead and carries on. Plain runs are copied whole: the
// quote service decodes every pair of every request.
bool decodeInto(std::string_view text, std::string &out, bool lenient)
{
    out.resize(text.size()); // decoding never lengthens
    char *to = out.data();
    for (std::size_t i = 0; i < text.size();) {
        std::size_t runEnd = i;
        while (runEnd < text.size() && text[runEnd] != '%' && text[runEnd] != '+')
            ++runEnd;
        to = std::copy(text.data() + i, text.data() + runEnd, to);
        i = runEnd;
        if (i == text.size())
            break;
        if (text[i] == '+') {
            *to++ = ' ';
            ++i;
            continue;
        }
        const int hi = i + 1 < text.size() ? hexValue(text[i + 1]) : -1;
        const int lo = i + 2 < text.size() ? hexValue(text[i + 2]) : -1;
        if (hi < 0 || lo < 0) {
            if (!lenient) {
                out.clear();
                return false;
            }
            *to++ = '%';
            ++i;
            continue;
        }
        *to++ = static_cast<char>(hi * 16 + lo);
        i += 3;
    }
    out.resize(static_cast<std::size_t>(to - out.data()));
    return true;
}

} // namespace

std::string_view queryOf(std::string_view target)
{
    const auto hash = target.find('#');
    if (hash != std::string_view::npos)
        target = target.substr(0, hash);
    const auto question = target.find('?');
    return question == std::string_view::npos ? std::string_view() : target.substr(question + 1);
}

std::optional<std::string> percentDecode(std::string_view text)
{
    std::string out;
    if (!decodeInto(text, out, false))
        return std::nullopt;
    return out;
}

std::string percentDecodeLenient(std::string_view text)
{
    std::string out;
    decodeInto(text, out, true);
    return out;
}

std::vector<Pair> parse(std::string_view query, bool lenient)
{
    std::vector<Pair> pairs;
    pairs.reserve(static_cast<std::size_t>(std::count(query.begin(), query.end(), '&')) + 1);
    while (!query.empty()) {
        const auto amp = query.find('&');
        const std::string_view piece = query.substr(0, amp);
        query = amp == std::string_view::npos ? std::string_view() : query.substr(amp + 1);
        if (piece.empty())
            continue;
        const auto eq = piece.find('=');
        const std::string_view rawKey = piece.substr(0, eq);
        const std::string_view rawValue =
            eq == std::string_view::npos ? std::string_view() : piece.substr(eq + 1);
        Pair pair;
        pair.keyValid = decodeInto(rawKey, pair.key, lenient);
        pair.valueValid = decodeInto(rawValue, pair.value, lenient);
        pairs.push_back(std::move(pair));
    }
    return pairs;
}

} // namespace site::QueryString
