#include "controls/LayoutBuilder.h"

#include "controls/Artwork.h"
#include "controls/CaptionLabel.h"
#include "controls/ControlGeometry.h"
#include "controls/LabelledCombo.h"
#include "controls/NavigationBar.h"
#include "controls/PictureBox.h"
#include "controls/ToolsMenu.h"

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

QWidget *createWidget(const ControlSpec &row, QWidget *parent, const LayoutBuilder::BrowserMaker &browsers)
{
    switch (row.kind) {
    case ControlKind::PictureBox:
    case ControlKind::Image:
        return new PictureBox(parent); // its picture comes once all controls are made
    case ControlKind::Label: {
        auto *label = new CaptionLabel(parent);
        label->setText(textOf(row.text));
        return label;
    }
    case ControlKind::TextBox: {
        auto *edit = new QLineEdit(parent);
        edit->setText(textOf(row.text));
        return edit;
    }
    case ControlKind::ComboBox: {
        auto *combo = new QComboBox(parent);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        if (row.items)
            combo->addItems(QString::fromUtf16(row.items).split(u'\n'));
        combo->setCurrentIndex(-1);
        combo->setEditText(textOf(row.text));
        return combo;
    }
    case ControlKind::OptionButton:
        return new QRadioButton(textOf(row.text), parent);
    case ControlKind::Frame:
        return new QGroupBox(textOf(row.text), parent);
    case ControlKind::Line: {
        auto *line = new QFrame(parent);
        line->setFrameShape(QFrame::VLine);
        line->setFrameShadow(QFrame::Plain);
        return line;
    }
    case ControlKind::WebBrowser:
        Q_ASSERT_X(browsers, row.name, "a table with a browser needs a browser maker");
        return browsers(row, parent);
    case ControlKind::NavigationBar:
        return new NavigationBar(parent);
    case ControlKind::ToolsMenu:
        return new ToolsMenu(parent);
    }
    return nullptr;
}
} // namespace

void LayoutBuilder::missingControl(const QString &name, const char *kind)
{
    qFatal("No control %s of kind %s", qPrintable(name), kind);
}

QString LayoutBuilder::objectNameOf(const ControlSpec &row)
{
    const QString name = QString::fromLatin1(row.name);
    return row.index < 0 ? name : name + u'(' + QString::number(row.index) + u')';
}

QHash<QString, QWidget *> LayoutBuilder::build(QWidget *root, std::span<const ControlSpec> table,
                                               const BrowserMaker &browsers)
{
    LabelledCombo::install();
    QHash<QString, QWidget *> byName;
    QHash<QWidget *, QButtonGroup *> optionGroups;
    QList<QWidget *> windowed;
    QList<std::pair<int, QWidget *>> focusOrder;
    // The pictures are drawn on another thread while the controls are made,
    // and shown once all are made.
    QStringList resources;
    for (const ControlSpec &row : table) {
        if (row.picture)
            resources.append(QString::fromLatin1(row.picture));
    }
    Artwork::prefetch(resources, root->devicePixelRatioF());
    QList<std::pair<PictureBox *, QString>> pictures;
    for (const ControlSpec &row : table) {
        QWidget *parent = row.container ? byName.value(QString::fromLatin1(row.container)) : root;
        Q_ASSERT_X(parent, row.name, "container must come before its controls");
        QWidget *widget = createWidget(row, parent, browsers);
        widget->setObjectName(objectNameOf(row));
        widget->setProperty("designerName", QString::fromLatin1(row.name));
        widget->setProperty("controlIndex", row.index);
        widget->setProperty("controlKind", QString::fromLatin1(controlKindName(row.kind)));
        widget->setProperty("tabIndex", row.tabIndex);
        ControlGeometry::place(widget, QRect(row.left, row.top, row.width, row.height));
        if (row.accessibleName)
            widget->setAccessibleName(QString::fromUtf16(row.accessibleName));
        if (row.key) {
            auto *clickable = qobject_cast<ClickableLabel *>(widget);
            Q_ASSERT_X(clickable, row.name, "only pictures and labels take a key");
            clickable->setShortcut(
                QKeySequence::fromString(QString::fromLatin1(row.key), QKeySequence::PortableText));
        }
        widget->setEnabled(row.state != ControlState::Disabled);
        widget->setVisible(row.state != ControlState::Hidden);
        if (widget->focusPolicy() != Qt::NoFocus && row.tabIndex >= 0)
            focusOrder.append({row.tabIndex, widget});
        byName.insert(widget->objectName(), widget);
        if (auto *box = qobject_cast<PictureBox *>(widget); box && row.picture)
            pictures.append({box, QString::fromLatin1(row.picture)});
        // The option buttons of one container form one group. Qt's own
        // exclusivity would take in the buttons of nested containers too (a
        // frame's options inside the window's), so that a click on the
        // selected button could clear it, or a pick clear the other group.
        if (row.kind == ControlKind::OptionButton) {
            QButtonGroup *&group = optionGroups[parent];
            if (!group)
                group = new QButtonGroup(parent);
            group->addButton(qobject_cast<QRadioButton *>(widget));
        }
        if (!isLightweight(row.kind))
            windowed.append(widget);
    }
    for (const auto &[box, resource] : std::as_const(pictures))
        box->setPicture(resource);
    // Windowed controls lie above the lightweight ones of their container.
    for (QWidget *widget : std::as_const(windowed))
        widget->raise();
    std::stable_sort(focusOrder.begin(), focusOrder.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    for (qsizetype i = 1; i < focusOrder.size(); ++i)
        QWidget::setTabOrder(focusOrder[i - 1].second, focusOrder[i].second);
    return byName;
}
