// Receive and send end to end: the window and its real port on one side of a pseudo-terminal,
// the test playing the instrument on the other.
#include "instrument_program.h"
#include "mainwindow/startup.h"
#include "pseudo_terminal.h"
#include "scripted_prompts.h"
#include "test_files.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace telvane;

namespace {

struct Bench : InstrumentProgram<ScriptedPrompts> {
    Bench() { form().show(); }
    // Lets the window take what the instrument sent.
    void settle() {
        for (int i = 0; i < 20; ++i)
            QTest::qWait(10);
    }
};

const std::string kJob = "JOB     DAY1\r\nINST    TS\r\nSTA     S1,1.5000,CP\r\n"
                         "XYZ     100.0000,200.0000,10.0000\r\nSD      D1,1.3000,W\r\n"
                         "HVD     3600,324000,50.0000\r\n";

} // namespace

class TestTransfer : public QObject {
    Q_OBJECT
private slots:
    void receiveEachKindAndKeepACapture_data() {
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<DataKind>("kind");
        QTest::addColumn<int>("items");
        QTest::addColumn<QString>("count");
        QTest::newRow("job") << QByteArray::fromStdString(kJob) << DataKind::Records << 2 << "3";
        QTest::newRow("point list")
            << QByteArray("SC      P1,1.0,C\r\nENZ     1.0,2.0,3.0\r\nSC      P2,1.0,\r\n"
                          "NEZ     4.0,5.0,6.0\r\n")
            << DataKind::Points << 2 << "2";
        QTest::newRow("codes") << QByteArray("TREE\r\nWALL\r\nPOLE\r\n") << DataKind::Codes << 3
                               << "2";
        QTest::newRow("last line without its end")
            << QByteArray("TREE\r\nWALL\r\nPOLE") << DataKind::Codes << 3 << "1";
    }
    void receiveEachKindAndKeepACapture() {
        QFETCH(QByteArray, sent);
        QFETCH(DataKind, kind);
        QFETCH(int, items);
        QFETCH(QString, count);
        Bench b;
        TForm1& f = b.form();
        f.ReceiveBtn->click();
        QCOMPARE(f.LinkMode(), 1);
        QVERIFY(!f.OpenBtn->isEnabled());
        QVERIFY(!f.FileControlGroup->isEnabled());
        QVERIFY(f.StopBtn->isEnabled());
        // A second press would restart the receive under way and split its capture.
        QVERIFY(!f.ReceiveBtn->isEnabled());
        QCOMPARE(f.StatusPanel(0), en("receiving_data"));
        // In pieces, as a slow line delivers them.
        for (qsizetype i = 0; i < sent.size(); i += 7)
            b.pty.send(sent.mid(i, 7).toStdString());
        QTRY_COMPARE(f.StatusPanel(1), en("receive_point_count") + count);
        f.Timer1Timer(); // the silence after the last line
        QCOMPARE(f.LinkMode(), 0);
        QCOMPARE(f.StatusPanel(0), en("operation_is_complete"));
        QCOMPARE(f.data().Kind, kind);
        const std::size_t n = kind == DataKind::Records  ? f.data().RecordList.size()
                              : kind == DataKind::Points ? f.data().CoordList.size()
                                                         : f.data().CodeList.size();
        QCOMPARE(static_cast<int>(n), items);
        QCOMPARE(f.MeasText->isVisible(), kind == DataKind::Records);
        QVERIFY(f.ReceiveBtn->isEnabled() && f.OpenBtn->isEnabled());
        QVERIFY(f.Doc().unsaved());
        // Every byte is in the capture file, which Open reads like any other file.
        QFile capture(f.CaptureFileName());
        QVERIFY(capture.open(QIODevice::ReadOnly));
        QCOMPARE(capture.readAll(), sent);
        QVERIFY(f.StatusPanel(2).contains(f.CaptureFileName()));
    }

