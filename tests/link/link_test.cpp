#include "link/capture.h"
#include "link/link.h"
#include "tempdir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace telvane;

namespace {

// Plays the port, the timer and the status bar; records what the link did.
struct FakeHost : LinkHost {
    bool can_open = true;
    bool open = false;
    bool write_ok = true;
    int timer = 0; // running interval, 0 when stopped
    std::string written;
    std::string panel[2];
    std::vector<LinkEnd> ends;
    std::vector<Lines> deliveries;
    std::string captured;

    bool open_port() override { return open = open || can_open; }
    void close_port() override { open = false; }
    bool port_open() const override { return open; }
    bool write(std::string_view bytes) override {
        if (!write_ok)
            return false;
        written += bytes;
        return true;
    }
    void start_timer(int ms) override { timer = ms; }
    void stop_timer() override { timer = 0; }
    void status(int p, std::string_view key, std::optional<long long> count) override {
        panel[p] = std::string(key) + (count ? " " + std::to_string(*count) : "");
    }
    void ended(LinkEnd how) override { ends.push_back(how); }
    void received(const Lines& lines) override { deliveries.push_back(lines); }
    void capture(std::string_view bytes) override { captured += bytes; }
};

const std::string kTransfer = "JOB     A\r\n  INST    TS  \r\n\r\nSC      P1,1.0,C\r\n"
                              "ENZ     1.0,2.0,3.0\r\nNOTE    x\rstill one line\r\nlast";

} // namespace

TEST(LinkReceive, EveryChunkSizeGivesTheSameLines) {
    const Lines expected = {"JOB     A",
                            "INST    TS",
                            "",
                            "SC      P1,1.0,C",
                            "ENZ     1.0,2.0,3.0",
                            "NOTE    x\rstill one line",
                            "last"};
    for (std::size_t chunk = 1; chunk <= kTransfer.size(); ++chunk) {
        FakeHost host;
        Link link(host);
        ASSERT_TRUE(link.start_receive());
        EXPECT_EQ(host.timer, kFirstLineTimeout);
        for (std::size_t i = 0; i < kTransfer.size(); i += chunk)
            link.bytes_arrived(std::string_view(kTransfer).substr(i, chunk));
        EXPECT_EQ(host.timer, kLineTimeout) << chunk;
        EXPECT_EQ(link.lines().size(), 6u) << chunk;                // "last" has no line end yet
        EXPECT_EQ(host.panel[1], "receive_point_count 3") << chunk; // (6 + 1) div 2
        EXPECT_EQ(host.captured, kTransfer) << chunk;
        link.timer_fired();
        ASSERT_EQ(host.deliveries.size(), 1u) << chunk;
        EXPECT_EQ(host.deliveries[0], expected) << chunk;
        EXPECT_EQ(host.panel[0], "operation_is_complete");
        EXPECT_FALSE(host.open);
        EXPECT_EQ(host.ends, std::vector<LinkEnd>{LinkEnd::TimedOut});
        EXPECT_EQ(link.mode(), kLinkIdle);
    }
}

TEST(LinkReceive, TimeOutsStopAndLostLines) {
    FakeHost host;
    Link link(host);
    // Nothing within the first time-out: nothing to interpret.
    ASSERT_TRUE(link.start_receive());
    EXPECT_EQ(link.mode(), kLinkReceiving);
    EXPECT_EQ(host.panel[0], "receiving_data");
    EXPECT_EQ(host.panel[1], "receive_point_count 0");
    link.bytes_arrived("partial line\r");
    EXPECT_EQ(host.timer, kFirstLineTimeout); // bytes without a line end do not restart it
    link.bytes_arrived("\n");
    EXPECT_EQ(host.timer, kLineTimeout);
    link.bytes_arrived("cut");
    link.stop(); // Stop keeps what arrived, as silence does, the last piece of a line too
    ASSERT_EQ(host.deliveries.size(), 1u);
    EXPECT_EQ(host.deliveries[0], (Lines{"partial line", "cut"}));
    EXPECT_EQ(host.panel[0], "stop_operation");
    EXPECT_EQ(host.ends.back(), LinkEnd::Stopped);
    link.timer_fired();
    EXPECT_EQ(host.deliveries.size(), 1u);
    host.deliveries.clear();

    ASSERT_TRUE(link.start_receive());
    EXPECT_TRUE(link.lines().empty());
    link.stop(); // nothing arrived: nothing to interpret
    EXPECT_TRUE(host.deliveries.empty());
    ASSERT_TRUE(link.start_receive());
    link.timer_fired();
    EXPECT_TRUE(host.deliveries.empty());
    EXPECT_EQ(host.panel[0], "operation_is_complete");
    EXPECT_EQ(host.panel[1], "receive_point_count 0");

    // A pulled cable ends the receive as silence does, with what arrived.
    ASSERT_TRUE(link.start_receive());
    link.bytes_arrived("A\r\nB");
    link.line_lost();
    ASSERT_EQ(host.deliveries.size(), 1u);
    EXPECT_EQ(host.deliveries[0], (Lines{"A", "B"}));
    EXPECT_EQ(host.panel[0], "line_lost");
    EXPECT_EQ(host.ends.back(), LinkEnd::LineLost);

    // Bytes while idle are dropped; a port that cannot be opened changes nothing.
    link.bytes_arrived("X\r\n");
    EXPECT_EQ(host.captured.find("X"), std::string::npos);
    host.can_open = false;
    EXPECT_FALSE(link.start_receive());
    EXPECT_EQ(host.panel[0], "port_setting_error");
    EXPECT_EQ(link.mode(), kLinkIdle);
}

