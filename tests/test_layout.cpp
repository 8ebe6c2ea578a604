// The nine windows as laid out, read back through the layout dump.
#include "app/ProgramWindows.h"
#include "app/UiDump.h"
#include "controls/CaptionLabel.h"
#include "controls/FormWindow.h"
#include "controls/PictureBox.h"
#include "platform/InertBrowser.h"
#include "platform/RecordingMessages.h"
#include "platform/RecordingShell.h"

#include <QFile>
#include <QImageReader>
#include <QJsonObject>
#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;

class TestLayout : public QObject
{
    Q_OBJECT

private:
    RecordingShell m_shell;
    RecordingMessages m_messages;
    std::unique_ptr<ProgramWindows> m_windows;
    QJsonArray m_dump;

    QJsonObject windowNamed(const QString &name) const
    {
        for (const QJsonValue &w : m_dump) {
            if (w[u"name"_s].toString() == name)
                return w.toObject();
        }
        return {};
    }

    QJsonObject controlOf(const QString &window, const QString &container, const QString &name) const
    {
        for (const QJsonValue &c : windowNamed(window)[u"controls"_s].toArray()) {
            if (c[u"name"_s].toString() == name && c[u"container"_s].toString() == container)
                return c.toObject();
        }
        return {};
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_windows = std::make_unique<ProgramWindows>(DesktopServices{m_shell, m_messages, inertBrowsers()},
                                                     QString(), MainWindow::Start::LayoutOnly);
        m_dump = dumpWindows(*m_windows);
        // The windows' pictures are read without loading every image plugin
        // installed on the way (the reader's format detection does that).
        QFile maps(u"/proc/self/maps"_s);
        if (maps.open(QIODevice::ReadOnly))
            QVERIFY(!maps.readAll().contains("imageformats/libqjpeg"));
    }

    void cleanupTestCase() { m_windows.reset(); }

