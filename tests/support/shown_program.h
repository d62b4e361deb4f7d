// The window program as the road and picture tests start it: every window text but the type
// lists (a test writes its own FileType.cfg through `prepare`), one listed port, the seam
// scripted, the main window shown. The port list is the system's again when the program ends.
#pragma once

#include "mainwindow/startup.h"
#include "scripted_prompts.h"
#include "test_files.h"
#include "window_keys.h"

#include <QDir>

#include <functional>
#include <memory>

struct ShownProgram {
    TestFiles files;
    ScriptedPrompts prompts;
    std::unique_ptr<telvane::AppWindows> windows;

    explicit ShownProgram(const std::function<void(TestFiles&)>& prepare = {}) {
        QStringList keys = all_window_keys();
        keys.removeIf([](const QString& k) { return k.endsWith("_FILTER"); });
        files.write_language(keys);
        files.write_help(QStringLiteral("帮助"), QStringLiteral("Help"));
        if (prepare)
            prepare(files);
        telvane::TComPort::SetDeviceLister([] { return QStringList{"ttyS0"}; });
        telvane::StartResult r =
            telvane::start_windows({files.dir(), files.ini(), files.dir()}, prompts);
        if (!r.windows)
            qFatal("start failed: %s", qPrintable(r.error));
        windows = std::move(r.windows);
        windows->Form1->show();
    }
    ~ShownProgram() { telvane::TComPort::SetDeviceLister(nullptr); }
    ShownProgram(const ShownProgram&) = delete;
    ShownProgram& operator=(const ShownProgram&) = delete;

    QString path(const QString& name) const { return QDir(files.dir()).filePath(name); }
};
