#pragma once

#include "site/AccessLog.h"
#include "site/PriceTable.h"

#include <memory>
#include <mutex>
#include <string>

namespace httplib {
class Server;
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
        int threads = 64; // connections served at once
        bool accessLog = true;
        int logFd = 1; // standard output
    };

    explicit SiteServer(Settings settings);
    ~SiteServer();

    SiteServer(const SiteServer &) = delete;
    SiteServer &operator=(const SiteServer &) = delete;

    // Reads the price table and the templates (at start and on SIGHUP). On
    // failure the data in use stays as it was.
    bool reload(std::string &error);
    // Returns the bound port, or -1.
    int bind();
    // Serves until stop(); false if the listening socket failed.
    bool run();
    // Takes effect only while run() is serving.
    void stop();

private:
    struct Data
    {
        PriceTable prices;
        std::string layout;
        std::string chatTemplate;
    };

    std::shared_ptr<const Data> data() const;
    void route(const httplib::Request &req, httplib::Response &res) const;
    void serveQuote(const httplib::Request &req, httplib::Response &res) const;
    void serveChat(const httplib::Request &req, httplib::Response &res) const;
    void serveFile(const httplib::Request &req, httplib::Response &res) const;
    void servePage(httplib::Response &res, int status, const std::string &title,
                   const std::string &content) const;
    void logRequest(const httplib::Request &req, const httplib::Response &res) const;

    Settings m_settings;
    std::unique_ptr<httplib::Server> m_http;
    int m_listenSocket = -1;
    mutable std::mutex m_dataMutex;
    std::shared_ptr<const Data> m_data;
    std::unique_ptr<AccessLog> m_log;
};

} // namespace site
