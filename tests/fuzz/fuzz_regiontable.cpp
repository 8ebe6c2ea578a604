// The region line from the bytes of a region file: its first line, split into
// the table, the province list, and the city and district fills for every
// province and city found, checked against the classification rules.
#include "FuzzSupport.h"

#include "platform/core/TextFileInput.h"
#include "quote/core/RegionTable.h"

#include <QSet>

using namespace Qt::StringLiterals;

namespace {
// Characters from..from+length-1 of a field, counted from 1.
QStringView chars(const QString &text, qsizetype from, qsizetype length)
{
    return QStringView(text).mid(from - 1, length);
}

// Each entry after the leading "请选择" is a field of the table, in table order.
void checkEntriesFromTable(const QStringList &items, const QStringList &table, const QString &what)
{
    qsizetype next = 0;
    for (qsizetype i = 1; i < items.size(); ++i) {
        next = table.indexOf(items.at(i), next);
        FUZZ_CHECK(next >= 0, what + u": entry not in table order: "_s + items.at(i));
        ++next;
    }
}

// The fills depend on characters 1-4 of the picks only, so one pick per
// distinct key is checked; this keeps a table of many look-alike provinces
// from costing the cube of its size.
void checkCities(const QStringList &table, const QString &province)
{
    QSet<QStringView> seenCities;
    const SelectorFill fill = RegionTable::cities(table, province);
    FUZZ_CHECK(!fill.items.isEmpty() && fill.items.first() == RegionTable::pleaseChoose(), province);
    FUZZ_CHECK(fill.text == (fill.items.size() > 1 ? RegionTable::pleaseChoose() : QString()), province);
    checkEntriesFromTable(fill.items, table, u"cities of "_s + province);
    qsizetype expected = 0;
    for (const QString &field : table)
        expected += RegionTable::isCityOf(field, province);
    FUZZ_CHECK(fill.items.size() == expected + 1, province);

    for (qsizetype i = 1; i < fill.items.size(); ++i) {
        const QString &city = fill.items.at(i);
        FUZZ_CHECK(city.size() >= 6 && chars(city, 1, 2) == chars(province, 1, 2),
                   province + u" / "_s + city);
        FUZZ_CHECK(chars(city, 5, 2) == u"00" && chars(city, 3, 4) != u"0000", city);
        FUZZ_CHECK(!RegionTable::isProvince(city), city);
        if (seenCities.contains(chars(city, 3, 2)))
            continue;
        seenCities.insert(chars(city, 3, 2));

        const SelectorFill districts = RegionTable::districts(table, province, city);
        FUZZ_CHECK(districts.text == RegionTable::pleaseChoose(), city);
        FUZZ_CHECK(!districts.items.isEmpty() && districts.items.first() == RegionTable::pleaseChoose(),
                   city);
        checkEntriesFromTable(districts.items, table, u"districts of "_s + city);
        for (qsizetype d = 1; d < districts.items.size(); ++d) {
            const QString &district = districts.items.at(d);
            FUZZ_CHECK(chars(district, 1, 2) == chars(province, 1, 2) &&
                           chars(district, 3, 2) == chars(city, 3, 2) && chars(district, 5, 2) != u"00",
                       city + u" / "_s + district);
            // A district is never also a province or a city of that province.
            FUZZ_CHECK(!RegionTable::isProvince(district) && !RegionTable::isCityOf(district, province),
                       district);
        }
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString line = firstLineOfGbk(bytes);

    const QStringList table = RegionTable::split(line);
    FUZZ_CHECK(line.isEmpty() ? table.isEmpty() : table.size() == line.count(u',') + 1, line);
    FUZZ_CHECK(table.join(u',') == line, line);

    const QStringList provinces = RegionTable::provinces(table);
    checkEntriesFromTable(QStringList{RegionTable::pleaseChoose()} + provinces, table, u"provinces"_s);
    QSet<QStringView> seenProvinces;
    for (const QString &province : provinces) {
        FUZZ_CHECK(province.size() >= 6 && chars(province, 3, 4) == u"0000", province);
        if (!seenProvinces.contains(chars(province, 1, 2))) {
            seenProvinces.insert(chars(province, 1, 2));
            checkCities(table, province);
        }
    }

    // The selectors' own texts reach the fills too: "请选择" before any pick,
    // and a typed text shorter than a code.
    checkCities(table, RegionTable::pleaseChoose());
    const SelectorFill none =
        RegionTable::districts(table, RegionTable::pleaseChoose(), RegionTable::pleaseChoose());
    for (qsizetype d = 1; d < none.items.size(); ++d)
        FUZZ_CHECK(chars(none.items.at(d), 1, 2) == u"请选", none.items.at(d));
    if (!table.isEmpty())
        checkCities(table, table.first().left(1));
    return 0;
}
