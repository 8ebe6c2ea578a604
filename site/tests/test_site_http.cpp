// Starts the real rivav-site on a free loopback port and talks HTTP to it.

#include "ListeningPort.h"

#include <httplib.h>

#include <QDate>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <optional>
#include <regex>

using namespace Qt::StringLiterals;

namespace {

// The design's example as the desktop program sends it, with real codes and
// the region name and form of address percent-encoded in GBK.
const std::string exampleQuery =
    "bom1=3&bom2=1&bom3=1&bom4=1&bom5=1&bom6=2&bomarea2=30&bomarea3=12.5&bomarea1=40&bomarea4=8"
    "&bomarea5=5&bomarea6=6&pho=12345678901&cit1=110000&cit2=110100&cit3=110101&dc=2&findman3=13"
    "&kongzhi=tijiao&findman=1&fengge=3&sumcityname=%BC%D7%D2%D2%B1%FB&xingshi=%CD%F5";

std::string replaceValue(std::string query, const std::string &key, const std::string &value)
{
    const auto at = query.find("&" + key + "=");
    const auto start = at + key.size() + 2;
    const auto end = query.find('&', start);
    return query.replace(start, end == std::string::npos ? std::string::npos : end - start, value);
}

std::string repeat(const std::string &piece, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i)
        out += piece;
    return out;
}

struct NewsEntry
{
    std::string value;
    std::string mysrc;
};

// The walk the desktop program makes over the page's INPUT elements:
// entries news1, news2, … in order, stopping at the value "已结束".
std::vector<NewsEntry> walkNews(const std::string &html, bool &endSeen)
{
    static const std::regex input("<input\\b[^>]*>", std::regex::icase);
    static const std::regex attribute("([A-Za-z]+)=\"([^\"]*)\"");
    std::vector<NewsEntry> entries;
    endSeen = false;
    for (auto it = std::sregex_iterator(html.begin(), html.end(), input); it != std::sregex_iterator();
         ++it) {
        const std::string tag = it->str();
        std::map<std::string, std::string> attrs;
        for (auto a = std::sregex_iterator(tag.begin(), tag.end(), attribute); a != std::sregex_iterator();
             ++a)
            attrs[(*a)[1].str()] = (*a)[2].str();
        if (attrs["name"] == "news" + std::to_string(entries.size() + 1))
            entries.push_back({attrs["value"], attrs["mysrc"]});
        if (attrs["value"] == "已结束") {
            endSeen = true;
            break;
        }
    }
    return entries;
}

bool contains(const std::string &text, const std::string &part)
{
    return text.find(part) != std::string::npos;
}

// Access log lines: one per answered request, each from its time on
// ("2026-12-09T07:26:59 …").
int loggedRequests(const QByteArray &log)
{
    int lines = 0;
    for (const QByteArray &line : log.split('\n'))
        lines += line.contains("\" ") && line.indexOf('-') == 4 ? 1 : 0;
    return lines;
}

// A plain TCP connection, for what an HTTP client library would smooth over:
// bytes that are not HTTP, waiting for the server to close.
class RawConnection
{
public:
    explicit RawConnection(int port) : m_fd(::socket(AF_INET, SOCK_STREAM, 0))
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<std::uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        m_connected = ::connect(m_fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
    }
    ~RawConnection() { ::close(m_fd); }
    RawConnection(const RawConnection &) = delete;
    RawConnection &operator=(const RawConnection &) = delete;

    bool connected() const { return m_connected; }

    bool send(std::string_view bytes)
    {
        while (!bytes.empty()) {
            const ssize_t n = ::send(m_fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
            if (n <= 0)
                return false;
            bytes.remove_prefix(static_cast<std::size_t>(n));
        }
        return true;
    }

    // The status of the next whole answer (its body framed by
    // Content-Length), unless the server closes or the time is up first.
    std::optional<int> readStatus(int timeoutMs)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        do {
            const auto end = m_buffer.find("\r\n\r\n");
            if (end == std::string::npos)
                continue;
            static const std::regex length("\r\nContent-Length: (\\d+)\r\n", std::regex::icase);
            const std::string headers = m_buffer.substr(0, end + 2);
            std::smatch match;
            const std::size_t bodyLength =
                std::regex_search(headers, match, length) ? std::stoul(match[1].str()) : 0;
            if (m_buffer.size() < end + 4 + bodyLength)
                continue;
            m_buffer.erase(0, end + 4 + bodyLength);
            return std::atoi(headers.c_str() + headers.find(' ') + 1);
        } while (receive(deadline));
        return std::nullopt;
    }

    // True when the server closes the connection within the time, after
    // whatever it still sends.
    bool closedByServer(int timeoutMs)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (receive(deadline)) {
        }
        return m_peerClosed;
    }

    std::size_t unread() const { return m_buffer.size(); }

