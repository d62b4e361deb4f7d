// Repainting pictures at the zoom that shows everything: a map of 1,000,000 points and the plan
// of a road of 10,000 curve groups, one frame each iteration, offscreen.
#include "../road/long_road.h"
#include "plot/picture.h"
#include "road/design/line_elements.h"
#include "ui/plot_view.h"

#include <QApplication>
#include <QImage>

#include <benchmark/benchmark.h>

using namespace telvane;
using namespace telvane::road;

namespace {

void frames(benchmark::State& state, PlotView& view) {
    view.resize(1000, 700);
    view.Fit();
    QImage frame(view.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        frame.fill(Qt::white);
        view.render(&frame);
        benchmark::DoNotOptimize(frame.constBits());
    }
}

void BM_RepaintMillionPoints(benchmark::State& state) {
    std::vector<coord_item> points(1000000);
    for (std::size_t i = 0; i < points.size(); ++i)
        points[i] = {"P", "", 3000000.0 + static_cast<double>(i % 1000) * 0.7,
                     500000.0 + static_cast<double>(i / 1000) * 0.9, 0};
    PlotView view;
    view.SetPicture(plot::points_map(points, false));
    frames(state, view);
    state.counters["marks"] = static_cast<double>(view.Picture().marks.size());
}
BENCHMARK(BM_RepaintMillionPoints)->Unit(benchmark::kMillisecond);

void BM_RepaintLongRoadPlan(benchmark::State& state) {
    std::vector<PlaneInfo> chain = bench::TypedChain(10000);
    std::string message;
    if (!PrepareLineElements(chain, message)) {
        state.SkipWithError("chain refused");
        return;
    }
    DesignAxisCalculate axis;
    if (!axis.SetPlaneElements(0, chain)) {
        state.SkipWithError("axis refused");
        return;
    }
    PlotView view;
    view.resize(1000, 700);
    const double tolerance = plot::tolerance_for(plot::axis_extents(axis), 4000);
    view.SetPicture(plot::road_plan(axis, {}, {}, tolerance));
    std::size_t samples = 0;
    for (const plot::Polyline& line : view.Picture().lines)
        samples += line.points.size();
    frames(state, view);
    state.counters["samples"] = static_cast<double>(samples);
}
BENCHMARK(BM_RepaintLongRoadPlan)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
