// What screen readers and the keyboard reach: every place of the reachable
// windows that acts on a click, and Qt's own texts in Chinese.
#include "app/ProgramWindows.h"
#include "app/QtTranslations.h"
#include "fakes/NewsPage.h"
#include "platform/InertBrowser.h"
#include "platform/RecordingMessages.h"
#include "platform/RecordingShell.h"
#include "platform/WidgetMessagePresenter.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QStyleFactory>
#include <QTest>
#include <QTimer>
#include <QToolTip>

using namespace Qt::StringLiterals;

namespace {
struct Place
{
    WindowId window;
    const char *path; // container/control, object names
    QAccessible::Role role;
    const char16_t *name;
    const char *key;
    const char *effect;
};

constexpr auto B = QAccessible::Button;
constexpr auto L = QAccessible::Link;
constexpr auto T = QAccessible::StaticText;
constexpr WindowId Main = WindowId::quote, Index = WindowId::toolsIndex, Tiles = WindowId::floorTiles,
                   Boards = WindowId::floorBoards, Help = WindowId::instructions;
const char chat[] = "opens http://127.0.0.1:8360/msgrd?v=1&uin=800061830&site=技术支持&menu=yes";

// Every shown place of the reachable windows that acts on a click (of the
// navigation tabs, all on the main window and the current one elsewhere), and
// a headline without a link, which does not. The highlighted tab is the
// current one: a click there lands on the highlight and does nothing.
// clang-format off
const Place places[] = {
    {Main,   "wkxbjqbutton1/Image0", B, u"自动报价",   "Alt+1", "nothing"},
    {Main,   "wkxbjqbutton1/Image1", B, u"家装工具",   "Alt+2", "shows gjfrmindex"},
    {Main,   "wkxbjqbutton1/Image2", B, u"装修效果图", "Alt+3", "opens http://127.0.0.1:8360/zxpic.htm"},
    {Main,   "wkxbjqbutton1/Image3", B, u"精确报价",   "Alt+4", "opens http://127.0.0.1:8360/MemberPrice.htm"},
    {Main,   "wkxbjqbutton1/Image4", B, u"使用说明",   "Alt+5", "shows shuomingform"},
    {Main,   "Picture1/Image5",      B, u"立即报价",   "Ctrl+Return", "says 请录入正确的：称呼"},
    {Main,   "Picture1/Image6",      B, u"在线咨询：建设网站",   "F1", chat},
    {Main,   "Picture1/Image7",      B, u"在线咨询：企业版购买", "F1", chat},
    {Main,   "Picture1/Image8",      B, u"在线咨询：合作加盟",   "F1", chat},
    {Main,   "Picture1/Image9",      B, u"在线咨询：装修咨询",   "F1", chat},
    {Main,   "Picture1/Label21",     L, u"进入筑点官方",   "Alt+Home", "opens http://127.0.0.1:8360"},
    {Main,   "Frame2/news(0)",       L, u"新房验收要点",   "Ctrl+1", "opens http://127.0.0.1:8360/news/1.html"},
    {Main,   "Frame2/news(1)",       T, u"没有链接的标题", "Ctrl+2", "nothing"},
    {Index,  "wkxbjqbutton1/Image1", B, u"家装工具",   "Alt+2", "nothing"},
    {Index,  "Picture1/Picture2(1)", B, u"地砖计算器", "Ctrl+2", "shows gjfrmdzjs"},
    {Index,  "Picture1/Picture2(2)", B, u"地板计算器", "Ctrl+3", "shows gjfrmdbjs"},
    {Index,  "wkxbjqgjmenu1/Picture1(1)", B, u"地砖计算器", "Ctrl+2", "shows gjfrmdzjs"},
    {Index,  "wkxbjqgjmenu1/Picture1(2)", B, u"地板计算器", "Ctrl+3", "shows gjfrmdbjs"},
    {Tiles,  "wkxbjqbutton1/Image1", B, u"家装工具",   "Alt+2", "nothing"},
    {Tiles,  "wkxbjqgjmenu1/Picture1(1)", B, u"地砖计算器", "Ctrl+2", "nothing"},
    {Tiles,  "wkxbjqgjmenu1/Picture1(2)", B, u"地板计算器", "Ctrl+3", "shows gjfrmdbjs"},
    {Tiles,  "Picture1/Picture2",    B, u"计算", "Ctrl+Return", "says 填写数据有问题，请检查！"},
    {Boards, "wkxbjqbutton1/Image1", B, u"家装工具",   "Alt+2", "nothing"},
    {Boards, "wkxbjqgjmenu1/Picture1(1)", B, u"地砖计算器", "Ctrl+2", "shows gjfrmdzjs"},
    {Boards, "wkxbjqgjmenu1/Picture1(2)", B, u"地板计算器", "Ctrl+3", "nothing"},
    {Boards, "Picture1/Picture2",    B, u"计算", "Ctrl+Return", "says 填写数据有问题，请检查！"},
    {Help,   "wkxbjqbutton1/Image0", B, u"自动报价",   "Alt+1", "shows main"},
    {Help,   "wkxbjqbutton1/Image4", B, u"使用说明",   "Alt+5", "nothing"},
};
// clang-format on

QString pathOf(const QAccessibleInterface *node)
{
    const QObject *object = node->object();
    const QObject *parent = object ? object->parent() : nullptr;
    return parent ? parent->objectName() + u'/' + object->objectName() : QString();
}

// The shown buttons and links below root that can be pressed.
void collectActing(QAccessibleInterface *root, QHash<QString, QAccessibleInterface *> &acting)
{
    for (int i = 0; i < root->childCount(); ++i) {
        QAccessibleInterface *child = root->child(i);
        if (!child || child->state().invisible)
            continue;
        QAccessibleActionInterface *actions = child->actionInterface();
        const bool buttonOrLink = child->role() == QAccessible::Button || child->role() == QAccessible::Link;
        if (buttonOrLink && actions &&
            actions->actionNames().contains(QAccessibleActionInterface::pressAction()))
            acting.insert(pathOf(child), child);
        collectActing(child, acting);
    }
}
} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT

