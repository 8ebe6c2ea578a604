// The desktop program against the running site: its embedded browsers load
// the site's pages through the real engine, and the URLs it hands to the
// shell are loaded from the site. The program keeps its built-in hosts; an
// interceptor on the browsers' profile sends those hosts to the site's free
// test port.

#include "ListeningPort.h"
#include "app/EngineEnvironment.h"
#include "app/ProgramWindows.h"
#include "app/WindowSet.h"
#include "app/core/AppTexts.h"
#include "controls/CaptionLabel.h"
#include "controls/NavigationBar.h"
#include "controls/PictureBox.h"
#include "platform/RecordingMessages.h"
#include "platform/RecordingShell.h"
#include "platform/core/TextFileInput.h"
#include "platform/webengine/WebEngineBrowser.h"
#include "quote/MainWindow.h"

#include <httplib.h>

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineView>

#include <csignal>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// Sends requests for the program's vendor hosts to the test's site instead.
class SiteRedirect : public QWebEngineUrlRequestInterceptor
{
public:
    QStringList hosts;
    int port = 0;

    void interceptRequest(QWebEngineUrlRequestInfo &info) override
    {
        QUrl url = info.requestUrl();
        if (url.scheme() != "http"_L1 || !hosts.contains(url.authority()))
            return;
        url.setHost(u"127.0.0.1"_s);
        url.setPort(port);
        info.redirect(url);
    }
};

struct Loaded
{
    bool ok = false;
    QString title;
    QString script; // result of the script run on the loaded page
};

// Loads a URL in a page of the program's browser profile and runs a script on it.
Loaded loadInEngine(const QString &url, const QString &script = u"document.body.innerText"_s)
{
    Loaded loaded;
    QWebEnginePage page(WebEngineBrowser::profile());
    QSignalSpy finished(&page, &QWebEnginePage::loadFinished);
    page.load(QUrl(url));
    if (!finished.wait(20000))
        return loaded;
    loaded.ok = finished.first().first().toBool();
    loaded.title = page.title();
    bool done = false;
    page.runJavaScript(script, [&](const QVariant &result) {
        loaded.script = result.toString();
        done = true;
    });
    if (!QTest::qWaitFor([&] { return done; }, 10000))
        loaded.ok = false;
    return loaded;
}

std::optional<DomElement> input(const std::optional<DomSnapshot> &document, const QString &value)
{
    if (document) {
        for (const DomElement &e : *document) {
            if (e.tagName == "INPUT"_L1 && e.value == value)
                return e;
        }
    }
    return std::nullopt;
}

} // namespace

class TestSiteE2e : public QObject
{
    Q_OBJECT

public:
    // The engine set up as the program sets it up.
    static void initMain() { prepareEngineEnvironment(); }

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void headlinesComeFromTheSite();
    void quoteIsAnsweredBySite_data();
    void quoteIsAnsweredBySite();
    void programAndSiteAgree_data();
    void programAndSiteAgree();
    void instructionsPage();
    void linksAndNavigationPages_data();
    void linksAndNavigationPages();

private:
    QComboBox *combo(const QString &name) const { return m_main->control<QComboBox>(name); }
    QLineEdit *edit(const QString &name) const { return m_main->control<QLineEdit>(name); }
    void pick(const QString &comboName, const QString &entry);
    QString clickQuote();
    std::string pathOnSite(const QString &url) const;

    QTemporaryDir m_dir;
    QProcess m_site;
    int m_port = 0;
    SiteRedirect m_redirect;
    RecordingShell m_shell;
    RecordingMessages m_messages;
    std::unique_ptr<ProgramWindows> m_windows;
    MainWindow *m_main = nullptr;
};

