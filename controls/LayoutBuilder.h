#pragma once

#include "controls/ControlSpec.h"

#include <QHash>
#include <QString>
#include <QWidget>

#include <functional>
#include <span>

// Builds the controls of a layout table inside a root widget. Each widget gets
// its designer name as objectName ("news(3)" inside a control array), its
// twips rectangle, text, list items, state, accessible name and the key of
// its click; windowed controls are stacked above labels, images and lines of
// the same container, and keyboard focus follows the tab indexes.
namespace LayoutBuilder {
// Makes the widget of a WebBrowser row inside parent; a table with such a row needs one.
using BrowserMaker = std::function<QWidget *(const ControlSpec &row, QWidget *parent)>;

QString objectNameOf(const ControlSpec &row);
// Returns the built controls by object name.
QHash<QString, QWidget *> build(QWidget *root, std::span<const ControlSpec> table,
                                const BrowserMaker &browsers = {});

[[noreturn]] void missingControl(const QString &name, const char *kind);
// The built control of that name and kind. A misspelt name or a wrong kind
// stops the program as soon as the control's window is built.
template <typename T> T *require(const QHash<QString, QWidget *> &controls, const QString &name)
{
    auto *typed = qobject_cast<T *>(controls.value(name));
    if (!typed)
        missingControl(name, T::staticMetaObject.className());
    return typed;
}
} // namespace LayoutBuilder
