// Line assembly of a receive: a 10 MB job text fed to the link in chunks of 1, 64 and 4096
// bytes, as the port hands them over.
#include "../model/jobtext_data.h"
#include "link/link.h"

#include <benchmark/benchmark.h>

namespace {

struct QuietHost : telvane::LinkHost {
    bool open_port() override { return true; }
    void close_port() override {}
    bool port_open() const override { return true; }
    bool write(std::string_view) override { return true; }
    void start_timer(int) override {}
    void stop_timer() override {}
    void status(int, std::string_view, std::optional<long long>) override {}
    void ended(telvane::LinkEnd) override {}
    void received(const telvane::Lines&) override {}
};

const std::string& job() {
    static const std::string text = telvane::bench::make_job_text(140000); // about 10 MB
    return text;
}

void BM_LineAssembly(benchmark::State& state) {
    const std::string& text = job();
    const auto chunk = static_cast<std::size_t>(state.range(0));
    std::size_t lines = 0;
    for (auto _ : state) {
        QuietHost host;
        telvane::Link link(host);
        link.start_receive();
        for (std::size_t at = 0; at < text.size(); at += chunk)
            link.bytes_arrived(std::string_view(text).substr(at, chunk));
        lines = link.lines().size();
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
    state.counters["lines"] = static_cast<double>(lines);
}
BENCHMARK(BM_LineAssembly)->Arg(1)->Arg(64)->Arg(4096)->Unit(benchmark::kMillisecond);

} // namespace
