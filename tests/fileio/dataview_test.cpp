#include "fileio/dataview.h"
#include "model/jobtext.h"

#include <gtest/gtest.h>

using namespace telvane;

namespace {

DataState job(std::initializer_list<const char*> text) {
    Job j;
    const Lines lines(text.begin(), text.end());
    EXPECT_EQ(load_job_text(lines, j), kLoadOk);
    DataState d;
    d.RecordList = j.RecordList;
    d.JobName = j.JobName;
    d.InstName = j.InstName;
    d.Kind = DataKind::Records;
    return d;
}

std::vector<std::vector<std::optional<std::string>>>
block(std::initializer_list<std::initializer_list<const char*>> rows) {
    std::vector<std::vector<std::optional<std::string>>> out;
    for (auto row : rows) {
        auto& r = out.emplace_back();
        for (const char* c : row)
            r.push_back(c ? std::optional<std::string>(c) : std::nullopt);
    }
    return out;
}

} // namespace

TEST(JobView, EveryRecordKindInTheSettingsUnitsWithTheNoteRule) {
    DataState d = job({"JOB     DAY1",
                       "INST    TS",
                       "STA     S1,1.5000,CP",
                       "XYZ     100.0000,200.0000,10.0000",
                       "BS      B1,1.6000",
                       "HVD     0,324000,100.0000",
                       "SC      B1,1.6000,BSS",
                       "ENZ     1.0000,2.0000,3.0000",
                       "BKB     B1,0,3600",
                       "SA      A1,1.2000,",
                       "HV      3600,324000",
                       "SD      D1,1.3000,W",
                       "HVD     7200,324000,50.0000",
                       "NOTE    P1:TREE:x",
                       "SC      P1,1.3000,",
                       "ENZ     5.0000,6.0000,7.0000",
                       "SC      P2,1.3000,",
                       "ENZ     8.0000,9.0000,10.0000",
                       "NOTE    short:x",
                       "SC      P1,1.3000,",
                       "ENZ     1.0000,1.0000,1.0000"});
    const std::string text = job_view_text(d, Units{kAngleDMS, kMetre});
    EXPECT_EQ(text, "JOB     DAY1\n"
                    "INST    TS\n"
                    "STA     S1,1.5000,CP\n"
                    "XYZ     100.0000,200.0000,10.0000\n"
                    "SC      B1,1.6000\n"
                    "HVD     0.0000,90.0000,100.0000\n"
                    "ENZ     1.0000,2.0000,3.0000\n"
                    "SC      A1,1.2000,\n"
                    "HVD     1.0000,90.0000,\n"
                    "SC      D1,1.3000,W\n"
                    "HVD     2.0000,90.0000,50.0000\n"
                    "NOTE    P1:TREE:x\n"
                    "SC      P1,1.3000,TREE\n"
                    "ENZ     5.0000,6.0000,7.0000\n"
                    "SC      P2,1.3000,\n"
                    "ENZ     8.0000,9.0000,10.0000\n"
                    "NOTE    short:x\n"
                    "SC      P1,1.3000,\n"
                    "ENZ     1.0000,1.0000,1.0000");
    // The remembered code went into the record, and only into that one.
    EXPECT_EQ(d.RecordList[6].as<sc_data>().code, "TREE");
    EXPECT_TRUE(d.RecordList[9].as<sc_data>().code.empty());

    // Feet and gon change every value, never the layout.
    DataState again =
        job({"JOB     J", "INST    I", "SD      D1,1.0000,", "HVD     3600,324000,1.0000"});
    EXPECT_EQ(job_view_text(again, Units{kAngleGon, kIntFoot}),
              "JOB     J\nINST    I\nSC      D1,3.2808,\nHVD     1.1111,100.0000,3.2808");
}

