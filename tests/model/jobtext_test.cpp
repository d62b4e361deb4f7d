#include "model/jobtext.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace telvane;

namespace {

Lines L(std::initializer_list<const char*> lines) {
    return Lines(lines.begin(), lines.end());
}

// One record of every kind and variant, with values exact at the job text's precision
// (four decimals, whole arc-seconds).
std::vector<record_item> every_kind() {
    std::vector<record_item> r(9);
    r[0].data = sta_data{"S1", "C1", 1.5, 100.25, 200.5, 10.125};
    bs_data bs0;
    bs0.name = "B0";
    bs0.target_height = 1.6;
    bs0.ha = 12.5;
    bs0.va = 90;
    bs0.sd = 50.1234;
    r[1].data = bs0;
    bs_data bs1 = bs0;
    bs1.name = "B1";
    bs1.has_bss = 1;
    bs1.bss_north = 1000.5;
    bs1.bss_east = 2000.25;
    bs1.bss_elev = 30.75;
    r[2].data = bs1;
    r[3].data = bkb_data{"B2", 0, 45.5};
    r[4].data = sa_data{"A1", "", 1.2, 300.25, 87.5};
    r[5].data = sd_data{"D1", "WALL", 1.3, 1.0 / 3600, 91.0, 12.345};
    sc_data sc0;
    sc0.name = "C0";
    sc0.code = "TREE";
    sc0.target_height = 1.4;
    sc0.north = -5.5;
    sc0.east = 6.25;
    sc0.elev = 7.0;
    r[6].data = sc0;
    sc_data sc1 = sc0;
    sc1.name = "C1";
    sc1.has_obs = 1;
    sc1.ha = 359.5;
    sc1.va = 95.25;
    sc1.sd = 99.9999;
    r[7].data = sc1;
    r[8].data = note_data{"a note; with semicolons"};
    return r;
}

void expect_same(const record_item& a, const record_item& b) {
    ASSERT_EQ(a.type(), b.type());
    // Formatting is exact at the text's precision, so equal texts mean equal records.
    EXPECT_EQ(format_record(a), format_record(b));
}

} // namespace

TEST(JobText, EveryKindSurvivesWriteAndLoadWithPairing) {
    Job job;
    job.JobName = "ROAD 1";
    job.InstName = "TS-02";
    job.RecordList = every_kind();
    const Lines text = write_job_text(job);

    Job loaded;
    ASSERT_EQ(load_job_text(text, loaded), kLoadOk);
    EXPECT_EQ(loaded.JobName, "ROAD 1");
    EXPECT_EQ(loaded.InstName, "TS-02");
    ASSERT_EQ(loaded.RecordList.size(), job.RecordList.size());
    for (std::size_t i = 0; i < job.RecordList.size(); ++i)
        expect_same(loaded.RecordList[i], job.RecordList[i]);
    const auto& bs1 = loaded.RecordList[2].as<bs_data>();
    EXPECT_EQ(bs1.has_bss, 1);
    EXPECT_DOUBLE_EQ(bs1.bss_north, 1000.5);
    EXPECT_DOUBLE_EQ(bs1.bss_east, 2000.25);
    EXPECT_DOUBLE_EQ(loaded.RecordList[5].as<sd_data>().ha, 1.0 / 3600);

    // Written again, the text is byte-identical.
    EXPECT_EQ(write_job_text(loaded), text);
}

TEST(JobText, WrittenLinesOfEveryKind) {
    Job job;
    job.JobName = "J";
    job.InstName = "I";
    job.RecordList = every_kind();
    const Lines expected = {
        "JOB     J",
        "INST    I",
        "STA     S1,1.5000,C1",
        "XYZ     100.2500,200.5000,10.1250",
        "BS      B0,1.6000",
        "HVD     45000,324000,50.1234",
        "BS      B1,1.6000",
        "HVD     45000,324000,50.1234",
        "SC      B1,1.6000,BSS",
        "ENZ     2000.2500,1000.5000,30.7500",
        "BKB     B2,0,163800",
        "SA      A1,1.2000,",
        "HV      1080900,315000",
        "SD      D1,1.3000,WALL",
        "HVD     1,327600,12.3450",
        "SC      C0,1.4000,TREE",
        "ENZ     6.2500,-5.5000,7.0000",
        "SC      C1,1.4000,TREE",
        "HVD     1294200,342900,99.9999",
        "ENZ     6.2500,-5.5000,7.0000",
        "NOTE    a note; with semicolons",
    };
    EXPECT_EQ(write_job_text(job), expected);
}

