#pragma once

#include "platform/core/DomElement.h"

#include <functional>
#include <memory>
#include <optional>

class QWidget;

// An embedded web browser: a widget that navigates to an address and offers a
// snapshot of the elements of the document it holds at the moment.
class Browser
{
public:
    virtual ~Browser() = default;
    virtual QWidget *widget() = 0;
    virtual void navigate(const QString &url) = 0;
    // The document's elements in document order; nullopt when no document is loaded.
    virtual std::optional<DomSnapshot> document() const = 0;
    // Lays cover over widget(), as its child, until the first page the browser
    // is sent to has loaded (for good where nothing loads); then deletes it.
    virtual void coverUntilLoaded(QWidget *cover) = 0;
    // The page will not be shown or read again: let the engine free it.
    virtual void discard() = 0;
};

// Makes the browser of a window's WebBrowser control inside parent.
using BrowserFactory = std::function<std::unique_ptr<Browser>(QWidget *parent)>;
