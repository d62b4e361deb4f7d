// The road window's calculation over long alignments: preparing a typed element chain and
// calculating the stakes of a whole road.
#include "long_road.h"
#include "road/design/road_design.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace telvane::road {
namespace {

using bench::TypedChain;

void BM_PrepareLineElements(benchmark::State& state) {
    const int groups = static_cast<int>(state.range(0));
    const std::vector<PlaneInfo> typed = TypedChain(groups, state.range(1) != 0);
    std::size_t prepared = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<PlaneInfo> chain = typed;
        state.ResumeTiming();
        std::string message;
        if (!PrepareLineElements(chain, message)) {
            state.SkipWithError("chain refused");
            return;
        }
        prepared = chain.size();
        benchmark::DoNotOptimize(chain.data());
    }
    state.counters["groups/s"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * groups, benchmark::Counter::kIsRate);
    state.counters["elements"] = static_cast<double>(prepared);
}
BENCHMARK(BM_PrepareLineElements)
    ->Args({10000, 1})
    ->Args({10000, 0})
    ->Unit(benchmark::kMillisecond);

// The calculation command on a prepared chain of 10,000 curve groups with a rolling profile:
// the chain and the profile are handed to the engine and every stake is calculated.
void BM_CalculateStakes(benchmark::State& state) {
    RoadData road;
    EditRoadState(road).InputMode = RoadList::Elements;
    EditRoadState(road).PlaneElements = TypedChain(10000, true);
    std::string message;
    if (!road.PrepareLineElements(message)) {
        state.SkipWithError("chain refused");
        return;
    }
    EditRoadState(road).PlanePrepared = true;
    const double end = EditRoadState(road).PlaneElements.back().Mileage;
    for (double K = 0; K <= end; K += 500) {
        LongSlopesInfo p;
        p.Mileage = K;
        p.Height = 100 + ((static_cast<int>(K / 500) % 2) == 0 ? 0 : 5);
        EditRoadState(road).GradePoints.push_back(p);
    }
    const std::size_t count = static_cast<std::size_t>(state.range(0));
    EditRoadState(road).Stakes.resize(count);
    for (std::size_t k = 0; k < count; ++k) {
        EditRoadState(road).Stakes[k].Mileage =
            end * static_cast<double>(k) / static_cast<double>(count);
    }
    for (auto _ : state) {
        EditRoadState(road).ProfileChanged = true;
        const CalculationOutcome outcome = road.Calculate({"", "", "", "", "5"});
        if (outcome.Refused() || outcome.FailedStakes != 0) {
            state.SkipWithError("calculation refused");
            return;
        }
    }
    state.counters["stakes/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * static_cast<double>(count),
                           benchmark::Counter::kIsRate);
    state.counters["elements"] = static_cast<double>(EditRoadState(road).PlaneElements.size());
}
BENCHMARK(BM_CalculateStakes)->Arg(1000000)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace telvane::road
