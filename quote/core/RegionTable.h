#pragma once

#include <QString>
#include <QStringList>

// What a region selector shows after a refill: its list entries, in order,
// and the text of its edit part.
struct SelectorFill
{
    QStringList items;
    QString text;
};

// The region line of city.txt: fields "code|name" separated by ",". A field
// is classified by character positions of its code alone, as it stands:
// nothing is trimmed, and nothing checks that the code is made of digits.
namespace RegionTable {
// The entry every refilled selector starts with.
QString pleaseChoose();

// All fields in line order, empty ones included; an empty line has none.
QStringList split(const QString &line);

// Characters 3-6 are "0000".
bool isProvince(const QString &field);
// Characters 3-6 are not "0000", 5-6 are "00", 1-2 match the province text.
bool isCityOf(const QString &field, const QString &province);
// Characters 5-6 are not "00", 1-2 match the province text, 3-4 the city text.
bool isDistrictOf(const QString &field, const QString &province, const QString &city);

// The entries of city1, in table order.
QStringList provinces(const QStringList &table);
// city2 after a province pick: "请选择" and the cities; the text is "请选择",
// or empty when the province has no city.
SelectorFill cities(const QStringList &table, const QString &province);
// city3 after a city pick: "请选择" and the districts; the text is "请选择".
SelectorFill districts(const QStringList &table, const QString &province, const QString &city);
} // namespace RegionTable
