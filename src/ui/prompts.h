// The single seam for every message box, question and file dialog of the program.
//
// The windows never open a modal box themselves: they ask the Prompts object the application
// installed. The application's DialogPrompts shows real dialogs; tests install a scripted one
// that answers and records.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace telvane {

// A file the user chose, with the position (from 1) of the type-list entry that was selected.
struct FileChoice {
    QString fileName;
    int typeIndex = 1;
};

// One box or list of an entry dialog.
struct EntryBox {
    QString name; // the control's object name
    QString label;
    QStringList choices; // a list of these when not empty, else a box
    QString value;       // a box's text, or a list's chosen position
};

// Why what was typed is not taken: the box at fault and the message to show.
struct EntryRefused {
    int box = 0;
    QString message;
};

// An entry dialog: boxes and lists, answered with their values in the same order.
struct EntryRequest {
    QString name; // the dialog's object name
    QString title;
    std::vector<EntryBox> boxes;
    // Nothing when the values are taken; else the dialog says why and stays open on the box.
    std::function<std::optional<EntryRefused>(const QStringList& values)> check;
    // A list's choice changed: the other values may follow it.
    std::function<void(QStringList& values, int changed)> follow;
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
    // An entry dialog: the values it was submitted with; nothing when the user cancels.
    virtual std::optional<QStringList> enter(const EntryRequest& request) = 0;
    // File dialogs. `typeList` is "description|patterns|description|patterns..." (patterns
    // separated by ";"); an empty list offers every file. Nothing when the user cancels.
    virtual std::optional<FileChoice> openFile(const QString& typeList) = 0;
    virtual std::optional<FileChoice> saveFile(const QString& typeList,
                                               const QString& defaultExt) = 0;
};

} // namespace telvane
