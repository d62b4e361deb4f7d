// The window program with an instrument on a pseudo-terminal: every window text, the one port
// listed being the instrument's, captures in a folder of their own, the main window shown. The
// seam is `P`: the scripted one, or the program's real dialogs. The port list is the system's
// again when the program ends.
#pragma once

#include "mainwindow/startup.h"
#include "pseudo_terminal.h"
#include "test_files.h"

#include <QDir>
#include <QTemporaryDir>

#include <memory>

template <typename P> struct InstrumentProgram {
    Pty pty;
    TestFiles files;
    QTemporaryDir captures;
    P prompts;
    std::unique_ptr<telvane::AppWindows> windows;

    InstrumentProgram() {
        files.write_language(all_window_keys());
        files.write_help(QStringLiteral("帮助"), QStringLiteral("Help"));
        files.write_ini("[Form]\nPort=0\n");
        const QString device = pty.name();
        telvane::TComPort::SetDeviceLister([device] { return QStringList{device}; });
        telvane::StartResult r =
            telvane::start_windows({files.dir(), files.ini(), captures.path()}, prompts);
        if (!r.windows)
            qFatal("start failed: %s", qPrintable(r.error));
        windows = std::move(r.windows);
    }
    ~InstrumentProgram() { telvane::TComPort::SetDeviceLister(nullptr); }
    InstrumentProgram(const InstrumentProgram&) = delete;
    InstrumentProgram& operator=(const InstrumentProgram&) = delete;

    telvane::TForm1& form() { return *windows->Form1; }
    QString path(const QString& name) const { return QDir(files.dir()).filePath(name); }
};
