#include "controls/LabelledCombo.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace {
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
// What Orca 48 reads of a box besides its name: the value from the
// "valuetext" attribute (it does not take Qt's line edit for the box's entry,
// and without it says the name twice instead of the text shown), and a change
// by arrow key from the box's selection, its current list entry.
struct ValueInterfaces : QAccessibleAttributesInterface, QAccessibleSelectionInterface
{
};
#else
struct ValueInterfaces
{
};
#endif

// Children, focus and actions as Qt gives them to a combo box: the popup list
// first, then the line edit, which has the focus of an editable one.
class LabelledComboAccessible final : public QAccessibleWidget, public ValueInterfaces
{
public:
    explicit LabelledComboAccessible(QComboBox *box) : QAccessibleWidget(box, QAccessible::ComboBox)
    {
        addControllingSignal(u"activated(int)"_s);
    }

    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Name:
            return combo()->accessibleName().isEmpty() ? combo()->currentText() : combo()->accessibleName();
        case QAccessible::Value:
            return combo()->currentText();
        default:
            return QAccessibleWidget::text(t);
        }
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.expandable = true;
        s.expanded = combo()->view()->isVisible();
        s.editable = combo()->isEditable();
        return s;
    }

    int childCount() const override { return combo()->lineEdit() ? 2 : 1; }

    QAccessibleInterface *child(int index) const override
    {
        if (index == 0)
            return QAccessible::queryAccessibleInterface(combo()->view());
        if (index == 1 && combo()->lineEdit())
            return QAccessible::queryAccessibleInterface(combo()->lineEdit());
        return nullptr;
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (child->object() == combo()->view())
            return 0;
        return combo()->lineEdit() && child->object() == combo()->lineEdit() ? 1 : -1;
    }

    QAccessibleInterface *focusChild() const override { return combo()->lineEdit() ? child(1) : nullptr; }

    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }

    void doAction(const QString &name) override
    {
        if (name != showMenuAction() && name != pressAction())
            return;
        if (combo()->view()->isVisible())
            combo()->hidePopup();
        else
            combo()->showPopup();
    }

    QStringList keyBindingsForAction(const QString &) const override { return {}; }

#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::AttributesInterface)
            return static_cast<QAccessibleAttributesInterface *>(this);
        if (type == QAccessible::SelectionInterface)
            return static_cast<QAccessibleSelectionInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QList<QAccessible::Attribute> attributeKeys() const override
    {
        return {QAccessible::Attribute::Custom};
    }

    QVariant attributeValue(QAccessible::Attribute key) const override
    {
        if (key != QAccessible::Attribute::Custom)
            return {};
        return QVariant::fromValue(QHash<QString, QString>{{ u"valuetext"_s, combo()->currentText() }});
    }

    int selectedItemCount() const override
    {
        return currentEntry() ? 1 : 0;
    }

    QList<QAccessibleInterface *> selectedItems() const override
    {
        QAccessibleInterface *entry = currentEntry();
        return entry ? QList<QAccessibleInterface *>{entry} : QList<QAccessibleInterface *>{};
    }

    // Entries are picked in the list, as a user picks them: the box's
    // selection only reports.
    bool select(QAccessibleInterface *) override
    {
        return false;
    }
    bool unselect(QAccessibleInterface *) override
    {
        return false;
    }
    bool selectAll() override
    {
        return false;
    }
    bool clear() override
    {
        return false;
    }
#endif

private:
    QComboBox *combo() const
    {
        return static_cast<QComboBox *>(widget());
    }

    QAccessibleInterface *currentEntry() const
    {
        QAccessibleInterface *list = child(0);
        QAccessibleTableInterface *table = list ? list->tableInterface() : nullptr;
        const int row = combo()->currentIndex();
        return table && row >= 0 ? table->cellAt(row, combo()->modelColumn()) : nullptr;
    }
};

QAccessibleInterface *labelledCombo(const QString &className, QObject *object)
{
    // Asked for as soon as the box is made, before its name is set.
    auto *box = className == "QComboBox"_L1 ? qobject_cast<QComboBox *>(object) : nullptr;
    return box ? new LabelledComboAccessible(box) : nullptr;
}
} // namespace

void LabelledCombo::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(labelledCombo);
        return true;
    }();
    Q_UNUSED(installed);
}
