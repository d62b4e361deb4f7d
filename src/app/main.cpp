// The window program: start the windows, show the main window, run until it closes.
#include "fileio/datastate.h"
#include "mainwindow/startup.h"
#include "ui/dialog_prompts.h"
#include "ui/guard.h"
#include "ui/ui_text.h"

#include <QDir>
#include <QStandardPaths>
#include <QTimer>

#include <cstring>
#include <iostream>

namespace {

const char* const kHelp =
    R"(Usage: telvane [OPTIONS] [FILE]

Telvane works with a surveying total station: it receives measurement jobs, point lists
and code lists from the instrument over a serial line and sends points, codes and road
stake-out tables back; it opens, shows, edits and saves survey data in the instrument's
text and binary formats, as comma-separated rows, DXF and GTS-7; and it calculates road
stake-out tables from an alignment, a vertical profile and a list of stake chainages.

FILE is opened at start as the Open command opens it (a job, points, codes, a drawing or a
road table; text or the instrument's binary files).

Options:
  --help      show this text and quit
  --version   show the version and quit
  --check     start, say where the language files were found (and what FILE held), and
              quit at once: shows that the program and its files are installed properly.
              Messages are printed instead of shown in a box; the exit status is 1 when
              FILE could not be opened
The toolkit's own options (such as -platform offscreen) are accepted as well.

The conversions and the road calculation also run without a screen: see telvane-cli --help.
)";

// What the command line asks for before any window exists: these answers need no screen.
struct CommandLine {
    bool help = false;
    bool version = false;
    bool check = false; // start the windows, then quit as soon as the event loop runs
};

// For --check nobody is there to answer a box: messages go to standard output and nothing waits.
// The check saves nothing, so the questions of closing are confirmed and the program quits.
class PrintedPrompts : public telvane::Prompts {
public:
    void message(const QString& text) override { std::cout << text.toStdString() << std::endl; }
    void captioned(const QString& caption, const QString& text) override {
        std::cout << caption.toStdString() << ": " << text.toStdString() << std::endl;
    }
    int ask(const QString& title, const QString& text) override {
        std::cout << title.toStdString() << ": " << text.toStdString() << std::endl;
        return 1;
    }
    bool yesNo(const QString& caption, const QString& text) override {
        std::cout << caption.toStdString() << ": " << text.toStdString() << std::endl;
        return false;
    }
    std::optional<int> choose(const QString&, const QString&, const QStringList&) override {
        return std::nullopt;
    }
    std::optional<QStringList> enter(const telvane::EntryRequest&) override { return std::nullopt; }
    std::optional<telvane::FileChoice> openFile(const QString&) override { return std::nullopt; }
    std::optional<telvane::FileChoice> saveFile(const QString&, const QString&) override {
        return std::nullopt;
    }
};

CommandLine read_command_line(int argc, char* argv[]) {
    CommandLine line;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0)
            line.help = true;
        else if (std::strcmp(argv[i], "--version") == 0)
            line.version = true;
        else if (std::strcmp(argv[i], "--check") == 0)
            line.check = true;
    }
    return line;
}

} // namespace

int main(int argc, char* argv[]) {
    const CommandLine line = read_command_line(argc, argv);
    if (line.help) {
        std::cout << kHelp;
        return 0;
    }
    if (line.version) {
        std::cout << "telvane " TELVANE_VERSION "\n";
        return 0;
    }

    telvane::GuardedApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("TORVIK"));
    QCoreApplication::setApplicationName(QStringLiteral("telvane"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TELVANE_VERSION));

    telvane::DialogPrompts dialogs;
    PrintedPrompts printed;
    telvane::Prompts& prompts = line.check ? static_cast<telvane::Prompts&>(printed) : dialogs;
    app.setPrompts(&prompts);

    const auto paths = telvane::paths_for_executable(
        QCoreApplication::applicationFilePath(),
        QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
    telvane::StartResult started = telvane::start_windows(paths, prompts);
    if (!started.windows) {
        std::cerr << started.error.toStdString() << std::endl;
        // Without a screen (the offscreen platform) nobody could answer the box.
        if (!line.check && QGuiApplication::platformName() != QLatin1String("offscreen"))
            prompts.message(started.error);
        return 1;
    }
    auto& windows = *started.windows;
    dialogs.setParentWindow(windows.Form1.get());
    dialogs.setConfirmationDialog(windows.FormMessage.get());
    QObject::connect(windows.Form1.get(), &telvane::TForm1::Closed, &app, &QCoreApplication::quit);
    app.setQuitOnLastWindowClosed(false);

    windows.Form1->show();
    // A file named on the command line (the desktop's "Open with") opens as Open would open it.
    QString file;
    for (const QString& argument : QCoreApplication::arguments().mid(1))
        if (!argument.startsWith(QLatin1Char('-')) && file.isEmpty())
            file = argument;
    bool opened = true;
    if (!file.isEmpty())
        opened = telvane::guarded(prompts,
                                  [&] {
                                      opened = windows.Form1->OpenFile(
                                          QDir::current().absoluteFilePath(file));
                                  }) &&
                 opened;
    if (line.check) {
        std::cout << "telvane " TELVANE_VERSION ": language files in "
                  << QDir::toNativeSeparators(paths.directory).toStdString() << std::endl;
        if (!file.isEmpty())
            std::cout << file.toStdString() << ": kind "
                      << telvane::data_kind_number(windows.Form1->data()) << ", "
                      << windows.Form1->StatusPanel(1).toStdString() << std::endl;
        // Closing goes the usual way (the INI file is written), once the window has been shown.
        QTimer::singleShot(0, windows.Form1.get(), [&windows] { windows.Form1->close(); });
        const int status = app.exec();
        return status != 0 || !opened ? 1 : 0;
    }
    return app.exec();
}
