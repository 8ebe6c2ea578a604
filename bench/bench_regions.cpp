#include "app/ProgramWindows.h"
#include "app/WindowSet.h"
#include "platform/InertBrowser.h"
#include "platform/RecordingMessages.h"
#include "platform/RecordingShell.h"
#include "platform/core/TextFileInput.h"
#include "quote/MainWindow.h"
#include "quote/core/RegionTable.h"

#include <QApplication>
#include <QComboBox>

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {
const QString &shippedLine()
{
    static const QString line = [] {
        const FirstLine first = readFirstLineGbk(QStringLiteral(RIVAV_CITY_TXT));
        if (first.status != FirstLine::Status::Ok)
            qFatal("cannot read %s", RIVAV_CITY_TXT);
        return first.text;
    }();
    return line;
}

const QString province = u"440000|广东省"_s;
const QString city = u"440300|深圳市"_s;

// The region table from the line, and the provinces for city1.
void BM_TableAndProvinces(benchmark::State &state)
{
    const QString &line = shippedLine();
    for (auto _ : state) {
        const QStringList table = RegionTable::split(line);
        benchmark::DoNotOptimize(RegionTable::provinces(table));
    }
}
BENCHMARK(BM_TableAndProvinces)->Unit(benchmark::kMicrosecond);

// One province pick and one city pick: two walks over the table.
void BM_CityAndDistrictWalk(benchmark::State &state)
{
    const QStringList table = RegionTable::split(shippedLine());
    for (auto _ : state) {
        benchmark::DoNotOptimize(RegionTable::cities(table, province));
        benchmark::DoNotOptimize(RegionTable::districts(table, province, city));
    }
}
BENCHMARK(BM_CityAndDistrictWalk)->Unit(benchmark::kMicrosecond);

MainWindow *mainWindow()
{
    static RecordingShell shell;
    static RecordingMessages messages;
    static auto *window =
        new MainWindow({shell, messages, inertBrowsers()}, shippedLine(), MainWindow::Start::LayoutOnly);
    return window;
}

// The same two steps on the main window, combo boxes included.
void BM_WindowFillprovince(benchmark::State &state)
{
    MainWindow *window = mainWindow();
    auto *city1 = window->control<QComboBox>(u"city1"_s);
    for (auto _ : state) {
        city1->clear();
        window->fillprovince();
    }
}
BENCHMARK(BM_WindowFillprovince)->Unit(benchmark::kMicrosecond);

void BM_WindowFillcityFilldistrict(benchmark::State &state)
{
    MainWindow *window = mainWindow();
    window->fillprovince();
    auto *city1 = window->control<QComboBox>(u"city1"_s);
    auto *city2 = window->control<QComboBox>(u"city2"_s);
    for (auto _ : state) {
        city1->setEditText(province);
        window->fillcity();
        city2->setEditText(city);
        window->filldistrict();
    }
}
BENCHMARK(BM_WindowFillcityFilldistrict)->Unit(benchmark::kMicrosecond);
} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
