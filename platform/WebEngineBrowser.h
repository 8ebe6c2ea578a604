#pragma once

#include "platform/Browser.h"

#include <QPointer>

class QWebEngineView;

// The embedded browser on Qt WebEngine. The engine reads pages
// asynchronously, so the element snapshot is refreshed while a page loads and
// once it has loaded; document() returns the latest one at once.
class WebEngineBrowser : public Browser
{
public:
    explicit WebEngineBrowser(QWidget *parent);
    ~WebEngineBrowser() override;

    QWidget *widget() override;
    void navigate(const QString &url) override;
    std::optional<DomSnapshot> document() const override;

private:
    void refreshSnapshot();

    QPointer<QWebEngineView> m_view;
    std::optional<DomSnapshot> m_snapshot;
};