private:
    RecordingShell m_shell;
    RecordingMessages m_messages;
    std::unique_ptr<ProgramWindows> m_windows;

    // Starts afresh with window on screen, active, as a user reaches it.
    FormWindow *present(WindowId window)
    {
        m_shell.opened.clear();
        m_messages.shown.clear();
        m_windows = std::make_unique<ProgramWindows>(DesktopServices{m_shell, m_messages, inertBrowsers()},
                                                     QString(), MainWindow::Start::LayoutOnly);
        auto *main = static_cast<MainWindow *>(m_windows->window(WindowId::quote));
        static_cast<InertBrowser *>(main->browser(u"WebBrowser1"_s))
            ->setDocument(DomSnapshot{
                NewsPage::input(u"news1"_s, u"新房验收要点"_s, u"http://127.0.0.1:8360/news/1.html"_s),
                NewsPage::input(u"news2"_s, u"没有链接的标题"_s, u""_s),
                NewsPage::input(u"news3"_s, u"已结束"_s)});
        main->getnews();
        m_windows->show(WindowId::quote);
        Navigation &go = m_windows->navigation();
        if (window == WindowId::instructions)
            go.buttonChosen(5);
        else if (window != WindowId::quote)
            go.buttonChosen(2);
        if (window == WindowId::floorTiles || window == WindowId::floorBoards)
            go.toolChosen(window == WindowId::floorTiles ? 2 : 3);
        FormWindow *shown = m_windows->window(window);
        shown->activateWindow();
        return QTest::qWaitForWindowActive(shown) ? shown : nullptr;
    }

    QString visibleWindows() const
    {
        QStringList names;
        for (int i = 0; i < windowCount; ++i) {
            if (FormWindow *w = m_windows->existing(WindowId(i)); w && w->isVisible())
                names.append(w->objectName());
        }
        return names.join(u' ');
    }

    // What happened since the windows in sight were before.
    QString effect(const QString &before) const
    {
        QStringList seen;
        if (visibleWindows() != before)
            seen.append(u"shows "_s + visibleWindows());
        for (const QString &url : m_shell.opened)
            seen.append(u"opens "_s + url);
        for (const QString &text : m_messages.shown)
            seen.append(u"says "_s + text);
        return seen.isEmpty() ? u"nothing"_s : seen.join(u"; "_s);
    }

    static void addPlaceColumns()
    {
        QTest::addColumn<int>("window");
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        for (const Place &p : places) {
            QTest::addRow("%d %s", int(p.window), p.path)
                << int(p.window) << QString::fromLatin1(p.path) << int(p.role) << QString::fromUtf16(p.name)
                << QString::fromLatin1(p.key) << QString::fromUtf8(p.effect);
        }
    }

    static QStringList m_announced;
    static void recordAnnouncement(QAccessibleEvent *event)
    {
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
        if (event->type() == QAccessible::Announcement)
            m_announced.append(static_cast<QAccessibleAnnouncementEvent *>(event)->message());
#else
        Q_UNUSED(event);
#endif
    }

