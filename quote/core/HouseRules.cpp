#include "quote/core/HouseRules.h"

using namespace Qt::StringLiterals;

HouseType HouseRules::houseType(const QString &text)
{
    struct Row
    {
        QStringView text;
        HouseType type;
    };
    static const Row rows[] = {
        {u"一房一厅", {1, 1, 0, u"1"_s}},  {u"二房一厅", {2, 1, 0, u"2"_s}},
        {u"三房一厅", {3, 1, 0, u"3"_s}},  {u"二房二厅", {2, 1, 1, u"12"_s}},
        {u"三房二厅", {3, 1, 1, u"13"_s}}, {u"四房二厅", {4, 1, 1, u"14"_s}},
        {u"五房二厅", {5, 1, 1, u"15"_s}},
    };
    for (const Row &row : rows) {
        if (text == row.text)
            return row.type;
    }
    return {};
}

HallFields HouseRules::hallFields(const QString &houseTypeText)
{
    const QStringView halls = QStringView(houseTypeText).mid(2, 2);
    if (halls == u"二厅")
        return {true, true, true};
    if (halls == u"一厅")
        return {true, false, true};
    return {};
}

bool HouseRules::countFieldEnabled(const QString &countText)
{
    return countText != u"请选择";
}

int HouseRules::roomCount(const QString &countText)
{
    static const QStringView counts[] = {u"一间", u"二间", u"三间", u"四间"};
    for (int i = 0; i < 4; ++i) {
        if (countText == counts[i])
            return i + 1;
    }
    return 0;
}
