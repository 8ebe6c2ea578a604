// The site's work per quote: decoding and checking the query, the estimate
// and the page; and a whole request from a keep-alive client over loopback
// through the HTTP library, the handlers and the access log.

#include "site/Estimate.h"
#include "site/PriceTable.h"
#include "site/QuoteRequest.h"
#include "site/SitePages.h"
#include "site/SiteServer.h"

#include <benchmark/benchmark.h>
#include <httplib.h>

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

using namespace site;

namespace {

// The request the desktop program sends for the design's example.
const std::string query =
    "bom1=3&bom2=1&bom3=1&bom4=1&bom5=1&bom6=2&bomarea2=30&bomarea3=12.5&bomarea1=40&bomarea4=8"
    "&bomarea5=5&bomarea6=6&pho=13812345678&cit1=110000&cit2=110100&cit3=110101&dc=2&findman3=13"
    "&kongzhi=tijiao&findman=1&fengge=3&sumcityname=%B1%B1%BE%A9%CA%D0%CA%D0%CF%BD%C7%F8%B6%AB%B3%C7%C7%F8"
    "&xingshi=%CD%F5";

std::string readText(const char *path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", path);
        std::exit(1);
    }
    return text.str();
}

const PriceTable &prices()
{
    static const PriceTable table = [] {
        std::string error;
        auto parsed = PriceTable::parse(readText(SITE_PRICES), error);
        if (!parsed) {
            std::fprintf(stderr, "%s\n", error.c_str());
            std::exit(1);
        }
        return *parsed;
    }();
    return table;
}

void BM_ParseQuoteRequest(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(parseQuoteRequest(query));
}
BENCHMARK(BM_ParseQuoteRequest);

void BM_EstimateAndPage(benchmark::State &state)
{
    const QuoteRequest request = *parseQuoteRequest(query).request;
    const std::string layout = readText(SITE_LAYOUT);
    const SitePages::QuoteIssue issue{"2026年12月9日", "2027年1月8日", "http://127.0.0.1:8360"};
    for (auto _ : state) {
        const Estimate estimate = estimateQuote(request, prices());
        benchmark::DoNotOptimize(SitePages::wrap(
            layout, "装修报价估算单", SitePages::quoteContent(request, estimate, prices(), issue)));
    }
}
BENCHMARK(BM_EstimateAndPage);

// One client after another on one connection: the latency of a request
// rather than the server's throughput (bench/site-load.sh measures that).
void BM_QuoteOverLoopback(benchmark::State &state)
{
    SiteServer::Settings settings;
    settings.port = 0;
    settings.pagesDir = SITE_PAGES;
    settings.pricesFile = SITE_PRICES;
    settings.threads = 2;
    settings.logFd = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    settings.accessLog = state.range(0) != 0;
    {
        SiteServer server(settings);
        std::string error;
        const int port = server.reload(error) ? server.bind() : -1;
        if (port < 0) {
            state.SkipWithError(error.empty() ? "cannot listen" : error.c_str());
            return;
        }
        std::atomic<bool> served = false;
        std::thread serving([&] {
            server.run();
            served = true;
        });
        {
            httplib::Client client("127.0.0.1", port);
            client.set_keep_alive(true);
            const std::string target = "/AutoPrice.action?" + query;
            for (auto _ : state) {
                const auto res = client.Get(target);
                if (!res || res->status != 200) {
                    state.SkipWithError("the quote was not answered with 200");
                    break;
                }
            }
        } // the connection closes, so its thread is free to stop
        // Repeated: a stop before the server serves would be lost.
        while (!served) {
            server.stop();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        serving.join();
    }
    ::close(settings.logFd);
}
BENCHMARK(BM_QuoteOverLoopback)->ArgName("log")->Arg(0)->Arg(1)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
