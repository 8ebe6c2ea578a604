#include "site/SiteServer.h"

#include "site/Estimate.h"
#include "site/QueryString.h"
#include "site/QuoteRequest.h"
#include "site/SitePages.h"
#include "site/TextCodec.h"

#include <httplib.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace site {

namespace fs = std::filesystem;

namespace {

constexpr const char *htmlType = "text/html; charset=utf-8";
constexpr std::uintmax_t maxFileSize = 8 * 1024 * 1024;

std::optional<std::string> readFile(const fs::path &path)
{
    std::error_code ec;
    if (!fs::is_regular_file(path, ec) || fs::file_size(path, ec) > maxFileSize || ec)
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

std::string_view contentTypeOf(const fs::path &path)
{
    const std::string ext = path.extension().string();
    if (ext == ".html" || ext == ".htm")
        return htmlType;
    if (ext == ".css")
        return "text/css; charset=utf-8";
    if (ext == ".js")
        return "text/javascript; charset=utf-8";
    if (ext == ".svg")
        return "image/svg+xml";
    if (ext == ".png")
        return "image/png";
    if (ext == ".jpg" || ext == ".jpeg")
        return "image/jpeg";
    if (ext == ".gif")
        return "image/gif";
    if (ext == ".ico")
        return "image/x-icon";
    if (ext == ".txt")
        return "text/plain; charset=utf-8";
    return "application/octet-stream";
}

// A request path maps into the pages folder only through plain names:
// no "..", no hidden or template files (leading '.' or '_'), no backslashes.
std::optional<fs::path> pagePath(const fs::path &root, std::string_view path)
{
    if (path.empty() || path.front() != '/')
        return std::nullopt;
    fs::path result = root;
    std::size_t pos = 1;
    while (pos <= path.size()) {
        const auto slash = path.find('/', pos);
        const std::string_view segment =
            path.substr(pos, slash == std::string_view::npos ? slash : slash - pos);
        pos = slash == std::string_view::npos ? path.size() + 1 : slash + 1;
        if (segment.empty())
            continue;
        if (segment.front() == '.' || segment.front() == '_' ||
            segment.find_first_of(std::string_view("\\\0", 2)) != std::string_view::npos)
            return std::nullopt;
        result /= std::string(segment);
    }
    std::error_code ec;
    if (fs::is_directory(result, ec))
        result /= "index.html";
    return result;
}

bool isHostChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '-';
}

// The Host header goes into links of the news page, so only plain host names,
// IPv4 and bracketed IPv6 addresses with an optional port are taken.
bool isPlausibleHost(std::string_view host)
{
    if (host.empty() || host.size() > 255)
        return false;
    std::string_view name = host;
    std::string_view port;
    if (host.front() == '[') {
        const auto close = host.find(']');
        if (close == std::string_view::npos || close < 3)
            return false;
        for (char c : host.substr(1, close - 1)) {
            if (!std::isxdigit(static_cast<unsigned char>(c)) && c != ':' && c != '.')
                return false;
        }
        name = {};
        port = host.substr(close + 1);
    } else if (const auto colon = host.find(':'); colon != std::string_view::npos) {
        name = host.substr(0, colon);
        port = host.substr(colon);
        if (name.empty())
            return false;
    }
    for (char c : name) {
        if (!isHostChar(c))
            return false;
    }
    if (!port.empty()) {
        if (port.front() != ':' || port.size() < 2 || port.size() > 6)
            return false;
        for (char c : port.substr(1)) {
            if (c < '0' || c > '9')
                return false;
        }
    }
    return true;
}

std::string siteOrigin(const httplib::Request &req)
{
    const std::string host = req.get_header_value("Host");
    if (isPlausibleHost(host))
        return "http://" + host;
    const bool v6 = req.local_addr.find(':') != std::string::npos;
    return "http://" + (v6 ? "[" + req.local_addr + "]" : req.local_addr) + ":" +
           std::to_string(req.local_port);
}

// Local time, converted at most once per second and thread: the log and the
// quote page ask for it on every request.
const std::tm &localNow()
{
    thread_local std::time_t second = -1;
    thread_local std::tm local{};
    const std::time_t now = std::time(nullptr);
    if (now != second) {
        localtime_r(&now, &local);
        second = now;
    }
    return local;
}

std::string chineseDate(const std::tm &day)
{
    return std::to_string(day.tm_year + 1900) + "年" + std::to_string(day.tm_mon + 1) + "月" +
           std::to_string(day.tm_mday) + "日";
}

SitePages::QuoteIssue quoteIssue(const httplib::Request &req)
{
    const std::tm &today = localNow();
    std::tm last = today;
    last.tm_mday += SitePages::quoteValidDays; // mktime carries into months and years
    last.tm_hour = 12;                         // clear of a daylight-saving shift at midnight
    last.tm_isdst = -1;
    std::mktime(&last);
    return {chineseDate(today), chineseDate(last), siteOrigin(req)};
}

// "2026-12-09T07:26:59", formatted once per second and thread.
const std::string &nowStamp()
{
    thread_local std::time_t second = -1;
    thread_local std::string text;
    const std::time_t now = std::time(nullptr);
    if (now != second) {
        char buffer[32];
        std::strftime(buffer, sizeof buffer, "%Y-%m-%dT%H:%M:%S", &localNow());
        text = buffer;
        second = now;
    }
    return text;
}

// Request text in the log: printable ASCII as is, everything else \\xNN,
// at most 300 bytes.
void appendLoggable(std::string &out, std::string_view text)
{
    constexpr std::size_t limit = 300;
    constexpr char hex[] = "0123456789ABCDEF";
    const std::string_view shown = text.substr(0, limit);
    for (std::size_t i = 0; i < shown.size();) {
        std::size_t plain = i;
        while (plain < shown.size() && shown[plain] >= 0x20 && shown[plain] < 0x7F && shown[plain] != '"' &&
               shown[plain] != '\\')
            ++plain;
        out.append(shown.substr(i, plain - i));
        if (plain == shown.size())
            break;
        const auto c = static_cast<unsigned char>(shown[plain]);
        const char escaped[] = {'\\', 'x', hex[c >> 4], hex[c & 0xF]};
        out.append(escaped, sizeof escaped);
        i = plain + 1;
    }
    if (text.size() > limit)
        out += "...";
}

void appendPercentEncoded(std::string &out, std::string_view bytes)
{
    constexpr char hex[] = "0123456789ABCDEF";
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (std::isalnum(u) || c == '-' || c == '.' || c == '_' || c == '~' || c == '*') {
            out += c;
        } else {
            const char escaped[] = {'%', hex[u >> 4], hex[u & 0xF]};
            out.append(escaped, sizeof escaped);
        }
    }
}

