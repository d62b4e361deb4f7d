// The application's Prompts: real modal dialogs.
#pragma once

#include "prompts.h"

#include <QPointer>
#include <QStringList>

#include <functional>
#include <string_view>

class QWidget;

namespace telvane {

class TFormMessage;

// "desc|*.a;*.b|desc2|*.c" -> {"desc (*.a *.b)", "desc2 (*.c)"}: the type list of the file
// dialogs in the form Qt's dialogs take. A pattern list already written after a description in
// parentheses is replaced, not repeated; a description without patterns is dropped.
QStringList name_filters_from_type_list(const QString& typeList);

class DialogPrompts : public Prompts {
public:
    // Questions need the confirmation dialog, which is created last at start.
    void setConfirmationDialog(TFormMessage* dialog) { confirmation_ = dialog; }
    // The window the dialogs are centred on.
    void setParentWindow(QWidget* window) { parent_ = window; }
    // The texts of the dialogs' captions, by key, in the language on show (the program's name
    // for its message boxes, "openbtn" and "savebtn" for the file dialogs).
    void setTexts(std::function<QString(std::string_view key)> text) { text_ = std::move(text); }
    // The folder the file dialogs start in (the last one used, kept by the program).
    void setDirectory(const QString& directory) { directory_ = directory; }
    const QString& directory() const { return directory_; }

    void message(const QString& text) override;
    void captioned(const QString& caption, const QString& text) override;
    int ask(const QString& title, const QString& text) override;
    bool yesNo(const QString& caption, const QString& text) override;
    std::optional<int> choose(const QString& title, const QString& text,
                              const QStringList& items) override;
    std::optional<QStringList> enter(const EntryRequest& request) override;
    std::optional<FileChoice> openFile(const QString& typeList) override;
    std::optional<FileChoice> saveFile(const QString& typeList, const QString& defaultExt) override;

private:
    // The window a dialog is shown over: the active one, else the main window.
    QWidget* owner() const;
    std::optional<FileChoice> runFileDialog(bool save, const QString& typeList,
                                            const QString& defaultExt);

    QPointer<TFormMessage> confirmation_;
    QPointer<QWidget> parent_;
    QString directory_; // of the last file chosen
    std::function<QString(std::string_view)> text_;
    QString caption(std::string_view key, const QString& fallback) const;
};

} // namespace telvane
