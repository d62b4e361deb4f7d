// The convert command end to end on big files: 1,000,000 point rows to DXF, and a
// 1,000,000-record job text to record rows (open, recognise, build the lines, write the file).
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
        const auto outcome = telvane::build_save(data, position, out, {});
        if (!telvane::write_save(out, outcome, nullptr))
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

} // namespace
