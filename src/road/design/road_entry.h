// The entry forms of the road lists: which boxes and lists each form has and in what order, what
// they show for a record, and how what was typed becomes a record. The window shows a form
// through the dialog seam; every rule of the form is here.
#pragma once

#include "road/design/road_data.h"
#include "road/design/road_files.h"
#include "road/engine/road_records.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace telvane::road {

// One box or list of a form. Its label is the text of LabelKey, then of LabelKey2, then Suffix.
struct EntryField {
    const char* Name; // the control's object name
    std::string_view LabelKey;
    std::string_view LabelKey2;
    const char* Suffix;
    std::vector<std::string_view> ChoiceKeys; // a list of these texts; a box when empty
    bool Required;
};

struct EntryForm {
    const char* Name; // the dialog's object name
    std::string_view TitleKey;
    std::vector<EntryField> Fields;
};

const EntryForm& EntryFormOf(RoadList page);

// What a form holds, field by field: a box's text (GBK), a list's chosen position as a number.
using EntryTexts = std::vector<std::string>;

using RoadRecord = std::variant<IntersectionPointInfo, PlaneInfo, LongSlopesInfo, Pile>;

// A new record's form: empty boxes; a line element starts as a straight that turns nowhere.
EntryTexts NewEntry(RoadList page);
// The form of a record to be changed, with its values.
EntryTexts EntryTextsOf(const RoadRecord& record);

// Why a form was not taken: the field at fault and the key of the message that names it
// (followed by the field's label, or by ": " and Value when there is one).
struct EntryRefusal {
    std::size_t Field = 0;
    std::string Key;
    std::string Value;

    bool operator==(const EntryRefusal&) const = default;
};

// The record a form gives, or why it gives none. Every required field must be filled and every
// number a finite number. A stake is typed as a station: `chainage_of` (when given) turns it into
// its chainage along the axis, and a station it has no chainage for is refused.
std::variant<RoadRecord, EntryRefusal>
ReadEntry(RoadList page, const EntryTexts& texts,
          const std::function<std::optional<double>(double)>& chainage_of = {});

// After a list of the form changed: a straight turns nowhere, and a curve needs a side (left until
// the user says otherwise).
void FollowChoice(RoadList page, EntryTexts& texts, std::size_t changed);

// The record `k` of a list, and a record put into its list: inserted at `at`, or in place of
// record `k` (a spiral between two radii, which the form shows as a clothoid, stays one when it
// comes back as a clothoid).
RoadRecord RecordAt(const RoadData& data, RoadList page, std::size_t k);
void InsertRecord(RoadData& data, std::size_t at, const RoadRecord& record);
void UpdateRecord(RoadData& data, std::size_t k, const RoadRecord& record);

} // namespace telvane::road
