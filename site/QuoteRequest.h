#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace site {

// Room numbers of the quote request: the digit in the keys bomN and bomareaN.
enum class Room
{
    Bedroom = 1,
    LivingRoom,
    DiningRoom,
    Kitchen,
    Balcony,
    Bathroom
};
inline constexpr int roomKinds = 6;

// A checked quote request of the desktop program, values decoded.
struct QuoteRequest
{
    std::array<int, roomKinds> counts{};   // indexed by room number - 1
    std::array<double, roomKinds> areas{}; // square metres, same index
    std::string houseTypeCode;             // empty when no house type was chosen
    int style = 1;                         // 1 … 5
    int grade = 1;                         // 1 … 3
    std::string phone;
    std::string provinceCode;
    std::string cityCode;
    std::string districtCode;
    std::string regionName;    // UTF-8
    std::string formOfAddress; // UTF-8, surrounding blanks removed

    int count(Room room) const { return counts[static_cast<int>(room) - 1]; }
    double area(Room room) const { return areas[static_cast<int>(room) - 1]; }
};

struct FieldError
{
    std::string key;      // query key; empty when the request as a whole is at fault
    std::string label;    // Chinese name of the field
    std::string reason;   // Chinese explanation
    std::string received; // the value received, shortened, UTF-8; may be empty
};

struct QuoteParse
{
    std::optional<QuoteRequest> request; // set exactly when errors is empty
    std::vector<FieldError> errors;      // fields in key order, then mismatches between fields
};

// More pairs than this and the request is refused as a whole.
inline constexpr std::size_t maxQueryPairs = 64;

// Reads and checks the query of "/AutoPrice.action". Key order does not
// matter; unknown keys are ignored; a missing, repeated or bad key is an error.
QuoteParse parseQuoteRequest(std::string_view query);

// "RV-3F2A-91C0-7B4D": the same for the same request whatever the order of
// its keys, so that a user who asks again is given the same quote number.
std::string quoteNumber(const QuoteRequest &request);

// Chinese name of a room kind.
std::string_view roomName(Room room);

} // namespace site
