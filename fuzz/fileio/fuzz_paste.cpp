// libFuzzer entry point for text pasted into the editing table, through the document as the
// window pastes: rows of tab- or comma-separated cells placed at a cell the first bytes pick,
// each through the typing check, then undone and redone, then the table taken back into the
// lists. Whatever was pasted, every cell that stayed passes the check, undo gives back the
// table as it was, and every name and code that passed fits its field and every number is
// finite.
#include "document/document.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

std::vector<std::vector<std::string>> cells_of(const telvane::EditGrid& g) {
    std::vector<std::vector<std::string>> rows;
    for (std::size_t r = 0; r < g.rows(); ++r)
        rows.push_back(g.row_cells(r));
    return rows;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!data || size < 2)
        return 0;
    // Bit 0 of the first byte: codes or points; the second byte: the column pasted at.
    telvane::Document doc;
    if (data[0] & 1)
        doc.codes(telvane::kOrderNEZ, {});
    else
        doc.points(telvane::kOrderNEZ, {});
    const telvane::DataKind kind = doc.grid()->kind();
    const int column = data[1] % 7;
    const std::string_view text(reinterpret_cast<const char*>(data + 2),
                                std::min<std::size_t>(size - 2, 4096));
    const auto before = cells_of(*doc.grid());
    const int refused = doc.paste(0, column, text);
    if (refused < 0)
        std::abort();
    const auto after = cells_of(*doc.grid());
    const telvane::EditGrid& grid = *doc.grid();
    for (std::size_t r = 0; r < grid.rows(); ++r)
        for (int c = 1; c < grid.columns(); ++c)
            if (!telvane::check_cell(kind, c, grid.cell(r, c), true).empty())
                std::abort(); // a cell that the typing check refuses stayed in the table
    if (doc.can_undo() && after != before) {
        doc.undo();
        if (!doc.grid() || cells_of(*doc.grid()) != before)
            std::abort();
        doc.redo();
        if (cells_of(*doc.grid()) != after)
            std::abort();
    }
    doc.done(telvane::kOrderNEZ, {});
    for (const telvane::coord_item& p : doc.data().CoordList)
        if (!std::isfinite(p.north) || !std::isfinite(p.east) || !std::isfinite(p.elev) ||
            p.name.size() > 8 || p.code.size() > 8)
            std::abort();
    return 0;
}
