// The road lists' entry forms shown through the dialog seam, in the language on show.
#pragma once

#include "road/design/road_entry.h"

#include <QString>

#include <functional>
#include <optional>

namespace telvane {
class Prompts;
class UiText;
} // namespace telvane

namespace telvane::road {

// The form of `page` with `shown` in its boxes; the record it is submitted with, nothing when it
// is cancelled. A refused entry is named while the dialog stays open. `chainage_of` turns a typed
// station into a chainage (a design with station equations).
std::optional<RoadRecord>
EnterRecord(Prompts& prompts, const UiText& texts, RoadList page, const EntryTexts& shown,
            const std::function<std::optional<double>(double)>& chainage_of = {});

// A number as the road tables show it.
QString number_text(double v);

} // namespace telvane::road
