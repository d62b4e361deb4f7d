// Points as a minimal ASCII DXF drawing, and such drawings read back as points.
#pragma once

#include "datastate.h"

#include "model/filebytes.h"
#include "model/textlines.h"

#include <span>
#include <vector>

namespace telvane {

// The drawing of `points`: header extents, then per point PNTNO, PNTELEV and PNTDESC texts and
// a POINT. X is east and Y is north whatever the coordinate order; numbers are in the distance
// unit. Nothing for an
// empty list (there are no extents to write).
// Appends the file's bytes (CR LF after every line) to `out`; `write_dxf` gives the same as lines.
void append_dxf(std::span<const coord_item> points, const FileSettings& settings, std::string& out);
// The same into a sink, piece by piece (a streamed file writes as it goes).
void append_dxf(std::span<const coord_item> points, const FileSettings& settings, ByteSink& out);
Lines write_dxf(std::span<const coord_item> points, const FileSettings& settings);

// Reads POINT entities named by the PNTNO and PNTDESC texts before them (X east, Y north). Refuses
// a file whose first non-blank line (of the first four) is not "999" or "0", and one with a group
// code or a coordinate that is not a number. On acceptance `points` is replaced.
bool read_dxf(std::span<const std::string> lines, const FileSettings& settings,
              std::vector<coord_item>& points);
bool read_dxf(std::span<const std::string_view> lines, const FileSettings& settings,
              std::vector<coord_item>& points);

} // namespace telvane
