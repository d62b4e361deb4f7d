// libFuzzer entry point for what a receive makes of the bytes that arrive: the link's line
// assembly, fed in chunks whose sizes the first byte picks, and the interpretation of the lines
// (code list, job text, point list). The capture must hold every byte, and a save of what loaded
// must read back as the same kind.
#include "fileio/linkdata.h"
#include "link/link.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

struct Host : telvane::LinkHost {
    std::string captured;
    telvane::Lines delivered;
    bool open = false;
    bool open_port() override { return open = true; }
    void close_port() override { open = false; }
    bool port_open() const override { return open; }
    bool write(std::string_view) override { return true; }
    void start_timer(int) override {}
    void stop_timer() override {}
    void status(int, std::string_view, std::optional<long long>) override {}
    void ended(telvane::LinkEnd) override {}
    void received(const telvane::Lines& lines) override { delivered = lines; }
    void capture(std::string_view bytes) override { captured += bytes; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!data || size == 0)
        return 0;
    const std::size_t chunk = 1 + data[0] % 64;
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    Host host;
    telvane::Link link(host);
    link.start_receive();
    for (std::size_t at = 0; at < bytes.size(); at += chunk)
        link.bytes_arrived(bytes.substr(at, chunk));
    if (host.captured != bytes)
        std::abort(); // a byte that arrived is missing from the capture
    link.timer_fired();
    telvane::DataState state;
    telvane::Messages messages;
    telvane::interpret_received(host.delivered, state, messages);
    // The kind and the road list are ones the program knows.
    if (state.Kind > telvane::DataKind::Road || state.Road > telvane::RoadList::Stakes)
        std::abort();
    // The points and codes a receive loads can be sent back: their lines are built without fault.
    if (state.Kind == telvane::DataKind::Points || state.Kind == telvane::DataKind::Codes) {
        const telvane::SendPlan plan = telvane::prepare_send_lines(state);
        for (const std::string& line : plan.lines)
            if (line.size() < 2 || line.substr(line.size() - 2) != "\r\n")
                std::abort();
    }
    return 0;
}
