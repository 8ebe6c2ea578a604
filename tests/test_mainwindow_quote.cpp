#include "app/ProgramWindows.h"
#include "app/WindowSet.h"
#include "app/core/AppTexts.h"
#include "controls/PictureBox.h"
#include "platform/InertBrowser.h"
#include "platform/RecordingMessages.h"
#include "platform/RecordingShell.h"
#include "quote/MainWindow.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {
const QString regionLine =
    u"110000|北京市,110100|市辖区,110101|东城区,110102|西城区,120000|天津市,120100|市辖区,"
    "120101|和平区,110228|密云县,710000|台湾省"_s;

// Key presses carrying any text, Chinese included.
void typeText(QWidget *widget, const QString &text)
{
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

QStringList itemsOf(QComboBox *combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items.append(combo->itemText(i));
    return items;
}
} // namespace

class TestMainWindowQuote : public QObject
{
    Q_OBJECT

private:
    RecordingShell m_shell;
    RecordingMessages m_messages;
    std::unique_ptr<ProgramWindows> m_windows;
    MainWindow *m_main = nullptr;

    QComboBox *combo(const char16_t *name) const
    {
        return m_main->control<QComboBox>(QString::fromUtf16(name));
    }
    QLineEdit *edit(const char16_t *name) const
    {
        return m_main->control<QLineEdit>(QString::fromUtf16(name));
    }

    // A pick with the keyboard: the arrow key moves onto the entry.
    void pick(QComboBox *box, const QString &entry)
    {
        const int index = box->findText(entry, Qt::MatchExactly);
        QVERIFY2(index >= 0, qPrintable(entry));
        box->setCurrentIndex(index - 1);
        QTest::keyClick(box, Qt::Key_Down);
        QCOMPARE(box->currentText(), entry);
    }

