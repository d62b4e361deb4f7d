// The window program: start the windows, show the main window, run until it closes.
#include "mainwindow/startup.h"
#include "ui/dialog_prompts.h"
#include "ui/guard.h"
#include "ui/ui_text.h"

#include <QStandardPaths>

#include <iostream>

int main(int argc, char* argv[]) {
    telvane::GuardedApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("TORVIK"));
    QCoreApplication::setApplicationName(QStringLiteral("telvane"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.6"));

    telvane::DialogPrompts prompts;
    app.setPrompts(&prompts);

    const auto paths = telvane::paths_for_executable(
        QCoreApplication::applicationFilePath(),
        QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
    telvane::StartResult started = telvane::start_windows(paths, prompts);
    if (!started.windows) {
        std::cerr << started.error.toStdString() << std::endl;
        // Without a screen (the offscreen platform) nobody could answer the box.
        if (QGuiApplication::platformName() != QLatin1String("offscreen"))
            prompts.message(started.error);
        return 1;
    }
    auto& windows = *started.windows;
    prompts.setParentWindow(windows.Form1.get());
    prompts.setConfirmationDialog(windows.FormMessage.get());
    QObject::connect(windows.Form1.get(), &telvane::TForm1::Closed, &app, &QCoreApplication::quit);
    app.setQuitOnLastWindowClosed(false);

    windows.Form1->show();
    return app.exec();
}
