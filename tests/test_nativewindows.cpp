// The main and the instructions window on an X11 display, with the browsers
// the program ships and the engine's environment as the program sets it:
// each window keeps the one native window it got at its first show while the
// engine module is loaded and the browsers start, load, show and hide, and
// the engine starts only after the main window's first frame. Drawn in
// software no window takes an OpenGL surface; on the OpenGL path a user can
// choose (test_nativewindows_gpu) each has one from the start. The test does
// not link the engine, so that it is loaded late as in the program.
// Offscreen windows are never made anew, so this test runs on a display of
// its own (xvfb-run, see CMakeLists.txt).
#include "app/EngineEnvironment.h"
#include "app/ProgramWindows.h"
#include "controls/FormWindow.h"
#include "platform/Browser.h"
#include "platform/DeferredWebBrowser.h"
#include "platform/RecordingMessages.h"
#include "platform/RecordingShell.h"
#include "quote/LoadingStandIn.h"

#include <QGuiApplication>
#include <QMetaEnum>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

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

// The engine's pages inside a window, known by class name only.
QObjectList pagesIn(QWidget *window)
{
    QObjectList pages;
    for (QObject *child : window->findChildren<QObject *>())
        if (child->inherits("QWebEnginePage"))
            pages.append(child);
    return pages;
}

QByteArray lifecycleState(const QObject *page)
{
    const QMetaProperty state =
        page->metaObject()->property(page->metaObject()->indexOfProperty("lifecycleState"));
    return state.enumerator().valueToKey(state.read(page).toInt());
}
} // namespace

class TestNativeWindows : public QObject
{
    Q_OBJECT

public:
    static void initMain() { s_drawing = prepareEngineEnvironment(); }

private:
    static inline EngineDrawing s_drawing = EngineDrawing::software;
    static QSurface::SurfaceType expectedSurface()
    {
        return s_drawing == EngineDrawing::openGL ? QSurface::OpenGLSurface : QSurface::RasterSurface;
    }

    RecordingShell m_shell;
    RecordingMessages m_messages;
    std::unique_ptr<ProgramWindows> m_windows;

private Q_SLOTS:
    void initTestCase()
    {
        if (QGuiApplication::platformName() != "xcb"_L1)
            QSKIP("needs an X11 display");
        const DesktopServices services{m_shell, m_messages,
                                       deferredWebBrowsers(QStringLiteral(RIVAV_WEBENGINE_MODULE))};
        m_windows =
            std::make_unique<ProgramWindows>(services, u"110000|北京市,110100|市辖区,110101|东城区"_s);
        m_windows->setEndProcess([] {});
    }
    void cleanupTestCase() { m_windows.reset(); }

    void mainWindowFromShowUntilAfterTheTick()
    {
        {
            // The stand-in draws what the loading page will show, the
            // background at the page's margin on white, and reports its
            // first frame at once.
            const QString assets = QStringLiteral(QT_TESTCASE_SOURCEDIR "/../assets");
            LoadingStandIn look(assets);
            QSignalSpy onScreen(&look, &LoadingStandIn::onScreen);
            look.resize(797, 574);
            const QImage drawn = look.grab().toImage();
            const QImage background(assets + u"/bg.png"_s);
            QCOMPARE(drawn.pixelColor(0, 0), QColor(Qt::white));
            QCOMPARE(drawn.pixelColor(5, 0), background.pixelColor(0, 0));
            QCOMPARE(drawn.pixelColor(5, 1), background.pixelColor(0, 1));
            QVERIFY(onScreen.wait(500));
        }
        FormWindow *main = m_windows->window(WindowId::quote);
        QPointer<LoadingStandIn> standIn = main->findChild<LoadingStandIn *>();
        QVERIFY(standIn);
        // Neither making nor showing the window starts the engine (no page yet).
        m_windows->show(WindowId::quote);
        QVERIFY(pagesIn(main).isEmpty());
        const WId id = main->winId();
        NativeWindowCount newNativeWindows(main);
        QVERIFY(QTest::qWaitForWindowExposed(main));

        // After the first frame both pages go out.
        QTRY_COMPARE_WITH_TIMEOUT(pagesIn(main).size(), 2, 5000);
        // The stand-in goes once the engine shows the loading page; the tick hides the pane.
        QWidget *pane = main->control(u"WebBrowser2"_s);
        QTRY_VERIFY_WITH_TIMEOUT(!standIn, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(!pane->isVisible(), 5000);
        // Neither page is needed after the tick: the engine may free both.
        for (const QObject *page : pagesIn(main))
            QTRY_COMPARE(lifecycleState(page), "Discarded");
        QTest::qWait(300);
        QCOMPARE(newNativeWindows.count, 0);
        QCOMPARE(main->winId(), id);
        QCOMPARE(main->windowHandle()->surfaceType(), expectedSurface());
    }

    void instructionsWindowFromItsFirstShow()
    {
        FormWindow *help = m_windows->window(WindowId::instructions);
        Browser *browser = help->browser(u"WebBrowser2"_s);
        m_windows->show(WindowId::instructions);
        const WId id = help->winId();
        NativeWindowCount newNativeWindows(help);
        QVERIFY(QTest::qWaitForWindowExposed(help));
        // The page cannot be reached here: what the view shows then is a document too.
        QTRY_VERIFY_WITH_TIMEOUT(browser->document().has_value(), 10000);
        // The page fills the browser's place.
        QCOMPARE(browser->widget()->focusProxy()->geometry(), browser->widget()->rect());
        QTest::qWait(300);
        QCOMPARE(newNativeWindows.count, 0);
        QCOMPARE(help->winId(), id);
        QCOMPARE(help->windowHandle()->surfaceType(), expectedSurface());
    }
};

QTEST_MAIN(TestNativeWindows)
#include "test_nativewindows.moc"
