#include "road/design/road_data.h"

#include "road/design/line_elements.h"
#include "road/design/road_texts.h"
#include "road/engine/coord_calculate.h"
#include "road/engine/intersection_point_calculate.h"

#include "model/filebytes.h"
#include "model/numtext.h"
#include "model/textlines.h"

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

} // namespace

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
        return InputMode == InputModeIntersections
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
    if (PlaneElements.empty()) {
        return Stop(CalculationStatus::DataEmpty, Key(roadkeys::DataEmpty));
    }
    // The start-point boxes fill in what the first element lacks.
    PlaneInfo& first = PlaneElements.front();
    if (first.North == 0 && !boxes.Edit2.empty()) {
        first.North = parse_double(boxes.Edit2);
    }
    if (first.East == 0 && !boxes.Edit3.empty()) {
        first.East = parse_double(boxes.Edit3);
    }
    if (first.AzimuthAngle == 0 && !boxes.Edit4.empty()) {
        first.AzimuthAngle = parse_double(boxes.Edit4);
    }
    if (!PlanePrepared) {
        std::string message;
        if (!PrepareLineElements(message)) {
            return WrongFormat(message);
        }
        PlanePrepared = true;
    }
    if (!Engine.SetPlaneElements(startChainage, EngineChain(PlaneElements))) {
        return Stop(CalculationStatus::PlaneRefused, Text(roadtexts::PlaneRefused));
    }
    if (!SendProfile()) {
        return Stop(CalculationStatus::ProfileRefused, Text(roadtexts::ProfileRefused));
    }
    Engine.Mode = 1;
    EngineReady = true;

    CalculationOutcome outcome;
    CalculateStakes(offset, outcome);
    outcome.RefillElements = true;
    outcome.RefillStakes = true;
    return outcome;
}

CalculationOutcome RoadData::CalculateIntersections(double startChainage, double offset) {
    if (IntersectionPoints.empty()) {
        return Stop(CalculationStatus::DataEmpty, Key(roadkeys::DataEmpty));
    }
    // A spiral cannot turn by more than a half circle.
    for (const IntersectionPointInfo& p : IntersectionPoints) {
        const double longest = Pi * p.Radius + 0.1;
        if (!(p.ClothoidLength1 <= longest) || !(p.ClothoidLength2 <= longest)) {
            return WrongFormat("spiral too long at " + p.Name);
        }
    }
    EngineReady = false;
    if (!PlanePrepared) {
        std::string message;
        if (!IntersectionPointCalculate(startChainage, IntersectionPoints, PlaneElements,
                                        message)) {
            // No message: the method met a value that is not a finite number.
            if (message.empty()) {
                return WrongFormat("arithmetic fault in the intersection-point method");
            }
            return Stop(CalculationStatus::IntersectionRefused, Text(message));
        }
    }
    if (PlaneElements.empty()) {
        return Stop(CalculationStatus::NoElements, std::nullopt);
    }
    if (!Engine.SetPlaneElements(startChainage, PlaneElements)) {
        return Stop(CalculationStatus::PlaneRefused, Text(roadtexts::PlaneRefused));
    }
    if (!SendProfile()) {
        return Stop(CalculationStatus::ProfileRefused, Text(roadtexts::ProfileRefused));
    }
    Engine.Mode = 1;
    EngineReady = true;

    CalculationOutcome outcome;
    CalculateStakes(offset, outcome);
    PlanePrepared = true;
    outcome.RefillIntersections = true;
    outcome.RefillElements = true;
    outcome.RefillStakes = true;
    return outcome;
}

bool RoadData::SendProfile() {
    if (!ProfileChanged) {
        return true;
    }
    if (GradePoints.empty()) {
        // All grade points were removed: the engine drops its profile too, rather than going on
        // with elevations from points that are gone.
        Engine.SetLongSlopes({});
        ProfileChanged = false;
        return true;
    }
    if (!Engine.SetLongSlopes(GradePoints)) {
        return false;
    }
    ProfileChanged = false;
    return true;
}

void RoadData::CalculateStakes(double offset, CalculationOutcome& outcome) {
    for (Pile& stake : Stakes) {
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
    PlanePrepared = true;
}

bool RoadData::CalculateStake(Pile& stake, double offset) const {
    if (!EngineReady) {
        return false;
    }
    return Engine.CalculatePile(stake.Mileage, offset, stake);
}

bool RoadData::PrepareLineElements(std::string& message) {
    return road::PrepareLineElements(PlaneElements, message);
}

bool RoadData::ComputeCurveGroup(std::size_t s, std::size_t e) {
    return road::ComputeCurveGroup(PlaneElements, s, e);
}

std::optional<RoadQuestion> RoadData::LoadQuestion(RoadPage page) const {
    if (page == RoadPage::Intersections && InputMode == InputModeElements) {
        return RoadQuestion{roadkeys::ClearMainPileTitle, roadkeys::ClearMainPileDesc};
    }
    if (page == RoadPage::Elements && InputMode == InputModeIntersections) {
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
        PlaneElements.clear();
        if (bytes) {
            IntersectionFileData data = ReadIntersectionFile(*bytes);
            IntersectionPoints = std::move(data.Points);
            outcome.WrongFormat = data.WrongFormat;
            outcome.Boxes = std::move(data.Boxes);
        }
        InputMode = InputModeIntersections;
        PlanePrepared = false;
        break;
    case RoadPage::Elements:
        IntersectionPoints.clear();
        PlaneElements.clear();
        if (bytes) {
            ElementFileData data = ReadElementFile(*bytes);
            PlaneElements = std::move(data.Elements);
            outcome.WrongFormat = data.WrongFormat;
            outcome.Boxes = std::move(data.Boxes);
        }
        InputMode = InputModeElements;
        PlanePrepared = false;
        break;
    case RoadPage::Profile:
        if (bytes) {
            GradePointFileData data = ReadGradePointFile(*bytes);
            GradePoints = std::move(data.Points);
            outcome.WrongFormat = data.WrongFormat;
        }
        ProfileChanged = true;
        break;
    case RoadPage::Stakes: {
        StakeFileData data = ReadStakeFile(*bytes);
        Stakes = std::move(data.Stakes);
        outcome.WrongFormat = data.WrongFormat;
        break;
    }
    }
    return outcome;
}

std::optional<std::string> RoadData::FileText(RoadPage page, const RoadColumnTitles& titles) const {
    switch (page) {
    case RoadPage::Intersections:
        return IntersectionFileText(IntersectionPoints, titles);
    case RoadPage::Elements:
        return ElementFileText(PlaneElements, titles);
    case RoadPage::Profile:
        return GradePointFileText(GradePoints, titles);
    case RoadPage::Stakes:
        return StakeFileText(Stakes, titles);
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