TEST(JobText, BacksightWithPointReadsAsTwoRecordsBeforePairing) {
    const Lines text = L({"BS      B1,1.6000", "HVD     0,324000,50.0000", "SC      B1,1.6000,BSS",
                          "ENZ     1.0000,2.0000,3.0000"});
    std::vector<std::string> records;
    ASSERT_EQ(group_lines(text, records), 0);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0], "BS      B1,1.6000|HVD     0,324000,50.0000");
    record_item bs, sc;
    ASSERT_EQ(parse_record(records[0], bs), 0);
    ASSERT_EQ(parse_record(records[1], sc), 0);
    EXPECT_EQ(bs.as<bs_data>().has_bss, 0);
    EXPECT_EQ(sc.as<sc_data>().code, "BSS");
    EXPECT_DOUBLE_EQ(sc.as<sc_data>().east, 1.0);
    EXPECT_DOUBLE_EQ(sc.as<sc_data>().north, 2.0);
}

TEST(Grouping, ResultCodesAndSkippedLines) {
    struct Case {
        Lines lines;
        int result;
        std::size_t records;
    };
    const Case cases[] = {
        {{}, -1, 0},
        {L({"UNITS   M,D"}), -2, 0},
        {L({"XYZ     1,2,3", "STA     S,1,C"}), -3, 0},
        {L({"NOTE    x", "HV      1,2"}), -3, 0}, // a stand-alone line closes the record
        {L({"0", "", "   ", " 0 ", "\t", "STA     S,1,C", "0", "XYZ     1,2,3"}), 0, 1},
        {L({"STA S,1,C"}), -2, 0}, // fields must start in column 9
        {L({"JOB     J", "INST    I", "STA     S,1,C", "XYZ     1,2,3", "SA      A,1,C",
            "HV      1,2", "BKB     B,1,2"}),
         0, 5},
        {L({"STA     S,1,C", "XYZ     1,2,3", "HVD     1,2,3"}), 0, 1}, // counted later, by parse
    };
    for (const Case& c : cases) {
        std::vector<std::string> records{"untouched"};
        EXPECT_EQ(group_lines(c.lines, records), c.result);
        if (c.result == 0)
            EXPECT_EQ(records.size(), c.records);
        else
            EXPECT_EQ(records.size(), 1u);
    }
}

TEST(ParseRecord, ResultCodes) {
    struct Case {
        const char* record;
        int result;
    };
    const Case cases[] = {
        {"STA     S,1.5,C|XYZ     1,2,3", 0},
        {"SC      P,1,C|HVD     1,2,3|ENZ     4,5,6", 0},
        {"SC      P,1,C|HV      1,2,3|ENZ     4,5,6", -1}, // fifth token not HVD
        {"SC      P,1,C|HVD     1,2,3|XYZ     4,5,6", -1}, // coordinates not ENZ/NEZ
        {"SC      P,1,C|XYZ     4,5,6", -1},
        {"STA     S,1.5,C|HVD     1,2,3", -1},
        {"STA     S,1.5,C|XYZ     1,2", -2},
        {"STA     S,1.5,C|XYZ     1,2,3,", -2}, // trailing comma: an empty token
        {"BS      B,1|HVD     1,2,3|ENZ     1,2,3", -2},
        {"BKB     B,1", -2},
        {"SA      A,1,C|HV      1,2", 0},
        {"SA      A,1,C|HVD     1,2", -1},
        {"SD      D,1,C|HVD     1,2,3", 0},
        {"SD      D,1,C|HV      1,2", -2},
        {"STA     S,1.5,C|XYZ", -3},       // a line of 8 characters or fewer
        {"STA     S,1.5,C|XYZ      ", -2}, // 9 chars: keyword and one token
        {"XYZ     1,2,3", -4},
        {"JOB     name", -4},
        {"STA     S,x,C|XYZ     1,2,3", -5},
        {"STA     S,1,C|XYZ     1,,3", -5}, // an empty value
        {"SC      P,1,C|NEZ     1,2,nan", -5},
    };
    for (const Case& c : cases) {
        record_item r;
        testing::internal::CaptureStdout();
        EXPECT_EQ(parse_record(std::string_view(c.record), r), c.result) << c.record;
        const std::string printed = testing::internal::GetCapturedStdout();
        if (c.result == -5)
            EXPECT_EQ(printed.rfind("Excption: ", 0), 0u) << printed;
        else
            EXPECT_EQ(printed, "");
    }
}