void TestSiteE2e::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_site.setStandardOutputFile(m_dir.filePath(u"out.log"_s));
    m_site.setStandardErrorFile(m_dir.filePath(u"err.log"_s));
    m_site.start(QString::fromUtf8(SITE_BINARY),
                 {u"--address"_s, u"127.0.0.1"_s, u"--port"_s, u"0"_s, u"--pages"_s,
                  QString::fromUtf8(SITE_PAGES), u"--prices"_s, QString::fromUtf8(SITE_FIXTURE_PRICES)});
    QVERIFY(m_site.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT((m_port = listeningPortIn(m_dir.filePath(u"out.log"_s))) > 0, 10000);

    for (const QString &url :
         {AppTexts::webUrl(QString()), AppTexts::softUrl(QString()), AppTexts::chatLink()})
        m_redirect.hosts.append(QUrl(url).authority());
    m_redirect.port = m_port;
    WebEngineBrowser::profile()->setUrlRequestInterceptor(&m_redirect);

    // The region file that ships beside the program.
    const FirstLine regions = readFirstLineGbk(QString::fromUtf8(RIVAV_CITY_TXT));
    QCOMPARE(regions.status, FirstLine::Status::Ok);
    // The full start: the hidden news browser loads the news page at once.
    const DesktopServices services{
        m_shell, m_messages, [](QWidget *parent) { return std::make_unique<WebEngineBrowser>(parent); }};
    m_windows = std::make_unique<ProgramWindows>(services, regions.text);
    m_windows->setEndProcess([] {});
    m_main = qobject_cast<MainWindow *>(m_windows->window(WindowId::quote));
    QVERIFY(m_main);
    m_main->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_main));
}

void TestSiteE2e::cleanupTestCase()
{
    m_windows.reset();
    WebEngineBrowser::profile()->setUrlRequestInterceptor(nullptr);
    QVERIFY2(m_site.state() == QProcess::Running, "rivav-site is not running");
    m_site.terminate();
    QVERIFY(m_site.waitForFinished(10000));
    QCOMPARE(m_site.exitCode(), 0);
}

void TestSiteE2e::pick(const QString &comboName, const QString &entry)
{
    QComboBox *box = combo(comboName);
    const int index = box->findText(entry, Qt::MatchExactly);
    QVERIFY2(index >= 0, qPrintable(entry));
    box->setCurrentIndex(index - 1);
    QTest::keyClick(box, Qt::Key_Down);
    QCOMPARE(box->currentText(), entry);
}

QString TestSiteE2e::clickQuote()
{
    const qsizetype before = m_shell.opened.size();
    QTest::mouseClick(m_main->control(u"Image5"_s), Qt::LeftButton, {}, QPoint(10, 10));
    return m_shell.opened.size() > before ? m_shell.opened.last() : QString();
}

// The path and query of a URL the program built, for a request to the test's site.
std::string TestSiteE2e::pathOnSite(const QString &url) const
{
    const QUrl parsed(url);
    QString target = parsed.path(QUrl::FullyEncoded);
    if (parsed.hasQuery())
        target += u'?' + parsed.query(QUrl::FullyEncoded);
    return target.toStdString();
}

