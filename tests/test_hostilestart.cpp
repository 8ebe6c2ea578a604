// The real program as a user starts it. Where no region file can be found, it
// shows its message and, once the user has closed it, ends with status 1; it
// runs on Qt's VNC platform then, so that the test can press a key in it the
// way a user would, through a minimal RFB client. Where it starts, it sets up
// the browser engine and Qt's Chinese texts itself.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QScopeGuard>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace Qt::StringLiterals;

namespace {
// A keyboard for a program on the VNC platform: the RFB handshake without
// security, then key events.
class RfbKeyboard
{
public:
    // Connects, retrying while the program starts up.
    bool connectTo(quint16 port, int timeoutMs)
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < timeoutMs) {
            m_socket.abort();
            m_socket.connectToHost(u"127.0.0.1"_s, port);
            if (m_socket.waitForConnected(500) && handshake())
                return true;
            QTest::qWait(100);
        }
        return false;
    }

    // Press and release of an X11 key symbol.
    bool press(quint32 keysym)
    {
        for (const char down : {1, 0}) {
            QByteArray event(8, 0);
            event[0] = 4; // KeyEvent
            event[1] = down;
            qToBigEndian(keysym, event.data() + 4);
            m_socket.write(event);
        }
        return m_socket.waitForBytesWritten(1000) || m_socket.bytesToWrite() == 0;
    }

private:
    QByteArray read(qsizetype size)
    {
        while (m_socket.bytesAvailable() < size) {
            if (!m_socket.waitForReadyRead(3000))
                return {};
        }
        return m_socket.read(size);
    }

    bool handshake()
    {
        const QByteArray version = read(12);
        if (!version.startsWith("RFB "))
            return false;
        m_socket.write(version); // answer with the server's own version
        const int minor = version.mid(8, 3).toInt();
        if (minor >= 7) {
            const QByteArray count = read(1);
            if (count.isEmpty() || !read(quint8(count[0])).contains('\x01'))
                return false;
            m_socket.write("\x01"); // no security
            if (minor >= 8 && read(4) != QByteArray(4, 0))
                return false;
        } else if (qFromBigEndian<quint32>(read(4).constData()) != 1) {
            return false;
        }
        m_socket.write("\x01"); // shared
        const QByteArray init = read(24);
        if (init.size() != 24)
            return false;
        return read(qFromBigEndian<quint32>(init.constData() + 20)).size() >= 0;
    }

    QTcpSocket m_socket;
};

// The processes whose parent is pid, from /proc/N/stat ("N (name) state
// parent ..."; the name may hold blanks and parentheses).
QList<qint64> childrenOf(qint64 pid)
{
    QList<qint64> children;
    for (const QString &entry : QDir(u"/proc"_s).entryList(QDir::Dirs)) {
        QFile stat(u"/proc/%1/stat"_s.arg(entry));
        if (entry.toLongLong() <= 0 || !stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray text = stat.readAll();
        const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1 && fields[1].toLongLong() == pid)
            children.append(entry.toLongLong());
    }
    return children;
}

QByteArray procFile(qint64 pid, const char *name)
{
    QFile file(u"/proc/%1/%2"_s.arg(pid).arg(QLatin1StringView(name)));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

quint16 freePort()
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        qFatal("no free port");
    return probe.serverPort();
}
} // namespace