TEST(ParseRecord, FieldsOrderAndNames) {
    record_item r;
    ASSERT_EQ(parse_record(std::string_view("STA     ,1.5,|XYZ     100,200,10"), r), 0);
    const auto& sta = r.as<sta_data>();
    EXPECT_EQ(sta.name, "NONAME");
    EXPECT_TRUE(sta.code.empty());
    EXPECT_EQ(sta.east, 100);
    EXPECT_EQ(sta.north, 200);
    EXPECT_EQ(sta.elev, 10);

    ASSERT_EQ(parse_record(std::string_view("SC      P, 1 ,C|NEZ     1,2,3"), r), 0);
    EXPECT_EQ(r.as<sc_data>().north, 1);
    EXPECT_EQ(r.as<sc_data>().east, 2);
    EXPECT_EQ(r.as<sc_data>().target_height, 1);

    ASSERT_EQ(parse_record(std::string_view("SA      ABCDEFGHIJKLMNOPQR,1,CODE_LONGER_THAN_15|"
                                            "HV      324000,1.8"),
                           r),
              0);
    EXPECT_EQ(r.as<sa_data>().name, "ABCDEFGHIJKLMNO");
    EXPECT_EQ(r.as<sa_data>().code, "CODE_LONGER_THA");
    EXPECT_DOUBLE_EQ(r.as<sa_data>().ha, 90.0);
    EXPECT_DOUBLE_EQ(r.as<sa_data>().va, 0.0005);
}

TEST(ParseRecord, Notes) {
    struct Case {
        std::string line;
        std::string text;
    };
    const Case cases[] = {
        {"NOTE    a,b,,c", "a;b;;c"},
        {"NOTE    100%s %d done", "100%s %d done"},
        {"NOTE      padded  ", "padded"},
        {"NOTE", ""},
        {"NOTE    a|b", "a|b"},
        {"NOTE    " + std::string(300, 'x'), std::string(255, 'x')},
        // 127 Chinese characters are 254 bytes; the 128th would straddle the 255 limit.
        {"NOTE    " +
             [] {
                 std::string s;
                 for (int i = 0; i < 130; ++i)
                     s += "\xD6\xD0";
                 return s;
             }(),
         [] {
             std::string s;
             for (int i = 0; i < 127; ++i)
                 s += "\xD6\xD0";
             return s;
         }()},
    };
    for (const Case& c : cases) {
        record_item r;
        ASSERT_EQ(parse_record(std::string_view(c.line), r), 0) << c.line;
        EXPECT_EQ(r.as<note_data>().text, c.text);
    }
}

TEST(Pairing, OnlyNamedNeighboursOfTheRightKind) {
    struct Case {
        Lines text;
        std::vector<int> kinds;
        int merged_flag; // has_obs / has_bss of the first record after pairing
    };
    const Case cases[] = {
        {L({"SC      P1,1,C", "ENZ     1,2,3", "SD      P1,1,C", "HVD     1,2,3"}), {6}, 1},
        {L({"SC      ,1,C", "ENZ     1,2,3", "SD      ,1,C", "HVD     1,2,3"}), {6, 5}, 0},
        {L({"SC      NONAME,1,C", "ENZ     1,2,3", "SD      NONAME,1,C", "HVD     1,2,3"}),
         {6, 5},
         0},
        {L({"SC      P1,1,C", "ENZ     1,2,3", "SD      P2,1,C", "HVD     1,2,3"}), {6, 5}, 0},
        {L({"BS      B,1", "HVD     1,2,3", "SC      B,1,BSS", "ENZ     1,2,3"}), {2}, 1},
        {L({"BS      B,1", "HVD     1,2,3", "SC      B,1,TREE", "ENZ     1,2,3"}), {2, 6}, 0},
        {L({"BS      ,1", "HVD     1,2,3", "SC      ,1,BSS", "ENZ     1,2,3"}), {2, 6}, 0},
        // An SC that already has its observation is not paired again.
        {L({"SC      P1,1,C", "HVD     1,2,3", "ENZ     1,2,3", "SD      P1,1,C", "HVD     1,2,3"}),
         {6, 5},
         1},
    };
    for (const Case& c : cases) {
        Job job;
        ASSERT_EQ(load_job_text(c.text, job), kLoadOk);
        std::vector<int> kinds;
        for (const auto& r : job.RecordList)
            kinds.push_back(r.type());
        EXPECT_EQ(kinds, c.kinds) << c.text[0];
        const auto& first = job.RecordList.front();
        const int flag =
            first.type() == kKindSC ? first.as<sc_data>().has_obs : first.as<bs_data>().has_bss;
        EXPECT_EQ(flag, c.merged_flag) << c.text[0];
    }
}

