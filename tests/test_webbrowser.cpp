#include "app/EngineEnvironment.h"
#include "controls/CaptionLabel.h"
#include "fakes/LocalPageServer.h"
#include "platform/DeferredWebBrowser.h"
#include "platform/RecordingMessages.h"
#include "platform/RecordingShell.h"
#include "platform/webengine/WebEngineBrowser.h"
#include "quote/MainWindow.h"

#include <QDesktopServices>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineView>

using namespace Qt::StringLiterals;

namespace {
// The INPUT named name in a document, if any.
std::optional<DomElement> input(const std::optional<DomSnapshot> &document, const QString &name)
{
    if (document) {
        for (const DomElement &e : *document) {
            if (e.tagName == "INPUT"_L1 && e.name == name)
                return e;
        }
    }
    return std::nullopt;
}

QWebEngineView *viewOf(Browser *browser)
{
    return qobject_cast<QWebEngineView *>(browser->widget());
}

QStringList newsTexts(const MainWindow &w)
{
    QStringList texts;
    for (int i = 0; i < 10; ++i)
        texts.append(w.control<CaptionLabel>(u"news(%1)"_s.arg(i))->text());
    return texts;
}

const QByteArray head = "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>t</title>"
                        "<style>body{margin:0} a{display:block;height:100px}</style></head><body>";
} // namespace

// Receives what would have gone to the desktop for a test scheme.
class DesktopRecorder : public QObject
{
    Q_OBJECT
public:
    Q_INVOKABLE void open(const QUrl &url) { opened.append(url.toString()); }
    QStringList opened;
};

class TestWebBrowser : public QObject
{
    Q_OBJECT

public:
    // The engine set up as the program sets it up.
    // The program's message filter, with a recorder for what it passes on.
    static inline QtMessageHandler s_filter = nullptr;
    static inline QStringList s_passedOn;
    static void initMain()
    {
        qInstallMessageHandler(
            [](QtMsgType, const QMessageLogContext &, const QString &text) { s_passedOn.append(text); });
        prepareEngineEnvironment();
        s_filter = qInstallMessageHandler(nullptr);
        qInstallMessageHandler(s_filter);
    }

private:
    LocalPageServer m_server;
    RecordingShell m_shell;
    RecordingMessages m_messages;

    DesktopServices webServices()
    {
        return {m_shell, m_messages,
                [](QWidget *parent) { return std::make_unique<WebEngineBrowser>(parent); }};
    }

private Q_SLOTS:
    void cleanupTestCase() { m_server.release(); }