// The target with the quote's mobile number and form of address masked as
// the quote page masks them (written percent-encoded as UTF-8), so that the
// log keeps no visitor's full number or name; the rest as received.
void appendMaskedTarget(std::string &out, std::string_view target)
{
    const auto question = target.find('?');
    out.append(target.substr(0, question));
    if (question == std::string_view::npos)
        return;
    out += '?';
    std::string_view query = target.substr(question + 1);
    for (;;) {
        const auto ampersand = query.find('&');
        const std::string_view pair = query.substr(0, ampersand);
        const auto equals = pair.find('=');
        const std::string key = QueryString::percentDecodeLenient(pair.substr(0, equals));
        if (equals != std::string_view::npos && (key == "pho" || key == "xingshi")) {
            out.append(pair.substr(0, equals + 1));
            // Read as the quote service reads it, GBK first.
            const std::string bytes = QueryString::percentDecodeLenient(pair.substr(equals + 1));
            const std::string value =
                TextCodec::decodeChineseStrict(bytes).value_or(TextCodec::decodeChineseLenient(bytes));
            appendPercentEncoded(out,
                                 key == "pho" ? SitePages::maskPhone(value) : SitePages::maskName(value));
        } else {
            out.append(pair);
        }
        if (ampersand == std::string_view::npos)
            return;
        out += '&';
        query.remove_prefix(ampersand + 1);
    }
}

void appendNumber(std::string &out, std::size_t value)
{
    char digits[24];
    const auto result = std::to_chars(std::begin(digits), std::end(digits), value);
    out.append(digits, result.ptr);
}

void setHtml(httplib::Response &res, std::string body)
{
    res.body = std::move(body);
    res.set_header("Content-Type", htmlType);
}

std::chrono::steady_clock::rep ticksNow()
{
    return std::chrono::steady_clock::now().time_since_epoch().count();
}

// What the library's task queue returns from enqueue: void in older
// releases, whether the task was taken in newer ones.
using EnqueueResult = decltype(std::declval<httplib::TaskQueue &>().enqueue(std::function<void()>()));

