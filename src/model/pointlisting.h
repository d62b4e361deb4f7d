// The listing the binary point readers write ("SC name,0.0000,code" and "ENZ e,n,z" pairs),
// read into points.
#pragma once

#include "records.h"

#include <span>
#include <string>
#include <vector>

namespace telvane {

// Each line's fields follow its keyword, separated by commas (a name may hold blanks): SC sets
// the current name (an empty one is "NONAME") and code, ENZ and NEZ append a point with them;
// other keywords are passed over. Numbers are metres. A point line whose numbers do not read,
// or a line without three fields, is left out and counted in *skipped; every other point loads.
void read_point_listing(std::span<const std::string> lines, std::vector<coord_item>& points,
                        std::size_t* skipped = nullptr);

} // namespace telvane
