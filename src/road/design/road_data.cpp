#include "road/design/road_data.h"

#include "road/design/line_elements.h"
#include "road/design/road_texts.h"
#include "road/engine/coord_calculate.h"
#include "road/engine/intersection_point_calculate.h"

#include "model/filebytes.h"
#include "model/numtext.h"
#include "model/textlines.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace telvane::road {
namespace {

CalculationOutcome Stop(CalculationStatus status, std::optional<RoadMessage> message,
                        std::string detail = {}) {
    CalculationOutcome outcome;
    outcome.Status = status;
    outcome.Message = std::move(message);
    outcome.Detail = std::move(detail);
    return outcome;
}

RoadMessage Key(const char* key) {
    return {true, key};
}

RoadMessage Text(std::string text) {
    return {false, std::move(text)};
}

CalculationOutcome WrongFormat(std::string detail) {
    return Stop(CalculationStatus::WrongFormat, Key(roadkeys::WrongFormat), std::move(detail));
}

std::string UpperExtension(const std::string& path) {
    std::string ext = std::filesystem::path(path).extension().string();
    for (char& c : ext) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return ext;
}

template <typename T> void InsertAt(std::vector<T>& list, std::size_t at, const T& record) {
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(std::min(at, list.size())), record);
}

template <typename T> bool ReplaceAt(std::vector<T>& list, std::size_t k, const T& record) {
    if (k >= list.size())
        return false;
    list[k] = record;
    return true;
}

template <typename T> bool RemoveAt(std::vector<T>& list, std::size_t k) {
    if (k >= list.size())
        return false;
    list.erase(list.begin() + static_cast<std::ptrdiff_t>(k));
    return true;
}

} // namespace

RoadState& EditRoadState(RoadData& data) {
    return data.s_;
}

const RoadState& EditRoadState(const RoadData& data) {
    return data.s_;
}

void RoadData::SwitchAlignment(RoadPage page) {
    if (page == RoadPage::Intersections && s_.InputMode == InputModeElements) {
        s_.PlaneElements.clear();
        s_.PlanePrepared = false;
        s_.InputMode = InputModeIntersections;
    } else if (page == RoadPage::Elements && s_.InputMode == InputModeIntersections) {
        s_.IntersectionPoints.clear();
        s_.PlanePrepared = false;
        s_.InputMode = InputModeElements;
    }
}

void RoadData::InsertPoint(std::size_t at, const IntersectionPointInfo& point) {
    InsertAt(s_.IntersectionPoints, at, point);
    s_.InputMode = InputModeIntersections;
    s_.PlanePrepared = false;
}

void RoadData::InsertElement(std::size_t at, const PlaneInfo& element) {
    InsertAt(s_.PlaneElements, at, element);
    s_.InputMode = InputModeElements;
    s_.PlanePrepared = false;
}

void RoadData::InsertGradePoint(std::size_t at, const LongSlopesInfo& grade) {
    InsertAt(s_.GradePoints, at, grade);
    s_.ProfileChanged = true;
}

void RoadData::InsertStake(std::size_t at, const Pile& stake) {
    InsertAt(s_.Stakes, at, stake);
}

bool RoadData::UpdatePoint(std::size_t k, const IntersectionPointInfo& point) {
    if (!ReplaceAt(s_.IntersectionPoints, k, point))
        return false;
    s_.InputMode = InputModeIntersections;
    s_.PlanePrepared = false;
    return true;
}

bool RoadData::UpdateElement(std::size_t k, const PlaneInfo& element) {
    if (!ReplaceAt(s_.PlaneElements, k, element))
        return false;
    s_.InputMode = InputModeElements;
    s_.PlanePrepared = false;
    return true;
}

bool RoadData::UpdateGradePoint(std::size_t k, const LongSlopesInfo& grade) {
    if (!ReplaceAt(s_.GradePoints, k, grade))
        return false;
    s_.ProfileChanged = true;
    return true;
}