// The library's thread pool, counting the connections being served and
// noting when the last one ended.
class CountingPool : public httplib::TaskQueue
{
public:
    CountingPool(std::size_t threads, std::atomic<int> &open,
                 std::atomic<std::chrono::steady_clock::rep> &last)
        : m_pool(threads), m_open(open), m_last(last)
    {
    }

    EnqueueResult enqueue(std::function<void()> serve) override
    {
        ++m_open;
        return m_pool.enqueue([this, serve = std::move(serve)] {
            serve();
            m_last = ticksNow();
            --m_open;
        });
    }

    void shutdown() override { m_pool.shutdown(); }

private:
    httplib::ThreadPool m_pool;
    std::atomic<int> &m_open;
    std::atomic<std::chrono::steady_clock::rep> &m_last;
};

} // namespace

// The library keeps the listening socket in a protected member and has no
// call to serve a socket made elsewhere, nor one to stop without shutting
// the socket down, which would end the listening for everyone holding it.
// Its accept loop waits for at most the idle interval and ends once the
// member holds no socket, so setting and clearing the member is enough.
class SiteServer::Http : public httplib::Server
{
public:
    Http() { set_idle_interval(std::chrono::milliseconds(100)); }

    void adopt(int fd) { svr_sock_ = fd; }
    void release() { svr_sock_ = INVALID_SOCKET; }
};

SiteServer::SiteServer(Settings settings)
    : m_settings(std::move(settings)), m_http(std::make_unique<Http>()), m_lastActivity(ticksNow())
{
    const auto threads = static_cast<std::size_t>(std::max(1, m_settings.threads));
    m_http->new_task_queue = [this, threads] {
        return new CountingPool(threads, m_openConnections, m_lastActivity);
    };
    // Browsers and load generators keep connections open; the library's
    // default of 5 requests per connection forces needless reconnects.
    m_http->set_keep_alive_max_count(10000);
    m_http->set_keep_alive_timeout(5);
    // Headers and body go out in separate writes; with Nagle's algorithm the
    // body would wait for the client's delayed ACK (about 40 ms). Accepted
    // connections inherit the option from the listening socket.
    m_http->set_tcp_nodelay(true);
    m_http->set_payload_max_length(64 * 1024);
    // The library's default also sets SO_REUSEPORT, which would let a second
    // server bind the same port and silently share its requests.
    m_http->set_socket_options([this](int sock) {
        const int yes = 1;
        ::setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        m_listenSocket = sock;
    });

    // GET and HEAD are routed here before the library tries its regular
    // expressions; other methods go on to the handlers below, which read
    // any request body before answering.
    m_http->set_pre_routing_handler([this](const httplib::Request &req, httplib::Response &res) {
        if (req.method != "GET" && req.method != "HEAD")
            return httplib::Server::HandlerResponse::Unhandled;
        route(req, res);
        return httplib::Server::HandlerResponse::Handled;
    });
    auto notAllowed = [](const httplib::Request &, httplib::Response &res) {
        res.status = 405;
        res.set_header("Allow", "GET, HEAD");
    };
    // A client that waits for "100 Continue" before sending a body is told
    // at once that no body is taken.
    m_http->set_expect_100_continue_handler(
        [notAllowed](const httplib::Request &req, httplib::Response &res) {
            if (req.method == "GET" || req.method == "HEAD")
                return 100;
            notAllowed(req, res);
            return res.status;
        });
    m_http->Post(".*", notAllowed);
    m_http->Put(".*", notAllowed);
    m_http->Delete(".*", notAllowed);
    m_http->Patch(".*", notAllowed);
    m_http->Options(".*", notAllowed);

    m_http->set_error_handler(
        httplib::Server::HandlerWithResponse([this](const httplib::Request &, httplib::Response &res) {
            if (!res.body.empty())
                return httplib::Server::HandlerResponse::Unhandled;
            const int status = res.status;
            servePage(res, status, std::to_string(status), SitePages::statusContent(status));
            return httplib::Server::HandlerResponse::Handled;
        }));
    m_http->set_exception_handler(
        [this](const httplib::Request &, httplib::Response &res, std::exception_ptr) {
            servePage(res, 500, "500", SitePages::statusContent(500));
        });
    if (m_settings.accessLog) {
        m_log = std::make_unique<AccessLog>(m_settings.logFd);
        m_http->set_logger(
            [this](const httplib::Request &req, const httplib::Response &res) { logRequest(req, res); });
    }
}

