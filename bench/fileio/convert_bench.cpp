// The convert command end to end on big files: 1,000,000 point rows to DXF, and a
// 1,000,000-record job text to record rows (open, recognise, stream the file out). The save
// alone is measured against copying the file it wrote, the floor for writing that many bytes:
// run with the bench, `cp` and `/usr/bin/time -v telvane-cli convert` give the same comparison
// and the peak memory of the whole command.
#include "../model/bench_files.h"
#include "fileio/opendata.h"
#include "fileio/savedata.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

using telvane::bench::temp_path;

void convert(benchmark::State& state, const std::string& in, const char* out_name, int position) {
    const std::string out = temp_path(out_name);
    const auto size = std::filesystem::file_size(in);
    for (auto _ : state) {
        telvane::DataState data;
        telvane::Messages messages;
        if (!telvane::open_data_file(in, data, {}, messages) || !messages.empty())
            state.SkipWithError("open failed");
        const telvane::SaveResult saved = telvane::save_to_file(out, data, position, {});
        if (!saved.written)
            state.SkipWithError("save failed");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
    state.counters["input_MB"] = static_cast<double>(size) / 1e6;
    state.counters["output_MB"] = static_cast<double>(std::filesystem::file_size(out)) / 1e6;
}

void BM_ConvertPointRowsToDxf(benchmark::State& state) {
    convert(state, telvane::bench::point_rows_file(), "telvane_bench_points.dxf", 2);
}
BENCHMARK(BM_ConvertPointRowsToDxf)->Unit(benchmark::kMillisecond);

void BM_ConvertJobTextToRecordRows(benchmark::State& state) {
    convert(state, telvane::bench::job_text_file(), "telvane_bench_records.csv", 1);
}
BENCHMARK(BM_ConvertJobTextToRecordRows)->Unit(benchmark::kMillisecond);

// The points are read once; only the streamed save is timed.
void BM_SaveMillionPointsAsDxf(benchmark::State& state) {
    const std::string out = temp_path("telvane_bench_save.dxf");
    telvane::DataState data;
    telvane::Messages messages;
    if (!telvane::open_data_file(telvane::bench::point_rows_file(), data, {}, messages))
        state.SkipWithError("open failed");
    for (auto _ : state) {
        if (!telvane::save_to_file(out, data, 2, {}).written)
            state.SkipWithError("save failed");
    }
    const auto size = std::filesystem::file_size(out);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
    state.counters["output_MB"] = static_cast<double>(size) / 1e6;
}
BENCHMARK(BM_SaveMillionPointsAsDxf)->Unit(benchmark::kMillisecond);

// What `cp` of the written drawing takes: the floor the save is compared with.
void BM_CopyTheWrittenDxf(benchmark::State& state) {
    const std::string from = temp_path("telvane_bench_save.dxf");
    const std::string to = temp_path("telvane_bench_copy.dxf");
    if (!std::filesystem::exists(from))
        state.SkipWithError("run BM_SaveMillionPointsAsDxf first");
    for (auto _ : state) {
        std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing);
    }
    state.SetBytesProcessed(
        static_cast<int64_t>(state.iterations() * std::filesystem::file_size(from)));
    std::filesystem::remove(to);
}
BENCHMARK(BM_CopyTheWrittenDxf)->Unit(benchmark::kMillisecond);

} // namespace
