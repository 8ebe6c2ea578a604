#pragma once

#include "app/FormWindow.h"

#include <QStringList>

class QTimer;

// The start-up window: the facts of the flat, the quote button, the news
// panel and the vendor links. Covered by a loading pane until the start-up
// timer fires once, 2000 ms after load.
class MainWindow : public FormWindow
{
    Q_OBJECT
public:
    enum class Start
    {
        Full,
        LayoutOnly
    };
    explicit MainWindow(Start start = Start::Full);

    // Start-up tick: news, provinces, then the pane goes for good.
    void tick();

    // Region selectors.
    void fillprovince();
    void fillcity();
    void filldistrict();
    const QStringList &cityarray() const { return m_cityarray; }

    // The quote button and the shell hand-over shared by the links.
    void submitQuote();
    void openurl(const QString &url);

    // News panel.
    void getnews();
    void openNews(int index);
    const QStringList &newsurl() const { return m_newsurl; }

private:
    void connectRegionSelectors();
    void connectRoomFields();
    void connectSubmission();
    void connectNewsAndLinks();

    QTimer *m_timer = nullptr;
    QStringList m_cityarray;
    QStringList m_newsurl;
};
