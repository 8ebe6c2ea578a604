// Region files a user or a broken installation may leave beside the program:
// unusable files are reported by name, odd and huge lines fill the region
// selectors without crash and within a few seconds.
#include "app/ProgramWindows.h"
#include "app/WindowSet.h"
#include "app/core/CityFile.h"
#include "platform/InertBrowser.h"
#include "platform/RecordingMessages.h"
#include "platform/RecordingShell.h"
#include "quote/MainWindow.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {
// Bound for each stage: reading the file, the start-up tick, a pick.
constexpr qint64 stageBoundMs = 4000;

QByteArray gbk(const QString &text)
{
    QStringEncoder encoder("GB18030");
    return encoder.encode(text);
}

QStringList itemsOf(const QComboBox *combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items.append(combo->itemText(i));
    return items;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

// "code|name," repeated until the line holds count fields.
QByteArray repeatedFields(const QByteArray &province, const QByteArray &fieldStem, int count)
{
    QByteArray line = province;
    for (int i = 1; i < count; ++i)
        line += ',' + fieldStem + QByteArray::number(1 + i % 99).rightJustified(2, '0') + "|x";
    return line;
}
} // namespace

class TestHostileCity : public QObject
{
    Q_OBJECT

private:
    RecordingShell m_shell;
    RecordingMessages m_messages;
    QTemporaryDir m_dir;

    // The elapsed time of f, reported and checked against the bound.
    template <typename F> qint64 timed(const char *what, F &&f)
    {
        QElapsedTimer clock;
        clock.start();
        f();
        const qint64 ms = clock.elapsed();
        qInfo("%s: %lld ms", what, ms);
        if (ms > stageBoundMs)
            QTest::qFail(qPrintable(u"%1 took %2 ms"_s.arg(QLatin1StringView(what)).arg(ms)), __FILE__,
                         __LINE__);
        return ms;
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    // Files that cannot serve as the region file: the message names the file
    // and where it was looked for, and nothing waits for input.
    void unusableFile_data()
    {
        QTest::addColumn<QString>("make");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << u"missing"_s << u"找不到文件"_s;
        QTest::newRow("empty") << u"empty"_s << u"文件为空"_s;
        QTest::newRow("directory") << u"directory"_s << u"不是文件"_s;
        QTest::newRow("named pipe") << u"fifo"_s << u"不是文件"_s;
        QTest::newRow("link to a device") << u"device"_s << u"不是文件"_s;
        QTest::newRow("dangling link") << u"dangling"_s << u"找不到文件"_s;
        QTest::newRow("read error") << u"readerror"_s << u"无法读取"_s;
        QTest::newRow("no read permission") << u"noaccess"_s << u"无法读取"_s;
    }
    void unusableFile()
    {
        QFETCH(QString, make);
        QFETCH(QString, reason);
        QTemporaryDir folder, beside;
        const QString path = QDir(folder.path()).filePath(u"city.txt"_s);
        const QByteArray native = QFile::encodeName(path);
        if (make == "empty"_L1) {
            writeFile(path, {});
        } else if (make == "directory"_L1) {
            QVERIFY(QDir().mkpath(path));
        } else if (make == "fifo"_L1) {
            QCOMPARE(::mkfifo(native.constData(), 0600), 0);
        } else if (make == "device"_L1) {
            QVERIFY(QFile::link(u"/dev/zero"_s, path));
        } else if (make == "dangling"_L1) {
            QVERIFY(QFile::link(folder.filePath(u"gone.txt"_s), path));
        } else if (make == "readerror"_L1) {
            // Opens as a regular file, but reading its start fails.
            QVERIFY(QFile::link(u"/proc/self/mem"_s, path));
        } else if (make == "noaccess"_L1) {
            if (::geteuid() == 0)
                QSKIP("the superuser reads any file");
            writeFile(path, "110000|x");
            QVERIFY(QFile::setPermissions(path, {}));
        }

        QElapsedTimer clock;
        clock.start();
        const CityFileResult result = readCityFile({folder.path(), beside.path()});
        QVERIFY2(clock.elapsed() < 2000, "looking at the file must not wait");
        QVERIFY(!result.ok);
        QVERIFY(result.message.contains(u"city.txt"_s));
        QVERIFY2(result.message.contains(QDir::toNativeSeparators(path) + u"（"_s + reason + u"）"_s),
                 qPrintable(result.message));
        // A file that is there but unusable is reported, not passed over.
        QCOMPARE(result.message.contains(QDir::toNativeSeparators(beside.path())), reason == u"找不到文件"_s);
        QVERIFY(result.text.isEmpty());
    }

    void loadcityNamesBothFolders()
    {
        // The tests' own folder holds no region file either.
        QTemporaryDir empty;
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(empty.path()));
        const QString message = loadcity().message;
        QVERIFY(QDir::setCurrent(previous));
        QVERIFY(message.contains(u"city.txt"_s));
        QVERIFY2(message.contains(QDir::toNativeSeparators(QDir(empty.path()).filePath(u"city.txt"_s))),
                 qPrintable(message));
        const QString programDir = QCoreApplication::applicationDirPath();
        QVERIFY2(message.contains(QDir::toNativeSeparators(QDir(programDir).filePath(u"city.txt"_s))),
                 qPrintable(message));
    }

    // Odd and huge first lines go through the whole path: the file, the
    // start-up tick, a province pick and a city pick.
    void hostileLine_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("firstProvince");
        QTest::addColumn<int>("provinces");
        QTest::addColumn<int>("cities");    // entries of city2 after picking the first province
        QTest::addColumn<int>("districts"); // entries of city3 after picking its first city

