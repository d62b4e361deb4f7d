// The stake-out check over a long road: 1,000,000 measured points against a road of 10,000 curve
// groups, after the road is calculated. The index is built once per road (timed on its own);
// the points are checked in the order a surveyor walks the road.
#include "long_road.h"
#include "road/check/road_check.h"
#include "road/design/road_design.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace telvane::road {
namespace {

struct Road {
    DesignAxisCalculate design;
    double end = 0;
};

const Road& LongRoad() {
    static const Road road = [] {
        Road r;
        std::vector<PlaneInfo> chain = bench::TypedChain(10000, true);
        std::string message;
        if (!PrepareLineElements(chain, message))
            return r;
        r.design.SetPlaneElements(chain.front().Mileage, chain);
        std::vector<LongSlopesInfo> profile;
        for (double K = chain.front().Mileage; K <= chain.back().Mileage; K += 500) {
            LongSlopesInfo p;
            p.Mileage = K;
            p.Height = 100 + (static_cast<int>(K / 500) % 2 == 0 ? 0 : 5);
            profile.push_back(p);
        }
        r.design.SetLongSlopes(profile);
        r.end = chain.back().Mileage;
        return r;
    }();
    return road;
}

// Points within 25 m either side of the axis, walking the road from start to end; every tenth
// one named after the stake it was meant to mark (a centre or side stake, 1 to 3 cm off).
std::vector<check::MeasuredPoint> Points(const Road& road, std::size_t count) {
    const check::AxisIndex axis(road.design.PlaneElements());
    std::mt19937_64 random(42);
    std::uniform_real_distribution<double> offset(-25, 25);
    std::vector<check::MeasuredPoint> points;
    points.reserve(count);
    for (std::size_t k = 0; k < count; ++k) {
        const double K = road.end * (static_cast<double>(k) + 0.5) / static_cast<double>(count);
        ChainPoint at;
        axis.At(K, 0, at);
        check::MeasuredPoint p;
        const double o = k % 10 == 0 ? 0.02 : offset(random);
        p.North = at.Point.North - o * std::sin(at.Point.Azimuth);
        p.East = at.Point.East + o * std::cos(at.Point.Azimuth);
        p.Elevation = 102;
        p.Name = k % 10 == 0 ? format_stake_name(K) : "P" + std::to_string(k);
        points.push_back(std::move(p));
    }
    return points;
}

void BM_BuildAxisIndex(benchmark::State& state) {
    const Road& road = LongRoad();
    std::size_t pieces = 0;
    for (auto _ : state) {
        const check::AxisIndex axis(road.design.PlaneElements());
        pieces = axis.PieceCount();
        benchmark::DoNotOptimize(pieces);
    }
    state.counters["elements"] = static_cast<double>(road.design.PlaneElements().size());
    state.counters["pieces"] = static_cast<double>(pieces);
}
BENCHMARK(BM_BuildAxisIndex)->Unit(benchmark::kMillisecond);

// The foot search alone: chainage and offset of every point.
void BM_FootOfPoints(benchmark::State& state) {
    const Road& road = LongRoad();
    const std::vector<check::MeasuredPoint> points =
        Points(road, static_cast<std::size_t>(state.range(0)));
    const check::AxisIndex axis(road.design.PlaneElements());
    for (auto _ : state) {
        std::optional<double> previous;
        for (const check::MeasuredPoint& p : points) {
            const std::optional<check::Foot> foot = axis.FootOf({p.North, p.East}, previous);
            previous = foot->Chainage;
            benchmark::DoNotOptimize(foot);
        }
    }
    state.counters["points/s"] = benchmark::Counter(static_cast<double>(state.iterations()) *
                                                        static_cast<double>(points.size()),
                                                    benchmark::Counter::kIsRate);
}
BENCHMARK(BM_FootOfPoints)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The whole check of every point: foot, design elevation, height difference, the named stake's
// deviation and the verdict.
void BM_CheckPoints(benchmark::State& state) {
    const Road& road = LongRoad();
    const std::vector<check::MeasuredPoint> points =
        Points(road, static_cast<std::size_t>(state.range(0)));
    const check::StakeCheck check(road.design, 5, {});
    std::size_t within = 0;
    for (auto _ : state) {
        const std::vector<check::PointCheck> results = check.CheckAll(points);
        within = 0;
        for (const check::PointCheck& r : results)
            within += r.Result == check::Verdict::Within ? 1 : 0;
        benchmark::DoNotOptimize(within);
    }
    state.counters["points/s"] = benchmark::Counter(static_cast<double>(state.iterations()) *
                                                        static_cast<double>(points.size()),
                                                    benchmark::Counter::kIsRate);
    state.counters["within"] = static_cast<double>(within);
}
BENCHMARK(BM_CheckPoints)->Arg(1000000)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace telvane::road
