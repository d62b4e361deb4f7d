#include "link.h"

namespace telvane {

bool Link::start_receive() {
    if (!host_.open_port()) {
        host_.status(0, "port_setting_error");
        return false;
    }
    rx_.clear();
    scan_ = 0;
    line_counter_ = 1;
    host_.start_timer(first_timeout_);
    lines_.clear();
    mode_ = Mode::Receiving;
    data_received_ = false;
    host_.status(0, "receiving_data");
    host_.status(1, "receive_point_count", 0);
    return true;
}

bool Link::start_send(Lines lines) {
    if (!host_.open_port()) {
        host_.status(0, "port_setting_error");
        return false;
    }
    rx_.clear();
    scan_ = 0;
    line_counter_ = 0;
    lines_ = std::move(lines);
    host_.start_timer(first_timeout_);
    mode_ = Mode::Sending;
    data_received_ = false;
    host_.status(0, "sending_data");
    host_.status(1, "sent_point_count", 0);
    return true;
}

void Link::end(LinkEnd how) {
    mode_ = Mode::Idle;
    host_.stop_timer();
    rx_.clear();
    scan_ = 0;
    host_.status(0, "stop_operation");
    if (host_.port_open())
        host_.close_port();
    host_.ended(how);
}

void Link::stop() {
    // A receive stopped by the user keeps what arrived up to then, as a time-out would: the
    // complete records of a job cut short are loaded.
    if (mode_ == Mode::Receiving) {
        end_receive(LinkEnd::Stopped, "stop_operation");
        return;
    }
    data_received_ = false;
    end(LinkEnd::Stopped);
}

void Link::bytes_arrived(std::string_view bytes) {
    switch (mode_) {
    case Mode::Receiving:
        host_.capture(bytes);
        rx_.append(bytes);
        take_lines();
        return;
    case Mode::Sending:
        if (bytes.find('\r') == std::string_view::npos)
            return; // no request in this chunk: dropped
        // One request, however many carriage returns the chunk holds.
        host_.stop_timer();
        if (line_counter_ < static_cast<long long>(lines_.size())) {
            const std::string& line = lines_[static_cast<std::size_t>(line_counter_)];
            if (!host_.write(line)) {
                end(LinkEnd::WriteFailed);
                host_.status(0, "send_write_failed");
                host_.status(1, "sent_point_count", line_counter_);
                return;
            }
            ++line_counter_;
            host_.status(1, "sent_point_count", line_counter_);
        } else {
            host_.status(0, "sent_successfully");
            mode_ = Mode::Finishing; // later bytes are dropped; the timer ends the transfer
        }
        host_.start_timer(line_timeout_);
        return;
    case Mode::Idle:
    case Mode::Finishing:
        return;
    }
}

void Link::take_lines() {
    // Each byte is looked at once: the search resumes where the last one stopped, and the
    // taken lines leave the buffer in one piece at the end of the pass.
    std::size_t start = 0;
    bool took = false;
    for (;;) {
        const std::size_t cr = rx_.find("\r\n", scan_);
        if (cr == std::string::npos)
            break;
        lines_.emplace_back(trim(std::string_view(rx_).substr(start, cr - start)));
        ++line_counter_;
        start = cr + 2;
        scan_ = start;
        took = true;
    }
    rx_.erase(0, start);
    // A CR at the very end may be the first half of the next line end.
    scan_ = rx_.empty() ? 0 : rx_.size() - 1;
    if (!took)
        return;
    data_received_ = true;
    host_.status(1, "receive_point_count", line_counter_ / 2);
    host_.start_timer(line_timeout_);
}

void Link::end_receive(LinkEnd how, std::string_view status_key) {
    // A last line that came without its line end is kept, not thrown away.
    const std::string_view rest = trim(rx_);
    if (!rest.empty()) {
        lines_.emplace_back(rest);
        data_received_ = true;
    }
    end(how);
    host_.status(0, status_key);
    if (data_received_) {
        data_received_ = false;
        host_.received(lines_);
    }
}

void Link::timer_fired() {
    switch (mode_) {
    case Mode::Receiving:
        end_receive(LinkEnd::TimedOut, "operation_is_complete");
        return;
    case Mode::Sending:
    case Mode::Finishing:
        end(LinkEnd::TimedOut);
        host_.status(0, "operation_is_complete");
        return;
    case Mode::Idle:
        host_.stop_timer();
        return;
    }
}

void Link::line_lost() {
    switch (mode_) {
    case Mode::Receiving:
        end_receive(LinkEnd::LineLost, "line_lost");
        return;
    case Mode::Sending:
        end(LinkEnd::LineLost);
        host_.status(0, "line_lost");
        host_.status(1, "sent_point_count", line_counter_);
        return;
    case Mode::Finishing:
        end(LinkEnd::TimedOut); // every line had gone out
        host_.status(0, "sent_successfully");
        return;
    case Mode::Idle:
        return;
    }
}

} // namespace telvane
