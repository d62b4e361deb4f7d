// What the main window's views show, without widgets: the job as text, the other lists as a
// table of cells, the typing check of the editing page, and the edited table taken back into
// the lists. All text is bytes of the instrument's code page; numbers go through the
// locale-free helpers.
#pragma once

#include "datastate.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace telvane {

// ---- Text view (the job's records) ----

// The job as the text view shows it: the JOB and INST lines, then each record's lines in the
// settings' units, lines separated by '\n'. A NOTE "name:code:..." gives its code to the
// coordinate record of that name that follows without one; that code is also written into the
// record, so saving keeps it.
std::string job_view_text(DataState& data, Units units);

// ---- Table view (every other kind of data) ----

// One column: header text = text(key) + text(key2) + literal; width in pixels (0: default).
struct ColumnSpec {
    std::string_view key;
    std::string_view key2;
    std::string_view literal;
    int width = 0;
};

inline constexpr int kDefaultColumnWidth = 85;

// Columns of the table of `kind`, column 0 (the row labels) first; empty for the records and for
// no data. `road` picks the table of the road data.
std::vector<ColumnSpec> table_columns(DataKind kind, int order,
                                      RoadList road = RoadList::Intersections);

enum class CellAlign { Centre, Right };
CellAlign header_alignment();
CellAlign cell_alignment(DataKind kind, int column);

// Items in the list of the kind on show (records, points, codes or road rows); 0 for none.
std::size_t list_size(const DataState& data);

// Data rows the table shows: one per list item, at least one (an empty row).
std::size_t table_row_count(const DataState& data);

// The points a map draws: the point list, the points a job gives, or the 3D points.
std::vector<coord_item> points_to_draw(const DataState& data);

// The text of data row `row` (from 0) and `column` of the table (column 0: "#row+1").
std::string table_cell(const DataState& data, std::size_t row, int column, int order, Units units);

// ---- Editing page ----

// Whether column `column` of an edited table holds a name or code (else a number).
bool is_text_column(DataKind kind, int column);

// The typing check of one cell: "" when `text` may stand, else the message key. While typing
// (`committed` false) a number that is still being written ("-", ".", "-.", "12.") passes;
// when the edit is committed the whole check applies. Names and codes are counted in bytes of
// the code page, so whatever passes fits the instrument's 15-byte field.
std::string_view check_cell(DataKind kind, int column, std::string_view text, bool committed);

// The check of one keystroke in a cell editor, from the text before it to the text after it:
// the typing check, except that a text made shorter is never refused for its length or size, so
// a name read from a file longer than the limit can be shortened a character at a time.
std::string_view check_keystroke(DataKind kind, int column, std::string_view before,
                                 std::string_view after);

// The table of the editing page as cell texts; column 0 holds the row labels.
class EditGrid {
public:
    EditGrid() = default;
    // An empty table of `kind`: one empty row labelled "#1".
    explicit EditGrid(DataKind kind);
    // The table holding the list of `kind` as the view shows it.
    static EditGrid from_data(const DataState& data, int order, Units units);

    DataKind kind() const { return kind_; }
    int columns() const { return columns_; }
    std::size_t rows() const { return rows_.size(); }
    const std::string& cell(std::size_t row, int column) const { return rows_[row][column]; }
    void set_cell(std::size_t row, int column, std::string text);

    // Append: a new empty row at the end. Insert: an empty row at `row`, the rows from there
    // moved down. Delete: the row removed, or, when it is the only one, every cell of it
    // emptied (its label too). Labels follow the row numbers.
    void append();
    void insert(std::size_t row);
    void remove(std::size_t row);

    // Whole rows, as undo puts them back: a row's cells (its label first); a row with its
    // cells put in at `row`; a row's cells replaced; the rows from `rows` on removed.
    const std::vector<std::string>& row_cells(std::size_t row) const { return rows_.at(row); }
    void insert_row(std::size_t row, std::vector<std::string> cells);
    void replace_row(std::size_t row, std::vector<std::string> cells);
    void truncate(std::size_t rows);

    // Places pasted cells with their top-left corner at (row, column), each through the typing
    // check; rows are appended as needed, cells right of the last column are dropped. A cell
    // given as nothing (text the code page cannot hold) or that fails the check is left empty.
    // Returns how many cells were refused.
    int paste(std::size_t row, int column,
              const std::vector<std::vector<std::optional<std::string>>>& cells);

private:
    void relabel(std::size_t from);

    DataKind kind_ = DataKind::Points;
    int columns_ = 0;
    std::vector<std::vector<std::string>> rows_;
};

// The outcome of leaving the editing page: no key when the lists took the table.
struct TakeOutcome {
    std::string_view key; // message to show; the editing page stays
    std::size_t row = 0;  // the cell to select (data row from 0, column)
    int column = -1;
    bool ok() const { return key.empty(); }
};

// Leaving the editing page. Points: every cell is checked first (a number that does not read:
// wrong_coord_format; a row with numbers but no name: point_without_name; a blank or control
// character in a code, then a name: only_numbers_and_letters; a row with a name and an empty
// North, East or elevation: coord_cell_empty, at that cell); then, when `modified`, the rows
// with a name become CoordList. Codes: the non-empty cells of column 1 become CodeList when
// there is at least one, after the same character check. Nothing changes on a failure.
TakeOutcome take_edited_table(const EditGrid& grid, bool modified, int order, Units units,
                              DataState& data);

// ---- File dialog helper ----

// The file name with the first extension of entry `position` (from 1) of `type_list`
// ("desc|*.a;*.b|desc2|*.c") appended when the name has none of its own.
std::string with_type_extension(std::string_view file_name, std::string_view type_list,
                                int position);

} // namespace telvane
