#include "app/ControlGeometry.h"
#include "app/FormWindow.h"
#include "app/StandardWindows.h"
#include "app/WindowSet.h"
#include "app/publicfunction.h"
#include "controls/wkxbjqbutton.h"
#include "controls/wkxbjqgjmenu.h"
#include "fakes/RecordingMessages.h"
#include "fakes/RecordingShell.h"
#include "platform/InertBrowser.h"
#include "platform/Platform.h"

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

// Counts the paint events a widget receives.
class PaintCounter : public QObject
{
public:
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};
} // namespace

class TestToolWindows : public QObject
{
    Q_OBJECT

private:
    RecordingShell m_shell;
    RecordingMessages m_messages;
    std::unique_ptr<WindowSet> m_windows;
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
        if (FormWindow *index = m_windows->existing(WindowId::gjfrmindex); index && index->isVisible())
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
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c());
        Platform::setShell(&m_shell);
        Platform::setMessages(&m_messages);
        Platform::setBrowserFactory([](QWidget *parent) { return std::make_unique<InertBrowser>(parent); });
    }
    void init()
    {
        m_messages.shown.clear();
        m_endRequests = 0;
        m_windows = std::make_unique<WindowSet>(standardWindows(StartMode::LayoutOnly));
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
        windows().show(WindowId::gjfrmindex);
        for (WindowId id : WindowSet::toolWindows)
            QVERIFY(!windows().existing(id));
        clickMenuEntry(WindowId::gjfrmindex, entry);
        for (WindowId id : WindowSet::toolWindows)
            QVERIFY(windows().existing(id));
        QCOMPARE(visibleToolWindows(), QStringList{shown});
    }

    void entriesAndTilesLeadToTheirTool_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("shown");
        const int index = int(WindowId::gjfrmindex);
        const int tiles = int(WindowId::gjfrmdzjs);
        const int boards = int(WindowId::gjfrmdbjs);
        QTest::newRow("index tile 2") << index << u"Picture2(1)"_s << u"gjfrmdzjs"_s;
        QTest::newRow("index tile 3") << index << u"Picture2(2)"_s << u"gjfrmdbjs"_s;
        QTest::newRow("tiles -> boards") << tiles << u"menu 2"_s << u"gjfrmdbjs"_s;
        QTest::newRow("boards -> tiles") << boards << u"menu 1"_s << u"gjfrmdzjs"_s;
        QTest::newRow("same tool again") << tiles << u"menu 1"_s << u"gjfrmdzjs"_s;
        QTest::newRow("from a placeholder") << int(WindowId::gjfrmcljs) << u"menu 2"_s << u"gjfrmdbjs"_s;
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
        windows().show(WindowId::gjfrmindex);
        publicfunction::hidegjfrom();
        for (int id = int(WindowId::gjfrmindex); id < windowCount; ++id) {
            FormWindow *w = window(WindowId(id));
            for (int entry = 0; entry < 6; ++entry) {
                QWidget *item = w->toolsMenu()->findChild<QWidget *>(u"Picture1(%1)"_s.arg(entry));
                QCOMPARE(item->isVisibleTo(w), entry == 1 || entry == 2);
            }
        }
        for (int tile = 0; tile < 6; ++tile)
            QCOMPARE(window(WindowId::gjfrmindex)
                         ->control(u"Picture2(%1)"_s.arg(tile))
                         ->isVisibleTo(window(WindowId::gjfrmindex)),
                     tile == 1 || tile == 2);
    }

    void outOfRangeNumbers()
    {
        windows().show(WindowId::gjfrmindex);
        wkxbjqgjmenu *menu = window(WindowId::gjfrmindex)->toolsMenu();
        menu->clickgjfrommeun(-1);
        menu->clickgjfrommeun(6);
        for (WindowId id : WindowSet::toolWindows)
            QVERIFY(!windows().existing(id));
        QCOMPARE(visibleToolWindows(), QStringList{u"gjfrmindex"_s});

        menu->clickgjfrom(2);
        menu->clickgjfrom(0);
        QCOMPARE(visibleToolWindows(), QStringList());
        menu->clickgjfrom(7);
        QCOMPARE(visibleToolWindows(), QStringList());
        menu->clickgjfrom(4); // a placeholder: reachable only this way
        QCOMPARE(visibleToolWindows(), QStringList{u"gjfrmbzjs"_s});
    }

    void highlights()
    {
        publicfunction::hidegjfrom();
        // The board window moves its highlight once, when loaded, even while hidden.
        QCOMPARE(highlightLeft(WindowId::gjfrmdbjs), tabLeft[1]);
        QCOMPARE(highlightLeft(WindowId::gjfrmdzjs), tabLeft[0]);
        QCOMPARE(highlightLeft(WindowId::gjfrmqzjs), tabLeft[0]);

        // The tile window moves it when it is drawn, and then stops drawing.
        auto *tiles = window(WindowId::gjfrmdzjs);
        PaintCounter paints;
        tiles->installEventFilter(&paints);
        windows().show(WindowId::gjfrmdzjs);
        QVERIFY(QTest::qWaitForWindowExposed(tiles));
        QTRY_COMPARE(highlightLeft(WindowId::gjfrmdzjs), tabLeft[1]);
        QVERIFY(paints.count > 0);
        // Paints stop coming once the highlight sits on button 2; a loop would never let them stop.
        int previous = -1;
        for (int i = 0; i < 10 && paints.count != previous; ++i) {
            previous = paints.count;
            QTest::qWait(150);
        }
        QCOMPARE(paints.count, previous);

        // Something else moves it back; the next paint restores it.
        tiles->navigationBar()->clickmeun(1);
        QCOMPARE(highlightLeft(WindowId::gjfrmdzjs), tabLeft[0]);
        tiles->repaint();
        QCOMPARE(highlightLeft(WindowId::gjfrmdzjs), tabLeft[1]);
    }

    void compute_data()
    {
        QTest::addColumn<int>("tool");
        QTest::addColumn<QStringList>("inputs"); // room length, room width, piece width, piece length
        QTest::addColumn<QString>("expected");   // empty: the message, result kept
        const int tiles = int(WindowId::gjfrmdzjs);
        const int boards = int(WindowId::gjfrmdbjs);
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
        const QString piece = id == WindowId::gjfrmdzjs ? u"dz"_s : u"db"_s;
        windows().show(id);
        box(id, u"fjctxt"_s)->setText(inputs[0]);
        box(id, u"fjktxt"_s)->setText(inputs[1]);
        box(id, piece + u"ktxt"_s)->setText(inputs[2]);
        box(id, piece + u"ctxt"_s)->setText(inputs[3]);
        QTest::keyClicks(box(id, u"jsrstxt"_s), u"7"_s); // typing into the result is allowed
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
        const int tiles = int(WindowId::gjfrmdzjs);
        const int boards = int(WindowId::gjfrmdbjs);
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
        const QString piece = id == WindowId::gjfrmdzjs ? u"dz"_s : u"db"_s;
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
        QCOMPARE(items(WindowId::gjfrmdzjs),
                 u"300*300 300*600 450*450 600*600 600*900 800*800 1000*1000 1200*1200"_s);
        QCOMPARE(items(WindowId::gjfrmdbjs), u"910*122 910*123 910*125 910*921 700*2400 910*153 1210*165"_s);
    }

    void pickingWithTheMouse()
    {
        windows().show(WindowId::gjfrmdzjs);
        auto *list = control<QComboBox>(WindowId::gjfrmdzjs, u"guigelist"_s);
        list->showPopup();
        QAbstractItemView *view = list->view();
        QTRY_VERIFY(view->isVisible());
        const QRect item = view->visualRect(view->model()->index(3, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
        QCOMPARE(box(WindowId::gjfrmdzjs, u"dzktxt"_s)->text(), u"600"_s);
        QCOMPARE(box(WindowId::gjfrmdzjs, u"dzctxt"_s)->text(), u"600"_s);
    }

    void typingIntoTheListIsNoPick()
    {
        windows().show(WindowId::gjfrmdzjs);
        QVERIFY(QTest::qWaitForWindowActive(window(WindowId::gjfrmdzjs)));
        auto *list = control<QComboBox>(WindowId::gjfrmdzjs, u"guigelist"_s);
        list->setFocus();
        QTest::keyClicks(list->lineEdit(), u"500*500"_s);
        QTest::keyClick(list->lineEdit(), Qt::Key_Return);
        // A prefix of an entry is not completed into a pick either.
        list->lineEdit()->clear();
        QTest::keyClicks(list->lineEdit(), u"30"_s);
        QTest::keyClick(list->lineEdit(), Qt::Key_Return);
        box(WindowId::gjfrmdzjs, u"fjctxt"_s)->setFocus();
        QCOMPARE(box(WindowId::gjfrmdzjs, u"dzktxt"_s)->text(), QString());
        QCOMPARE(box(WindowId::gjfrmdzjs, u"dzctxt"_s)->text(), QString());
    }

    void inputsSurviveAVisitElsewhere()
    {
        windows().show(WindowId::gjfrmdzjs);
        box(WindowId::gjfrmdzjs, u"fjctxt"_s)->setText(u"5"_s);
        box(WindowId::gjfrmdzjs, u"fjktxt"_s)->setText(u"4"_s);
        pick(control<QComboBox>(WindowId::gjfrmdzjs, u"guigelist"_s), 3);
        click(window(WindowId::gjfrmdzjs)->control(u"Picture2"_s));
        clickMenuEntry(WindowId::gjfrmdzjs, 2);
        QCOMPARE(visibleToolWindows(), QStringList{u"gjfrmdbjs"_s});
        clickMenuEntry(WindowId::gjfrmdbjs, 1);
        QCOMPARE(visibleToolWindows(), QStringList{u"gjfrmdzjs"_s});
        QCOMPARE(box(WindowId::gjfrmdzjs, u"jsrstxt"_s)->text(), u"55"_s);
        QCOMPARE(box(WindowId::gjfrmdzjs, u"dzktxt"_s)->text(), u"600"_s);
        QCOMPARE(control<QComboBox>(WindowId::gjfrmdzjs, u"guigelist"_s)->currentText(), u"600*600"_s);
    }

    void focusOrder_data()
    {
        QTest::addColumn<int>("tool");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("tiles") << int(WindowId::gjfrmdzjs)
                               << QStringList{u"fjctxt"_s,    u"dzctxt"_s, u"fjktxt"_s,
                                              u"guigelist"_s, u"dzktxt"_s, u"jsrstxt"_s};
        QTest::newRow("boards") << int(WindowId::gjfrmdbjs)
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
        windows().show(WindowId::gjfrmdbjs);
        window(WindowId::gjfrmdbjs)->close();
        QCOMPARE(m_endRequests, 1);
    }
};

QTEST_MAIN(TestToolWindows)
#include "test_toolwindows.moc"
