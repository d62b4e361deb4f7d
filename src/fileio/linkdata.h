// What a transfer makes of the data: the lines a finished receive loads into the lists, and the
// lines a send prepares from the data on show.
#pragma once

#include "datastate.h"

#include "model/textlines.h"

#include <span>
#include <string>
#include <vector>

namespace telvane {

// Loads the lines of a finished receive: a code list, else a job text (a list of only SC, NEZ and
// ENZ lines becomes points), else nothing. True when the lists changed; Kind tells what they
// hold. A job text that gives no record shows file_no_valid_data.
bool interpret_received(std::span<const std::string> lines, DataState& data, Messages& messages);

// The lines of a send of the data on show, each with its CR LF, or the reason it cannot start:
// the keys whose texts, joined, make the message (empty when the send may start).
struct SendPlan {
    Lines lines;
    std::vector<std::string> refusal;
};
SendPlan prepare_send_lines(const DataState& data);

// One point as the instrument takes it: name, code (a backspace when empty), then north, east
// and elevation with six decimals, between fixed zero fields.
std::string point_send_line(const coord_item& point);
// One road table row: its cells each followed by a comma, the first `spaces` commas that are
// not in the first position becoming blanks.
std::string road_send_line(const RoadRow& row, int spaces);

} // namespace telvane
