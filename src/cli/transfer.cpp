#include "transfer.h"

#include "convert.h"

#include "fileio/linkdata.h"
#include "serial/port_link_host.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <cmath>
#include <memory>
#include <ostream>

#include <unistd.h>

namespace telvane::cli {

namespace {

// The event loop the port needs; telvane-cli has none of its own.
QCoreApplication& application() {
    if (QCoreApplication* app = QCoreApplication::instance())
        return *app;
    static int argc = 1;
    static char name[] = "telvane-cli";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

int milliseconds(std::optional<double> seconds, int fallback) {
    return seconds ? static_cast<int>(std::lround(*seconds * 1000.0)) : fallback;
}

// The port at the rate the user asked for: one of the listed rates, else the custom entry.
void configure(TComPort& port, const Options& o) {
    port.SetPort(QString::fromStdString(o.port));
    for (int i = 1; i < kBaudRateCount; ++i)
        if (kBaudRates[static_cast<std::size_t>(i)].rate == o.baud) {
            port.SetBaudRate(i);
            return;
        }
    port.SetCustomBaudRate(o.baud);
    port.SetBaudRate(kBaudCustom);
}

// One transfer: the port, the timer and the link, run until the link says it has ended.
class Transfer : public PortLinkHost {
public:
    Transfer(const Options& o, const CliTexts& texts, std::ostream& err)
        : PortLinkHost(port_, timer_), link_(*this), texts_(texts), err_(err),
          progress_(::isatty(2) != 0) {
        configure(port_, o);
        timer_.setSingleShot(true);
        link_.set_timeouts(milliseconds(o.first, kFirstLineTimeout),
                           milliseconds(o.silence, kLineTimeout));
        QObject::connect(&port_, &TComPort::RxChar,
                         [this](int count) { forward_bytes(port_, link_, count); });
        QObject::connect(&timer_, &QTimer::timeout, [this] { link_.timer_fired(); });
        QObject::connect(&port_, &TComPort::LineError, [this] { link_.line_lost(); });
    }

    Link& link() { return link_; }
    // Runs the event loop until the transfer has ended; how it ended.
    LinkEnd run() {
        loop_.exec();
        if (progress_)
            err_ << "\n";
        return end_;
    }
    const Lines& received_lines() const { return received_; }
    const std::string& status0() const { return status0_; }

    void status(int panel, std::string_view key, std::optional<long long> count) override {
        if (panel == 0)
            status0_ = std::string(key);
        // The count as it grows, on a terminal only: a log gets the outcome alone.
        if (panel == 1 && progress_ && count)
            err_ << "\r" << texts_.text(key) << *count << std::flush;
    }
    void ended(LinkEnd how) override {
        end_ = how;
        loop_.quit();
    }
    void received(const Lines& lines) override { received_ = lines; }

private:
    TComPort port_;
    QTimer timer_;
    Link link_;
    QEventLoop loop_;
    const CliTexts& texts_;
    std::ostream& err_;
    bool progress_;
    LinkEnd end_ = LinkEnd::Stopped;
    Lines received_;
    std::string status0_;
};

bool needs_port(const Options& o, const char* command, const CliTexts& texts, std::ostream& err) {
    if (o.positional.size() != 1) {
        err << texts.message(command, "cli_file_count");
        return false;
    }
    if (o.port.empty()) {
        err << texts.message(command, "cli_needs_port");
        return false;
    }
    return true;
}

} // namespace

int run_receive(const Options& o, const CliTexts& texts, std::ostream& err) {
    if (!needs_port(o, "receive", texts, err))
        return 2;
    if (o.as && !is_known_type(*o.as)) {
        err << texts.message(*o.as, "cli_unknown_type");
        return 2;
    }
    application();
    Transfer transfer(o, texts, err);
    if (!transfer.link().start_receive()) {
        err << texts.message(o.port, "port_setting_error");
        return 1;
    }
    const LinkEnd how = transfer.run();
    if (how == LinkEnd::LineLost)
        err << texts.message(o.port, "line_lost");
    if (transfer.received_lines().empty()) {
        err << texts.message(o.port, "cli_nothing_received");
        return 1;
    }
    DataState data;
    data.Kind = DataKind::None;
    Messages messages;
    if (!interpret_received(transfer.received_lines(), data, messages)) {
        err << texts.message(o.port, "wrong_format");
        return 1;
    }
    // A job cut short keeps its complete records (a warning); any other message refuses.
    bool refused = false;
    for (const UserMessage& m : messages) {
        err << texts.message(o.port, m.value, m.args);
        refused = refused || m.value != "job_cut_short";
    }
    if (refused)
        return 1;
    return write_output(data, o.port, o.positional[0], o.as, file_settings(o.settings), texts, err);
}

int run_send(const Options& o, const CliTexts& texts, std::ostream& err) {
    if (!needs_port(o, "send", texts, err))
        return 2;
    const std::string& input = o.positional[0];
    DataState data;
    if (!open_for_command(input, file_settings(o.settings), data, texts, err))
        return 1;
    SendPlan plan = prepare_send_lines(data);
    if (!plan.refusal.empty()) {
        std::string text;
        for (const std::string& key : plan.refusal)
            text += texts.text(key);
        err << input << ": " << text << " [" << plan.refusal.back() << "]\n";
        return 1;
    }
    if (plan.lines.empty()) {
        err << texts.message(input, "upload_empty_file");
        return 1;
    }
    const auto count = static_cast<long long>(plan.lines.size());
    application();
    Transfer transfer(o, texts, err);
    if (!transfer.link().start_send(std::move(plan.lines))) {
        err << texts.message(o.port, "port_setting_error");
        return 1;
    }
    const LinkEnd how = transfer.run();
    const long long sent = transfer.link().line_counter();
    if (how == LinkEnd::WriteFailed || how == LinkEnd::LineLost) {
        err << texts.message(o.port, transfer.status0(),
                             texts.text("sent_point_count") + std::to_string(sent));
        return 1;
    }
    if (sent < count) {
        err << texts.message(o.port, "cli_instrument_stopped",
                             texts.text("sent_point_count") + std::to_string(sent));
        return 1;
    }
    return 0;
}

} // namespace telvane::cli
