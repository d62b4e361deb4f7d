// Pictures of the main window in both languages, of its data views and of the settings and
// save dialogs, taken on the offscreen platform with the language files that ship with the
// program.
//
//   telvane_screenshots LANGUAGE_DIR OUTPUT_DIR
//
// The serial device list is fixed (ttyS0, ttyUSB0) so the pictures do not depend on the machine.
#include "mainwindow/points_map.h"
#include "mainwindow/startup.h"
#include "pseudo_terminal.h"
#include "scripted_prompts.h"
#include "ui/codec.h"
#include "ui/dialog_prompts.h"
#include "ui/entry_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

using namespace telvane;

namespace {

bool save(QWidget& w, const QString& path) {
    QCoreApplication::processEvents();
    const bool ok = w.grab().save(path);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
    return ok;
}

void write_gbk(const QString& path, const QString& text) {
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    const std::string bytes = toGbk(text);
    f.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

// A day's job with Chinese point names, and points made from it.
const QString kJob =
    QStringLiteral("JOB     南环路\r\nINST    TS\r\nSTA     控制点1,1.5420,CP\r\n"
                   "XYZ     502311.2450,3379510.1180,42.3150\r\nBS      控制点2,1.6000\r\n"
                   "HVD     0,324005,215.3320\r\nSC      控制点2,1.6000,BSS\r\n"
                   "ENZ     502420.0120,3379325.7740,41.8840\r\nNOTE    路灯1:LAMP:东侧\r\n"
                   "SC      路灯1,1.3000,\r\nHVD     1220413,323518,36.4410\r\n"
                   "ENZ     502335.1870,3379537.3380,42.0410\r\nSD      树1,1.3000,TREE\r\n"
                   "HVD     2530744,324212,18.0020\r\nSC      井盖1,1.3000,MH\r\n"
                   "HVD     3050028,324105,44.9170\r\nENZ     502274.7710,3379536.2040,41.7730\r\n"
                   "SA      电杆1,1.3000,POLE\r\nHV      873012,322950\r\n");

const QString kPoints = QStringLiteral("控制点1,CP,3379510.1180,502311.2450,42.3150\r\n"
                                       "控制点2,CP,3379325.7740,502420.0120,41.8840\r\n"
                                       "路灯1,LAMP,3379537.3380,502335.1870,42.0410\r\n"
                                       "井盖1,MH,3379536.2040,502274.7710,41.7730\r\n"
                                       "K0+020,ROAD,3379522.4400,502318.9020,42.1120\r\n"
                                       "K0+040,ROAD,3379541.0060,502326.3350,42.0080\r\n");

// The job in the text view, the points in the table, the editing page and the save dialog.
bool data_views(TForm1& form, const QDir& work, const QDir& out, const QString& language) {
    write_gbk(work.filePath("南环路.txt"), kJob);
    write_gbk(work.filePath("points.csv"), kPoints);
    bool ok = form.OpenFile(work.filePath("南环路.txt"));
    ok = save(form, out.filePath("job-text-" + language + ".png")) && ok;
    ok = form.OpenFile(work.filePath("points.csv")) && ok;
    ok = save(form, out.filePath("points-table-" + language + ".png")) && ok;
    form.MapBtnClick();
    form.PointsMap->ShowCodes->setChecked(true);
    ok = save(*form.PointsMap, out.filePath("points-map-" + language + ".png")) && ok;
    form.PointsMap->hide();
    form.CoordBtnClick();
    form.StrGrid->setCurrentIndex(form.StrGridModel->index(2, 1));
    ok = save(form, out.filePath("editing-page-" + language + ".png")) && ok;
    form.OKBtnClick();

    QFileDialog dialog(&form);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDirectory(work);
    dialog.setNameFilters(name_filters_from_type_list(form.texts().filter("SAVE_COORD_FILTER")));
    dialog.selectFile(QStringLiteral("points"));
    dialog.resize(760, 440);
    dialog.show();
    if (!QTest::qWaitForWindowExposed(&dialog))
        return false;
    ok = save(dialog, out.filePath("save-dialog-" + language + ".png")) && ok;
    dialog.close();
    return ok;
}

// A receive from an instrument on a pseudo-terminal: while the lines arrive, and when done.
bool receive(TForm1& form, ScriptedPrompts& prompts, Pty& instrument, const QDir& out,
             const QString& language) {
    form.HelpBtnClick();
    form.ComComboBox7->SelectDevice(instrument.name());
    prompts.answers << 1; // the points behind the help give way to the receive
    form.ReceiveBtnClick();
    const std::string job = toGbk(kJob);
    instrument.send(job.substr(0, job.size() / 2));
    for (int i = 0; i < 30; ++i)
        QTest::qWait(10);
    bool ok = save(form, out.filePath("receive-in-progress-" + language + ".png"));
    instrument.send(job.substr(job.size() / 2));
    for (int i = 0; i < 30; ++i)
        QTest::qWait(10);
    form.Timer1Timer(); // the silence that ends it
    ok = save(form, out.filePath("receive-finished-" + language + ".png")) && ok;
    EditDocument(form).mark_saved(); // the pictures are taken; nothing to keep
    return ok && form.data().Kind == DataKind::Records;
}

// The road window with a road on each page, and each entry dialog.
bool road_window(AppWindows& windows, ScriptedPrompts& prompts, const QDir& out,
                 const QString& language) {
    road::TFormRoadCalculate& r = *windows.FormRoadCalculate;
    const QString examples = QStringLiteral(TELVANE_EXAMPLES);
    windows.Form1->RoadCalcBtnClick();
    const std::pair<RoadList, const char*> files[] = {{RoadList::Intersections, "road.PHI"},
                                                      {RoadList::Profile, "road.PVI"},
                                                      {RoadList::Stakes, "stakes.csv"}};
    for (auto [page, name] : files) {
        r.PageControl1->setCurrentIndex(road::PageIndex(page));
        prompts.fileAnswers << FileChoice{examples + "/" + name, 1};
        r.BtnLoadClick();
    }
    r.Edit5->setText(QStringLiteral("5"));
    r.BtnCalculateClick();
    bool ok = prompts.messages.isEmpty();
    const char* pages[] = {"road-points-", "road-elements-", "road-profile-", "road-stakes-"};
    for (int i = 0; i < 4; ++i) {
        r.PageControl1->setCurrentIndex(i);
        ok = save(r, out.filePath(pages[i] + language + ".png")) && ok;
    }
    for (int i = 0; i < 2; ++i) {
        r.PicturePages->setCurrentIndex(i);
        ok = save(*r.PicturePages->parentWidget(),
                  out.filePath((i == 0 ? "road-plan-" : "road-profile-picture-") + language +
                               ".png")) &&
             ok;
    }
    // Each list's entry dialog, as Append shows it.
    const char* names[] = {"dialog-point-", "dialog-element-", "dialog-grade-", "dialog-stake-"};
    for (int i = 0; i < 4; ++i) {
        r.PageControl1->setCurrentIndex(i);
        prompts.onEnter = [&](const EntryRequest& request) -> std::optional<QStringList> {
            EntryDialog dialog(request, {}, windows.Form1->texts().text("confirmbtn"),
                               windows.Form1->texts().text("cancelbtn"), &r);
            dialog.show();
            ok = save(dialog, out.filePath(names[i] + language + ".png")) && ok;
            return std::nullopt;
        };
        prompts.answers = {1}; // nothing is replaced unless a record is entered
        r.BtnAppendClick();
        prompts.answers.clear();
    }
    prompts.onEnter = nullptr;
    r.BtnExitClick();
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QT_QPA_FONTDIR"))
        qputenv("QT_QPA_FONTDIR", "/usr/share/fonts");
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: telvane_screenshots LANGUAGE_DIR OUTPUT_DIR\n");
        return 2;
    }
    const QDir languages(QString::fromLocal8Bit(argv[1]));
    const QDir out(QString::fromLocal8Bit(argv[2]));
    QDir().mkpath(out.path());

    QTemporaryDir work;
    for (const char* name : {"Language.cfg", "FileType.cfg", "HELP.txt"})
        QFile::copy(languages.filePath(name), QDir(work.path()).filePath(name));
    QFile ini(QDir(work.path()).filePath("telvane.INI"));
    ini.open(QIODevice::WriteOnly);
    ini.write("[Form]\r\nLanguage=1\r\nPort=1\r\nBaudrate=13\r\n");
    ini.close();

    TComPort::SetDeviceLister([] { return QStringList{"ttyS0", "ttyUSB0"}; });
    ScriptedPrompts prompts;
    StartResult started = start_windows(
        {work.path(), ini.fileName(), QDir(work.path()).filePath("captures")}, prompts);
    if (!started.windows) {
        std::fprintf(stderr, "%s\n", qPrintable(started.error));
        return 1;
    }
    TForm1& form = *started.windows->Form1;
    TForm2& settings = *started.windows->Form2;
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        return 1;
    bool ok = save(form, out.filePath("main-window-english.png"));

    form.SettingBtnClick();
    ok = save(settings, out.filePath("settings-english.png")) && ok;
    settings.close();
    ok = data_views(form, QDir(work.path()), out, QStringLiteral("english")) && ok;
    Pty instrument;
    ok = receive(form, prompts, instrument, out, QStringLiteral("english")) && ok;
    ok = road_window(*started.windows, prompts, out, QStringLiteral("english")) && ok;
    form.HelpBtnClick();

    form.vLanguageChange(0);
    ok = save(form, out.filePath("main-window-chinese.png")) && ok;
    form.SettingBtnClick();
    ok = save(settings, out.filePath("settings-chinese.png")) && ok;
    settings.close();
    ok = data_views(form, QDir(work.path()), out, QStringLiteral("chinese")) && ok;
    ok = receive(form, prompts, instrument, out, QStringLiteral("chinese")) && ok;
    ok = road_window(*started.windows, prompts, out, QStringLiteral("chinese")) && ok;

    for (const QString& m : prompts.messages)
        std::fprintf(stderr, "message: %s\n", qPrintable(m));
    return ok && prompts.messages.isEmpty() ? 0 : 1;
}