    void windows_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QSize>("client");
        QTest::addColumn<bool>("sizable");
        QTest::addColumn<bool>("icon");
        const QString account = u"800061830"_s;
        QTest::newRow("main") << u"main"_s << u"rivav1.07（筑点xp版,技术qq:"_s + account + u"）"_s
                              << QSize(797, 574) << false << true;
        QTest::newRow("shuomingform")
            << u"shuomingform"_s << u"rivav1.06（筑点xp版,技术qq:"_s + account + u"）"_s << QSize(799, 575)
            << true << true;
        QTest::newRow("gjfrmindex") << u"gjfrmindex"_s << u"家装工具"_s << QSize(799, 574) << false << true;
        QTest::newRow("gjfrmqzjs") << u"gjfrmqzjs"_s << u"Form1"_s << QSize(801, 577) << false << false;
        QTest::newRow("gjfrmdzjs") << u"gjfrmdzjs"_s << u"地砖计算器"_s << QSize(799, 574) << true << false;
        QTest::newRow("gjfrmdbjs") << u"gjfrmdbjs"_s << u"地板计算器"_s << QSize(799, 574) << true << false;
        QTest::newRow("gjfrmbzjs") << u"gjfrmbzjs"_s << u"Form1"_s << QSize(799, 574) << true << false;
        QTest::newRow("gjfrmtljs") << u"gjfrmtljs"_s << u"Form1"_s << QSize(799, 574) << true << false;
        QTest::newRow("gjfrmcljs") << u"gjfrmcljs"_s << u"Form1"_s << QSize(799, 573) << true << false;
    }
    void windows()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QSize, client);
        QFETCH(bool, sizable);
        QFETCH(bool, icon);
        const QJsonObject w = windowNamed(name);
        QCOMPARE(w[u"caption"_s].toString(), caption);
        QCOMPARE(QSize(w[u"width"_s].toInt() / 15, w[u"height"_s].toInt() / 15), client);
        QCOMPARE(w[u"sizable"_s].toBool(), sizable);
        QCOMPARE(w[u"icon"_s].toBool(), icon);

        // The live window agrees with what the dump says.
        for (int i = 0; i < windowCount; ++i) {
            FormWindow *live = m_windows->window(WindowId(i));
            if (live->objectName() != name)
                continue;
            QCOMPARE(live->size(), client);
            QCOMPARE(live->minimumSize() == live->maximumSize(), !sizable);
            QCOMPARE(live->windowTitle(), caption);
            QCOMPARE(!live->windowIcon().isNull() && icon, icon);
        }
    }

    void everyWindowHasBackgroundAndBar()
    {
        for (const QJsonValue &w : std::as_const(m_dump)) {
            const QString name = w[u"name"_s].toString();
            const QJsonObject picture = controlOf(name, name, u"Picture1"_s);
            QCOMPARE(picture[u"width"_s].toInt(), 12015);
            QCOMPARE(picture[u"height"_s].toInt(), 8655);
            const QJsonObject bar = controlOf(name, u"Picture1"_s, u"wkxbjqbutton1"_s);
            QCOMPARE(bar[u"left"_s].toInt(), 120);
            QCOMPARE(bar[u"top"_s].toInt(), 1515);
            QCOMPARE(bar[u"height"_s].toInt(), name == u"main"_s ? 615 : 735);
            const bool hasMenu = name.startsWith(u"gjfrm"_s);
            QCOMPARE(controlOf(name, u"Picture1"_s, u"wkxbjqgjmenu1"_s).isEmpty(), !hasMenu);
        }
    }

    void picturesHaveScreenPixels_data()
    {
        QTest::addColumn<int>("id");
        for (int i = 0; i < windowCount; ++i)
            QTest::newRow(WindowSet::nameOf(WindowId(i))) << i;
    }
    // Every picture a window holds, its icon and pointers included, has the
    // screen's pixels at its natural size: twice as many in the second run of
    // this test, on a screen of ratio 2 (QT_SCALE_FACTOR=2).
    void picturesHaveScreenPixels()
    {
        QFETCH(int, id);
        const qreal ratio = qEnvironmentVariable("QT_SCALE_FACTOR", u"1"_s).toDouble();
        FormWindow *live = m_windows->window(WindowId(id));
        QCOMPARE(live->devicePixelRatioF(), ratio);
        for (const PictureBox *box : live->findChildren<PictureBox *>()) {
            if (box->picture().isEmpty())
                continue;
            const QPixmap shown = box->pixmap();
            const QSize natural = QImageReader(box->picture()).size();
            QVERIFY2(shown.devicePixelRatio() == ratio && shown.size() == natural * ratio,
                     qPrintable(box->objectName()));
        }
        for (const CaptionLabel *label : live->findChildren<CaptionLabel *>()) {
            const QPixmap pointer = label->cursor().pixmap();
            if (!pointer.isNull())
                QVERIFY2(pointer.devicePixelRatio() == ratio, qPrintable(label->objectName()));
        }
        // The window manager picks the icon's size from those it is offered.
        if (live->shape().hasIcon) {
            const int natural = QImageReader(u":/art/app-icon.png"_s).size().width();
            const QList<QSize> offered = live->windowIcon().availableSizes();
            QVERIFY(std::ranges::any_of(offered, [&](QSize s) { return s.width() >= natural * ratio; }));
        }
    }

    void mainControls_data()
    {
        QTest::addColumn<QString>("container");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("twips");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<int>("tabIndex");
        const QString P = u"Picture1"_s;
        QTest::newRow("city1") << P << u"city1"_s << QRect(1440, 2640, 1695, 300) << u"请选择"_s << true << 2;
        QTest::newRow("Combo6") << P << u"Combo6"_s << QRect(1440, 3240, 1695, 300) << u"请选择"_s << true
                                << 32;
        QTest::newRow("Label3") << P << u"Label3"_s << QRect(225, 3240, 975, 375) << u"户    型"_s << true
                                << 19;
        QTest::newRow("Label16") << P << u"Label16"_s << QRect(6240, 3240, 855, 255) << u"阳  台"_s << true
                                 << 34;
        QTest::newRow("Text3") << P << u"Text3"_s << QRect(2880, 4320, 495, 375) << u"0"_s << false << 31;
        QTest::newRow("Text5") << P << u"Text5"_s << QRect(5520, 4320, 495, 375) << u"0"_s << true << 9;
        QTest::newRow("Option8") << u"Frame1"_s << u"Option8"_s << QRect(6480, 120, 1095, 255)
                                 << u"高档豪华"_s << true << 38;
        QTest::newRow("chenghutext") << P << u"chenghutext"_s << QRect(4920, 6000, 1455, 375) << QString()
                                     << true << 59;
        QTest::newRow("news(3)") << u"Frame2"_s << u"news(3)"_s << QRect(120, 1278, 1935, 255) << u"Label21"_s
                                 << true << 48;
        QTest::newRow("news(9)") << u"Frame2"_s << u"news(9)"_s << QRect(120, 3120, 1935, 255) << u"Label21"_s
                                 << true << 54;
        QTest::newRow("Label21") << P << u"Label21"_s << QRect(9360, 7800, 1815, 255) << u"进入筑点官方"_s
                                 << true << 55;
        QTest::newRow("pane over the window")
            << P << u"WebBrowser2"_s << QRect(-5, -5, 12525, 8565) << QString() << true << 57;
        QTest::newRow("bar caption") << u"wkxbjqbutton1"_s << u"Label1"_s << QRect(240, 120, 1695, 375)
                                     << u"自动报价"_s << true << 0;
        QTest::newRow("bar button 4")
            << u"wkxbjqbutton1"_s << u"Image3"_s << QRect(5685, 0, 1830, 570) << QString() << true << -1;
    }
    void mainControls()
    {
        QFETCH(QString, container);
        QFETCH(QString, name);
        QFETCH(QRect, twips);
        QFETCH(QString, text);
        QFETCH(bool, enabled);
        QFETCH(int, tabIndex);
        const QJsonObject c = controlOf(u"main"_s, container, name);
        QVERIFY2(!c.isEmpty(), qPrintable(name));
        QCOMPARE(
            QRect(c[u"left"_s].toInt(), c[u"top"_s].toInt(), c[u"width"_s].toInt(), c[u"height"_s].toInt()),
            twips);
        QCOMPARE(c[u"text"_s].toString(), text);
        QCOMPARE(c[u"enabled"_s].toBool(), enabled);
        QCOMPARE(c[u"tabIndex"_s].toInt(), tabIndex);
    }

    void mainLists()
    {
        const auto items = [this](const QString &name) {
            QStringList list;
            for (const QJsonValue &v : controlOf(u"main"_s, u"Picture1"_s, name)[u"items"_s].toArray())
                list.append(v.toString());
            return list;
        };
        QCOMPARE(items(u"Combo6"_s), (QStringList{u"一房一厅"_s, u"二房一厅"_s, u"三房一厅"_s, u"二房二厅"_s,
                                                  u"三房二厅"_s, u"四房二厅"_s, u"五房二厅"_s}));
        QCOMPARE(items(u"Combo4"_s), (QStringList{u"一间"_s, u"二间"_s, u"三间"_s, u"四间"_s}));
        QVERIFY(items(u"city1"_s).isEmpty());
    }

    void optionGroupsStartSelected()
    {
        QVERIFY(controlOf(u"main"_s, u"Picture1"_s, u"Option1"_s)[u"checked"_s].toBool());
        QVERIFY(!controlOf(u"main"_s, u"Picture1"_s, u"Option2"_s)[u"checked"_s].toBool());
        QVERIFY(controlOf(u"main"_s, u"Frame1"_s, u"Option6"_s)[u"checked"_s].toBool());
    }

    void stacking()
    {
        const auto stack = [this](const QString &container, const QString &name) {
            return controlOf(u"main"_s, container, name)[u"stacking"_s].toInt();
        };
        const QString P = u"Picture1"_s;
        QCOMPARE(stack(P, u"WebBrowser2"_s), 0); // the loading pane is topmost
        for (const QString &beneath : {u"Label1"_s, u"Image1"_s, u"Image4"_s})
            QVERIFY(stack(P, u"wkxbjqbutton1"_s) < stack(P, beneath));
        QVERIFY(stack(P, u"Text2"_s) < stack(P, u"Label9"_s));
        const QString bar = u"wkxbjqbutton1"_s;
        QVERIFY(stack(bar, u"Label1"_s) < stack(bar, u"Image5"_s));
        for (int i = 0; i < 5; ++i)
            QVERIFY(stack(bar, u"Image5"_s) < stack(bar, u"Image"_s + QString::number(i)));
    }

    void mainTabOrderFollowsTabIndexes()
    {
        FormWindow *main = m_windows->window(WindowId::quote);
        const QStringList expected{u"city1"_s, u"city2"_s, u"city3"_s, u"Combo4"_s, u"Combo5"_s, u"Text5"_s};
        // Disabled area fields take no focus; Text5 (tab index 9) follows Combo5 (6).
        QWidget *w = main->control(expected.first());
        for (qsizetype i = 1; i < expected.size(); ++i) {
            w = w->nextInFocusChain();
            while (!(w->focusPolicy() & Qt::TabFocus) || !w->isEnabled() || w->objectName().isEmpty())
                w = w->nextInFocusChain();
            QCOMPARE(w->objectName(), expected[i]);
        }
    }
};

QTEST_MAIN(TestLayout)
#include "test_layout.moc"
