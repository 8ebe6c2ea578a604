#include "BuildConfig.h"
#include "app/ProgramWindows.h"
#include "app/WindowSet.h"
#include "app/core/AppTexts.h"
#include "controls/CaptionLabel.h"
#include "controls/NavigationBar.h"
#include "controls/PictureBox.h"
#include "fakes/NewsPage.h"
#include "help/InstructionsWindow.h"
#include "platform/InertBrowser.h"
#include "platform/RecordingMessages.h"
#include "platform/RecordingShell.h"
#include "quote/MainWindow.h"

#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;
using NewsPage::input;
using NewsPage::newsLabel;
using NewsPage::newsTexts;

namespace {

InertBrowser *inert(const FormWindow &window, const QString &name)
{
    return static_cast<InertBrowser *>(window.browser(name));
}

QStringList filled(QStringList head, const QString &rest)
{
    while (head.size() < 10)
        head.append(rest);
    return head;
}
} // namespace

class TestNewsPanel : public QObject
{
    Q_OBJECT

private:
    RecordingShell m_shell;
    RecordingMessages m_messages;

    // A shown main window without timer or pages, whose news browser holds
    // the given document.
    std::unique_ptr<MainWindow> mainWindow(std::optional<DomSnapshot> document)
    {
        auto w = std::make_unique<MainWindow>(DesktopServices{m_shell, m_messages, inertBrowsers()},
                                              QString(), MainWindow::Start::LayoutOnly);
        inert(*w, u"WebBrowser1"_s)->setDocument(std::move(document));
        w->show();
        if (!QTest::qWaitForWindowExposed(w.get()))
            qFatal("main window not exposed");
        return w;
    }

private Q_SLOTS:
    void init() { m_shell.opened.clear(); }

    void getnewsFillsLabelsAndLinks()
    {
        auto w = mainWindow(DomSnapshot{{u"HTML"_s, {}, {}, {}},
                                        input(u"news1"_s, u"一"_s, u"http://h/1"_s),
                                        input(u"news2"_s, u"二"_s, u"http://h/2"_s),
                                        input(u"news3"_s, u"三"_s, u"http://h/3"_s),
                                        input(u"x"_s, u"已结束"_s)});
        QCOMPARE(newsTexts(*w), filled({}, u"Label21"_s));
        w->getnews();
        QCOMPARE(newsTexts(*w), filled({u"一"_s, u"二"_s, u"三"_s}, u"Label21"_s));
        QCOMPARE(w->newsurl(), filled({u"http://h/1"_s, u"http://h/2"_s, u"http://h/3"_s}, QString()));
    }

    void noDocumentLeavesPanel()
    {
        auto w = mainWindow(std::nullopt);
        w->getnews();
        QCOMPARE(newsTexts(*w), filled({}, u"Label21"_s));
        QCOMPARE(w->newsurl(), filled({}, QString()));
    }

    void tickReadsNewsAtOnce()
    {
        // The tick finishes within its own event: headlines in place and the
        // pane gone without returning to the event loop.
        auto w = mainWindow(DomSnapshot{input(u"news1"_s, u"头条"_s, u"http://h/1"_s)});
        w->findChild<QTimer *>(u"Timer1"_s)->start(); // as a full start has it
        w->tick();
        QCOMPARE(newsLabel(*w, 0)->text(), u"头条"_s);
        QVERIFY(!w->control(u"WebBrowser2"_s)->isVisible());
        QVERIFY(!w->findChild<QTimer *>(u"Timer1"_s)->isActive());
    }

    void headlineIsPlainText()
    {
        const QString markup = u"<img src=\"file:///x\"><b>粗体</b>&amp;"_s;
        auto w = mainWindow(DomSnapshot{input(u"news1"_s, markup, u"http://h/1"_s)});
        w->getnews();
        CaptionLabel *label = newsLabel(*w, 0);
        QCOMPARE(label->text(), markup);
        QCOMPARE(label->textFormat(), Qt::PlainText);
    }