class TestHostileStart : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void withoutRegionFileEndsWithStatus1()
    {
        // A copy of the program in a folder of its own: the build folder
        // holds a region file beside the program.
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString program = QDir(folder.path()).filePath(u"rivav"_s);
        QVERIFY(QFile::copy(QStringLiteral(RIVAV_PROGRAM), program));
        QVERIFY(QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QVERIFY(!QFile::exists(QDir(folder.path()).filePath(u"city.txt"_s)));

        const quint16 port = freePort();
        QProcess rivav;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"QT_QPA_PLATFORM"_s, u"vnc:size=1024x768:port=%1"_s.arg(port));
        environment.remove(u"DISPLAY"_s);
        environment.remove(u"WAYLAND_DISPLAY"_s);
        rivav.setProcessEnvironment(environment);
        rivav.setWorkingDirectory(folder.path());
        rivav.start(program, {});
        QVERIFY2(rivav.waitForStarted(10000), qPrintable(rivav.errorString()));
        const auto stop = qScopeGuard([&] {
            if (rivav.state() != QProcess::NotRunning) {
                rivav.kill();
                rivav.waitForFinished(5000);
            }
            if (QTest::currentTestFailed())
                qInfo("program output:\n%s", rivav.readAllStandardError().constData());
        });

        RfbKeyboard keyboard;
        QVERIFY2(keyboard.connectTo(port, 20000), "the program's screen did not come up");
        // It waits for the user: the message is up, the program has not ended.
        QVERIFY(!rivav.waitForFinished(2000));
        QCOMPARE(rivav.state(), QProcess::Running);

        // Return closes the message; the box may take a moment to take the keyboard.
        QElapsedTimer clock;
        clock.start();
        int presses = 0;
        while (rivav.state() != QProcess::NotRunning && clock.elapsed() < 20000) {
            QVERIFY(keyboard.press(0xff0d)); // XK_Return
            ++presses;
            rivav.waitForFinished(500);
        }
        qInfo("closed the message after %d key presses", presses);
        QCOMPARE(rivav.state(), QProcess::NotRunning);
        QCOMPARE(rivav.exitStatus(), QProcess::NormalExit);
        QCOMPARE(rivav.exitCode(), 1);
    }

    // What the engine's helper processes inherit is what the program set up,
    // with none of it supplied from outside (as root the engine needs
    // --no-sandbox); Qt's Chinese texts are loaded (mapped) in the program.
    void startsWithItsOwnEngineSettingsAndTexts()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        QProcess rivav;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const QString &name : {u"QT_QUICK_BACKEND"_s, u"QMLSCENE_DEVICE"_s, u"QSG_RHI_BACKEND"_s,
                                    u"QT_XCB_GL_INTEGRATION"_s, u"QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY"_s})
            environment.remove(name);
        environment.insert(u"QTWEBENGINE_CHROMIUM_FLAGS"_s, u"--no-sandbox"_s);
        environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        rivav.setProcessEnvironment(environment);
        rivav.setWorkingDirectory(folder.path());
        rivav.start(QStringLiteral(RIVAV_PROGRAM), {});
        QVERIFY2(rivav.waitForStarted(10000), qPrintable(rivav.errorString()));
        const auto stop = qScopeGuard([&] {
            rivav.kill();
            rivav.waitForFinished(5000);
        });
        // A helper caught between fork and exec shows no environment yet.
        const auto helperEnvironment = [&] {
            QHash<QByteArray, QByteArray> environment;
            for (const qint64 helper : childrenOf(rivav.processId())) {
                for (const QByteArray &entry : procFile(helper, "environ").split('\0'))
                    environment.insert(entry.left(entry.indexOf('=')), entry.mid(entry.indexOf('=') + 1));
                if (environment.contains("QTWEBENGINE_CHROMIUM_FLAGS"))
                    return environment;
                environment.clear();
            }
            return environment;
        };
        QHash<QByteArray, QByteArray> inherited;
        QTRY_VERIFY_WITH_TIMEOUT(!(inherited = helperEnvironment()).isEmpty(), 20000);
        const QList<QByteArray> flags = inherited.value("QTWEBENGINE_CHROMIUM_FLAGS").split(' ');
        for (const char *flag :
             {"--no-sandbox", "--disable-gpu", "--lang=zh-CN", "--renderer-process-limit=1"})
            QVERIFY2(flags.contains(flag), flag);
        const QList<std::pair<QByteArray, QByteArray>> settings = {
            {"QT_QUICK_BACKEND", "software"},
            {"QT_XCB_GL_INTEGRATION", "none"},
            {"QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY", "1"}};
        for (const auto &[name, value] : settings)
            QCOMPARE(inherited.value(name), value);
        const QByteArray maps = procFile(rivav.processId(), "maps");
        for (const char *texts : {"/qtbase_zh_CN.qm", "/qtwebengine_zh_CN.qm"})
            QVERIFY2(maps.contains(texts), texts);
    }
};

QTEST_GUILESS_MAIN(TestHostileStart)
#include "test_hostilestart.moc"
