#include "language.h"
#include "model/ascii.h"

#include "ini_file.h"
#include "model/filebytes.h"
#include "model/textlines.h"

namespace telvane {

namespace {

bool is_blank_or_tab(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trim_blanks_and_tabs(std::string_view s) {
    while (!s.empty() && is_blank_or_tab(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && is_blank_or_tab(s.back()))
        s.remove_suffix(1);
    return s;
}

// The header's fields: separated by runs of tabs and blanks; a field that starts with a double
// quote runs to its closing quote (two quotes stand for one) and may hold blanks.
std::vector<std::string> split_header(std::string_view line) {
    std::vector<std::string> fields;
    std::size_t i = 0;
    while (true) {
        while (i < line.size() && is_blank_or_tab(line[i]))
            ++i;
        if (i >= line.size())
            break;
        std::string field;
        if (line[i] == '"') {
            ++i;
            while (i < line.size()) {
                if (line[i] == '"') {
                    if (i + 1 < line.size() && line[i + 1] == '"') {
                        field += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += line[i++];
            }
        } else {
            while (i < line.size() && !is_blank_or_tab(line[i]))
                field += line[i++];
        }
        fields.push_back(std::move(field));
    }
    return fields;
}

std::vector<std::string_view> split_at_tabs(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (true) {
        const auto tab = line.find('\t', start);
        if (tab == std::string_view::npos) {
            fields.push_back(line.substr(start));
            return fields;
        }
        fields.push_back(line.substr(start, tab - start));
        start = tab + 1;
    }
}

} // namespace

std::string fill_args(std::string_view text, const std::vector<std::string>& args) {
    return fill_places(text, args);
}

LanguageFileError::LanguageFileError(std::filesystem::path file, std::string reason)
    : std::runtime_error(file.string() + ": " + reason), file_(std::move(file)),
      reason_(std::move(reason)) {}

TLanguage::TLanguage(const std::filesystem::path& directory) {
    const auto language = read_file_bytes((directory / kLanguageFile).string());
    const auto file_types = read_file_bytes((directory / kFileTypeFile).string());
    const auto help = read_file_bytes((directory / kHelpFile).string());
    load(directory / kLanguageFile, language ? &*language : nullptr,
         file_types ? &*file_types : nullptr, help ? &*help : nullptr);
}

TLanguage::TLanguage(const LanguageSources& sources) {
    load(std::filesystem::path(kLanguageFile), &sources.language,
         sources.file_types ? &*sources.file_types : nullptr,
         sources.help ? &*sources.help : nullptr);
}

void TLanguage::load(const std::filesystem::path& language_file, const std::string* language,
                     const std::string* file_types, const std::string* help) {
    if (!language)
        throw LanguageFileError(language_file, "the file is missing or cannot be read");
    load_language_file(language_file, *language);
    if (file_types)
        load_file_types(*file_types);
    help_loaded_ = help != nullptr;
    if (help)
        load_help(*help);
    language_index_ = 0;
}

void TLanguage::SelectLanguage(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= language_names_.size())
        throw std::out_of_range("language index out of range");
    language_index_ = index;
}

const std::string& TLanguage::GetText(std::string_view key) const {
    static const std::string empty;
    const auto it = first_index_.find(ascii_lower(key));
    if (it == first_index_.end())
        return empty;
    return text_columns_[language_index_][it->second];
}

void TLanguage::add_key(std::string key, std::vector<std::string> texts) {
    texts.resize(language_names_.size());
    for (std::size_t k = 0; k < texts.size(); ++k)
        text_columns_[k].push_back(std::move(texts[k]));
    first_index_.try_emplace(ascii_lower(key), keys_.size());
    keys_.push_back(std::move(key));
}

void TLanguage::load_language_file(const std::filesystem::path& file, std::string_view bytes) {
    const Lines lines = split_lines(bytes);
    if (lines.empty())
        throw LanguageFileError(file, "the file is empty");
    auto header = split_header(lines.front());
    if (header.size() < 2)
        throw LanguageFileError(file, "the first line names no language");
    language_names_.assign(header.begin() + 1, header.end());
    text_columns_.resize(language_names_.size());

    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string_view line = trim_blanks_and_tabs(lines[i]);
        if (line.find('\t') == std::string_view::npos)
            continue; // blank lines and comments
        const auto fields = split_at_tabs(line);
        std::vector<std::string> texts;
        for (std::size_t k = 1; k < fields.size() && k <= language_names_.size(); ++k)
            texts.emplace_back(fields[k]);
        add_key(std::string(fields.front()), std::move(texts));
    }
}

void TLanguage::load_file_types(std::string_view bytes) {
    const IniFile ini = IniFile::from_bytes(bytes);
    for (auto& section : ini.sections()) {
        std::vector<std::string> texts;
        for (const auto& name : language_names_)
            texts.push_back(ini.read_string(section, name, ""));
        add_key(std::move(section), std::move(texts));
    }
}

void TLanguage::load_help(std::string_view bytes) {
    std::vector<std::string> names;
    std::vector<std::string> bodies;
    for (const auto& line : split_lines(bytes)) {
        const std::string_view t = trim(line);
        if (!t.empty() && t.front() == '[') {
            const auto close = t.find(']', 1);
            if (close != std::string_view::npos) {
                names.emplace_back(t.substr(1, close - 1));
                bodies.emplace_back();
                continue;
            }
        }
        if (!bodies.empty()) {
            bodies.back() += line;
            bodies.back() += '\n';
        }
    }
    std::vector<std::string> texts(language_names_.size());
    for (std::size_t k = 0; k < texts.size() && k < names.size(); ++k)
        if (names[k] == language_names_[k])
            texts[k] = std::move(bodies[k]);
    add_key(std::string(kHelpKey), std::move(texts));
}

} // namespace telvane
