#include "document.h"

#include "fileio/linkdata.h"
#include "fileio/opendata.h"
#include "model/textlines.h"

#include <algorithm>

namespace telvane {

std::string_view question_key(Question q) {
    switch (q) {
    case Question::JobToPoints:
        return "if_job_to_coord";
    case Question::DiscardData:
        return "if_change_record_mode";
    case Question::DiscardEdits:
        return "if_open_discard_unsaved";
    case Question::None:
        break;
    }
    return {};
}

std::vector<std::vector<std::optional<std::string>>> parse_pasted_cells(std::string_view text) {
    std::vector<std::vector<std::optional<std::string>>> rows;
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        lines.push_back(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
    // A copied block ends in a line end; a last line of blanks is no row either.
    if (!lines.empty() && trim(lines.back()).empty())
        lines.pop_back();
    for (std::string_view line : lines) {
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        const char delimiter = line.find('\t') != std::string_view::npos ? '\t' : ',';
        auto& row = rows.emplace_back();
        for (;;) {
            const std::size_t d = line.find(delimiter);
            const std::string_view cell = trim(line.substr(0, d));
            if (cell.find('\0') != std::string_view::npos)
                row.emplace_back(std::nullopt);
            else
                row.emplace_back(std::string(cell));
            if (d == std::string_view::npos)
                break;
            line.remove_prefix(d + 1);
        }
    }
    return rows;
}

DataState& EditDocumentData(Document& document) {
    return document.data_;
}

Document::Document() {
    data_.Kind = DataKind::Records;
}

bool Document::unsaved() const {
    // Coming to or leaving the editing page without a change of the data saves nothing.
    return !history_.at_saved_but_for([](const Change& c) {
        const Swap* s = std::get_if<Swap>(&c);
        return !s || s->data.has_value();
    });
}

bool Document::send_allowed() const {
    switch (data_.Kind) {
    case DataKind::Points:
    case DataKind::Codes:
    case DataKind::Road:
        return true;
    case DataKind::None:
    case DataKind::Records: // a job, points with further values: the instrument takes neither
    case DataKind::Points3:
        break;
    }
    return false;
}

CommandStates Document::commands(LinkActivity link) const {
    const bool idle = link == LinkActivity::Idle;
    const bool editing = grid_.has_value();
    CommandStates c;
    c.EditingPage = editing;
    // A transfer holds the port and its data: only Stop, until it ends.
    c.Receive = idle;
    c.Send = idle && send_allowed();
    c.Stop = !idle;
    c.PortSettings = idle;
    c.Points = c.Codes = c.Road = c.Map = c.Open = c.Save = c.Settings = c.Help = idle;
    c.Language = true;
    c.Append = c.Insert = c.Delete = c.Done = idle && editing;
    c.Undo = idle && history_.can_undo();
    c.Redo = idle && history_.can_redo();
    return c;
}

Question Document::points_question() const {
    switch (data_.Kind) {
    case DataKind::Records:
        return data_.RecordList.empty() ? Question::None : Question::JobToPoints;
    case DataKind::Codes:
        return data_.CodeList.empty() ? Question::None : Question::DiscardData;
    case DataKind::Points3:
        return data_.Coord3List.empty() ? Question::None : Question::DiscardData;
    default:
        return Question::None;
    }
}

Question Document::codes_question() const {
    return data_.RecordList.empty() && data_.CoordList.empty() ? Question::None
                                                               : Question::DiscardData;
}

Question Document::receive_question() const {
    return codes_question();
}

void Document::replace(std::optional<DataState> next, std::optional<EditGrid> grid) {
    Swap s{std::move(next), std::move(grid), 0};
    swap_with(s);
    history_.push(std::move(s));
}

void Document::swap_with(Swap& s) {
    if (s.data)
        std::swap(*s.data, data_);
    std::swap(s.grid, grid_);
    std::swap(s.grid_edits, grid_edits_);
}

std::string_view Document::points(int order, Units units) {
    switch (data_.Kind) {
    case DataKind::Records: {
        if (data_.RecordList.empty()) {
            DataState next = data_;
            next.Kind = DataKind::Points;
            replace(std::move(next), EditGrid(DataKind::Points));
            return {};
        }
        std::vector<coord_item> points;
        append_job_points(data_.RecordList, points);
        if (points.empty())
            return "job_have_no_coord";
        DataState next = data_;
        next.CoordList = std::move(points);
        next.RecordList.clear();
        next.Kind = DataKind::Points;
        replace(std::move(next), std::nullopt);
        return {};
    }
    case DataKind::Points:
        replace(std::nullopt, EditGrid::from_data(data_, order, units));
        return {};
    case DataKind::Codes:
    case DataKind::Points3: {
        DataState next = data_;
        (data_.Kind == DataKind::Codes ? next.CodeList.clear() : next.Coord3List.clear());
        next.Kind = DataKind::Points;
        replace(std::move(next), EditGrid(DataKind::Points));
        return {};
    }
    default:
        return {};
    }
}

void Document::codes(int order, Units units) {
    if (data_.Kind == DataKind::Codes && data_.RecordList.empty() && data_.CoordList.empty()) {
        replace(std::nullopt, EditGrid::from_data(data_, order, units));
        return;
    }
    DataState next = data_;
    next.RecordList.clear();
    next.CoordList.clear();
    next.Kind = DataKind::Codes;
    EditGrid grid = EditGrid::from_data(next, order, units);
    replace(std::move(next), std::move(grid));
}

void Document::discard_for_receive() {
    if (receive_question() == Question::None)
        return;
    DataState next = data_;
    next.RecordList.clear();
    next.JobName.clear();
    next.InstName.clear();
    next.CoordList.clear();
    replace(std::move(next), std::nullopt);
    // What was on show was given up on purpose: there is nothing unsaved until data arrives.
    history_.mark_saved();
}

void Document::record_grid_change(Change c) {
    ++grid_edits_;
    history_.push(std::move(c));
}

std::string_view Document::set_cell(std::size_t row, int column, std::string text) {
    if (!grid_ || row >= grid_->rows() || column <= 0 || column >= grid_->columns())
        return {};
    const std::string_view key = check_cell(grid_->kind(), column, text, true);
    if (!key.empty())
        return key;
    if (grid_->cell(row, column) == text)
        return {};
    CellEdit e{row, column, grid_->cell(row, column), std::move(text)};
    grid_->set_cell(row, column, e.after);
    record_grid_change(std::move(e));
    return {};
}

void Document::append_row() {
    if (!grid_)
        return;
    grid_->append();
    record_grid_change(RowInserted{grid_->rows() - 1});
}

void Document::insert_row(std::size_t row) {
    if (!grid_)
        return;
    row = std::min(row, grid_->rows());
    grid_->insert(row);
    record_grid_change(RowInserted{row});
}

void Document::delete_row(std::size_t row) {
    if (!grid_ || row >= grid_->rows())
        return;
    RowRemoved r{row, grid_->row_cells(row), grid_->rows() == 1};
    grid_->remove(row);
    record_grid_change(std::move(r));
}

int Document::paste(std::size_t row, int column, std::string_view text) {
    if (!grid_)
        return 0;
    Pasted p{row, std::max(column, 1), parse_pasted_cells(text), grid_->rows(), {}};
    if (p.cells.empty())
        return 0;
    for (std::size_t i = 0; i < p.cells.size() && row + i < p.rows_before; ++i)
        for (std::size_t j = 0; j < p.cells[i].size(); ++j) {
            const int c = p.column + static_cast<int>(j);
            if (c >= grid_->columns())
                break;
            p.overwritten.push_back({row + i, c, grid_->cell(row + i, c), {}});
        }
    const int refused = grid_->paste(row, p.column, p.cells);
    record_grid_change(std::move(p));
    return refused;
}

TakeOutcome Document::done(int order, Units units) {
    if (!grid_)
        return {};
    // Points not edited stay as they were read (the table shows them rounded); a code list is
    // taken back from its table whatever happened to it.
    const bool changes = grid_modified() || grid_->kind() == DataKind::Codes;
    std::optional<DataState> next;
    DataState unchanged;
    if (changes)
        next = data_;
    const TakeOutcome o =
        take_edited_table(*grid_, grid_modified(), order, units, next ? *next : unchanged);
    if (!o.ok())
        return o;
    if (next && !grid_modified() &&
        std::equal(next->CodeList.begin(), next->CodeList.end(), data_.CodeList.begin(),
                   data_.CodeList.end(), [](const code_item& a, const code_item& b) {
                       return a.code.view() == b.code.view();
                   }))
        next.reset(); // a code list taken back as it was
    replace(std::move(next), std::nullopt);
    return o;
}

bool Document::open(const std::string& path, const FileSettings& settings, Messages& messages) {
    // The file is read beside the data on show, which it replaces only when it gave something:
    // a file that cannot be read or is not recognised leaves it as it was.
    DataState opened;
    opened.Kind = DataKind::None;
    const bool loaded = open_data_file(path, opened, settings, messages) &&
                        opened.Kind != DataKind::None && list_size(opened) > 0;
    if (!loaded)
        return false;
    replace(std::move(opened), std::nullopt);
    history_.mark_saved();
    return true;
}

bool Document::receive(const Lines& lines, Messages& messages) {
    DataState next = data_;
    if (!interpret_received(lines, next, messages))
        return false;
    replace(std::move(next), std::nullopt);
    return true;
}

std::string Document::job_view(Units units) {
    return job_view_text(data_, units);
}

void Document::apply(Change& change, bool forward) {
    std::visit(
        [this, forward](auto& c) {
            using T = std::decay_t<decltype(c)>;
            if constexpr (std::is_same_v<T, Swap>) {
                swap_with(c);
                return;
            } else {
                if (!grid_)
                    return; // cannot happen: grid changes lie between the page's swaps
                grid_edits_ += forward ? 1 : -1;
                if constexpr (std::is_same_v<T, CellEdit>) {
                    grid_->set_cell(c.row, c.column, forward ? c.after : c.before);
                } else if constexpr (std::is_same_v<T, RowInserted>) {
                    if (forward)
                        grid_->insert(c.row);
                    else if (grid_->rows() > 1)
                        grid_->remove(c.row);
                } else if constexpr (std::is_same_v<T, RowRemoved>) {
                    if (forward)
                        grid_->remove(c.row);
                    else if (c.emptied)
                        grid_->replace_row(c.row, c.cells);
                    else
                        grid_->insert_row(c.row, c.cells);
                } else if constexpr (std::is_same_v<T, Pasted>) {
                    if (forward) {
                        grid_->paste(c.row, c.column, c.cells);
                    } else {
                        grid_->truncate(c.rows_before);
                        for (const CellEdit& e : c.overwritten)
                            grid_->set_cell(e.row, e.column, e.before);
                    }
                }
            }
        },
        change);
}

void Document::undo() {
    if (history_.can_undo())
        apply(history_.undo(), false);
}

void Document::redo() {
    if (history_.can_redo())
        apply(history_.redo(), true);
}

Document::SaveChoice Document::save_choice(bool help_on_show) const {
    switch (data_.Kind) {
    case DataKind::Records:
        if (!data_.RecordList.empty())
            return SaveChoice::List;
        return help_on_show ? SaveChoice::HelpText : SaveChoice::NothingToSave;
    case DataKind::Points:
    case DataKind::Codes:
        return list_size(data_) == 0 ? SaveChoice::NothingToSave : SaveChoice::List;
    default:
        return SaveChoice::None;
    }
}

std::vector<std::string_view> Document::close_questions(bool link_busy, bool road_unsaved) const {
    std::vector<std::string_view> asked;
    if (link_busy)
        asked.push_back("if_close_transfer");
    // Edits on the editing page not yet taken back with Done are unsaved data as well.
    if (unsaved())
        asked.push_back("if_discard_unsaved");
    if (road_unsaved)
        asked.push_back("if_discard_road");
    return asked;
}

std::string copied_cells(const std::vector<std::vector<std::optional<std::string>>>& rows) {
    std::string text;
    for (const auto& row : rows) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (c > 0)
                text += '\t';
            if (row[c])
                text += *row[c];
        }
        text += '\n';
    }
    return text;
}

} // namespace telvane
