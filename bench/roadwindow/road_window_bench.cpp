// The road window's Calculate on a long road, offscreen: 100,000 stakes on a chain of 10,000
// curve groups, with the tables refilled and the window painted.
#include "../road/long_road.h"
#include "mainwindow/startup.h"
#include "scripted_prompts.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace telvane;
using namespace telvane::road;

namespace {

void BM_RoadWindowCalculate(benchmark::State& state) {
    QTemporaryDir dir;
    for (const char* f : {"Language.cfg", "FileType.cfg", "HELP.txt"})
        QFile::copy(QDir(TELVANE_LANGUAGE_DIR).filePath(f), dir.filePath(f));
    ScriptedPrompts prompts;
    StartResult started =
        start_windows({dir.path(), dir.filePath("telvane.INI"), dir.path()}, prompts);
    if (!started.windows) {
        state.SkipWithError("start failed");
        return;
    }
    TFormRoadCalculate& window = *started.windows->FormRoadCalculate;
    window.show();
    const std::vector<PlaneInfo> chain = bench::TypedChain(10000);
    const double length = 200 + 10000 * (60 + 130 + 60 + 200.0);
    std::vector<Pile> stakes(100000);
    for (std::size_t k = 0; k < stakes.size(); ++k)
        stakes[k].Mileage =
            0.95 * length * static_cast<double>(k) / static_cast<double>(stakes.size());
    window.Edit5->setText("7.5");
    for (auto _ : state) {
        state.PauseTiming();
        RoadState& s = EditRoadState(window.Data);
        s.PlaneElements = chain;
        s.Stakes = stakes;
        s.InputMode = RoadList::Elements;
        s.PlanePrepared = false;
        state.ResumeTiming();
        window.BtnCalculateClick();
        window.repaint();
        QApplication::processEvents();
    }
    if (!prompts.messages.isEmpty())
        state.SkipWithError(qPrintable(prompts.messages.front()));
    // Every stake got its position: none was skipped.
    for (const Pile& p : window.Data.Stakes())
        if (p.MiddleN == 0 || p.LeftN == 0) {
            state.SkipWithError("a stake was not calculated");
            break;
        }
    state.counters["stakes"] = static_cast<double>(window.Data.Stakes().size());
    state.counters["elements"] = static_cast<double>(window.Data.PlaneElements().size());
}
BENCHMARK(BM_RoadWindowCalculate)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
