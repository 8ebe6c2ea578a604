#pragma once

#include "site/PriceTable.h"
#include "site/QuoteRequest.h"

#include <string_view>
#include <vector>

namespace site {

// Money is counted in fen (0.01 yuan) so that the items add up exactly to the
// totals shown.
struct EstimateLine
{
    Room room;
    int count = 0;
    double area = 0;
    long long unitPriceFen = 0; // per square metre
    long long materialsFen = 0;
    long long labourFen = 0;
    long long amountFen = 0; // materials + labour
    bool counted = false;    // false: no room of this kind, its area is left out
};

struct Estimate
{
    std::vector<EstimateLine> lines; // living, dining, bedroom, kitchen, bathroom, balcony
    double regionFactor = 1;         // in every unit price
    double countedArea = 0;
    long long materialsFen = 0;
    long long labourFen = 0;
    long long directFen = 0; // materials + labour
    long long managementFen = 0;
    long long taxFen = 0;
    long long totalFen = 0;
};

// Per counted room kind: unit price = grade base × style factor × room factor
// × region factor (rounded to fen), amount = area × unit price, split into materials and
// labour by the grade's material share. Management fee on the direct cost,
// tax on direct cost plus fee, each rounded to fen.
Estimate estimateQuote(const QuoteRequest &request, const PriceTable &prices);

std::string_view gradeName(int grade);
std::string_view styleName(int style);

} // namespace site