private Q_SLOTS:
    // Events reach the handler, as they reach the screen reader's bridge.
    void initTestCase()
    {
        QAccessible::installUpdateHandler(recordAnnouncement);
        QAccessible::setActive(true);
    }
    void cleanup()
    {
        m_windows.reset();
    }

    // Each place reports its role, name and key; its press action and its key
    // do what its click does.
    void placeActsByScreenReaderAndKey_data()
    {
        addPlaceColumns();
    }
    void placeActsByScreenReaderAndKey()
    {
        QFETCH(int, window);
        QFETCH(QString, path);
        QFETCH(int, role);
        QFETCH(QString, name);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        const QString press = QAccessibleActionInterface::pressAction();
        const bool acts = role != QAccessible::StaticText;
        // By the press action, by the key, and by the keypad's Enter where the key is Return.
        enum Way
        {
            Press,
            Key,
            Keypad
        };
        for (const Way way : {Press, Key, Keypad}) {
            const QKeyCombination combination = QKeySequence(key)[0];
            if (way == Keypad && combination.key() != Qt::Key_Return)
                continue;
            FormWindow *shown = present(WindowId(window));
            QVERIFY(shown);
            QWidget *place = shown->findChild<QWidget *>(path.section(u'/', 0, 0))
                                 ->findChild<QWidget *>(path.section(u'/', 1), Qt::FindDirectChildrenOnly);
            QVERIFY(place);
            QAccessibleInterface *node = QAccessible::queryAccessibleInterface(place);
            QCOMPARE(int(node->role()), role);
            QCOMPARE(node->text(QAccessible::Name), name);
            QAccessibleActionInterface *actions = node->actionInterface();
            QCOMPARE(actions->actionNames(), acts ? QStringList{press} : QStringList{});
            QCOMPARE(actions->keyBindingsForAction(press), acts ? QStringList{key} : QStringList{});
            // A tab is checked while it is the current one, which the highlight names.
            if (path.startsWith(u"wkxbjqbutton1/"_s)) {
                const bool current = expected == u"nothing"_s;
                QCOMPARE(bool(node->state().checked), current);
                if (current) {
                    QWidget *highlight = place->parentWidget()->findChild<QWidget *>(u"Image5"_s);
                    QCOMPARE(QAccessible::queryAccessibleInterface(highlight)->text(QAccessible::Name), name);
                }
            }
            // Pointing at it names it and its key, unless it has a tooltip of its own.
            if (acts && way == Press && place->toolTip().isEmpty()) {
                QHelpEvent hover(QEvent::ToolTip, QPoint(2, 2), place->mapToGlobal(QPoint(2, 2)));
                QCoreApplication::sendEvent(place, &hover);
                QCOMPARE(QToolTip::text(),
                         u"%1（%2）"_s.arg(name, QKeySequence(key).toString(QKeySequence::NativeText)));
                QToolTip::hideText();
            }
            const QString before = visibleWindows();
            if (way == Press) {
                // The action returns before the click's effect, as Qt's own buttons do.
                actions->doAction(press);
                QCOMPARE(effect(before), u"nothing"_s);
                QCoreApplication::processEvents();
            } else {
                // The keys are none that a text box or a combo box takes for itself.
                for (QLineEdit *edit : shown->findChildren<QLineEdit *>()) {
                    if (edit->isEnabled())
                        edit->setFocus();
                }
                QWidget *focus = QApplication::focusWidget();
                const bool keypad = way == Keypad;
                QTest::keyClick(focus ? focus : shown, keypad ? Qt::Key_Enter : combination.key(),
                                combination.keyboardModifiers() |
                                    (keypad ? Qt::KeypadModifier : Qt::NoModifier));
            }
            QCOMPARE(effect(before), expected);
        }
    }

    // Fields are named by the label a sighted user reads beside them, and
    // keep the name once they hold a value; options say their group.
    void fieldsSpeakTheirLabels_data()
    {
        QTest::addColumn<int>("window");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("name");
        const auto row = [](const char *tag, WindowId w, const char16_t *field, const char16_t *value,
                            const char16_t *name) {
            QTest::newRow(tag) << int(w) << QString::fromUtf16(field) << QString::fromUtf16(value)
                               << QString::fromUtf16(name);
        };
        row("province", Main, u"city1", u"110000|北京市",
            u"业主地址 省份 快捷键：Ctrl+回车 立即报价；Alt+1至Alt+5 切换栏目；Ctrl+1至Ctrl+0 "
            u"打开第1至第10条最新动态；F1 在线咨询；Alt+Home 进入筑点官方。");
        row("city", Main, u"city2", u"110100|市辖区", u"业主地址 城市");
        row("district", Main, u"city3", u"110101|东城区", u"业主地址 区县");
        row("house type", Main, u"Combo6", u"三房二厅", u"户型");
        row("bathrooms", Main, u"Combo4", u"二间", u"卫生间");
        row("balconies", Main, u"Combo5", u"一间", u"阳台");
        row("tile sizes", Tiles, u"guigelist", u"450*450", u"地砖规格");
        row("board sizes", Boards, u"guigelist", u"910*122", u"地板规格");
        row("area", Main, u"Text5", u"12", u"厨房面积");
        row("style", Main, u"Option3", u"", u"中式怀旧 装修风格");
        row("last style", Main, u"Option5", u"", u"西式田园 装修风格");
        row("grade", Main, u"Option8", u"", u"高档豪华 装修档次");
    }
    void fieldsSpeakTheirLabels()
    {
        QFETCH(int, window);
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QString, name);
        FormWindow *shown = present(WindowId(window));
        QVERIFY(shown);
        QWidget *widget = shown->control(field);
        QVERIFY(widget);
        if (auto *combo = qobject_cast<QComboBox *>(widget)) {
            const int index = combo->findText(value);
            index >= 0 ? combo->setCurrentIndex(index) : combo->setEditText(value);
        } else if (auto *edit = qobject_cast<QLineEdit *>(widget)) {
            edit->setText(value);
        }
        QAccessibleInterface *node = QAccessible::queryAccessibleInterface(widget);
        if (auto *combo = qobject_cast<QComboBox *>(widget)) {
            // The rest as Qt reports a combo box: a list to open, the line edit second.
            QVERIFY(node->state().expandable);
            for (int i = 0; i < node->childCount(); ++i)
                QCOMPARE(node->indexOfChild(node->child(i)), i);
            QCOMPARE(node->child(1)->object(), combo->lineEdit());
            // Pressed by a screen reader, it opens its list, if it has one.
            node->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
            QCOMPARE(combo->view()->isVisible(), combo->count() > 0);
            combo->hidePopup();
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
            // Where Orca 48 reads the value, and the entry it speaks on a change.
            const auto attributes = node->attributesInterface()
                                        ->attributeValue(QAccessible::Attribute::Custom)
                                        .value<QHash<QString, QString>>();
            QCOMPARE(attributes.value(u"valuetext"_s), combo->currentText());
            QAccessibleSelectionInterface *selection = node->selectionInterface();
            QCOMPARE(selection->selectedItemCount(), combo->currentIndex() >= 0 ? 1 : 0);
            if (combo->currentIndex() >= 0)
                QCOMPARE(selection->selectedItem(0)->text(QAccessible::Name), combo->currentText());
            // Entries are picked in the list only: the box's selection just reports.
            QVERIFY(!selection->select(node) && !selection->unselect(node) && !selection->selectAll() &&
                    !selection->clear());
#endif
        }
        const QString description = node->text(QAccessible::Description);
        QCOMPARE(QStringList({node->text(QAccessible::Name), description}).join(u' ').trimmed(), name);
        if (!value.isEmpty())
            QCOMPARE(node->text(QAccessible::Value), value);
    }

    // A result that appears away from the focus reaches a screen reader: a
    // keyboard user is taken to it, otherwise it is announced (Qt 6.8 on).
    void resultsReachScreenReaders_data()
    {
        QTest::addColumn<int>("window");
        QTest::addColumn<bool>("byMouse");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QString>("announced");
        QTest::newRow("compute by key") << int(Tiles) << false << u"jsrstxt"_s << QString();
        QTest::newRow("compute by mouse") << int(Tiles) << true << u"fjktxt"_s << u"计算结果：55块"_s;
        QTest::newRow("quote by key")
            << int(Main) << false << u"Text8"_s << u"报价请求已在浏览器中打开，手机号码已清空"_s;
        QTest::newRow("quote by mouse")
            << int(Main) << true << u"chenghutext"_s << u"报价请求已在浏览器中打开，手机号码已清空"_s;
        QTest::newRow("area switched on")
            << int(Main) << false << u"Combo6"_s << u"可以填写客厅面积、卧房面积"_s;
    }
    void resultsReachScreenReaders()
    {
        QFETCH(int, window);
        QFETCH(bool, byMouse);
        QFETCH(QString, focus);
        QFETCH(QString, announced);
        FormWindow *shown = present(WindowId(window));
        QVERIFY(shown);
        const auto text = [shown](const char16_t *name) {
            return shown->control<QLineEdit>(QString::fromUtf16(name));
        };
        QWidget *button = nullptr;
        m_announced.clear();
        if (window == int(Tiles)) {
            text(u"fjctxt")->setText(u"5"_s);
            text(u"dzktxt")->setText(u"600"_s);
            text(u"dzctxt")->setText(u"600"_s);
            text(u"fjktxt")->setText(u"4"_s);
            text(u"fjktxt")->setFocus();
            button = shown->control(u"Picture2"_s);
        } else if (focus == u"Combo6"_s) {
            auto *houseType = shown->control<QComboBox>(focus);
            houseType->setFocus();
            houseType->setCurrentIndex(0);
            QTest::keyClick(houseType, Qt::Key_Down); // a pick: 二房一厅
        } else {
            for (const char16_t *region : {u"city1", u"city2", u"city3"})
                shown->control<QComboBox>(QString::fromUtf16(region))->setEditText(u"110000|北京市"_s);
            text(u"Text8")->setText(u"12345678901"_s);
            text(u"chenghutext")->setText(u"王"_s);
            text(u"chenghutext")->setFocus();
            button = shown->control(u"Image5"_s);
        }
        if (button && byMouse)
            QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, 5));
        else if (button)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(QApplication::focusWidget()->objectName(), focus);
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
        QCOMPARE(m_announced, announced.isEmpty() ? QStringList{} : QStringList{announced});