void TestSiteE2e::headlinesComeFromTheSite()
{
    // The program reads the page once at its start-up tick; wait for the
    // page, then read it as the tick does.
    Browser *news = m_main->browser(u"WebBrowser1"_s);
    QTRY_VERIFY_WITH_TIMEOUT(input(news->document(), u"已结束"_s), 30000);
    m_main->tick();
    const QString origin = u"http://127.0.0.1:%1"_s.arg(m_port);
    httplib::Client client("127.0.0.1", m_port);
    for (int i = 0; i < 10; ++i) {
        const QString headline = m_main->control<CaptionLabel>(u"news(%1)"_s.arg(i))->text();
        QVERIFY2(headline != u"Label21"_s, qPrintable(u"label %1 not filled"_s.arg(i)));
        QCOMPARE(m_main->newsurl().at(i), origin + u"/news/%1.html"_s.arg(i + 1));
    }
    // A click on a headline hands its link to the shell; the site has the article.
    QTest::mouseClick(m_main->control(u"news(2)"_s), Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(m_shell.opened.last(), origin + u"/news/3.html"_s);
    const auto article = client.Get(pathOnSite(m_shell.opened.last()));
    QVERIFY(article);
    QCOMPARE(article->status, 200);
    const QString headline = m_main->control<CaptionLabel>(u"news(2)"_s)->text();
    QVERIFY(QString::fromStdString(article->body).contains(u"<h1>"_s + headline + u"</h1>"_s));
}

void TestSiteE2e::quoteIsAnsweredBySite_data()
{
    QTest::addColumn<QStringList>("region"); // the picks in city1, city2 and city3
    QTest::addColumn<QStringList>("sent");   // pieces of the URL: codes, and the names in GBK
    QTest::addColumn<QString>("shown");      // the address on the quote page
    QTest::addColumn<QString>("total");      // fixture prices; 广东省 has the factor 0.8
    QTest::newRow("district")
        << QStringList{u"110000|北京市"_s, u"110100|市辖区"_s, u"110101|东城区"_s}
        << QStringList{u"&cit1=110000&cit2=110100&cit3=110101&"_s,
                       u"&sumcityname=%B1%B1%BE%A9%CA%D0%CA%D0%CF%BD%C7%F8%B6%AB%B3%C7%C7%F8&"_s}
        << u"北京市市辖区东城区"_s << u"151,074.00"_s;
    // A city without counties lists its towns as districts.
    QTest::newRow("town")
        << QStringList{u"440000|广东省"_s, u"441900|东莞市"_s, u"441924|虎门镇"_s}
        << QStringList{u"&cit1=440000&cit2=441900&cit3=441924&"_s,
                       u"&sumcityname=%B9%E3%B6%AB%CA%A1%B6%AB%DD%B8%CA%D0%BB%A2%C3%C5%D5%F2&"_s}
        << u"广东省东莞市虎门镇"_s << u"120,859.20"_s;
}

void TestSiteE2e::quoteIsAnsweredBySite()
{
    QFETCH(QStringList, region);
    QFETCH(QStringList, sent);
    QFETCH(QString, shown);
    QFETCH(QString, total);
    pick(u"city1"_s, region[0]);
    pick(u"city2"_s, region[1]);
    pick(u"city3"_s, region[2]);
    pick(u"Combo6"_s, u"三房二厅"_s);
    pick(u"Combo4"_s, u"二间"_s);
    pick(u"Combo5"_s, u"一间"_s);
    const std::pair<const char16_t *, const char16_t *> areas[] = {{u"Text2", u"30"}, {u"Text3", u"12.5"},
                                                                   {u"Text4", u"40"}, {u"Text5", u"8"},
                                                                   {u"Text6", u"6"},  {u"Text7", u"5"}};
    for (const auto &[name, value] : areas)
        edit(QString::fromUtf16(name))->setText(QString::fromUtf16(value));
    m_main->control<QRadioButton>(u"Option3"_s)->setChecked(true);
    m_main->control<QRadioButton>(u"Option7"_s)->setChecked(true);
    edit(u"Text8"_s)->setText(u"13812345678"_s);
    edit(u"chenghutext"_s)->setText(u"王"_s);

    const QString url = clickQuote();
    QVERIFY2(m_messages.shown.isEmpty(), qPrintable(m_messages.shown.value(0)));
    QVERIFY(url.startsWith(AppTexts::webUrl(u"/AutoPrice.action?"_s)));
    for (const QString &piece : sent)
        QVERIFY2(url.contains(piece), qPrintable(piece + u" in "_s + url));

    // The URL as handed over, through plain HTTP.
    httplib::Client client("127.0.0.1", m_port);
    client.set_url_encode(false);
    const auto res = client.Get(pathOnSite(url));
    QVERIFY(res);
    QCOMPARE(res->status, 200);
    QVERIFY(res->body.find("id=\"total\">" + total.toStdString() + "<") != std::string::npos);

    // And through the browser engine, as the user's browser would show it.
    const Loaded page = loadInEngine(url, u"document.getElementById('total').textContent + '|' + "
                                          "document.querySelector('.facts').innerText"_s);
    QVERIFY(page.ok);
    QCOMPARE(page.title, u"装修报价估算单 - 筑点网"_s);
    QVERIFY2(page.script.startsWith(total + u"|"_s), qPrintable(page.script));
    QVERIFY2(page.script.contains(u"王先生/女士"_s), qPrintable(page.script));
    QVERIFY2(page.script.contains(shown), qPrintable(page.script));
    QVERIFY(page.script.contains(u"138****5678"_s));
}

void TestSiteE2e::programAndSiteAgree_data()
{
    // A field and what is typed; the program's message (empty: it sends the
    // request, and the site quotes it), and what the quote shows.
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QByteArray>("shown");
    QTest::newRow("area past the limit")
        << u"Text4"_s << u"20000"_s << u"请录入正确的：卧房面积"_s << QByteArray();
    QTest::newRow("area at the limit") << u"Text4"_s << u"10000"_s << QString() << QByteArray(">10000<");
    QTest::newRow("form of address past the limit")
        << u"chenghutext"_s << QString(21, u'王') << u"请录入正确的：称呼"_s << QByteArray();
    QTest::newRow("form of address at the limit")
        << u"chenghutext"_s << QString(20, u'王') << QString() << QString(20, u'王').toUtf8() + "先生/女士";
    QTest::newRow("honorific as typed")
        << u"chenghutext"_s << u"王先生"_s << QString() << QByteArray("尊敬的王先生，");
}

void TestSiteE2e::programAndSiteAgree()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    QFETCH(QByteArray, shown);
    edit(u"Text8"_s)->setText(u"13812345678"_s); // emptied by the last submission
    edit(u"Text4"_s)->setText(u"20"_s);
    edit(u"chenghutext"_s)->setText(u"王"_s);
    edit(field)->setText(typed);
    m_messages.shown.clear();
    const QString url = clickQuote();
    QCOMPARE(m_messages.shown.value(0), message);
    QCOMPARE(url.isEmpty(), !message.isEmpty());
    if (url.isEmpty())
        return;
    httplib::Client client("127.0.0.1", m_port);
    client.set_url_encode(false);
    const auto res = client.Get(pathOnSite(url));
    QVERIFY(res);
    QCOMPARE(res->status, 200);
    QVERIFY2(res->body.find(shown.toStdString()) != std::string::npos, shown.constData());
}

