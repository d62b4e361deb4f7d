// Hours of simulated time on the link: receives and sends with a scripted instrument that sends
// in random chunks, pauses just under and just over the time-outs and hangs up now and then, on
// a fake clock. After every transfer every line the instrument sent is in the received lines or
// in the capture, in order; a send wrote exactly the lines asked for, in order.
//
//   telvane_link_soak [--hours H] [--seed N]
#include "link/link.h"

#include <cstdio>
#include <cstring>
#include <random>
#include <string>

using namespace telvane;

namespace {

// The port, the timer on a fake clock, and what came out.
struct SoakHost : LinkHost {
    long long now = 0;       // milliseconds
    long long deadline = -1; // the timer's, or -1 when stopped
    bool open = false;
    std::string written, captured;
    Lines delivered;
    bool ended_flag = false;

    bool open_port() override { return open = true; }
    void close_port() override { open = false; }
    bool port_open() const override { return open; }
    bool write(std::string_view bytes) override {
        written += bytes;
        return true;
    }
    void start_timer(int ms) override { deadline = now + ms; }
    void stop_timer() override { deadline = -1; }
    void status(int, std::string_view, std::optional<long long>) override {}
    void ended(LinkEnd) override { ended_flag = true; }
    void received(const Lines& lines) override { delivered = lines; }
    void capture(std::string_view bytes) override { captured += bytes; }
};

class Soak {
public:
    explicit Soak(unsigned seed) : rng_(seed) {}

    // Runs transfers until `hours` of simulated time have passed; "" or what went wrong.
    std::string run(double hours) {
        const long long end = static_cast<long long>(hours * 3600 * 1000);
        while (host_.now < end) {
            ++transfers_;
            const std::string failure = pick(3) == 0 ? send() : receive();
            if (!failure.empty())
                return "transfer " + std::to_string(transfers_) + ": " + failure;
        }
        return {};
    }
    long long transfers() const { return transfers_; }
    long long lines() const { return lines_; }

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

    // Lets `ms` pass; the timer fires when its time comes.
    void wait(long long ms) {
        const long long until = host_.now + ms;
        while (host_.deadline >= 0 && host_.deadline <= until) {
            host_.now = host_.deadline;
            host_.deadline = -1;
            link_.timer_fired();
        }
        host_.now = until;
    }

    // A pause between lines: mostly short, sometimes just under or just over the time-out.
    long long pause(int timeout) {
        switch (pick(10)) {
        case 0:
            return timeout - 1 - pick(50);
        case 1:
            return timeout + pick(50);
        default:
            return pick(200);
        }
    }

    std::string receive() {
        host_ = reset();
        if (!link_.start_receive())
            return "the port did not open";
        std::string sent_while_receiving;
        Lines complete; // lines whose CR LF went out while the link was receiving
        const int count = 1 + pick(60);
        bool first = true;
        for (int i = 0; i < count && link_.busy(); ++i) {
            std::string line =
                "SC      P" + std::to_string(lines_ + i) + "," + std::to_string(pick(1000)) + ",C";
            const bool last_without_end = i == count - 1 && pick(8) == 0;
            if (!last_without_end)
                line += "\r\n";
            std::size_t at = 0;
            while (at < line.size() && link_.busy()) {
                const std::size_t n = 1 + static_cast<std::size_t>(pick(12));
                const std::string chunk = line.substr(at, n);
                link_.bytes_arrived(chunk);
                sent_while_receiving += chunk;
                at += n;
                if (pick(20) == 0)
                    wait(pick(50));
            }
            if (at >= line.size() && !last_without_end)
                complete.push_back(line.substr(0, line.size() - 2));
            if (pick(60) == 0) { // the cable goes
                link_.line_lost();
                break;
            }
            wait(pause(first ? kFirstLineTimeout : kLineTimeout));
            first = false;
        }
        wait(kFirstLineTimeout + 1); // whatever is left ends by silence
        lines_ += count;
        if (link_.busy())
            return "the receive never ended";
        if (host_.captured != sent_while_receiving)
            return "the capture lost bytes";
        // Every complete line is among the delivered lines, in order.
        std::size_t k = 0;
        for (const std::string& l : host_.delivered)
            if (k < complete.size() && l == complete[k])
                ++k;
        if (k != complete.size() && !complete.empty())
            return "line " + std::to_string(k) + " of " + std::to_string(complete.size()) +
                   " was not delivered";
        return {};
    }

    std::string send() {
        host_ = reset();
        Lines prepared;
        const int count = 1 + pick(30);
        for (int i = 0; i < count; ++i)
            prepared.push_back("L" + std::to_string(i) + "\r\n");
        if (!link_.start_send(prepared))
            return "the port did not open";
        int requests = 0;
        bool first = true;
        while (link_.busy() && requests < count + 2) {
            wait(pause(first ? kFirstLineTimeout : kLineTimeout));
            first = false;
            if (!link_.busy())
                break;
            std::string chunk = pick(4) == 0 ? "\r\r" : "\r";
            if (pick(10) == 0)
                chunk = "noise";
            else
                ++requests;
            if (pick(80) == 0) {
                link_.line_lost();
                break;
            }
            link_.bytes_arrived(chunk);
        }
        wait(kFirstLineTimeout + 1);
        if (link_.busy())
            return "the send never ended";
        // What went out is the prepared lines from the first, in order, none twice.
        std::string expected;
        for (long long i = 0; i < link_.line_counter(); ++i)
            expected += prepared[static_cast<std::size_t>(i)];
        if (host_.written != expected)
            return "the lines written differ from the lines asked for";
        if (link_.line_counter() > requests)
            return "more lines than requests";
        lines_ += count;
        return {};
    }

    SoakHost reset() {
        SoakHost h;
        h.now = host_.now;
        return h;
    }

    std::mt19937 rng_;
    SoakHost host_;
    Link link_{host_};
    long long transfers_ = 0;
    long long lines_ = 0;
};

} // namespace

int main(int argc, char** argv) {
    double hours = 6;
    unsigned seed = 20261210;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--hours") == 0)
            hours = std::stod(argv[i + 1]);
        else if (std::strcmp(argv[i], "--seed") == 0)
            seed = static_cast<unsigned>(std::stoul(argv[i + 1]));
    }
    Soak soak(seed);
    const std::string failure = soak.run(hours);
    std::printf("link soak: seed %u, %.1f simulated hours, %lld transfers, %lld lines\n", seed,
                hours, soak.transfers(), soak.lines());
    if (!failure.empty()) {
        std::printf("FAILED: %s\nrepeat: telvane_link_soak --seed %u --hours %g\n", failure.c_str(),
                    seed, hours);
        return 1;
    }
    std::printf("passed\n");
    return 0;
}
