#include "app/core/CityFile.h"
#include "platform/core/TextFileInput.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestTextFileInput : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write test file");
        file.write(bytes);
        return path;
    }

private Q_SLOTS:
    void firstLine_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected");
        // 北京市 in GBK
        const QByteArray beijing("\xB1\xB1\xBE\xA9\xCA\xD0");
        QTest::newRow("no line end") << QByteArray("110000|" + beijing) << u"110000|北京市"_s;
        QTest::newRow("CR LF ends the line") << QByteArray("a,b\r\nc") << u"a,b"_s;
        QTest::newRow("CR alone ends the line") << QByteArray("a\rb") << u"a"_s;
        QTest::newRow("LF alone stays") << QByteArray("a\nb\r\nc") << u"a\nb"_s;
        QTest::newRow("starts with a line end") << QByteArray("\r\nabc") << QString();
        QTest::newRow("four-byte GB18030") << QByteArray("\x81\x30\x81\x30") << u"\u0080"_s;
        QTest::newRow("lone 0x80 is the euro sign") << QByteArray("a\x80\x81\x80\x80") << u"a€亐€"_s;
        QTest::newRow("A3A0 after a broken four-byte start")
            << QByteArray("\x81\x30\xA3\xA0") << u"\uFFFD\uE5E5"_s;
        QTest::newRow("A3A0 inside what looks like a four-byte character")
            << QByteArray("\x81\x30\xA3\xA0\x35") << u"\uFFFD\uE5E55"_s;
        QTest::newRow("A3A0 is the code page's") << QByteArray("\xA3\xA0\xA1\xA1") << u"\uE5E5\u3000"_s;
        QTest::newRow("code GB18030-2022 gave a character")
            << QByteArray("\xA6\xDA\xFE\xA0") << u"\uFE12\u9FBB"_s;
        QTest::newRow("broken character before 0x80") << QByteArray("\xB1 \x80") << u"\uFFFD €"_s;
        QTest::newRow("cut-off character at the end") << QByteArray("a\xB1") << u"a\uFFFD"_s;
        QTest::newRow("cut-off character before CR") << QByteArray("a\x81\x30\r\n") << u"a\uFFFD"_s;
    }
    void firstLine()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        const FirstLine line = readFirstLineGbk(write(u"line.txt"_s, bytes));
        QCOMPARE(line.status, FirstLine::Status::Ok);
        QCOMPARE(line.text, expected);
    }

    void longLineIsReadWhole()
    {
        QByteArray bytes;
        for (int i = 0; bytes.size() < 60 * 1024; ++i)
            bytes += QByteArray::number(110000 + i) + "|x,";
        const qsizetype size = bytes.size();
        bytes += "\r\nsecond line";
        const FirstLine line = readFirstLineGbk(write(u"long.txt"_s, bytes));
        QCOMPARE(line.text.size(), size);
    }

    void invalidBytesDoNotCrash()
    {
        const FirstLine line = readFirstLineGbk(write(u"bad.txt"_s, QByteArray("\xFF\xFE\x80|\x81", 5)));
        QCOMPARE(line.status, FirstLine::Status::Ok);
        QVERIFY(line.text.contains(u'|'));
    }

    void failures_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("status");
        QTest::newRow("missing") << u"nothing.txt"_s << int(FirstLine::Status::Missing);
        QTest::newRow("empty") << u"empty.txt"_s << int(FirstLine::Status::Empty);
        QTest::newRow("directory") << u"folder"_s << int(FirstLine::Status::NotAFile);
    }
    void failures()
    {
        QFETCH(QString, name);
        QFETCH(int, status);
        write(u"empty.txt"_s, {});
        QDir(m_dir.path()).mkpath(u"folder"_s);
        QCOMPARE(int(readFirstLineGbk(m_dir.filePath(name)).status), status);
    }

    void cityFileFallsBackToSecondFolder()
    {
        QTemporaryDir first, second;
        QFile file(QDir(second.path()).filePath(u"city.txt"_s));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("110000|x");
        file.close();
        const CityFileResult result = readCityFile({first.path(), second.path()});
        QVERIFY(result.ok);
        QCOMPARE(result.text, u"110000|x"_s);
    }

    void cityFileFailureNamesFileAndFolders()
    {
        QTemporaryDir first, second;
        const CityFileResult result = readCityFile({first.path(), second.path()});
        QVERIFY(!result.ok);
        QVERIFY(result.message.contains(u"city.txt"_s));
        QVERIFY(result.message.contains(QDir::toNativeSeparators(first.path())));
        QVERIFY(result.message.contains(QDir::toNativeSeparators(second.path())));
    }
};

QTEST_APPLESS_MAIN(TestTextFileInput)
#include "test_textfileinput.moc"
