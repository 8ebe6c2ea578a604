// Number texts both ways in several locales, the calculators' count from four
// box texts, and the split of a picked piece size.
#include "FuzzSupport.h"

#include "quote/core/NumberText.h"
#include "tools/core/CoverageCalculator.h"
#include "tools/core/SizeRule.h"

#include <algorithm>
#include <cmath>
#include <cstring>

using namespace Qt::StringLiterals;

namespace {
bool isPlainDigits(const QString &text)
{
    return !text.isEmpty() &&
           std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// The general format: no grouping, at most 15 significant digits, no trailing
// zeros, and one more round trip changes nothing.
void checkGeneralText(double value, const QLocale &locale)
{
    const QString text = NumberText::toText(value, locale);
    FUZZ_CHECK(!text.isEmpty(), QString::number(value));
    if (!std::isfinite(value))
        return;
    const QString context = locale.name() + u": "_s + QString::number(value, 'g', 17) + u" -> "_s + text;
    if (value == 0)
        FUZZ_CHECK(text == locale.zeroDigit(), context);
    FUZZ_CHECK(!text.contains(locale.groupSeparator()), context);

    const qsizetype exponent = text.indexOf(locale.exponential(), 0, Qt::CaseInsensitive);
    const QStringView mantissa = QStringView(text).left(exponent < 0 ? text.size() : exponent);
    qsizetype significant = 0;
    for (QChar c : mantissa) {
        if (c.isDigit() && (significant > 0 || c.digitValue() != 0))
            ++significant;
    }
    FUZZ_CHECK(significant <= 15, context);
    if (mantissa.contains(locale.decimalPoint())) {
        FUZZ_CHECK(!mantissa.endsWith(locale.decimalPoint()) && !mantissa.endsWith(locale.zeroDigit()),
                   context);
    }

    // Qt 6.4 cannot read back the signs and exponents it writes in locales
    // whose sign is several characters (Arabic and Persian add a direction mark).
    const bool multiCharSign = locale.negativeSign().size() > 1 || locale.positiveSign().size() > 1;
    if (multiCharSign && (exponent >= 0 || std::signbit(value)))
        return;
    // Fifteen digits of the largest doubles round up past the largest double.
    if (std::fabs(value) > 1.79769313486231e308)
        return;
    const std::optional<double> again = NumberText::toNumber(text, locale);
    FUZZ_CHECK(again.has_value(), context);
    FUZZ_CHECK(NumberText::toText(*again, locale) == text, context);
    FUZZ_CHECK(std::signbit(*again) == std::signbit(value) || value == 0, context);
}

void checkCount(FuzzedDataProvider &data)
{
    QString sides[4];
    for (QString &side : sides)
        side = FuzzSupport::consumeText(data, 24);
    const CoverageCalculator::Result result =
        CoverageCalculator::count(sides[0], sides[1], sides[2], sides[3]);
    const QString context = sides[0] + u" | "_s + sides[1] + u" | "_s + sides[2] + u" | "_s + sides[3];
    if (result.outcome == CoverageCalculator::Outcome::Counted) {
        FUZZ_CHECK(isPlainDigits(result.count), context + u" -> "_s + result.count);
        for (const QString &side : sides) {
            const std::optional<double> value = CoverageCalculator::toNumber(side);
            FUZZ_CHECK(value && *value >= 0, context);
        }
    } else {
        FUZZ_CHECK(result.count.isEmpty(), context);
    }
}

void checkPieceSize(const QString &text)
{
    const std::optional<PieceSize> size = splitPieceSize(text);
    FUZZ_CHECK(size.has_value() == text.contains(u'*'), text);
    if (!size)
        return;
    FUZZ_CHECK(size->width == text.section(u'*', 0, 0) && size->length == text.section(u'*', 1, 1), text);
    FUZZ_CHECK(text.startsWith(size->width + u'*' + size->length), text);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    FuzzedDataProvider data(bytes, size);
    const QLocale locale = FuzzSupport::consumeLocale(data);
    QLocale::setDefault(locale);

    switch (data.ConsumeIntegralInRange<int>(0, 3)) {
    case 0: {
        const QString text = FuzzSupport::consumeText(data);
        if (const std::optional<double> value = NumberText::toNumber(text, locale))
            checkGeneralText(*value, locale);
        break;
    }
    case 1: {
        // Any double at all, including subnormals, huge values and NaN payloads.
        double value = 0;
        data.ConsumeData(&value, sizeof value);
        checkGeneralText(value, locale);
        if (std::isfinite(value)) {
            const QString whole = CoverageCalculator::wholeNumberText(std::floor(std::fabs(value)));
            FUZZ_CHECK(isPlainDigits(whole), whole);
        }
        break;
    }
    case 2:
        checkCount(data);
        break;
    default:
        checkPieceSize(FuzzSupport::consumeText(data));
        break;
    }
    return 0;
}
