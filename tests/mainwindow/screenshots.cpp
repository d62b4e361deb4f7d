// Pictures of the main window in both languages and of the settings dialog, taken on the
// offscreen platform with the language files that ship with the program.
//
//   telvane_screenshots LANGUAGE_DIR OUTPUT_DIR
//
// The serial device list is fixed (ttyS0, ttyUSB0) so the pictures do not depend on the machine.
#include "mainwindow/startup.h"
#include "scripted_prompts.h"

#include <QApplication>
#include <QDir>
#include <QFile>
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
    StartResult started = start_windows({work.path(), ini.fileName()}, prompts);
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

    form.vLanguageChange(0);
    ok = save(form, out.filePath("main-window-chinese.png")) && ok;
    form.SettingBtnClick();
    ok = save(settings, out.filePath("settings-chinese.png")) && ok;
    settings.close();

    for (const QString& m : prompts.messages)
        std::fprintf(stderr, "message: %s\n", qPrintable(m));
    return ok && prompts.messages.isEmpty() ? 0 : 1;
}
