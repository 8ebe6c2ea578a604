#include "controls/ComboPicks.h"

#include <QAbstractItemView>
#include <QFontMetrics>
#include <QLineEdit>
#include <QListView>
#include <QMetaMethod>
#include <QScreen>
#include <QScrollBar>

#include <algorithm>

namespace {
void setTextKeepingList(QComboBox *combo, const QString &text)
{
    combo->setCurrentIndex(combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
    combo->setEditText(text);
}

// Entries such as "640000|宁夏回族自治区" are wider than the box: let the
// list open wide enough to show them whole, up to the width of the screen.
// Widths come from the font, and each entry is measured only as far as it
// could be seen, so that a region line with huge or very many fields costs
// little.
void fitPopupToEntries(QComboBox *combo)
{
    QAbstractItemView *view = combo->view();
    const QScreen *screen = combo->screen();
    const int limit = screen ? screen->availableGeometry().width() : 4096;
    const QFontMetrics metrics(view->font());
    int widest = 0;
    int widestRow = -1;
    for (int row = 0; row < combo->count() && widest < limit; ++row) {
        const int width = metrics.horizontalAdvance(combo->itemText(row).left(limit));
        if (width > widest) {
            widest = width;
            widestRow = row;
        }
    }
    int content = widest;
    // The entry's own size hint adds the item's margins; ask it only for an
    // entry short enough to be measured at once.
    if (widestRow >= 0 && combo->itemText(widestRow).size() <= limit)
        content = view->sizeHintForIndex(combo->model()->index(widestRow, combo->modelColumn())).width();
    content += view->verticalScrollBar()->sizeHint().width() + 2 * view->frameWidth();
    view->setMinimumWidth(std::min(content, limit));
}
// A pick puts the entry into the box's edit part, which holds at most
// maxLength characters: a list entry is never longer. One line each, the
// entries are of one height, so the list need not measure every one of them.
void addEntries(QComboBox *combo, const QStringList &items)
{
    const qsizetype maxLength = combo->lineEdit() ? combo->lineEdit()->maxLength() : 32767;
    QStringList entries;
    entries.reserve(items.size());
    for (const QString &item : items)
        entries.append(item.size() > maxLength ? item.first(maxLength) : item);
    if (auto *list = qobject_cast<QListView *>(combo->view()))
        list->setUniformItemSizes(true);
    combo->addItems(entries);
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
    addEntries(combo, items);
    setTextKeepingList(combo, text);
    fitPopupToEntries(combo);
}

void ComboPicks::appendList(QComboBox *combo, const QStringList &items)
{
    const QString text = combo->currentText();
    addEntries(combo, items);
    setTextKeepingList(combo, text);
    fitPopupToEntries(combo);
}
