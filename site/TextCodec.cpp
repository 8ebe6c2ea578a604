#include "site/TextCodec.h"

#include "quote/core/QuoteLimits.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace site::TextCodec {

namespace {

// Length of the UTF-8 sequence starting at bytes[i], or 0 if it is invalid
// (overlong forms, surrogates and values above U+10FFFF are invalid).
std::size_t utf8SequenceLength(std::string_view bytes, std::size_t i)
{
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
    const unsigned char c = b(i);
    const std::size_t rest = bytes.size() - i;
    if (c < 0x80)
        return 1;
    const auto cont = [&](std::size_t k) { return (b(k) & 0xC0) == 0x80; };
    if (c >= 0xC2 && c <= 0xDF)
        return rest >= 2 && cont(i + 1) ? 2 : 0;
    if (c >= 0xE0 && c <= 0xEF) {
        if (rest < 3 || !cont(i + 1) || !cont(i + 2))
            return 0;
        if (c == 0xE0 && b(i + 1) < 0xA0)
            return 0;
        if (c == 0xED && b(i + 1) > 0x9F)
            return 0;
        return 3;
    }
    if (c >= 0xF0 && c <= 0xF4) {
        if (rest < 4 || !cont(i + 1) || !cont(i + 2) || !cont(i + 3))
            return 0;
        if (c == 0xF0 && b(i + 1) < 0x90)
            return 0;
        if (c == 0xF4 && b(i + 1) > 0x8F)
            return 0;
        return 4;
    }
    return 0;
}

bool isAscii(std::string_view bytes)
{
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

} // namespace

bool isValidUtf8(std::string_view bytes)
{
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t n = utf8SequenceLength(bytes, i);
        if (n == 0)
            return false;
        i += n;
    }
    return true;
}

std::optional<std::string> gb18030ToUtf8(std::string_view bytes)
{
    if (isAscii(bytes))
        return std::string(bytes);
    // A descriptor may not be shared between threads: one per thread, kept
    // for the thread's life and reset before each use.
    struct Descriptor
    {
        iconv_t cd = iconv_open("UTF-8", "GB18030");
        ~Descriptor()
        {
            if (cd != reinterpret_cast<iconv_t>(-1))
                iconv_close(cd);
        }
    };
    thread_local Descriptor descriptor;
    iconv_t cd = descriptor.cd;
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::string out(bytes.size() * 2 + 4, '\0');
    char *in = const_cast<char *>(bytes.data());
    std::size_t inLeft = bytes.size();
    char *dst = out.data();
    std::size_t outLeft = out.size();
    bool ok = true;
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &dst, &outLeft) != static_cast<std::size_t>(-1))
            continue;
        if (errno == E2BIG) {
            const std::size_t used = out.size() - outLeft;
            out.resize(out.size() * 2);
            dst = out.data() + used;
            outLeft = out.size() - used;
            continue;
        }
        ok = false; // EILSEQ or a truncated sequence (EINVAL)
        break;
    }
    if (!ok)
        return std::nullopt;
    out.resize(out.size() - outLeft);
    return out;
}

std::optional<std::string> decodeChineseStrict(std::string_view bytes)
{
    if (auto text = gb18030ToUtf8(bytes))
        return text;
    if (isValidUtf8(bytes))
        return std::string(bytes);
    return std::nullopt;
}

std::string decodeChineseLenient(std::string_view bytes)
{
    if (isValidUtf8(bytes))
        return std::string(bytes);
    if (auto text = gb18030ToUtf8(bytes))
        return *text;
    std::string out;
    out.reserve(bytes.size() + 8);
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t n = utf8SequenceLength(bytes, i);
        if (n == 0) {
            out += "\xEF\xBF\xBD";
            ++i;
        } else {
            out.append(bytes.substr(i, n));
            i += n;
        }
    }
    return out;
}

std::size_t codePointCount(std::string_view utf8)
{
    std::size_t count = 0;
    for (char c : utf8) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++count;
    }
    return count;
}

bool hasControlCharacter(std::string_view utf8)
{
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t length = std::max<std::size_t>(1, utf8SequenceLength(utf8, i));
        // The lead byte's payload bits, then six from each continuation byte.
        const auto lead = static_cast<unsigned char>(utf8[i]);
        char32_t c = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k)
            c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        if (QuoteLimits::isControlCharacter(c))
            return true;
        i += length;
    }
    return false;
}

std::string truncateUtf8(std::string_view utf8, std::size_t maxCodePoints)
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if ((static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80)
            continue;
        if (count == maxCodePoints)
            return std::string(utf8.substr(0, i)) + "…";
        ++count;
    }
    return std::string(utf8);
}

std::string htmlEscape(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + 16);
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

} // namespace site::TextCodec
