#include "controls/ClickableLabel.h"

#include <QAccessibleWidget>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QShortcut>
#include <QToolTip>

using namespace Qt::StringLiterals;

namespace {
// A long caption is cut short in the tooltip.
constexpr qsizetype tooltipNameLimit = 60;

// What assistive technology sees of a clickable label: its role, its name,
// and while it is actionable one press action that clicks it, announced
// with its key.
class ClickableAccessible final : public QAccessibleWidget
{
public:
    explicit ClickableAccessible(ClickableLabel *label) : QAccessibleWidget(label) {}

    QAccessible::Role role() const override { return label()->accessibleRole(); }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return label()->spokenName();
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.checkable = label()->isChecked();
        s.checked = label()->isChecked();
        return s;
    }

    QStringList actionNames() const override
    {
        return label()->isActionable() ? QStringList{pressAction()} : QStringList{};
    }

    // Returns at once, as Qt's own buttons do: the click may open a message
    // box, and the caller (a screen reader, voice control) waits for the reply.
    void doAction(const QString &name) override
    {
        if (name == pressAction() && label()->isActionable())
            QMetaObject::invokeMethod(label(), &ClickableLabel::click, Qt::QueuedConnection);
    }

    QStringList keyBindingsForAction(const QString &name) const override
    {
        if (name != pressAction() || !label()->isActionable())
            return {};
        return {label()->shortcut().toString(QKeySequence::PortableText)};
    }

private:
    ClickableLabel *label() const { return static_cast<ClickableLabel *>(widget()); }
};

QAccessibleInterface *clickableAccessible(const QString &, QObject *object)
{
    auto *label = qobject_cast<ClickableLabel *>(object);
    return label ? new ClickableAccessible(label) : nullptr;
}
} // namespace

ClickableLabel::ClickableLabel(QAccessible::Role pressRole, QAccessible::Role plainRole, QWidget *parent)
    : QLabel(parent), m_pressRole(pressRole), m_plainRole(plainRole)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(clickableAccessible);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
}

void ClickableLabel::setShortcut(const QKeySequence &key)
{
    m_key = key;
    if (!m_shortcut) {
        // The shortcut lives only while the label is shown and enabled, as a click does.
        m_shortcut = new QShortcut(this);
        m_shortcut->setContext(Qt::WindowShortcut);
        connect(m_shortcut, &QShortcut::activated, this, &ClickableLabel::click);
        // Places of a window that share a key do the same thing: any of them may take it.
        connect(m_shortcut, &QShortcut::activatedAmbiguously, this, &ClickableLabel::click);
    }
    // Enter on the keypad does what Return does.
    QList<QKeySequence> keys{key};
    if (key.count() == 1 && key[0].key() == Qt::Key_Return)
        keys.append(QKeySequence(QKeyCombination(key[0].keyboardModifiers(), Qt::Key_Enter)));
    m_shortcut->setKeys(keys);
    setActionable(true);
}

void ClickableLabel::setActionable(bool actionable)
{
    m_actionable = actionable;
    if (m_shortcut)
        m_shortcut->setEnabled(actionable);
}

bool ClickableLabel::isActionable() const
{
    return m_actionable && m_shortcut;
}

void ClickableLabel::setChecked(bool checked)
{
    if (m_checked == checked)
        return;
    m_checked = checked;
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(this, changed);
    QAccessible::updateAccessibility(&event);
}

QString ClickableLabel::spokenName() const
{
    const QString name = accessibleName();
    return name.isEmpty() ? text() : name;
}

void ClickableLabel::click()
{
    Q_EMIT clicked();
}

// The tooltip of an actionable label names it and its key.
bool ClickableLabel::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip && isActionable() && toolTip().isEmpty()) {
        QString name = spokenName();
        if (name.size() > tooltipNameLimit)
            name = name.left(tooltipNameLimit) + u'…';
        const QString key = m_key.toString(QKeySequence::NativeText);
        QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(), u"%1（%2）"_s.arg(name, key), this);
        return true;
    }
    return QLabel::event(event);
}

// The control takes its clicks: what lies beneath it, its container included, never sees them.
void ClickableLabel::mousePressEvent(QMouseEvent *event)
{
    event->accept();
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        m_clickByMouse = true;
        click();
        m_clickByMouse = false;
    }
}
