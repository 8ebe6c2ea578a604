#pragma once

#include "site/AccessLog.h"
#include "site/PriceTable.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace httplib {
struct Request;
struct Response;
} // namespace httplib

namespace site {

// The stand-in vendor web site: static pages from a folder, the news page
// with links to this host, the quote service and the support chat page.
// Served by cpp-httplib: a pool of threads, each serving one connection at a
// time.
class SiteServer
{
public:
    struct Settings
    {
        std::string address = "127.0.0.1";
        int port = 8360; // 0: any free port
        std::string pagesDir;
        std::string pricesFile;
        std::string stateDir; // keeps the last good price table; empty: none kept
        int threads = 64;     // connections served at once
        bool accessLog = true;
        int logFd = 1; // standard output
    };

    explicit SiteServer(Settings settings);
    ~SiteServer();

    SiteServer(const SiteServer &) = delete;
    SiteServer &operator=(const SiteServer &) = delete;

    // Reads the price table and the templates (on SIGHUP). On failure the
    // data in use stays as it was. A table that loads is kept in the state
    // folder as the last good one.
    bool reload(std::string &error);
    // Reads them at start, where a broken price table does not stop the
    // site: it quotes from the last good table in the state folder, or
    // answers quote requests with 503 without one, and notice says which.
    // False only when the templates cannot be read.
    bool start(std::string &error, std::string &notice);
    // Returns the bound port, or -1.
    int bind();
    // Serves fd, a listening stream socket made elsewhere (handed over by
    // the service manager), instead of binding. Returns its port (0 for a
    // socket that is not TCP) and sets address to its address, or -1.
    int adopt(int fd, std::string &address);
    // Serves until stop(), then closes the listening socket; false if the
    // socket failed.
    bool run();
    // Ends run() within a tenth of a second, also when called before it. The
    // socket is closed, not shut down: a handed-over socket is shared with
    // the service manager, which goes on listening on it.
    void stop();
    // How long no connection has been open: zero while one is served.
    std::chrono::steady_clock::duration idleTime() const;

private:
    class Http;
    struct Data
    {
        std::optional<PriceTable> prices; // none: quotes are unavailable
        std::string layout;
        std::string chatTemplate;
    };

    bool readTemplates(Data &data, std::string &error) const;
    void publish(std::shared_ptr<const Data> data);
    std::string lastGoodPath() const;
    void keepLastGood(const std::string &text) const;
    std::shared_ptr<const Data> data() const;
    void route(const httplib::Request &req, httplib::Response &res) const;
    void serveQuote(const httplib::Request &req, httplib::Response &res) const;
    void serveChat(const httplib::Request &req, httplib::Response &res) const;
    void serveFile(const httplib::Request &req, httplib::Response &res) const;
    void servePage(httplib::Response &res, int status, const std::string &title,
                   const std::string &content) const;
    void logRequest(const httplib::Request &req, const httplib::Response &res) const;

    Settings m_settings;
    std::unique_ptr<Http> m_http;
    int m_listenSocket = -1;
    std::atomic<int> m_openConnections = 0;
    std::atomic<std::chrono::steady_clock::rep> m_lastActivity;
    mutable std::mutex m_dataMutex;
    std::shared_ptr<const Data> m_data;
    std::unique_ptr<AccessLog> m_log;
};

} // namespace site
