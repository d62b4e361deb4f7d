#include "document/document.h"
#include "document/stored_settings.h"

#include "tempdir.h"

#include <gtest/gtest.h>

#include <functional>

using namespace telvane;
using telvane::testing::TempDir;

namespace {

constexpr Units kUnits{kAngleDMS, kMetre};

// Everything a change may touch, as text: the kind, every list, the editing page's cells.
std::string describe(const Document& d) {
    const DataState& s = d.data();
    std::string out = "kind " + std::to_string(data_kind_number(s)) + " job " + s.JobName + "/" +
                      s.InstName + " records " + std::to_string(s.RecordList.size()) + " points";
    for (const coord_item& p : s.CoordList)
        out += " " + std::string(p.name.view()) + "@" + std::to_string(p.north);
    out += " codes";
    for (const code_item& c : s.CodeList)
        out += " " + std::string(c.code.view());
    if (const EditGrid* g = d.grid()) {
        out += " | grid";
        for (std::size_t r = 0; r < g->rows(); ++r) {
            out += " [";
            for (int c = 0; c < g->columns(); ++c)
                out += (c ? "," : "") + g->cell(r, c);
            out += "]";
        }
    }
    return out;
}

const char* const kJob = "JOB     DAY1\r\nINST    TS\r\nSC      P1,1.3,C\r\n"
                         "ENZ     1.0,2.0,3.0\r\nSC      P2,1.3,D\r\nENZ     4.0,5.0,6.0\r\n";

// A document holding what `file` opens to, saved.
Document opened(const TempDir& dir, const char* name, std::string_view bytes) {
    Document d;
    Messages m;
    EXPECT_TRUE(d.open(dir.write(name, bytes), {}, m));
    return d;
}

} // namespace

// Every change of the data is undone to exactly what was there before it and redone to exactly
// what it made; the saved state follows the history.
TEST(DocumentUndo, EveryCommandUndoesAndRedoes) {
    TempDir dir;
    struct Case {
        const char* name;
        const char* file;                      // opened first
        const char* bytes;                     // its contents
        std::function<void(Document&)> before; // brings the document where the command runs
        std::function<void(Document&)> command;
        bool saves = false; // the command leaves the document saved
    };
    const Case cases[] = {
        {"typed cell", "p.csv", "P1,C,1,2,3\r\n", [](Document& d) { d.points(kOrderNEZ, kUnits); },
         [](Document& d) { EXPECT_EQ(d.set_cell(0, 2, "10"), ""); }},
        {"append", "p.csv", "P1,C,1,2,3\r\n", [](Document& d) { d.points(kOrderNEZ, kUnits); },
         [](Document& d) { d.append_row(); }},
        {"insert above the first row", "p.csv", "P1,C,1,2,3\r\nP2,C,4,5,6\r\n",
         [](Document& d) { d.points(kOrderNEZ, kUnits); }, [](Document& d) { d.insert_row(0); }},
        {"delete a middle row", "p.csv", "P1,C,1,2,3\r\nP2,C,4,5,6\r\nP3,C,7,8,9\r\n",
         [](Document& d) { d.points(kOrderNEZ, kUnits); }, [](Document& d) { d.delete_row(1); }},
        {"delete the only row", "p.csv", "P1,C,1,2,3\r\n",
         [](Document& d) { d.points(kOrderNEZ, kUnits); }, [](Document& d) { d.delete_row(0); }},
        {"paste over and past the end", "p.csv", "P1,C,1,2,3\r\nP2,C,4,5,6\r\n",
         [](Document& d) { d.points(kOrderNEZ, kUnits); },
         [](Document& d) { EXPECT_EQ(d.paste(1, 1, "Q1\t9\nQ2,x,8\nQ3\t7\t7\t7\tC\n"), 1); }},
        {"job to points",
         "job.txt",
         kJob,
         {},
         [](Document& d) { EXPECT_EQ(d.points(kOrderNEZ, kUnits), ""); }},
        {"codes from points",
         "p.csv",
         "P1,C,1,2,3\r\n",
         {},
         [](Document& d) { d.codes(kOrderNEZ, kUnits); }},
        {"points from codes",
         "c.txt",
         "TREE\r\nWALL\r\n",
         {},
         [](Document& d) { d.points(kOrderNEZ, kUnits); }},
        {"done with an edit", "p.csv", "P1,C,1,2,3\r\n",
         [](Document& d) {
             d.points(kOrderNEZ, kUnits);
             d.set_cell(0, 2, "10");
         },
         [](Document& d) { EXPECT_TRUE(d.done(kOrderNEZ, kUnits).ok()); }},
        {"open",
         "p.csv",
         "P1,C,1,2,3\r\n",
         {},
         [&dir](Document& d) {
             Messages m;
             EXPECT_TRUE(d.open(dir.write("other.txt", "TREE\r\nWALL\r\n"), {}, m));
         },
         true},
        {"receive",
         "p.csv",
         "P1,C,1,2,3\r\n",
         {},
         [](Document& d) {
             Messages m;
             EXPECT_TRUE(d.receive(
                 {"JOB     J", "INST    I", "SC      P9,1.0,C", "ENZ     1.0,2.0,3.0"}, m));
         }},
        {"discard for a receive",
         "job.txt",
         kJob,
         {},
         [](Document& d) { d.discard_for_receive(); },
         true},
    };
    for (const Case& c : cases) {
        Document d = opened(dir, c.file, c.bytes);
        if (c.before)
            c.before(d);
        const std::string before = describe(d);
        const bool unsaved_before = d.unsaved();
        c.command(d);
        const std::string after = describe(d);
        EXPECT_NE(after, before) << c.name;
        ASSERT_TRUE(d.can_undo()) << c.name;
        d.undo();
        EXPECT_EQ(describe(d), before) << c.name;
        // Undoing what opened or gave up data gives back data that is in no file any more.
        EXPECT_EQ(d.unsaved(), unsaved_before || c.saves) << c.name;
        ASSERT_TRUE(d.can_redo()) << c.name;
        d.redo();
        EXPECT_EQ(describe(d), after) << c.name;
        EXPECT_FALSE(d.can_redo()) << c.name;
    }
}

