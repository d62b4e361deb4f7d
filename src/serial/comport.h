// The serial line to the instrument.
//
// TComPort keeps the line's settings while closed and applies them when it opens. It tells its
// owner through RxChar(count), on the main thread, how many bytes wait; it reads nothing itself.
// Writes block the caller until done or until the write time-out (WriteTotalConstant plus
// WriteTotalMultiplier per byte). Every failure is thrown as ComPortError with its code.
#pragma once

#include "comport_error.h"

#include <QObject>
#include <QSerialPort>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <string>
#include <string_view>

namespace telvane {

// Baud-rate entries: the index is the value kept in the port and the INI file, the text is what
// the selector shows. Entry 0 uses the port's CustomBaudRate.
inline constexpr int kBaudRateCount = 16;
inline constexpr int kBaudCustom = 0;
inline constexpr int kBaud9600 = 7;
inline constexpr int kBaud115200 = 13;
struct BaudRateEntry {
    const char* text;
    int rate; // 0 for the custom entry
};
inline constexpr std::array<BaudRateEntry, kBaudRateCount> kBaudRates = {{
    {"Custom", 0},
    {"110", 110},
    {"300", 300},
    {"600", 600},
    {"1200", 1200},
    {"2400", 2400},
    {"4800", 4800},
    {"9600", 9600},
    {"14400", 14400},
    {"19200", 19200},
    {"38400", 38400},
    {"56000", 56000},
    {"57600", 57600},
    {"115200", 115200},
    {"128000", 128000},
    {"256000", 256000},
}};

enum class StopBits { One, OneAndHalf, Two };
enum class ParityBits { None, Odd, Even, Mark, Space };
enum class LineControl { Disable, Enable, Handshake, Toggle }; // Toggle exists for RTS only

struct ParitySettings {
    ParityBits Bits = ParityBits::None;
    bool Check = false;
    bool Replace = false;
    char ReplaceChar = 0;
};

struct FlowControlSettings {
    bool OutCTSFlow = false;
    bool OutDSRFlow = false;
    LineControl ControlDTR = LineControl::Disable;
    LineControl ControlRTS = LineControl::Disable;
    bool XonXoffOut = false;
    bool XonXoffIn = false;
    bool operator==(const FlowControlSettings&) const = default;
};

struct BufferSettings {
    int InputSize = 1024;
    int OutputSize = 1024;
};

// Milliseconds. ReadInterval -1 makes a read return at once with what has arrived; reads always
// behave so here (the transfer code reads only what an RxChar event announced), so the read
// fields are kept for completeness only. Write time-out: WriteTotalConstant plus
// WriteTotalMultiplier per byte; both 0 means no limit.
struct TimeoutSettings {
    int ReadInterval = -1;
    int ReadTotalMultiplier = 0;
    int ReadTotalConstant = 0;
    int WriteTotalMultiplier = 100;
    int WriteTotalConstant = 1000;
};

// The ten line events, as bits of TComPort::Events.
enum ComEvent : unsigned {
    evRxChar = 1u << 0,
    evTxEmpty = 1u << 1,
    evRxFlag = 1u << 2,
    evRing = 1u << 3,
    evBreak = 1u << 4,
    evCTS = 1u << 5,
    evDSR = 1u << 6,
    evError = 1u << 7,
    evRLSD = 1u << 8,
    evRx80Full = 1u << 9,
};
inline constexpr unsigned kAllComEvents = (1u << 10) - 1;

// Text <-> value of the settings, compared without regard to case; unknown text gives the
// default (9600 baud, 8 data bits, 1 stop bit, no parity).
QString BaudRateToStr(int index);
int StrToBaudRate(const QString& text);
QString DataBitsToStr(int bits);
int StrToDataBits(const QString& text);
QString StopBitsToStr(StopBits bits);
StopBits StrToStopBits(const QString& text);
QString ParityToStr(ParityBits bits);
ParityBits StrToParity(const QString& text);

class TComPort : public QObject {
    Q_OBJECT
public:
    explicit TComPort(QObject* parent = nullptr);
    ~TComPort() override;

    // Opens the device exclusively and applies the queue sizes, the line settings and the
    // time-outs. Does nothing when already open. A failure leaves the port closed.
    void Open();
    // Drops what is queued in both directions and closes. Does nothing when closed.
    void Close();
    bool Connected() const { return connected_; }

    // Writes the bytes, blocking until they are written or the write time-out ends; returns how
    // many bytes were written. "" writes nothing and returns 0.
    int WriteStr(std::string_view bytes);
    // Reads up to `count` bytes of what has arrived; `out` gets exactly the bytes read.
    int ReadStr(std::string& out, int count);
    // Bytes waiting to be read.
    int InputCount();

    const QString& Port() const { return port_; }
    void SetPort(const QString& name); // reopens on the new device when open
    int BaudRate() const { return baud_rate_; }
    void SetBaudRate(int index); // re-applies the line settings when open
    int CustomBaudRate() const { return custom_baud_rate_; }
    void SetCustomBaudRate(int rate);
    int DataBits() const { return data_bits_; }
    void SetDataBits(int bits);
    StopBits GetStopBits() const { return stop_bits_; }
    void SetStopBits(StopBits bits);
    const ParitySettings& Parity() const { return parity_; }
    void SetParity(const ParitySettings& parity);
    const FlowControlSettings& FlowControl() const { return flow_; }
    void SetFlowControl(const FlowControlSettings& flow);
    const BufferSettings& Buffer() const { return buffer_; }
    void SetBuffer(const BufferSettings& buffer);
    const TimeoutSettings& Timeouts() const { return timeouts_; }
    void SetTimeouts(const TimeoutSettings& timeouts);
    unsigned Events() const { return events_; }
    void SetEvents(unsigned events) { events_ = events; }
    bool TriggersOnRxChar() const { return triggers_on_rx_char_; }
    void SetTriggersOnRxChar(bool on) { triggers_on_rx_char_ = on; }

    // The serial devices of the system, sorted by case-insensitive text order. Throws code 23
    // when there is none.
    static QStringList EnumComPorts();
    // Replaces the system's device list (tests; nullptr restores the system's list).
    using DeviceLister = std::function<QStringList()>;
    static void SetDeviceLister(DeviceLister lister);

signals:
    // Bytes arrived; `count` (> 0) of them wait to be read.
    void RxChar(int count);
    // The line failed while open (the other end hung up, the device was unplugged). Raised once;
    // the port is closed when it arrives.
    void LineError(int code, const QString& text);

private:
    void apply_buffers();
    void apply_line_settings();
    void on_ready_read();
    void on_error(QSerialPort::SerialPortError error);
    [[noreturn]] void fail(int code) const;

    QSerialPort serial_;
    QString port_ = QStringLiteral("COM1");
    int baud_rate_ = kBaud9600;
    int custom_baud_rate_ = 9600;
    int data_bits_ = 8;
    StopBits stop_bits_ = StopBits::One;
    ParitySettings parity_;
    FlowControlSettings flow_;
    BufferSettings buffer_;
    TimeoutSettings timeouts_;
    unsigned events_ = kAllComEvents;
    bool triggers_on_rx_char_ = true;
    bool connected_ = false;
};

} // namespace telvane