    // Drawing in software, the engine's notices about OpenGL and Vulkan are
    // dropped; every other message gets through.
    void onlyGraphicsNoticesAreDropped_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("passedOn");
        QTest::newRow("GPU vendor") << int(QtWarningMsg) << u"Unable to detect GPU vendor."_s << false;
        QTest::newRow("Vulkan") << int(QtWarningMsg) << u"Failed to create Vulkan instance: -9"_s << false;
        QTest::newRow("no graphics backend")
            << int(QtWarningMsg) << u"No suitable graphics backend found"_s << false;
        QTest::newRow("another warning") << int(QtWarningMsg) << u"QFont: point size <= 0"_s << true;
        QTest::newRow("the notice, not as a warning")
            << int(QtCriticalMsg) << u"Unable to detect GPU vendor."_s << true;
    }
    void onlyGraphicsNoticesAreDropped()
    {
        QFETCH(int, type);
        QFETCH(QString, text);
        QFETCH(bool, passedOn);
        QVERIFY(s_filter);
        s_passedOn.clear();
        // The category of a plain qWarning(), as the engine's own are.
        s_filter(QtMsgType(type), QMessageLogContext(nullptr, 0, nullptr, "default"), text);
        QCOMPARE(s_passedOn.contains(text), passedOn);
    }

    void getnewsReadsTheLoadedPage()
    {
        m_server.setPage(u"/softnews.html"_s, head + R"(
<div name="news1">不是输入框</div>
<input type="hidden" NAME="NEWS1" value="装修第一条" mysrc="http://127.0.0.1/n/1">
<input type="text" name="news2" value="旧值" mysrc="http://127.0.0.1/n/2">
<script>document.getElementsByName('news2')[0].value = '第二条 <b>不粗</b>';</script>
<input type="hidden" name="news3" value="第三条">
<input type="hidden" name="end" value="已结束">
<input type="hidden" name="news4" value="结束之后">
</body></html>)");
        MainWindow w(webServices(), QString(), MainWindow::Start::LayoutOnly);
        Browser *news = w.browser(u"WebBrowser1"_s);
        QSignalSpy finished(viewOf(news), &QWebEngineView::loadFinished);
        news->navigate(m_server.url(u"/softnews.html"_s));
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 10000);
        QCOMPARE(finished.first().first().toBool(), true);
        // The snapshot follows the finished page within moments.
        QTRY_VERIFY_WITH_TIMEOUT(input(news->document(), u"end"_s), 1000);
        QCOMPARE(input(news->document(), u"news2"_s)->value, u"第二条 <b>不粗</b>"_s);

        w.getnews();
        QStringList expected{u"装修第一条"_s, u"第二条 <b>不粗</b>"_s, u"第三条"_s};
        while (expected.size() < 10)
            expected.append(u"Label21"_s);
        QCOMPARE(newsTexts(w), expected);
        QCOMPARE(w.newsurl().mid(0, 4),
                 (QStringList{u"http://127.0.0.1/n/1"_s, u"http://127.0.0.1/n/2"_s, QString(), QString()}));
    }

    void pageStillLoadingIsReadAsItStands()
    {
        // Ordinary literals: moc can take "//" in a one-line raw string for a comment.
        QByteArray first = head + "<input name='news1' value='先到' mysrc='http://127.0.0.1/n/1'>"
                                  "<input name='news2' value='也到'>";
        first += "<!--" + QByteArray(8192, 'x') + "-->";
        m_server.setHeldPage(u"/slow.html"_s, first,
                             "<input name='news3' value='迟到'><input value='已结束'></body></html>");
        MainWindow w(webServices(), QString(), MainWindow::Start::LayoutOnly);
        Browser *news = w.browser(u"WebBrowser1"_s);
        news->navigate(m_server.url(u"/slow.html"_s));
        QTRY_VERIFY_WITH_TIMEOUT(input(news->document(), u"news2"_s), 10000);

        QElapsedTimer clock;
        clock.start();
        w.getnews();
        QVERIFY2(clock.elapsed() < 100, "getnews must not wait for the page");
        QCOMPARE(newsTexts(w).mid(0, 3), (QStringList{u"先到"_s, u"也到"_s, u"Label21"_s}));

        m_server.release();
        QTRY_VERIFY_WITH_TIMEOUT(input(news->document(), u"news3"_s), 5000);
    }

    void domChangesAfterLoadAreSeen()
    {
        m_server.setPage(u"/late.html"_s, head + R"(<script>
setTimeout(function () {
  var e = document.createElement('input');
  e.name = 'news1';
  e.value = '后来';
  document.body.appendChild(e);
}, 300);
</script></body></html>)");
        QWidget hidden;
        WebEngineBrowser browser(&hidden);
        QSignalSpy finished(viewOf(&browser), &QWebEngineView::loadFinished);
        browser.navigate(m_server.url(u"/late.html"_s));
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(browser.document(), 1000);
        QVERIFY(!input(browser.document(), u"news1"_s));
        QTRY_VERIFY_WITH_TIMEOUT(input(browser.document(), u"news1"_s), 3000);
        QCOMPARE(input(browser.document(), u"news1"_s)->value, u"后来"_s);
        QCOMPARE(finished.size(), 1);
    }

    void noDocumentBeforeAPage()
    {
        m_server.setHeldPage(u"/silent.html"_s, {}, {});
        QWidget hidden;
        WebEngineBrowser browser(&hidden);
        QVERIFY(!browser.document());
        browser.navigate(m_server.url(u"/silent.html"_s));
        QTRY_VERIFY_WITH_TIMEOUT(m_server.requested.contains(u"/silent.html"_s), 10000);
        QTest::qWait(300);
        QVERIFY(!browser.document());
    }

    void missingEngineLeavesABlankBrowser()
    {
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"^The embedded browser is not available"_s));
        QWidget parent;
        DeferredWebBrowser browser(&parent, u"/nonexistent/rivav_webengine"_s);
        QPointer<QWidget> cover = new QWidget;
        browser.coverUntilLoaded(cover);
        browser.navigate(m_server.url(u"/silent.html"_s));
        browser.discard();
        QVERIFY(!browser.document());
        // Nothing loads, so the cover stays over the blank browser.
        QVERIFY(cover && cover->parentWidget() == browser.widget());
    }

    void linksStayInsideTheBrowser()
    {
        m_server.setPage(u"/links.html"_s, head + R"(
<a id="blank" target="_blank" href="/second.html">new window</a>
<a id="scheme" href="rivavtest:launch">other scheme</a>
</body></html>)");
        m_server.setPage(u"/second.html"_s, head + "<p>second</p></body></html>");
        DesktopRecorder desktop;
        QDesktopServices::setUrlHandler(u"rivavtest"_s, &desktop, "open");
        const auto unset = qScopeGuard([] { QDesktopServices::unsetUrlHandler(u"rivavtest"_s); });
        QString visibility; // outlives the page: a script's answer may still be on its way
        QWidget window;
        window.resize(400, 300);
        WebEngineBrowser browser(&window);
        QWebEngineView *view = viewOf(&browser);
        view->setGeometry(0, 0, 400, 300);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QSignalSpy finished(view, &QWebEngineView::loadFinished);
        browser.navigate(m_server.url(u"/links.html"_s));
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(view->focusProxy(), 5000);
        QTest::qWait(200); // let the first frame arrive before clicking

        // A link to an unknown scheme is not handed to the desktop.
        QTest::mouseClick(view->focusProxy(), Qt::LeftButton, {}, QPoint(200, 150));
        QTest::qWait(500);
        QVERIFY(desktop.opened.isEmpty());
        QCOMPARE(view->url().path(), u"/links.html"_s);

        // A link for a new window opens in this view.
        QTest::mouseClick(view->focusProxy(), Qt::LeftButton, {}, QPoint(200, 50));
        QTRY_COMPARE_WITH_TIMEOUT(view->url().path(), u"/second.html"_s, 5000);
        QVERIFY(m_shell.opened.isEmpty());

        // Hidden with its window, the page is told so and stops drawing.
        window.hide();
        const auto readVisibility = [&] {
            view->page()->runJavaScript(u"document.visibilityState"_s,
                                        [&](const QVariant &v) { visibility = v.toString(); });
        };
        QTRY_COMPARE_WITH_TIMEOUT((readVisibility(), visibility), u"hidden"_s, 5000);
    }

    void failedLoadsShowOwnPage_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected"); // text the view shows
        m_server.setPage(u"/withbody.html"_s, head + "<p>the server's own page</p></body></html>");
        QTest::newRow("refused") << QString() << u"暂时连接不到服务器"_s;
        QTest::newRow("404 without a body") << u"/missing.html"_s << u"服务器未能提供这个页面（HTTP 404）"_s;
        QTest::newRow("page loads") << u"/withbody.html"_s << u"the server's own page"_s;
    }

    void failedLoadsShowOwnPage()
    {
        QFETCH(QString, path);
        QFETCH(QString, expected);
        QString url = path.isEmpty() ? QString() : m_server.url(path);
        if (url.isEmpty()) {
            QTcpServer closed; // a port nobody listens on any more
            QVERIFY(closed.listen(QHostAddress::LocalHost));
            url = u"http://127.0.0.1:%1/softload/explain.html"_s.arg(closed.serverPort());
        }
        QString text; // outlives the page: callbacks still pending may arrive as it goes
        // The engine's own error page, in its language and look, is never shown.
        bool engineErrorPage = false;
        QWidget parent;
        WebEngineBrowser browser(&parent);
        browser.navigate(url);
        QWebEnginePage *page = viewOf(&browser)->page();
        connect(page, &QWebEnginePage::loadingChanged, page,
                [&](const QWebEngineLoadingInfo &info) { engineErrorPage |= info.isErrorPage(); });
        QTRY_VERIFY_WITH_TIMEOUT((viewOf(&browser)->page()->toPlainText([&](const QString &t) { text = t; }),
                                  text.contains(expected)),
                                 10000);
        QVERIFY(!engineErrorPage);
        QCOMPARE(text.contains(u"无法打开页面"_s), !path.endsWith(u"withbody.html"_s));
        QVERIFY(!input(browser.document(), u"news1"_s));
    }

    // A load given up for the next one shows the next one, no error.
    void replacedLoadIsNoFailure()
    {
        m_server.setHeldPage(u"/slow.html"_s, head, "</body></html>");
        m_server.setPage(u"/next.html"_s, head + "<p>next page</p></body></html>");
        QString text; // outlives the page, as above
        QWidget parent;
        WebEngineBrowser browser(&parent);
        browser.navigate(m_server.url(u"/slow.html"_s));
        QTRY_VERIFY_WITH_TIMEOUT(m_server.requested.contains(u"/slow.html"_s), 10000);
        browser.navigate(m_server.url(u"/next.html"_s));
        QTRY_VERIFY_WITH_TIMEOUT((viewOf(&browser)->page()->toPlainText([&](const QString &t) { text = t; }),
                                  text.contains(u"next page"_s)),
                                 10000);
        QTest::qWait(300);
        viewOf(&browser)->page()->toPlainText([&](const QString &t) { text = t; });
        QTRY_VERIFY_WITH_TIMEOUT(!text.isEmpty(), 2000);
        QVERIFY(!text.contains(u"无法打开页面"_s));
        m_server.release();
    }

    void destroyedWhileLoading()
    {
        QByteArray first =
            head + "<input name=\"news1\" value=\"a\">" + "<!--" + QByteArray(8192, 'x') + "-->";
        m_server.setHeldPage(u"/endless.html"_s, first, "</body></html>");
        QWidget parent;
        auto browser = std::make_unique<WebEngineBrowser>(&parent);
        browser->navigate(m_server.url(u"/endless.html"_s));
        QTRY_VERIFY_WITH_TIMEOUT(input(browser->document(), u"news1"_s), 10000);
        // Scripts may still be running for it; their results must go nowhere.
        for (int i = 0; i < 5; ++i)
            QMetaObject::invokeMethod(browser->widget(), "reload");
        browser.reset();
        QVERIFY(parent.findChildren<QWebEngineView *>().isEmpty());
        QTest::qWait(200);
        m_server.release();
    }
};

QTEST_MAIN(TestWebBrowser)
#include "test_webbrowser.moc"
