#include "texts/language.h"

#include "tempdir.h"

#include <gtest/gtest.h>

using telvane::LanguageFileError;
using telvane::LanguageSources;
using telvane::TLanguage;
using telvane::testing::TempDir;

namespace {

// GBK bytes of the names and texts the Chinese column carries.
const std::string kZh = "\xd6\xd0\xce\xc4";     // 中文
const std::string kOpen = "\xb4\xf2\xbf\xaa";   // 打开
const std::string kSave = "\xb1\xa3\xb4\xe6";   // 保存
const std::string kHelpZh = "\xb0\xef\xd6\xfa"; // 帮助

TEST(Language, LoadsColumnsFromTheThreeFiles) {
    TempDir dir;
    dir.write("Language.cfg", "KEY\t" + kZh +
                                  "\tEnglish\r\n"
                                  "openbtn\t" +
                                  kOpen +
                                  "\tOpen\r\n"
                                  "   \r\n"
                                  "a comment line without tabs\r\n"
                                  "savebtn\t" +
                                  kSave +
                                  "\r\n"
                                  "  total\t\tTotal: \t\r\n"
                                  "extra\tx\ty\tz\r\n"
                                  "openbtn\tsecond\tsecond\r\n");
    dir.write("FileType.cfg", "[OPEN_FILTER]\r\nEnglish=All (*.*)|*.*\r\n[SAVE_CODE_FILTER]\r\n" +
                                  kZh + "=txt|*.txt\r\nenglish=Codes|*.txt\r\n");
    dir.write("HELP.txt", "dropped before the first header\n[" + kZh + "]\n" + kHelpZh +
                              "\n  indented line \n[English]\nHelp text.\n");
    TLanguage lang(dir.path());

    EXPECT_EQ(lang.LanguageNames(), (std::vector<std::string>{kZh, "English"}));
    EXPECT_EQ(lang.Keys(),
              (std::vector<std::string>{"openbtn", "savebtn", "total", "extra", "openbtn",
                                        "OPEN_FILTER", "SAVE_CODE_FILTER", "APP_HELP_TEXT"}));
    for (const auto& column : lang.TextColumns())
        EXPECT_EQ(column.size(), lang.Keys().size());
    EXPECT_EQ(lang.LanguageIndex(), 0);
    EXPECT_EQ(lang.GetText("OPENBTN"), kOpen); // first language until another is selected

    lang.SelectLanguage(1);
    EXPECT_EQ(lang.GetText("OPENBTN"), "Open"); // any case; the first definition wins
    EXPECT_EQ(lang.GetText("savebtn"), "");     // field missing: empty text
    EXPECT_EQ(lang.GetText("total"), "Total:"); // outer blanks and tabs trimmed with the line
    EXPECT_EQ(lang.GetText("extra"), "y");      // fields beyond the last language ignored
    EXPECT_EQ(lang.GetText("open_filter"), "All (*.*)|*.*");
    EXPECT_EQ(lang.GetText("SAVE_CODE_FILTER"), "Codes|*.txt");
    EXPECT_EQ(lang.GetText("APP_HELP_TEXT"), "Help text.\n");
    EXPECT_EQ(lang.GetText("no_such_key"), "");
    EXPECT_TRUE(lang.HelpLoaded());

    lang.SelectLanguage(0);
    EXPECT_EQ(lang.GetText("OPEN_FILTER"), ""); // no entry for this language
    EXPECT_EQ(lang.GetText("save_code_filter"), "txt|*.txt");
    EXPECT_EQ(lang.GetText("APP_HELP_TEXT"), kHelpZh + "\n  indented line \n");
    EXPECT_THROW(lang.SelectLanguage(2), std::out_of_range);
    EXPECT_THROW(lang.SelectLanguage(-1), std::out_of_range);
    EXPECT_EQ(lang.LanguageIndex(), 0);
}

TEST(Language, QuotedHeaderNamesAndBlankSeparators) {
    TempDir dir;
    dir.write("Language.cfg", "KEY  \"Simplified Chinese\"\t \tEnglish \"say \"\"hi\"\"\"\n"
                              "k\ta\tb\tc\n");
    TLanguage lang(dir.path());
    EXPECT_EQ(lang.LanguageNames(),
              (std::vector<std::string>{"Simplified Chinese", "English", "say \"hi\""}));
    lang.SelectLanguage(2);
    EXPECT_EQ(lang.GetText("k"), "c");
}

TEST(Language, HelpSectionsMustFollowTheHeaderOrder) {
    TempDir dir;
    dir.write("Language.cfg", "KEY\t" + kZh + "\tEnglish\n");
    dir.write("HELP.txt", "[English]\nEnglish help\n[" + kZh + "]\nChinese help\n");
    TLanguage lang(dir.path());
    EXPECT_EQ(lang.GetText("app_help_text"), "");
    lang.SelectLanguage(1);
    EXPECT_EQ(lang.GetText("app_help_text"), "");
    EXPECT_TRUE(lang.HelpLoaded());

    // Fewer sections than languages: the languages beyond them have no help.
    dir.write("HELP.txt", "  [" + kZh + "] trailing text is ignored\nhelp\n");
    TLanguage one(dir.path());
    EXPECT_EQ(one.GetText("APP_HELP_TEXT"), "help\n");
    one.SelectLanguage(1);
    EXPECT_EQ(one.GetText("APP_HELP_TEXT"), "");
}

TEST(Language, MissingOptionalFiles) {
    TempDir dir;
    dir.write("Language.cfg", "KEY\tEnglish\nopenbtn\tOpen\n");
    TLanguage lang(dir.path());
    EXPECT_FALSE(lang.HelpLoaded());
    EXPECT_EQ(lang.Keys(), (std::vector<std::string>{"openbtn"})); // no filters, no help key
    EXPECT_EQ(lang.GetText("APP_HELP_TEXT"), "");
}

// A program that carries the files inside itself loads their contents exactly as the files.
TEST(Language, ContentsLoadAsTheFilesDo) {
    TempDir dir;
    const std::string language = "KEY\t" + kZh + "\tEnglish\nopenbtn\tOpen-zh\tOpen\n";
    const std::string types = "[OPEN_FILTER]\r\nEnglish=All (*.*)|*.*\r\n";
    const std::string help = "[" + kZh + "]\nzh help\n[English]\nen help\n";
    dir.write("Language.cfg", language);
    dir.write("FileType.cfg", types);
    dir.write("HELP.txt", help);
    TLanguage from_files(dir.path());
    TLanguage from_contents(LanguageSources{language, types, help});
    EXPECT_EQ(from_contents.Keys(), from_files.Keys());
    EXPECT_EQ(from_contents.TextColumns(), from_files.TextColumns());
    EXPECT_TRUE(from_contents.HelpLoaded());

    TLanguage bare(LanguageSources{language, {}, {}});
    EXPECT_FALSE(bare.HelpLoaded());
    EXPECT_EQ(bare.Keys(), (std::vector<std::string>{"openbtn"}));
    EXPECT_THROW(TLanguage(LanguageSources{"KEY\n", {}, {}}), LanguageFileError);
}

TEST(Language, UnusableLanguageFileNamesTheFile) {
    TempDir dir;
    const auto expected = dir.path() / "Language.cfg";
    const char* contents[] = {nullptr, "", "KEY\n", "   \nk\tv\n"};
    for (const char* c : contents) {
        if (c)
            dir.write("Language.cfg", c);
        try {
            TLanguage lang(dir.path());
            ADD_FAILURE() << "loaded " << (c ? c : "(missing)");
        } catch (const LanguageFileError& e) {
            EXPECT_EQ(e.file(), expected);
            EXPECT_NE(std::string(e.what()).find(expected.string()), std::string::npos);
        }
    }
}

} // namespace

TEST(Language, PlacesOfATextAreFilledInOrder) {
    EXPECT_EQ(telvane::fill_args("line %1: %2 kept", {"6", "2"}), "line 6: 2 kept");
    EXPECT_EQ(telvane::fill_args("%2 before %1", {"a", "b"}), "b before a");
    EXPECT_EQ(telvane::fill_args("%1 and %3", {"a"}), "a and %3"); // a place without a value stays
    EXPECT_EQ(telvane::fill_args("%1", {"%2", "x"}), "%2");        // values are not searched again
    EXPECT_EQ(telvane::fill_args("100%", {"a"}), "100%");
    // "%s" takes the values in order (the road calculation's texts).
    EXPECT_EQ(telvane::fill_args("%s->%s, %s", {"A", "B"}), "A->B, %s");
    // GBK bytes around a place.
    EXPECT_EQ(telvane::fill_args("\xb5\xda%1\xd0\xd0", {"7"}), "\xb5\xda"
                                                               "7\xd0\xd0");
}