bool RoadData::UpdateStake(std::size_t k, const Pile& stake) {
    Pile fresh{};
    fresh.Mileage = stake.Mileage; // a changed chainage has no results yet
    return ReplaceAt(s_.Stakes, k, fresh);
}

bool RoadData::Remove(RoadPage page, std::size_t k) {
    switch (page) {
    case RoadPage::Intersections:
        if (!RemoveAt(s_.IntersectionPoints, k))
            return false;
        s_.PlanePrepared = false;
        return true;
    case RoadPage::Elements:
        if (!RemoveAt(s_.PlaneElements, k))
            return false;
        s_.PlanePrepared = false;
        return true;
    case RoadPage::Profile:
        if (!RemoveAt(s_.GradePoints, k))
            return false;
        s_.ProfileChanged = true;
        return true;
    case RoadPage::Stakes:
        return RemoveAt(s_.Stakes, k);
    }
    return false;
}

void RoadData::ClearAll() {
    s_ = RoadState{};
    Engine.Clear();
}

void RoadData::LoadDesign(std::vector<PlaneInfo> chain, std::vector<LongSlopesInfo> profile) {
    s_.IntersectionPoints.clear();
    s_.PlaneElements = std::move(chain);
    s_.InputMode = InputModeElements;
    s_.PlanePrepared = true;
    s_.EngineReady = false;
    if (!profile.empty()) {
        s_.GradePoints = std::move(profile);
        s_.ProfileChanged = true;
    }
}

std::size_t RoadData::Count(RoadPage page) const {
    switch (page) {
    case RoadPage::Intersections:
        return s_.IntersectionPoints.size();
    case RoadPage::Elements:
        return s_.PlaneElements.size();
    case RoadPage::Profile:
        return s_.GradePoints.size();
    case RoadPage::Stakes:
        return s_.Stakes.size();
    }
    return 0;
}

CalculationOutcome RoadData::Calculate(const StartPointTexts& boxes) {
    double startChainage = 0;
    double offset = 0;
    try {
        startChainage = boxes.Edit1.empty() ? 0.0 : parse_double(boxes.Edit1);
        offset = trim(boxes.Edit5).empty() ? 0.0 : parse_double(boxes.Edit5);
    } catch (const ConversionError& e) {
        return Stop(CalculationStatus::StartNotNumber, Text(e.what()));
    }
    try {
        return s_.InputMode == InputModeIntersections
                   ? CalculateIntersections(startChainage, offset)
                   : CalculateElements(boxes, startChainage, offset);
    } catch (const ConversionError& e) {
        return WrongFormat(e.what());
    } catch (const ArithmeticError& e) {
        return WrongFormat(e.what());
    }
}

// The preparation turns every curve by its circle's Direction ("L" left, any other text right),
// whatever sign the radius was typed with, while the design axis reads the turn from the sign
// of the circle's radius. The axis is handed the chain with each circle's radius signed by its
// Direction, so that stakes follow the curve the preparation drew; the table and the files keep
// the radii as typed.
std::vector<PlaneInfo> RoadData::EngineChain(const std::vector<PlaneInfo>& elements) {
    std::vector<PlaneInfo> chain = elements;
    for (PlaneInfo& e : chain) {
        if (e.LineType != LineTypeCircle)
            continue;
        const double sign = e.Direction == "L" ? -1.0 : 1.0;
        e.StartRadius = sign * std::fabs(e.StartRadius);
        e.EndRadius = sign * std::fabs(e.EndRadius);
    }
    return chain;
}

