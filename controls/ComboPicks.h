#pragma once

#include <QComboBox>

#include <utility>

// Region and room selectors react only when the user picks a list entry with
// the mouse or the arrow keys. A QComboBox also activates an entry whose text
// was typed, on Return or when the focus leaves, and through its completer;
// those paths are cut here so that typing changes only the text.
namespace ComboPicks {
void cutTypedActivation(QComboBox *combo);

template <typename Receiver, typename Slot> void onPick(QComboBox *combo, Receiver *receiver, Slot slot)
{
    cutTypedActivation(combo);
    QObject::connect(combo, &QComboBox::activated, receiver, std::forward<Slot>(slot));
}

// Replaces the list and the text; the text's entry, if listed, becomes current
// so that the arrow keys move on from it.
void showList(QComboBox *combo, const QStringList &items, const QString &text);
// Adds entries behind the list, keeping the text.
void appendList(QComboBox *combo, const QStringList &items);
} // namespace ComboPicks