TEST(TableView, ColumnsCellsAndAlignmentPerKindAndOrder) {
    DataState d;
    d.Kind = DataKind::Points;
    d.CoordList = {{"", "C1", 1, 2, 3}, {"P2", "", -4.5, 5, 6}};
    const Units m{kAngleDMS, kMetre};
    ASSERT_EQ(table_columns(DataKind::Points, kOrderNEZ).size(), 6u);
    EXPECT_EQ(table_columns(DataKind::Points, kOrderNEZ)[2].key, "strgrid_N");
    EXPECT_EQ(table_columns(DataKind::Points, kOrderENZ)[2].key, "strgrid_E");
    EXPECT_EQ(table_row_count(d), 2u);
    EXPECT_EQ(table_cell(d, 0, 0, kOrderNEZ, m), "#1");
    EXPECT_EQ(table_cell(d, 0, 1, kOrderNEZ, m), "NONAME");
    EXPECT_EQ(table_cell(d, 1, 2, kOrderNEZ, m), "-4.5000");
    EXPECT_EQ(table_cell(d, 1, 2, kOrderENZ, m), "5.0000");
    EXPECT_EQ(table_cell(d, 0, 5, kOrderNEZ, m), "C1");

    d.Kind = DataKind::Points3;
    d.Coord3List = {{"Q", "K", 1, 2, 3, 4, 5, 6}};
    EXPECT_EQ(table_columns(DataKind::Points3, kOrderNEZ).size(), 9u);
    EXPECT_EQ(table_cell(d, 0, 7, kOrderNEZ, m), "6.0000");
    EXPECT_EQ(table_cell(d, 0, 8, kOrderNEZ, m), "K");

    d.Kind = DataKind::Codes;
    EXPECT_EQ(table_row_count(d), 1u); // an empty list still shows one empty row
    EXPECT_EQ(table_cell(d, 0, 1, kOrderNEZ, m), "");

    d.Kind = DataKind::Road;
    d.Road = RoadList::Elements;
    d.RoadRows = {{"1", "0", "0", "10", "1", "100", "200", "0"}};
    const auto cols = table_columns(DataKind::Road, kOrderENZ, RoadList::Elements);
    ASSERT_EQ(cols.size(), 10u);
    EXPECT_EQ(cols[2].key, "strgrid_Start");
    EXPECT_EQ(cols[2].key2, "Radius");
    EXPECT_EQ(cols[0].literal, "#1");
    EXPECT_EQ(table_cell(d, 0, 6, kOrderENZ, m), "100"); // road rows ignore the order
    EXPECT_EQ(table_cell(d, 0, 9, kOrderENZ, m), "");

    EXPECT_EQ(cell_alignment(DataKind::Points, 4), CellAlign::Right);
    EXPECT_EQ(cell_alignment(DataKind::Points, 5), CellAlign::Centre);
    EXPECT_EQ(cell_alignment(DataKind::Points3, 7), CellAlign::Right);
    EXPECT_EQ(cell_alignment(DataKind::Points3, 8), CellAlign::Centre);
    EXPECT_EQ(cell_alignment(DataKind::Road, 0), CellAlign::Right);
}

