// The main window started from an INI file and language files made by the test, with every
// question answered through the scripted seam.
#include "mainwindow/startup.h"
#include "scripted_prompts.h"
#include "test_files.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTableView>
#include <QTest>

#include <memory>

using namespace telvane;

namespace {

const QString kHelpZh = QStringLiteral("帮助：接收与发送");
const QString kHelpEn = QStringLiteral("Help: receiving and sending");

struct Started {
    TestFiles files;
    ScriptedPrompts prompts;
    std::unique_ptr<AppWindows> windows;

    Started() {
        files.write_language(all_window_keys());
        files.write_help(kHelpZh, kHelpEn);
    }
    TForm1& form() { return *windows->Form1; }
    TForm2& settings() { return *windows->Form2; }
    void start() {
        StartResult r = start_windows({files.dir(), files.ini()}, prompts);
        QVERIFY2(r.windows, qPrintable(r.error));
        windows = std::move(r.windows);
    }
    void start_and_show() {
        start();
        form().show();
    }
};

void set_devices(QStringList names) {
    TComPort::SetDeviceLister([names] { return names; });
}

void move_mouse(QWidget* w, QPoint at) {
    QMouseEvent move(QEvent::MouseMove, QPointF(at), w->mapToGlobal(QPointF(at)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &move);
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void init() { set_devices({"ttyUSB0", "ttyS0"}); }
    void cleanup() { TComPort::SetDeviceLister(nullptr); }

    void startsWithDefaultsWithoutIniFile() {
        Started s;
        s.start_and_show();
        TForm1& f = s.form();
        QVERIFY(s.prompts.messages.isEmpty());

        // Language 1 when none is stored, written back at once.
        QCOMPARE(f.language().LanguageIndex(), 1);
        QCOMPARE(s.files.read_ini(), QByteArray("[Form]\nLanguage=1\n"));
        QCOMPARE(f.vLanguage->count(), 2);
        QCOMPARE(f.vLanguage->itemText(0), QStringLiteral("中文"));
        QCOMPARE(f.vLanguage->currentIndex(), 1);

        QCOMPARE(f.windowTitle(), en("app_title") + " v1.6");
        const std::pair<QPushButton*, const char*> buttons[] = {
            {f.ReceiveBtn, "receivebtn"}, {f.SendBtn, "sendbtn"},
            {f.StopBtn, "stopbtn"},       {f.CoordBtn, "coordbtn"},
            {f.CodeBtn, "codebtn"},       {f.RoadCalcBtn, "road_calculate"},
            {f.OpenBtn, "openbtn"},       {f.SaveBtn, "savebtn"},
            {f.SettingBtn, "settingbtn"}, {f.HelpBtn, "helpbtn"},
            {f.ExitBtn, "Exit"},          {f.AppendBtn, "appendbtn"},
            {f.InsertBtn, "insertbtn"},   {f.DelBtn, "deletebtn"},
            {f.OKBtn, "returnbtn"}};
        for (auto [b, key] : buttons)
            QCOMPARE(b->text(), en(key));
        QCOMPARE(f.ComportSettingGroup->title(), en("comportgroup"));
        QCOMPARE(f.TransControlGroup->title(), en("transcontrolgroup"));
        QCOMPARE(f.FileControlGroup->title(), en("DataManage"));
        QCOMPARE(f.Label11->text(), en("comportnumlab"));
        QCOMPARE(f.Label12->text(), en("baudratelab"));
        QCOMPARE(f.LblLanguage->text(), en("Language"));
        QCOMPARE(f.StatusPanel(0), QString("Welcome"));
        QCOMPARE(f.StatusPanel(1), en("total") + "0");

        // Enabled states after start.
        QVERIFY(f.ReceiveBtn->isEnabled());
        QVERIFY(!f.SendBtn->isEnabled());
        QVERIFY(!f.StopBtn->isEnabled());
        QVERIFY(f.OpenBtn->isEnabled());
        QVERIFY(f.SaveBtn->isEnabled());
        QVERIFY(f.ComportSettingGroup->isEnabled());
        QVERIFY(f.FileControlGroup->isEnabled());
        QCOMPARE(f.PageControl1->currentIndex(), 0);
        QCOMPARE(f.data().Kind, DataKind::Records);
        QCOMPARE(f.LinkMode(), 0);

        // Centred on the screen, never pushed off its top or left edge.
        const QRect screen = f.screen()->availableGeometry();
        const QRect window = f.frameGeometry();
        QVERIFY(window.left() >= screen.left() && window.top() >= screen.top());
        if (window.height() < screen.height())
            QVERIFY(qAbs(window.center().y() - screen.center().y()) <= 2);
        if (window.width() < screen.width())
            QVERIFY(qAbs(window.center().x() - screen.center().x()) <= 2);

        // Selectors: the devices sorted, position 0 and 115200 baud.
        QCOMPARE(f.ComComboBox7->count(), 2);
        QCOMPARE(f.ComComboBox7->GetText(), QString("ttyS0"));
        QCOMPARE(f.ComPort1.Port(), QString("ttyS0"));
        QCOMPARE(f.ComComboBox8->count(), kBaudRateCount);
        QCOMPARE(f.ComComboBox8->GetText(), QString("115200"));
        QCOMPARE(f.ComPort1.BaudRate(), kBaud115200);
        QVERIFY(!f.ComPort1.Connected());

        // The help is on show.
        QVERIFY(f.HelpShown());
        QVERIFY(f.MeasText->isVisible());
        QCOMPARE(f.MeasText->toPlainText(), kHelpEn + "\n");

        // Closing keeps port and baud-rate positions beside the language.
        QSignalSpy closed(&f, &TForm1::Closed);
        f.ExitBtn->click();
        QCOMPARE(closed.size(), 1);
        QCOMPARE(s.files.read_ini(), QByteArray("[Form]\nLanguage=1\nPort=0\nBaudrate=13\n"));
        QCOMPARE(s.prompts.unanswered, 0);
    }

    void readsTheFormSection_data() {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("port");
        QTest::addColumn<int>("baudPosition");
        QTest::addColumn<int>("portBaud");
        QTest::addColumn<QByteArray>("afterClose");
        QTest::newRow("stored") << QByteArray("[Form]\r\nLanguage=0\r\nPort=1\r\nBaudrate=7\r\n")
                                << 0 << "ttyUSB0" << 7 << 7
                                << QByteArray("[Form]\r\nLanguage=0\r\nPort=1\r\nBaudrate=7\r\n");
        QTest::newRow("language out of range")
            << QByteArray("[Form]\r\nLanguage=7\r\n") << 1 << "ttyS0" << 13 << 13
            << QByteArray("[Form]\r\nLanguage=1\r\nPort=0\r\nBaudrate=13\r\n");
        QTest::newRow("negative language")
            << QByteArray("[Form]\nLanguage=-1\n") << 1 << "ttyS0" << 13 << 13
            << QByteArray("[Form]\nLanguage=1\nPort=0\nBaudrate=13\n");
        QTest::newRow("unreadable language")
            << QByteArray("[Form]\nLanguage=zh\n") << 1 << "ttyS0" << 13 << 13
            << QByteArray("[Form]\nLanguage=1\nPort=0\nBaudrate=13\n");
        QTest::newRow("positions not listed")
            << QByteArray("[Setting]\nAngleUnit=1\n[Form]\nPort=5\nBaudrate=16\n") << 1 << "" << -1
            << 13
            << QByteArray("[Setting]\nAngleUnit=1\n[Form]\nPort=-1\nBaudrate=-1\nLanguage=1\n");
    }
    void readsTheFormSection() {
        QFETCH(QByteArray, ini);
        QFETCH(int, language);
        QFETCH(QString, port);
        QFETCH(int, baudPosition);
        QFETCH(int, portBaud);
        QFETCH(QByteArray, afterClose);
        Started s;
        s.files.write_ini(ini);
        s.start_and_show();
        TForm1& f = s.form();
        QCOMPARE(f.language().LanguageIndex(), language);
        QCOMPARE(f.ReceiveBtn->text(), language == 0 ? zh("receivebtn") : en("receivebtn"));
        QCOMPARE(f.ComComboBox7->GetText(), port);
        QCOMPARE(f.ComPort1.Port(), port);
        QCOMPARE(f.ComComboBox8->currentIndex(), baudPosition);
        QCOMPARE(f.ComPort1.BaudRate(), portBaud);
        f.close();
        QCOMPARE(s.files.read_ini(), afterClose);
        QVERIFY(s.prompts.messages.isEmpty());
    }

    void singleLanguageStartsInIt() {
        Started s;
        s.files.write_language(all_window_keys(), false);
        s.start_and_show();
        QCOMPARE(s.form().language().LanguageIndex(), 0);
        QCOMPARE(s.form().ReceiveBtn->text(), zh("receivebtn"));
        QCOMPARE(s.form().MeasText->toPlainText(), kHelpZh + "\n");
        QCOMPARE(s.files.read_ini(), QByteArray("[Form]\nLanguage=0\n"));
    }

    void withoutSerialDevices() {
        set_devices({});
        Started s;
        s.start_and_show();
        TForm1& f = s.form();
        QCOMPARE(s.prompts.messages, QStringList{en("no_comport")});
        QCOMPARE(f.ComComboBox7->count(), 0);
        QCOMPARE(f.ComComboBox7->GetText(), QString());
        // The baud rates are still listed and the stored one kept.
        QCOMPARE(f.ComComboBox8->GetText(), QString("115200"));
        f.close();
        QCOMPARE(s.files.read_ini(), QByteArray("[Form]\nLanguage=1\nPort=-1\nBaudrate=13\n"));
    }

    void missingOrBlankHelp() {
        Started s;
        s.files.remove("HELP.txt");
        s.start_and_show();
        // HELP.txt unreadable: said in the chosen language, then the blank help is reported.
        QCOMPARE(s.prompts.messages, (QStringList{en("no_helptext"), en("helptext_damage")}));
        QCOMPARE(s.form().MeasText->toPlainText(), QString());

        Started swapped;
        swapped.files.write_gbk("HELP.txt", "[English]\nEnglish help\n[中文]\nChinese help\n");
        swapped.start_and_show();
        QCOMPARE(swapped.prompts.messages, QStringList{en("helptext_damage")});
    }

    void languageSwitch() {
        Started s;
        s.files.write_ini("[Form]\nLanguage=1\n");
        s.start_and_show();
        TForm1& f = s.form();
        f.SetStatusPanel(1, "12");
        emit f.vLanguage->activated(0);
        QCOMPARE(f.language().LanguageIndex(), 0);
        QCOMPARE(f.windowTitle(), zh("app_title") + " v1.6");
        QCOMPARE(f.SettingBtn->text(), zh("settingbtn"));
        QCOMPARE(f.FileControlGroup->title(), zh("DataManage"));
        QCOMPARE(f.StatusPanel(1), zh("total") + "0");
        QCOMPARE(f.MeasText->toPlainText(), kHelpZh + "\n"); // the help follows the language
        QCOMPARE(f.vLanguage->currentIndex(), 0);
        // The choice is stored at once: the next start uses it.
        QCOMPARE(s.files.read_ini(), QByteArray("[Form]\nLanguage=0\n"));

        // Text typed into the list that names no language changes nothing.
        f.vLanguage->setFocus();
        QTest::keyClicks(f.vLanguage, "xyz");
        QCOMPARE(f.language().LanguageIndex(), 0);
        QCOMPARE(f.SettingBtn->text(), zh("settingbtn"));
        f.vLanguageChange(-1);
        f.vLanguageChange(2);
        QCOMPARE(f.language().LanguageIndex(), 0);

        // With the help no longer on show the view is rebuilt instead.
        f.leave_help();
        emit f.vLanguage->activated(1);
        QCOMPARE(f.SettingBtn->text(), en("settingbtn"));
        // The empty job the program starts with.
        QCOMPARE(f.MeasText->toPlainText(), QString("JOB     NONAME\nINST    UNKNOW"));
        QVERIFY(s.prompts.messages.isEmpty());
    }

    void helpKeepsTheData() {
        Started s;
        s.start_and_show();
        TForm1& f = s.form();
        s.files.write("p.csv", "P1,C,1,2,3\r\nP2,C,4,5,6\r\n");
        QVERIFY(f.OpenFile(s.files.dir() + "/p.csv"));
        QCOMPARE(f.data().Kind, DataKind::Points);
        QVERIFY(f.SendBtn->isEnabled());
        f.HelpBtn->click();
        // The help is on show, the points stay in their list and Send stays possible.
        QVERIFY(f.HelpShown());
        QVERIFY(f.MeasText->isVisible());
        QVERIFY(!f.StrGrid->isVisible());
        QCOMPARE(f.MeasText->toPlainText(), kHelpEn + "\n");
        QCOMPARE(f.data().Kind, DataKind::Points);
        QCOMPARE(f.data().CoordList.size(), std::size_t(2));
        QVERIFY(f.SendBtn->isEnabled());
        // Save writes the points, not the help.
        s.prompts.fileAnswers << FileChoice{s.files.dir() + "/back.csv", 1};
        f.SaveBtn->click();
        const QByteArray saved = s.files.read("back.csv");
        QVERIFY(saved.contains("P1") && saved.contains("P2") && !saved.contains("Help"));
        // A shown event (the window coming back) brings the help again, still without loss.
        f.FormPaint();
        QCOMPARE(f.data().CoordList.size(), std::size_t(2));
        // Points opens the editing page on the same points.
        f.CoordBtn->click();
        QVERIFY(!f.HelpShown());
        QCOMPARE(f.PageControl1->currentIndex(), 1);
        QCOMPARE(f.StrGridModel->rowCount(), 2);
        QVERIFY(f.StrGrid->isVisible());
        QVERIFY(s.prompts.questions.isEmpty());
    }

    void settingsDialogFromTheMainWindow() {
        Started s;
        s.start_and_show();
        TForm1& f = s.form();
        TForm2& d = s.settings();
        QVERIFY(!d.isVisible());
        f.SettingBtn->click();
        QVERIFY(d.isVisible());
        QVERIFY(!f.isEnabled());
        QVERIFY(d.isEnabled());
        const QPoint main_centre = f.frameGeometry().center();
        const QPoint dialog_centre = d.frameGeometry().center();
        QVERIFY((main_centre - dialog_centre).manhattanLength() <= 2);

        d.AngUnitCBB->setCurrentIndex(2);
        d.Confirm->click();
        QVERIFY(f.isEnabled());
        QCOMPARE(f.StatusPanel(2),
                 en("hint_settingbtn") + en("ANGLE_UNIT_MIL") + ", " + en("DIST_UNIT_Meter"));
        QVERIFY(s.files.read_ini().contains("[Setting]\nAngleUnit=2\n"));
        QCOMPARE(f.MeasText->toPlainText(), kHelpEn + "\n"); // the help came back

        // Closing the dialog another way enables the window too.
        f.SettingBtn->click();
        QVERIFY(!f.isEnabled());
        d.close();
        QVERIFY(f.isEnabled());
    }

    void hintsFollowTheMouse() {
        Started s;
        s.start_and_show();
        TForm1& f = s.form();
        move_mouse(f.ReceiveBtn, {10, 10});
        QCOMPARE(f.StatusPanel(2), en("hint_receivebtn"));
        move_mouse(f.ReceiveBtn, {0, 0}); // the button's outermost corner
        QCOMPARE(f.StatusPanel(2), QString());
        f.SendBtn->setEnabled(true);
        move_mouse(f.SendBtn, {0, 5});
        QCOMPARE(f.StatusPanel(2), en("hint_sendbtn"));
        f.StopBtn->setEnabled(true);
        move_mouse(f.StopBtn, {5, 5});
        QCOMPARE(f.StatusPanel(2), QString());
        s.settings().DistUnitCBB->setCurrentIndex(1);
        move_mouse(f.SettingBtn, {5, 5}); // not confirmed: not the unit in use
        QCOMPARE(f.StatusPanel(2),
                 en("hint_settingbtn") + en("ANGLE_UNIT_DMS") + ", " + en("DIST_UNIT_Meter"));
        s.settings().ConfirmClick();
        move_mouse(f.SettingBtn, {5, 5});
        QCOMPARE(f.StatusPanel(2),
                 en("hint_settingbtn") + en("ANGLE_UNIT_DMS") + ", " + en("DIST_UNIT_US-Ft"));
    }

    void lineFailureIsShownInTheStatusBar() {
        Started s;
        s.start_and_show();
        emit s.form().ComPort1.LineError(3, "ReadFile function failed");
        QCOMPARE(s.form().StatusPanel(0), en("port_setting_error"));
    }

    void userPickedPortAndRateAreKept() {
        Started s;
        s.files.write_ini("; comment\r\n[Form]\r\nLanguage=1\r\nPort=0\r\nBaudrate=13\r\n");
        s.start_and_show();
        TForm1& f = s.form();
        f.ComComboBox7->setCurrentIndex(1);
        emit f.ComComboBox7->activated(1);
        f.ComComboBox8->setCurrentIndex(9);
        emit f.ComComboBox8->activated(9);
        QCOMPARE(f.ComPort1.Port(), QString("ttyUSB0"));
        QCOMPARE(f.ComPort1.BaudRate(), 9);
        f.close();
        QCOMPARE(s.files.read_ini(),
                 QByteArray("; comment\r\n[Form]\r\nLanguage=1\r\nPort=1\r\nBaudrate=9\r\n"));
    }

    void startFailsWithoutLanguageFile() {
        Started s;
        s.files.remove("Language.cfg");
        StartResult r = start_windows({s.files.dir(), s.files.ini()}, s.prompts);
        QVERIFY(!r.windows);
        const QString file = s.files.dir() + "/Language.cfg";
        QVERIFY(r.error.contains(file));
        QVERIFY(r.error.contains("Language.cfg is missing"));
        QVERIFY(r.error.contains(QStringLiteral("语言文件")));
        QVERIFY(!QFile::exists(s.files.ini())); // nothing was written

        s.files.write_gbk("Language.cfg", "KEY\n");
        QVERIFY(!start_windows({s.files.dir(), s.files.ini()}, s.prompts).windows);
    }

    void windowsAreCreatedOnceAndOnlyTheMainWindowShows() {
        Started s;
        s.start();
        QVERIFY(s.windows->Form1 && s.windows->Form2 && s.windows->FormMessage);
        QVERIFY(!s.windows->Form1->isVisible());
        QVERIFY(!s.windows->Form2->isVisible());
        QVERIFY(!s.windows->FormMessage->isVisible());
    }

    void iniFileMovesWhenItsFolderIsReadOnly() {
        TestFiles config;
        const AppPaths beside =
            paths_for_executable(config.dir() + "/telvane", config.dir() + "/cfg");
        QCOMPARE(beside.iniPath, config.dir() + "/telvane.INI");
        QCOMPARE(beside.directory, config.dir());
        const AppPaths moved = paths_for_executable("/proc/telvane", config.dir() + "/cfg");
        QCOMPARE(moved.iniPath, config.dir() + "/cfg/telvane.INI");
        QCOMPARE(moved.directory, QString("/proc"));
    }

    // An installed program (prefix/bin/telvane) finds its texts in prefix/share/telvane, unless
    // it has its own beside it.
    void languageFilesBesideTheProgramFirstThenUnderShare() {
        TestFiles prefix;
        QDir(prefix.dir()).mkpath("bin");
        QDir(prefix.dir()).mkpath("share/telvane");
        const QString exe = prefix.dir() + "/bin/telvane";
        const QString cfg = prefix.dir() + "/cfg";
        QCOMPARE(paths_for_executable(exe, cfg).directory, prefix.dir() + "/bin"); // neither
        QFile shared(prefix.dir() + "/share/telvane/Language.cfg");
        QVERIFY(shared.open(QIODevice::WriteOnly));
        shared.close();
        const AppPaths installed = paths_for_executable(exe, cfg);
        QCOMPARE(installed.directory, prefix.dir() + "/share/telvane");
        QCOMPARE(installed.iniPath, cfg + "/telvane.INI"); // never in the system's bin folder
        QFile beside(prefix.dir() + "/bin/Language.cfg");
        QVERIFY(beside.open(QIODevice::WriteOnly));
        beside.close();
        QCOMPARE(paths_for_executable(exe, cfg).directory, prefix.dir() + "/bin");
        QCOMPARE(paths_for_executable(exe, cfg).iniPath, prefix.dir() + "/bin/telvane.INI");
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
