#include "road/check/check_report.h"

#include "model/filebytes.h"
#include "model/numtext.h"

#include <algorithm>
#include <cmath>

namespace telvane::road::check {
namespace {

// Four decimals; a value that rounds to nothing is "0.0000", never "-0.0000".
std::string Length(double v) {
    if (!std::isfinite(v))
        return {};
    std::string text = format_fixed(v, 4);
    if (text == "-0.0000")
        text.erase(0, 1);
    return text;
}

std::string Maybe(const std::optional<double>& v) {
    return v ? Length(*v) : std::string();
}

// A cell holding a comma, a quote, a blank or a control character is quoted, its quotes
// doubled: a name never shifts the columns after it, and the program's own field splitting,
// which ends a bare field at a blank, reads the cell back whole.
void AppendCell(std::string& out, const std::string& cell) {
    const bool bare = std::none_of(cell.begin(), cell.end(), [](char c) {
        return c == ',' || c == '"' || static_cast<unsigned char>(c) <= 32;
    });
    if (bare) {
        out += cell;
        return;
    }
    out += '"';
    for (char c : cell) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

void AppendLine(std::string& out, const std::vector<std::string>& cells) {
    for (std::size_t k = 0; k < cells.size(); ++k) {
        if (k > 0)
            out += ',';
        AppendCell(out, cells[k]);
    }
    out += "\r\n";
}

} // namespace

const char* verdict_key(Verdict verdict) {
    switch (verdict) {
    case Verdict::Within:
        return checkkeys::Within;
    case Verdict::Exceeded:
        return checkkeys::Exceeded;
    case Verdict::Outside:
        return checkkeys::Outside;
    case Verdict::Unchecked:
        break;
    }
    return checkkeys::Unchecked;
}

std::vector<const char*> note_keys(const PointCheck& c) {
    std::vector<const char*> keys;
    if (!c.Found) {
        keys.push_back(checkkeys::NoteNoPosition);
        return keys;
    }
    if (c.Where.Tie)
        keys.push_back(checkkeys::NoteTie);
    if (c.Where.Position == FootPosition::BeforeStart)
        keys.push_back(checkkeys::NoteBeforeStart);
    if (c.Where.Position == FootPosition::PastEnd)
        keys.push_back(checkkeys::NotePastEnd);
    if (c.StakeState == StakeStatus::NotOnRoad)
        keys.push_back(checkkeys::NoteStakeNotOnRoad);
    if (c.StakeState == StakeStatus::NoSidePoint)
        keys.push_back(checkkeys::NoteNoSidePoint);
    return keys;
}

std::vector<std::string> report_header(const std::function<std::string(std::string_view)>& text) {
    std::vector<std::string> cells;
    for (const char* key :
         {checkkeys::Name, checkkeys::North, checkkeys::East, checkkeys::Elevation,
          checkkeys::Chainage, checkkeys::Offset, checkkeys::DesignElevation,
          checkkeys::HeightDifference, checkkeys::Stake, checkkeys::Along, checkkeys::Across,
          checkkeys::Distance, checkkeys::Verdict, checkkeys::Note})
        cells.push_back(text(key));
    return cells;
}

std::vector<std::string> report_row(const PointCheck& c,
                                    const std::function<std::string(std::string_view)>& text) {
    const bool onAxis = c.Found && c.Where.Position == FootPosition::OnAxis;
    std::vector<std::string> cells;
    cells.reserve(14);
    cells.push_back(c.Point.Name);
    cells.push_back(Length(c.Point.North));
    cells.push_back(Length(c.Point.East));
    cells.push_back(Length(c.Point.Elevation));
    cells.push_back(onAxis ? Length(c.Chainage) : std::string());
    cells.push_back(onAxis ? Length(c.Where.Offset) : std::string());
    cells.push_back(Maybe(c.DesignElevation));
    cells.push_back(Maybe(c.HeightDifference));
    cells.push_back(c.Stake ? format_stake_name(c.Stake->Chainage, c.Stake->Side) : std::string());
    cells.push_back(Maybe(c.Along));
    cells.push_back(Maybe(c.Across));
    cells.push_back(Maybe(c.Distance));
    cells.push_back(text(verdict_key(c.Result)));
    std::string note;
    for (const char* key : note_keys(c)) {
        if (!note.empty())
            note += "; ";
        note += text(key);
    }
    cells.push_back(std::move(note));
    return cells;
}

std::string report_csv(const std::vector<PointCheck>& checks,
                       const std::function<std::string(std::string_view)>& text) {
    std::string out;
    out.reserve(128 * (checks.size() + 1));
    AppendLine(out, report_header(text));
    for (const PointCheck& c : checks)
        AppendLine(out, report_row(c, text));
    return out;
}

} // namespace telvane::road::check

namespace telvane::road::check {

bool save_report(const std::string& path, const std::vector<PointCheck>& checks,
                 const std::function<std::string(std::string_view)>& text, std::string* error) {
    return write_file_atomic(path, report_csv(checks, text), error);
}

} // namespace telvane::road::check
