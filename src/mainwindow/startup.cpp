#include "startup.h"

#include "settings/ini_location.h"

#include <QDir>
#include <QFileInfo>

namespace telvane {

namespace {

QString installed_language_directory(const QString& executableDir) {
    return QDir::cleanPath(executableDir + QStringLiteral("/../share/telvane"));
}

} // namespace

AppPaths paths_for_executable(const QString& executablePath, const QString& configDir) {
    const QString beside = QFileInfo(executablePath).absolutePath();
    // Files beside the program win, so that a copy carried on a stick keeps its own texts; an
    // installed program finds them under share/ (bin/telvane, share/telvane/Language.cfg).
    const QString installed = installed_language_directory(beside);
    const bool useInstalled = !QFileInfo::exists(beside + QStringLiteral("/Language.cfg")) &&
                              QFileInfo::exists(installed + QStringLiteral("/Language.cfg"));
    if (!useInstalled)
        return {beside, resolve_ini_path(ini_path_beside(executablePath), configDir)};
    // An installed program keeps its settings in the user's configuration folder: the system's
    // bin folder is no place for them, even for a user who may write there.
    QDir().mkpath(configDir);
    return {installed,
            QDir(configDir).filePath(QFileInfo(ini_path_beside(executablePath)).fileName())};
}

StartResult start_windows(const AppPaths& paths, Prompts& prompts) {
    auto windows = std::make_unique<AppWindows>();
    try {
        windows->Form1 = std::make_unique<TForm1>(paths, prompts);
    } catch (const LanguageFileError& e) {
        const QString file =
            QDir::toNativeSeparators(QString::fromStdU16String(e.file().u16string()));
        const QString folder = QDir::toNativeSeparators(QFileInfo(file).absolutePath());
        const QString reason = QString::fromStdString(e.reason());
        return {nullptr,
                QStringLiteral("无法启动：语言文件 Language.cfg 不存在、无法读取或没有语言名称。\n"
                               "查找位置：%1\n\n"
                               "Telvane cannot start: the language file Language.cfg is missing, "
                               "unreadable or names no language (%2).\n"
                               "Looked for: %1\n"
                               "It belongs in the program's folder (%3) or, for an installed "
                               "program, in share/telvane beside its bin folder.")
                    .arg(file, reason, folder)};
    }
    windows->Form2 = std::make_unique<TForm2>(windows->Form1->texts(), paths.iniPath);
    windows->Form1->SetSettingsDialog(windows->Form2.get());
    const UiText& texts = windows->Form1->texts();
    windows->FormRoadCalculate = std::make_unique<road::TFormRoadCalculate>(texts, prompts);
    road::TFormRoadCalculate& roadWindow = *windows->FormRoadCalculate;
    roadWindow.SetIniPath(paths.iniPath);
    windows->Form1->SetRoadWindow(&roadWindow);
    windows->FormMessage = std::make_unique<TFormMessage>(windows->Form1->texts());
    return {std::move(windows), {}};
}

} // namespace telvane