TEST(LinkSend, OneLinePerRequestThenFinishing) {
    FakeHost host;
    Link link(host);
    ASSERT_TRUE(link.start_send({"L1\r\n", "L2\r\n", "L3\r\n"}));
    EXPECT_EQ(link.mode(), kLinkSending);
    EXPECT_EQ(host.timer, kFirstLineTimeout);
    EXPECT_EQ(host.panel[0], "sending_data");
    EXPECT_EQ(host.panel[1], "sent_point_count 0");
    link.bytes_arrived("no request");
    EXPECT_EQ(host.written, "");
    link.bytes_arrived("\r\r"); // two carriage returns in one chunk: one line
    EXPECT_EQ(host.written, "L1\r\n");
    EXPECT_EQ(host.timer, kLineTimeout);
    link.bytes_arrived("x\ry");
    link.bytes_arrived("\r");
    EXPECT_EQ(host.written, "L1\r\nL2\r\nL3\r\n");
    EXPECT_EQ(host.panel[1], "sent_point_count 3");
    link.bytes_arrived("\r"); // the fourth request: all sent
    EXPECT_EQ(host.panel[0], "sent_successfully");
    EXPECT_EQ(link.mode(), kLinkIdle);
    EXPECT_TRUE(link.busy());
    link.bytes_arrived("\r"); // dropped
    EXPECT_EQ(host.written, "L1\r\nL2\r\nL3\r\n");
    EXPECT_TRUE(host.open);
    link.timer_fired();
    EXPECT_EQ(host.panel[0], "operation_is_complete");
    EXPECT_EQ(host.panel[1], "sent_point_count 3");
    EXPECT_FALSE(host.open);
    EXPECT_FALSE(link.busy());
    EXPECT_TRUE(host.deliveries.empty()); // a send never interprets anything
}

TEST(LinkSend, FailuresEndTheSendWithTheCount) {
    struct Case {
        const char* name;
        bool write_ok;
        bool lose_line;
        const char* status;
        LinkEnd end;
    };
    const Case cases[] = {
        {"write fails", false, false, "send_write_failed", LinkEnd::WriteFailed},
        {"line lost", true, true, "line_lost", LinkEnd::LineLost},
        {"instrument stops asking", true, false, "operation_is_complete", LinkEnd::TimedOut},
    };
    for (const Case& c : cases) {
        FakeHost host;
        Link link(host);
        ASSERT_TRUE(link.start_send({"L1\r\n", "L2\r\n", "L3\r\n"}));
        link.bytes_arrived("\r");
        host.write_ok = c.write_ok;
        if (c.lose_line)
            link.line_lost();
        else if (c.write_ok)
            link.timer_fired();
        else
            link.bytes_arrived("\r");
        EXPECT_EQ(host.panel[0], c.status) << c.name;
        EXPECT_EQ(host.panel[1], "sent_point_count 1") << c.name;
        EXPECT_EQ(host.ends, std::vector<LinkEnd>{c.end}) << c.name;
        EXPECT_FALSE(host.open) << c.name;
        EXPECT_FALSE(link.busy()) << c.name;
        link.bytes_arrived("\r");
        EXPECT_EQ(host.written, "L1\r\n") << c.name;
    }
}

TEST(CaptureFile, KeepsEveryByteAndOnlyTheNewestFiles) {
    telvane::testing::TempDir dir;
    const auto folder = dir.path() / "captures";
    std::filesystem::create_directories(folder);
    for (const char* old : {"receive-20200101-000000.txt", "receive-20200102-000000.txt",
                            "receive-20200103-000000.txt", "notes.txt"})
        std::ofstream(folder / old) << "old";
    CaptureFile capture;
    ASSERT_TRUE(capture.begin(folder, nullptr, 2));
    EXPECT_TRUE(capture.append("JOB     A\r\n"));
    EXPECT_TRUE(capture.append("par"));
    // Flushed as it goes: readable while the transfer runs.
    std::ifstream in(capture.path(), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "JOB     A\r\npar");
    capture.end();
    EXPECT_FALSE(capture.append("x"));
    EXPECT_TRUE(std::filesystem::exists(folder / "receive-20200103-000000.txt"));
    EXPECT_FALSE(std::filesystem::exists(folder / "receive-20200102-000000.txt"));
    EXPECT_FALSE(std::filesystem::exists(folder / "receive-20200101-000000.txt"));
    EXPECT_TRUE(std::filesystem::exists(folder / "notes.txt")); // not a capture: left alone
    // A second capture within the same second gets a name of its own.
    CaptureFile again;
    ASSERT_TRUE(again.begin(folder, nullptr, 2));
    EXPECT_NE(again.path(), capture.path());
    EXPECT_TRUE(std::filesystem::exists(capture.path()));
}