void TestSiteE2e::instructionsPage()
{
    // Navigation button 5 shows the instructions window; its browser loads
    // the page from the software host.
    QTest::mouseClick(m_main->navigationBar()->findChild<QWidget *>(u"Image4"_s), Qt::LeftButton, {},
                      QPoint(60, 20));
    FormWindow *help = m_windows->window(WindowId::instructions);
    QTRY_VERIFY_WITH_TIMEOUT(help->isVisible(), 5000);
    auto *view = qobject_cast<QWebEngineView *>(help->browser(u"WebBrowser2"_s)->widget());
    QVERIFY(view);
    QTRY_COMPARE_WITH_TIMEOUT(view->title(), u"筑点网rivav 使用说明"_s, 30000);
    QCOMPARE(view->url().path(), u"/softload/explain.html"_s);
    // Back to the main window for the remaining steps.
    QTest::mouseClick(help->navigationBar()->findChild<QWidget *>(u"Image0"_s), Qt::LeftButton, {},
                      QPoint(60, 20));
    QTRY_VERIFY_WITH_TIMEOUT(m_main->isVisible(), 5000);
}

void TestSiteE2e::linksAndNavigationPages_data()
{
    QTest::addColumn<QString>("control"); // on the main window, or "bar:" a button of its navigation bar
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::newRow("home page") << u"Label21"_s << u"首页 - 筑点网"_s << u"装修花多少钱"_s;
    QTest::newRow("chat button") << u"Image7"_s << u"网页会话 - 技术支持"_s << u"800061830"_s;
    QTest::newRow("renderings") << u"bar:Image2"_s << u"装修效果图 - 筑点网"_s << u"现代简约"_s;
    QTest::newRow("member prices") << u"bar:Image3"_s << u"会员精确报价 - 筑点网"_s << u"会员价"_s;
}

void TestSiteE2e::linksAndNavigationPages()
{
    QFETCH(QString, control);
    QFETCH(QString, title);
    QFETCH(QString, text);
    QWidget *target = control.startsWith(u"bar:"_s)
                          ? m_main->navigationBar()->findChild<QWidget *>(control.mid(4))
                          : m_main->control(control);
    QVERIFY(target);
    const qsizetype before = m_shell.opened.size();
    QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(m_shell.opened.size(), before + 1);
    const Loaded page = loadInEngine(m_shell.opened.last());
    QVERIFY(page.ok);
    QCOMPARE(page.title, title);
    QVERIFY2(page.script.contains(text), qPrintable(page.script.left(300)));
}

QTEST_MAIN(TestSiteE2e)
#include "test_site_e2e.moc"
