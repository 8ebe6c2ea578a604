#include "tools/core/CoverageCalculator.h"

#include <QLocale>

#include <cmath>

std::optional<double> CoverageCalculator::toNumber(const QString &text)
{
    bool ok = false;
    const double value = QLocale().toDouble(text.trimmed(), &ok);
    // The conversion also understands "inf" and "nan", which are no lengths.
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString CoverageCalculator::wholeNumberText(double value)
{
    // Adding 0.0 turns a negative zero into plain zero.
    return QString::number(value + 0.0, 'f', 0);
}

CoverageCalculator::Result CoverageCalculator::count(const QString &roomLength, const QString &roomWidth,
                                                     const QString &pieceWidth, const QString &pieceLength)
{
    const Result bad{Outcome::BadInput, {}};
    // A negative side would yield a negative count; it is a typing error like text.
    const auto side = [](const QString &text) -> std::optional<double> {
        const std::optional<double> value = toNumber(text);
        if (value && *value < 0)
            return std::nullopt;
        return value;
    };

    const std::optional<double> a = side(roomLength);
    if (!a)
        return bad;
    const std::optional<double> b = side(roomWidth);
    if (!b)
        return bad;
    const double p = *b * *a;
    if (!std::isfinite(p))
        return bad;

    const std::optional<double> w = side(pieceWidth);
    if (!w)
        return bad;
    const double q = *w / 1000;
    const std::optional<double> l = side(pieceLength);
    if (!l)
        return bad;
    const double d = (*l * q) / 1000;
    // A zero piece side, or sides so small that their area underflows, leaves nothing to divide by.
    if (!std::isfinite(d) || d == 0)
        return bad;

    const double n = p / d;
    if (!std::isfinite(n))
        return bad;
    return {Outcome::Counted, wholeNumberText(std::floor(n))};
}
