#include "site/Estimate.h"

#include <cmath>

namespace site {

namespace {

long long toFen(double value)
{
    return std::llround(value);
}

constexpr Room shownOrder[] = {Room::LivingRoom, Room::DiningRoom, Room::Bedroom,
                               Room::Kitchen,    Room::Bathroom,   Room::Balcony};

} // namespace

Estimate estimateQuote(const QuoteRequest &request, const PriceTable &prices)
{
    Estimate estimate;
    const PriceTable::Grade &grade = prices.grades.at(request.grade - 1);
    const double styleFactor = prices.styleFactors.at(request.style - 1);
    estimate.regionFactor = prices.regionFactor(request.provinceCode, request.cityCode);
    for (Room room : shownOrder) {
        const int index = static_cast<int>(room) - 1;
        EstimateLine line{room, request.count(room), request.area(room)};
        line.unitPriceFen =
            toFen(grade.base * 100.0 * styleFactor * prices.roomFactors[index] * estimate.regionFactor);
        line.counted = line.count > 0;
        if (line.counted) {
            line.amountFen = toFen(line.area * static_cast<double>(line.unitPriceFen));
            line.materialsFen = toFen(static_cast<double>(line.amountFen) * grade.materialShare);
            line.labourFen = line.amountFen - line.materialsFen;
            estimate.countedArea += line.area;
            estimate.materialsFen += line.materialsFen;
            estimate.labourFen += line.labourFen;
        }
        estimate.lines.push_back(line);
    }
    estimate.directFen = estimate.materialsFen + estimate.labourFen;
    estimate.managementFen = toFen(static_cast<double>(estimate.directFen) * prices.managementRate);
    estimate.taxFen =
        toFen(static_cast<double>(estimate.directFen + estimate.managementFen) * prices.taxRate);
    estimate.totalFen = estimate.directFen + estimate.managementFen + estimate.taxFen;
    return estimate;
}

std::string_view gradeName(int grade)
{
    switch (grade) {
    case 1:
        return "经济实惠";
    case 2:
        return "小康实用";
    case 3:
        return "高档豪华";
    }
    return {};
}

std::string_view styleName(int style)
{
    switch (style) {
    case 1:
        return "现代简约";
    case 2:
        return "中西合璧";
    case 3:
        return "中式怀旧";
    case 4:
        return "欧式古典";
    case 5:
        return "西式田园";
    }
    return {};
}

} // namespace site
