#include "texts/ini_file.h"

#include "tempdir.h"

#include <gtest/gtest.h>

using telvane::IniFile;
using telvane::testing::TempDir;

namespace {

// "中文" and "设置" in GBK: bytes a GBK file carries and UTF-8 readers choke on.
const std::string kChinese = "\xd6\xd0\xce\xc4";
const std::string kSetting = "\xc9\xe8\xd6\xc3";

TEST(IniFile, KeepsSectionsInFileOrderAndBytesUntouched) {
    const std::string text = "; filters\r\n[SAVE_JOB_FILTER]\r\n" + kChinese + "=" + kSetting +
                             " (*.csv)|*.csv\r\nEnglish=Rows (*.csv)|*.csv\r\n\r\n[OPEN_FILTER]\r\n"
                             "English=All (*.*)|*.*\r\n[Alpha]\r\nx=1";
    const IniFile ini = IniFile::from_bytes(text);
    EXPECT_EQ(ini.sections(),
              (std::vector<std::string>{"SAVE_JOB_FILTER", "OPEN_FILTER", "Alpha"}));
    EXPECT_EQ(ini.read_string("SAVE_JOB_FILTER", kChinese, ""), kSetting + " (*.csv)|*.csv");
    EXPECT_EQ(ini.read_string("open_filter", "ENGLISH", ""), "All (*.*)|*.*");
    EXPECT_EQ(ini.to_bytes(), text);
}

TEST(IniFile, LookupRules) {
    const IniFile ini = IniFile::from_bytes("[Form]\nLanguage = 7 \n;Port=3\nquoted=\" a b \"\n"
                                            "Language=9\n[form]\nPort=4\n[Empty]\n");
    EXPECT_EQ(ini.read_int("FORM", "language", -1), 7); // first entry, blanks removed
    EXPECT_EQ(ini.read_int("Form", "Port", -1), -1);    // a comment is no entry; the repeated
                                                        // section is not searched
    EXPECT_EQ(ini.read_string("Form", "quoted", ""), " a b ");
    EXPECT_FALSE(ini.value("Nowhere", "Port"));
    EXPECT_TRUE(ini.has_section("empty"));
    EXPECT_EQ(ini.sections().size(), 2u); // "[form]" repeats "[Form]"
}

TEST(IniFile, NumbersFallBackWhenUnreadable) {
    const IniFile ini =
        IniFile::from_bytes("[Setting]\nA=12\nB=1.5x\nC=\nD=0.95\nE=1e999\nF=nan\nG= -3 \nH=2.0\n");
    struct Case {
        const char* key;
        long long as_int;
        double as_double;
    };
    const Case cases[] = {{"A", 12, 12.0}, {"B", -1, -1.0}, {"C", -1, -1.0},
                          {"D", -1, 0.95}, {"E", -1, -1.0}, {"F", -1, -1.0},
                          {"G", -3, -3.0}, {"H", -1, 2.0},  {"missing", -1, -1.0}};
    for (const auto& c : cases) {
        EXPECT_EQ(ini.read_int("Setting", c.key, -1), c.as_int) << c.key;
        EXPECT_DOUBLE_EQ(ini.read_double("Setting", c.key, -1.0), c.as_double) << c.key;
    }
}

TEST(IniFile, WritingChangesOnlyTheEntryLine) {
    const std::string before =
        "[Form]\r\n; keep me\r\nlanguage = 0\r\nPort=2\r\n\r\n[Setting]\r\nAngleUnit=1\r\n";
    IniFile ini = IniFile::from_bytes(before);
    ini.write_int("FORM", "Language", 1);
    ini.write_int("Form", "Baudrate", 13); // new entry after the last one of its section
    ini.write_double("Setting", "GridScale", 0.95);
    ini.write_string("Road", "Last", kChinese); // new section at the end
    EXPECT_EQ(ini.to_bytes(), "[Form]\r\n; keep me\r\nlanguage=1\r\nPort=2\r\nBaudrate=13\r\n\r\n"
                              "[Setting]\r\nAngleUnit=1\r\nGridScale=0.95\r\n[Road]\r\nLast=" +
                                  kChinese + "\r\n");
}

TEST(IniFile, WritingIntoFilesWithoutFinalLineEnd) {
    IniFile ini = IniFile::from_bytes("[Form]\nPort=1");
    ini.write_int("Form", "Baudrate", 7);
    ini.write_int("Setting", "KOption", 2);
    EXPECT_EQ(ini.to_bytes(), "[Form]\nPort=1\nBaudrate=7\n[Setting]\nKOption=2\n");

    IniFile fresh;
    fresh.write_double("Setting", "GridScale", 1.0);
    fresh.write_double("Setting", "Odd", 0.1 + 0.2);
    EXPECT_EQ(fresh.to_bytes(), "[Setting]\nGridScale=1\nOdd=0.3\n");
}

TEST(IniFile, SaveAndLoadRoundTripThroughTheFileSystem) {
    TempDir dir;
    const auto path = dir.path() / "telvane.INI";
    EXPECT_TRUE(IniFile::load(path).sections().empty()); // missing file: all defaults

    IniFile ini = IniFile::from_bytes("[Form]\r\nLanguage=" + kChinese + "\r\n");
    ini.write_int("Form", "Port", -1);
    ASSERT_TRUE(ini.save(path));
    EXPECT_EQ(TempDir::read(dir.file("telvane.INI")),
              "[Form]\r\nLanguage=" + kChinese + "\r\nPort=-1\r\n");
    EXPECT_EQ(IniFile::load(path).read_int("Form", "Port", 0), -1);
    // Nothing but the file itself is left: the temporary copy was renamed over it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);

    // A folder that does not exist cannot take the file, and says so.
    EXPECT_FALSE(ini.save(dir.path() / "no-such-folder" / "telvane.INI"));
}

} // namespace
