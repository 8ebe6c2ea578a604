#pragma once

#include <optional>
#include <string>
#include <string_view>

// Conversions between the byte encodings that reach the site and the UTF-8 it
// writes. GBK text is decoded as GB18030, its superset, with glibc's iconv.
namespace site::TextCodec {

bool isValidUtf8(std::string_view bytes);

// Strict GB18030 to UTF-8; nothing for invalid or truncated sequences.
std::optional<std::string> gb18030ToUtf8(std::string_view bytes);

// Text the desktop program sends: GBK first (its contract), UTF-8 as typed by
// a browser user second. Nothing when neither fits.
std::optional<std::string> decodeChineseStrict(std::string_view bytes);

// Never fails: UTF-8 if valid, else GB18030 if valid, else UTF-8 with every
// invalid byte replaced by U+FFFD.
std::string decodeChineseLenient(std::string_view bytes);

// Number of code points of valid UTF-8 text.
std::size_t codePointCount(std::string_view utf8);

// True if the text holds a C0 or C1 control character, DEL, or a
// bidirectional embedding, override or isolate, which would reorder the text
// around a name on the page.
bool hasControlCharacter(std::string_view utf8);

// Shortens valid UTF-8 to at most maxCodePoints, appending "…" when cut.
std::string truncateUtf8(std::string_view utf8, std::size_t maxCodePoints);

// Escapes & < > " ' for HTML text and attribute values.
std::string htmlEscape(std::string_view text);

} // namespace site::TextCodec
