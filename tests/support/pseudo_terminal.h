// A pseudo-terminal pair for tests that play the instrument: this side opens the slave device as
// the program opens a serial device; the test reads and writes the master side.
#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QTest>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <string>

// One pseudo-terminal pair; the slave stays open here only to inspect its line settings.
class Pty {
public:
    Pty() {
        char name[256] = {};
        if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0)
            qFatal("openpty failed");
        name_ = QString::fromLocal8Bit(name);
        ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
        // A serial line passes its bytes as they are, also while the program has the device
        // closed: no carriage return is turned into a line feed on the way.
        termios raw{};
        ::tcgetattr(slave_, &raw);
        ::cfmakeraw(&raw);
        ::tcsetattr(slave_, TCSANOW, &raw);
    }
    ~Pty() {
        hang_up();
        ::close(slave_);
    }
    const QString& name() const { return name_; }
    void send(const std::string& bytes) const {
        QCOMPARE(::write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    // Everything the port wrote, waiting until the line stays quiet for `quiet_ms`.
    std::string drain(int quiet_ms = 200) const {
        std::string out;
        char buf[4096];
        pollfd pfd{master_, POLLIN, 0};
        while (::poll(&pfd, 1, quiet_ms) > 0) {
            const ssize_t n = ::read(master_, buf, sizeof buf);
            if (n <= 0)
                break;
            out.append(buf, static_cast<std::size_t>(n));
        }
        return out;
    }
    // What the port wrote up to and including the next line end, letting the program's event
    // loop run meanwhile (it answers from there); "" when nothing came within `timeout_ms`.
    std::string next_line(int timeout_ms = 3000) {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < timeout_ms) {
            char c = 0;
            const ssize_t n = ::read(master_, &c, 1);
            if (n == 1) {
                pending_ += c;
                if (c == '\n') {
                    std::string line;
                    line.swap(pending_);
                    return line;
                }
                continue;
            }
            QTest::qWait(5);
        }
        return {};
    }
    termios line() const {
        termios t{};
        ::tcgetattr(slave_, &t);
        return t;
    }
    void hang_up() {
        if (master_ >= 0)
            ::close(master_);
        master_ = -1;
    }

private:
    int master_ = -1;
    int slave_ = -1;
    QString name_;
    std::string pending_;
};
