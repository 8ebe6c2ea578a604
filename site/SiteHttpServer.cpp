#include "SiteHttpServer.h"

#include "RequestFraming.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <memory>
#include <thread>
#include <unordered_map>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Connections taken per wake-up of a loop, so that a burst of new clients is
// spread over the loops rather than landing on the first one awake.
constexpr int acceptBurst = 4;
// A connection answers no further pipelined requests while this much output
// waits for the client.
constexpr std::size_t outputHighWater = 64 * 1024;
// After an answer that ends the connection, the client's remaining bytes are
// read and dropped for a while: closing with unread input would reset the
// connection and could destroy the answer before the client reads it.
constexpr auto lingerTime = std::chrono::seconds(2);
// Out of file descriptors or at the connection limit: stop accepting for a
// moment rather than spin.
constexpr auto acceptPause = std::chrono::milliseconds(100);
constexpr auto sweepInterval = std::chrono::seconds(1);
constexpr std::size_t readChunk = 64 * 1024;
constexpr std::size_t maxHeaderBytes = 64 * 1024;
constexpr std::size_t maxBodyBytes = 1024 * 1024;

struct Endpoint
{
    std::string ip;
    int port = 0;
};

Endpoint endpointOf(const sockaddr_storage &address, socklen_t length)
{
    Endpoint endpoint;
    char host[NI_MAXHOST];
    if (::getnameinfo(reinterpret_cast<const sockaddr *>(&address), length, host, sizeof host, nullptr, 0,
                      NI_NUMERICHOST) == 0)
        endpoint.ip = host;
    if (address.ss_family == AF_INET)
        endpoint.port = ntohs(reinterpret_cast<const sockaddr_in &>(address).sin_port);
    else if (address.ss_family == AF_INET6)
        endpoint.port = ntohs(reinterpret_cast<const sockaddr_in6 &>(address).sin6_port);
    return endpoint;
}

struct Connection
{
    int fd = -1;
    Endpoint remote;
    Endpoint local;
    std::string input;
    std::string output;
    std::size_t sent = 0;
    std::size_t served = 0;
    Clock::time_point deadline;
    std::uint32_t events = 0;      // what epoll watches for
    bool closeAfterOutput = false; // the last answer is being sent
    bool inputEnded = false;       // the client shut down its sending side
    bool lingering = false;        // only dropping the client's bytes before the close
};

// What the library parses a request from and writes the answer to: the
// connection's buffers. Reading past the buffered bytes reports the end.
class BufferedStream : public httplib::Stream
{
public:
    BufferedStream(std::string_view input, std::string &output, const Endpoint &remote, const Endpoint &local,
                   int fd)
        : m_input(input), m_output(output), m_remote(remote), m_local(local), m_fd(fd)
    {
    }

    bool is_readable() const override { return m_position < m_input.size(); }
    bool is_writable() const override { return true; }

    ssize_t read(char *ptr, size_t size) override
    {
        if (m_position >= m_input.size()) {
            m_exhausted = true;
            return 0;
        }
        // The library reads request lines a byte at a time.
        if (size == 1) {
            *ptr = m_input[m_position++];
            return 1;
        }
        size = std::min(size, m_input.size() - m_position);
        std::memcpy(ptr, m_input.data() + m_position, size);
        m_position += size;
        return static_cast<ssize_t>(size);
    }

    ssize_t write(const char *ptr, size_t size) override
    {
        m_output.append(ptr, size);
        return static_cast<ssize_t>(size);
    }

    void get_remote_ip_and_port(std::string &ip, int &port) const override
    {
        ip = m_remote.ip;
        port = m_remote.port;
    }

    void get_local_ip_and_port(std::string &ip, int &port) const override
    {
        ip = m_local.ip;
        port = m_local.port;
    }

    socket_t socket() const override { return m_fd; }

    std::size_t consumed() const { return m_position; }
    bool exhausted() const { return m_exhausted; }

private:
    std::string_view m_input;
    std::string &m_output;
    const Endpoint &m_remote;
    const Endpoint &m_local;
    int m_fd;
    std::size_t m_position = 0;
    bool m_exhausted = false;
};

// Answers after which the rest of the input cannot be trusted to start a
// request: the request itself was malformed or too big.
bool endsConnection(std::string_view answer)
{
    constexpr std::string_view prefix = "HTTP/1.1 ";
    if (answer.size() < prefix.size() + 3 || answer.substr(0, prefix.size()) != prefix)
        return false;
    const std::string_view status = answer.substr(prefix.size(), 3);
    return status == "400" || status == "413" || status == "414" || status == "431";
}

