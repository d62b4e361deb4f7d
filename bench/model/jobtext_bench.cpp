// Job text load and write over 1,000,000 records, beside a baseline that only splits the same
// bytes into lines.
#include "jobtext_data.h"

#include <benchmark/benchmark.h>

namespace {

constexpr std::size_t kRecords = 1000000;

const std::string& job_bytes() {
    static const std::string bytes = telvane::bench::make_job_text(kRecords);
    return bytes;
}

void BM_SplitLinesBaseline(benchmark::State& state) {
    const std::string& bytes = job_bytes();
    for (auto _ : state) {
        telvane::Lines lines = telvane::split_lines(bytes);
        benchmark::DoNotOptimize(lines.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_SplitLinesBaseline)->Unit(benchmark::kMillisecond);

void BM_SplitLineViewsBaseline(benchmark::State& state) {
    const std::string& bytes = job_bytes();
    for (auto _ : state) {
        auto lines = telvane::split_line_views(bytes);
        benchmark::DoNotOptimize(lines.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_SplitLineViewsBaseline)->Unit(benchmark::kMillisecond);

// The file path: views into the file's bytes.
void BM_LoadJobTextFromBytes(benchmark::State& state) {
    const std::string& bytes = job_bytes();
    for (auto _ : state) {
        telvane::Job job;
        const auto result = telvane::load_job_text(telvane::split_line_views(bytes), job);
        if (result != telvane::kLoadOk)
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(job.RecordList.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_LoadJobTextFromBytes)->Unit(benchmark::kMillisecond);

// The line-list path (the serial receive buffer, the Open command's text recognisers).
void BM_LoadJobText(benchmark::State& state) {
    const std::string& bytes = job_bytes();
    for (auto _ : state) {
        telvane::Job job;
        const auto result = telvane::load_job_text(telvane::split_lines(bytes), job);
        if (result != telvane::kLoadOk)
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(job.RecordList.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
    state.counters["file_MB"] = static_cast<double>(bytes.size()) / 1e6;
}
BENCHMARK(BM_LoadJobText)->Unit(benchmark::kMillisecond);

void BM_WriteJobText(benchmark::State& state) {
    const telvane::Job job = telvane::bench::make_job(kRecords);
    std::size_t written = 0;
    for (auto _ : state) {
        const std::string bytes = telvane::join_lines(telvane::write_job_text(job));
        written = bytes.size();
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * written));
}
BENCHMARK(BM_WriteJobText)->Unit(benchmark::kMillisecond);

} // namespace
