// The convert command end to end on big files: 1,000,000 point rows to DXF, and a
// 1,000,000-record job text to record rows (open, recognise, build the lines, write the file).
#include "../model/jobtext_data.h"
#include "fileio/opendata.h"
#include "fileio/savedata.h"
#include "model/filebytes.h"
#include "model/rows.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

constexpr std::size_t kCount = 1000000;

std::string temp_path(const char* name) {
    return (std::filesystem::temp_directory_path() / name).string();
}

const std::string& point_file() {
    static const std::string path = [] {
        const std::string p = temp_path("telvane_bench_points.csv");
        std::string bytes;
        for (std::size_t i = 0; i < kCount; ++i) {
            const telvane::coord_item pt{"P" + std::to_string(i % 100000), "TREE",
                                         3000000.0 + static_cast<double>(i) * 0.37,
                                         500000.0 + static_cast<double>(i) * 0.21,
                                         40.0 + static_cast<double>(i % 100) * 0.01};
            bytes += telvane::coord_row(pt, 0, telvane::kOrderNEZ, {});
            bytes += "\r\n";
        }
        telvane::write_file_atomic(p, bytes);
        return p;
    }();
    return path;
}

const std::string& job_file() {
    static const std::string path = [] {
        const std::string p = temp_path("telvane_bench_job.txt");
        telvane::write_file_atomic(p, telvane::bench::make_job_text(kCount));
        return p;
    }();
    return path;
}

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
    convert(state, point_file(), "telvane_bench_points.dxf", 2);
}
BENCHMARK(BM_ConvertPointRowsToDxf)->Unit(benchmark::kMillisecond);

void BM_ConvertJobTextToRecordRows(benchmark::State& state) {
    convert(state, job_file(), "telvane_bench_records.csv", 1);
}
BENCHMARK(BM_ConvertJobTextToRecordRows)->Unit(benchmark::kMillisecond);

} // namespace