TEST(DocumentUndo, TheSavedStateIsAPositionInTheHistory) {
    TempDir dir;
    Document d = opened(dir, "p.csv", "P1,C,1,2,3\r\n");
    EXPECT_FALSE(d.unsaved());
    // Coming to the editing page and leaving it without a change saves nothing.
    d.points(kOrderNEZ, kUnits);
    EXPECT_FALSE(d.unsaved());
    d.set_cell(0, 2, "10");
    EXPECT_TRUE(d.unsaved());
    ASSERT_TRUE(d.done(kOrderNEZ, kUnits).ok());
    EXPECT_TRUE(d.unsaved());
    EXPECT_DOUBLE_EQ(d.data().CoordList[0].north, 10.0);
    d.mark_saved(); // a Save
    EXPECT_FALSE(d.unsaved());
    d.undo(); // back on the editing page, before the Save's data: unsaved
    EXPECT_TRUE(d.unsaved());
    EXPECT_TRUE(d.grid());
    d.redo();
    EXPECT_FALSE(d.unsaved());
    // Undo past the save, then a new change: the saved state can no longer be reached.
    d.undo();
    d.undo();
    d.set_cell(0, 2, "20");
    EXPECT_FALSE(d.can_redo());
    EXPECT_TRUE(d.unsaved());
    d.undo();
    EXPECT_TRUE(d.unsaved());
    // Points not edited stay as read (the table shows them rounded).
    Document e = opened(dir, "q.csv", "P1,C,1.123456,2,3\r\n");
    e.points(kOrderNEZ, kUnits);
    ASSERT_TRUE(e.done(kOrderNEZ, kUnits).ok());
    EXPECT_DOUBLE_EQ(e.data().CoordList[0].north, 1.123456);
    EXPECT_FALSE(e.unsaved());
    // A code list taken back as it was is no change either.
    Document c = opened(dir, "c.txt", "TREE\r\nWALL\r\n");
    c.codes(kOrderNEZ, kUnits);
    ASSERT_TRUE(c.done(kOrderNEZ, kUnits).ok());
    EXPECT_FALSE(c.unsaved());
}

