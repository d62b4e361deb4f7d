// Each binary reader over a file of 1,000,000 records, in MB/s of file bytes.
#include "lebytes.h"
#include "model/binaryfiles.h"

#include <benchmark/benchmark.h>

#include <map>

using telvane::testing::Record;

namespace {

constexpr std::size_t kRecords = 1000000;

struct Format {
    std::size_t header;
    std::size_t size;
    std::vector<int> types; // cycled through
    std::size_t name_off;
    int (*reader)(std::string_view, telvane::Lines&, std::size_t*);
};

const std::map<std::string, Format>& formats() {
    static const std::map<std::string, Format> f = {
        {"job48", {1, 48, {1, 4, 2, 3, 6, 8, 8, 8}, 1, telvane::read_job48}},
        {"job56", {1, 56, {1, 2, 3, 4, 8, 8, 8}, 1, telvane::read_job56}},
        {"job96", {96, 96, {1, 2, 3, 4, 6, 7, 8}, 1, telvane::read_job96}},
        {"job112", {112, 112, {1, 2, 3, 4, 6, 7, 8}, 1, telvane::read_job112}},
        {"job136", {48, 136, {1, 2, 3, 5, 6}, 16, telvane::read_job136}},
        {"points56", {0, 56, {11}, 1, telvane::read_points56}},
        {"points40", {0, 40, {-1}, 0, telvane::read_points40}},
    };
    return f;
}

std::string make_file(const Format& f) {
    std::string bytes(f.header, '\0');
    if (f.header == 1)
        bytes[0] = 1;
    bytes.reserve(f.header + f.size * kRecords);
    for (std::size_t i = 0; i < kRecords; ++i) {
        Record r(f.size);
        for (std::size_t off = 24; off + 8 <= f.size; off += 8)
            r.f64(off, 1000.0 + static_cast<double>(i % 977) * 0.125);
        if (f.size == 48 || f.size == 56)
            r.u32(24, 324000).u32(28, 7200); // angles where the observation types keep them
        r.text(f.name_off, "P" + std::to_string(i % 100000));
        const int type = f.types[i % f.types.size()];
        if (type >= 0)
            r.i8(0, type);
        bytes += r.bytes();
    }
    return bytes;
}

void BM_BinaryReader(benchmark::State& state, const std::string& name) {
    const Format& f = formats().at(name);
    const std::string bytes = make_file(f);
    for (auto _ : state) {
        telvane::Lines lines;
        const int rc = f.reader(bytes, lines, nullptr);
        if (rc != 0)
            state.SkipWithError("reader failed");
        benchmark::DoNotOptimize(lines.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}

BENCHMARK_CAPTURE(BM_BinaryReader, job48, std::string("job48"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BinaryReader, job56, std::string("job56"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BinaryReader, job96, std::string("job96"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BinaryReader, job112, std::string("job112"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BinaryReader, job136, std::string("job136"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BinaryReader, points56, std::string("points56"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BinaryReader, points40, std::string("points40"))
    ->Unit(benchmark::kMillisecond);

} // namespace
