// The link's port and timer over the program's serial port object and a Qt timer: what the
// window and the command-line tool share. They add what to show (status, the end of a
// transfer, the received lines) by overriding the rest of LinkHost.
#pragma once

#include "comport.h"
#include "link/link.h"

#include <QTimer>

namespace telvane {

class PortLinkHost : public LinkHost {
public:
    PortLinkHost(TComPort& port, QTimer& timer) : port_(port), timer_(timer) {}

    bool open_port() override;
    void close_port() override;
    bool port_open() const override { return port_.Connected(); }
    bool write(std::string_view bytes) override;
    void start_timer(int milliseconds) override;
    void stop_timer() override { timer_.stop(); }

    // Reads the `count` bytes the port announced and hands them to `link`; a read that fails
    // is a lost line.
    static void forward_bytes(TComPort& port, Link& link, int count);

private:
    TComPort& port_;
    QTimer& timer_;
};

} // namespace telvane
