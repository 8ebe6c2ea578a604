// rivav-site: the stand-in vendor web site on loopback.

#include "site/PriceTable.h"
#include "site/SiteServer.h"
#include "site/SocketHandOver.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <pthread.h>
#include <string>
#include <string_view>
#include <thread>

namespace fs = std::filesystem;

namespace {

constexpr const char *usage = R"(Usage: rivav-site [options]

Serves the vendor web site of rivav (筑点网): the home page, the news page
/softnews.html and its articles, /zxpic.htm, /MemberPrice.htm, the
instructions /softload/explain.html, the quote service /AutoPrice.action and
the support chat page /msgrd.

Options:
  --address ADDR   address to listen on (default 127.0.0.1)
  --port N         port to listen on (default 8360; 0 picks a free port)
  --pages DIR      folder of the pages (default: site-data/pages beside the
                   program, else )" RIVAV_SITE_PAGES R"()
  --prices FILE    unit price table (default: site-data/prices.ini beside the
                   program, else )" RIVAV_SITE_PRICES R"()
  --state DIR      folder where the last price table that loaded is kept
                   (default: $STATE_DIRECTORY, set by systemd; else none)
  --check FILE     check a price table and exit: 0 if it loads, else 2 with
                   the line at fault
  --threads N      connections served at once, one thread each (default 64);
                   further connections wait for a free thread
  --idle-exit N    with a socket handed over: exit after N seconds without a
                   connection (default: never)
  --quiet          no access log
  --help           show this text

Started by systemd's socket activation (LISTEN_PID and LISTEN_FDS set), it
serves the one listening socket handed over as descriptor 3 and ignores
--address and --port; any other hand-over is refused.

The first line on standard output is "listening on http://ADDR:PORT/"; one
line per request follows. The price table and the templates _layout.html and
_chat.html are read at start and again on SIGHUP; the other pages on every
request. A broken price table is refused on SIGHUP, keeping the one in use;
at start, the site serves its pages and quotes from the last good table in
the state folder, or answers quote requests with 503 if there is none.
SIGINT or SIGTERM stops the server.
)";

fs::path programDir()
{
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::current_path() : exe.parent_path();
}

bool parseNumber(const char *text, int lowest, int highest, int &value)
{
    char *end = nullptr;
    const long n = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || n < lowest || n > highest)
        return false;
    value = static_cast<int>(n);
    return true;
}

int fail(const std::string &message)
{
    std::fprintf(stderr, "rivav-site: %s\n", message.c_str());
    return 2;
}

int checkPrices(const std::string &path)
{
    std::string error;
    if (!site::PriceTable::load(path, error))
        return fail(error);
    std::printf("%s: the price table is good\n", path.c_str());
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    site::SiteServer::Settings settings;
    // A build tree has the data beside the program; an installed program
    // uses the installed pages and the price table under /etc.
    const fs::path dataDir = programDir() / "site-data";
    std::error_code ec;
    const bool besideProgram = fs::is_directory(dataDir, ec);
    settings.pagesDir = besideProgram ? (dataDir / "pages").string() : RIVAV_SITE_PAGES;
    settings.pricesFile = besideProgram ? (dataDir / "prices.ini").string() : RIVAV_SITE_PRICES;
    // systemd names the StateDirectory= folder(s) here, separated by colons.
    if (const char *state = std::getenv("STATE_DIRECTORY"))
        settings.stateDir = std::string(state).substr(0, std::string_view(state).find(':'));
    int idleExit = 0;

    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--help" || arg == "-h") {
            std::fputs(usage, stdout);
            return 0;
        } else if (arg == "--quiet") {
            settings.accessLog = false;
        } else if (arg == "--address" && hasValue) {
            settings.address = argv[++i];
        } else if (arg == "--port" && hasValue) {
            if (!parseNumber(argv[++i], 0, 65535, settings.port))
                return fail("--port needs a number from 0 to 65535");
        } else if (arg == "--threads" && hasValue) {
            if (!parseNumber(argv[++i], 1, 256, settings.threads))
                return fail("--threads needs a number from 1 to 256");
        } else if (arg == "--idle-exit" && hasValue) {
            if (!parseNumber(argv[++i], 1, 86400, idleExit))
                return fail("--idle-exit needs a number of seconds from 1 to 86400");
        } else if (arg == "--check" && hasValue) {
            return checkPrices(argv[++i]);
        } else if (arg == "--state" && hasValue) {
            settings.stateDir = argv[++i];
        } else if (arg == "--pages" && hasValue) {
            settings.pagesDir = argv[++i];
        } else if (arg == "--prices" && hasValue) {
            settings.pricesFile = argv[++i];
        } else {
            return fail("unknown or incomplete option " + std::string(arg) + " (see --help)");
        }
    }

    // Signals are taken by one thread with sigwait, so the handlers may do
    // anything; every other thread inherits the blocked mask.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    const site::SocketHandOver handOver = site::takeHandedOverSocket();
    if (handOver.kind == site::SocketHandOver::Kind::refused)
        return fail("refusing the socket handed over: " + handOver.error);
    const bool handedOver = handOver.kind == site::SocketHandOver::Kind::socket;
    if (idleExit > 0 && !handedOver) {
        // Nothing would start a server again that exited by itself.
        std::fprintf(stderr, "rivav-site: no socket handed over, so --idle-exit does not apply\n");
        idleExit = 0;
    }

    site::SiteServer server(settings);
    std::string error;
    std::string notice;
    if (!server.start(error, notice))
        return fail(error);
    if (!notice.empty())
        std::fprintf(stderr, "rivav-site: %s\n", notice.c_str());
    std::string address = settings.address;
    const int port = handedOver ? server.adopt(handOver.fd, address) : server.bind();
    if (port < 0)
        return fail(handedOver
                        ? "cannot read the address of the socket handed over"
                        : "cannot listen on " + settings.address + ":" + std::to_string(settings.port));

    if (address.find(':') != std::string::npos)
        address = "[" + address + "]";
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::printf("listening on http://%s:%d/%s\n", address.c_str(), port,
                handedOver ? " (socket handed over)" : "");

    std::atomic<bool> finished = false;
    std::thread signalThread([&] {
        const timespec tick{0, 200 * 1000 * 1000};
        while (!finished) {
            if (idleExit > 0 && server.idleTime() >= std::chrono::seconds(idleExit)) {
                std::fprintf(stderr, "rivav-site: no connection for %d s, exiting\n", idleExit);
                server.stop();
                idleExit = 0;
            }
            const int received = sigtimedwait(&signals, nullptr, &tick);
            if (received == SIGHUP) {
                std::string reloadError;
                if (server.reload(reloadError))
                    std::fprintf(stderr, "rivav-site: reloaded prices and templates\n");
                else
                    std::fprintf(stderr, "rivav-site: reload failed, keeping the old data: %s\n",
                                 reloadError.c_str());
            } else if (received == SIGINT || received == SIGTERM) {
                server.stop();
            }
        }
    });

    const bool served = server.run();
    finished = true;
    signalThread.join();
    std::fprintf(stderr, "rivav-site: stopped\n");
    return served ? 0 : 1;
}