    void hangUpMidReceiveKeepsTheLines() {
        Bench b;
        TForm1& f = b.form();
        f.ReceiveBtn->click();
        QCOMPARE(f.StatusPanel(0), en("receiving_data"));
        b.pty.send(kJob.substr(0, 83)); // the station, and no line end after it yet
        b.pty.send("NOTE    cut her");
        QTRY_COMPARE(f.StatusPanel(1), en("receive_point_count") + "2");
        QTRY_COMPARE(QFileInfo(f.CaptureFileName()).size(), qint64(83 + 15));
        b.pty.hang_up();
        QTRY_COMPARE(f.LinkMode(), 0);
        QCOMPARE(f.StatusPanel(0), en("line_lost"));
        QCOMPARE(f.data().Kind, DataKind::Records);
        QCOMPARE(f.data().JobName, std::string("DAY1"));
        QCOMPARE(f.data().RecordList.size(), std::size_t(2)); // the last line without its end too
    }

    void sendEachKindByteForByte_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QList<QByteArray>>("lines");
        QTest::newRow("points") << "p.csv" << QByteArray("P1,TREE,100,200,10.5\r\nP2,,1,2,3\r\n")
                                << QList<QByteArray>{
                                       "P1 TREE 0 100.000000 200.000000 10.500000 0\r\n",
                                       "P2 \b 0 1.000000 2.000000 3.000000 0\r\n"};
        QTest::newRow("codes") << "c.txt" << QByteArray("TREE\r\nWALL\r\n")
                               << QList<QByteArray>{"TREE\r\n", "WALL\r\n"};
        QTest::newRow("intersection points") << "r.PHI" << QByteArray("h\r\nJD1,1,2,3,4,5,6\r\n")
                                             << QList<QByteArray>{"JD1 1 2 3 4 5 6 \r\n"};
        QTest::newRow("slopes") << "r.PVI" << QByteArray("h\r\n100,20.5,1.5,-2,3000\r\n")
                                << QList<QByteArray>{"100 20.5 1.5 -2 3000 \r\n"};
        QTest::newRow("piles") << "s.txt" << QByteArray("h\r\n10\r\n20.5\r\n")
                               << QList<QByteArray>{"10,\r\n", "20.5,\r\n"};
    }
    void sendEachKindByteForByte() {
        QFETCH(QString, file);
        QFETCH(QByteArray, content);
        QFETCH(QList<QByteArray>, lines);
        Bench b;
        TForm1& f = b.form();
        b.files.write(file, content);
        QVERIFY(f.OpenFile(b.path(file)));
        f.SendBtn->click();
        QCOMPARE(f.LinkMode(), 2);
        QVERIFY(!f.ReceiveBtn->isEnabled());
        QCOMPARE(f.StatusPanel(0), en("sending_data"));
        b.settle();
        QCOMPARE(b.pty.drain(50), std::string()); // nothing goes out before the first request
        for (qsizetype i = 0; i < lines.size(); ++i) {
            b.pty.send(i == 0 ? "\r\r" : "\r"); // two CRs in one chunk ask for one line
            QCOMPARE(QByteArray::fromStdString(b.pty.next_line()), lines[i]);
            QCOMPARE(f.StatusPanel(1), en("sent_point_count") + QString::number(i + 1));
        }
        b.pty.send("\r");
        QTRY_COMPARE(f.StatusPanel(0), en("sent_successfully"));
        b.pty.send("\r");
        QCOMPARE(b.pty.next_line(300), std::string()); // after the last line: dropped
        f.Timer1Timer();
        QCOMPARE(f.StatusPanel(0), en("operation_is_complete"));
        QVERIFY(f.ReceiveBtn->isEnabled() && f.SendBtn->isEnabled());
    }

    void hangUpMidSendStopsWithTheCount() {
        Bench b;
        TForm1& f = b.form();
        b.files.write("c.txt", "TREE\r\nWALL\r\nPOLE\r\n");
        QVERIFY(f.OpenFile(b.path("c.txt")));
        f.SendBtn->click();
        b.pty.send("\r");
        QCOMPARE(b.pty.next_line(), std::string("TREE\r\n"));
        b.pty.hang_up();
        QTRY_COMPARE(f.LinkMode(), 0);
        QCOMPARE(f.StatusPanel(0), en("line_lost"));
        QCOMPARE(f.StatusPanel(1), en("sent_point_count") + "1");
        QVERIFY(!f.StopBtn->isEnabled());
    }

    void typedDeviceIsKeptAndTheListIsReadAgain() {
        Pty pty;
        TestFiles files;
        files.write_language(all_window_keys());
        files.write_help(QStringLiteral("帮助"), QStringLiteral("Help"));
        files.write_ini("[Form]\nPort=0\nPortName=" + pty.name().toUtf8() + "\n");
        QStringList listed{"ttyS0"};
        TComPort::SetDeviceLister([&listed] { return listed; });
        ScriptedPrompts prompts;
        QTemporaryDir captures;
        StartResult r = start_windows({files.dir(), files.ini(), captures.path()}, prompts);
        QVERIFY(r.windows);
        TForm1& f = *r.windows->Form1;
        QVERIFY(prompts.messages.isEmpty());
        QCOMPARE(f.ComComboBox7->GetText(), pty.name()); // not listed by the system, kept
        QCOMPARE(f.ComPort1.Port(), pty.name());
        f.ReceiveBtn->click();
        QCOMPARE(f.LinkMode(), 1);
        f.StopBtnClick();
        // An adapter plugged in after start shows when the list drops down.
        listed << "ttyUSB0";
        f.ComComboBox7->showPopup();
        f.ComComboBox7->hidePopup();
        QVERIFY(f.ComComboBox7->findText("ttyUSB0") >= 0);
        QCOMPARE(f.ComComboBox7->GetText(), pty.name());
        f.close();
        QVERIFY(files.read_ini().contains("PortName=" + pty.name().toUtf8()));
        TComPort::SetDeviceLister(nullptr);
    }

    void refusalsBeforeAnythingStarts() {
        Bench b;
        TForm1& f = b.form();
        f.SendBtn->setEnabled(true);
        f.SendBtn->click(); // the help on show: nothing to send
        QCOMPARE(b.prompts.messages, QStringList{en("upload_empty_file")});
        QString rows = "h\r\n";
        for (int i = 0; i < 20; ++i)
            rows += "1,2,3,4,5\r\n";
        b.files.write("r.PVI", rows.toLatin1());
        QVERIFY(f.OpenFile(b.path("r.PVI")));
        f.SendBtn->click();
        QCOMPARE(b.prompts.messages.back(), en("slope_data") + en("outlimit"));
        QCOMPARE(f.LinkMode(), 0);
        // Receive asks before discarding a job; Cancel starts nothing.
        b.files.write("j.txt", QByteArray::fromStdString(kJob));
        QVERIFY(f.OpenFile(b.path("j.txt")));
        f.ReceiveBtn->click();
        QCOMPARE(b.prompts.questions.back().title, en("if_change_record_mode_title"));
        QCOMPARE(f.LinkMode(), 0);
        QCOMPARE(f.data().RecordList.size(), std::size_t(2));
        // Closing during a transfer asks; Cancel keeps it going.
        b.prompts.answers = {1};
        f.ReceiveBtn->click();
        QCOMPARE(f.LinkMode(), 1);
        f.close();
        QCOMPARE(b.prompts.questions.back().title, en("if_close_transfer_title"));
        QVERIFY(f.isVisible());
        QCOMPARE(f.LinkMode(), 1);
        f.StopBtnClick();
        QCOMPARE(f.StatusPanel(0), en("stop_operation"));
        QVERIFY(f.data().RecordList.empty());
    }
};

QTEST_MAIN(TestTransfer)
#include "tst_transfer.moc"
