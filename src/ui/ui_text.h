// Texts by key for the windows: the language table's bytes decoded for the screen, and the
// shared shapes built on them (the title, messages, the confirmation questions).
#pragma once

#include "prompts.h"
#include "texts/language.h"

#include <QString>
#include <QStringList>

#include <string>
#include <string_view>
#include <vector>

namespace telvane {

inline constexpr const char* kVersionText = "v1.6";
// The application's own name (task bar, message boxes).
inline constexpr const char* kApplicationTitle = "TORVIK Telvane ";

class UiText {
public:
    UiText(const TLanguage& language, Prompts& prompts) : language_(language), prompts_(prompts) {}

    const TLanguage& language() const { return language_; }
    Prompts& prompts() const { return prompts_; }

    // The text of `key` in the selected language; "" for an unknown key.
    QString text(std::string_view key) const;
    // The text of `key` with its places "%1", "%2", ... filled by `args` (bytes in the code
    // page, as the core gives them).
    QString text(std::string_view key, const std::vector<std::string>& args) const;
    // The text of `key` as a file-dialog type list (an unknown key gives an empty list).
    QString filter(std::string_view key) const { return text(key); }
    // The main window's caption: the text of app_title, a blank and the version.
    QString title() const;

    // Shows the text of `key` in the message box.
    void message(std::string_view key) const;
    // Asks with the texts of `<base>_title` (caption) and `<base>_desc` (question): 1 or 2.
    int question(std::string_view base) const;

    int if_change_record_mode() const { return question("if_change_record_mode"); }
    int if_job_to_coord() const { return question("if_job_to_coord"); }
    int if_clear_mainpile() const { return question("if_clear_mainpile"); }
    int if_clear_intersection() const { return question("if_clear_intersection"); }
    int if_clear_allroad() const { return question("if_clear_allroad"); }
    int if_delete_data() const { return question("if_delete_data"); }
    // Saving to `file_name`: yes when no file is there, or the user confirmed replacing it (the
    // one overwrite question of every save of the program).
    bool may_write(const QString& file_name) const;

    // The four entries of the settings dialog's unit lists.
    QStringList angle_units() const;
    QStringList distance_units() const;

private:
    const TLanguage& language_;
    Prompts& prompts_;
};

} // namespace telvane