        const QByteArray beijing = gbk(u"110000|北京市,110100|市辖区,110101|东城区,110102|西城区"_s);
        QTest::newRow("only CR LF") << QByteArray("\r\n") << QString() << 0 << 0 << 0;
        QTest::newRow("CR LF before the regions") << "\r\n" + beijing << QString() << 0 << 0 << 0;
        QTest::newRow("bytes that are no GBK")
            << gbk(u"110000|北京"_s) + "\xFF\xFF,110100|\x81" + ",110101|\xA1" << u"110000|北京\uFFFD"_s << 1
            << 1 << 1;
        QTest::newRow("NUL and control bytes")
            << QByteArray("110000|a") + '\0' + "b,110100|\x01\x02,110101|\t" << u"110000|a\0b"_s << 1 << 1
            << 1;
        QTest::newRow("UTF-8 with byte order mark")
            << "\xEF\xBB\xBF" + u"110000|北京市,110100|市辖区,110101|东城区"_s.toUtf8() << u"110000|北京市"_s
            << 1 << 1 << 1;

        // The shipped line over and over: about 1.4 million fields.
        QFile shipped(QStringLiteral(RIVAV_CITY_TXT));
        if (!shipped.open(QIODevice::ReadOnly))
            qFatal("no shipped city.txt");
        const QByteArray line = shipped.readAll();
        QByteArray huge;
        int copies = 0;
        for (; huge.size() < 20 * 1024 * 1024; ++copies)
            huge += line + ',';
        huge += "\r\n";
        QTest::newRow("20 MB line of regions")
            << huge << u"110000|北京市"_s << 34 * copies << copies << 16 * copies;
        QTest::newRow("20 MB single field") << "110000|" + QByteArray(20 * 1024 * 1024, 'x')
                                            << u"110000|"_s + QString(20, u'x') << 1 << 0 << 0;
        QByteArray provinces = "110000|x";
        for (int i = 1; i < 100000; ++i)
            provinces += ',' + QByteArray::number(10 + i % 90) + "0000|x";
        QTest::newRow("100 000 provinces") << provinces << u"110000|x"_s << 100000 << 0 << 0;
        QTest::newRow("100 000 districts of one city")
            << repeatedFields("110000|x,110100|y", "1101", 100000) << u"110000|x"_s << 1 << 1 << 99999;
        const QByteArray longName(10000, 'n');
        QByteArray longFields = "110000|" + longName;
        for (int i = 1; i <= 50; ++i)
            longFields += ",11" + QByteArray::number(i).rightJustified(2, '0') + "00|" + longName + ",1101" +
                          QByteArray::number(i).rightJustified(2, '0') + '|' + longName;
        QTest::newRow("fields of 10 000 characters")
            << longFields << u"110000|"_s + QString(20, u'n') << 1 << 50 << 50;
    }
    void hostileLine()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, firstProvince);
        QFETCH(int, provinces);
        QFETCH(int, cities);
        QFETCH(int, districts);

        QTemporaryDir folder;
        writeFile(QDir(folder.path()).filePath(u"city.txt"_s), bytes);
        CityFileResult file;
        timed("read city.txt", [&] { file = readCityFile({folder.path()}); });
        QVERIFY2(file.ok, qPrintable(file.message));

        ProgramWindows windows({m_shell, m_messages, inertBrowsers()}, file.text,
                               MainWindow::Start::LayoutOnly);
        windows.setEndProcess([] {});
        auto *main = qobject_cast<MainWindow *>(windows.window(WindowId::quote));
        main->show();
        QVERIFY(QTest::qWaitForWindowExposed(main));
        auto *city1 = main->control<QComboBox>(u"city1"_s);
        auto *city2 = main->control<QComboBox>(u"city2"_s);
        auto *city3 = main->control<QComboBox>(u"city3"_s);

        timed("start-up tick", [&] { main->tick(); });
        QCOMPARE(city1->count(), provinces);
        QCOMPARE(city1->currentText(), u"请选择"_s);
        if (provinces == 0) {
            // Nothing to pick: the refills still run on an empty table.
            QTest::keyClick(city1, Qt::Key_Down);
            QCOMPARE(city1->currentText(), u"请选择"_s);
            main->fillcity();
            main->filldistrict();
            QCOMPARE(itemsOf(city2), QStringList{u"请选择"_s});
            QCOMPARE(itemsOf(city3), QStringList{u"请选择"_s});
            return;
        }
        // Long entries are compared by their start only.
        QCOMPARE(city1->itemText(0).left(firstProvince.size()), firstProvince);

        timed("province pick", [&] { QTest::keyClick(city1, Qt::Key_Down); });
        QCOMPARE(city1->currentIndex(), 0);
        // The box holds the entry as listed, however long the field.
        QCOMPARE(city1->currentText(), city1->itemText(0));
        QCOMPARE(city2->count(), 1 + cities);
        QCOMPARE(city3->count(), 0);
        // The window paints, and the list opens, with such entries.
        timed("paint", [&] {
            main->repaint();
            QCoreApplication::processEvents();
        });
        timed("open the province list", [&] {
            city1->showPopup();
            QCoreApplication::processEvents();
        });
        QVERIFY(city1->view()->isVisible());
        city1->hidePopup();
        if (cities == 0)
            return;
        timed("city pick", [&] { QTest::keyClick(city2, Qt::Key_Down); });
        QCOMPARE(city2->currentIndex(), 1);
        QCOMPARE(city3->count(), 1 + districts);
        QCOMPARE(city3->currentText(), u"请选择"_s);
        timed("open the district list", [&] {
            city3->showPopup();
            QCoreApplication::processEvents();
        });
        city3->hidePopup();
        timed("district pick", [&] { QTest::keyClick(city3, Qt::Key_Down); });
        QCOMPARE(city3->currentIndex(), 1);
    }
};

QTEST_MAIN(TestHostileCity)
#include "test_hostilecity.moc"
