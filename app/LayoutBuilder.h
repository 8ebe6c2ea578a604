#pragma once

#include "app/ControlSpec.h"

#include <QHash>
#include <QString>

#include <functional>
#include <memory>
#include <span>

class Browser;
class QWidget;

// Builds the controls of a layout table inside a root widget. Each widget gets
// its designer name as objectName ("news(3)" inside a control array), its
// twips rectangle, text, list items, state and accessible name; windowed
// controls are stacked above labels, images and lines of the same container,
// and keyboard focus follows the tab indexes.
namespace LayoutBuilder {
using BrowserSink = std::function<void(const ControlSpec &, std::unique_ptr<Browser>)>;

QString objectNameOf(const ControlSpec &row);
// Returns the built controls by object name.
QHash<QString, QWidget *> build(QWidget *root, std::span<const ControlSpec> table,
                                const BrowserSink &browsers = {});
} // namespace LayoutBuilder