SiteServer::~SiteServer() = default;

bool SiteServer::readTemplates(Data &data, std::string &error) const
{
    const fs::path pages(m_settings.pagesDir);
    for (auto [name, target] :
         {std::pair{"_layout.html", &data.layout}, std::pair{"_chat.html", &data.chatTemplate}}) {
        auto text = readFile(pages / name);
        if (!text) {
            error = "cannot read " + (pages / name).string();
            return false;
        }
        *target = std::move(*text);
    }
    return true;
}

void SiteServer::publish(std::shared_ptr<const Data> data)
{
    std::lock_guard lock(m_dataMutex);
    m_data = std::move(data);
}

std::string SiteServer::lastGoodPath() const
{
    return m_settings.stateDir.empty() ? std::string()
                                       : (fs::path(m_settings.stateDir) / "prices.ini").string();
}

// Written to a new file that then replaces the old one: a crash midway leaves
// the old table, never half of the new one.
void SiteServer::keepLastGood(const std::string &text) const
{
    const std::string path = lastGoodPath();
    if (path.empty() || readFile(path) == text)
        return;
    const std::string part = path + ".part";
    std::error_code ec;
    {
        std::ofstream out(part, std::ios::binary | std::ios::trunc);
        out << text;
        out.close();
        if (!out)
            ec = std::make_error_code(std::errc::io_error);
    }
    if (!ec)
        fs::rename(part, path, ec);
    if (ec) {
        fs::remove(part, ec);
        std::fprintf(stderr, "rivav-site: cannot keep the price table as the last good one in %s\n",
                     m_settings.stateDir.c_str());
    }
}

bool SiteServer::reload(std::string &error)
{
    auto fresh = std::make_shared<Data>();
    std::string text;
    fresh->prices = PriceTable::load(m_settings.pricesFile, error, &text);
    if (!fresh->prices || !readTemplates(*fresh, error))
        return false;
    publish(std::move(fresh));
    keepLastGood(text);
    return true;
}

bool SiteServer::start(std::string &error, std::string &notice)
{
    auto fresh = std::make_shared<Data>();
    if (!readTemplates(*fresh, error))
        return false;
    std::string text;
    std::string priceError;
    fresh->prices = PriceTable::load(m_settings.pricesFile, priceError, &text);
    if (fresh->prices) {
        keepLastGood(text);
    } else {
        std::string ignored;
        const std::string saved = lastGoodPath();
        if (!saved.empty())
            fresh->prices = PriceTable::load(saved, ignored);
        notice =
            priceError + (fresh->prices ? "; quoting from the last good price table, " + saved
                                        : "; no good price table was ever loaded: quotes are unavailable");
    }
    publish(std::move(fresh));
    return true;
}

std::shared_ptr<const SiteServer::Data> SiteServer::data() const
{
    std::lock_guard lock(m_dataMutex);
    return m_data;
}

int SiteServer::bind()
{
    int port = m_settings.port;
    if (port == 0)
        port = m_http->bind_to_any_port(m_settings.address);
    else if (!m_http->bind_to_port(m_settings.address, port))
        port = -1;
    // The packaged library listens with a backlog of 5, too short for a burst
    // of connections such as a browser's or a load test's.
    if (port > 0)
        ::listen(m_listenSocket, SOMAXCONN);
    return port;
}

int SiteServer::adopt(int fd, std::string &address)
{
    sockaddr_storage local{};
    socklen_t length = sizeof local;
    if (::getsockname(fd, reinterpret_cast<sockaddr *>(&local), &length) != 0)
        return -1;
    char text[INET6_ADDRSTRLEN] = "";
    int port = 0;
    if (local.ss_family == AF_INET) {
        const auto &v4 = reinterpret_cast<const sockaddr_in &>(local);
        ::inet_ntop(AF_INET, &v4.sin_addr, text, sizeof text);
        port = ntohs(v4.sin_port);
    } else if (local.ss_family == AF_INET6) {
        const auto &v6 = reinterpret_cast<const sockaddr_in6 &>(local);
        ::inet_ntop(AF_INET6, &v6.sin6_addr, text, sizeof text);
        port = ntohs(v6.sin6_port);
    }
    address = text;
    // As set_tcp_nodelay does for a socket the library makes itself.
    const int yes = 1;
    if (port > 0)
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
    m_listenSocket = fd;
    m_http->adopt(fd);
    return port;
}

