#include "quote/core/RegionTable.h"

using namespace Qt::StringLiterals;

namespace {
// Characters from..from+length-1, counted from 1; shorter or empty past the end.
QStringView part(const QString &text, qsizetype from, qsizetype length)
{
    return QStringView(text).mid(from - 1, length);
}
} // namespace

QString RegionTable::pleaseChoose()
{
    return u"请选择"_s;
}

QStringList RegionTable::split(const QString &line)
{
    if (line.isEmpty())
        return {};
    return line.split(u',');
}

bool RegionTable::isProvince(const QString &field)
{
    return part(field, 3, 4) == u"0000";
}

bool RegionTable::isCityOf(const QString &field, const QString &province)
{
    return part(field, 3, 4) != u"0000" && part(field, 5, 2) == u"00" &&
           part(field, 1, 2) == part(province, 1, 2);
}

bool RegionTable::isDistrictOf(const QString &field, const QString &province, const QString &city)
{
    // An empty field names no region, whatever the selectors hold.
    return !field.isEmpty() && part(field, 5, 2) != u"00" && part(field, 1, 2) == part(province, 1, 2) &&
           part(field, 3, 2) == part(city, 3, 2);
}

QStringList RegionTable::provinces(const QStringList &table)
{
    QStringList result;
    for (const QString &field : table) {
        if (isProvince(field))
            result.append(field);
    }
    return result;
}

SelectorFill RegionTable::cities(const QStringList &table, const QString &province)
{
    SelectorFill fill{{pleaseChoose()}, {}};
    for (const QString &field : table) {
        if (isCityOf(field, province))
            fill.items.append(field);
    }
    if (fill.items.size() > 1)
        fill.text = pleaseChoose();
    return fill;
}

SelectorFill RegionTable::districts(const QStringList &table, const QString &province, const QString &city)
{
    SelectorFill fill{{pleaseChoose()}, pleaseChoose()};
    for (const QString &field : table) {
        if (isDistrictOf(field, province, city))
            fill.items.append(field);
    }
    return fill;
}
