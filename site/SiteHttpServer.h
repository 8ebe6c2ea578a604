#pragma once

#include <httplib.h>

#include <string>

// An httplib::Server whose connections are served by a few event loops
// (epoll, non-blocking sockets) instead of the library's blocking thread per
// connection. The library still parses every request, routes it, runs the
// handlers and writes the answer; a loop only hands it whole requests from
// its buffer and sends what it wrote, several connections per thread. That
// saves the poll before every read and write, the separate writes of headers
// and body, and a thread switch per request.
class SiteHttpServer : public httplib::Server
{
public:
    explicit SiteHttpServer(int loops);
    ~SiteHttpServer() override;

    SiteHttpServer(const SiteHttpServer &) = delete;
    SiteHttpServer &operator=(const SiteHttpServer &) = delete;

    // Binds and listens; port 0 takes a free one. Returns the port, or -1.
    int bindAndListen(const std::string &address, int port);
    // Serves until stopServing(); false if nothing is bound or a loop could
    // not start.
    bool serve();
    // From any thread or signal-handling code, also before serve().
    void stopServing();

    // The answer to the first request in the bytes, as a loop would send it.
    std::string answerInMemory(std::string_view request);

private:
    class Loop;

    // Parses one buffered request and writes its answer into the stream.
    bool answer(httplib::Stream &stream, bool lastRequest, bool &connectionClosed);

    int m_loops;
    int m_stopEvent = -1;
};
