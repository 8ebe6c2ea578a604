#pragma once

#include "platform/Browser.h"

#include <QPointer>
#include <QString>

#include <memory>

// The embedded browser, with the browser engine loaded on first use. The
// engine's libraries take tens of ms to load and set up, before the first
// frame if the program linked them; this browser is a plain widget until it
// is first sent to a page, then loads the engine module (rivav_webengine)
// and puts the engine's browser inside itself.
//
// Where the module cannot be loaded the browser stays blank, shows no page
// and holds no document; a warning names the fault.
class DeferredWebBrowser : public Browser
{
public:
    DeferredWebBrowser(QWidget *parent, QString modulePath);
    ~DeferredWebBrowser() override;

    QWidget *widget() override;
    void navigate(const QString &url) override;
    std::optional<DomSnapshot> document() const override;
    void coverUntilLoaded(QWidget *cover) override;
    void discard() override;

private:
    bool startEngine();

    QPointer<QWidget> m_widget;
    QString m_modulePath;
    QPointer<QWidget> m_cover;
    std::unique_ptr<Browser> m_engine;
};

// Makes browsers whose engine is the module at modulePath (a file name
// without "lib" or suffix is completed the platform's way).
BrowserFactory deferredWebBrowsers(const QString &modulePath);
