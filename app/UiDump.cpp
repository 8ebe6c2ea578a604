#include "app/UiDump.h"

#include "app/WindowSet.h"
#include "controls/ControlGeometry.h"
#include "controls/FormWindow.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace {
QString textOf(const QWidget *w)
{
    if (auto *label = qobject_cast<const QLabel *>(w))
        return label->text();
    if (auto *edit = qobject_cast<const QLineEdit *>(w))
        return edit->text();
    if (auto *combo = qobject_cast<const QComboBox *>(w))
        return combo->currentText();
    if (auto *button = qobject_cast<const QAbstractButton *>(w))
        return button->text();
    if (auto *frame = qobject_cast<const QGroupBox *>(w))
        return frame->title();
    return {};
}

// Position among the sibling widgets, 0 for the topmost.
int stackingOf(const QWidget *w)
{
    const QObjectList &siblings = w->parent()->children();
    int fromTop = 0;
    for (qsizetype i = siblings.size() - 1; i >= 0; --i) {
        if (siblings[i] == w)
            return fromTop;
        if (siblings[i]->isWidgetType())
            ++fromTop;
    }
    return -1;
}

void dumpControls(const QWidget *container, const QString &containerName, QJsonArray &out)
{
    for (QObject *child : container->children()) {
        auto *w = qobject_cast<QWidget *>(child);
        if (!w || !w->property("designerName").isValid())
            continue;
        const QRect r = ControlGeometry::twips(w);
        QJsonObject item{{u"name"_s, w->objectName()},
                         {u"kind"_s, w->property("controlKind").toString()},
                         {u"container"_s, containerName},
                         {u"left"_s, r.x()},
                         {u"top"_s, r.y()},
                         {u"width"_s, r.width()},
                         {u"height"_s, r.height()},
                         {u"text"_s, textOf(w)},
                         {u"visible"_s, !w->isHidden()},
                         {u"enabled"_s, w->isEnabled()},
                         {u"tabIndex"_s, w->property("tabIndex").toInt()},
                         {u"stacking"_s, stackingOf(w)}};
        if (auto *combo = qobject_cast<QComboBox *>(w)) {
            QJsonArray items;
            for (int i = 0; i < combo->count(); ++i)
                items.append(combo->itemText(i));
            item.insert(u"items"_s, items);
        }
        if (auto *button = qobject_cast<QAbstractButton *>(w); button && button->isCheckable())
            item.insert(u"checked"_s, button->isChecked());
        out.append(item);
        dumpControls(w, w->objectName(), out);
    }
}
} // namespace

QJsonArray dumpWindows(WindowSet &windows)
{
    QJsonArray result;
    for (int i = 0; i < windowCount; ++i) {
        FormWindow *window = windows.window(WindowId(i));
        const WindowSpec &shape = window->shape();
        QJsonArray controls;
        dumpControls(window, window->objectName(), controls);
        result.append(QJsonObject{{u"name"_s, window->objectName()},
                                  {u"caption"_s, window->windowTitle()},
                                  {u"width"_s, shape.widthTwips},
                                  {u"height"_s, shape.heightTwips},
                                  {u"sizable"_s, shape.sizable},
                                  {u"icon"_s, shape.hasIcon},
                                  {u"controls"_s, controls}});
    }
    return result;
}