CalculationOutcome RoadData::CalculateElements(const StartPointTexts& boxes, double startChainage,
                                               double offset) {
    if (s_.PlaneElements.empty()) {
        return Stop(CalculationStatus::DataEmpty, Key(roadkeys::DataEmpty));
    }
    // The start-point boxes fill in what the first element lacks.
    PlaneInfo& first = s_.PlaneElements.front();
    if (first.North == 0 && !boxes.Edit2.empty()) {
        first.North = parse_double(boxes.Edit2);
    }
    if (first.East == 0 && !boxes.Edit3.empty()) {
        first.East = parse_double(boxes.Edit3);
    }
    if (first.AzimuthAngle == 0 && !boxes.Edit4.empty()) {
        first.AzimuthAngle = parse_double(boxes.Edit4);
    }
    if (!s_.PlanePrepared) {
        std::string message;
        if (!PrepareLineElements(message)) {
            return WrongFormat(message);
        }
        s_.PlanePrepared = true;
    }
    if (!Engine.SetPlaneElements(startChainage, EngineChain(s_.PlaneElements))) {
        return Stop(CalculationStatus::PlaneRefused, Text(roadtexts::PlaneRefused));
    }
    if (!SendProfile()) {
        return Stop(CalculationStatus::ProfileRefused, Text(roadtexts::ProfileRefused));
    }
    Engine.Mode = 1;
    s_.EngineReady = true;

    CalculationOutcome outcome;
    CalculateStakes(offset, outcome);
    outcome.RefillElements = true;
    outcome.RefillStakes = true;
    return outcome;
}

CalculationOutcome RoadData::CalculateIntersections(double startChainage, double offset) {
    if (s_.IntersectionPoints.empty()) {
        return Stop(CalculationStatus::DataEmpty, Key(roadkeys::DataEmpty));
    }
    // A spiral cannot turn by more than a half circle.
    for (const IntersectionPointInfo& p : s_.IntersectionPoints) {
        const double longest = Pi * p.Radius + 0.1;
        if (!(p.ClothoidLength1 <= longest) || !(p.ClothoidLength2 <= longest)) {
            return WrongFormat("spiral too long at " + p.Name);
        }
    }
    s_.EngineReady = false;
    if (!s_.PlanePrepared) {
        std::string message;
        if (!IntersectionPointCalculate(startChainage, s_.IntersectionPoints, s_.PlaneElements,
                                        message)) {
            // No message: the method met a value that is not a finite number.
            if (message.empty()) {
                return WrongFormat("arithmetic fault in the intersection-point method");
            }
            return Stop(CalculationStatus::IntersectionRefused, Text(message));
        }
    }
    if (s_.PlaneElements.empty()) {
        return Stop(CalculationStatus::NoElements, std::nullopt);
    }
    if (!Engine.SetPlaneElements(startChainage, s_.PlaneElements)) {
        return Stop(CalculationStatus::PlaneRefused, Text(roadtexts::PlaneRefused));
    }
    if (!SendProfile()) {
        return Stop(CalculationStatus::ProfileRefused, Text(roadtexts::ProfileRefused));
    }
    Engine.Mode = 1;
    s_.EngineReady = true;

    CalculationOutcome outcome;
    CalculateStakes(offset, outcome);
    s_.PlanePrepared = true;
    outcome.RefillIntersections = true;
    outcome.RefillElements = true;
    outcome.RefillStakes = true;
    return outcome;
}

bool RoadData::SendProfile() {
    if (!s_.ProfileChanged) {
        return true;
    }
    if (s_.GradePoints.empty()) {
        // All grade points were removed: the engine drops its profile too, rather than going on
        // with elevations from points that are gone.
        Engine.SetLongSlopes({});
        s_.ProfileChanged = false;
        return true;
    }
    if (!Engine.SetLongSlopes(s_.GradePoints)) {
        return false;
    }
    s_.ProfileChanged = false;
    return true;
}

void RoadData::CalculateStakes(double offset, CalculationOutcome& outcome) {
    for (Pile& stake : s_.Stakes) {
        Pile result;
        result.Mileage = stake.Mileage;
        if (CalculateStake(result, offset)) {
            stake = result;
        } else {
            ++outcome.FailedStakes;
        }
    }
    if (outcome.FailedStakes > 0) {
        outcome.Message = Key(roadkeys::OutLimit);
    }
    s_.PlanePrepared = true;
}

