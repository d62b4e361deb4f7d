#include "texts.h"

#include "model/textlines.h"

#include "encoding.h"
#include "road/design/road_texts.h"
#include "road/engine/intersection_point_calculate.h"

#include <array>
#include <utility>
#include <vector>

namespace telvane::embedded {
extern const std::string_view kLanguageCfg; // src/app/lang/Language.cfg, UTF-8
}

namespace telvane::cli {

namespace {

// The texts the road calculation carries itself, with the keys the language file gives them.
constexpr std::array<std::pair<const char*, const char*>, 3> kRoadTexts = {{
    {road::roadtexts::TooFewElements, "road_too_few_elements"},
    {road::roadtexts::PlaneRefused, "road_plane_refused"},
    {road::roadtexts::ProfileRefused, "road_profile_refused"},
}};

// Matches `text` against `pattern`, where each "%s" stands for any text; the texts they stood
// for go to `fields`.
bool match_pattern(std::string_view pattern, std::string_view text,
                   std::vector<std::string_view>& fields) {
    fields.clear();
    std::vector<std::string_view> pieces;
    for (std::size_t start = 0;;) {
        const auto at = pattern.find("%s", start);
        pieces.push_back(pattern.substr(start, at - start));
        if (at == std::string_view::npos)
            break;
        start = at + 2;
    }
    if (text.substr(0, pieces.front().size()) != pieces.front())
        return false;
    std::size_t pos = pieces.front().size();
    for (std::size_t i = 1; i < pieces.size(); ++i) {
        std::size_t at = 0;
        if (i + 1 == pieces.size()) { // the last piece ends the text
            if (text.size() < pos + pieces[i].size() || !text.ends_with(pieces[i]))
                return false;
            at = text.size() - pieces[i].size();
        } else { // the others come at their first place
            at = text.find(pieces[i], pos);
            if (at == std::string_view::npos)
                return false;
        }
        fields.push_back(text.substr(pos, at - pos));
        pos = at + pieces[i].size();
    }
    return pos == text.size();
}

} // namespace

std::optional<CliTexts> CliTexts::for_language(std::string_view code) {
    // The language file's columns: Chinese first, English second.
    int column = -1;
    if (code == "zh")
        column = 0;
    else if (code == "en")
        column = 1;
    if (column < 0)
        return std::nullopt;
    TLanguage language(LanguageSources{std::string(embedded::kLanguageCfg), {}, {}});
    language.SelectLanguage(column);
    return CliTexts(std::move(language));
}

std::string CliTexts::text(std::string_view key) const {
    const std::string& t = language_.GetText(key);
    return t.empty() ? std::string(key) : t;
}

std::string CliTexts::message(std::string_view subject, std::string_view key,
                              std::string_view detail) const {
    return message(subject, key, {}, detail);
}

std::string CliTexts::message(std::string_view subject, std::string_view key,
                              const std::vector<std::string>& args, std::string_view detail) const {
    std::string line;
    if (!subject.empty())
        line.append(subject).append(": ");
    std::string said = fill_args(text(key), args);
    // A text written to be followed by its value ("…left out: ") takes the detail in place.
    while (said.ends_with(' '))
        said.pop_back();
    const bool leads_in = said.ends_with(':') || said.ends_with("\xEF\xBC\x9A"); // ':' or '：'
    if (!detail.empty() && leads_in) {
        line.append(said).append(said.ends_with(':') ? " " : "").append(detail);
        return line.append(" [").append(key).append("]\n");
    }
    line.append(said).append(" [").append(key).append("]");
    if (!detail.empty())
        line.append(" (").append(detail).append(")");
    return line + "\n";
}

std::string CliTexts::road_text(std::string_view gbk) const {
    std::vector<std::string_view> fields;
    for (const auto& [pattern, key] : kRoadTexts) {
        if (!match_pattern(pattern, gbk, fields))
            continue;
        std::vector<std::string> names;
        for (std::string_view f : fields)
            names.push_back(gbk_to_utf8(f));
        return fill_places(text(key), names) + " [" + key + "]";
    }
    return gbk_to_utf8(gbk);
}

} // namespace telvane::cli
