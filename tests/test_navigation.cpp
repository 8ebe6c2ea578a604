// The window set and the navigation protocol, driven through the real windows.
#include "app/ProgramWindows.h"
#include "controls/CaptionLabel.h"
#include "controls/ControlGeometry.h"
#include "controls/FormWindow.h"
#include "controls/NavigationBar.h"
#include "platform/InertBrowser.h"
#include "platform/RecordingMessages.h"
#include "platform/RecordingShell.h"

#include <QLineEdit>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const WindowId topWindows[] = {WindowId::quote, WindowId::toolsIndex, WindowId::instructions};
} // namespace

class TestNavigation : public QObject
{
    Q_OBJECT

private:
    RecordingShell m_shell;
    RecordingMessages m_messages;
    std::unique_ptr<ProgramWindows> m_windows;
    int m_endCalls = 0;

    FormWindow *window(WindowId id) { return m_windows->window(id); }
    NavigationBar *bar(WindowId id) { return window(id)->navigationBar(); }

    void clickButton(WindowId on, int meunnum)
    {
        QWidget *button = bar(on)->findChild<QWidget *>(u"Image"_s + QString::number(meunnum - 1));
        QVERIFY(button);
        // The button itself, not whatever lies above it: the highlight may cover it.
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(60, 30));
    }

    int createdCount() const
    {
        int n = 0;
        for (int i = 0; i < windowCount; ++i)
            n += m_windows->existing(WindowId(i)) != nullptr;
        return n;
    }

    QList<WindowId> visibleWindows() const
    {
        QList<WindowId> visible;
        for (int i = 0; i < windowCount; ++i) {
            if (FormWindow *w = m_windows->existing(WindowId(i)); w && w->isVisible())
                visible.append(WindowId(i));
        }
        return visible;
    }

