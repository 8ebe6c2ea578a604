#pragma once

#include "AccessLog.h"
#include "PriceTable.h"

#include <memory>
#include <mutex>
#include <string>

namespace httplib {
struct Request;
struct Response;
} // namespace httplib

class SiteHttpServer;

// The stand-in vendor web site: static pages from a folder, the news page
// with links to this host, the quote service and the support chat page.
class SiteServer
{
public:
    struct Settings
    {
        std::string address = "127.0.0.1";
        int port = 8360; // 0: any free port
        std::string pagesDir;
        std::string pricesFile;
        int threads = 2; // event loops, each serving many connections
        bool accessLog = true;
        int logFd = 1; // standard output
    };

    explicit SiteServer(Settings settings);
    ~SiteServer();

    // Reads the price table and the templates (at start and on SIGHUP). On
    // failure the data in use stays as it was.
    bool reload(std::string &error);
    // Returns the bound port, or -1.
    int bind();
    // Serves until stop().
    bool run();
    void stop();

    // Answers raw request bytes without a connection, as a loop would: for
    // measuring the cost of a request apart from the network.
    std::string answerInMemory(std::string_view request);

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
    std::unique_ptr<SiteHttpServer> m_http;
    mutable std::mutex m_dataMutex;
    std::shared_ptr<const Data> m_data;
    std::unique_ptr<AccessLog> m_log;
};
