#include "codelist.h"

namespace telvane {

namespace {

bool read_bare_codes(std::span<const std::string_view> lines, std::vector<code_item>& codes) {
    for (std::string_view line : lines)
        if (trim_right(line).find_first_of(".,: ") != std::string_view::npos)
            return false;
    codes.reserve(lines.size());
    for (std::string_view line : lines)
        codes.push_back({NameField(line)});
    return true;
}

bool read_code_table(std::span<const std::string_view> lines, std::vector<code_item>& codes) {
    for (std::string_view line : lines)
        if (split_delimited(line, ':').size() != 10)
            return false;
    codes.reserve(lines.size());
    for (std::string_view line : lines)
        codes.push_back({NameField(line.substr(0, line.find(':')))});
    return true;
}

} // namespace

bool read_code_list(std::span<const std::string> lines, std::vector<code_item>& codes) {
    return read_code_list(views_of(lines), codes);
}

bool read_code_list(std::span<const std::string_view> lines, std::vector<code_item>& codes) {
    if (lines.empty())
        return false;
    std::vector<code_item> read;
    if (!read_bare_codes(lines, read) && !read_code_table(lines, read))
        return false;
    codes = std::move(read);
    return true;
}

Lines write_code_list(std::span<const code_item> codes) {
    Lines lines;
    lines.reserve(codes.size());
    for (const code_item& c : codes)
        lines.emplace_back(c.code.view());
    return lines;
}

} // namespace telvane