int millisecondsUntil(Clock::time_point now, Clock::time_point then)
{
    const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(then - now).count();
    return static_cast<int>(std::clamp<long long>(wait + 1, 0, 1000));
}

} // namespace

// One epoll instance with its own connections, run by one thread. All loops
// watch the listening socket (exclusively: one wakes per new connection) and
// the stop event.
class SiteHttpServer::Loop
{
public:
    struct Settings
    {
        int listenFd;
        int stopEvent;
        std::size_t maxRequests;
        std::size_t maxConnections;
        std::chrono::seconds idleTime;
        RequestFraming::Limits limits;
    };

    Loop(SiteHttpServer &server, Settings settings) : m_server(server), m_settings(settings) {}

    ~Loop()
    {
        for (auto &entry : m_connections)
            ::close(entry.first);
        if (m_epoll >= 0)
            ::close(m_epoll);
    }

    Loop(const Loop &) = delete;
    Loop &operator=(const Loop &) = delete;

    bool start()
    {
        m_epoll = ::epoll_create1(EPOLL_CLOEXEC);
        return m_epoll >= 0 && watchListener() && add(m_settings.stopEvent, EPOLLIN);
    }

    void run();

private:
    bool add(int fd, std::uint32_t events)
    {
        epoll_event event{};
        event.events = events;
        event.data.fd = fd;
        return ::epoll_ctl(m_epoll, EPOLL_CTL_ADD, fd, &event) == 0;
    }

    bool watchListener() { return add(m_settings.listenFd, EPOLLIN | EPOLLEXCLUSIVE); }

    void watch(Connection &c, std::uint32_t events)
    {
        if (c.events == events)
            return;
        epoll_event event{};
        event.events = events;
        event.data.fd = c.fd;
        ::epoll_ctl(m_epoll, EPOLL_CTL_MOD, c.fd, &event);
        c.events = events;
    }

    void acceptConnections(Clock::time_point now);
    void pauseAccepting(Clock::time_point now);
    void onEvent(Connection &c, std::uint32_t events, Clock::time_point now);
    void receive(Connection &c, Clock::time_point now);
    void answerRequests(Connection &c, Clock::time_point now);
    bool answerOne(Connection &c, Clock::time_point now);
    bool flush(Connection &c, Clock::time_point now);
    void startLingering(Connection &c, Clock::time_point now);
    void closeExpired(Clock::time_point now);
    void close(Connection &c);

    SiteHttpServer &m_server;
    const Settings m_settings;
    int m_epoll = -1;
    bool m_stopping = false;
    bool m_acceptPaused = false;
    Clock::time_point m_acceptResume;
    Clock::time_point m_nextSweep;
    std::unordered_map<int, std::unique_ptr<Connection>> m_connections;
    // Closed during the current batch of events; freed after it, since a
    // caller up the stack may still hold a reference.
    std::vector<std::unique_ptr<Connection>> m_closed;
    std::array<char, readChunk> m_readBuffer{};
};

void SiteHttpServer::Loop::run()
{
    std::array<epoll_event, 64> events{};
    m_nextSweep = Clock::now() + sweepInterval;
    while (!m_stopping) {
        const auto before = Clock::now();
        const int timeout =
            millisecondsUntil(before, m_acceptPaused ? std::min(m_nextSweep, m_acceptResume) : m_nextSweep);
        const int ready = ::epoll_wait(m_epoll, events.data(), static_cast<int>(events.size()), timeout);
        if (ready < 0 && errno != EINTR)
            break;
        const auto now = Clock::now();
        for (int i = 0; i < ready; ++i) {
            const int fd = events[i].data.fd;
            if (fd == m_settings.stopEvent) {
                m_stopping = true;
            } else if (fd == m_settings.listenFd) {
                acceptConnections(now);
            } else if (const auto it = m_connections.find(fd); it != m_connections.end()) {
                onEvent(*it->second, events[i].events, now);
            }
        }
        m_closed.clear();
        if (m_acceptPaused && now >= m_acceptResume && watchListener())
            m_acceptPaused = false;
        if (now >= m_nextSweep) {
            closeExpired(now);
            m_nextSweep = now + sweepInterval;
        }
    }
}

