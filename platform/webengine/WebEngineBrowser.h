#pragma once

#include "platform/Browser.h"

#include <QPointer>
#include <QTimer>
#include <QtGlobal>

#include <memory>

class QWebEnginePage;
class QWebEngineProfile;
class QWebEngineView;

// The embedded browser on Qt WebEngine. The engine reads pages
// asynchronously, so the browser keeps a snapshot of the document's elements
// that follows the page: it is refreshed while the page loads, once it has
// loaded and whenever its DOM changes. document() returns the latest snapshot
// at once; nullopt until a navigated page has delivered one.
//
// Every page stays in its view: links that ask for a new window open in the
// same view, and addresses the engine cannot show are never handed to the
// desktop.
//
// Making a browser does not start the engine, which holds up the user
// interface thread for a few hundred ms: its page is made with the first
// navigate().
class WebEngineBrowser : public Browser
{
public:
    explicit WebEngineBrowser(QWidget *parent);
    ~WebEngineBrowser() override;

    QWidget *widget() override;
    void navigate(const QString &url) override;
    std::optional<DomSnapshot> document() const override;
    void discard() override;
    void coverUntilLoaded(QWidget *cover) override;

    // The one profile all embedded browsers share: off the record, so nothing
    // is written to disk; it asks sites for Chinese pages.
    static QWebEngineProfile *profile();

private:
    void makePage();
    int changeDelay() const;
    void requestSnapshot(int delayMs);
    void takeSnapshot();
    void snapshotTaken(const QVariant &result);

    QPointer<QWebEngineView> m_view;
    QPointer<QWebEnginePage> m_page;
    QPointer<QWidget> m_cover;
    std::optional<DomSnapshot> m_snapshot;
    bool m_loading = false;
    // At most one snapshot script runs at a time; requests that arrive
    // meanwhile ask for one more after it, with the shortest delay asked for.
    bool m_inFlight = false;
    int m_againDelayMs = -1;
    QTimer m_delay;
    // Script results may arrive while the page is being destroyed; they only
    // reach this object while it lives.
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
};

// What the program looks up when it loads this module: a new browser inside parent.
extern "C" Q_DECL_EXPORT Browser *rivavMakeWebEngineBrowser(QWidget *parent);