TEST(Pairing, MergedValues) {
    Job job;
    ASSERT_EQ(load_job_text(L({"SC      P1,1,C", "ENZ     1,2,3", "SD      P1,1,C",
                               "HVD     3600,7200,5.5", "SC      P2,1,C", "ENZ     4,5,6"}),
                            job),
              kLoadOk);
    ASSERT_EQ(job.RecordList.size(), 2u);
    const auto& sc = job.RecordList[0].as<sc_data>();
    EXPECT_DOUBLE_EQ(sc.ha, 1.0);
    EXPECT_DOUBLE_EQ(sc.va, 2.0);
    EXPECT_DOUBLE_EQ(sc.sd, 5.5);
    EXPECT_EQ(job.RecordList[1].as<sc_data>().name, "P2");
}

TEST(LoadJobText, MessagesAndTheHeldJobOnFailure) {
    struct Case {
        Lines text;
        std::string_view message;
    };
    const Case cases[] = {
        {L({"JOB     J"}), kLoadTooShort},
        {{}, kLoadTooShort},
        {L({"JOB     J", "INST    I", "UNITS   M"}), kLoadGroupFailed},
        {L({"JOB     J", "INST    I", "STA     S,x,C", "XYZ     1,2,3"}), kLoadRecordFailed},
        // A record that fails before an unknown keyword: grouping is judged first.
        {L({"JOB     J", "INST    I", "STA     S,x,C", "XYZ     1,2,3", "UNITS   M"}),
         kLoadGroupFailed},
        {L({"JOB     J", "STA     S,1,C", "XYZ     1,2,3"}), kLoadRecordFailed}, // no INST
        {L({"JOB     J", "INST    I", "JOB     K"}), kLoadRecordFailed},
        {L({"JOB     J", "INST    I", "INST    K"}), kLoadRecordFailed},
        {L({"0", "JOB     J"}), kLoadRecordFailed}, // one logical record, not a record kind
    };
    for (const Case& c : cases) {
        Job held;
        held.JobName = "HELD";
        held.RecordList.resize(3);
        EXPECT_EQ(load_job_text(c.text, held), c.message);
        EXPECT_EQ(held.JobName, "HELD");
        EXPECT_EQ(held.RecordList.size(), 3u);
    }
}

TEST(LoadJobText, NamesAndTheirFallbacks) {
    Job job;
    ASSERT_EQ(load_job_text(L({"STA     S,1,C", "XYZ     1,2,3"}), job), kLoadOk);
    EXPECT_EQ(job.JobName, "NONAME");
    EXPECT_EQ(job.InstName, "UNKNOW");
    EXPECT_EQ(job.RecordList.size(), 1u);

    ASSERT_EQ(load_job_text(L({"JOB      spaced ", "INST    TS"}), job), kLoadOk);
    EXPECT_EQ(job.JobName, " spaced "); // untrimmed
    EXPECT_EQ(job.InstName, "TS");
    EXPECT_TRUE(job.RecordList.empty());

    ASSERT_EQ(load_job_text(L({"0", "0"}), job), kLoadOk);
    EXPECT_EQ(job.JobName, "NONAME");
}