void SiteHttpServer::Loop::acceptConnections(Clock::time_point now)
{
    for (int i = 0; i < acceptBurst; ++i) {
        if (m_connections.size() >= m_settings.maxConnections) {
            pauseAccepting(now);
            return;
        }
        sockaddr_storage address{};
        socklen_t length = sizeof address;
        const int fd = ::accept4(m_settings.listenFd, reinterpret_cast<sockaddr *>(&address), &length,
                                 SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED || errno == EPROTO)
                continue;
            if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM)
                pauseAccepting(now);
            return; // EAGAIN: nothing waiting, or another loop took it
        }
        // Answers go out in one write each; Nagle's algorithm would only
        // hold back the last piece of a long one.
        const int yes = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
        auto c = std::make_unique<Connection>();
        c->fd = fd;
        c->remote = endpointOf(address, length);
        sockaddr_storage local{};
        socklen_t localLength = sizeof local;
        if (::getsockname(fd, reinterpret_cast<sockaddr *>(&local), &localLength) == 0)
            c->local = endpointOf(local, localLength);
        c->deadline = now + m_settings.idleTime;
        c->events = EPOLLIN;
        if (!add(fd, EPOLLIN)) {
            ::close(fd);
            continue;
        }
        m_connections.emplace(fd, std::move(c));
    }
}

void SiteHttpServer::Loop::pauseAccepting(Clock::time_point now)
{
    if (m_acceptPaused)
        return;
    ::epoll_ctl(m_epoll, EPOLL_CTL_DEL, m_settings.listenFd, nullptr);
    m_acceptPaused = true;
    m_acceptResume = now + acceptPause;
}

void SiteHttpServer::Loop::onEvent(Connection &c, std::uint32_t events, Clock::time_point now)
{
    if (events & EPOLLOUT) {
        if (flush(c, now))
            answerRequests(c, now); // requests held back while the output waited
        return;
    }
    if (events & (EPOLLIN | EPOLLHUP | EPOLLERR))
        receive(c, now);
}

void SiteHttpServer::Loop::receive(Connection &c, Clock::time_point now)
{
    const ssize_t received = ::recv(c.fd, m_readBuffer.data(), m_readBuffer.size(), 0);
    if (received < 0) {
        if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
            close(c);
        return;
    }
    if (c.lingering) {
        if (received == 0)
            close(c);
        return;
    }
    if (received == 0)
        c.inputEnded = true;
    else
        c.input.append(m_readBuffer.data(), static_cast<std::size_t>(received));
    answerRequests(c, now);
}

void SiteHttpServer::Loop::answerRequests(Connection &c, Clock::time_point now)
{
    for (;;) {
        bool answered = false;
        while (!c.closeAfterOutput && c.output.size() - c.sent < outputHighWater && answerOne(c, now))
            answered = true;
        if (c.fd < 0)
            return; // given up
        // A request cut off by the end of the client's input gets no answer.
        if (c.inputEnded)
            c.closeAfterOutput = true;
        if (c.output.empty() && !c.closeAfterOutput)
            return;
        // Once the output is out, pipelined requests held back by it follow.
        if (!flush(c, now) || !answered)
            return;
    }
}

// Answers the next buffered request, if it is whole. False when there is none.
bool SiteHttpServer::Loop::answerOne(Connection &c, Clock::time_point now)
{
    using RequestFraming::State;
    const RequestFraming::Frame frame = RequestFraming::frame(c.input, m_settings.limits);
    if (frame.state == State::Incomplete)
        return false;

    const std::size_t answerStart = c.output.size();
    BufferedStream stream(c.input, c.output, c.remote, c.local, c.fd);
    const bool last = frame.state == State::HandOver || ++c.served >= m_settings.maxRequests;
    bool connectionClosed = false;
    bool answered = false;
    try {
        answered = m_server.answer(stream, last, connectionClosed);
    } catch (const std::exception &) {
        // Out of memory or the like outside the handlers: give this client up.
        close(c);
        return false;
    }
    // A body the handler did not read still belongs to this request.
    std::size_t used = std::max(stream.consumed(), frame.length);
    if (frame.state == State::HandOver || stream.exhausted())
        used = c.input.size();
    c.input.erase(0, used);
    if (!answered || connectionClosed || last || stream.exhausted() || used == 0 ||
        endsConnection(std::string_view(c.output).substr(answerStart)))
        c.closeAfterOutput = true;
    // Every request gets the full idle time to arrive; slow trickling does
    // not extend it.
    c.deadline = now + m_settings.idleTime;
    return true;
}

// Sends the waiting output. True when all of it went out and the connection
// stays open for further requests.
bool SiteHttpServer::Loop::flush(Connection &c, Clock::time_point now)
{
    while (c.sent < c.output.size()) {
        const ssize_t sent = ::send(c.fd, c.output.data() + c.sent, c.output.size() - c.sent, MSG_NOSIGNAL);
        if (sent > 0) {
            c.sent += static_cast<std::size_t>(sent);
            c.deadline = now + m_settings.idleTime;
        } else if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            watch(c, EPOLLOUT); // and stop reading until the client takes it
            return false;
        } else if (sent < 0 && errno == EINTR) {
            continue;
        } else {
            close(c);
            return false;
        }
    }
    c.output.clear();
    c.sent = 0;
    if (c.closeAfterOutput) {
        startLingering(c, now);
        return false;
    }
    watch(c, EPOLLIN);
    return true;
}

