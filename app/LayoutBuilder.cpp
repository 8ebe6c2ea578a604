#include "app/LayoutBuilder.h"

#include "app/ControlGeometry.h"
#include "controls/CaptionLabel.h"
#include "controls/PictureBox.h"
#include "controls/wkxbjqbutton.h"
#include "controls/wkxbjqgjmenu.h"
#include "platform/Browser.h"
#include "platform/Platform.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QHash>
#include <QLineEdit>
#include <QRadioButton>

#include <algorithm>

using namespace Qt::StringLiterals;

const char *controlKindName(ControlKind kind)
{
    switch (kind) {
    case ControlKind::PictureBox:
        return "PictureBox";
    case ControlKind::Image:
        return "Image";
    case ControlKind::Label:
        return "Label";
    case ControlKind::TextBox:
        return "TextBox";
    case ControlKind::ComboBox:
        return "ComboBox";
    case ControlKind::OptionButton:
        return "OptionButton";
    case ControlKind::Frame:
        return "Frame";
    case ControlKind::Line:
        return "Line";
    case ControlKind::WebBrowser:
        return "WebBrowser";
    case ControlKind::NavigationBar:
        return "wkxbjqbutton";
    case ControlKind::ToolsMenu:
        return "wkxbjqgjmenu";
    }
    return "?";
}

namespace {
bool isLightweight(ControlKind kind)
{
    return kind == ControlKind::Image || kind == ControlKind::Label || kind == ControlKind::Line;
}

QString textOf(const char16_t *text)
{
    return text ? QString::fromUtf16(text) : QString();
}

QWidget *createWidget(const ControlSpec &spec, QWidget *parent, const LayoutBuilder::BrowserSink &browsers)
{
    switch (spec.kind) {
    case ControlKind::PictureBox:
    case ControlKind::Image: {
        auto *picture = new PictureBox(parent);
        if (spec.picture)
            picture->setPicture(QString::fromLatin1(spec.picture));
        return picture;
    }
    case ControlKind::Label: {
        auto *label = new CaptionLabel(parent);
        label->setText(textOf(spec.text));
        return label;
    }
    case ControlKind::TextBox: {
        auto *edit = new QLineEdit(parent);
        edit->setText(textOf(spec.text));
        return edit;
    }
    case ControlKind::ComboBox: {
        auto *combo = new QComboBox(parent);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        if (spec.items)
            combo->addItems(QString::fromUtf16(spec.items).split(u'\n'));
        combo->setCurrentIndex(-1);
        combo->setEditText(textOf(spec.text));
        return combo;
    }
    case ControlKind::OptionButton:
        return new QRadioButton(textOf(spec.text), parent);
    case ControlKind::Frame:
        return new QGroupBox(textOf(spec.text), parent);
    case ControlKind::Line: {
        auto *line = new QFrame(parent);
        line->setFrameShape(QFrame::VLine);
        line->setFrameShadow(QFrame::Plain);
        return line;
    }
    case ControlKind::WebBrowser: {
        std::unique_ptr<Browser> browser = Platform::createBrowser(parent);
        QWidget *widget = browser->widget();
        if (browsers)
            browsers(spec, std::move(browser));
        return widget;
    }
    case ControlKind::NavigationBar:
        return new wkxbjqbutton(parent);
    case ControlKind::ToolsMenu:
        return new wkxbjqgjmenu(parent);
    }
    return nullptr;
}
} // namespace

QString LayoutBuilder::objectNameOf(const ControlSpec &spec)
{
    const QString name = QString::fromLatin1(spec.name);
    return spec.index < 0 ? name : name + u'(' + QString::number(spec.index) + u')';
}

QHash<QString, QWidget *> LayoutBuilder::build(QWidget *root, std::span<const ControlSpec> table,
                                               const BrowserSink &browsers)
{
    QHash<QString, QWidget *> byName;
    QHash<QWidget *, QButtonGroup *> optionGroups;
    QList<QWidget *> windowed;
    QList<std::pair<int, QWidget *>> focusOrder;
    for (const ControlSpec &spec : table) {
        QWidget *parent = spec.container ? byName.value(QString::fromLatin1(spec.container)) : root;
        Q_ASSERT_X(parent, spec.name, "container must come before its controls");
        QWidget *widget = createWidget(spec, parent, browsers);
        widget->setObjectName(objectNameOf(spec));
        widget->setProperty("designerName", QString::fromLatin1(spec.name));
        widget->setProperty("controlIndex", spec.index);
        widget->setProperty("controlKind", QString::fromLatin1(controlKindName(spec.kind)));
        widget->setProperty("tabIndex", spec.tabIndex);
        ControlGeometry::place(widget, QRect(spec.left, spec.top, spec.width, spec.height));
        if (spec.accessibleName)
            widget->setAccessibleName(QString::fromUtf16(spec.accessibleName));
        widget->setEnabled(spec.state != ControlState::Disabled);
        widget->setVisible(spec.state != ControlState::Hidden);
        if (widget->focusPolicy() != Qt::NoFocus && spec.tabIndex >= 0)
            focusOrder.append({spec.tabIndex, widget});
        byName.insert(widget->objectName(), widget);
        // The option buttons of one container form one group. Qt's own
        // exclusivity would take in the buttons of nested containers too (a
        // frame's options inside the window's), so that a click on the
        // selected button could clear it, or a pick clear the other group.
        if (spec.kind == ControlKind::OptionButton) {
            QButtonGroup *&group = optionGroups[parent];
            if (!group)
                group = new QButtonGroup(parent);
            group->addButton(qobject_cast<QRadioButton *>(widget));
        }
        if (!isLightweight(spec.kind))
            windowed.append(widget);
    }
    // Windowed controls lie above the lightweight ones of their container.
    for (QWidget *widget : std::as_const(windowed))
        widget->raise();
    std::stable_sort(focusOrder.begin(), focusOrder.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    for (qsizetype i = 1; i < focusOrder.size(); ++i)
        QWidget::setTabOrder(focusOrder[i - 1].second, focusOrder[i].second);
    return byName;
}
