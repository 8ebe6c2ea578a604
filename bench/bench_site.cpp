// The site's work per request, without the network: decoding and checking
// the quote query, the estimate and the page, and a whole request through the
// HTTP library, the handlers and the access log.

#include "Estimate.h"
#include "PriceTable.h"
#include "QuoteRequest.h"
#include "RequestFraming.h"
#include "SitePages.h"
#include "SiteServer.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

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
    for (auto _ : state) {
        const Estimate estimate = estimateQuote(request, prices());
        benchmark::DoNotOptimize(SitePages::wrap(
            layout, "装修报价估算单", SitePages::quoteContent(request, estimate, prices(), "2026年12月9日")));
    }
}
BENCHMARK(BM_EstimateAndPage);

// A browser's request for the example quote.
const std::string request = "GET /AutoPrice.action?" + query +
                            " HTTP/1.1\r\nHost: 127.0.0.1:8360\r\nUser-Agent: Mozilla/5.0\r\n"
                            "Accept: text/html\r\nAccept-Language: zh-CN\r\nConnection: keep-alive\r\n\r\n";

void BM_FrameRequest(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(RequestFraming::frame(request, {}));
}
BENCHMARK(BM_FrameRequest);

// Everything a loop does for a request between receiving and sending it.
void BM_AnswerQuoteRequest(benchmark::State &state)
{
    SiteServer::Settings settings;
    settings.pagesDir = SITE_PAGES;
    settings.pricesFile = SITE_PRICES;
    settings.logFd = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    settings.accessLog = state.range(0) != 0;
    {
        SiteServer server(settings);
        std::string error;
        if (!server.reload(error)) {
            state.SkipWithError(error.c_str());
            return;
        }
        for (auto _ : state)
            benchmark::DoNotOptimize(server.answerInMemory(request));
        if (server.answerInMemory(request).find("200 OK") == std::string::npos)
            state.SkipWithError("the quote was not answered with 200");
    }
    ::close(settings.logFd);
}
BENCHMARK(BM_AnswerQuoteRequest)->ArgName("log")->Arg(0)->Arg(1);

} // namespace

BENCHMARK_MAIN();
