// libFuzzer entry point for text pasted into the editing table: rows of tab- or comma-separated
// cells placed at a cell the first bytes pick, each through the typing check, then the table
// taken back into the lists. Whatever was pasted, every name and code that passed fits its field
// and every number is finite.
#include "fileio/dataview.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!data || size < 2)
        return 0;
    const int kind = (data[0] & 1) ? telvane::kDataCodes : telvane::kDataPoints;
    const int column = data[1] % 7;
    std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);
    std::vector<std::vector<std::optional<std::string>>> cells;
    while (!text.empty() && cells.size() < 200) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        const char delimiter = line.find('\t') != std::string_view::npos ? '\t' : ',';
        auto& row = cells.emplace_back();
        for (;;) {
            const std::size_t d = line.find(delimiter);
            row.emplace_back(std::string(line.substr(0, d)));
            if (d == std::string_view::npos)
                break;
            line.remove_prefix(d + 1);
        }
    }
    telvane::EditGrid grid(kind);
    const int refused = grid.paste(0, column, cells);
    if (refused < 0)
        std::abort();
    for (std::size_t r = 0; r < grid.rows(); ++r)
        for (int c = 1; c < grid.columns(); ++c)
            if (!telvane::check_cell(kind, c, grid.cell(r, c), true).empty())
                std::abort(); // a cell that the typing check refuses stayed in the table
    telvane::DataState state;
    state.DataKind = kind;
    const telvane::TakeOutcome out =
        telvane::take_edited_table(grid, true, telvane::kOrderNEZ, {}, state);
    for (const telvane::coord_item& p : state.CoordList)
        if (!std::isfinite(p.north) || !std::isfinite(p.east) || !std::isfinite(p.elev) ||
            p.name.size() > 8 || p.code.size() > 8)
            std::abort();
    (void)out;
    return 0;
}
