#include "texts.h"

#include "model/textlines.h"

#include "encoding.h"
#include "road/design/road_data.h"
#include "road/design/road_texts.h"
#include "road/engine/intersection_point_calculate.h"

#include <array>
#include <utility>
#include <vector>

namespace telvane::embedded {
extern const std::string_view kLanguageCfg; // src/app/lang/Language.cfg, UTF-8
}

namespace telvane::cli {

namespace {} // namespace

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

std::string CliTexts::road_message(const road::RoadMessage& m) const {
    if (!m.IsKey)
        return gbk_to_utf8(m.Text);
    std::vector<std::string> args;
    for (const std::string& a : m.Args)
        args.push_back(gbk_to_utf8(a));
    return fill_places(text(m.Text), args) + " [" + m.Text + "]";
}

std::string CliTexts::road_text(std::string_view gbk) const {
    return road_message(road::MessageOfText(std::string(gbk)));
}

} // namespace telvane::cli
