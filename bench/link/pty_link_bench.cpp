// The link over a real pseudo-terminal with the program's own port: a 10 MB job received end to
// end (every line counted, none lost), and the send turnaround from a request's arrival at the
// port to its line written, median and 99th percentile.
#include "../model/jobtext_data.h"
#include "serial/port_link_host.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

using namespace telvane;

namespace {

struct Pair {
    int master = -1, slave = -1;
    std::string name;
    Pair() {
        char n[256] = {};
        if (::openpty(&master, &slave, n, nullptr, nullptr) != 0)
            std::abort();
        termios t{};
        ::tcgetattr(slave, &t);
        ::cfmakeraw(&t);
        ::tcsetattr(slave, TCSANOW, &t);
        name = n;
    }
    ~Pair() {
        ::close(master);
        ::close(slave);
    }
};

// The port, the timer and the link, with a way to stop the event loop from the test.
struct Bench : PortLinkHost {
    TComPort port;
    QTimer timer;
    Link link{*this};
    QEventLoop loop;
    std::size_t want_lines = 0;

    explicit Bench(const std::string& device) : PortLinkHost(port, timer) {
        port.SetPort(QString::fromStdString(device));
        port.SetBaudRate(kBaud115200);
        timer.setSingleShot(true);
        QObject::connect(&port, &TComPort::RxChar, [this](int count) {
            forward_bytes(port, link, count);
            if (want_lines && link.lines().size() >= want_lines)
                loop.quit();
        });
        QObject::connect(&timer, &QTimer::timeout, [this] { link.timer_fired(); });
    }
    void status(int, std::string_view, std::optional<long long>) override {}
    void ended(LinkEnd) override { loop.quit(); }
    void received(const Lines&) override {}
};

void BM_ReceiveOverPseudoTerminal(benchmark::State& state) {
    const std::string text = bench::make_job_text(140000);
    const auto lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    std::size_t got = 0;
    for (auto _ : state) {
        Pair pty;
        Bench b(pty.name);
        b.want_lines = lines;
        b.link.start_receive();
        std::thread instrument([&] {
            std::string_view rest = text;
            while (!rest.empty()) {
                const ssize_t n =
                    ::write(pty.master, rest.data(), std::min<std::size_t>(rest.size(), 4096));
                if (n > 0)
                    rest.remove_prefix(static_cast<std::size_t>(n));
            }
        });
        b.loop.exec();
        instrument.join();
        got = b.link.lines().size();
        b.link.stop();
    }
    if (got != lines)
        state.SkipWithError("lines were lost");
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
    state.counters["lines"] = static_cast<double>(got);
}
BENCHMARK(BM_ReceiveOverPseudoTerminal)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();

void BM_SendTurnaround(benchmark::State& state) {
    constexpr int kLines = 2000;
    std::vector<double> micros;
    for (auto _ : state) {
        Pair pty;
        Bench b(pty.name);
        Lines prepared;
        for (int i = 0; i < kLines; ++i)
            prepared.push_back("P" + std::to_string(i) +
                               " TREE 0 100.000000 200.000000 10.500000 0\r\n");
        b.link.start_send(prepared);
        std::thread instrument([&] {
            using Clock = std::chrono::steady_clock;
            char buffer[256];
            for (int i = 0; i < kLines; ++i) {
                const auto asked = Clock::now();
                if (::write(pty.master, "\r", 1) != 1)
                    return;
                std::string line;
                while (line.find('\n') == std::string::npos) {
                    pollfd p{pty.master, POLLIN, 0};
                    if (::poll(&p, 1, 2000) <= 0)
                        return;
                    const ssize_t n = ::read(pty.master, buffer, sizeof buffer);
                    if (n > 0)
                        line.append(buffer, static_cast<std::size_t>(n));
                }
                micros.push_back(
                    std::chrono::duration<double, std::micro>(Clock::now() - asked).count());
            }
            QMetaObject::invokeMethod(&b.loop, "quit", Qt::QueuedConnection);
        });
        b.loop.exec();
        instrument.join();
        b.link.stop();
    }
    std::sort(micros.begin(), micros.end());
    if (micros.empty()) {
        state.SkipWithError("no line came back");
        return;
    }
    state.counters["median_us"] = micros[micros.size() / 2];
    state.counters["p99_us"] = micros[micros.size() * 99 / 100];
    state.counters["requests"] = static_cast<double>(micros.size());
}
BENCHMARK(BM_SendTurnaround)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