bool SiteServer::run()
{
    const bool served = m_http->listen_after_bind();
    // A socket that failed was closed by the library.
    if (served && m_listenSocket >= 0)
        ::close(m_listenSocket);
    m_listenSocket = -1;
    return served;
}

void SiteServer::stop()
{
    m_http->release();
}

std::chrono::steady_clock::duration SiteServer::idleTime() const
{
    if (m_openConnections > 0)
        return {};
    const std::chrono::steady_clock::time_point last{std::chrono::steady_clock::duration(m_lastActivity)};
    return std::chrono::steady_clock::now() - last;
}

void SiteServer::route(const httplib::Request &req, httplib::Response &res) const
{
    if (req.path == "/AutoPrice.action")
        serveQuote(req, res);
    else if (req.path == "/msgrd")
        serveChat(req, res);
    else
        serveFile(req, res);
}

void SiteServer::servePage(httplib::Response &res, int status, const std::string &title,
                           const std::string &content) const
{
    res.status = status;
    setHtml(res, SitePages::wrap(data()->layout, TextCodec::htmlEscape(title), content));
}

void SiteServer::serveQuote(const httplib::Request &req, httplib::Response &res) const
{
    const auto current = data();
    const QuoteParse parsed = parseQuoteRequest(QueryString::queryOf(req.target));
    // The page holds a phone number and an address: keep it out of caches.
    res.set_header("Cache-Control", "no-store");
    if (!parsed.request) {
        servePage(res, 400, "报价请求有误", SitePages::quoteErrorContent(parsed.errors));
        return;
    }
    if (!current->prices) {
        res.set_header("Retry-After", "300");
        servePage(res, 503, "报价服务暂不可用", SitePages::statusContent(503));
        return;
    }
    const Estimate estimate = estimateQuote(*parsed.request, *current->prices);
    setHtml(res, SitePages::wrap(
                     current->layout, "装修报价估算单",
                     SitePages::quoteContent(*parsed.request, estimate, *current->prices, quoteIssue(req))));
}

void SiteServer::serveChat(const httplib::Request &req, httplib::Response &res) const
{
    std::string account;
    std::string topic;
    // Links reach this page with raw UTF-8, percent-encoded UTF-8 or GBK:
    // decode whatever arrives rather than refuse it.
    for (const auto &pair : QueryString::parse(QueryString::queryOf(req.target), true)) {
        std::string *target = pair.key == "uin" ? &account : pair.key == "site" ? &topic : nullptr;
        if (target && target->empty())
            *target = TextCodec::truncateUtf8(TextCodec::decodeChineseLenient(pair.value), 40);
    }
    setHtml(res,
            SitePages::fill(data()->chatTemplate,
                            {{"account", TextCodec::htmlEscape(account.empty() ? "（未指定）" : account)},
                             {"topic", TextCodec::htmlEscape(topic.empty() ? "在线咨询" : topic)}}));
}

void SiteServer::serveFile(const httplib::Request &req, httplib::Response &res) const
{
    const auto path = pagePath(m_settings.pagesDir, req.path);
    auto content = path ? readFile(*path) : std::nullopt;
    if (!content) {
        res.status = 404;
        return;
    }
    const std::string_view type = contentTypeOf(*path);
    if (type != htmlType) {
        res.body = std::move(*content);
        res.set_header("Content-Type", std::string(type));
        return;
    }
    setHtml(res,
            SitePages::fill(SitePages::applyLayout(data()->layout, *content), {{"site", siteOrigin(req)}}));
}

void SiteServer::logRequest(const httplib::Request &req, const httplib::Response &res) const
{
    thread_local std::string line;
    line.clear();
    // A request line that could not be parsed leaves the address, method and
    // target unknown ("-"); the method may then be whatever came first.
    const auto orDash = [](const std::string &text) { return text.empty() ? std::string_view("-") : text; };
    line.append(nowStamp()).append(" ").append(orDash(req.remote_addr)).append(" \"");
    appendLoggable(line, orDash(req.method));
    line += ' ';
    thread_local std::string target;
    target.clear();
    appendMaskedTarget(target, req.target);
    appendLoggable(line, orDash(target));
    line.append("\" ");
    appendNumber(line, static_cast<std::size_t>(std::max(res.status, 0)));
    line += ' ';
    appendNumber(line, res.body.size());
    m_log->add(line);
}

} // namespace site
