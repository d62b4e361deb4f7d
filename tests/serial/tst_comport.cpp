// The port against a pseudo-terminal pair: this side opens the slave device as the program would
// open a serial device; the test plays the instrument on the master side.
#include "pseudo_terminal.h"
#include "serial/comcombobox.h"
#include "serial/comport.h"

#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

using namespace telvane;

namespace {

int error_code_of(const std::function<void()>& f) {
    try {
        f();
    } catch (const ComPortError& e) {
        return e.code();
    }
    return 0;
}

} // namespace

class TestComPort : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { TComPort::SetDeviceLister(nullptr); }

    void textsAndCodes() {
        const std::pair<const char*, int> baud[] = {{"115200", 13}, {"custom", 0}, {"110", 1},
                                                    {"256000", 15}, {"9601", 7},   {"", 7}};
        for (auto [text, index] : baud)
            QCOMPARE(StrToBaudRate(QString::fromLatin1(text)), index);
        for (int i = 0; i < kBaudRateCount; ++i)
            QCOMPARE(StrToBaudRate(BaudRateToStr(i)), i);
        QCOMPARE(StrToDataBits("7"), 7);
        QCOMPARE(StrToDataBits("9"), 8);
        QCOMPARE(StrToStopBits("1.5"), StopBits::OneAndHalf);
        QCOMPARE(StrToStopBits("3"), StopBits::One);
        QCOMPARE(StrToParity("EVEN"), ParityBits::Even);
        QCOMPARE(StrToParity("Odd "), ParityBits::None);

        QCOMPARE(std::string(ComPortError(kErrRegistry).what()), std::string("Registry error"));
        QCOMPARE(std::string(ComPortError(kErrWrite, 5).what()),
                 std::string("WriteFile function failed (win error code: 5)"));
        QCOMPARE(std::string(com_error_text(24)), std::string());
    }

    void openIsExclusiveAndIdempotent() {
        Pty pty;
        TComPort port, other;
        QVERIFY(!port.Connected());
        port.SetPort(pty.name());
        port.Close(); // closed: nothing happens
        port.Open();
        QVERIFY(port.Connected());
        port.Open(); // open: nothing happens
        QVERIFY(port.Connected());

        other.SetPort(pty.name());
        QCOMPARE(error_code_of([&] { other.Open(); }), int(kErrOpen));
        QVERIFY(!other.Connected());

        port.Close();
        QVERIFY(!port.Connected());
        other.Open(); // the device is free again
        QVERIFY(other.Connected());

        TComPort missing;
        missing.SetPort("/dev/telvane-no-such-device");
        QCOMPARE(error_code_of([&] { missing.Open(); }), int(kErrOpen));
    }

    void settingsReachTheLine() {
        Pty pty;
        TComPort port;
        port.SetPort(pty.name());
        port.SetBaudRate(kBaud115200);
        port.Open();
        termios t = pty.line();
        QCOMPARE(cfgetospeed(&t), speed_t(B115200));
        QCOMPARE(t.c_cflag & CSIZE, tcflag_t(CS8));
        QCOMPARE(t.c_cflag & (PARENB | CSTOPB | CRTSCTS), tcflag_t(0));

        // Changes on an open port take effect at once.
        port.SetCustomBaudRate(4800);
        port.SetBaudRate(kBaudCustom);
        port.SetStopBits(StopBits::Two);
        port.SetFlowControl(
            {true, false, LineControl::Disable, LineControl::Handshake, false, false});
        t = pty.line();
        QCOMPARE(cfgetospeed(&t), speed_t(B4800));
        QCOMPARE(t.c_cflag & (CSTOPB | CRTSCTS), tcflag_t(CSTOPB | CRTSCTS));

        // Settings made while closed are applied by Open.
        port.Close();
        port.SetBaudRate(9);
        port.SetFlowControl({});
        port.SetFlowControl({false, false, LineControl::Disable, LineControl::Disable, true, true});
        port.Open();
        t = pty.line();
        QCOMPARE(cfgetospeed(&t), speed_t(B19200));
        QCOMPARE(t.c_iflag & (IXON | IXOFF), tcflag_t(IXON | IXOFF));
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, port.SetBaudRate(16));
    }

    void rejectedSettingsLeaveThePortClosed() {
        Pty pty;
        TComPort port;
        port.SetPort(pty.name());
        port.SetCustomBaudRate(0);
        port.SetBaudRate(kBaudCustom);
        QCOMPARE(error_code_of([&] { port.Open(); }), int(kErrSetState));
        QVERIFY(!port.Connected());
        // A pseudo-terminal always carries 8 data bits without parity and refuses the rest.
        port.SetBaudRate(kBaud9600);
        port.SetDataBits(7);
        QCOMPARE(error_code_of([&] { port.Open(); }), int(kErrSetState));
        QVERIFY(!port.Connected());

        // The failed opens released the device.
        TComPort other;
        other.SetPort(pty.name());
        other.Open();
        QVERIFY(other.Connected());
        // A rejected change on an open port is reported and the port stays open.
        QCOMPARE(error_code_of([&] { other.SetParity({ParityBits::Even}); }), int(kErrSetState));
        other.SetCustomBaudRate(0);
        QCOMPARE(error_code_of([&] { other.SetBaudRate(kBaudCustom); }), int(kErrSetState));
        QVERIFY(other.Connected());
    }

    void receivedCharactersAreAnnouncedOnTheMainThread() {
        Pty pty;
        TComPort port;
        port.SetPort(pty.name());
        port.Open();
        QList<int> counts;
        bool on_main_thread = true;
        connect(&port, &TComPort::RxChar, this, [&](int count) {
            counts << count;
            on_main_thread = on_main_thread && QThread::currentThread() == thread();
        });

        pty.send("SC      P1,1.5,TREE\r\n");
        QTRY_COMPARE(counts.size(), 1);
        QCOMPARE(counts.front(), 21);
        QVERIFY(on_main_thread);
        QCOMPARE(port.InputCount(), 21); // the event read nothing itself

        std::string got;
        QCOMPARE(port.ReadStr(got, 8), 8);
        QCOMPARE(got, std::string("SC      "));
        QCOMPARE(port.ReadStr(got, 100), 13); // fewer than asked: shortened to what came
        QCOMPARE(got, std::string("P1,1.5,TREE\r\n"));
        QCOMPARE(port.ReadStr(got, 10), 0);
        QCOMPARE(got, std::string());

        pty.send("NEZ");
        QTRY_COMPARE(counts.size(), 2);
        QCOMPARE(counts.back(), 3);
        QCOMPARE(port.ReadStr(got, counts.back()), 3);

        // Without the received-characters event in the mask nothing is announced.
        port.SetEvents(kAllComEvents & ~evRxChar);
        pty.send("x");
        QTRY_COMPARE(port.InputCount(), 1);
        QCOMPARE(counts.size(), 2);
    }

    void writesBlockUntilWrittenOrTimedOut() {
        Pty pty;
        TComPort port;
        port.SetPort(pty.name());
        port.Open();
        QCOMPARE(port.WriteStr(""), 0);
        const std::string line = "P1 TREE 0 100.000000 200.000000 10.500000 0\r\n";
        QCOMPARE(port.WriteStr(line), int(line.size()));
        QCOMPARE(pty.drain(), line);

        // Nobody reads the other end: the write gives up when its time is over and returns what
        // the line took, and nothing of the rest goes out later.
        port.SetTimeouts({-1, 0, 0, 0, 50});
        const std::string big(4 * 1024 * 1024, 'x');
        const int written = port.WriteStr(big);
        QVERIFY(written > 0);
        QVERIFY(written < int(big.size()));
        QCOMPARE(pty.drain().size(), std::size_t(written));
        QVERIFY(port.Connected());
    }

    void hangUpIsReportedOnceAndCloses() {
        Pty pty;
        TComPort port;
        port.SetPort(pty.name());
        port.Open();
        QSignalSpy errors(&port, &TComPort::LineError);
        pty.hang_up();
        QTRY_VERIFY(!port.Connected());
        QTest::qWait(100); // a port left open would keep reporting meanwhile
        QCOMPARE(errors.size(), 1);
        QCOMPARE(errors.front().at(0).toInt(), int(kErrRead));
        QVERIFY(errors.front().at(1).toString().startsWith("ReadFile function failed"));
    }

    void closedPortRefusesReadAndWrite() {
        TComPort port;
        std::string out;
        QCOMPARE(error_code_of([&] { port.WriteStr("x"); }), int(kErrWrite));
        QCOMPARE(error_code_of([&] { port.ReadStr(out, 1); }), int(kErrRead));
    }

    void changingThePortNameReopens() {
        Pty first, second;
        TComPort port;
        port.SetPort(first.name());
        port.Open();
        port.SetPort(second.name());
        QVERIFY(port.Connected());
        port.WriteStr("to the second");
        QCOMPARE(second.drain(), std::string("to the second"));
        QCOMPARE(first.drain(50), std::string());
        TComPort again; // the first device was released
        again.SetPort(first.name());
        again.Open();
    }

    void deviceListIsSortedWithoutRegardToCase() {
        TComPort::SetDeviceLister([] { return QStringList{"ttyUSB1", "COM2", "com10", "COM1"}; });
        QCOMPARE(TComPort::EnumComPorts(), (QStringList{"COM1", "com10", "COM2", "ttyUSB1"}));
        TComPort::SetDeviceLister([] { return QStringList{}; });
        QCOMPARE(error_code_of([] { TComPort::EnumComPorts(); }), int(kErrRegistry));
    }

    void portSelector() {
        TComPort::SetDeviceLister([] { return QStringList{"ttyS1", "ttyS0", "ttyUSB0"}; });
        TComPort port;
        port.SetPort("ttyS1");
        TComComboBox box;
        box.SetComPort(&port);
        box.SetComProperty(ComProperty::Port);
        QCOMPARE(box.count(), 3);
        QCOMPARE(box.itemText(0), QString("ttyS0"));
        QCOMPARE(box.currentIndex(), 1);
        QCOMPARE(box.GetText(), QString("ttyS1"));

        port.SetPort("TTYS0"); // names compare exactly
        box.UpdateSettings();
        QCOMPARE(box.currentIndex(), -1);
        QCOMPARE(box.GetText(), QString());

        // The user's pick goes to the port at once with AutoApply, else on ApplySettings.
        emit box.activated(2);
        QCOMPARE(port.Port(), QString("TTYS0"));
        box.ApplySettings();
        QCOMPARE(port.Port(), QString("ttyUSB0"));
        box.SetAutoApply(true);
        box.setCurrentIndex(0);
        emit box.activated(0);
        QCOMPARE(port.Port(), QString("ttyS0"));

        TComComboBox unbound;
        unbound.SetComProperty(ComProperty::Port);
        QCOMPARE(unbound.currentIndex(), 0);

        TComPort::SetDeviceLister([] { return QStringList{}; });
        QCOMPARE(error_code_of([&] { box.SetComProperty(ComProperty::Port); }), int(kErrRegistry));
        QCOMPARE(box.count(), 0);
        QCOMPARE(box.GetText(), QString());
    }

    void baudRateSelector() {
        TComPort port;
        port.SetBaudRate(kBaud115200);
        TComComboBox box;
        box.SetAutoApply(true);
        box.SetComPort(&port);
        box.SetComProperty(ComProperty::BaudRate);
        QCOMPARE(box.count(), kBaudRateCount);
        for (int i = 0; i < kBaudRateCount; ++i)
            QCOMPARE(box.itemText(i), BaudRateToStr(i));
        QCOMPARE(box.currentIndex(), kBaud115200);
        emit box.activated(0);
        QCOMPARE(port.BaudRate(), kBaudCustom);
        emit box.activated(4);
        QCOMPARE(port.BaudRate(), 4);
    }

    void refusedPickIsReportedNotThrown() {
        Pty pty;
        TComPort::SetDeviceLister([] { return QStringList{"telvane-no-such-device"}; });
        TComPort port;
        port.SetPort(pty.name());
        port.Open();
        TComComboBox box;
        box.SetAutoApply(true);
        box.SetComPort(&port);
        box.SetComProperty(ComProperty::Port);
        QSignalSpy failed(&box, &TComComboBox::ApplyFailed);
        emit box.activated(0);
        QCOMPARE(failed.size(), 1);
        QVERIFY(failed.front().at(0).toString().startsWith("Unable to open com port"));
        QVERIFY(!port.Connected());
    }

    void otherSelectors() {
        TComPort port;
        port.SetDataBits(7);
        port.SetParity({ParityBits::Space});
        TComComboBox bits, parity, stop, flow;
        for (auto [box, kind] : {std::pair{&bits, ComProperty::DataBits},
                                 {&parity, ComProperty::Parity},
                                 {&stop, ComProperty::StopBits},
                                 {&flow, ComProperty::FlowControl}}) {
            box->SetAutoApply(true);
            box->SetComPort(&port);
            box->SetComProperty(kind);
        }
        QCOMPARE(bits.GetText(), QString("7"));
        QCOMPARE(parity.GetText(), QString("Space"));
        QCOMPARE(stop.GetText(), QString("1"));
        QCOMPARE(flow.GetText(), QString("None"));
        emit stop.activated(1);
        QCOMPARE(port.GetStopBits(), StopBits::OneAndHalf);
        emit flow.activated(0);
        QCOMPARE(port.FlowControl().OutCTSFlow, true);
        QCOMPARE(FlowControlToStr(port.FlowControl()), QString("Hardware"));
        emit flow.activated(3); // "Custom" keeps the port's settings
        QCOMPARE(FlowControlToStr(port.FlowControl()), QString("Hardware"));
    }
};

QTEST_MAIN(TestComPort)
#include "tst_comport.moc"
