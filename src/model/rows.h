// Comma-separated rows of points and job records, in the units of the settings.
#pragma once

#include "records.h"
#include "units.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace telvane {

// Coordinate order setting: list position 0 writes north before east, 1 east before north.
enum CoordOrder : int { kOrderNEZ = 0, kOrderENZ = 1 };

// Point row layouts: 0 name,code,coordinates; 2 name,coordinates,code. Others give "".
std::string coord_row(const coord_item& p, int layout, int order, Units units);

// One record as a ten-column row (seven for a station); BKB and NOTE give "".
std::string record_row(const record_item& r, Units units);

// Reads record rows back into records, in the units they were written in. A row names only
// STA or SC; the kind of an SC row is told by the columns that are filled: angles only an SA,
// angles and distance an SD, coordinates an SC (with or without its observation). A row
// without a code right after a station row is that station's backsight (BS), with its point
// when the coordinates are filled: the writer leaves a backsight's code column empty. Blank
// rows (where a BKB or NOTE record stood) are passed over. False, with `out` unchanged, when a
// non-blank row is none of these or no record was read.
bool read_record_rows(std::span<const std::string_view> lines, Units units,
                      std::vector<record_item>& out);

} // namespace telvane