private:
    bool receive(std::chrono::steady_clock::time_point deadline)
    {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd p{m_fd, POLLIN, 0};
        if (m_peerClosed || left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0)
            return false;
        char chunk[65536];
        const ssize_t n = ::recv(m_fd, chunk, sizeof chunk, 0);
        if (n <= 0) {
            m_peerClosed = true;
            return false;
        }
        m_buffer.append(chunk, static_cast<std::size_t>(n));
        return true;
    }

    int m_fd;
    bool m_connected = false;
    bool m_peerClosed = false;
    std::string m_buffer;
};

// A socket bound to a free loopback port, as a service manager would hand it over.
int loopbackSocket(int type, bool listening)
{
    const int fd = ::socket(AF_INET, type | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 ||
        (listening && ::listen(fd, 16) != 0)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

int portOf(int fd)
{
    sockaddr_in address{};
    socklen_t length = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length);
    return ntohs(address.sin_port);
}

// Exit code of pid, or -1 if it has not ended within the time.
int waitForExit(pid_t pid, int timeoutMs)
{
    int status = 0;
    for (int waited = 0; waited < timeoutMs; waited += 20) {
        if (::waitpid(pid, &status, WNOHANG) == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        QTest::qSleep(20);
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
    return -1;
}

std::string getRequest(const std::string &target, const std::string &extraHeaders = {},
                       const std::string &method = "GET", const std::string &version = "HTTP/1.1")
{
    return method + " " + target + " " + version + "\r\nHost: 127.0.0.1\r\n" + extraHeaders + "\r\n";
}

} // namespace

class TestSiteHttp : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void newsPageContract();
    void newsLinksFollowHost_data();
    void newsLinksFollowHost();
    void exampleQuote();
    void badRequests_data();
    void badRequests();
    void pages_data();
    void pages();
    void chatPage_data();
    void chatPage();
    void otherMethods();
    void rawRequests_data();
    void rawRequests();
    void reloadOnSighup();
    void otherStarts_data();
    void otherStarts();
    void socketHandOver_data();
    void socketHandOver();
    void stopsOnSigterm();

private:
    QString pricesPath() const { return m_dir.filePath(u"prices.ini"_s); }
    QString pagesPath() const { return m_dir.filePath(u"pages"_s); }
    QByteArray readFile(const QString &name) const
    {
        QFile file(m_dir.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    std::string quoteTotal();
    httplib::Client client() const;
    std::string origin() const { return "http://127.0.0.1:" + std::to_string(m_port); }

    QTemporaryDir m_dir;
    QProcess m_site;
    int m_port = 0;
    int m_requests = 0;
};

httplib::Client TestSiteHttp::client() const
{
    httplib::Client c("127.0.0.1", m_port);
    c.set_url_encode(false); // send targets exactly as written
    c.set_connection_timeout(5);
    c.set_read_timeout(10);
    return c;
}

void TestSiteHttp::initTestCase()
{
    QVERIFY(m_dir.isValid());
    // The access log goes to a file: a pipe nobody reads would fill and stall the server.
    m_site.setStandardOutputFile(m_dir.filePath(u"out.log"_s));
    m_site.setStandardErrorFile(m_dir.filePath(u"err.log"_s));
    // A copy of the prices, so that reloadOnSighup can change them.
    QVERIFY(QFile::copy(QString::fromUtf8(SITE_FIXTURE_PRICES), pricesPath()));
    QFile::setPermissions(pricesPath(), QFile::ReadOwner | QFile::WriteOwner);
    QStringList command = {QString::fromUtf8(SITE_BINARY), u"--address"_s, u"127.0.0.1"_s, u"--port"_s,
                           u"0"_s};
    // ... and of the pages, so that it can break a template.
    QDirIterator pages(QString::fromUtf8(SITE_PAGES), QDir::Files, QDirIterator::Subdirectories);
    while (pages.hasNext()) {
        const QString page = pages.next();
        const QString copy = pagesPath() + page.mid(qstrlen(SITE_PAGES));
        QVERIFY(QDir().mkpath(QFileInfo(copy).path()) && QFile::copy(page, copy));
    }
    // Files at the size the server serves at most, and one byte past it.
    for (const auto &[name, size] :
         {std::pair{u"/limit.css"_s, 8 << 20}, std::pair{u"/over.css"_s, (8 << 20) + 1}}) {
        QFile file(pagesPath() + name);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(QByteArray(size, 'a')) == size);
    }
    command << u"--pages"_s << pagesPath() << u"--prices"_s << pricesPath() << u"--state"_s
            << m_dir.filePath(u"state"_s);
    QVERIFY(QDir(m_dir.path()).mkdir(u"state"_s));
    // SITE_WRAPPER runs the server under a checker, e.g. valgrind, whose
    // error exit code then fails stopsOnSigterm.
    const QString wrapper = qEnvironmentVariable("SITE_WRAPPER");
    if (!wrapper.isEmpty())
        command = QProcess::splitCommand(wrapper) + command;
    m_site.start(command.takeFirst(), command);
    QVERIFY2(m_site.waitForStarted(), "rivav-site did not start");
    // The first line of standard output names the port that was bound.
    QTRY_VERIFY_WITH_TIMEOUT((m_port = listeningPortIn(m_dir.filePath(u"out.log"_s))) > 0, 30000);
    QVERIFY(m_port > 0);
}

void TestSiteHttp::newsPageContract()
{
    auto c = client();
    const auto res = c.Get("/softnews.html");
    ++m_requests;
    QVERIFY(res);
    QCOMPARE(res->status, 200);
    QVERIFY(contains(res->get_header_value("Content-Type"), "charset=utf-8"));
    QVERIFY(contains(res->body, "<meta charset=\"utf-8\">"));
    bool endSeen = false;
    const auto entries = walkNews(res->body, endSeen);
    QVERIFY(endSeen);
    // The program shows ten headlines; fewer would leave labels unfilled.
    QCOMPARE(entries.size(), std::size_t(10));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string path = "/news/" + std::to_string(i + 1) + ".html";
        QCOMPARE(entries[i].mysrc, origin() + path);
        QVERIFY(!entries[i].value.empty());
        const auto article = c.Get(path);
        ++m_requests;
        QVERIFY(article);
        QCOMPARE(article->status, 200);
        QVERIFY2(contains(article->body, "<h1>" + entries[i].value + "</h1>"), path.c_str());
    }
}

void TestSiteHttp::newsLinksFollowHost_data()
{
    QTest::addColumn<QByteArray>("host");
    QTest::addColumn<QByteArray>("origin"); // empty: the server's own address
    QTest::newRow("name and port") << QByteArray("vendor.example:65535")
                                   << QByteArray("http://vendor.example:65535");
    QTest::newRow("name only") << QByteArray("vendor09.example") << QByteArray("http://vendor09.example");
    QTest::newRow("IPv6") << QByteArray("[::1]:8360") << QByteArray("http://[::1]:8360");
    QTest::newRow("one-digit port") << QByteArray("h:8") << QByteArray("http://h:8");
    QTest::newRow("markup") << QByteArray("x\"><script>") << QByteArray();
    QTest::newRow("path in host") << QByteArray("evil.example/a") << QByteArray();
    QTest::newRow("port too long") << QByteArray("a:1234567") << QByteArray();
}

void TestSiteHttp::newsLinksFollowHost()
{
    QFETCH(QByteArray, host);
    QFETCH(QByteArray, origin);
    auto c = client();
    const auto res = c.Get("/softnews.html", {{"Host", host.toStdString()}});
    ++m_requests;
    QVERIFY(res);
    bool endSeen = false;
    const auto entries = walkNews(res->body, endSeen);
    QVERIFY(!entries.empty());
    const std::string expected = origin.isEmpty() ? this->origin() : origin.toStdString();
    QCOMPARE(entries.front().mysrc, expected + "/news/1.html");
    QVERIFY(!contains(res->body, "<script>"));
}

void TestSiteHttp::exampleQuote()
{
    auto c = client();
    c.set_keep_alive(true); // the style sheet below on the same connection (see stopsOnSigterm)
    const auto res = c.Get("/AutoPrice.action?" + exampleQuery);
    ++m_requests;
    QVERIFY(res);
    QCOMPARE(res->status, 200);
    // Fixture prices: 130 800 yuan direct, 10 % management, 5 % tax.
    QVERIFY(contains(res->body, "id=\"total\">151,074.00<"));
    QVERIFY(contains(res->body, "王先生/女士"));
    QVERIFY(contains(res->body, "甲乙丙"));
    QVERIFY(contains(res->body, "估算"));
    // Made today, valid for 30 days (across a month or year end too).
    const auto chinese = [](QDate day) {
        return QString::fromUtf8("%1年%2月%3日")
            .arg(day.year())
            .arg(day.month())
            .arg(day.day())
            .toStdString();
    };
    const QDate today = QDate::currentDate();
    QVERIFY(contains(res->body, "估算日期 " + chinese(today)));
    QVERIFY(contains(res->body, "有效期至 " + chinese(today.addDays(30))));
    QVERIFY(contains(res->body, "/css/site.css")); // print style sheet lives there
    QCOMPARE(res->get_header_value("Cache-Control"), std::string("no-store"));

    const auto css = c.Get("/css/site.css");
    ++m_requests;
    QVERIFY(css && contains(css->body, "@media print"));
}

void TestSiteHttp::badRequests_data()
{
    QTest::addColumn<QByteArray>("target");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("named");

    const std::string base = "/AutoPrice.action?";
    auto row = [](const char *name, const std::string &target, int status, const char *named) {
        QTest::newRow(name) << QByteArray::fromStdString(target) << status << QByteArray(named);
    };
    row("short phone", base + replaceValue(exampleQuery, "pho", "123"), 400, "手机号码");
    row("missing form of address", base + exampleQuery.substr(0, exampleQuery.find("&xingshi=")), 400,
        "称呼");
    row("no query", "/AutoPrice.action", 400, "卧房数量");
    row("invalid escape", base + replaceValue(exampleQuery, "bomarea2", "3%G0"), 400, "客厅面积");
    row("escape cut off", base + exampleQuery + "%", 400, "称呼");
    row("invalid GBK", base + replaceValue(exampleQuery, "sumcityname", "%FF%FF%FF"), 400, "业主地址");
    row("repeated key", base + exampleQuery + "&dc=3", 400, "装修档次");
    row("grade out of range", base + replaceValue(exampleQuery, "dc", "7"), 400, "装修档次");
    row("1000 keys", base + repeat("k=1&", 1000) + exampleQuery, 400, "参数过多");
    row("7 KB value", base + replaceValue(exampleQuery, "xingshi", repeat("%CD%F5", 1150)), 400, "称呼");
    // Too long to read at all: newer releases of the HTTP library close the
    // connection without an answer (a negative status allows that).
    row("100 KB value", base + replaceValue(exampleQuery, "xingshi", std::string(100 * 1024, 'a')), -414,
        "网址过长");
    row("request line over 8 KB", base + exampleQuery + "&pad=" + std::string(8300, 'x'), 414, "网址过长");
}

void TestSiteHttp::badRequests()
{
    QFETCH(QByteArray, target);
    QFETCH(int, status);
    QFETCH(QByteArray, named);
    auto c = client();
    const auto res = c.Get(target.toStdString());
    if (res || status >= 0) {
        ++m_requests;
        QVERIFY2(res, httplib::to_string(res.error()).c_str());
        QCOMPARE(res->status, std::abs(status));
        QVERIFY2(contains(res->body, named.toStdString()), res->body.substr(0, 2000).c_str());
        QVERIFY(contains(res->get_header_value("Content-Type"), "text/html"));
    }
    // The server is still there for the next client.
    const auto after = client().Get("/");
    ++m_requests;
    QVERIFY(after);
    QCOMPARE(after->status, 200);
}

void TestSiteHttp::pages_data()
{
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("marker");
    QTest::newRow("home") << QByteArray("/") << 200 << QByteArray("筑点网");
    QTest::newRow("renderings") << QByteArray("/zxpic.htm") << 200 << QByteArray("<svg");
    QTest::newRow("member prices") << QByteArray("/MemberPrice.htm") << 200 << QByteArray("会员价");
    QTest::newRow("instructions")
        << QByteArray("/softload/explain.html") << 200
        << QByteArray("地砖块数 = 向下取整( 房间面积 ÷ ( 地砖宽度/1000 × 地砖长度/1000 ) )");
    QTest::newRow("icon") << QByteArray("/favicon.svg") << 200 << QByteArray("<svg");
    // The page shows the number masked, and so does the access log (see stopsOnSigterm).
    QTest::newRow("quote, number escaped")
        << QByteArray::fromStdString("/AutoPrice.action?" +
                                     replaceValue(exampleQuery, "pho", "%31%32%33%34%35%36%37%38%39%30%31"))
        << 200 << QByteArray("123****8901");
    QTest::newRow("quote, last style")
        << QByteArray::fromStdString("/AutoPrice.action?" + replaceValue(exampleQuery, "fengge", "5")) << 200
        << QByteArray("西式田园");
    QTest::newRow("unknown page") << QByteArray("/nothing.html") << 404 << QByteArray("页面不存在");
    QTest::newRow("template") << QByteArray("/_layout.html") << 404 << QByteArray("页面不存在");
    QTest::newRow("parent folder") << QByteArray("/news/../../prices.ini") << 404 << QByteArray("页面不存在");
    QTest::newRow("escaped parent") << QByteArray("/%2E%2E/site-data/prices.ini") << 404
                                    << QByteArray("页面不存在");
    QTest::newRow("hidden file") << QByteArray("/.git/config") << 404 << QByteArray("页面不存在");
    QTest::newRow("file at the size limit") << QByteArray("/limit.css") << 200 << QByteArray("aaaa");
    QTest::newRow("file one byte over") << QByteArray("/over.css") << 404 << QByteArray("页面不存在");
    QTest::newRow("target of 300 bytes") << "/" + QByteArray(299, 'L') << 404 << QByteArray("页面不存在");
    QTest::newRow("blank in the target") << QByteArray("/a b") << 400 << QByteArray("<h1>400 请求有误</h1>");
}

void TestSiteHttp::pages()
{
    QFETCH(QByteArray, path);
    QFETCH(int, status);
    QFETCH(QByteArray, marker);
    const auto res = client().Get(path.toStdString());
    ++m_requests;
    QVERIFY(res);
    QCOMPARE(res->status, status);
    QVERIFY(contains(res->body, marker.toStdString()));
    QVERIFY(!contains(res->body, "{{")); // every placeholder filled
}

void TestSiteHttp::chatPage_data()
{
    QTest::addColumn<QByteArray>("query");
    QTest::addColumn<QByteArray>("topic");
    QTest::newRow("percent-encoded UTF-8")
        << QByteArray("v=1&uin=800061830&site=%E6%8A%80%E6%9C%AF%E6%94%AF%E6%8C%81&menu=yes")
        << QByteArray("技术支持");
    QTest::newRow("raw UTF-8") << QByteArray("v=1&uin=800061830&site=技术支持&menu=yes")
                               << QByteArray("技术支持");
    QTest::newRow("percent-encoded GBK")
        << QByteArray("v=1&uin=800061830&site=%BC%BC%CA%F5%D6%A7%B3%D6&menu=yes") << QByteArray("技术支持");
    QTest::newRow("markup") << QByteArray("uin=800061830&site=%3Cscript%3E") << QByteArray("&lt;script&gt;");
    // Not UTF-8, so read as GB18030: E6 8A is a character there; the bad escape stays.
    QTest::newRow("broken escape") << QByteArray("uin=800061830&site=%E6%8A%G") << QByteArray("鎶%G");
}

void TestSiteHttp::chatPage()
{
    QFETCH(QByteArray, query);
    QFETCH(QByteArray, topic);
    const auto res = client().Get("/msgrd?" + query.toStdString());
    ++m_requests;
    QVERIFY(res);
    QCOMPARE(res->status, 200);
    QVERIFY(contains(res->body, "800061830"));
    QVERIFY2(contains(res->body, "咨询主题：<span id=\"topic\">" + topic.toStdString()), res->body.c_str());
    QVERIFY(!contains(res->body, "<script>alert"));
}

void TestSiteHttp::otherMethods()
{
    auto c = client();
    const auto post = c.Post("/AutoPrice.action", "a=1", "application/x-www-form-urlencoded");
    ++m_requests;
    QVERIFY(post);
    QCOMPARE(post->status, 405);
    QCOMPARE(post->get_header_value("Allow"), std::string("GET, HEAD"));
    const auto head = c.Head("/softnews.html");
    ++m_requests;
    QVERIFY(head);
    QCOMPARE(head->status, 200);
    QVERIFY(head->body.empty());
}

void TestSiteHttp::rawRequests_data()
{
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("closes"); // the server closes the connection after the answer

    const auto row = [](const char *name, const std::string &request, int status, bool closes) {
        QTest::newRow(name) << QByteArray::fromStdString(request) << status << closes;
    };
    row("Connection: close", getRequest("/", "Connection: close\r\n"), 200, true);
    row("HTTP/1.0", getRequest("/", {}, "GET", "HTTP/1.0"), 200, true);
    // Answered at once rather than after waiting for a body that never comes.
    row("POST waiting for 100 Continue",
        getRequest("/AutoPrice.action", "Content-Length: 10\r\nExpect: 100-continue\r\n", "POST"), 405,
        false);
    for (const char *method : {"PUT", "DELETE", "PATCH", "OPTIONS"})
        row(method, getRequest("/", "Content-Length: 0\r\n", method), 405, false);
    row("body over the limit", getRequest("/", "Content-Length: 70000\r\n", "POST") + std::string(70000, 'b'),
        413, false);
    row("not HTTP", "\x16\x03\x01\x02\x01\x01\xfc\x03\x03\r\n", 400, false);
    row("header line over 8 KB", "GET / HTTP/1.1\r\nX-Filler: " + std::string(9000, 'f') + "\r\n", 400,
        false);
}

void TestSiteHttp::rawRequests()
{
    QFETCH(QByteArray, request);
    QFETCH(int, status);
    QFETCH(bool, closes);
    RawConnection raw(m_port);
    QVERIFY(raw.connected());
    QVERIFY(raw.send(request.toStdString()));
    const auto answered = raw.readStatus(5000);
    ++m_requests;
    QVERIFY(answered);
    QCOMPARE(*answered, status);
    if (closes) {
        QVERIFY(raw.closedByServer(3000));
        QCOMPARE(raw.unread(), std::size_t(0));
    }
}

std::string TestSiteHttp::quoteTotal()
{
    const auto res = client().Get("/AutoPrice.action?" + exampleQuery);
    ++m_requests;
    if (!res)
        return "no answer";
    static const std::regex total("id=\"total\">([^<]*)<");
    std::smatch match;
    return std::regex_search(res->body, match, total) ? match[1].str() : "no total";
}

void TestSiteHttp::reloadOnSighup()
{
    QCOMPARE(quoteTotal(), std::string("151,074.00"));
    QFile prices(pricesPath());
    QVERIFY(prices.open(QIODevice::ReadOnly));
    const QByteArray original = prices.readAll();
    prices.close();
    const auto rewrite = [&](const QByteArray &text) {
        QFile out(pricesPath());
        return out.open(QIODevice::WriteOnly | QIODevice::Truncate) && out.write(text) == text.size();
    };
    // Signals only a site that runs: the pid of one that never started or has
    // ended is 0, which would signal this test's whole process group.
    const auto reload = [this] {
        return m_site.state() == QProcess::Running && m_site.processId() > 0 &&
               ::kill(static_cast<pid_t>(m_site.processId()), SIGHUP) == 0;
    };

    // Tax 10 % instead of 5 %: 143 880 + 14 388.
    QVERIFY(rewrite(QByteArray(original).replace("tax = 0.05", "tax = 0.10")));
    QVERIFY(reload());
    QTRY_COMPARE_WITH_TIMEOUT(quoteTotal(), std::string("158,268.00"), 5000);
    // ... and kept as the last good one, which a broken edit leaves alone.
    const auto kept = [this] { return readFile(u"state/prices.ini"_s).contains("tax = 0.10"); };
    QTRY_VERIFY_WITH_TIMEOUT(kept(), 5000);

    // A broken table is refused and the prices in use stay.
    QVERIFY(rewrite(QByteArray(original).replace("tax = 0.05", "tax = lots")));
    QVERIFY(reload());
    QTRY_VERIFY_WITH_TIMEOUT(readFile(u"err.log"_s).contains("reload failed"), 5000);
    QCOMPARE(quoteTotal(), std::string("158,268.00"));
    QVERIFY(kept());

    // So is a good table with a template that cannot be read: nothing of it is used.
    const QString chat = pagesPath() + u"/_chat.html"_s;
    QVERIFY(rewrite(QByteArray(original).replace("tax = 0.05", "tax = 0.20")));
    QVERIFY(QFile::rename(chat, chat + u".away"_s));
    QVERIFY(reload());
    QTRY_COMPARE_WITH_TIMEOUT(readFile(u"err.log"_s).count("reload failed"), 2, 5000);
    QVERIFY(readFile(u"err.log"_s).contains("cannot read " + chat.toUtf8()));
    QVERIFY(QFile::rename(chat + u".away"_s, chat));
    QCOMPARE(quoteTotal(), std::string("158,268.00"));
    QVERIFY(kept());
    QVERIFY(rewrite(original));
}

void TestSiteHttp::otherStarts_data()
{
    // The options after --pages ({port}: the fixture's, {good} and {broken}:
    // price tables, {kept} and {none}: state folders with and without a last
    // good table), the exit code (-1: it serves), what standard error says,
    // and the status of a quote while it serves.
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<int>("quoteStatus");
    QTest::newRow("port in use") << QStringList{u"--port"_s, u"{port}"_s, u"--prices"_s, u"{good}"_s} << 2
                                 << QByteArray("cannot listen") << 0;
    QTest::newRow("check a good table") << QStringList{u"--check"_s, u"{good}"_s} << 0 << QByteArray() << 0;
    QTest::newRow("check a broken table")
        << QStringList{u"--check"_s, u"{broken}"_s} << 2 << QByteArray("broken.ini: line 35: ") << 0;
    QTest::newRow("broken table, last good one kept")
        << QStringList{u"--prices"_s, u"{broken}"_s, u"--state"_s, u"{kept}"_s} << -1
        << QByteArray("; quoting from the last good price table, ") << 200;
    QTest::newRow("broken table, none kept")
        << QStringList{u"--prices"_s, u"{broken}"_s, u"--state"_s, u"{none}"_s} << -1
        << QByteArray("no good price table was ever loaded: quotes are unavailable") << 503;
    QTest::newRow("the prices beside the program") << QStringList{} << -1 << QByteArray() << 200;
    QTest::newRow("idle exit, no socket handed over")
        << QStringList{u"--prices"_s, u"{good}"_s, u"--idle-exit"_s, u"1"_s} << -1
        << QByteArray("no socket handed over, so --idle-exit does not apply") << 200;
}

void TestSiteHttp::otherStarts()
{
    QFETCH(QStringList, options);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, message);
    QFETCH(int, quoteStatus);
    QDir dir(m_dir.path());
    QVERIFY(dir.mkpath(u"kept"_s) && dir.mkpath(u"none"_s));
    QFile::remove(m_dir.filePath(u"kept/prices.ini"_s));
    QVERIFY(QFile::copy(QString::fromUtf8(SITE_FIXTURE_PRICES), m_dir.filePath(u"kept/prices.ini"_s)));
    QFile broken(m_dir.filePath(u"broken.ini"_s));
    QVERIFY(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QFile good(QString::fromUtf8(SITE_FIXTURE_PRICES));
    QVERIFY(good.open(QIODevice::ReadOnly));
    broken.write(good.readAll().replace("tax = 0.05", "tax = lots"));
    broken.close();
    const QHash<QString, QString> values = {{u"{port}"_s, QString::number(m_port)},
                                            {u"{good}"_s, good.fileName()},
                                            {u"{broken}"_s, broken.fileName()},
                                            {u"{kept}"_s, m_dir.filePath(u"kept"_s)},
                                            {u"{none}"_s, m_dir.filePath(u"none"_s)}};
    QStringList arguments = {u"--port"_s, u"0"_s, u"--pages"_s, QString::fromUtf8(SITE_PAGES)};
    for (const QString &option : options)
        arguments << values.value(option, option);

    QProcess other;
    other.setStandardOutputFile(m_dir.filePath(u"other-out.log"_s));
    other.start(QString::fromUtf8(SITE_BINARY), arguments);
    QVERIFY2(other.waitForStarted(), "rivav-site did not start");
    if (exitCode >= 0) {
        QVERIFY(other.waitForFinished(10000));
        QCOMPARE(other.exitCode(), exitCode);
        QVERIFY2(other.readAllStandardError().contains(message), message.constData());
        QCOMPARE(QFile::exists(m_dir.filePath(u"none/prices.ini"_s)), false);
        return;
    }
    int port = 0;
    QTRY_VERIFY_WITH_TIMEOUT((port = listeningPortIn(m_dir.filePath(u"other-out.log"_s))) > 0, 10000);
    QByteArray errors;
    QTRY_VERIFY2_WITH_TIMEOUT((errors += other.readAllStandardError()).contains(message), message.constData(),
                              5000);
    httplib::Client c("127.0.0.1", port);
    c.set_read_timeout(10);
    const auto home = c.Get("/softnews.html");
    QVERIFY(home);
    QCOMPARE(home->status, 200);
    const auto quote = c.Get("/AutoPrice.action?" + exampleQuery);
    QVERIFY(quote);
    QCOMPARE(quote->status, quoteStatus);
    QVERIFY(contains(quote->body, quoteStatus == 200 ? "装修报价估算单" : "报价服务暂不可用"));
    // A broken table is never kept as the last good one.
    QCOMPARE(QFile::exists(m_dir.filePath(u"none/prices.ini"_s)), false);
    other.terminate();
    QVERIFY(other.waitForFinished(10000));
    QCOMPARE(other.exitCode(), 0);
}

void TestSiteHttp::socketHandOver_data()
{
    // What descriptor 3 holds, whose process LISTEN_PID names, LISTEN_FDS,
    // the refusal expected (empty: served) and whether it runs with
    // --idle-exit 1.
    QTest::addColumn<QByteArray>("descriptor");
    QTest::addColumn<bool>("otherProcess");
    QTest::addColumn<QByteArray>("count");
    QTest::addColumn<QByteArray>("refusal");
    QTest::addColumn<bool>("idleExit");
    QTest::newRow("listening stream socket")
        << QByteArray("listening") << false << QByteArray("1") << QByteArray() << false;
    QTest::newRow("idle exit") << QByteArray("listening") << false << QByteArray("1") << QByteArray() << true;
    QTest::newRow("for another process")
        << QByteArray("listening") << true << QByteArray("1") << QByteArray("not this one") << false;
    QTest::newRow("two descriptors") << QByteArray("listening") << false << QByteArray("2")
                                     << QByteArray("one listening socket") << false;
    QTest::newRow("count not a number") << QByteArray("listening") << false << QByteArray("1x")
                                        << QByteArray("one listening socket") << false;
    QTest::newRow("bound, not listening")
        << QByteArray("bound") << false << QByteArray("1") << QByteArray("not listening") << false;
    QTest::newRow("datagram socket") << QByteArray("datagram") << false << QByteArray("1")
                                     << QByteArray("not a stream socket") << false;
    QTest::newRow("a file") << QByteArray("file") << false << QByteArray("1") << QByteArray("not a socket")
                            << false;
    QTest::newRow("nothing") << QByteArray("none") << false << QByteArray("1") << QByteArray("not open")
                             << false;
}

// Started as systemd starts a socket-activated service: the socket on
// descriptor 3, LISTEN_PID naming the server's own process (the shell's $$,
// kept across exec) unless the row names another.
void TestSiteHttp::socketHandOver()
{
    QFETCH(QByteArray, descriptor);
    QFETCH(bool, otherProcess);
    QFETCH(QByteArray, count);
    QFETCH(QByteArray, refusal);
    QFETCH(bool, idleExit);

    const int fd = descriptor == "listening"  ? loopbackSocket(SOCK_STREAM, true)
                   : descriptor == "bound"    ? loopbackSocket(SOCK_STREAM, false)
                   : descriptor == "datagram" ? loopbackSocket(SOCK_DGRAM, false)
                                              : ::open(SITE_FIXTURE_PRICES, O_RDONLY | O_CLOEXEC);
    QVERIFY(fd >= 0);
    const QString out = m_dir.filePath(u"handover-out.log"_s);
    const QString err = m_dir.filePath(u"handover-err.log"_s);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (descriptor == "none")
        posix_spawn_file_actions_addclose(&actions, 3); // whatever this process has there
    else
        posix_spawn_file_actions_adddup2(&actions, fd, 3);
    posix_spawn_file_actions_addopen(&actions, 1, out.toLocal8Bit().constData(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.toLocal8Bit().constData(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    const std::string pages = SITE_PAGES;
    const std::string prices = pricesPath().toStdString();
    // systemd names the state folders in STATE_DIRECTORY, separated by colons.
    const QString state = m_dir.filePath(u"handover-state"_s);
    QVERIFY(QDir(state).removeRecursively() && QDir().mkpath(state));
    const std::string script = std::string("export LISTEN_PID=") + (otherProcess ? "$PPID" : "$$") +
                               " LISTEN_FDS=" + count.toStdString() + " STATE_DIRECTORY='" +
                               state.toStdString() + ":/nonexistent'; exec \"$0\" \"$@\"";
    const char *argv[] = {"/bin/sh",  "-c",           script.c_str(), SITE_BINARY, "--pages", pages.c_str(),
                          "--prices", prices.c_str(), "--idle-exit",  "1",         nullptr};
    if (!idleExit)
        argv[std::size(argv) - 3] = nullptr;
    pid_t pid = 0;
    QCOMPARE(posix_spawn(&pid, argv[0], &actions, nullptr, const_cast<char **>(argv), environ), 0);
    // A failed check returns early: the server, if not yet reaped, goes with it.
    const auto reap = qScopeGuard([pid] {
        if (::waitpid(pid, nullptr, WNOHANG) == 0) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
    });
    posix_spawn_file_actions_destroy(&actions);

    if (!refusal.isEmpty()) {
        ::close(fd);
        QCOMPARE(waitForExit(pid, 10000), 2);
        QFile messages(err);
        QVERIFY(messages.open(QIODevice::ReadOnly));
        const QByteArray message = messages.readAll();
        QVERIFY2(message.contains("refusing the socket handed over: ") && message.contains(refusal),
                 message.constData());
        return;
    }
    const int port = portOf(fd);
    QTRY_COMPARE_WITH_TIMEOUT(listeningPortIn(out), port, 10000);
    httplib::Client c("127.0.0.1", port);
    c.set_read_timeout(10);
    const auto answer = c.Get("/softnews.html");
    QVERIFY(answer);
    QCOMPARE(answer->status, 200);
    QVERIFY(QFile::exists(state + u"/prices.ini"_s)); // the table kept as the last good one
    if (idleExit) {
        // Idle means no connection open: one held open for longer than the
        // idle time keeps it serving; once closed, it exits by itself.
        const auto exiting = [&err] {
            QFile messages(err);
            return messages.open(QIODevice::ReadOnly) &&
                   messages.readAll().contains("no connection for 1 s, exiting");
        };
        {
            RawConnection held(port);
            QVERIFY(held.connected());
            QTest::qWait(2500);
            QVERIFY(!exiting());
        }
        QCOMPARE(waitForExit(pid, 10000), 0);
        QVERIFY(exiting());
    } else {
        ::kill(pid, SIGTERM);
        QCOMPARE(waitForExit(pid, 10000), 0);
    }
    // The socket is the service manager's too: it must still be listening,
    // for the next start, after the server has stopped.
    QVERIFY(RawConnection(port).connected());
    ::close(fd);
}

void TestSiteHttp::stopsOnSigterm()
{
    QVERIFY2(m_site.state() == QProcess::Running, "rivav-site is not running");
    m_site.terminate();
    QVERIFY2(m_site.waitForFinished(60000), "rivav-site did not stop on SIGTERM");
    QCOMPARE(m_site.exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_site.exitCode(), 0);

    const QByteArray log = readFile(u"out.log"_s);
    QCOMPARE(loggedRequests(log), m_requests);
    // Targets are logged as printable ASCII, cut at 300 bytes: the raw UTF-8
    // of the chat page's topic shows as escapes.
    QVERIFY(log.contains("\"GET /msgrd?v=1&uin=800061830&site=\\xE6\\x8A\\x80\\xE6\\x9C\\xAF"));
    QVERIFY(log.contains("...\" 400 "));
    QVERIFY(log.contains(" \"GET /" + QByteArray(299, 'L') + "\" 404 "));
    // A request line too long to parse leaves address, method and target unknown.
    QVERIFY(log.contains(" - \"- -\" 414 "));
    // Each line names its own request, the second on a connection too.
    QVERIFY(log.contains(" \"GET /css/site.css\" 200 "));
    // Quotes leave the number and the form of address in the log only masked,
    // as the quote page shows them.
    QVERIFY(log.contains("&pho=123****8901&"));
    QVERIFY(log.contains("&xingshi=%E7%8E%8B**"));
    for (const char *unmasked : {"12345678901", "%31%32%33%34%35%36%37%38%39%30%31", "%CD%F5"})
        QVERIFY2(!log.contains(unmasked), unmasked);
    QVERIFY(std::all_of(log.begin(), log.end(), [](char c) { return c == '\n' || (c >= 0x20 && c < 0x7F); }));
    QVERIFY(readFile(u"err.log"_s).contains("stopped"));
}

QTEST_GUILESS_MAIN(TestSiteHttp)
#include "test_site_http.moc"
