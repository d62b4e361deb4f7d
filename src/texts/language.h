// The language table: every text the user sees, looked up by key in the selected language.
//
// Three files beside the executable hold one column of texts per language:
//   Language.cfg  a header line with the language names, then "key<TAB>text1<TAB>text2..." lines;
//   FileType.cfg  an INI file whose sections are the file-dialog filter keys, with one entry per
//                 language name;
//   HELP.txt      one "[language name]" section of help text per language, in header order.
// Texts are kept as the files' bytes (GBK for Chinese); only the windows decode them.
#pragma once

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace telvane {

inline constexpr std::string_view kLanguageFile = "Language.cfg";
inline constexpr std::string_view kFileTypeFile = "FileType.cfg";
inline constexpr std::string_view kHelpFile = "HELP.txt";
inline constexpr std::string_view kHelpKey = "APP_HELP_TEXT";

// A text with its places "%1" to "%9" filled by `args` in order (bytes in, bytes out; a place
// without a value stays as it is, and a value is never searched for places again).
std::string fill_args(std::string_view text, const std::vector<std::string>& args);

// Language.cfg is missing, unreadable or names no language: no text can be shown.
class LanguageFileError : public std::runtime_error {
public:
    LanguageFileError(std::filesystem::path file, std::string reason);
    const std::filesystem::path& file() const { return file_; }
    const std::string& reason() const { return reason_; }

private:
    std::filesystem::path file_;
    std::string reason_;
};

// The contents of the three files, for a program that carries its texts inside itself.
struct LanguageSources {
    std::string language;                  // Language.cfg
    std::optional<std::string> file_types; // FileType.cfg, when there is one
    std::optional<std::string> help;       // HELP.txt, when there is one
};

class TLanguage {
public:
    // Loads the three files from `directory`; afterwards the first language is selected.
    // Throws LanguageFileError when Language.cfg cannot be used.
    explicit TLanguage(const std::filesystem::path& directory);
    // The same from the files' contents; LanguageFileError names "Language.cfg" alone.
    explicit TLanguage(const LanguageSources& sources);

    // `index` must lie in [0, number of languages); throws std::out_of_range otherwise.
    void SelectLanguage(int index);

    // The text of `key` (compared without regard to ASCII case) in the selected language; the
    // empty string for an unknown key. A key defined twice answers with its first definition.
    const std::string& GetText(std::string_view key) const;

    int LanguageIndex() const { return language_index_; }
    const std::vector<std::string>& LanguageNames() const { return language_names_; }
    const std::vector<std::string>& Keys() const { return keys_; }
    const std::vector<std::string>& CurrentTexts() const { return text_columns_[language_index_]; }
    const std::vector<std::vector<std::string>>& TextColumns() const { return text_columns_; }

    // False when HELP.txt could not be read; the help key is then undefined and the owner
    // shows the text of `no_helptext`.
    bool HelpLoaded() const { return help_loaded_; }

private:
    void load(const std::filesystem::path& language_file, const std::string* language,
              const std::string* file_types, const std::string* help);
    void load_language_file(const std::filesystem::path& file, std::string_view bytes);
    void load_file_types(std::string_view bytes);
    void load_help(std::string_view bytes);
    void add_key(std::string key, std::vector<std::string> texts);

    int language_index_ = 0;
    std::vector<std::string> language_names_;
    std::vector<std::vector<std::string>> text_columns_;
    std::vector<std::string> keys_;
    std::unordered_map<std::string, std::size_t> first_index_; // lower-case key -> position
    bool help_loaded_ = false;
};

} // namespace telvane
