#include "tools/core/SizeRule.h"

#include <QStringList>

std::optional<PieceSize> splitPieceSize(const QString &listText)
{
    const QStringList pieces = listText.split(u'*');
    if (pieces.size() < 2)
        return std::nullopt;
    return PieceSize{pieces.at(0), pieces.at(1)};
}
