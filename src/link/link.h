// Receive and send over the serial line as a state machine: fed with the bytes that arrive,
// the ticks of its one timer and the user's Receive, Send and Stop, it acts only through its
// host (port, timer, status panels, the end of a transfer). It knows nothing of windows or of
// the port object, so the window, the command-line tool and the tests drive the same code.
#pragma once

#include "model/textlines.h"

#include <optional>
#include <string>
#include <string_view>

namespace telvane {

// The link mode the window shows: 0 idle (bytes are dropped), 1 receiving, 2 sending.
enum LinkModeValue : int { kLinkIdle = 0, kLinkReceiving = 1, kLinkSending = 2 };

// Time-outs of a transfer, milliseconds: until the first line (or request), and after each one.
inline constexpr int kFirstLineTimeout = 20000;
inline constexpr int kLineTimeout = 2000;

// How a transfer ended.
enum class LinkEnd {
    Stopped,  // the Stop command
    TimedOut, // silence after the last line or request
    LineLost, // the other end hung up or the device went away
    WriteFailed,
};

class LinkHost {
public:
    virtual ~LinkHost() = default;
    // Opens the port (nothing when it is open); false when it cannot be opened.
    virtual bool open_port() = 0;
    virtual void close_port() = 0;
    virtual bool port_open() const = 0;
    // Writes the bytes; false when the write failed or timed out.
    virtual bool write(std::string_view bytes) = 0;
    // (Re)starts the one-shot timer; stops it.
    virtual void start_timer(int milliseconds) = 0;
    virtual void stop_timer() = 0;
    // Status panel `panel` := the text of `key`, directly followed by `count` when given.
    virtual void status(int panel, std::string_view key, std::optional<long long> count = {}) = 0;
    // The transfer is over and the port closed; the host restores its controls.
    virtual void ended(LinkEnd how) = 0;
    // A receive ended by silence or a lost line with these lines: interpret and show them.
    virtual void received(const Lines& lines) = 0;
    // Bytes of a receive as they arrive, before anything is made of them.
    virtual void capture(std::string_view bytes) { (void)bytes; }
};

class Link {
public:
    explicit Link(LinkHost& host) : host_(host) {}

    // The time-outs, milliseconds: until the first line or request, and after each one.
    void set_timeouts(int first_ms, int line_ms) {
        first_timeout_ = first_ms;
        line_timeout_ = line_ms;
    }

    int mode() const { return mode_ == Mode::Finishing ? kLinkIdle : static_cast<int>(mode_); }
    bool busy() const { return mode_ != Mode::Idle; }
    // Lines received so far, or the lines prepared for a send.
    const Lines& lines() const { return lines_; }
    // Receive: 1 + lines taken; send: lines sent.
    long long line_counter() const { return line_counter_; }

    // Starts a receive (the caller has checked the port selection and asked about the data on
    // show). False when the port cannot be opened: nothing else changed.
    bool start_receive();
    // Starts a send of `lines`, each with its line end, one per request of the instrument.
    bool start_send(Lines lines);
    // The Stop command: ends any transfer at once without interpreting what arrived.
    void stop();

    void bytes_arrived(std::string_view bytes);
    void timer_fired();
    // The line went away under the transfer (cable pulled, other end hung up).
    void line_lost();

private:
    enum class Mode { Idle = 0, Receiving = 1, Sending = 2, Finishing = 3 };
    void take_lines();
    void end(LinkEnd how);
    void end_receive(LinkEnd how, std::string_view status_key);

    LinkHost& host_;
    Mode mode_ = Mode::Idle;
    std::string rx_;
    std::size_t scan_ = 0; // where the search for the next line end resumes
    Lines lines_;
    long long line_counter_ = 0;
    bool data_received_ = false;
    int first_timeout_ = kFirstLineTimeout;
    int line_timeout_ = kLineTimeout;
};

} // namespace telvane
