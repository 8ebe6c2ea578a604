#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Splitting and percent-decoding of a URL query, keeping every pair in order
// (repeated keys included) so that callers can judge them.
namespace site::QueryString {

struct Pair
{
    std::string key;   // decoded bytes
    std::string value; // decoded bytes
    bool keyValid = true;
    bool valueValid = true; // false: an invalid percent escape
};

// The query part of a request target: after the first '?', before any '#'.
std::string_view queryOf(std::string_view target);

// Decodes %XX (either case) and '+' as a blank. Nothing for a '%' that is not
// followed by two hexadecimal digits.
std::optional<std::string> percentDecode(std::string_view text);

// Lenient variant for display: invalid escapes stay as they are.
std::string percentDecodeLenient(std::string_view text);

// Splits at '&' and each piece at its first '='; empty pieces are dropped.
// Lenient parsing keeps invalid escapes as text and marks nothing invalid.
std::vector<Pair> parse(std::string_view query, bool lenient = false);

} // namespace site::QueryString
