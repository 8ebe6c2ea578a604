#pragma once

#include <cstddef>

// What the vendor's quote service accepts in a quote request. The program
// checks a request against these before it sends it, and the service checks
// every request it gets, so that a request from the program always gets a
// quote. Plain C++: the service has no Qt.
namespace QuoteLimits {
// Floor area of a room, in square metres.
inline constexpr double maxArea = 10000.0;
// Code points of the form of address and of the region's name, once the
// blanks around them are gone.
inline constexpr std::size_t maxAddressLength = 20;
inline constexpr std::size_t maxRegionLength = 60;

// Blanks trimmed at both ends of a name: the space and the ideographic space.
constexpr bool isBlank(char32_t c)
{
    return c == U' ' || c == U'\u3000';
}

// Characters no name may hold: C0 and C1 controls, DEL, and the
// bidirectional embeddings, overrides and isolates, which would reorder the
// text around the name on the quote.
constexpr bool isControlCharacter(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2066 && c <= 0x2069);
}
} // namespace QuoteLimits
