// When the bytes received so far hold a whole request, and how long it is.

#include "RequestFraming.h"

#include <QTest>

using RequestFraming::State;

Q_DECLARE_METATYPE(RequestFraming::State)

namespace {

const QByteArray get = "GET /a HTTP/1.1\r\nHost: x\r\n\r\n";

QByteArray post(const QByteArray &headers, const QByteArray &body)
{
    return "POST /a HTTP/1.1\r\nHost: x\r\n" + headers + "\r\n" + body;
}

} // namespace

class TestSiteFraming : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void frames_data();
    void frames();
    void everyPrefixOfARequestIsIncomplete();
};

void TestSiteFraming::frames_data()
{
    QTest::addColumn<QByteArray>("buffered");
    QTest::addColumn<State>("state");
    QTest::addColumn<int>("length"); // -1: the whole buffer; only for Complete

    const QByteArray chunked = "Transfer-Encoding: chunked\r\n";
    QTest::newRow("plain request") << get << State::Complete << -1;
    QTest::newRow("headers not ended") << get.left(get.size() - 2) << State::Incomplete << 0;
    QTest::newRow("two pipelined") << get + get << State::Complete << int(get.size());
    QTest::newRow("bare LF lines never end the headers")
        << QByteArray("GET / HTTP/1.1\nHost: x\n\n") << State::Incomplete << 0;

    QTest::newRow("body complete") << post("Content-Length: 5\r\n", "hello") << State::Complete << -1;
    QTest::newRow("body partial") << post("Content-Length: 5\r\n", "hel") << State::Incomplete << 0;
    QTest::newRow("body then next request")
        << post("content-length:  5 \r\n", "hello") + get << State::Complete
        << int(post("content-length:  5 \r\n", "hello").size());
    QTest::newRow("zero length") << post("Content-Length: 0\r\n", "") << State::Complete << -1;
    QTest::newRow("same length twice")
        << post("Content-Length: 2\r\nContent-Length: 2\r\n", "ab") << State::Complete << -1;
    QTest::newRow("differing lengths")
        << post("Content-Length: 2\r\nContent-Length: 3\r\n", "abc") << State::HandOver << 0;
    QTest::newRow("length not a number") << post("Content-Length: 5x\r\n", "hello") << State::HandOver << 0;
    QTest::newRow("negative length") << post("Content-Length: -1\r\n", "") << State::HandOver << 0;
    QTest::newRow("huge length") << post("Content-Length: 99999999999999999999\r\n", "") << State::HandOver
                                 << 0;
    QTest::newRow("body over the limit") << post("Content-Length: 11\r\n", "") << State::HandOver << 0;
    QTest::newRow("waits for 100 Continue")
        << post("Content-Length: 5\r\nExpect: 100-continue\r\n", "") << State::HandOver << 0;
    QTest::newRow("100 Continue, body already there")
        << post("Content-Length: 5\r\nExpect: 100-continue\r\n", "hello") << State::Complete << -1;

    QTest::newRow("chunked complete") << post(chunked, "5\r\nhello\r\n0\r\n\r\n") << State::Complete << -1;
    QTest::newRow("chunked then next request")
        << post(chunked, "5\r\nhello\r\n0\r\n\r\n") + get << State::Complete
        << int(post(chunked, "5\r\nhello\r\n0\r\n\r\n").size());
    QTest::newRow("chunked with extension and trailer")
        << post(chunked, "3;x=1\r\nabc\r\n0\r\nT: 1\r\n\r\n") << State::Complete << -1;
    QTest::newRow("chunked, chunk data holds a CRLF")
        << post(chunked, "4\r\n\r\n\r\n\r\n0\r\n\r\n") << State::Complete << -1;
    QTest::newRow("chunked, last chunk missing") << post(chunked, "5\r\nhello\r\n") << State::Incomplete << 0;
    QTest::newRow("chunked, trailer not ended") << post(chunked, "0\r\nT: 1\r\n") << State::Incomplete << 0;
    QTest::newRow("chunked, bad size") << post(chunked, "zz\r\nhello\r\n") << State::HandOver << 0;
    QTest::newRow("chunked over the limit") << post(chunked, "b\r\nhello world") << State::HandOver << 0;
    QTest::newRow("chunked beside a length")
        << post(chunked + "Content-Length: 3\r\n", "3\r\nabc\r\n0\r\n\r\n") << State::HandOver << 0;
    QTest::newRow("chunked, waits for 100 Continue")
        << post(chunked + "Expect: 100-continue\r\n", "") << State::HandOver << 0;

    QTest::newRow("headers at the limit")
        << "GET /" + QByteArray(101 - get.size(), 'a') + get.mid(6) << State::Complete << -1;
    QTest::newRow("headers over the limit")
        << "GET /" + QByteArray(102 - get.size(), 'a') + get.mid(6) << State::HandOver << 0;
    QTest::newRow("unended headers over the limit") << QByteArray(101, 'a') << State::HandOver << 0;
    QTest::newRow("unended headers at the limit") << QByteArray(100, 'a') << State::Incomplete << 0;
}

void TestSiteFraming::frames()
{
    QFETCH(QByteArray, buffered);
    QFETCH(State, state);
    QFETCH(int, length);
    const RequestFraming::Limits limits{100, 10};
    const auto frame = RequestFraming::frame(buffered.toStdString(), limits);
    QCOMPARE(frame.state, state);
    if (state == State::Complete)
        QCOMPARE(frame.length, std::size_t(length < 0 ? buffered.size() : length));
}

// A request arriving a byte at a time is never handed over early.
void TestSiteFraming::everyPrefixOfARequestIsIncomplete()
{
    const RequestFraming::Limits limits;
    for (const QByteArray &request :
         {get, post("Content-Length: 5\r\n", "hello"),
          post("Transfer-Encoding: chunked\r\n", "5\r\nhello\r\n0\r\nT: 1\r\n\r\n")}) {
        for (qsizetype n = 0; n < request.size(); ++n) {
            const auto frame = RequestFraming::frame(request.left(n).toStdString(), limits);
            QVERIFY2(frame.state == State::Incomplete, request.left(n).constData());
        }
        QCOMPARE(RequestFraming::frame(request.toStdString(), limits).state, State::Complete);
    }
}

QTEST_APPLESS_MAIN(TestSiteFraming)
#include "test_site_framing.moc"
