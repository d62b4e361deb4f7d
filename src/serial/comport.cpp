#include "comport.h"

#include <QDeadlineTimer>
#include <QSerialPortInfo>

#include <algorithm>
#include <climits>
#include <stdexcept>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <poll.h>
#include <unistd.h>
#endif

namespace telvane {

namespace {

TComPort::DeviceLister& device_lister() {
    static TComPort::DeviceLister lister;
    return lister;
}

QStringList system_devices() {
    QStringList names;
    for (const auto& info : QSerialPortInfo::availablePorts())
        names << info.portName();
    return names;
}

const std::array<const char*, 4> kDataBitTexts = {"5", "6", "7", "8"};
const std::array<const char*, 3> kStopBitTexts = {"1", "1.5", "2"};
const std::array<const char*, 5> kParityTexts = {"None", "Odd", "Even", "Mark", "Space"};

template <std::size_t N>
int find_text(const std::array<const char*, N>& table, const QString& text) {
    for (std::size_t i = 0; i < N; ++i)
        if (text.compare(QLatin1String(table[i]), Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    return -1;
}

} // namespace

QString BaudRateToStr(int index) {
    if (index < 0 || index >= kBaudRateCount)
        return {};
    return QLatin1String(kBaudRates[static_cast<std::size_t>(index)].text);
}

int StrToBaudRate(const QString& text) {
    for (int i = 0; i < kBaudRateCount; ++i)
        if (text.compare(QLatin1String(kBaudRates[static_cast<std::size_t>(i)].text),
                         Qt::CaseInsensitive) == 0)
            return i;
    return kBaud9600;
}

QString DataBitsToStr(int bits) {
    return (bits >= 5 && bits <= 8)
               ? QLatin1String(kDataBitTexts[static_cast<std::size_t>(bits - 5)])
               : QString();
}

int StrToDataBits(const QString& text) {
    const int i = find_text(kDataBitTexts, text);
    return i < 0 ? 8 : i + 5;
}

QString StopBitsToStr(StopBits bits) {
    return QLatin1String(kStopBitTexts[static_cast<std::size_t>(bits)]);
}

StopBits StrToStopBits(const QString& text) {
    const int i = find_text(kStopBitTexts, text);
    return i < 0 ? StopBits::One : static_cast<StopBits>(i);
}

QString ParityToStr(ParityBits bits) {
    return QLatin1String(kParityTexts[static_cast<std::size_t>(bits)]);
}

ParityBits StrToParity(const QString& text) {
    const int i = find_text(kParityTexts, text);
    return i < 0 ? ParityBits::None : static_cast<ParityBits>(i);
}

TComPort::TComPort(QObject* parent) : QObject(parent) {
    connect(&serial_, &QSerialPort::readyRead, this, &TComPort::on_ready_read);
    connect(&serial_, &QSerialPort::errorOccurred, this, &TComPort::on_error);
}

TComPort::~TComPort() {
    if (connected_) {
        connected_ = false;
        serial_.clear(QSerialPort::AllDirections);
        serial_.close();
    }
}

void TComPort::fail(int code) const {
    throw ComPortError(code, std::nullopt, serial_.errorString().toStdString());
}

void TComPort::Open() {
    if (connected_)
        return;
    serial_.setPortName(port_);
    // QSerialPort takes a lock file for the device and asks the driver for exclusive use, so a
    // second open, from this program or another, fails.
    if (!serial_.open(QIODevice::ReadWrite))
        fail(kErrOpen);
    try {
        apply_buffers();
        apply_line_settings();
    } catch (...) {
        serial_.close();
        throw;
    }
    connected_ = true;
}

void TComPort::Close() {
    if (!connected_)
        return;
    connected_ = false;
    const bool purged = serial_.clear(QSerialPort::AllDirections);
    const std::string detail = serial_.errorString().toStdString();
    serial_.close();
    if (!purged)
        throw ComPortError(kErrPurge, std::nullopt, detail);
}

void TComPort::apply_buffers() {
    // The driver's input queue is the port object's read buffer here; odd sizes are lowered by
    // one as the drivers do. The output queue belongs to the kernel and has no setting.
    const int input = std::max(0, buffer_.InputSize) & ~1;
    serial_.setReadBufferSize(input);
}

void TComPort::apply_line_settings() {
    const int rate = baud_rate_ == kBaudCustom
                         ? custom_baud_rate_
                         : kBaudRates[static_cast<std::size_t>(baud_rate_)].rate;
    if (!serial_.setBaudRate(rate))
        fail(kErrSetState);
    if (!serial_.setDataBits(static_cast<QSerialPort::DataBits>(data_bits_)))
        fail(kErrSetState);
    static constexpr QSerialPort::Parity parities[] = {
        QSerialPort::NoParity, QSerialPort::OddParity, QSerialPort::EvenParity,
        QSerialPort::MarkParity, QSerialPort::SpaceParity};
    // Parity checking and replacement of bad bytes (Parity.Check, Parity.Replace) and the
    // XON/XOFF thresholds have no setting on this platform; the driver's defaults apply.
    if (!serial_.setParity(parities[static_cast<int>(parity_.Bits)]))
        fail(kErrSetState);
    static constexpr QSerialPort::StopBits stops[] = {
        QSerialPort::OneStop, QSerialPort::OneAndHalfStop, QSerialPort::TwoStop};
    if (!serial_.setStopBits(stops[static_cast<int>(stop_bits_)]))
        fail(kErrSetState);

    // The platform offers one flow-control mode at a time: hardware when CTS output flow or RTS
    // handshaking is asked for, else software when XON/XOFF is asked for in either direction.
    const bool hardware = flow_.OutCTSFlow || flow_.ControlRTS == LineControl::Handshake;
    const bool software = flow_.XonXoffOut || flow_.XonXoffIn;
    const auto mode = hardware   ? QSerialPort::HardwareControl
                      : software ? QSerialPort::SoftwareControl
                                 : QSerialPort::NoFlowControl;
    if (!serial_.setFlowControl(mode))
        fail(kErrSetState);

    // Fixed line levels for DTR and RTS. Devices without modem lines (pseudo-terminals) refuse
    // the request; that is no error for a line that has nothing to drive.
    auto set_line = [this](bool ok) {
        if (!ok && serial_.error() != QSerialPort::UnsupportedOperationError)
            fail(kErrSetState);
        serial_.clearError();
    };
    if (flow_.ControlDTR != LineControl::Handshake)
        set_line(serial_.setDataTerminalReady(flow_.ControlDTR == LineControl::Enable));
    if (!hardware && flow_.ControlRTS != LineControl::Toggle)
        set_line(serial_.setRequestToSend(flow_.ControlRTS == LineControl::Enable));
}

int TComPort::WriteStr(std::string_view bytes) {
    if (!connected_)
        throw ComPortError(kErrWrite);
    if (bytes.empty())
        return 0;
    const long long budget = static_cast<long long>(timeouts_.WriteTotalConstant) +
                             static_cast<long long>(timeouts_.WriteTotalMultiplier) *
                                 static_cast<long long>(bytes.size());
    const QDeadlineTimer deadline =
        budget > 0 ? QDeadlineTimer(budget) : QDeadlineTimer(QDeadlineTimer::Forever);
#ifdef Q_OS_UNIX
    // Straight to the descriptor (opened non-blocking), so that the count returned is what the
    // driver took and nothing is left behind in a buffer to go out after the time-out.
    const int fd = static_cast<int>(serial_.handle());
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n > 0) {
            written += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            throw ComPortError(kErrWrite, errno, std::strerror(errno));
        const qint64 left = deadline.remainingTime();
        if (left == 0)
            break;
        pollfd pfd{fd, POLLOUT, 0};
        const int timeout = left < 0 ? -1 : static_cast<int>(std::min<qint64>(left, INT_MAX));
        if (::poll(&pfd, 1, timeout) < 0 && errno != EINTR)
            throw ComPortError(kErrWrite, errno, std::strerror(errno));
    }
    return static_cast<int>(written);
#else
    if (serial_.write(bytes.data(), static_cast<qint64>(bytes.size())) < 0)
        fail(kErrWrite);
    while (serial_.bytesToWrite() > 0 && !deadline.hasExpired())
        if (!serial_.waitForBytesWritten(static_cast<int>(deadline.remainingTime())))
            break;
    const qint64 pending = serial_.bytesToWrite();
    if (pending > 0)
        serial_.clear(QSerialPort::Output);
    return static_cast<int>(static_cast<qint64>(bytes.size()) - pending);
#endif
}

int TComPort::ReadStr(std::string& out, int count) {
    if (!connected_)
        throw ComPortError(kErrRead);
    out.clear();
    if (count <= 0)
        return 0;
    out.resize(static_cast<std::size_t>(count));
    const qint64 n = serial_.read(out.data(), count);
    if (n < 0) {
        out.clear();
        fail(kErrRead);
    }
    out.resize(static_cast<std::size_t>(n));
    return static_cast<int>(n);
}

int TComPort::InputCount() {
    if (!connected_)
        throw ComPortError(kErrClearCom);
    return static_cast<int>(serial_.bytesAvailable());
}

void TComPort::on_ready_read() {
    if (!connected_ || !(events_ & evRxChar) || !triggers_on_rx_char_)
        return;
    const int count = static_cast<int>(serial_.bytesAvailable());
    if (count > 0)
        emit RxChar(count);
}

void TComPort::on_error(QSerialPort::SerialPortError error) {
    // A hang-up or an unplugged device makes the platform repeat its error for as long as the
    // device stays open; report it once and close.
    if (!connected_)
        return;
    if (error != QSerialPort::ResourceError && error != QSerialPort::ReadError &&
        error != QSerialPort::WriteError)
        return;
    const int code = error == QSerialPort::WriteError ? kErrWrite : kErrRead;
    const QString detail = serial_.errorString();
    connected_ = false;
    serial_.close();
    emit LineError(code, QString::fromLatin1(com_error_text(code)) + QStringLiteral(": ") + detail);
}

void TComPort::SetPort(const QString& name) {
    if (!connected_) {
        port_ = name;
        return;
    }
    Close();
    port_ = name;
    Open();
}

void TComPort::SetBaudRate(int index) {
    if (index < 0 || index >= kBaudRateCount)
        throw std::invalid_argument("baud rate index out of range");
    baud_rate_ = index;
    if (connected_)
        apply_line_settings();
}

void TComPort::SetCustomBaudRate(int rate) {
    custom_baud_rate_ = rate;
    if (connected_ && baud_rate_ == kBaudCustom)
        apply_line_settings();
}

void TComPort::SetDataBits(int bits) {
    if (bits < 5 || bits > 8)
        throw std::invalid_argument("data bits out of range");
    data_bits_ = bits;
    if (connected_)
        apply_line_settings();
}

void TComPort::SetStopBits(StopBits bits) {
    stop_bits_ = bits;
    if (connected_)
        apply_line_settings();
}

void TComPort::SetParity(const ParitySettings& parity) {
    parity_ = parity;
    if (connected_)
        apply_line_settings();
}

void TComPort::SetFlowControl(const FlowControlSettings& flow) {
    flow_ = flow;
    if (connected_)
        apply_line_settings();
}

void TComPort::SetBuffer(const BufferSettings& buffer) {
    buffer_ = buffer;
    if (connected_)
        apply_buffers();
}

void TComPort::SetTimeouts(const TimeoutSettings& timeouts) {
    timeouts_ = timeouts;
}

QStringList TComPort::EnumComPorts() {
    QStringList names = device_lister() ? device_lister()() : system_devices();
    if (names.isEmpty())
        throw ComPortError(kErrRegistry);
    std::stable_sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    return names;
}

void TComPort::SetDeviceLister(DeviceLister lister) {
    device_lister() = std::move(lister);
}

} // namespace telvane
