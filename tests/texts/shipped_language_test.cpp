// The language files that ship with the program (their UTF-8 sources; the build writes them in
// GBK): every key in both languages, the help in both, file filters that offer every extension.
#include "texts/language.h"
#include "window_keys.h"

#include "fileio/savedata.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using telvane::TLanguage;

namespace {

// Keys beyond those the windows ask for (telvane::testing::kWindowKeys).
const std::vector<std::string> kOtherKeys = {
    "APP_HELP_TEXT",
};

// The fourth, empty entries of the unit lists.
bool is_empty_entry(std::string_view key) {
    return key == "ANGLE_UNIT_NULL" || key == "DIST_UNIT_NULL";
}

std::vector<std::string> all_keys() {
    std::vector<std::string> keys(std::begin(telvane::testing::kWindowKeys),
                                  std::end(telvane::testing::kWindowKeys));
    keys.insert(keys.end(), kOtherKeys.begin(), kOtherKeys.end());
    return keys;
}

// Texts that are directly followed by a number or another key's text.
const std::vector<std::string> kJoinedBefore = {
    "total",         "sent_point_count", "receive_point_count", "hint_settingbtn", "ClothoidLength",
    "TangentLength", "strgrid_Start",    "strgrid_End",         "Slope_i",         "MiddlePile",
    "LeftPile",      "RightPile"};

std::vector<std::string> split(const std::string& s, char c) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const auto at = s.find(c, start);
        parts.push_back(s.substr(start, at - start));
        if (at == std::string::npos)
            return parts;
        start = at + 1;
    }
}

// The pattern lists of a type list, one per entry.
std::vector<std::string> patterns(const std::string& type_list) {
    const auto parts = split(type_list, '|');
    EXPECT_EQ(parts.size() % 2, 0u) << type_list;
    std::vector<std::string> out;
    for (std::size_t i = 1; i < parts.size(); i += 2)
        out.push_back(parts[i]);
    return out;
}

class ShippedLanguage : public ::testing::TestWithParam<int> {
protected:
    TLanguage lang{TELVANE_SHIPPED_LANG_DIR};
    void SetUp() override { lang.SelectLanguage(GetParam()); }
};

TEST(ShippedLanguageFiles, NameChineseAndEnglish) {
    TLanguage lang(TELVANE_SHIPPED_LANG_DIR);
    EXPECT_EQ(lang.LanguageNames(),
              (std::vector<std::string>{"\xe4\xb8\xad\xe6\x96\x87", "English"}));
    EXPECT_TRUE(lang.HelpLoaded());
}

TEST_P(ShippedLanguage, EveryKeyHasItsText) {
    for (const auto& key : all_keys()) {
        EXPECT_NE(std::find(lang.Keys().begin(), lang.Keys().end(), key), lang.Keys().end()) << key;
        if (!is_empty_entry(key)) {
            EXPECT_FALSE(lang.GetText(key).empty()) << key;
        }
    }
    // The fourth, empty entries of the unit lists exist and stay empty.
    for (const char* key : {"ANGLE_UNIT_NULL", "DIST_UNIT_NULL"}) {
        EXPECT_NE(std::find(lang.Keys().begin(), lang.Keys().end(), key), lang.Keys().end()) << key;
        EXPECT_EQ(lang.GetText(key), "") << key;
    }
    // Each key is defined once, so no definition is shadowed by an earlier one.
    std::vector<std::string> sorted = lang.Keys();
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end());
}

// Chinese needs no blank between the parts.
TEST(ShippedLanguageFiles, EnglishTextsKeepTheBlankBeforeWhatFollows) {
    TLanguage lang(TELVANE_SHIPPED_LANG_DIR);
    lang.SelectLanguage(1);
    for (const auto& key : kJoinedBefore)
        EXPECT_EQ(lang.GetText(key).back(), ' ') << key;
    EXPECT_EQ(lang.GetText("outlimit").front(), ' ');
}

// The window caption is the title text, a blank and the version: "TORVIK Telvane   v1.6".
TEST_P(ShippedLanguage, TitleNamesTheProgram) {
    EXPECT_EQ(lang.GetText("app_title") + " v1.6", "TORVIK Telvane   v1.6");
}

TEST_P(ShippedLanguage, FiltersOfferTheExtensionsOfEveryFormat) {
    const auto open = lang.GetText("OPEN_FILTER");
    for (const char* ext :
         {"*.mea", "*.job", "*.dat", "*.jbf", "*.coo", "*.pts", "*.cor", "*.ptf", "*.qwf", "*.csv",
          "*.txt", "*.PHI", "*.SEC", "*.PVI", "*.dxf", "*.gt7", "*.xml"})
        EXPECT_NE(open.find(ext), std::string::npos) << ext;
    EXPECT_EQ(patterns(open).front(), "*"); // all files first

    // The position of a save entry chooses the writer: the dialog offers the types of the one
    // save-type table, in its order, each with its extension.
    for (const auto& [key, kind] : {std::pair{"SAVE_JOB_FILTER", telvane::DataKind::Records},
                                    std::pair{"SAVE_COORD_FILTER", telvane::DataKind::Points},
                                    std::pair{"SAVE_CODE_FILTER", telvane::DataKind::Codes}}) {
        std::vector<std::string> expected;
        for (const telvane::SaveType& t : telvane::save_types())
            if (t.kind == kind)
                expected.push_back("*" + std::string(t.extension));
        EXPECT_EQ(patterns(lang.GetText(key)), expected) << key;
    }
    EXPECT_EQ(patterns(lang.GetText("OPEN_PHI_FILTER")).front().substr(0, 5), "*.PHI");
    EXPECT_EQ(patterns(lang.GetText("OPEN_SEC_FILTER")).front().substr(0, 5), "*.SEC");
    EXPECT_EQ(patterns(lang.GetText("OPEN_PVI_FILTER")).front().substr(0, 5), "*.PVI");
    EXPECT_EQ(patterns(lang.GetText("OPEN_PILE_FILTER")), (std::vector<std::string>{"*.csv"}));
    EXPECT_EQ(patterns(lang.GetText("LANDXML_FILTER")).front().substr(0, 5), "*.xml");
}

TEST_P(ShippedLanguage, HelpExplainsTheCommands) {
    const auto& help = lang.GetText("APP_HELP_TEXT");
    EXPECT_GT(help.size(), 1000u);
    // The help names the buttons by their captions.
    for (const char* key :
         {"receivebtn", "sendbtn", "stopbtn", "settingbtn", "openbtn", "savebtn", "road_calculate"})
        EXPECT_NE(help.find(lang.GetText(key)), std::string::npos) << key;
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, ShippedLanguage, ::testing::Values(0, 1));

} // namespace
