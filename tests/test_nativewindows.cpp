// The main and the instructions window on an X11 display: each keeps the one
// native window it got at its first show while the browsers start, load,
// show and hide, and the browser engine starts only after the main window's
// first frame. Offscreen windows are never made anew, so this test runs on a
// display of its own (xvfb-run, see CMakeLists.txt).
#include "app/ProgramWindows.h"
#include "controls/FormWindow.h"
#include "platform/Browser.h"
#include "platform/RecordingMessages.h"
#include "platform/RecordingShell.h"
#include "platform/WebEngineBrowser.h"
#include "quote/LoadingStandIn.h"

#include <QGuiApplication>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

using namespace Qt::StringLiterals;

namespace {
// Counts the native windows a widget is given from now on.
class NativeWindowCount : public QObject
{
public:
    explicit NativeWindowCount(QWidget *widget) { widget->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        count += event->type() == QEvent::WinIdChange;
        return false;
    }
};
} // namespace

class TestNativeWindows : public QObject
{
    Q_OBJECT

public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }

private:
    RecordingShell m_shell;
    RecordingMessages m_messages;
    std::unique_ptr<ProgramWindows> m_windows;

private Q_SLOTS:
    void initTestCase()
    {
        if (QGuiApplication::platformName() != "xcb"_L1)
            QSKIP("needs an X11 display");
        const DesktopServices services{
            m_shell, m_messages, [](QWidget *parent) { return std::make_unique<WebEngineBrowser>(parent); }};
        m_windows =
            std::make_unique<ProgramWindows>(services, u"110000|北京市,110100|市辖区,110101|东城区"_s);
        m_windows->setEndProcess([] {});
    }
    void cleanupTestCase() { m_windows.reset(); }

    void mainWindowFromShowUntilAfterTheTick()
    {
        FormWindow *main = m_windows->window(WindowId::quote);
        QPointer<LoadingStandIn> standIn = main->findChild<LoadingStandIn *>();
        QVERIFY(standIn);
        // Neither making nor showing the window starts the engine (no page yet).
        m_windows->show(WindowId::quote);
        QVERIFY(main->findChildren<QWebEnginePage *>().isEmpty());
        const WId id = main->winId();
        NativeWindowCount newNativeWindows(main);
        QVERIFY(QTest::qWaitForWindowExposed(main));

        // After the first frame both pages go out.
        QTRY_COMPARE_WITH_TIMEOUT(main->findChildren<QWebEnginePage *>().size(), 2, 5000);
        // The stand-in goes once the engine shows the loading page; the tick hides the pane.
        QWidget *pane = main->control(u"WebBrowser2"_s);
        QTRY_VERIFY_WITH_TIMEOUT(!standIn, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(!pane->isVisible(), 5000);
        // Neither page is needed after the tick: the engine may free both.
        for (const QWebEnginePage *page : main->findChildren<QWebEnginePage *>())
            QTRY_COMPARE(page->lifecycleState(), QWebEnginePage::LifecycleState::Discarded);
        QTest::qWait(300);
        QCOMPARE(newNativeWindows.count, 0);
        QCOMPARE(main->winId(), id);
    }

    void instructionsWindowFromItsFirstShow()
    {
        FormWindow *help = m_windows->window(WindowId::instructions);
        auto *view = qobject_cast<QWebEngineView *>(help->browser(u"WebBrowser2"_s)->widget());
        QSignalSpy loaded(view, &QWebEngineView::loadFinished);
        m_windows->show(WindowId::instructions);
        const WId id = help->winId();
        NativeWindowCount newNativeWindows(help);
        QVERIFY(QTest::qWaitForWindowExposed(help));
        // The page cannot be reached here: what the view shows then is a page too.
        QTRY_VERIFY_WITH_TIMEOUT(loaded.size() >= 1, 10000);
        QTest::qWait(300);
        QCOMPARE(newNativeWindows.count, 0);
        QCOMPARE(help->winId(), id);
    }
};

QTEST_MAIN(TestNativeWindows)
#include "test_nativewindows.moc"
