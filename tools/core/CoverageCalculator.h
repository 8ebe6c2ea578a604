#pragma once

#include <QString>

#include <optional>

// How many tiles or boards cover a rectangular room, from the texts of the
// calculator boxes: room sides in metres, piece sides in millimetres.
class CoverageCalculator
{
public:
    enum class Outcome
    {
        Counted,
        BadInput
    };
    struct Result
    {
        Outcome outcome;
        QString count; // whole number in plain decimal digits when Counted
    };

    // Area of the room over the area of one piece, rounded down. The double
    // operations run in a fixed order (the two divisions by 1000 kept apart),
    // because the rounding of the intermediates decides near-whole quotients.
    // Text that is not a number, a negative side, a zero piece side and any
    // overflow are BadInput.
    static Result count(const QString &roomLength, const QString &roomWidth, const QString &pieceWidth,
                        const QString &pieceLength);

    // Locale-aware decimal text to a finite number; blanks around it are allowed.
    static std::optional<double> toNumber(const QString &text);
    // A whole double as plain decimal digits, never in exponent form.
    static QString wholeNumberText(double value);
};
