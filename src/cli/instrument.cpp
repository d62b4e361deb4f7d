// The instrument simulator: a pseudo-terminal whose other end behaves as the total station does
// on its serial line. Sending: the lines of a file with CR LF, paced as the baud rate paces them.
// Receiving: a CR for each line it wants, and the lines that come back written to a file once
// the line falls silent.
#include "transfer.h"

#include "model/filebytes.h"
#include "model/textlines.h"

#include <chrono>
#include <cmath>
#include <iostream>
#include <string>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace telvane::cli {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kSilenceMs = 2000;         // a receive ends this long after the last line
constexpr int kGiveUpMs = 120000;        // nobody asked, or nothing came, for this long
constexpr int kLingerAfterSendMs = 3000; // the program ends its receive by silence

class Terminal {
public:
    bool open() {
        char name[256] = {};
        if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0)
            return false;
        // Bytes pass as they are; the program sets its own line when it opens the device.
        termios t{};
        ::tcgetattr(slave_, &t);
        ::cfmakeraw(&t);
        ::tcsetattr(slave_, TCSANOW, &t);
        name_ = name;
        return true;
    }
    ~Terminal() {
        if (master_ >= 0)
            ::close(master_);
        if (slave_ >= 0)
            ::close(slave_);
    }
    const std::string& name() const { return name_; }
    bool write_all(std::string_view bytes) const {
        while (!bytes.empty()) {
            const ssize_t n = ::write(master_, bytes.data(), bytes.size());
            if (n <= 0)
                return false;
            bytes.remove_prefix(static_cast<std::size_t>(n));
        }
        return true;
    }
    // Appends what arrives within `ms` to `out`; false when nothing came.
    bool read_some(std::string& out, int ms) const {
        pollfd p{master_, POLLIN, 0};
        if (::poll(&p, 1, ms) <= 0 || !(p.revents & POLLIN))
            return false;
        char buffer[4096];
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n <= 0)
            return false;
        out.append(buffer, static_cast<std::size_t>(n));
        return true;
    }

private:
    int master_ = -1;
    int slave_ = -1;
    std::string name_;
};

int send_file(const Terminal& terminal, const Options& o, const CliTexts& texts,
              std::ostream& err) {
    std::string error;
    const auto bytes = read_file_bytes(*o.send, &error);
    if (!bytes) {
        err << texts.message(*o.send, "file_read_error", error);
        return 1;
    }
    if (o.start_after)
        std::this_thread::sleep_for(std::chrono::duration<double>(*o.start_after));
    else {
        std::string line;
        std::getline(std::cin, line); // Enter starts the transfer
    }
    // Ten bits a byte on the line: start, eight data bits, stop.
    const double seconds_per_byte = 10.0 / o.baud;
    constexpr std::size_t kChunk = 64;
    const std::string text = join_lines(split_lines(*bytes));
    const auto start = Clock::now();
    for (std::size_t at = 0; at < text.size(); at += kChunk) {
        if (!terminal.write_all(std::string_view(text).substr(at, kChunk))) {
            err << texts.message(terminal.name(), "line_lost");
            return 1;
        }
        const auto due =
            start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(
                        seconds_per_byte * static_cast<double>(at + kChunk)));
        std::this_thread::sleep_until(due);
    }
    // Stay on the line while the program notices the silence and takes the last lines.
    std::this_thread::sleep_for(std::chrono::milliseconds(kLingerAfterSendMs));
    return 0;
}

int receive_file(const Terminal& terminal, const Options& o, const CliTexts& texts,
                 std::ostream& err) {
    Lines lines;
    std::string pending;
    const int silence = o.silence ? static_cast<int>(std::lround(*o.silence * 1000)) : kSilenceMs;
    auto last = Clock::now();
    // Ask for a line; ask again while nothing answers, as the operator would press the key.
    terminal.write_all("\r");
    for (;;) {
        if (terminal.read_some(pending, 100)) {
            std::size_t end;
            while ((end = pending.find("\r\n")) != std::string::npos) {
                lines.push_back(pending.substr(0, end));
                pending.erase(0, end + 2);
                last = Clock::now();
                terminal.write_all("\r"); // the next one
            }
            continue;
        }
        const auto quiet =
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - last).count();
        if (!lines.empty() && quiet >= silence)
            break;
        if (lines.empty() && quiet >= kGiveUpMs) {
            err << texts.message(terminal.name(), "cli_nothing_received");
            return 1;
        }
        if (lines.empty() && quiet % 1000 < 100)
            terminal.write_all("\r");
    }
    std::string error;
    if (!write_file_atomic(*o.receive, join_lines(lines), &error)) {
        err << texts.message(*o.receive, "cli_cannot_write", error);
        return 1;
    }
    return 0;
}

} // namespace

int run_instrument(const Options& o, const CliTexts& texts, std::ostream& out, std::ostream& err) {
    if (o.send.has_value() == o.receive.has_value() || !o.positional.empty()) {
        err << texts.message("instrument", "cli_instrument_usage");
        return 2;
    }
    Terminal terminal;
    if (!terminal.open()) {
        err << texts.message("instrument", "port_setting_error");
        return 1;
    }
    out << terminal.name() << std::endl;
    return o.send ? send_file(terminal, o, texts, err) : receive_file(terminal, o, texts, err);
}

} // namespace telvane::cli