private Q_SLOTS:
    void init()
    {
        m_shell.opened.clear();
        m_windows = std::make_unique<ProgramWindows>(DesktopServices{m_shell, m_messages, inertBrowsers()},
                                                     QString(), MainWindow::Start::LayoutOnly);
        m_windows->setEndProcess([this] { ++m_endCalls; });
        m_windows->show(WindowId::quote);
    }

    void cleanup() { m_windows.reset(); }

    void clickmeunMovesHighlight_data()
    {
        QTest::addColumn<QList<int>>("calls");
        QTest::addColumn<QPoint>("highlight");
        QTest::addColumn<QPoint>("caption");
        QTest::addColumn<QString>("text");
        QTest::newRow("at creation") << QList<int>{} << QPoint(120, 0) << QPoint(240, 120) << u"自动报价"_s;
        QTest::newRow("2") << QList<int>{2} << QPoint(1995, 0) << QPoint(2095, 100) << u"家装工具"_s;
        QTest::newRow("2 then 1") << QList<int>{2, 1} << QPoint(120, 0) << QPoint(220, 100) << u"自动报价"_s;
        QTest::newRow("5") << QList<int>{5} << QPoint(7560, 0) << QPoint(7660, 100) << u"使用说明"_s;
        QTest::newRow("unknown numbers")
            << QList<int>{0, 3, 4, 6, -1} << QPoint(120, 0) << QPoint(240, 120) << u"自动报价"_s;
        QTest::newRow("2 then unknown")
            << QList<int>{2, 3, 32767} << QPoint(1995, 0) << QPoint(2095, 100) << u"家装工具"_s;
    }
    void clickmeunMovesHighlight()
    {
        QFETCH(QList<int>, calls);
        QFETCH(QPoint, highlight);
        QFETCH(QPoint, caption);
        QFETCH(QString, text);
        NavigationBar *b = bar(WindowId::quote);
        for (int meunnum : calls)
            b->clickmeun(qint16(meunnum));
        QCOMPARE(ControlGeometry::twips(b->findChild<QWidget *>(u"Image5"_s)).topLeft(), highlight);
        auto *label = b->findChild<CaptionLabel *>(u"Label1"_s);
        QCOMPARE(ControlGeometry::twips(label).topLeft(), caption);
        QCOMPARE(ControlGeometry::twips(label).size(), QSize(1695, 375));
        QCOMPARE(label->text(), text);
    }

    void startsWithOnlyMainWindow()
    {
        QCOMPARE(createdCount(), 1);
        QCOMPARE(visibleWindows(), QList<WindowId>{WindowId::quote});
    }

    void buttonShowsExactlyOneWindow_data()
    {
        QTest::addColumn<QList<int>>("clicks");
        QTest::addColumn<int>("visible");
        QTest::addColumn<int>("highlightLeft");
        QTest::newRow("tools") << QList<int>{2} << int(WindowId::toolsIndex) << 1995;
        QTest::newRow("instructions") << QList<int>{5} << int(WindowId::instructions) << 7560;
        QTest::newRow("tools, back to quote") << QList<int>{2, 1} << int(WindowId::quote) << 120;
        QTest::newRow("instructions, tools, instructions")
            << QList<int>{5, 2, 5} << int(WindowId::instructions) << 7560;
    }
    void buttonShowsExactlyOneWindow()
    {
        QFETCH(QList<int>, clicks);
        QFETCH(int, visible);
        QFETCH(int, highlightLeft);
        for (int meunnum : clicks) {
            const QList<WindowId> shown = visibleWindows();
            QCOMPARE(shown.size(), 1);
            clickButton(shown.first(), meunnum);
        }
        QCOMPARE(visibleWindows(), QList<WindowId>{WindowId(visible)});
        QCOMPARE(createdCount(), windowCount); // the first switch creates all nine
        QWidget *highlight = bar(WindowId(visible))->findChild<QWidget *>(u"Image5"_s);
        QCOMPARE(ControlGeometry::twips(highlight).left(), highlightLeft);
    }

    void clickOnHighlightDoesNothing()
    {
        NavigationBar *b = bar(WindowId::quote);
        QTest::mouseClick(b->findChild<QWidget *>(u"Label1"_s), Qt::LeftButton);
        QTest::mouseClick(b->findChild<QWidget *>(u"Image5"_s), Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(createdCount(), 1);
        QCOMPARE(visibleWindows(), QList<WindowId>{WindowId::quote});
    }

    void webButtonsOpenVendorPages()
    {
        clickButton(WindowId::quote, 3);
        clickButton(WindowId::quote, 4);
        QCOMPARE(m_shell.opened, (QStringList{u"http://127.0.0.1:8360/zxpic.htm"_s,
                                              u"http://127.0.0.1:8360/MemberPrice.htm"_s}));
        QCOMPARE(createdCount(), 1);
        QCOMPARE(visibleWindows(), QList<WindowId>{WindowId::quote});
    }

    void clickfromWithoutTargetHidesAll()
    {
        m_windows->navigation().clickfrom(3);
        QVERIFY(visibleWindows().isEmpty());
    }

    void windowsAreNeverCreatedTwice()
    {
        QList<FormWindow *> first;
        for (int i = 0; i < windowCount; ++i)
            first.append(window(WindowId(i)));
        auto *phone = window(WindowId::quote)->control<QLineEdit>(u"Text8"_s);
        phone->setText(u"13800000000"_s);
        for (int round = 0; round < 20; ++round)
            clickButton(visibleWindows().first(), QList<int>{2, 5, 1}[round % 3]);
        for (int i = 0; i < windowCount; ++i)
            QCOMPARE(window(WindowId(i)), first[i]);
        QCOMPARE(window(WindowId::quote)->findChildren<QLineEdit *>(u"Text8"_s).size(), 1);
        QCOMPARE(phone->text(), u"13800000000"_s);
    }

    void closingAnyWindowEndsTheProcess_data()
    {
        QTest::addColumn<int>("id");
        QTest::newRow("visible main") << int(WindowId::quote);
        QTest::newRow("hidden tool window") << int(WindowId::curtains);
        QTest::newRow("hidden instructions") << int(WindowId::instructions);
    }
    void closingAnyWindowEndsTheProcess()
    {
        QFETCH(int, id);
        m_endCalls = 0;
        window(WindowId(id))->close();
        QCOMPARE(m_endCalls, 1);
    }
};

QTEST_MAIN(TestNavigation)
#include "test_navigation.moc"
