#pragma once

#include <QString>

#include <optional>

// A size picked from a calculator's list, "width*length" in millimetres.
struct PieceSize
{
    QString width;
    QString length;
};

// The width is the text before the first asterisk, the length the text
// between the first and a possible second one. An empty text, or one without
// an asterisk, gives no size: the boxes are left alone.
std::optional<PieceSize> splitPieceSize(const QString &listText);