TEST(DocumentUndo, RefusedAndEmptyChangesAreNotInTheHistory) {
    TempDir dir;
    Document d = opened(dir, "p.csv", "P1,C,1,2,3\r\n");
    d.points(kOrderNEZ, kUnits);
    const std::string before = describe(d);
    EXPECT_EQ(d.set_cell(0, 2, "1a"), "illegal_data_type");
    EXPECT_EQ(d.set_cell(0, 1, "ABCDEFGHI"), "too_many_cha");
    EXPECT_EQ(d.set_cell(0, 1, "P1"), ""); // the same text: nothing changed
    EXPECT_EQ(d.paste(0, 1, ""), 0);
    EXPECT_EQ(describe(d), before);
    d.undo(); // only the editing page's coming
    EXPECT_FALSE(d.grid());
    EXPECT_FALSE(d.can_undo() && d.grid());
    // A failed open and a receive that is nothing known change nothing.
    Messages m;
    const std::string shown = describe(d);
    EXPECT_FALSE(d.open(dir.write("bad.txt", "a b,c\r\n1 2\r\n"), {}, m));
    EXPECT_FALSE(d.open(dir.file("missing.csv"), {}, m));
    EXPECT_FALSE(d.open(dir.write("bad.PHI", "not,road\r\n"), {}, m));
    EXPECT_FALSE(d.receive({"a,b", "c d"}, m));
    EXPECT_EQ(describe(d), shown);
    // Done refused: the page stays, nothing recorded.
    d.points(kOrderNEZ, kUnits);
    d.set_cell(0, 3, "");
    const TakeOutcome o = d.done(kOrderNEZ, kUnits);
    EXPECT_EQ(o.key, "coord_cell_empty");
    EXPECT_TRUE(d.grid());
    // A job without points gives none: nothing changes.
    Document j = opened(
        dir, "j.txt", "JOB     J\r\nINST    I\r\nSD      D1,1.3,W\r\nHVD     3600,324000,50.0\r\n");
    const std::string job = describe(j);
    EXPECT_EQ(j.points(kOrderNEZ, kUnits), "job_have_no_coord");
    EXPECT_EQ(describe(j), job);
}

TEST(DocumentRules, QuestionsAndCommandStatesPerKindAndLink) {
    TempDir dir;
    Document fresh;
    EXPECT_EQ(fresh.points_question(), Question::None); // an empty job: straight to the table
    EXPECT_EQ(fresh.open_question(), Question::None);
    Document job = opened(dir, "job.txt", kJob);
    EXPECT_EQ(job.points_question(), Question::JobToPoints);
    EXPECT_EQ(job.codes_question(), Question::DiscardData);
    EXPECT_EQ(job.receive_question(), Question::DiscardData);
    Document codes = opened(dir, "c.txt", "TREE\r\n");
    EXPECT_EQ(codes.points_question(), Question::DiscardData);
    EXPECT_EQ(codes.codes_question(), Question::None);
    EXPECT_EQ(codes.receive_question(), Question::None);
    codes.codes(kOrderNEZ, kUnits);
    codes.set_cell(0, 1, "WALL");
    EXPECT_EQ(codes.open_question(), Question::DiscardEdits);
    EXPECT_EQ(question_key(Question::DiscardEdits), "if_open_discard_unsaved");

    struct Case {
        const char* name;
        Document* doc;
        LinkActivity link;
        bool receive, send, stop, open, append, undo;
    };
    Document points = opened(dir, "p.csv", "P1,C,1,2,3\r\n");
    const Case cases[] = {
        // The Open is a change: undo gives back what was on show before it.
        {"job, idle", &job, LinkActivity::Idle, true, false, false, true, false, true},
        {"job, receiving", &job, LinkActivity::Receiving, false, false, true, false, false, false},
        {"points, sending", &points, LinkActivity::Sending, false, false, true, false, false,
         false},
        {"points, idle", &points, LinkActivity::Idle, true, true, false, true, false, true},
        {"codes on the editing page", &codes, LinkActivity::Idle, true, true, false, true, true,
         true},
    };
    for (const Case& c : cases) {
        const CommandStates s = c.doc->commands(c.link);
        EXPECT_EQ(s.Receive, c.receive) << c.name;
        EXPECT_EQ(s.Send, c.send) << c.name;
        EXPECT_EQ(s.Stop, c.stop) << c.name;
        EXPECT_EQ(s.Open, c.open) << c.name;
        EXPECT_EQ(s.Points, c.open) << c.name;
        EXPECT_EQ(s.PortSettings, c.link == LinkActivity::Idle) << c.name;
        EXPECT_EQ(s.Append, c.append) << c.name;
        EXPECT_EQ(s.Done, c.append) << c.name;
        EXPECT_EQ(s.EditingPage, c.append) << c.name;
        EXPECT_EQ(s.Undo, c.undo) << c.name;
    }
    // Points with further values cannot be sent; road rows can.
    Document road = opened(dir, "r.PVI", "1,100.0,10.0,0,0\r\n2,200,11,500,0\r\n");
    EXPECT_EQ(road.kind(), DataKind::Road);
    EXPECT_EQ(road.data().Road, RoadList::Profile);
    EXPECT_TRUE(road.send_allowed());

    // The questions before the program closes, in order.
    using Keys = std::vector<std::string_view>;
    EXPECT_EQ(fresh.close_questions(false, false), Keys{});
    EXPECT_EQ(fresh.close_questions(true, true), (Keys{"if_close_transfer", "if_discard_road"}));
    EXPECT_EQ(codes.close_questions(false, false), Keys{"if_discard_unsaved"});
    EXPECT_EQ(codes.close_questions(true, true),
              (Keys{"if_close_transfer", "if_discard_unsaved", "if_discard_road"}));

    // What Save does, by the data on show.
    using Save = Document::SaveChoice;
    EXPECT_EQ(job.save_choice(false), Save::List);
    EXPECT_EQ(points.save_choice(true), Save::List);
    EXPECT_EQ(codes.save_choice(false), Save::List);
    EXPECT_EQ(fresh.save_choice(true), Save::HelpText); // the help on show, no job
    EXPECT_EQ(fresh.save_choice(false), Save::NothingToSave);
    EXPECT_EQ(road.save_choice(true), Save::None); // the road window saves road rows
    Document emptied = opened(dir, "p2.csv", "P1,C,1,2,3\r\n");
    emptied.points(kOrderNEZ, kUnits);
    emptied.delete_row(0);
    emptied.done(kOrderNEZ, kUnits);
    EXPECT_EQ(emptied.kind(), DataKind::Points);
    EXPECT_EQ(emptied.save_choice(true), Save::NothingToSave);
}

