#include "port_link_host.h"

namespace telvane {

bool PortLinkHost::open_port() {
    try {
        port_.Open();
        return true;
    } catch (const ComPortError&) {
        return false;
    }
}

void PortLinkHost::close_port() {
    try {
        port_.Close();
    } catch (const ComPortError&) {
        // closed all the same
    }
}

bool PortLinkHost::write(std::string_view bytes) {
    try {
        return port_.WriteStr(bytes) == static_cast<int>(bytes.size());
    } catch (const ComPortError&) {
        return false;
    }
}

void PortLinkHost::start_timer(int milliseconds) {
    timer_.stop();
    timer_.setInterval(milliseconds);
    timer_.start();
}

void PortLinkHost::forward_bytes(TComPort& port, Link& link, int count) {
    std::string bytes;
    try {
        port.ReadStr(bytes, count);
    } catch (const ComPortError&) {
        link.line_lost();
        return;
    }
    link.bytes_arrived(bytes);
}

} // namespace telvane
