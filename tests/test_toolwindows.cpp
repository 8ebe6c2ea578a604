#include "app/ProgramWindows.h"
#include "app/WindowSet.h"
#include "controls/ControlGeometry.h"
#include "controls/FormWindow.h"
#include "controls/NavigationBar.h"
#include "controls/ToolsMenu.h"
#include "platform/InertBrowser.h"
#include "platform/RecordingMessages.h"
#include "platform/RecordingShell.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {
const QString badInput = u"填写数据有问题，请检查！"_s;
constexpr int tabLeft[] = {120, 1995}; // twips Left of navigation buttons 1 and 2
} // namespace

class TestToolWindows : public QObject
{
    Q_OBJECT

private:
    RecordingShell m_shell;
    RecordingMessages m_messages;
    std::unique_ptr<ProgramWindows> m_windows;
    int m_endRequests = 0;

    WindowSet &windows() { return *m_windows; }
    FormWindow *window(WindowId id) { return windows().window(id); }
    template <typename T> T *control(WindowId id, const QString &name)
    {
        T *widget = window(id)->control<T>(name);
        if (!widget)
            qFatal("no control %s", qPrintable(name));
        return widget;
    }
    QLineEdit *box(WindowId id, const QString &name) { return control<QLineEdit>(id, name); }
    void click(QWidget *widget) { QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(5, 5)); }
    void clickMenuEntry(WindowId on, int index)
    {
        click(window(on)->toolsMenu()->findChild<QWidget *>(u"Picture1(%1)"_s.arg(index)));
    }
    // The windows of the tools, index last, that are on screen.
    QStringList visibleToolWindows() const
    {
        QStringList names;
        for (WindowId id : WindowSet::toolWindows)
            if (m_windows->existing(id) && m_windows->existing(id)->isVisible())
                names.append(QString::fromLatin1(WindowSet::nameOf(id)));
        if (FormWindow *index = m_windows->existing(WindowId::toolsIndex); index && index->isVisible())
            names.append(u"gjfrmindex"_s);
        return names;
    }
    int highlightLeft(WindowId id)
    {
        return ControlGeometry::twips(window(id)->navigationBar()->findChild<QWidget *>(u"Image5"_s)).left();
    }
    void pick(QComboBox *list, int row)
    {
        // Arrow keys pick from the list as a click into it would.
        const int steps = row - list->currentIndex();
        for (int i = 0; i < qAbs(steps); ++i)
            QTest::keyClick(list, steps > 0 ? Qt::Key_Down : Qt::Key_Up);
        QCOMPARE(list->currentIndex(), row);
    }

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void init()
    {
        m_messages.shown.clear();
        m_endRequests = 0;
        m_windows = std::make_unique<ProgramWindows>(DesktopServices{m_shell, m_messages, inertBrowsers()},
                                                     QString(), MainWindow::Start::LayoutOnly);
        m_windows->setEndProcess([this] { ++m_endRequests; });
    }
    void cleanup() { m_windows.reset(); }

    void firstMenuClickCreatesEveryToolWindow_data()
    {
        QTest::addColumn<int>("entry");
        QTest::addColumn<QString>("shown");
        QTest::newRow("floor tiles") << 1 << u"gjfrmdzjs"_s;
        QTest::newRow("floor boards") << 2 << u"gjfrmdbjs"_s;
    }
    void firstMenuClickCreatesEveryToolWindow()
    {
        QFETCH(int, entry);
        QFETCH(QString, shown);
        windows().show(WindowId::toolsIndex);
        for (WindowId id : WindowSet::toolWindows)
            QVERIFY(!windows().existing(id));
        clickMenuEntry(WindowId::toolsIndex, entry);
        for (WindowId id : WindowSet::toolWindows)
            QVERIFY(windows().existing(id));
        QCOMPARE(visibleToolWindows(), QStringList{shown});
    }

    void entriesAndTilesLeadToTheirTool_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("shown");
        const int index = int(WindowId::toolsIndex);
        const int tiles = int(WindowId::floorTiles);
        const int boards = int(WindowId::floorBoards);
        QTest::newRow("index tile 2") << index << u"Picture2(1)"_s << u"gjfrmdzjs"_s;
        QTest::newRow("index tile 3") << index << u"Picture2(2)"_s << u"gjfrmdbjs"_s;
        QTest::newRow("tiles -> boards") << tiles << u"menu 2"_s << u"gjfrmdbjs"_s;
        QTest::newRow("boards -> tiles") << boards << u"menu 1"_s << u"gjfrmdzjs"_s;
        QTest::newRow("same tool again") << tiles << u"menu 1"_s << u"gjfrmdzjs"_s;
        QTest::newRow("from a placeholder") << int(WindowId::curtains) << u"menu 2"_s << u"gjfrmdbjs"_s;
    }
    void entriesAndTilesLeadToTheirTool()
    {
        QFETCH(int, from);
        QFETCH(QString, control);
        QFETCH(QString, shown);
        const auto start = WindowId(from);
        windows().show(start);
        if (control.startsWith(u"menu"_s))
            clickMenuEntry(start, control.back().digitValue());
        else
            click(window(start)->control(control));
        QCOMPARE(visibleToolWindows(), QStringList{shown});
    }

    void onlyToolsTwoAndThreeCanBeReached()
    {
        windows().show(WindowId::toolsIndex);
        m_windows->navigation().hidegjfrom();
        for (int id = int(WindowId::toolsIndex); id < windowCount; ++id) {
            FormWindow *w = window(WindowId(id));
            for (int entry = 0; entry < 6; ++entry) {
                QWidget *item = w->toolsMenu()->findChild<QWidget *>(u"Picture1(%1)"_s.arg(entry));
                QCOMPARE(item->isVisibleTo(w), entry == 1 || entry == 2);
            }
        }
        for (int tile = 0; tile < 6; ++tile)
            QCOMPARE(window(WindowId::toolsIndex)
                         ->control(u"Picture2(%1)"_s.arg(tile))
                         ->isVisibleTo(window(WindowId::toolsIndex)),
                     tile == 1 || tile == 2);
    }

    void outOfRangeNumbers()
    {
        windows().show(WindowId::toolsIndex);
        ToolsMenu *menu = window(WindowId::toolsIndex)->toolsMenu();
        menu->clickgjfrommeun(-1);
        menu->clickgjfrommeun(6);
        for (WindowId id : WindowSet::toolWindows)
            QVERIFY(!windows().existing(id));
        QCOMPARE(visibleToolWindows(), QStringList{u"gjfrmindex"_s});
        // The first and the last entry, hidden as they are, are in range.
        menu->clickgjfrommeun(5);
        QCOMPARE(visibleToolWindows(), QStringList{u"gjfrmcljs"_s});
        menu->clickgjfrommeun(0);
        QCOMPARE(visibleToolWindows(), QStringList{u"gjfrmqzjs"_s});

        m_windows->navigation().clickgjfrom(2);
        m_windows->navigation().clickgjfrom(0);
        QCOMPARE(visibleToolWindows(), QStringList());
        m_windows->navigation().clickgjfrom(7);
        QCOMPARE(visibleToolWindows(), QStringList());
        m_windows->navigation().clickgjfrom(4); // a placeholder: reachable only this way
        QCOMPARE(visibleToolWindows(), QStringList{u"gjfrmbzjs"_s});
    }

    void highlights()
    {
        m_windows->navigation().hidegjfrom();
        // The calculators move their highlight once, when loaded, even while hidden.
        QCOMPARE(highlightLeft(WindowId::floorBoards), tabLeft[1]);
        QCOMPARE(highlightLeft(WindowId::floorTiles), tabLeft[1]);
        QCOMPARE(highlightLeft(WindowId::wallTiles), tabLeft[0]);
    }

    void compute_data()
    {
        QTest::addColumn<int>("tool");
        QTest::addColumn<QStringList>("inputs"); // room length, room width, piece width, piece length
        QTest::addColumn<QString>("expected");   // empty: the message, result kept
        const int tiles = int(WindowId::floorTiles);
        const int boards = int(WindowId::floorBoards);
        QTest::newRow("tiles 5 x 4") << tiles << QStringList{u"5"_s, u"4"_s, u"600"_s, u"600"_s} << u"55"_s;
        // Piece width and length boxes must not be swapped: the order decides this count.
        QTest::newRow("boards, width divided first")
            << boards << QStringList{u"1.19"_s, u"3.51"_s, u"910"_s, u"153"_s} << u"29"_s;
        QTest::newRow("room 0") << tiles << QStringList{u"0"_s, u"4"_s, u"600"_s, u"600"_s} << u"0"_s;
        QTest::newRow("all empty") << tiles << QStringList{{}, {}, {}, {}} << QString();
        QTest::newRow("tile 0") << tiles << QStringList{u"5"_s, u"4"_s, u"0"_s, u"600"_s} << QString();
        QTest::newRow("board 0") << boards << QStringList{u"5"_s, u"4"_s, u"910"_s, u"0"_s} << QString();
        QTest::newRow("negative room")
            << tiles << QStringList{u"-5"_s, u"4"_s, u"600"_s, u"600"_s} << QString();
    }
    void compute()
    {
        QFETCH(int, tool);
        QFETCH(QStringList, inputs);
        QFETCH(QString, expected);
        const auto id = WindowId(tool);
        const QString piece = id == WindowId::floorTiles ? u"dz"_s : u"db"_s;
        windows().show(id);
        box(id, u"fjctxt"_s)->setText(inputs[0]);
        box(id, u"fjktxt"_s)->setText(inputs[1]);
        box(id, piece + u"ktxt"_s)->setText(inputs[2]);
        box(id, piece + u"ctxt"_s)->setText(inputs[3]);
        QTest::keyClicks(box(id, u"jsrstxt"_s), u"7"_s); // typing into the result is allowed
        QCOMPARE(window(id)->control(u"Picture2"_s)->cursor().shape(), Qt::PointingHandCursor);
        click(window(id)->control(u"Picture2"_s));
        if (expected.isEmpty()) {
            QCOMPARE(m_messages.shown, QStringList{badInput});
            QCOMPARE(box(id, u"jsrstxt"_s)->text(), u"07"_s);
        } else {
            QCOMPARE(m_messages.shown, QStringList());
            QCOMPARE(box(id, u"jsrstxt"_s)->text(), expected);
        }
        QCOMPARE(box(id, u"fjctxt"_s)->text(), inputs[0]);
    }

    void pickingASize_data()
    {
        QTest::addColumn<int>("tool");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("width");
        QTest::addColumn<QString>("length");
        const int tiles = int(WindowId::floorTiles);
        const int boards = int(WindowId::floorBoards);
        QTest::newRow("first tile size") << tiles << 0 << u"300"_s << u"300"_s;
        QTest::newRow("300*600") << tiles << 1 << u"300"_s << u"600"_s;
        QTest::newRow("1000*1000") << tiles << 6 << u"1000"_s << u"1000"_s;
        QTest::newRow("last tile size") << tiles << 7 << u"1200"_s << u"1200"_s;
        QTest::newRow("700*2400") << boards << 4 << u"700"_s << u"2400"_s;
        QTest::newRow("1210*165") << boards << 6 << u"1210"_s << u"165"_s;
    }
    void pickingASize()
    {
        QFETCH(int, tool);
        QFETCH(int, row);
        QFETCH(QString, width);
        QFETCH(QString, length);
        const auto id = WindowId(tool);
        const QString piece = id == WindowId::floorTiles ? u"dz"_s : u"db"_s;
        windows().show(id);
        box(id, piece + u"ktxt"_s)->setText(u"typed"_s);
        box(id, u"fjctxt"_s)->setText(u"5"_s);
        pick(control<QComboBox>(id, u"guigelist"_s), row);
        QCOMPARE(box(id, piece + u"ktxt"_s)->text(), width);
        QCOMPARE(box(id, piece + u"ctxt"_s)->text(), length);
        QCOMPARE(box(id, u"fjctxt"_s)->text(), u"5"_s);
        QCOMPARE(box(id, u"jsrstxt"_s)->text(), u"0"_s);
    }

    void sizeListsInOrder()
    {
        auto items = [this](WindowId id) {
            auto *list = control<QComboBox>(id, u"guigelist"_s);
            QStringList texts;
            for (int i = 0; i < list->count(); ++i)
                texts.append(list->itemText(i));
            return texts.join(u' ');
        };
        QCOMPARE(items(WindowId::floorTiles),
                 u"300*300 300*600 450*450 600*600 600*900 800*800 1000*1000 1200*1200"_s);
        QCOMPARE(items(WindowId::floorBoards),
                 u"910*122 910*123 910*125 910*921 700*2400 910*153 1210*165"_s);
    }

    void pickingWithTheMouse()
    {
        windows().show(WindowId::floorTiles);
        auto *list = control<QComboBox>(WindowId::floorTiles, u"guigelist"_s);
        list->showPopup();
        QAbstractItemView *view = list->view();
        QTRY_VERIFY(view->isVisible());
        const QRect item = view->visualRect(view->model()->index(3, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
        QCOMPARE(box(WindowId::floorTiles, u"dzktxt"_s)->text(), u"600"_s);
        QCOMPARE(box(WindowId::floorTiles, u"dzctxt"_s)->text(), u"600"_s);
    }

    void inputsSurviveAVisitElsewhere()
    {
        windows().show(WindowId::floorTiles);
        box(WindowId::floorTiles, u"fjctxt"_s)->setText(u"5"_s);
        box(WindowId::floorTiles, u"fjktxt"_s)->setText(u"4"_s);
        pick(control<QComboBox>(WindowId::floorTiles, u"guigelist"_s), 3);
        click(window(WindowId::floorTiles)->control(u"Picture2"_s));
        clickMenuEntry(WindowId::floorTiles, 2);
        QCOMPARE(visibleToolWindows(), QStringList{u"gjfrmdbjs"_s});
        clickMenuEntry(WindowId::floorBoards, 1);
        QCOMPARE(visibleToolWindows(), QStringList{u"gjfrmdzjs"_s});
        QCOMPARE(box(WindowId::floorTiles, u"jsrstxt"_s)->text(), u"55"_s);
        QCOMPARE(box(WindowId::floorTiles, u"dzktxt"_s)->text(), u"600"_s);
        QCOMPARE(control<QComboBox>(WindowId::floorTiles, u"guigelist"_s)->currentText(), u"600*600"_s);
    }

    void focusOrder_data()
    {
        QTest::addColumn<int>("tool");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("tiles") << int(WindowId::floorTiles)
                               << QStringList{u"fjctxt"_s,    u"dzctxt"_s, u"fjktxt"_s,
                                              u"guigelist"_s, u"dzktxt"_s, u"jsrstxt"_s};
        QTest::newRow("boards") << int(WindowId::floorBoards)
                                << QStringList{u"dbktxt"_s, u"guigelist"_s, u"fjktxt"_s,
                                               u"dbctxt"_s, u"fjctxt"_s,    u"jsrstxt"_s};
    }
    void focusOrder()
    {
        QFETCH(int, tool);
        QFETCH(QStringList, order);
        FormWindow *w = window(WindowId(tool));
        QWidget *first = w->control(order.first());
        QStringList seen;
        QWidget *widget = first;
        do {
            if (order.contains(widget->objectName()) && !seen.contains(widget->objectName()))
                seen.append(widget->objectName());
            widget = widget->nextInFocusChain();
        } while (widget != first && seen.size() < order.size());
        QCOMPARE(seen, order);
    }

    void closingAToolWindowEndsTheProcess()
    {
        windows().show(WindowId::floorBoards);
        window(WindowId::floorBoards)->close();
        QCOMPARE(m_endRequests, 1);
    }
};

QTEST_MAIN(TestToolWindows)
#include "test_toolwindows.moc"