    void headlineClick_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<QStringList>("opened");
        QTest::newRow("http") << u"http://127.0.0.1:8360/n/1.html"_s
                              << QStringList{u"http://127.0.0.1:8360/n/1.html"_s};
        QTest::newRow("https") << u"https://example.com/n?id=1"_s
                               << QStringList{u"https://example.com/n?id=1"_s};
        QTest::newRow("no mysrc") << QString() << QStringList{};
        QTest::newRow("file") << u"file:///bin/sh"_s << QStringList{};
        QTest::newRow("javascript") << u"javascript:alert(1)"_s << QStringList{};
        QTest::newRow("local path") << u"/usr/bin/xterm"_s << QStringList{};
        QTest::newRow("other scheme") << u"ms-settings:"_s << QStringList{};
    }
    void headlineClick()
    {
        QFETCH(QString, link);
        QFETCH(QStringList, opened);
        // The tested entry is the fifth, so a mix-up of slots shows.
        DomSnapshot document;
        for (int n = 1; n <= 4; ++n)
            document.append(input(u"news%1"_s.arg(n), u"n%1"_s.arg(n), u"http://h/%1"_s.arg(n)));
        document.append(input(u"news5"_s, u"五"_s, link));
        auto w = mainWindow(document);
        w->getnews();
        QTest::mouseClick(newsLabel(*w, 4), Qt::LeftButton);
        QCOMPARE(m_shell.opened, opened);
    }

    void unfilledLabelOpensNothing()
    {
        auto w = mainWindow(DomSnapshot{input(u"news1"_s, u"一"_s, u"http://h/1"_s)});
        w->getnews();
        QTest::mouseClick(newsLabel(*w, 1), Qt::LeftButton);
        QTest::mouseClick(newsLabel(*w, 9), Qt::LeftButton);
        QVERIFY(m_shell.opened.isEmpty());
        QTest::mouseClick(newsLabel(*w, 0), Qt::LeftButton);
        QTest::mouseClick(newsLabel(*w, 0), Qt::LeftButton);
        QCOMPARE(m_shell.opened, (QStringList{u"http://h/1"_s, u"http://h/1"_s}));
    }

    void newsPointer_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("custom");
        for (int i = 0; i < 10; ++i)
            QTest::addRow("news(%d)", i) << i << (i <= 2 || i == 4 || i == 5);
    }
    void newsPointer()
    {
        QFETCH(int, index);
        QFETCH(bool, custom);
        auto w = mainWindow(std::nullopt);
        const QCursor cursor = newsLabel(*w, index)->cursor();
        if (!custom) {
            QCOMPARE(cursor.shape(), Qt::ArrowCursor);
            return;
        }
        const QPixmap art(u":/art/news-pointer.png"_s);
        if (art.isNull()) {
            QCOMPARE(cursor.shape(), Qt::PointingHandCursor);
            return;
        }
        QCOMPARE(cursor.shape(), Qt::BitmapCursor);
        QCOMPARE(cursor.pixmap().size(), QSize(48, 48));
        QCOMPARE(cursor.hotSpot(), QPoint(16, 2));
    }

    void contactLinks_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("opened");
        const QString chat = u"http://"_s + QString::fromUtf16(BuildConfig::chatHost) + u"/msgrd?v=1&uin="_s +
                             QString::fromUtf16(BuildConfig::supportAccount) + u"&site=技术支持&menu=yes"_s;
        for (const char *image : {"Image6", "Image7", "Image8", "Image9"})
            QTest::newRow(image) << QString::fromLatin1(image) << chat;
        QTest::newRow("Label21") << u"Label21"_s << u"http://"_s + QString::fromUtf16(BuildConfig::webHost);
        for (const char *caption : {"Label17", "Label18", "Label19", "Label20"})
            QTest::newRow(caption) << QString::fromLatin1(caption) << QString();
    }
    void contactLinks()
    {
        QFETCH(QString, control);
        QFETCH(QString, opened);
        auto w = mainWindow(std::nullopt);
        QTest::mouseClick(w->control(control), Qt::LeftButton);
        QTest::mouseClick(w->control(control), Qt::LeftButton);
        const QStringList expected = opened.isEmpty() ? QStringList{} : QStringList{opened, opened};
        QCOMPARE(m_shell.opened, expected);
    }

    void instructionsLoadWithFirstNavigation()
    {
        ProgramWindows windows({m_shell, m_messages, inertBrowsers()}, QString(),
                               MainWindow::Start::LayoutOnly);
        windows.setEndProcess([] {});
        const QString page =
            u"http://"_s + QString::fromUtf16(BuildConfig::softHost) + u"/softload/explain.html"_s;
        windows.show(WindowId::quote);
        QVERIFY(!windows.existing(WindowId::instructions));

        // Button 2 (tools) already creates the instructions window, hidden,
        // and starts its page.
        auto *mainBar = windows.window(WindowId::quote)->navigationBar();
        QTest::mouseClick(mainBar->findChild<QWidget *>(u"Image1"_s), Qt::LeftButton);
        FormWindow *help = windows.existing(WindowId::instructions);
        QVERIFY(help);
        QVERIFY(!help->isVisible());
        InertBrowser *browser = inert(*help, u"WebBrowser2"_s);
        QCOMPARE(browser->navigations(), QStringList{page});

        // Showing it (button 5 on its own bar, then from the tools index)
        // keeps the page: no navigation, not even through the bar's clicks
        // that reach the background.
        auto *helpBar = help->navigationBar();
        QTest::mouseClick(
            windows.window(WindowId::toolsIndex)->navigationBar()->findChild<QWidget *>(u"Image4"_s),
            Qt::LeftButton);
        QVERIFY(help->isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(help));
        QTest::mouseClick(helpBar->findChild<QWidget *>(u"Image4"_s), Qt::LeftButton);
        const QPoint barBottom(helpBar->width() / 2, helpBar->height() - 2);
        QTest::mouseClick(helpBar, Qt::LeftButton, {}, barBottom);
        QCOMPARE(browser->navigations().size(), 1);

        // A click on the bare background loads the page again, each time.
        QWidget *background = help->control(u"Picture1"_s);
        QTest::mouseClick(background, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseClick(background, Qt::LeftButton, {}, QPoint(background->width() - 3, 140));
        QCOMPARE(browser->navigations(), (QStringList{page, page, page}));
        QTest::mouseClick(background, Qt::RightButton, {}, QPoint(5, 5));
        QCOMPARE(browser->navigations().size(), 3);

        // Away and back: the page the browser holds stays.
        QTest::mouseClick(helpBar->findChild<QWidget *>(u"Image0"_s), Qt::LeftButton);
        QVERIFY(!help->isVisible());
        QTest::mouseClick(mainBar->findChild<QWidget *>(u"Image4"_s), Qt::LeftButton);
        QVERIFY(help->isVisible());
        QCOMPARE(browser->navigations().size(), 3);
        QVERIFY(m_shell.opened.isEmpty());
    }
};

QTEST_MAIN(TestNewsPanel)
#include "test_newspanel.moc"
