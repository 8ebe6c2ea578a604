#pragma once

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace site {

// The vendor's unit prices, read from an INI-style text (prices.ini).
// Direct cost per square metre by grade, scaled by a style factor and a room
// factor; management fee and tax are added on top of the direct cost.
struct PriceTable
{
    struct Grade
    {
        double base = 0;          // direct cost, yuan per square metre
        double materialShare = 0; // share of the direct cost that is materials
    };

    std::array<Grade, 3> grades{};        // by grade - 1
    std::array<double, 5> styleFactors{}; // by style - 1
    std::array<double, 6> roomFactors{};  // by room number - 1
    double managementRate = 0;            // on the direct cost
    double taxRate = 0;                   // on direct cost plus management fee
    // Optional, by the division code of a province ("440000") or a city
    // ("440100"): scales labour and materials of a flat there.
    std::map<std::string, double, std::less<>> regionFactors;

    // The city's factor, else its province's, else 1.
    double regionFactor(std::string_view provinceCode, std::string_view cityCode) const;

    // Every value must be given exactly once; unknown sections and keys are
    // errors so that a misspelt entry is not silently ignored. The [region]
    // section is optional, its keys province or city codes.
    static std::optional<PriceTable> parse(std::string_view text, std::string &error);
    // Reads and parses the file; text, if given, receives what was read.
    static std::optional<PriceTable> load(const std::string &path, std::string &error,
                                          std::string *text = nullptr);
};

} // namespace site
