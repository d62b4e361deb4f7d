#include "ini_file.h"
#include "model/ascii.h"

#include "model/filebytes.h"
#include "model/numtext.h"
#include "model/textlines.h"

namespace telvane {

namespace {

// "[name]" with the name between the bracket and the first "]", blanks around it removed.
std::optional<std::string_view> section_name(std::string_view line) {
    std::string_view t = trim(line);
    if (t.empty() || t.front() != '[')
        return std::nullopt;
    const auto close = t.find(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return trim(t.substr(1, close - 1));
}

bool is_comment(std::string_view line) {
    std::string_view t = trim(line);
    return !t.empty() && t.front() == ';';
}

// The name of an entry line "name=value", or nothing for a line without "=".
std::optional<std::string_view> entry_name(std::string_view line) {
    if (is_comment(line))
        return std::nullopt;
    const auto eq = line.find('=');
    if (eq == std::string_view::npos)
        return std::nullopt;
    return trim(line.substr(0, eq));
}

std::string_view entry_value(std::string_view line) {
    std::string_view v = trim(line.substr(line.find('=') + 1));
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"')
        v = v.substr(1, v.size() - 2);
    return v;
}

} // namespace

bool equal_ignoring_ascii_case(std::string_view a, std::string_view b) {
    return ascii_iequal(a, b);
}

IniFile IniFile::from_bytes(std::string_view bytes) {
    IniFile ini;
    std::size_t p = 0;
    while (p < bytes.size()) {
        std::size_t q = p;
        while (q < bytes.size() && bytes[q] != '\n' && bytes[q] != '\r')
            ++q;
        Line line{std::string(bytes.substr(p, q - p)), {}};
        if (q < bytes.size()) {
            const std::size_t len =
                (bytes[q] == '\r' && q + 1 < bytes.size() && bytes[q + 1] == '\n') ? 2 : 1;
            line.eol = std::string(bytes.substr(q, len));
            q += len;
        }
        ini.lines_.push_back(std::move(line));
        p = q;
    }
    return ini;
}

IniFile IniFile::load(const std::filesystem::path& path) {
    const auto bytes = read_file_bytes(path.string());
    return bytes ? from_bytes(*bytes) : IniFile{};
}

bool IniFile::save(const std::filesystem::path& path) const {
    return write_file_atomic(path.string(), to_bytes());
}

std::string IniFile::to_bytes() const {
    std::string out;
    for (const auto& line : lines_) {
        out += line.text;
        out += line.eol;
    }
    return out;
}

std::vector<std::string> IniFile::sections() const {
    std::vector<std::string> names;
    for (const auto& line : lines_) {
        const auto name = section_name(line.text);
        if (!name)
            continue;
        bool seen = false;
        for (const auto& n : names)
            seen = seen || equal_ignoring_ascii_case(n, *name);
        if (!seen)
            names.emplace_back(*name);
    }
    return names;
}

bool IniFile::has_section(std::string_view section) const {
    return find_section(section).has_value();
}

std::optional<IniFile::Span> IniFile::find_section(std::string_view section) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const auto name = section_name(lines_[i].text);
        if (!name || !equal_ignoring_ascii_case(*name, section))
            continue;
        std::size_t end = i + 1;
        while (end < lines_.size() && !section_name(lines_[end].text))
            ++end;
        return Span{i, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> IniFile::find_key(const Span& span, std::string_view key) const {
    for (std::size_t i = span.header + 1; i < span.end; ++i) {
        const auto name = entry_name(lines_[i].text);
        if (name && equal_ignoring_ascii_case(*name, key))
            return i;
    }
    return std::nullopt;
}

std::optional<std::string> IniFile::value(std::string_view section, std::string_view key) const {
    const auto span = find_section(section);
    if (!span)
        return std::nullopt;
    const auto at = find_key(*span, key);
    if (!at)
        return std::nullopt;
    return std::string(entry_value(lines_[*at].text));
}

std::string IniFile::read_string(std::string_view section, std::string_view key,
                                 std::string_view fallback) const {
    auto v = value(section, key);
    return v ? std::move(*v) : std::string(fallback);
}

long long IniFile::read_int(std::string_view section, std::string_view key,
                            long long fallback) const {
    const auto v = value(section, key);
    if (!v)
        return fallback;
    try {
        return parse_int(*v);
    } catch (const ConversionError&) {
        return fallback;
    }
}

double IniFile::read_double(std::string_view section, std::string_view key, double fallback) const {
    const auto v = value(section, key);
    double out = 0;
    return (v && try_parse_double(*v, out)) ? out : fallback;
}

std::string IniFile::new_line_end() const {
    for (const auto& line : lines_)
        if (!line.eol.empty())
            return line.eol;
    return "\n";
}

void IniFile::write_string(std::string_view section, std::string_view key, std::string_view value) {
    const auto span = find_section(section);
    const std::string eol = new_line_end();
    if (!span) {
        if (!lines_.empty() && lines_.back().eol.empty())
            lines_.back().eol = eol;
        // Appended piece by piece: GCC 12 at -O3 warns (-Wrestrict) on `"[" + std::string(...)`.
        std::string header;
        header.append("[").append(section).append("]");
        lines_.push_back({std::move(header), eol});
        std::string entry;
        entry.append(key).append("=").append(value);
        lines_.push_back({std::move(entry), eol});
        return;
    }
    if (const auto at = find_key(*span, key)) {
        // Keep the entry's own spelling of its name.
        std::string name(*entry_name(lines_[*at].text));
        lines_[*at].text = name + "=" + std::string(value);
        return;
    }
    // A new entry goes after the section's last non-blank line.
    std::size_t insert_at = span->end;
    while (insert_at > span->header + 1 && trim(lines_[insert_at - 1].text).empty())
        --insert_at;
    if (lines_[insert_at - 1].eol.empty())
        lines_[insert_at - 1].eol = eol;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insert_at),
                  Line{std::string(key) + "=" + std::string(value), eol});
}

void IniFile::write_int(std::string_view section, std::string_view key, long long value) {
    write_string(section, key, format_int(value));
}

void IniFile::write_double(std::string_view section, std::string_view key, double value) {
    write_string(section, key, format_general(value));
}

} // namespace telvane
