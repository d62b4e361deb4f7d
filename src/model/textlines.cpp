#include "textlines.h"

#include <algorithm>

#include <cstring>

namespace telvane {

namespace {

template <typename Line> std::vector<Line> split_into(std::string_view bytes) {
    std::vector<Line> lines;
    // One line per ~32 bytes is a fair guess for survey text; it saves most regrowth.
    lines.reserve(bytes.size() / 32 + 1);
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    while (p < end) {
        const char* q = p;
        while (q < end && *q != '\n' && *q != '\r')
            ++q;
        lines.emplace_back(p, static_cast<std::size_t>(q - p));
        if (q < end) {
            if (*q == '\r' && q + 1 < end && q[1] == '\n')
                ++q;
            ++q;
        }
        p = q;
    }
    return lines;
}

} // namespace

Lines split_lines(std::string_view bytes) {
    return split_into<std::string>(bytes);
}

std::vector<std::string_view> split_line_views(std::string_view bytes) {
    return split_into<std::string_view>(bytes);
}

void append_field(std::string& out, std::string_view text) {
    for (char c : text)
        out += c == ',' ? ';' : c;
}

void append_row_field(std::string& out, std::string_view text) {
    const bool quoted = (!text.empty() && text.front() == '"') ||
                        std::any_of(text.begin(), text.end(), [](char c) { return is_blank(c); });
    if (!quoted) {
        append_field(out, text);
        return;
    }
    out += '"';
    for (char c : text) {
        if (c == '"')
            out += '"';
        out += c == ',' ? ';' : c;
    }
    out += '"';
}

std::vector<std::string_view> views_of(std::span<const std::string> lines) {
    return std::vector<std::string_view>(lines.begin(), lines.end());
}

std::string join_lines(std::span<const std::string> lines) {
    std::size_t total = 0;
    for (const auto& l : lines)
        total += l.size() + 2;
    std::string out;
    out.reserve(total);
    for (const auto& l : lines) {
        out += l;
        out += "\r\n";
    }
    return out;
}

void split_delimited_into(std::string_view text, char delimiter, std::vector<std::string>& fields) {
    // The strings already in `fields` are written over, so a reader calling this for every line
    // of a big file reuses their memory instead of allocating anew.
    std::size_t count = 0;
    auto next_field = [&]() -> std::string& {
        if (count == fields.size())
            fields.emplace_back();
        std::string& f = fields[count++];
        f.clear();
        return f;
    };
    std::size_t i = 0;
    const std::size_t n = text.size();
    auto skip_blanks = [&] {
        while (i < n && is_blank(text[i]))
            ++i;
    };
    skip_blanks();
    while (i < n) {
        std::string& field = next_field();
        if (text[i] == '"') {
            ++i;
            while (i < n) {
                if (text[i] == '"') {
                    if (i + 1 < n && text[i + 1] == '"') {
                        field += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += text[i++];
            }
        } else {
            const std::size_t start = i;
            while (i < n && !is_blank(text[i]) && text[i] != delimiter)
                ++i;
            field.assign(text.substr(start, i - start));
        }
        skip_blanks();
        if (i < n && text[i] == delimiter) {
            if (i + 1 == n)
                next_field();
            ++i;
            skip_blanks();
        }
    }
    fields.resize(count);
}

std::vector<std::string> split_delimited(std::string_view text, char delimiter) {
    std::vector<std::string> fields;
    split_delimited_into(text, delimiter, fields);
    return fields;
}

std::string fill_places(std::string_view text, const std::vector<std::string>& args) {
    std::string out;
    out.reserve(text.size());
    std::size_t next = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size()) {
            const char c = text[i + 1];
            if (c >= '1' && c <= '9' && static_cast<std::size_t>(c - '1') < args.size()) {
                out += args[static_cast<std::size_t>(c - '1')];
                ++i;
                continue;
            }
            if (c == 's' && next < args.size()) {
                out += args[next++];
                ++i;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

} // namespace telvane
