// What telvane-cli says, in words: the texts of the program's own language file (built into the
// tool), each followed by its key in brackets so that a message can be looked up whatever the
// language: "day1.mea: The file does not exist [file_not_exist]".
#pragma once

#include "road/design/road_data.h"
#include "texts/language.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace telvane::cli {

class CliTexts {
public:
    // "en" (English, the default) or "zh" (Chinese); nothing for another code.
    static std::optional<CliTexts> for_language(std::string_view code);

    // The text of `key` in UTF-8; the key itself when the language file lacks it, so that a
    // message never comes out blank.
    std::string text(std::string_view key) const;

    // One line: "subject: text [key]", then " (detail)" when there is a detail, then "\n". A
    // text that leads in to its value (it ends in a colon) is followed by the detail itself:
    // "subject: text detail [key]".
    std::string message(std::string_view subject, std::string_view key,
                        std::string_view detail = {}) const;
    // The same with the text's places "%1", "%2", ... filled by `args`.
    std::string message(std::string_view subject, std::string_view key,
                        const std::vector<std::string>& args, std::string_view detail = {}) const;

    // A text the road calculation shows in the program's code page: the text of its key in this
    // language with the point names it quotes, "text [key]". A text the program does not
    // know is shown as it is, in UTF-8.
    std::string road_text(std::string_view gbk) const;
    // A message of the road window's data in words: a key's text with its values, and the key.
    std::string road_message(const road::RoadMessage& m) const;

private:
    explicit CliTexts(TLanguage language) : language_(std::move(language)) {}
    TLanguage language_;
};

} // namespace telvane::cli