TEST(TypingCheck, NumbersNamesAndTextsStillBeingTyped) {
    struct Case {
        DataKind kind;
        int column;
        const char* text;
        bool committed;
        const char* key;
    };
    const Case cases[] = {
        {DataKind::Points, 2, "12345678.123", true, ""},
        {DataKind::Points, 2, "123456789", true, "oversize_or_undersize"},
        {DataKind::Points, 2, "-99999999.9", true, ""},
        {DataKind::Points, 2, "-100000000", true, "oversize_or_undersize"},
        {DataKind::Points, 3, "-1234567.12345", true, ""},
        {DataKind::Points, 3, "-1234567.123456", true, "too_many_data"},
        {DataKind::Points, 3, "1234567.123456", true, "too_many_data"},
        {DataKind::Points, 4, "-", false, ""},
        {DataKind::Points, 4, "-5", false, ""},
        {DataKind::Points, 4, ".", false, ""},
        {DataKind::Points, 4, "-.", false, ""},
        {DataKind::Points, 4, "12.", true, ""},
        {DataKind::Points, 4, "-", true, "illegal_data_type"},
        {DataKind::Points, 4, ".", true, "illegal_data_type"},
        {DataKind::Points, 4, "1-", false, "illegal_data_type"},
        {DataKind::Points, 4, "abc", false, "illegal_data_type"},
        {DataKind::Points, 4, "1e5", true, "illegal_data_type"},
        {DataKind::Points, 4, "inf", true, "illegal_data_type"},
        {DataKind::Points, 4, " 5", true, "illegal_data_type"},
        {DataKind::Points, 4, "", true, ""},
        {DataKind::Points, 1, "ABCDEFGH", true, ""},
        {DataKind::Points, 1, "ABCDEFGHI", false, "too_many_cha"},
        {DataKind::Points, 5, "\xD6\xD0\xCE\xC4\xD6\xD0\xCE\xC4", true,
         ""}, // four characters, 8 bytes
        {DataKind::Points, 5, "\xD6\xD0\xCE\xC4\xD6\xD0\xCE\xC4X", true, "too_many_cha"},
        {DataKind::Codes, 1, "123456789", true, "too_many_cha"},
        {DataKind::Codes, 1, "-", true, ""},
        {DataKind::Codes, 1, "TREE.1", true, "code_bad_character"},
        {DataKind::Codes, 1, "A:B", false, "code_bad_character"},
        {DataKind::Points, 5, "TREE.1", true, ""}, // a point's code is a field of a row
        {DataKind::Points, 1, "A,B", false, "name_has_comma"},
        {DataKind::Points, 5, "a,", true, "name_has_comma"},
        {DataKind::Codes, 1, ",", true, "name_has_comma"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(check_cell(c.kind, c.column, c.text, c.committed), c.key)
            << c.text << " committed " << c.committed;
}

TEST(EditGrid, AppendInsertDeleteAndPaste) {
    EditGrid g(DataKind::Points);
    ASSERT_EQ(g.rows(), 1u);
    EXPECT_EQ(g.cell(0, 0), "#1");
    g.set_cell(0, 1, "A");
    g.append();
    g.set_cell(1, 1, "B");
    g.append();
    g.set_cell(2, 1, "C");
    g.insert(0); // above row 1 of three
    ASSERT_EQ(g.rows(), 4u);
    for (std::size_t r = 0; r < 4; ++r)
        EXPECT_EQ(g.cell(r, 0), "#" + std::to_string(r + 1));
    EXPECT_EQ(g.cell(0, 1), "");
    EXPECT_EQ(g.cell(1, 1), "A");
    g.remove(1);
    EXPECT_EQ(g.cell(1, 1), "B");
    EXPECT_EQ(g.cell(2, 0), "#3");
    g.remove(0);
    g.remove(0);
    g.remove(0);
    ASSERT_EQ(g.rows(), 1u); // the only row is emptied, label too, and kept
    EXPECT_EQ(g.cell(0, 0), "");
    EXPECT_EQ(g.cell(0, 1), "");

    // A 3x5 block from a spreadsheet: rows appended, bad cells left empty and counted.
    EditGrid p(DataKind::Points);
    const int refused = p.paste(0, 1,
                                block({{"P1", "1", "2", "3", "C"},
                                       {"P2", "x", "2", "3", "C"},
                                       {"TOO-LONG-NAME", "1", "2", nullptr, "C", "extra"}}));
    EXPECT_EQ(refused, 3);
    ASSERT_EQ(p.rows(), 3u);
    EXPECT_EQ(p.cell(0, 4), "3");
    EXPECT_EQ(p.cell(1, 2), "");
    EXPECT_EQ(p.cell(2, 1), "");
    EXPECT_EQ(p.cell(2, 5), "C");
    EXPECT_EQ(p.cell(2, 0), "#3");
}

TEST(EditGrid, TakingTheTableBack) {
    struct Case {
        std::vector<std::vector<std::string>> rows; // columns 1..5
        bool modified;
        const char* key;
        std::size_t row;
        int column;
        std::size_t points; // CoordList size afterwards (it holds one point before)
    };
    const Case cases[] = {
        {{{"P1", "1", "2", "3", "C"}, {"", "", "", "", ""}, {"P2", "4", "5", "6", ""}},
         true,
         "",
         0,
         -1,
         2},
        {{{"P1", "1", "2", "3", "C"}}, false, "", 0, -1, 1}, // not modified: the list stays
        {{{"P1", "1", "x", "3", "C"}}, true, "wrong_coord_format", 0, 3, 1},
        {{{"P1", "1", "2", "3", ""}, {"", "7", "", "", ""}}, true, "point_without_name", 1, 1, 1},
        {{{"P 1", "1", "2", "3", "C"}}, true, "only_numbers_and_letters", 0, 1, 1},
        {{{"P1", "1", "2", "3", "C "}}, true, "only_numbers_and_letters", 0, 5, 1},
        // A name with a coordinate left empty (never typed, or emptied by a refused paste)
        // is reported at that cell, never stored as 0.
        {{{"P1", "1", "", "3", "C"}}, true, "coord_cell_empty", 0, 3, 1},
        {{{"P1", "1", "2", "3", ""}, {"P2", "", "", "", ""}}, true, "coord_cell_empty", 1, 2, 1},
        {{{"P1", "1", "2", "", ""}}, true, "coord_cell_empty", 0, 4, 1},
    };
    for (const Case& c : cases) {
        EditGrid g(DataKind::Points);
        for (std::size_t r = 0; r < c.rows.size(); ++r) {
            if (r > 0)
                g.append();
            for (int col = 1; col <= 5; ++col)
                g.set_cell(r, col, c.rows[r][col - 1]);
        }
        DataState d;
        d.Kind = DataKind::Points;
        d.CoordList = {{"OLD", "", 0, 0, 0}};
        const TakeOutcome o = take_edited_table(g, c.modified, kOrderENZ, {kAngleDMS, kMetre}, d);
        EXPECT_EQ(o.key, c.key) << c.rows[0][0];
        if (!o.ok()) {
            EXPECT_EQ(o.row, c.row);
            EXPECT_EQ(o.column, c.column);
        }
        EXPECT_EQ(d.CoordList.size(), c.points);
    }
    // East first: column 2 is east.
    EditGrid g(DataKind::Points);
    for (int col = 1; col <= 5; ++col)
        g.set_cell(0, col, std::vector<std::string>{"P", "1", "2", "3", "K"}[col - 1]);
    DataState d;
    ASSERT_TRUE(take_edited_table(g, true, kOrderENZ, {kAngleDMS, kUsFoot}, d).ok());
    EXPECT_DOUBLE_EQ(d.CoordList[0].east, 1200.0 / 3937.0);
    EXPECT_DOUBLE_EQ(d.CoordList[0].north, 2 * 1200.0 / 3937.0);

    // Codes: an all-empty table keeps the old codes.
    EditGrid codes(DataKind::Codes);
    DataState c;
    c.CodeList = {{"OLD"}};
    EXPECT_TRUE(take_edited_table(codes, true, kOrderNEZ, {}, c).ok());
    ASSERT_EQ(c.CodeList.size(), 1u);
    codes.set_cell(0, 1, "NEW");
    EXPECT_TRUE(take_edited_table(codes, true, kOrderNEZ, {}, c).ok());
    EXPECT_EQ(c.CodeList[0].code, "NEW");
}

TEST(SaveDialog, TheChosenTypesExtensionIsAddedToANameWithoutOne) {
    const std::string types = "Rows|*.csv|Text|*.txt;*.asc|Any|*|GTS-7|*.gt7";
    EXPECT_EQ(with_type_extension("/tmp/day1", types, 1), "/tmp/day1.csv");
    EXPECT_EQ(with_type_extension("/tmp/day1", types, 2), "/tmp/day1.txt");
    EXPECT_EQ(with_type_extension("/tmp/day1", types, 3), "/tmp/day1"); // no extension to add
    EXPECT_EQ(with_type_extension("/tmp/day1", types, 4), "/tmp/day1.gt7");
    EXPECT_EQ(with_type_extension("/tmp/day1", types, 9), "/tmp/day1");
    EXPECT_EQ(with_type_extension("/tmp/a.b/day1.dat", types, 1), "/tmp/a.b/day1.dat");
    EXPECT_EQ(with_type_extension("/tmp/a.b/day1", types, 1), "/tmp/a.b/day1.csv");
}

// Every cell of every table kind, inside the list and in the empty row after it.
TEST(TableView, EveryCellOfEveryKind) {
    const Units feet{kAngleDMS, kIntFoot};
    DataState d;
    d.CoordList = {{"", "C", 0.3048, 0.6096, 0.9144}};
    d.Coord3List = {{"Q", "K", 0.3048, 0.6096, 0.9144, 1.2192, 1.524, 1.8288}};
    d.CodeList = {{"TREE"}};
    d.RoadRows = {{"a", "b"}};
    struct Case {
        const char* what;
        DataKind kind;
        RoadList road;
        int order;
        std::vector<std::string> row0; // columns 0.. of the first row
    };
    const Case cases[] = {
        {"points",
         DataKind::Points,
         {},
         kOrderNEZ,
         {"#1", "NONAME", "1.0000", "2.0000", "3.0000", "C", ""}},
        {"points ENZ",
         DataKind::Points,
         {},
         kOrderENZ,
         {"#1", "NONAME", "2.0000", "1.0000", "3.0000", "C", ""}},
        {"3D points",
         DataKind::Points3,
         {},
         kOrderENZ,
         {"#1", "Q", "2.0000", "1.0000", "3.0000", "4.0000", "5.0000", "6.0000", "K", ""}},
        {"codes", DataKind::Codes, {}, kOrderNEZ, {"#1", "TREE", ""}},
        {"intersections", DataKind::Road, RoadList::Intersections, kOrderNEZ, {"#1", "a", "b", ""}},
        {"stakes", DataKind::Road, RoadList::Stakes, kOrderNEZ, {"#1", "a", "b"}},
    };
    for (const Case& c : cases) {
        d.Kind = c.kind;
        d.Road = c.road;
        for (std::size_t col = 0; col < c.row0.size(); ++col)
            EXPECT_EQ(table_cell(d, 0, static_cast<int>(col), c.order, feet), c.row0[col])
                << c.what << " column " << col;
        // The row after the list: a label for the point kinds, "1" or nothing for road rows.
        const std::string beyond = table_cell(d, 1, 0, c.order, feet);
        EXPECT_EQ(beyond, c.kind == DataKind::Road ? "1" : "#2") << c.what;
        EXPECT_EQ(table_cell(d, 1, 1, c.order, feet), "") << c.what;
    }
    d.Kind = DataKind::Records; // no table
    EXPECT_EQ(table_cell(d, 0, 1, kOrderNEZ, feet), "");
    EXPECT_TRUE(table_columns(DataKind::Records, kOrderNEZ).empty());
    EXPECT_EQ(table_row_count(d), 1u);
    d.Kind = DataKind::Road;
    for (RoadList list :
         {RoadList::Elements, RoadList::Profile, RoadList::Stakes, RoadList::Intersections}) {
        d.Road = list;
        EXPECT_EQ(table_row_count(d), 1u);
    }
    EXPECT_EQ(cell_alignment(DataKind::Road, 3), CellAlign::Right);
    EXPECT_EQ(cell_alignment(DataKind::Codes, 0), CellAlign::Centre);
    EXPECT_EQ(header_alignment(), CellAlign::Centre);
}

// Each kind of data, and for road data each list, has the number the program reports and a table
// of its own; the road list says nothing about data that is not road data.
TEST(TableView, EachKindAndRoadListHasItsNumberAndTable) {
    struct Case {
        DataKind kind;
        RoadList road;
        int number;
        std::size_t columns;
        std::string_view first_title; // the key of column 1
        std::vector<int> widths;      // in pixels; 0 leaves the table's own width
    };
    const Case cases[] = {
        {DataKind::None, RoadList::Stakes, 0, 0, "", {}},
        {DataKind::Records, RoadList::Elements, 1, 0, "", {}},
        {DataKind::Points, RoadList::Stakes, 2, 6, "strgrid_ptno", {50, 100, 100, 100, 100, 70}},
        {DataKind::Codes, RoadList::Profile, 3, 2, "strgrid_code", {0, 0}},
        {DataKind::Points3,
         RoadList::Elements,
         4,
         9,
         "strgrid_ptno",
         {50, 85, 85, 85, 85, 85, 85, 85, 60}},
        {DataKind::Road,
         RoadList::Intersections,
         5,
         8,
         "JD_CODE",
         {50, 80, 110, 110, 110, 80, 80, 80}},
        {DataKind::Road,
         RoadList::Elements,
         6,
         10,
         "LineType",
         {50, 50, 80, 80, 100, 50, 110, 110, 110, 110}},
        {DataKind::Road, RoadList::Profile, 7, 6, "Mileage", {50, 120, 120, 120, 120, 100}},
        {DataKind::Road, RoadList::Stakes, 8, 2, "Mileage", {50, 120}},
    };
    for (const Case& c : cases) {
        DataState d;
        d.Kind = c.kind;
        d.Road = c.road;
        EXPECT_EQ(data_kind_number(d), c.number);
        const std::vector<ColumnSpec> columns = table_columns(c.kind, kOrderNEZ, c.road);
        ASSERT_EQ(columns.size(), c.columns) << c.number;
        std::vector<int> widths;
        for (const ColumnSpec& column : columns)
            widths.push_back(column.width);
        EXPECT_EQ(widths, c.widths) << c.number;
        if (c.columns > 1) {
            EXPECT_EQ(columns[1].key, c.first_title) << c.number;
        }
    }
}

TEST(JobView, RecordsWithoutTheirOptionalPartsAndAnEmptyRecord) {
    DataState d;
    d.Kind = DataKind::Records;
    record_item bs, sc, empty;
    bs.data = bs_data{"B", 1, 0, 90, 10, 0, 0, 0, 0};       // no backsight point
    sc.data = sc_data{"P", "", 1, 2, 3, 4, 1, 3600, 90, 5}; // with its observation
    d.RecordList = {bs, sc, empty};
    d.JobName = "J";
    d.InstName = "I";
    EXPECT_EQ(job_view_text(d, Units{kAngleDMS, kMetre}),
              "JOB     J\nINST    I\nSC      B,1.0000\nHVD     0.0000,90.0000,10.0000\n"
              "SC      P,1.0000,\nHVD     3600.0000,90.0000,5.0000\nENZ     3.0000,2.0000,4.0000");
}

TEST(TypingCheck, SignsPointsAndBlanksWhileTyping) {
    struct Case {
        const char* text;
        bool committed;
        const char* key;
    };
    const Case cases[] = {
        {"+5", true, ""},
        {"+", false, ""},
        {"5.", false, ""},
        {"..", false, "illegal_data_type"},
        {"5 ", true, "illegal_data_type"},
        {"-.5", true, ""},
        {"-.123456789012345", false, "too_many_data"},
        {"123456789012345", false, "oversize_or_undersize"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(check_cell(DataKind::Points, 3, c.text, c.committed), c.key) << c.text;
}

// A key that makes the text shorter is never refused for its length or size: a name read from a
// file longer than the limit can be shortened a character at a time. Anything else is the
// typing check.
TEST(TypingCheck, KeystrokesThatShortenAnOverLongText) {
    struct Case {
        int column;
        const char* before;
        const char* after;
        const char* key;
    };
    const Case cases[] = {
        {1, "ABCDEFGHIJ", "ABCDEFGHI", ""},           // Backspace in a long imported name
        {1, "ABCDEFGH", "ABCDEFGHI", "too_many_cha"}, // a ninth character
        {1, "ABCDEFGHIJ", "ABCDEFGHIJK", "too_many_cha"},
        {1, "ABCDEFGHI,", "ABCDEFGHI", ""},
        {1, "ABCDEFGHIJ", "ABCDEFGH,", "name_has_comma"}, // shorter, but a comma never stands
        {2, "123456789.5", "123456789.", ""},             // a too big number made smaller
        {2, "1234567891", "123456789", ""},
        {2, "12345678", "123456789", "oversize_or_undersize"},
        {3, "-1234567.123456", "-1234567.12345", ""},
        {3, "-1234567.12345", "-1234567.123456", "too_many_data"},
        {4, "1a5", "1a", "illegal_data_type"}, // shorter, still not a number
        {4, "15", "1", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(check_keystroke(DataKind::Points, c.column, c.before, c.after), c.key)
            << c.before << " -> " << c.after;
}