bool RoadData::CalculateStake(Pile& stake, double offset) const {
    if (!s_.EngineReady) {
        return false;
    }
    return Engine.CalculatePile(stake.Mileage, offset, stake);
}

bool RoadData::PrepareLineElements(std::string& message) {
    return road::PrepareLineElements(s_.PlaneElements, message);
}

bool RoadData::ComputeCurveGroup(std::size_t s, std::size_t e) {
    return road::ComputeCurveGroup(s_.PlaneElements, s, e);
}

std::optional<RoadQuestion> RoadData::LoadQuestion(RoadPage page) const {
    if (page == RoadPage::Intersections && s_.InputMode == InputModeElements) {
        return RoadQuestion{roadkeys::ClearMainPileTitle, roadkeys::ClearMainPileDesc};
    }
    if (page == RoadPage::Elements && s_.InputMode == InputModeIntersections) {
        return RoadQuestion{roadkeys::ClearIntersectionTitle, roadkeys::ClearIntersectionDesc};
    }
    return std::nullopt;
}

LoadOutcome RoadData::Load(RoadPage page, const std::string& path) {
    LoadOutcome outcome;
    std::optional<std::string> bytes;
    if (page == RoadPage::Stakes || UpperExtension(path) == DefaultExtension(page)) {
        bytes = read_file_bytes(path, &outcome.ReadError);
        if (!bytes) {
            outcome.ReadFailed = true;
            return outcome;
        }
        outcome.Read = true;
    }
    switch (page) {
    case RoadPage::Intersections:
        s_.PlaneElements.clear();
        if (bytes) {
            IntersectionFileData data = ReadIntersectionFile(*bytes);
            s_.IntersectionPoints = std::move(data.Points);
            outcome.WrongFormat = data.WrongFormat;
            outcome.Boxes = std::move(data.Boxes);
        }
        s_.InputMode = InputModeIntersections;
        s_.PlanePrepared = false;
        break;
    case RoadPage::Elements:
        s_.IntersectionPoints.clear();
        s_.PlaneElements.clear();
        if (bytes) {
            ElementFileData data = ReadElementFile(*bytes);
            s_.PlaneElements = std::move(data.Elements);
            outcome.WrongFormat = data.WrongFormat;
            outcome.Boxes = std::move(data.Boxes);
        }
        s_.InputMode = InputModeElements;
        s_.PlanePrepared = false;
        break;
    case RoadPage::Profile:
        if (bytes) {
            GradePointFileData data = ReadGradePointFile(*bytes);
            s_.GradePoints = std::move(data.Points);
            outcome.WrongFormat = data.WrongFormat;
        }
        s_.ProfileChanged = true;
        break;
    case RoadPage::Stakes: {
        StakeFileData data = ReadStakeFile(*bytes);
        s_.Stakes = std::move(data.Stakes);
        outcome.WrongFormat = data.WrongFormat;
        break;
    }
    }
    return outcome;
}

std::optional<std::string> RoadData::FileText(RoadPage page, const RoadColumnTitles& titles) const {
    switch (page) {
    case RoadPage::Intersections:
        return IntersectionFileText(s_.IntersectionPoints, titles);
    case RoadPage::Elements:
        return ElementFileText(s_.PlaneElements, titles);
    case RoadPage::Profile:
        return GradePointFileText(s_.GradePoints, titles);
    case RoadPage::Stakes:
        return StakeFileText(s_.Stakes, titles);
    }
    return std::nullopt;
}

SaveStatus RoadData::Save(RoadPage page, const std::string& path, const RoadColumnTitles& titles,
                          std::string* error) const {
    const std::optional<std::string> text = FileText(page, titles);
    if (!text) {
        return SaveStatus::NothingToSave;
    }
    return write_file_atomic(path, *text, error) ? SaveStatus::Saved : SaveStatus::Failed;
}

} // namespace telvane::road
