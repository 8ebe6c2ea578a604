#include "site/PriceTable.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <map>
#include <sstream>

namespace site {

namespace {

struct Entry
{
    double *target;
    double lowest;
    double highest;
    bool lowestIncluded;
    bool seen = false;
};

std::string_view trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

std::string_view withoutComment(std::string_view line)
{
    if (line.starts_with(';') || line.starts_with('#'))
        return {};
    // An inline comment needs a blank before it.
    for (std::size_t i = 1; i < line.size(); ++i) {
        if ((line[i] == ';' || line[i] == '#') && (line[i - 1] == ' ' || line[i - 1] == '\t'))
            return line.substr(0, i);
    }
    return line;
}

std::string describe(const std::string &key, const Entry &entry)
{
    std::ostringstream s;
    s << key << " must be a number " << (entry.lowestIncluded ? "from " : "above ") << entry.lowest << " to "
      << entry.highest;
    return s.str();
}

std::optional<double> readValue(std::string_view text, const Entry &entry)
{
    double value = 0;
    const char *end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    const bool aboveLowest = entry.lowestIncluded ? value >= entry.lowest : value > entry.lowest;
    if (ec != std::errc() || ptr != end || !std::isfinite(value) || !aboveLowest || value > entry.highest)
        return std::nullopt;
    return value;
}

// Six digits naming a province (two digits and "0000") or a city ("00" last,
// not in the middle); districts are priced as their city.
bool isRegionCode(std::string_view code)
{
    if (code.size() != 6 || code.substr(0, 2) == "00" || code.substr(4) != "00")
        return false;
    for (char c : code) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

const Entry regionEntry{nullptr, 0, 10, false};

} // namespace

double PriceTable::regionFactor(std::string_view provinceCode, std::string_view cityCode) const
{
    for (std::string_view code : {cityCode, provinceCode}) {
        if (const auto found = regionFactors.find(code); found != regionFactors.end())
            return found->second;
    }
    return 1.0;
}

std::optional<PriceTable> PriceTable::parse(std::string_view text, std::string &error)
{
    PriceTable table;
    std::map<std::string, Entry> entries;
    for (int g = 0; g < 3; ++g) {
        const std::string section = "grade." + std::to_string(g + 1);
        entries[section + ".base"] = {&table.grades[g].base, 0, 100000, false};
        entries[section + ".materials"] = {&table.grades[g].materialShare, 0, 1, true};
    }
    for (int s = 0; s < 5; ++s)
        entries["style." + std::to_string(s + 1) + ".factor"] = {&table.styleFactors[s], 0, 10, false};
    for (int r = 0; r < 6; ++r)
        entries["room." + std::to_string(r + 1) + ".factor"] = {&table.roomFactors[r], 0, 10, false};
    entries["fees.management"] = {&table.managementRate, 0, 0.99, true};
    entries["fees.tax"] = {&table.taxRate, 0, 0.99, true};

    std::string section;
    int lineNumber = 0;
    while (!text.empty()) {
        const auto newline = text.find('\n');
        std::string_view line = text.substr(0, newline);
        text = newline == std::string_view::npos ? std::string_view() : text.substr(newline + 1);
        ++lineNumber;
        line = trim(withoutComment(trim(line)));
        if (line.empty())
            continue;
        const std::string where = "line " + std::to_string(lineNumber) + ": ";
        if (line.front() == '[') {
            if (line.back() != ']') {
                error = where + "unclosed section header";
                return std::nullopt;
            }
            section = std::string(trim(line.substr(1, line.size() - 2)));
            continue;
        }
        const auto eq = line.find('=');
        if (eq == std::string_view::npos) {
            error = where + "expected key = value";
            return std::nullopt;
        }
        const std::string_view name = trim(line.substr(0, eq));
        const std::string key = section + "." + std::string(name);
        const std::string_view valueText = trim(line.substr(eq + 1));
        if (section == "region") {
            if (!isRegionCode(name)) {
                error = where + key + " is not the code of a province or city";
                return std::nullopt;
            }
            const auto value = readValue(valueText, regionEntry);
            if (!value) {
                error = where + describe(key, regionEntry);
                return std::nullopt;
            }
            if (!table.regionFactors.emplace(name, *value).second) {
                error = where + key + " given twice";
                return std::nullopt;
            }
            continue;
        }
        const auto found = entries.find(key);
        if (found == entries.end()) {
            error = where + "unknown entry " + key;
            return std::nullopt;
        }
        Entry &entry = found->second;
        if (entry.seen) {
            error = where + key + " given twice";
            return std::nullopt;
        }
        const auto value = readValue(valueText, entry);
        if (!value) {
            error = where + describe(key, entry);
            return std::nullopt;
        }
        *entry.target = *value;
        entry.seen = true;
    }
    for (const auto &[key, entry] : entries) {
        if (!entry.seen) {
            error = "missing entry " + key;
            return std::nullopt;
        }
    }
    return table;
}

std::optional<PriceTable> PriceTable::load(const std::string &path, std::string &error, std::string *text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read " + path;
        return std::nullopt;
    }
    std::ostringstream content;
    content << in.rdbuf();
    auto table = parse(content.str(), error);
    if (!table)
        error = path + ": " + error;
    else if (text)
        *text = std::move(content).str();
    return table;
}

} // namespace site
