// The main window's document without the window: the data on show, the table of the editing
// page while it is up, every rule about them (which command does what to which list, what needs
// asking first, which commands may run), the undo history and whether the data is saved.
//
// The window reads its controls, asks the question a command names, calls one operation here
// and shows the outcome.
#pragma once

#include "fileio/datastate.h"
#include "fileio/dataview.h"
#include "model/history.h"
#include "model/textlines.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace telvane {

// What the transfer link is doing.
enum class LinkActivity { Idle, Receiving, Sending };

// The question a command asks before it changes anything (the texts' base key), if any.
enum class Question {
    None,
    JobToPoints,  // if_job_to_coord: the job's points replace the job
    DiscardData,  // if_change_record_mode: the data on show is discarded
    DiscardEdits, // if_open_discard_unsaved: unsaved data is replaced by what is opened
};
std::string_view question_key(Question q);

// Whether each command of the main window may run now.
struct CommandStates {
    // The first page.
    bool Receive = false, Send = false, Stop = false, PortSettings = false;
    bool Points = false, Codes = false, Road = false, Map = false, Open = false, Save = false;
    bool Settings = false, Help = false, Language = false;
    // The editing page.
    bool Append = false, Insert = false, Delete = false, Done = false;
    bool Undo = false, Redo = false;
    bool EditingPage = false; // which page is up
    bool operator==(const CommandStates&) const = default;
};

// Splits text pasted from a spreadsheet into rows of cells: a line a row (a last empty line
// dropped, "\r\n" ends too), cells separated by tabs, or by commas in a line without a tab,
// each trimmed of blanks. The text is in the code page; a cell holding a NUL byte (where the
// window put a character the code page cannot hold) is given as nothing.
std::vector<std::vector<std::optional<std::string>>> parse_pasted_cells(std::string_view text);

// The cells of a selection as text for the clipboard, the inverse of parse_pasted_cells: a line
// a row of the selection's bounding rectangle, cells separated by tabs, a cell outside the
// selection empty.
std::string copied_cells(const std::vector<std::vector<std::optional<std::string>>>& rows);

class Document;
// Direct access to the data, for tests that build a state the operations reach only in many
// steps. The program changes it through the operations alone.
DataState& EditDocumentData(Document& document);

class Document {
public:
    Document();

    const DataState& data() const { return data_; }
    DataKind kind() const { return data_.Kind; }
    // The table of the editing page; nothing when the page is not up.
    const EditGrid* grid() const { return grid_ ? &*grid_ : nullptr; }
    // Cells of the editing page were changed since it came up.
    bool grid_modified() const { return grid_edits_ > 0; }

    // Received, converted or edited data not saved since (undoing back to the last Open or
    // Save makes it saved again). Edits on the editing page not yet taken back count too;
    // coming to and leaving the editing page without a change does not.
    bool unsaved() const;
    // Open, Save or a receive that left nothing to keep: the data as it stands is saved.
    void mark_saved() { history_.mark_saved(); }

    // The enabled state of every command.
    CommandStates commands(LinkActivity link) const;
    // Whether Send may start on the data on show.
    bool send_allowed() const;

    // ---- Points, Codes, Receive: the question first, then the command ----
    Question points_question() const;
    Question codes_question() const;
    Question receive_question() const;
    Question open_question() const { return unsaved() ? Question::DiscardEdits : Question::None; }

    // What Save does with the data on show: its list into a file of the types of its kind, the
    // help text on show as plain text (`help_on_show`), or say there is nothing to save. Road
    // rows are saved by the road window.
    enum class SaveChoice { List, HelpText, NothingToSave, None };
    SaveChoice save_choice(bool help_on_show) const;

    // The questions to ask before the program closes, in order (the texts' base keys): a
    // transfer under way, data on show in no file, road data in no file. Any one not confirmed
    // keeps the program open.
    std::vector<std::string_view> close_questions(bool link_busy, bool road_unsaved) const;

    // Points (after its question was confirmed): a job's points replace the job (the message
    // key job_have_no_coord when it has none, and nothing changes); otherwise the editing page
    // comes up with the points, or empty after the data on show was discarded.
    std::string_view points(int order, Units units);
    // Codes (after its question): the editing page with the code list.
    void codes(int order, Units units);
    // Receive starts (after its question): the job and the points on show are discarded.
    void discard_for_receive();

    // ---- The editing page ----
    // A typed cell: the typing check of a committed edit; the refusal's key, nothing changed.
    std::string_view set_cell(std::size_t row, int column, std::string text);
    void append_row();
    void insert_row(std::size_t row);
    void delete_row(std::size_t row);
    // Pasted text placed with its top-left cell at (row, column): how many cells were refused.
    int paste(std::size_t row, int column, std::string_view text);
    // Done: the table back into the lists (a refusal names the cell; the page stays).
    TakeOutcome done(int order, Units units);

    // ---- Files and the link ----
    // Opens `path`; the data on show is replaced only when the file gave something. True then.
    bool open(const std::string& path, const FileSettings& settings, Messages& messages);
    // What a finished receive got; true when the data on show changed.
    bool receive(const Lines& lines, Messages& messages);

    // The text view of the job in `units`. Showing it gives each point the code of the note
    // before it (the instrument's rule), so it is an operation of the document.
    std::string job_view(Units units);

    // ---- Undo and redo: every change of the data ----
    bool can_undo() const { return history_.can_undo(); }
    bool can_redo() const { return history_.can_redo(); }
    void undo();
    void redo();

private:
    friend DataState& EditDocumentData(Document& document);

    struct CellEdit {
        std::size_t row;
        int column;
        std::string before, after;
    };
    struct RowInserted {
        std::size_t row;
    };
    struct RowRemoved {
        std::size_t row;
        std::vector<std::string> cells;
        bool emptied; // the only row: its cells were emptied, not the row removed
    };
    struct Pasted {
        std::size_t row;
        int column;
        std::vector<std::vector<std::optional<std::string>>> cells;
        std::size_t rows_before;
        std::vector<CellEdit> overwritten; // cells of rows that were there before
    };
    // The data and the editing page as they were on the other side of a change.
    struct Swap {
        std::optional<DataState> data; // nothing: the data did not change
        std::optional<EditGrid> grid;
        int grid_edits = 0;
    };
    using Change = std::variant<CellEdit, RowInserted, RowRemoved, Pasted, Swap>;

    // Puts `next` (data and editing page) in place and records the change.
    void replace(std::optional<DataState> next, std::optional<EditGrid> grid);
    void swap_with(Swap& s);
    void apply(Change& c, bool forward);
    void record_grid_change(Change c);

    DataState data_;
    std::optional<EditGrid> grid_;
    int grid_edits_ = 0; // grid changes applied since the editing page came up
    History<Change> history_;
};

} // namespace telvane
