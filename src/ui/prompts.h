// The single seam for every message box, question and file dialog of the program.
//
// The windows never open a modal box themselves: they ask the Prompts object the application
// installed. The application's DialogPrompts shows real dialogs; tests install a scripted one
// that answers and records.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace telvane {

// A file the user chose, with the position (from 1) of the type-list entry that was selected.
struct FileChoice {
    QString fileName;
    int typeIndex = 1;
};

class Prompts {
public:
    virtual ~Prompts() = default;

    // The plain message box with one OK button.
    virtual void message(const QString& text) = 0;
    // A message box under a caption of its own ("Error"); by default the plain box.
    virtual void captioned(const QString& caption, const QString& text) {
        (void)caption;
        message(text);
    }
    // The confirmation dialog: 1 confirm, 2 cancel.
    virtual int ask(const QString& title, const QString& text) = 0;
    // A Yes/No message box: true for Yes.
    virtual bool yesNo(const QString& caption, const QString& text) = 0;
    // A choice among `items` (their position from 0); nothing when the user cancels.
    virtual std::optional<int> choose(const QString& title, const QString& text,
                                      const QStringList& items) = 0;
    // File dialogs. `typeList` is "description|patterns|description|patterns..." (patterns
    // separated by ";"); an empty list offers every file. Nothing when the user cancels.
    virtual std::optional<FileChoice> openFile(const QString& typeList) = 0;
    virtual std::optional<FileChoice> saveFile(const QString& typeList,
                                               const QString& defaultExt) = 0;
};

} // namespace telvane
