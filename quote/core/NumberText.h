#pragma once

#include <QLocale>
#include <QString>

#include <optional>

// Text to number and back the way the user's locale writes numbers.
namespace NumberText {
// Accepts blanks around the number, a sign, an exponent, the locale's decimal
// separator and digit grouping; nothing when the text is not a number.
std::optional<double> toNumber(const QString &text, const QLocale &locale = QLocale());
// General format: at most 15 significant digits, no grouping, no trailing
// zeros, the locale's decimal separator.
QString toText(double value, const QLocale &locale = QLocale());
} // namespace NumberText