TEST(LoadJobText, WhatLoadsWritesATextThatLoadsToTheSameText) {
    using namespace std::string_literals;
    // Field texts that a cut or a NUL would leave with blanks at their end: the stored field
    // drops them, so the written text reads back to itself (found by fuzzing).
    const std::string long_note = "NOTE    " + std::string(250, 'x') + "      tail";
    // Negative angles keep their value too (they used to move up a second per save).
    const Lines text = {"JOB     J",
                        "INST    I",
                        "STA     AB             CD,1.5,\x7F\xFF  \x01\0X"s,
                        "XYZ     1,2,3",
                        "BS      B,0",
                        "HVD     -4848888880,-1,3",
                        long_note,
                        "SC      P\0Q  ,1,  C  "s,
                        "ENZ     1,2,3"};
    Job job;
    ASSERT_EQ(load_job_text(text, job), kLoadOk);
    EXPECT_EQ(job.RecordList[0].as<sta_data>().name, "AB");
    EXPECT_EQ(job.RecordList[0].as<sta_data>().code, "\x7F\xFF");
    EXPECT_EQ(job.RecordList[2].as<note_data>().text, std::string(250, 'x'));
    EXPECT_EQ(job.RecordList[3].as<sc_data>().name, "P");
    EXPECT_EQ(job.RecordList[3].as<sc_data>().code, "C");
    const Lines written = write_job_text(job);
    EXPECT_EQ(written[5], "HVD     -4848888880,-1,3.0000");
    Job again;
    ASSERT_EQ(load_job_text(written, again), kLoadOk);
    EXPECT_EQ(write_job_text(again), written);
}

TEST(LoadJobText, SeparatorInsideAFieldIsKeptIntact) {
    // The "|" that joins a record's lines in memory is never taken from a field's own text.
    const Lines text = L({"JOB     J", "INST    I", "STA     A|B,1.5000,C|D",
                          "XYZ     1.0000,2.0000,3.0000", "NOTE    x|y"});
    Job job;
    ASSERT_EQ(load_job_text(text, job), kLoadOk);
    EXPECT_EQ(job.RecordList[0].as<sta_data>().name, "A|B");
    EXPECT_EQ(write_job_text(job), text);
}

