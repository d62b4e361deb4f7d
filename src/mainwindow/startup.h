// Program start: the windows in their order of creation. Every window lives until the program
// ends; they are shown and hidden, never rebuilt.
#pragma once

#include "form_main.h"
#include "road/window/form_road.h"
#include "settings/form_setting.h"
#include "ui/form_message.h"

#include <QString>

#include <memory>

namespace telvane {

class Prompts;

struct AppWindows {
    std::unique_ptr<TForm1> Form1;
    std::unique_ptr<TForm2> Form2;
    std::unique_ptr<road::TFormRoadCalculate> FormRoadCalculate;
    std::unique_ptr<TFormMessage> FormMessage;
};

struct StartResult {
    std::unique_ptr<AppWindows> windows; // nothing when the start failed
    QString error;                       // why, naming the file and where it was looked for
};

// The paths of a program started from `executablePath`: the language files beside it, or, when
// there are none, in ../share/telvane from its folder (an installed program); its INI file beside
// it when that place can be written and the program is not installed, else in `configDir`.
AppPaths paths_for_executable(const QString& executablePath, const QString& configDir);

// Creates the main window, the settings dialog, the road window and the
// confirmation dialog, in this order; only the main window is to be shown. A Language.cfg that
// cannot be used ends the start.
StartResult start_windows(const AppPaths& paths, Prompts& prompts);

} // namespace telvane