TEST(DocumentPaste, RowsAndCellsOfPastedText) {
    using Cells = std::vector<std::vector<std::optional<std::string>>>;
    struct Case {
        const char* text;
        Cells cells;
    };
    const Case cases[] = {
        {"", {}},
        {"A\tB\n", {{"A", "B"}}},
        {"A,B\r\nC , D\r\n", {{"A", "B"}, {"C", "D"}}},
        {"A\tB,C\n", {{"A", "B,C"}}}, // a tab decides: the comma is part of the cell
        {"A\n\nB", {{"A"}, {""}, {"B"}}},
        {"A\n   \n", {{"A"}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parse_pasted_cells(c.text), c.cells) << c.text;
    // A cell with a character the code page cannot hold (marked by a NUL) is nothing.
    EXPECT_EQ(parse_pasted_cells(std::string_view("A\0B\tC", 5)),
              (Cells{{std::nullopt, std::string("C")}}));

    // Copied cells: the selection's rectangle, a cell outside the selection left empty; what
    // is copied pastes back as it was.
    const Cells copied{{"P1", std::nullopt, "3.5"}, {std::nullopt, "C", std::nullopt}};
    EXPECT_EQ(copied_cells(copied), "P1\t\t3.5\n\tC\t\n");
    EXPECT_EQ(parse_pasted_cells(copied_cells(copied)), (Cells{{"P1", "", "3.5"}, {"", "C", ""}}));
    EXPECT_EQ(copied_cells({}), "");
}

TEST(StoredSettings, OneReaderAndWriterForTheIniFile) {
    IniFile ini = IniFile::from_bytes("[Setting]\nAngleUnit=2\nLengthUnit=7\nKOption=1\n"
                                      "GridScale=0.9996\nCoordOrder=1\n[Form]\nPort=3\n"
                                      "Baudrate=9\nLanguage=0\n");
    StoredSettings s = read_settings(ini);
    EXPECT_EQ(s.AngleUnit, 2);
    EXPECT_EQ(s.LengthUnit, 0); // outside its list: the first entry
    EXPECT_EQ(s.KOption, 1);
    EXPECT_DOUBLE_EQ(s.GridScale, 0.9996);
    EXPECT_EQ(s.CoordOrder, 1);
    EXPECT_EQ(s.Port, 3);
    EXPECT_EQ(s.Baudrate, 9);
    EXPECT_EQ(s.Language, 0);
    EXPECT_EQ(s.PortName, "");
    const FileSettings f = file_settings(s);
    EXPECT_EQ(f.units.angle, kAngleMil);
    EXPECT_EQ(f.units.distance, kMetre);
    EXPECT_EQ(f.order, kOrderENZ);
    EXPECT_DOUBLE_EQ(f.reduction.K, 0.14);
    EXPECT_DOUBLE_EQ(f.reduction.grid_scale, 0.9996);

    s.PortName = "/dev/pts/7";
    s.GridScale = 1.5; // read back as 1: outside 0.9..1.1
    IniFile out;
    write_settings(out, s);
    StoredSettings back = read_settings(out);
    EXPECT_EQ(back.PortName, "/dev/pts/7");
    EXPECT_DOUBLE_EQ(back.GridScale, 1.0);
    back.GridScale = 1.5;
    EXPECT_EQ(back, s);
    // An empty name is written only over one the file had.
    s.PortName.clear();
    IniFile none;
    write_settings(none, s);
    EXPECT_FALSE(none.value("Form", "PortName"));
    write_settings(out, s);
    EXPECT_EQ(out.value("Form", "PortName"), std::optional<std::string>(""));
    EXPECT_EQ(read_settings(IniFile{}), StoredSettings{});
    // Every list position gives its unit code; one outside the lists gives none.
    for (const auto& [position, code] :
         {std::pair{0, 1}, std::pair{1, 2}, std::pair{2, 3}, std::pair{3, 0}, std::pair{-1, 0}}) {
        StoredSettings u;
        u.AngleUnit = u.LengthUnit = position;
        EXPECT_EQ(file_settings(u).units.angle, code) << position;
        EXPECT_EQ(file_settings(u).units.distance, code) << position;
    }
    // Each window writes its own part; the rest of the file stays as it was.
    IniFile part = IniFile::from_bytes("[Form]\nPort=5\n");
    write_settings(part, s, kUnitSettings | kLanguageSetting);
    EXPECT_EQ(part.value("Form", "Port"), std::optional<std::string>("5"));
    EXPECT_EQ(part.value("Setting", "AngleUnit"), std::optional<std::string>("2"));
    EXPECT_FALSE(part.value("Form", "Baudrate"));
    // The stake-out tolerances: metres, defaults 0.02 and 0.01, a value that is no length
    // read as the default.
    IniFile check = IniFile::from_bytes("[Check]\nTolerancePlan=0.05\nToleranceHeight=-1\n");
    EXPECT_DOUBLE_EQ(read_settings(check).TolerancePlan, 0.05);
    EXPECT_DOUBLE_EQ(read_settings(check).ToleranceHeight, 0.01);
    StoredSettings t;
    t.ToleranceHeight = 0.003;
    write_settings(check, t, kCheckSettings);
    EXPECT_DOUBLE_EQ(read_settings(check).ToleranceHeight, 0.003);
    EXPECT_DOUBLE_EQ(read_settings(check).TolerancePlan, 0.02);
}

TEST(History, TheOldestChangeGoesAtTheLimit) {
    History<int> h(3);
    for (int i = 1; i <= 5; ++i)
        h.push(i);
    EXPECT_EQ(h.size(), 3u);
    EXPECT_EQ(h.undo(), 5);
    EXPECT_EQ(h.undo(), 4);
    EXPECT_EQ(h.undo(), 3);
    EXPECT_FALSE(h.can_undo());
    EXPECT_FALSE(h.at_saved()); // the saved start went with the oldest change
    History<int> s(2);
    s.push(1);
    s.mark_saved();
    s.push(2);
    s.push(3); // the first change goes; the saved position moves with the rest
    s.undo();
    EXPECT_FALSE(s.at_saved());
    s.undo();
    EXPECT_TRUE(s.at_saved());
    EXPECT_FALSE(s.can_undo());
}
