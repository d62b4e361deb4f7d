// LandXML for the road window's data: load a design into it, save its design. The window and
// telvane-cli call these; what to show is returned as a language key and the element it names.
#pragma once

#include "road/design/road_data.h"
#include "road/landxml/landxml.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace telvane::road::landxml {

struct DesignLoad {
    std::optional<Alignment> Design; // what was loaded; empty when refused
    LandXmlError Error;              // when refused; Key "file_read_error" when unreadable
    std::string ReadError;           // the file system's reason for file_read_error
    // The alignments of the file when it holds several and none was named (Error.Key is then
    // keys::SeveralAlignments): the window asks which and loads again with that name.
    std::vector<std::string> Choices; // GBK
};

// Reads the alignment `name` (or the only one) of the LandXML file at `path` into `data`: the
// element chain into the line elements, ready for the calculation, and the profile, when the
// file has one, into the grade points, with the design's name and stations. `data` is unchanged
// when the file is refused. Stake chainages of `data` are internal chainages; the data converts
// the stations the user gives (ChainageOf) and shows them (StationOf).
DesignLoad load_design(RoadData& data, const std::string& path, std::string_view name = {});

// Writes the design `data` last calculated (the element chain the engine took, the grade points
// and, with `withStakes`, the stakes the engine placed with `offset`) to `path`, replacing the
// file only once it is written whole, under the design's name ("Road" for one not read from
// LandXML) and stations (its start chainage and none). Refused with keys::NoAlignment before a
// calculation, with "Failure" (and the reason in *ioError) when the file cannot be written.
std::optional<LandXmlError> save_design(const RoadData& data, const std::string& path,
                                        bool withStakes, double offset,
                                        std::string* ioError = nullptr);

// The stationing of a design that has none of its own: stations are the engine's chainages.
Stationing plain_stations(const RoadData& data);

} // namespace telvane::road::landxml
