#include "quote/ComboPicks.h"

#include <QLineEdit>
#include <QMetaMethod>

namespace {
void setTextKeepingList(QComboBox *combo, const QString &text)
{
    combo->setCurrentIndex(combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
    combo->setEditText(text);
}
} // namespace

void ComboPicks::cutTypedActivation(QComboBox *combo)
{
    combo->setCompleter(nullptr);
    if (QLineEdit *edit = combo->lineEdit())
        QObject::disconnect(edit, QMetaMethod::fromSignal(&QLineEdit::editingFinished), combo, QMetaMethod());
}

void ComboPicks::showList(QComboBox *combo, const QStringList &items, const QString &text)
{
    combo->clear();
    combo->addItems(items);
    setTextKeepingList(combo, text);
}

void ComboPicks::appendList(QComboBox *combo, const QStringList &items)
{
    const QString text = combo->currentText();
    combo->addItems(items);
    setTextKeepingList(combo, text);
}
