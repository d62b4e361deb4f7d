// Stakes per second of the design axis over a long alignment of lines, circles and clothoids.
#include "road/engine/road_engine.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <string>
#include <vector>

namespace telvane::road {
namespace {

// A zig-zag polygon of `curves` interior points, each with a circle and two spirals of varying
// lengths, turning alternately right and left; roughly a third of the length lies on spirals.
std::vector<PlaneInfo> ZigZagChain(int curves) {
    std::vector<IntersectionPointInfo> points(static_cast<std::size_t>(curves) + 2);
    for (std::size_t k = 0; k < points.size(); ++k) {
        IntersectionPointInfo& p = points[k];
        p.North = 600.0 * static_cast<double>(k);
        p.East = (k % 2 == 0) ? 0.0 : 250.0;
        p.Radius = 300 + 50.0 * static_cast<double>(k % 5);
        p.ClothoidLength1 = 60 + 10.0 * static_cast<double>(k % 3);
        p.ClothoidLength2 = 50 + 15.0 * static_cast<double>(k % 4);
    }
    std::vector<PlaneInfo> chain;
    IpMessage message;
    if (!IntersectionPointCalculate(0, points, chain, message)) {
        chain.clear();
    }
    return chain;
}

LongSlopesInfo Grade(double K, double H, double s1, double s2, double R) {
    LongSlopesInfo p;
    p.Mileage = K;
    p.Height = H;
    p.Slope1 = s1;
    p.Slope2 = s2;
    p.Radius = R;
    p.CurveFlag = R != 0 ? 1 : 0;
    return p;
}

// Stakes every 1.37 m along the whole chain (state.range(0): offset of the side stakes;
// state.range(1): 1 with a rolling profile).
void BM_CalculatePile(benchmark::State& state) {
    const std::vector<PlaneInfo> chain = ZigZagChain(200);
    DesignAxisCalculate axis;
    if (chain.empty() || !axis.SetPlaneElements(0, chain)) {
        state.SkipWithError("no chain");
        return;
    }
    const double end = chain.back().Mileage;
    if (state.range(1) != 0) {
        std::vector<LongSlopesInfo> profile;
        for (double K = 0; K < end; K += 400) {
            const double g = (static_cast<int>(K / 400) % 2 == 0) ? 15 : -15;
            profile.push_back(Grade(K, 100 + (g > 0 ? 0 : 6), -g, g, profile.empty() ? 0 : 4000));
        }
        profile.push_back(Grade(end, 100, 0, 0, 0));
        axis.SetLongSlopes(profile);
    }
    const double offset = static_cast<double>(state.range(0));
    std::int64_t stakes = 0;
    double K = 0;
    Pile pile;
    for (auto _ : state) {
        benchmark::DoNotOptimize(axis.CalculatePile(K, offset, pile));
        benchmark::DoNotOptimize(pile);
        K += 1.37;
        if (K > end) {
            K = 0;
        }
        ++stakes;
    }
    state.counters["stakes/s"] =
        benchmark::Counter(static_cast<double>(stakes), benchmark::Counter::kIsRate);
    state.counters["elements"] = static_cast<double>(chain.size());
}
BENCHMARK(BM_CalculatePile)->Args({10, 0})->Args({0, 0})->Args({10, 1});

// Building the chain from intersection points.
void BM_IntersectionPointCalculate(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(ZigZagChain(static_cast<int>(state.range(0))));
    }
    state.counters["curves/s"] = benchmark::Counter(
        static_cast<double>(state.iterations() * state.range(0)), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_IntersectionPointCalculate)->Arg(1000);

} // namespace
} // namespace telvane::road