TEST(RecordText, FirstMeaningfulLineDecides) {
    struct Case {
        Lines lines;
        bool job;
    };
    const Case cases[] = {
        {L({"JOB     J1"}), true},
        {L({"STA     S,1,C"}), true},
        {L({"JOB,1,2,3,4"}), false}, // keyword "JOB,1,2" holds a comma
        {L({"P1,C,1,2,3"}), false},
        {L({"A,B,C,D,E,F,G,H"}), false},
        {L({"JOB"}), false}, // 8 characters or fewer
        {L({"  JOB    "}), false},
        {L({"ABCDEFGHI"}), true}, // no comma in the keyword: the load decides
        {{}, false},
        {L({"", "0", "  ", "JOB     J1"}), true}, // blank and "0" lines are passed over
        {L({"", "P1,C,1,2,3"}), false},
        {L({"0", ""}), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(is_record_text(c.lines), c.job) << (c.lines.empty() ? "" : c.lines.back());
}

TEST(TextLines, SplitAtEveryLineEnd) {
    EXPECT_EQ(split_lines("a\r\nb\nc\rd"), L({"a", "b", "c", "d"}));
    EXPECT_EQ(split_lines("a\r\n"), L({"a"}));
    EXPECT_EQ(split_lines("a\r\n\r\nb"), L({"a", "", "b"}));
    EXPECT_EQ(split_lines("\n\n"), L({"", ""}));
    EXPECT_EQ(split_lines(""), L({}));
    EXPECT_EQ(join_lines(L({"a", "b"})), "a\r\nb\r\n");
}

TEST(SplitDelimited, CommasQuotesAndBlanks) {
    using V = std::vector<std::string>;
    struct Case {
        const char* text;
        V fields;
    };
    const Case cases[] = {
        {"a,b,c", {"a", "b", "c"}},
        {"  a , b ,c", {"a", "b", "c"}},
        {"a,,c", {"a", "", "c"}},
        {"a,b,", {"a", "b", ""}},
        {",", {"", ""}},
        {"", {}},
        {"   ", {}},
        {"\"x, y\",z", {"x, y", "z"}},
        {"\"say \"\"hi\"\"\",z", {"say \"hi\"", "z"}},
        {"a b,c", {"a", "b", "c"}}, // a blank ends a field
        {"\xD6\xD0\xD0\xC4,1", {"\xD6\xD0\xD0\xC4", "1"}},
        {"\"open", {"open"}},
    };
    // The same whether the fields are fresh or reused from the line before, in either order.
    V reused{"left", "over", "from", "a", "longer", "line"};
    for (const Case& c : cases) {
        EXPECT_EQ(split_delimited(c.text, ','), c.fields) << c.text;
        split_delimited_into(c.text, ',', reused);
        EXPECT_EQ(reused, c.fields) << c.text;
    }
    EXPECT_EQ(split_delimited("T:1:0", ':'), (V{"T", "1", "0"}));
}

namespace {
std::string diagnostics_seen;
void record_diagnostic(std::string_view line) {
    diagnostics_seen += std::string(line) + "\n";
}
} // namespace

// The command-line tool moves the parser's report off standard output, where it would mix
// with the data the tool prints.
TEST(ParseRecord, UnreadableValueIsReportedToTheSinkInstalled) {
    diagnostics_seen.clear();
    const DiagnosticSink before = set_diagnostic_sink(&record_diagnostic);
    record_item r;
    testing::internal::CaptureStdout();
    EXPECT_EQ(parse_record(std::string_view("STA     S,x,C|XYZ     1,2,3"), r), -5);
    EXPECT_EQ(parse_record(std::string_view("STA     S,1,C|XYZ     1,2,3"), r), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(set_diagnostic_sink(before), &record_diagnostic);
    EXPECT_EQ(diagnostics_seen.rfind("Excption: ", 0), 0u);
    EXPECT_EQ(std::count(diagnostics_seen.begin(), diagnostics_seen.end(), '\n'), 1);
}

// A job that breaks off inside its last record (a receive stopped or timed out, a capture or a
// file cut short) keeps every complete record before the break; damage followed by more
// records is still a failure.
TEST(LoadJobText, AJobCutShortKeepsItsCompleteRecords) {
    const std::vector<std::string> whole = {
        "JOB     DAY1",  "INST    TS",       "STA     S1,1.5000,CP",
        "XYZ     1,2,3", "SC      P1,1.3,C", "HVD     3600,324000,50.0000",
        "ENZ     1,2,3", "SC      P2,1.3,C", "HVD     3600,324000,51.0000",
        "ENZ     4,5,6"};
    struct Case {
        const char* name;
        std::vector<std::string> tail; // replaces the last record (lines 8-10)
        std::string_view result;
        std::size_t line, kept;
    };
    const Case cases[] = {
        {"whole",
         {"SC      P2,1.3,C", "HVD     3600,324000,51.0000", "ENZ     4,5,6"},
         kLoadOk,
         0,
         3},
        {"a record without its second line", {"SC      P2,1.3,C"}, kLoadOk, 8, 2},
        {"a line cut inside its fields", {"SC      P2,1.3,C", "HVD     3600,32"}, kLoadOk, 8, 2},
        {"a fragment of a keyword", {"SC      P2,1.3,C", "HV"}, kLoadOk, 8, 2},
        {"a fragment after a whole record", {"S"}, kLoadOk, 8, 2},
        {"a record line cut short", {"SC      P2,1."}, kLoadOk, 8, 2},
        {"blank lines after the break", {"SC      P2,1.3,C", "HVD     36", "", "0"}, kLoadOk, 8, 2},
        {"damage followed by more records",
         {"SC      P2,1.3,C", "HVD     x,324000,51.0000", "ENZ     4,5,6", "SC      P3,1,C",
          "HVD     1,2,3", "ENZ     4,5,6"},
         kLoadRecordFailed,
         0,
         0},
        {"an unknown line in the middle",
         {"QQQ     1,2", "SC      P3,1,C", "HVD     1,2,3", "ENZ     4,5,6"},
         kLoadGroupFailed,
         0,
         0},
    };
    for (const Case& c : cases) {
        std::vector<std::string> lines(whole.begin(), whole.begin() + 7);
        lines.insert(lines.end(), c.tail.begin(), c.tail.end());
        Job job;
        job.JobName = "HELD";
        std::optional<JobCut> cut;
        EXPECT_EQ(load_job_text_to_break(lines, job, cut), c.result) << c.name;
        if (c.result != kLoadOk) {
            EXPECT_FALSE(cut) << c.name;
            EXPECT_EQ(job.JobName, "HELD") << c.name; // a failure leaves the job as it was
            continue;
        }
        EXPECT_EQ(job.JobName, "DAY1") << c.name;
        EXPECT_EQ(job.RecordList.size(), c.kept) << c.name;
        EXPECT_EQ(cut ? cut->line : 0, c.line) << c.name;
        if (cut) {
            EXPECT_EQ(cut->kept, c.kept) << c.name;
        }
    }
    // Nothing complete before the break: nothing loads.
    Job job;
    std::optional<JobCut> cut;
    const std::vector<std::string> only_broken = {"JOB     J", "INST    I", "SC      P1,1."};
    EXPECT_NE(load_job_text_to_break(only_broken, job, cut), kLoadOk);
    EXPECT_FALSE(cut);
}
