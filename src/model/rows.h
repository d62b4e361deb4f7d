// Comma-separated rows of points and job records, in the units of the settings.
#pragma once

#include "records.h"
#include "units.h"

#include <string>

namespace telvane {

// Coordinate order setting: list position 0 writes north before east, 1 east before north.
enum CoordOrder : int { kOrderNEZ = 0, kOrderENZ = 1 };

// Point row layouts: 0 name,code,coordinates; 2 name,coordinates,code. Others give "".
std::string coord_row(const coord_item& p, int layout, int order, Units units);

// One record as a ten-column row (seven for a station); BKB and NOTE give "".
std::string record_row(const record_item& r, Units units);

} // namespace telvane