#else
        QCOMPARE(m_announced, QStringList{}); // no announcements before Qt 6.8
#endif
    }

    // A dark desktop palette leaves the windows in their designed colours:
    // dark captions on the light artwork, dark text in white boxes.
    void designedColoursOnADarkDesktop()
    {
        const QPalette desktop = QApplication::palette();
        QPalette dark(QColor(53, 53, 53));
        dark.setColor(QPalette::WindowText, QColor(220, 220, 220));
        dark.setColor(QPalette::Text, QColor(220, 220, 220));
        dark.setColor(QPalette::Base, QColor(30, 30, 30));
        QApplication::setPalette(dark);
        FormWindow *shown = present(Main);
        QApplication::setPalette(desktop);
        QVERIFY(shown);
        QCOMPARE(shown->control(u"Label2"_s)->palette().color(QPalette::WindowText), QColor(Qt::black));
        QCOMPARE(shown->control(u"Option1"_s)->palette().color(QPalette::WindowText), QColor(Qt::black));
        QCOMPARE(shown->control(u"Text8"_s)->palette().color(QPalette::Base), QColor(Qt::white));
        QCOMPARE(shown->control(u"Combo6"_s)->palette().color(QPalette::Text), QColor(Qt::black));
        // The line between the form and the news is drawn, dark on the light window.
        const QImage line = shown->control(u"Line1"_s)->grab().toImage();
        QCOMPARE(line.pixelColor(0, line.height() / 2), QColor(Qt::black));
        // The windows' colours are Qt's own light ones, in every state.
        const QPalette light = std::unique_ptr<QStyle>(QStyleFactory::create(u"Fusion"_s))->standardPalette();
        using Role = QPalette::ColorRole;
        for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            for (int r = 0; r < QPalette::NColorRoles; ++r)
                QCOMPARE(shown->palette().color(group, Role(r)), light.color(group, Role(r)));
        }
    }

    // No other shown place acts.
    void noOtherPlaceActs()
    {
        for (const WindowId window : {Main, Index, Tiles, Boards, Help}) {
            FormWindow *shown = present(window);
            QVERIFY(shown);
            QHash<QString, QAccessibleInterface *> acting;
            collectActing(QAccessible::queryAccessibleInterface(shown), acting);
            QStringList expected;
            for (int tab = 0; tab < 5; ++tab)
                expected.append(u"wkxbjqbutton1/Image%1"_s.arg(tab));
            for (const Place &p : places) {
                if (p.window == window && p.role != QAccessible::StaticText)
                    expected.append(QString::fromLatin1(p.path));
            }
            QStringList found = acting.keys();
            expected.removeDuplicates();
            expected.sort();
            found.sort();
            QCOMPARE(found, expected);
        }
    }

    // The message box's button and a text box's menu speak Chinese.
    void qtTextsAreChinese()
    {
        QVERIFY(installQtTranslations(*qApp));
        QString button;
        QTimer::singleShot(0, this, [&button] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            button = box->button(QMessageBox::Ok)->text();
            box->accept();
        });
        WidgetMessagePresenter(u"筑点网rivav"_s).inform(u"请选择业主地址！"_s);
        QCOMPARE(button, u"确定"_s);

        QLineEdit edit;
        const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
        QStringList texts;
        for (const QAction *action : menu->actions()) {
            if (!action->isSeparator())
                texts.append(action->text().section(u'\t', 0, 0));
        }
        QCOMPARE(texts, (QStringList{u"撤消(&U)"_s, u"重做(&R)"_s, u"剪切(&T)"_s, u"复制(&C)"_s,
                                     u"粘贴(&P)"_s, u"删除"_s, u"全选"_s}));
    }
};

QStringList TestAccessibility::m_announced;

QTEST_MAIN(TestAccessibility)
#include "test_accessibility.moc"
