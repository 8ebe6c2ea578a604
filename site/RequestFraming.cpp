#include "RequestFraming.h"

#include <optional>

namespace RequestFraming {

namespace {

constexpr std::string_view headerEnd = "\r\n\r\n";

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

bool containsIgnoringCase(std::string_view text, std::string_view part)
{
    for (std::size_t i = 0; i + part.size() <= text.size(); ++i) {
        if (equalsIgnoringCase(text.substr(i, part.size()), part))
            return true;
    }
    return false;
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

// Digits only, without overflow; nothing otherwise.
std::optional<std::size_t> parseLength(std::string_view text)
{
    if (text.empty() || text.size() > 18)
        return std::nullopt;
    std::size_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + static_cast<std::size_t>(c - '0');
    }
    return value;
}

struct BodyHeaders
{
    bool hasLength = false;
    bool lengthValid = true;
    std::size_t length = 0;
    bool chunked = false;
    bool expectsContinue = false;
};

// Reads the header lines after the request line; "headers" ends before the
// blank line.
BodyHeaders readBodyHeaders(std::string_view headers)
{
    BodyHeaders result;
    std::size_t pos = headers.find("\r\n");
    while (pos != std::string_view::npos && pos < headers.size()) {
        pos += 2;
        const std::size_t end = std::min(headers.find("\r\n", pos), headers.size());
        const std::string_view line = headers.substr(pos, end - pos);
        pos = end;
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos)
            continue;
        const std::string_view name = line.substr(0, colon);
        const std::string_view value = trimmed(line.substr(colon + 1));
        if (equalsIgnoringCase(name, "Content-Length")) {
            const auto length = parseLength(value);
            // Two differing lengths make the request ambiguous.
            result.lengthValid =
                result.lengthValid && length && (!result.hasLength || result.length == *length);
            result.length = length.value_or(0);
            result.hasLength = true;
        } else if (equalsIgnoringCase(name, "Transfer-Encoding")) {
            result.chunked = result.chunked || containsIgnoringCase(value, "chunked");
        } else if (equalsIgnoringCase(name, "Expect")) {
            result.expectsContinue = equalsIgnoringCase(value, "100-continue");
        }
    }
    return result;
}

// Where the chunked body ends: after the last chunk (a size of zero, with
// optional extensions) and the trailer lines up to a blank line. Nothing while
// it has not all arrived; npos for a malformed chunk size.
std::optional<std::size_t> chunkedBodyEnd(std::string_view body)
{
    for (std::size_t pos = 0; pos < body.size();) {
        const std::size_t lineEnd = body.find("\r\n", pos);
        if (lineEnd == std::string_view::npos)
            return std::nullopt;
        std::string_view sizeText = body.substr(pos, lineEnd - pos);
        sizeText = sizeText.substr(0, sizeText.find(';'));
        std::size_t size = 0;
        bool valid = !sizeText.empty() && sizeText.size() <= 15;
        for (char c : sizeText) {
            const int digit = c >= '0' && c <= '9'   ? c - '0'
                              : c >= 'a' && c <= 'f' ? c - 'a' + 10
                              : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                     : -1;
            valid = valid && digit >= 0;
            size = size * 16 + static_cast<std::size_t>(digit < 0 ? 0 : digit);
        }
        if (!valid)
            return std::string_view::npos;
        if (size == 0) {
            const std::size_t trailerEnd = body.find(headerEnd, lineEnd);
            if (trailerEnd == std::string_view::npos)
                return std::nullopt;
            return trailerEnd + headerEnd.size();
        }
        pos = lineEnd + 2 + size + 2;
    }
    return std::nullopt;
}

} // namespace

Frame frame(std::string_view buffered, const Limits &limits)
{
    const std::size_t end = buffered.find(headerEnd);
    if (end == std::string_view::npos) {
        return {buffered.size() > limits.maxHeaderBytes ? State::HandOver : State::Incomplete, 0};
    }
    const std::size_t headerLength = end + headerEnd.size();
    if (headerLength > limits.maxHeaderBytes)
        return {State::HandOver, 0};

    const BodyHeaders body = readBodyHeaders(buffered.substr(0, end));
    // A bad length, or a length beside chunks, could frame the request
    // differently from the parser: judge it now and close.
    if (body.hasLength && (!body.lengthValid || body.chunked))
        return {State::HandOver, 0};
    if (body.chunked) {
        if (body.expectsContinue)
            return {State::HandOver, 0};
        const std::string_view received = buffered.substr(headerLength);
        if (const auto bodyEnd = chunkedBodyEnd(received))
            return *bodyEnd == std::string_view::npos ? Frame{State::HandOver, 0}
                                                      : Frame{State::Complete, headerLength + *bodyEnd};
        return {received.size() > limits.maxBodyBytes ? State::HandOver : State::Incomplete, 0};
    }
    if (!body.hasLength || body.length == 0)
        return {State::Complete, headerLength};
    if (body.length > limits.maxBodyBytes)
        return {State::HandOver, 0};
    if (buffered.size() - headerLength >= body.length)
        return {State::Complete, headerLength + body.length};
    return {body.expectsContinue ? State::HandOver : State::Incomplete, 0};
}

} // namespace RequestFraming
