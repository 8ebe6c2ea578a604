#include "quote/core/NumberText.h"

std::optional<double> NumberText::toNumber(const QString &text, const QLocale &locale)
{
    bool ok = false;
    const double value = locale.toDouble(text, &ok);
    if (!ok)
        return std::nullopt;
    return value;
}

QString NumberText::toText(double value, const QLocale &locale)
{
    QLocale plain = locale;
    plain.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    // -0 reads as 0 to a user; keep the sign off it.
    return plain.toString(value == 0 ? 0.0 : value, 'g', 15);
}
