// The listing the binary point readers write ("SC name,0.0000,code" and "ENZ e,n,z" pairs),
// read into points.
#pragma once

#include "records.h"

#include <span>
#include <string>
#include <vector>

namespace telvane {

// Every line must give exactly three comma-separated values; SC sets the current name (an
// empty one is "NONAME") and code, ENZ and NEZ append a point with them; other keywords are
// passed over. Numbers are metres. Returns false and leaves `points` untouched when a line does
// not fit.
bool read_point_listing(std::span<const std::string> lines, std::vector<coord_item>& points);

} // namespace telvane
