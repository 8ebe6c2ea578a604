#pragma once

#include "controls/FormWindow.h"
#include "platform/DesktopServices.h"

#include <QStringList>

#include <array>

class Browser;
class CaptionLabel;
class PictureBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
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
        Full,      // start the timer and load the pages
        LayoutOnly // only lay the window out: no timer, no pages
    };
    // regionLine is the region line of city.txt that the province list is filled from.
    MainWindow(const DesktopServices &services, QString regionLine, Start start = Start::Full);

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
    // The controls the window works with, looked up once when it is built.
    struct Controls
    {
        QComboBox *city1, *city2, *city3;
        QComboBox *houseType, *bathrooms, *balconies; // Combo6, Combo4, Combo5
        // Area fields Text2 … Text7: living room, dining room, bedroom, kitchen, bathroom, balcony.
        QLineEdit *livingRoomArea, *diningRoomArea, *bedroomArea, *kitchenArea, *bathroomArea, *balconyArea;
        std::array<QRadioButton *, 5> styles;   // Option1 … Option5
        std::array<QRadioButton *, 3> grades;   // Option6 … Option8
        QLineEdit *phone;                       // Text8
        QLineEdit *formOfAddress;               // chenghutext
        QLabel *caption;                        // Label1
        PictureBox *quoteButton;                // Image5
        std::array<PictureBox *, 4> chatBadges; // Image6 … Image9
        CaptionLabel *homeLink;                 // Label21
        std::array<CaptionLabel *, 10> news;    // news(0) … news(9)
        QWidget *loadingPane;                   // WebBrowser2
        Browser *loadingBrowser;                // WebBrowser2
        Browser *newsBrowser;                   // WebBrowser1
    };
    Controls lookUpControls() const;

    void connectRegionSelectors();
    void connectRoomFields();
    void connectSubmission();
    void connectNewsAndLinks();

    const Controls m_ui;
    ShellOpener &m_shell;
    MessagePresenter &m_messages;
    const QString m_regionLine;
    QTimer *m_timer = nullptr;
    QStringList m_cityarray;
    QStringList m_newsurl;
};
