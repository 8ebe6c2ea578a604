#pragma once

#include <QAccessible>
#include <QKeySequence>
#include <QLabel>

class QShortcut;

// A label that reports clicks: the base of picture boxes and captions. A
// place whose click does something is given a key (setShortcut): the key
// then clicks it from anywhere in its window, its tooltip names the key, and
// screen readers see a button or link with a press action bound to the key.
class ClickableLabel : public QLabel
{
    Q_OBJECT
public:
    // pressRole is what screen readers see while the label is actionable,
    // plainRole what they see otherwise.
    ClickableLabel(QAccessible::Role pressRole, QAccessible::Role plainRole, QWidget *parent);

    // Makes the label actionable, with key as the key of its click.
    void setShortcut(const QKeySequence &key);
    QKeySequence shortcut() const { return m_key; }
    // A label with a key can be made inert for a while (a headline without a
    // link): its key does nothing and screen readers see plain text or a
    // picture. Mouse clicks are reported either way.
    void setActionable(bool actionable);
    bool isActionable() const;
    // Marks the current one of a set, as a tab bar marks its current tab.
    void setChecked(bool checked);
    bool isChecked() const { return m_checked; }

    // What a screen reader says: the accessible name, or else the caption.
    QString spokenName() const;
    QAccessible::Role accessibleRole() const { return isActionable() ? m_pressRole : m_plainRole; }

    // Does what a click does.
    void click();
    // While clicked() is handled: whether the mouse clicked, rather than the
    // key or a screen reader's press action. A window moves the focus for
    // keyboard users only.
    bool isClickByMouse() const { return m_clickByMouse; }

Q_SIGNALS:
    void clicked();

protected:
    bool event(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QAccessible::Role m_pressRole;
    QAccessible::Role m_plainRole;
    QKeySequence m_key;
    QShortcut *m_shortcut = nullptr;
    bool m_actionable = false;
    bool m_checked = false;
    bool m_clickByMouse = false;
};