void SiteHttpServer::Loop::startLingering(Connection &c, Clock::time_point now)
{
    if (c.inputEnded || ::shutdown(c.fd, SHUT_WR) != 0) {
        close(c);
        return;
    }
    c.lingering = true;
    c.input.clear();
    c.input.shrink_to_fit();
    c.deadline = now + lingerTime;
    watch(c, EPOLLIN);
}

void SiteHttpServer::Loop::closeExpired(Clock::time_point now)
{
    std::vector<Connection *> expired;
    for (const auto &entry : m_connections) {
        if (entry.second->deadline <= now)
            expired.push_back(entry.second.get());
    }
    for (Connection *c : expired)
        close(*c);
    m_closed.clear();
}

void SiteHttpServer::Loop::close(Connection &c)
{
    const int fd = c.fd;
    if (fd < 0)
        return;
    ::close(fd); // also leaves the epoll set
    c.fd = -1;
    const auto it = m_connections.find(fd);
    m_closed.push_back(std::move(it->second));
    m_connections.erase(it);
}

SiteHttpServer::SiteHttpServer(int loops)
    : m_loops(std::max(1, loops)), m_stopEvent(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
}

SiteHttpServer::~SiteHttpServer()
{
    const int listenFd = svr_sock_.exchange(INVALID_SOCKET);
    if (listenFd != INVALID_SOCKET)
        ::close(listenFd);
    if (m_stopEvent >= 0)
        ::close(m_stopEvent);
}

int SiteHttpServer::bindAndListen(const std::string &address, int port)
{
    const int bound = port == 0 ? bind_to_any_port(address) : bind_to_port(address, port) ? port : -1;
    if (bound <= 0)
        return -1;
    // The library listens with a backlog of 5, too short for a burst of
    // connections; the loops accept without blocking.
    const int fd = svr_sock_;
    ::listen(fd, SOMAXCONN);
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    return bound;
}

namespace {

// Connections one loop may hold. The soft limit on open files is raised to
// the hard one, and part of it is kept for the page files the handlers open:
// a server that spends every descriptor on connections can answer none.
std::size_t connectionsPerLoop(int loops)
{
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return 256;
    if (limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &limit);
        ::getrlimit(RLIMIT_NOFILE, &limit);
    }
    const std::size_t files = std::min<rlim_t>(limit.rlim_cur, 1 << 20);
    const std::size_t reserve = 16 + files / 8;
    return std::max<std::size_t>(1,
                                 (files > reserve ? files - reserve : 0) / static_cast<std::size_t>(loops));
}

} // namespace

bool SiteHttpServer::serve()
{
    const int listenFd = svr_sock_;
    if (listenFd == INVALID_SOCKET || m_stopEvent < 0)
        return false;
    const Loop::Settings settings{
        listenFd,
        m_stopEvent,
        std::max<std::size_t>(1, keep_alive_max_count_),
        connectionsPerLoop(m_loops),
        std::chrono::seconds(std::max<time_t>(1, keep_alive_timeout_sec_)),
        {maxHeaderBytes, std::min(payload_max_length_, maxBodyBytes)},
    };
    std::vector<std::unique_ptr<Loop>> loops;
    for (int i = 0; i < m_loops; ++i) {
        loops.push_back(std::make_unique<Loop>(*this, settings));
        if (!loops.back()->start())
            return false;
    }
    std::vector<std::thread> threads;
    for (std::size_t i = 1; i < loops.size(); ++i)
        threads.emplace_back([loop = loops[i].get()] { loop->run(); });
    loops.front()->run();
    for (auto &thread : threads)
        thread.join();
    return true;
}

void SiteHttpServer::stopServing()
{
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(m_stopEvent, &one, sizeof one);
}

std::string SiteHttpServer::answerInMemory(std::string_view request)
{
    static const Endpoint loopback{"127.0.0.1", 8360};
    std::string output;
    BufferedStream stream(request, output, loopback, loopback, -1);
    bool connectionClosed = false;
    answer(stream, false, connectionClosed);
    return output;
}

bool SiteHttpServer::answer(httplib::Stream &stream, bool lastRequest, bool &connectionClosed)
{
    return process_request(stream, lastRequest, connectionClosed, nullptr);
}
