#include "quote/ComboPicks.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QMetaMethod>
#include <QScrollBar>

namespace {
void setTextKeepingList(QComboBox *combo, const QString &text)
{
    combo->setCurrentIndex(combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
    combo->setEditText(text);
}

// Entries such as "640000|宁夏回族自治区" are wider than the box: let the
// list open wide enough to show them whole.
void fitPopupToEntries(QComboBox *combo)
{
    QAbstractItemView *view = combo->view();
    const int content =
        view->sizeHintForColumn(0) + view->verticalScrollBar()->sizeHint().width() + 2 * view->frameWidth();
    view->setMinimumWidth(content);
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
    fitPopupToEntries(combo);
}

void ComboPicks::appendList(QComboBox *combo, const QStringList &items)
{
    const QString text = combo->currentText();
    combo->addItems(items);
    setTextKeepingList(combo, text);
    fitPopupToEntries(combo);
}