    // Typing into the edit part, then Return and leaving the box.
    void type(QComboBox *box, const QString &text)
    {
        box->setFocus();
        box->lineEdit()->selectAll();
        typeText(box, text);
        QTest::keyClick(box, Qt::Key_Return);
        edit(u"chenghutext")->setFocus();
        QCOMPARE(box->currentText(), text);
    }

private Q_SLOTS:
    void init()
    {
        m_shell.opened.clear();
        m_messages.shown.clear();
        m_windows = std::make_unique<ProgramWindows>(DesktopServices{m_shell, m_messages, inertBrowsers()},
                                                     regionLine, MainWindow::Start::LayoutOnly);
        m_windows->setEndProcess([] {});
        m_main = qobject_cast<MainWindow *>(m_windows->window(WindowId::quote));
        QVERIFY(m_main);
        m_main->show();
        m_main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_main));
        m_main->tick();
    }
    void cleanup()
    {
        m_windows.reset();
        m_main = nullptr;
    }

    void tickListsProvinces()
    {
        QCOMPARE(itemsOf(combo(u"city1")),
                 (QStringList{u"110000|北京市"_s, u"120000|天津市"_s, u"710000|台湾省"_s}));
        QCOMPARE(combo(u"city1")->currentText(), u"请选择"_s);
        QCOMPARE(combo(u"city2")->count(), 0);
        QCOMPARE(combo(u"city2")->currentText(), u"请选择"_s);
        QVERIFY(m_main->control(u"WebBrowser2"_s)->isHidden());
        QCOMPARE(m_main->cityarray().size(), 9);
    }

    void cascade()
    {
        pick(combo(u"city1"), u"110000|北京市"_s);
        QCOMPARE(itemsOf(combo(u"city2")), (QStringList{u"请选择"_s, u"110100|市辖区"_s}));
        QCOMPARE(combo(u"city2")->currentText(), u"请选择"_s);
        QCOMPARE(combo(u"city3")->count(), 0);
        QCOMPARE(combo(u"city3")->currentText(), u"请选择"_s);

        // From "请选择" the arrow moves on to the first city.
        QTest::keyClick(combo(u"city2"), Qt::Key_Down);
        QCOMPARE(combo(u"city2")->currentText(), u"110100|市辖区"_s);
        QCOMPARE(itemsOf(combo(u"city3")),
                 (QStringList{u"请选择"_s, u"110101|东城区"_s, u"110102|西城区"_s}));
        QCOMPARE(combo(u"city3")->currentText(), u"请选择"_s);

        // Another province empties the districts again.
        pick(combo(u"city1"), u"120000|天津市"_s);
        QCOMPARE(itemsOf(combo(u"city2")), (QStringList{u"请选择"_s, u"120100|市辖区"_s}));
        QCOMPARE(combo(u"city3")->count(), 0);
        QCOMPARE(combo(u"city3")->currentText(), u"请选择"_s);
    }

    void pickWithTheMouse()
    {
        QComboBox *city1 = combo(u"city1");
        city1->showPopup();
        QAbstractItemView *view = city1->view();
        QVERIFY(QTest::qWaitForWindowExposed(view->window()));
        const QRect item = view->visualRect(view->model()->index(1, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
        QTRY_VERIFY(!view->isVisible());
        QCOMPARE(city1->currentText(), u"120000|天津市"_s);
        QCOMPARE(itemsOf(combo(u"city2")), (QStringList{u"请选择"_s, u"120100|市辖区"_s}));
    }

    void provinceWithoutCities()
    {
        pick(combo(u"city1"), u"710000|台湾省"_s);
        QCOMPARE(itemsOf(combo(u"city2")), QStringList{u"请选择"_s});
        QCOMPARE(combo(u"city2")->currentText(), QString());
        QCOMPARE(combo(u"city3")->count(), 0);
        QCOMPARE(combo(u"city3")->currentText(), u"请选择"_s);
    }

    void pleaseChooseInCity2ListsNoDistricts()
    {
        pick(combo(u"city1"), u"110000|北京市"_s);
        pick(combo(u"city2"), u"110100|市辖区"_s);
        pick(combo(u"city2"), u"请选择"_s);
        QCOMPARE(itemsOf(combo(u"city3")), QStringList{u"请选择"_s});
    }

    void typingRefillsNothing()
    {
        pick(combo(u"city1"), u"110000|北京市"_s);
        type(combo(u"city1"), u"120000|天津市"_s);
        QCOMPARE(itemsOf(combo(u"city2")), (QStringList{u"请选择"_s, u"110100|市辖区"_s}));

        // A programmatic change followed by a focus change is no pick either.
        combo(u"city2")->setFocus();
        combo(u"city2")->setEditText(u"110100|市辖区"_s);
        edit(u"Text8")->setFocus();
        QCOMPARE(combo(u"city3")->count(), 0);

        // The districts follow the typed province text: Tianjin's under Beijing's city code.
        pick(combo(u"city2"), u"110100|市辖区"_s);
        QCOMPARE(itemsOf(combo(u"city3")), (QStringList{u"请选择"_s, u"120101|和平区"_s}));
    }

    void roomFields()
    {
        QLineEdit *living = edit(u"Text2"), *dining = edit(u"Text3"), *bedroom = edit(u"Text4");
        QVERIFY(!living->isEnabled() && !dining->isEnabled() && !bedroom->isEnabled());
        pick(combo(u"Combo6"), u"三房一厅"_s);
        QVERIFY(living->isEnabled() && !dining->isEnabled() && bedroom->isEnabled());
        pick(combo(u"Combo6"), u"二房二厅"_s);
        QVERIFY(living->isEnabled() && dining->isEnabled() && bedroom->isEnabled());
        dining->setText(u"9"_s);
        pick(combo(u"Combo6"), u"二房一厅"_s);
        QVERIFY(!dining->isEnabled());
        QCOMPARE(dining->text(), u"9"_s);
        QCOMPARE(living->text(), u"0"_s);

        type(combo(u"Combo6"), u"二房二厅"_s);
        QVERIFY(!dining->isEnabled());

        QVERIFY(!edit(u"Text6")->isEnabled());
        pick(combo(u"Combo4"), u"一间"_s);
        QVERIFY(edit(u"Text6")->isEnabled());
        type(combo(u"Combo4"), u"请选择"_s);
        QVERIFY(edit(u"Text6")->isEnabled());

        QVERIFY(!edit(u"Text7")->isEnabled());
        pick(combo(u"Combo5"), u"四间"_s);
        QVERIFY(edit(u"Text7")->isEnabled());
        QVERIFY(edit(u"Text5")->isEnabled());
    }

    void submission()
    {
        pick(combo(u"city1"), u"110000|北京市"_s);
        pick(combo(u"city2"), u"110100|市辖区"_s);
        pick(combo(u"city3"), u"110101|东城区"_s);
        pick(combo(u"Combo6"), u"二房一厅"_s);
        pick(combo(u"Combo5"), u"二间"_s);
        edit(u"Text2")->setText(u"30"_s);
        edit(u"Text3")->setText(u"7"_s); // disabled, still sent
        edit(u"Text4")->setText(u" 12.50 "_s);
        m_main->control<QRadioButton>(u"Option4"_s)->click();
        m_main->control<QRadioButton>(u"Option8"_s)->click();
        QTest::keyClicks(edit(u"Text8"), u"13912345678"_s);
        typeText(edit(u"chenghutext"), u"李"_s);

        QWidget *button = m_main->control(u"Image5"_s);
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(m_messages.shown, QStringList());
        QCOMPARE(m_shell.opened,
                 QStringList{AppTexts::webUrl(
                     u"/AutoPrice.action?bom1=2&bom2=1&bom3=0&bom4=1&bom5=2&bom6=0&bomarea2=30&bomarea3=7&"
                     "bomarea1=12.5&bomarea4=0&bomarea5=0&bomarea6=0&pho=13912345678&cit1=110000&cit2=110100&"
                     "cit3=110101&dc=3&findman3=2&kongzhi=tijiao&findman=2&fengge=4&"
                     "sumcityname=%B1%B1%BE%A9%CA%D0%CA%D0%CF%BD%C7%F8%B6%AB%B3%C7%C7%F8&xingshi=%C0%EE"_s)});
        QCOMPARE(edit(u"Text8")->text(), QString());
        QCOMPARE(edit(u"Text4")->text(), u" 12.50 "_s);
        QCOMPARE(edit(u"chenghutext")->text(), u"李"_s);
        QCOMPARE(combo(u"city3")->currentText(), u"110101|东城区"_s);

        // Right after success the emptied mobile number fails.
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(m_messages.shown, QStringList{u"请录入正确的：电话号码"_s});
        QCOMPARE(m_shell.opened.size(), 1);

        // Each style and each grade sends its own number.
        for (int style = 1; style <= 5; ++style) {
            const int grade = (style - 1) % 3 + 1;
            m_main->control<QRadioButton>(u"Option%1"_s.arg(style))->click();
            m_main->control<QRadioButton>(u"Option%1"_s.arg(5 + grade))->click();
            edit(u"Text8")->setText(u"13912345678"_s);
            QTest::mouseClick(button, Qt::LeftButton);
            QCOMPARE(m_shell.opened.size(), style + 1);
            QVERIFY(m_shell.opened.last().contains(u"&dc=%1&"_s.arg(grade)));
            QVERIFY(m_shell.opened.last().contains(u"&fengge=%1&"_s.arg(style)));
        }
    }

    void failedCheckChangesNothing_data()
    {
        QTest::addColumn<QString>("kitchen");
        QTest::addColumn<QString>("message");
        QTest::newRow("defaults name the form of address") << u"0"_s << u"请录入正确的：称呼"_s;
        QTest::newRow("bad kitchen area") << u"abc"_s << u"请录入正确的：厨房面积"_s;
    }
    void failedCheckChangesNothing()
    {
        QFETCH(QString, kitchen);
        QFETCH(QString, message);
        if (kitchen != u"0"_s) {
            pick(combo(u"city1"), u"110000|北京市"_s);
            pick(combo(u"city2"), u"110100|市辖区"_s);
            pick(combo(u"city3"), u"110101|东城区"_s);
            edit(u"chenghutext")->setText(u"王"_s);
            edit(u"Text5")->setText(kitchen);
        }
        edit(u"Text8")->setText(u"13912345678"_s);
        QTest::mouseClick(m_main->control(u"Image5"_s), Qt::LeftButton);
        QCOMPARE(m_messages.shown, QStringList{message});
        QVERIFY(m_shell.opened.isEmpty());
        QCOMPARE(edit(u"Text8")->text(), u"13912345678"_s);
    }

    void emptyRegionLineGivesEmptyLists()
    {
        cleanup();
        m_windows = std::make_unique<ProgramWindows>(DesktopServices{m_shell, m_messages, inertBrowsers()},
                                                     QString(), MainWindow::Start::LayoutOnly);
        m_main = qobject_cast<MainWindow *>(m_windows->window(WindowId::quote));
        m_main->fillprovince();
        QCOMPARE(combo(u"city1")->count(), 0);
        QCOMPARE(combo(u"city1")->currentText(), u"请选择"_s);
        QVERIFY(m_main->cityarray().isEmpty());
    }
};

QTEST_MAIN(TestMainWindowQuote)
#include "test_mainwindow_quote.moc"
