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
    return {true, key, {}};
}

RoadMessage Text(std::string text) {
    return {false, std::move(text), {}};
}

// A stake with its chainage and no results.
Pile StakeAt(double K) {
    Pile p;
    p.Mileage = K;
    return p;
}

RoadMessage KeyWith(const char* key, std::vector<std::string> args) {
    return {true, key, std::move(args)};
}

// Rows are counted from 1, as the tables show them.
std::string Row(std::size_t index) {
    return format_int(static_cast<long long>(index) + 1);
}

// A chainage as the tables show it.
std::string Chainage(double K) {
    return format_general(K);
}

bool AllFinite(std::initializer_list<double> values) {
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

// What the design axis refuses in a chain, named by its row; the general text when it is
// something else.
RoadMessage PlaneFault(const std::vector<PlaneInfo>& chain) {
    for (std::size_t k = 0; k < chain.size(); ++k) {
        const PlaneInfo& e = chain[k];
        if (!AllFinite({e.Mileage, e.East, e.North, e.AzimuthAngle, e.StartRadius, e.EndRadius,
                        e.Length})) {
            return KeyWith(roadkeys::ElementNotNumber, {Row(k)});
        }
    }
    if (chain.size() < 2) {
        return Key(roadkeys::TooFewElements);
    }
    if (chain[0].LineType != LineTypeLine && chain[0].LineType != LineTypeCircle) {
        return Key(roadkeys::FirstElementKind);
    }
    for (std::size_t k = 0; k < chain.size(); ++k) {
        if (chain[k].LineType == LineTypeCircle && chain[k].StartRadius == 0) {
            return KeyWith(roadkeys::ElementRadiusZero, {Row(k)});
        }
        if (k > 0 && chain[k - 1].LineType == LineTypeClothoid &&
            chain[k].LineType != LineTypeCircle && chain[k].LineType != LineTypeLine) {
            return KeyWith(roadkeys::ElementAfterSpiral, {Row(k)});
        }
    }
    return Key(roadkeys::PlaneRefused);
}

// What the profile refuses, named by its grade point.
RoadMessage ProfileFault(const std::vector<LongSlopesInfo>& points) {
    for (std::size_t k = 0; k < points.size(); ++k) {
        const LongSlopesInfo& p = points[k];
        if (!AllFinite({p.Mileage, p.Height, p.Radius, p.Slope1, p.Slope2})) {
            return KeyWith(roadkeys::GradeNotNumber, {Row(k)});
        }
    }
    if (points.size() < 2) {
        return Key(roadkeys::ProfileTooFew);
    }
    for (std::size_t k = 1; k < points.size(); ++k) {
        if (points[k].Mileage < points[k - 1].Mileage) {
            return KeyWith(roadkeys::GradeOrder, {Row(k), Chainage(points[k].Mileage)});
        }
    }
    return Key(roadkeys::ProfileRefused);
}

// An arithmetic fault of the preparation comes from a circle of radius 0 under spirals.
RoadMessage ArithmeticFault(const std::vector<PlaneInfo>& chain) {
    for (std::size_t k = 0; k < chain.size(); ++k) {
        if (chain[k].LineType == LineTypeCircle && chain[k].StartRadius == 0) {
            return KeyWith(roadkeys::ElementRadiusZero, {Row(k)});
        }
    }
    return Key(roadkeys::WrongFormat);
}

// Matches `text` against `pattern`, where each "%s" stands for any text; the texts they stood
// for go to `fields`.
bool MatchPattern(std::string_view pattern, std::string_view text,
                  std::vector<std::string>& fields) {
    fields.clear();
    std::vector<std::string_view> pieces;
    for (std::size_t start = 0;;) {
        const auto at = pattern.find("%s", start);
        pieces.push_back(pattern.substr(start, at - start));
        if (at == std::string_view::npos)
            break;
        start = at + 2;
    }
    if (!text.starts_with(pieces.front()))
        return false;
    std::size_t pos = pieces.front().size();
    for (std::size_t i = 1; i < pieces.size(); ++i) {
        // The last piece ends the text; the others are found from the left.
        const std::size_t at =
            i + 1 == pieces.size()
                ? (text.size() >= pieces[i].size() && text.ends_with(pieces[i]) &&
                           text.size() - pieces[i].size() >= pos
                       ? text.size() - pieces[i].size()
                       : std::string_view::npos)
                : text.find(pieces[i], pos);
        if (at == std::string_view::npos)
            return false;
        fields.emplace_back(text.substr(pos, at - pos));
        pos = at + pieces[i].size();
    }
    return pos == text.size();
}

// "MainPile error N Data Type is wrong at I": the preparation's refusal at element I.
std::optional<std::size_t> RefusedAt(std::string_view text) {
    static constexpr std::string_view lead = "MainPile error ";
    static constexpr std::string_view at = " Data Type is wrong at ";
    const std::size_t where = text.find(at);
    if (!text.starts_with(lead) || where == std::string_view::npos)
        return std::nullopt;
    try {
        const long long index = parse_int(text.substr(where + at.size()));
        if (index < 0)
            return std::nullopt;
        return static_cast<std::size_t>(index);
    } catch (const ConversionError&) {
        return std::nullopt;
    }
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

std::string FillMessage(std::string_view pattern, const std::vector<std::string>& args) {
    return fill_places(pattern, args);
}

RoadMessage MessageOfText(const std::string& gbk) {
    static constexpr std::pair<const char*, const char*> kTexts[] = {
        {roadtexts::TooFewElements, roadkeys::TooFewElements},
        {roadtexts::PlaneRefused, roadkeys::PlaneRefused},
        {roadtexts::ProfileRefused, roadkeys::ProfileRefused},
    };
    std::vector<std::string> fields;
    for (const auto& [pattern, key] : kTexts) {
        if (MatchPattern(pattern, gbk, fields))
            return KeyWith(key, std::move(fields));
    }
    if (const std::optional<std::size_t> at = RefusedAt(gbk))
        return KeyWith(roadkeys::ElementOrder, {Row(*at)});
    return Text(gbk);
}

std::vector<RoadMessage> LoadMessages(const LoadOutcome& outcome, const std::string& file_name) {
    std::vector<RoadMessage> messages;
    for (int i = 0; i < outcome.WrongFormat; ++i) {
        const std::size_t k = static_cast<std::size_t>(i);
        messages.push_back(
            k < outcome.WrongLines.size()
                ? KeyWith(roadkeys::FileLineWrong,
                          {format_int(static_cast<long long>(outcome.WrongLines[k])), file_name})
                : Key(roadkeys::WrongFormat));
    }
    return messages;
}

std::optional<RoadMessage> SaveMessage(SaveStatus status, const std::string& file_name,
                                       const std::string& error) {
    switch (status) {
    case SaveStatus::NothingToSave:
        return std::nullopt;
    case SaveStatus::Saved:
        return KeyWith(roadkeys::Saved, {file_name});
    case SaveStatus::Failed: {
        // The file system's reason comes after the name of the file it was about.
        const std::size_t colon = error.rfind(": ");
        return KeyWith(roadkeys::SaveFailed,
                       {file_name, colon == std::string::npos ? error : error.substr(colon + 2)});
    }
    }
    return std::nullopt;
}

RoadState& EditRoadState(RoadData& data) {
    return data.s_;
}

const RoadState& EditRoadState(const RoadData& data) {
    return data.s_;
}

void RoadData::SwitchAlignment(RoadList page) {
    if (page == RoadList::Intersections && s_.InputMode == RoadList::Elements) {
        s_.PlaneElements.clear();
        s_.PlanePrepared = false;
        s_.InputMode = RoadList::Intersections;
    } else if (page == RoadList::Elements && s_.InputMode == RoadList::Intersections) {
        s_.IntersectionPoints.clear();
        s_.PlanePrepared = false;
        s_.InputMode = RoadList::Elements;
    }
}

void RoadData::InsertPoint(std::size_t at, const IntersectionPointInfo& point) {
    InsertAt(s_.IntersectionPoints, at, point);
    s_.InputMode = RoadList::Intersections;
    s_.PlanePrepared = false;
}

void RoadData::InsertElement(std::size_t at, const PlaneInfo& element) {
    InsertAt(s_.PlaneElements, at, element);
    s_.InputMode = RoadList::Elements;
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
    s_.InputMode = RoadList::Intersections;
    s_.PlanePrepared = false;
    return true;
}

bool RoadData::UpdateElement(std::size_t k, const PlaneInfo& element) {
    if (!ReplaceAt(s_.PlaneElements, k, element))
        return false;
    s_.InputMode = RoadList::Elements;
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

bool RoadData::Remove(RoadList page, std::size_t k) {
    switch (page) {
    case RoadList::Intersections:
        if (!RemoveAt(s_.IntersectionPoints, k))
            return false;
        s_.PlanePrepared = false;
        return true;
    case RoadList::Elements:
        if (!RemoveAt(s_.PlaneElements, k))
            return false;
        s_.PlanePrepared = false;
        return true;
    case RoadList::Profile:
        if (!RemoveAt(s_.GradePoints, k))
            return false;
        s_.ProfileChanged = true;
        return true;
    case RoadList::Stakes:
        return RemoveAt(s_.Stakes, k);
    }
    return false;
}

void RoadData::ClearAll() {
    s_ = RoadState{};
    Engine.Clear();
}

double RoadData::StationOf(double chainage) const {
    return s_.Stations ? s_.Stations->ToStation(chainage) : chainage;
}

std::optional<double> RoadData::ChainageOf(double station) const {
    return s_.Stations ? s_.Stations->ToInternal(station) : std::optional<double>(station);
}

std::vector<double> RoadData::StakesFromStations() {
    std::vector<double> left_out;
    if (!s_.Stations)
        return left_out;
    std::vector<Pile> kept;
    for (Pile stake : s_.Stakes) {
        if (const std::optional<double> chainage = s_.Stations->ToInternal(stake.Mileage)) {
            stake.Mileage = *chainage;
            kept.push_back(stake);
        } else {
            left_out.push_back(stake.Mileage);
        }
    }
    s_.Stakes = std::move(kept);
    return left_out;
}

void RoadData::LoadDesign(std::vector<PlaneInfo> chain, std::vector<LongSlopesInfo> profile,
                          std::string name, std::optional<Stationing> stations) {
    s_.DesignName = std::move(name);
    s_.Stations = std::move(stations);
    s_.IntersectionPoints.clear();
    s_.PlaneElements = std::move(chain);
    s_.InputMode = RoadList::Elements;
    s_.PlanePrepared = true;
    s_.EngineReady = false;
    if (!profile.empty()) {
        s_.GradePoints = std::move(profile);
        s_.ProfileChanged = true;
    }
}

void RoadData::BeginChange() {
    if (change_depth_++ == 0)
        before_change_ = Snapshot{s_, Engine};
}

void RoadData::EndChange() {
    if (change_depth_ == 0 || --change_depth_ > 0 || !before_change_)
        return;
    Snapshot before = *std::move(before_change_);
    before_change_.reset();
    if (before.State == s_)
        return; // a command that changed nothing (cancelled, refused) is no step
    history_.push(std::move(before));
}

void RoadData::SwapWith(Snapshot& other) {
    std::swap(other.State, s_);
    std::swap(other.Engine, Engine);
}

void RoadData::Undo() {
    if (history_.can_undo())
        SwapWith(history_.undo());
}

void RoadData::Redo() {
    if (history_.can_redo())
        SwapWith(history_.redo());
}

void RoadData::MarkSaved(RoadList page) {
    switch (page) {
    case RoadList::Intersections:
        saved_.IntersectionPoints = s_.IntersectionPoints;
        break;
    case RoadList::Elements:
        saved_.PlaneElements = s_.PlaneElements;
        break;
    case RoadList::Profile:
        saved_.GradePoints = s_.GradePoints;
        break;
    case RoadList::Stakes:
        saved_.Stakes = s_.Stakes;
        break;
    }
}

bool RoadData::PageUnsaved(RoadList page) const {
    switch (page) {
    case RoadList::Intersections:
        return !s_.IntersectionPoints.empty() && s_.IntersectionPoints != saved_.IntersectionPoints;
    case RoadList::Elements:
        return !s_.PlaneElements.empty() && s_.PlaneElements != saved_.PlaneElements;
    case RoadList::Profile:
        return !s_.GradePoints.empty() && s_.GradePoints != saved_.GradePoints;
    case RoadList::Stakes:
        return !s_.Stakes.empty() && s_.Stakes != saved_.Stakes;
    }
    return false;
}

bool RoadData::HasUnsavedChanges() const {
    for (RoadList page :
         {RoadList::Intersections, RoadList::Elements, RoadList::Profile, RoadList::Stakes})
        if (PageUnsaved(page))
            return true;
    return false;
}

std::size_t RoadData::Count(RoadList page) const {
    switch (page) {
    case RoadList::Intersections:
        return s_.IntersectionPoints.size();
    case RoadList::Elements:
        return s_.PlaneElements.size();
    case RoadList::Profile:
        return s_.GradePoints.size();
    case RoadList::Stakes:
        return s_.Stakes.size();
    }
    return 0;
}

CalculationOutcome RoadData::Calculate(const StartPoint& boxes) {
    double startChainage = 0;
    double offset = 0;
    try {
        startChainage = boxes.Chainage.empty() ? 0.0 : parse_double(boxes.Chainage);
        offset = trim(boxes.Offset).empty() ? 0.0 : parse_double(boxes.Offset);
    } catch (const ConversionError& e) {
        return Stop(CalculationStatus::StartNotNumber, Text(e.what()));
    }
    CalculationOutcome outcome;
    try {
        outcome = s_.InputMode == RoadList::Intersections
                      ? CalculateIntersections(startChainage, offset)
                      : CalculateElements(boxes, startChainage, offset);
    } catch (const ConversionError& e) {
        outcome = WrongFormat(e.what());
    } catch (const ArithmeticError& e) {
        outcome = Stop(CalculationStatus::WrongFormat, ArithmeticFault(s_.PlaneElements), e.what());
    }
    if (outcome.Refused()) {
        ClearResults(outcome);
    }
    return outcome;
}

void RoadData::ClearResults(CalculationOutcome& outcome) {
    for (Pile& stake : s_.Stakes) {
        stake = StakeAt(stake.Mileage);
    }
    if (s_.InputMode == RoadList::Intersections) {
        // The elements and the curve values were computed from the points; what was typed in
        // (names, coordinates, the start chainage, radii, spirals) stays.
        s_.PlaneElements.clear();
        s_.PlanePrepared = false;
        for (IntersectionPointInfo& p : s_.IntersectionPoints) {
            p.Direction.clear();
            p.DeflectionAngle = p.TangentLength1 = p.TangentLength2 = 0;
            p.CurveLength = p.ExternalLength = 0;
            p.ZH = p.HY = p.YH = p.HZ = 0;
        }
    }
    s_.EngineReady = false;
    outcome.RefillIntersections = s_.InputMode == RoadList::Intersections;
    outcome.RefillElements = true;
    outcome.RefillStakes = true;
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

CalculationOutcome RoadData::CalculateElements(const StartPoint& boxes, double startChainage,
                                               double offset) {
    if (s_.PlaneElements.empty()) {
        return Stop(CalculationStatus::DataEmpty, Key(roadkeys::DataEmpty));
    }
    // A start box changed since the chain was prepared with it: prepare the chain as it was
    // entered again, so that the new value reaches the first element and every point computed
    // from it.
    const std::vector<std::string> startBoxes{std::string(trim(boxes.North)),
                                              std::string(trim(boxes.East)),
                                              std::string(trim(boxes.Azimuth))};
    if (s_.PlanePrepared && !s_.EnteredElements.empty() && s_.PreparedWithBoxes != startBoxes) {
        s_.PlaneElements = s_.EnteredElements;
        s_.PlanePrepared = false;
    }
    std::vector<PlaneInfo> entered;
    if (!s_.PlanePrepared) {
        entered = s_.PlaneElements;
    }
    // The start-point boxes fill in what the first element lacks.
    PlaneInfo& first = s_.PlaneElements.front();
    if (first.North == 0 && !boxes.North.empty()) {
        first.North = parse_double(boxes.North);
    }
    if (first.East == 0 && !boxes.East.empty()) {
        first.East = parse_double(boxes.East);
    }
    if (first.AzimuthAngle == 0 && !boxes.Azimuth.empty()) {
        first.AzimuthAngle = parse_double(boxes.Azimuth);
    }
    if (!s_.PlanePrepared) {
        std::string message;
        if (!PrepareLineElements(message)) {
            return Stop(CalculationStatus::WrongFormat, MessageOfText(message), message);
        }
        s_.PlanePrepared = true;
        s_.EnteredElements = std::move(entered);
        s_.PreparedWithBoxes = startBoxes;
    }
    CalculationOutcome outcome =
        CalculateAlong(startChainage, EngineChain(s_.PlaneElements), offset);
    if (!outcome.Refused()) {
        outcome.RefillElements = true;
        outcome.RefillStakes = true;
    }
    return outcome;
}

CalculationOutcome RoadData::CalculateAlong(double startChainage,
                                            const std::vector<PlaneInfo>& chain, double offset) {
    if (!Engine.SetPlaneElements(startChainage, chain)) {
        return Stop(CalculationStatus::PlaneRefused, PlaneFault(s_.PlaneElements));
    }
    if (!SendProfile()) {
        return Stop(CalculationStatus::ProfileRefused, ProfileFault(s_.GradePoints));
    }
    Engine.Mode = 1;
    s_.EngineReady = true;
    CalculationOutcome outcome;
    CalculateStakes(offset, outcome);
    return outcome;
}

CalculationOutcome RoadData::CalculateIntersections(double startChainage, double offset) {
    if (s_.IntersectionPoints.empty()) {
        return Stop(CalculationStatus::DataEmpty, Key(roadkeys::DataEmpty));
    }
    // A spiral cannot turn by more than a half circle.
    for (const IntersectionPointInfo& p : s_.IntersectionPoints) {
        const double longest = Pi * p.Radius + 0.1;
        for (const double spiral : {p.ClothoidLength1, p.ClothoidLength2}) {
            if (!(spiral <= longest)) {
                return Stop(CalculationStatus::WrongFormat,
                            KeyWith(roadkeys::SpiralTooLongForRadius,
                                    {p.Name, format_general(spiral), format_general(longest)}),
                            "spiral too long at " + p.Name);
            }
        }
    }
    s_.EngineReady = false;
    if (!s_.PlanePrepared) {
        IpMessage message;
        if (!IntersectionPointCalculate(startChainage, s_.IntersectionPoints, s_.PlaneElements,
                                        message)) {
            // No message: the method met a value that is not a finite number.
            if (message.empty()) {
                return WrongFormat("arithmetic fault in the intersection-point method");
            }
            if (message.Key == ipkeys::PointsTooClose) {
                // The method does not say which: the first pair on the same spot is named.
                const auto& p = s_.IntersectionPoints;
                for (std::size_t i = 0; i + 2 < p.size(); ++i) {
                    if (std::hypot(p[i].North - p[i + 1].North, p[i].East - p[i + 1].East) <
                        0.00001) {
                        return Stop(CalculationStatus::IntersectionRefused,
                                    KeyWith(roadkeys::PointsCoincide, {p[i].Name, p[i + 1].Name}));
                    }
                }
            }
            return Stop(CalculationStatus::IntersectionRefused,
                        RoadMessage{true, std::move(message.Key), std::move(message.Names)});
        }
    }
    if (s_.PlaneElements.empty()) {
        return Stop(CalculationStatus::NoElements, std::nullopt);
    }
    CalculationOutcome outcome = CalculateAlong(startChainage, s_.PlaneElements, offset);
    if (!outcome.Refused()) {
        s_.PlanePrepared = true;
        outcome.RefillIntersections = true;
        outcome.RefillElements = true;
        outcome.RefillStakes = true;
    }
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
    std::optional<double> firstFailed;
    for (Pile& stake : s_.Stakes) {
        // A stake the road does not reach keeps no values from an earlier road: its cells are
        // left empty rather than showing 0,0 or a position that is no longer true.
        Pile result = StakeAt(stake.Mileage);
        if (!CalculateStake(result, offset)) {
            result = StakeAt(stake.Mileage);
            ++outcome.FailedStakes;
            if (!firstFailed) {
                firstFailed = stake.Mileage;
            }
        }
        stake = result;
    }
    if (firstFailed) {
        outcome.Message = KeyWith(
            roadkeys::StakesOutOfRange,
            {format_int(static_cast<long long>(outcome.FailedStakes)), Chainage(*firstFailed)});
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

std::optional<RoadQuestion> RoadData::LoadQuestion(RoadList page) const {
    if (page == RoadList::Intersections && s_.InputMode == RoadList::Elements) {
        return RoadQuestion{roadkeys::ClearMainPileTitle, roadkeys::ClearMainPileDesc};
    }
    if (page == RoadList::Elements && s_.InputMode == RoadList::Intersections) {
        return RoadQuestion{roadkeys::ClearIntersectionTitle, roadkeys::ClearIntersectionDesc};
    }
    return std::nullopt;
}

LoadOutcome RoadData::Load(RoadList page, const std::string& path) {
    LoadOutcome outcome;
    std::optional<std::string> bytes;
    if (page == RoadList::Stakes || UpperExtension(path) == DefaultExtension(page)) {
        bytes = read_file_bytes(path, &outcome.ReadError);
        if (!bytes) {
            outcome.ReadFailed = true;
            return outcome;
        }
        outcome.Read = true;
    }
    if (page == RoadList::Intersections || page == RoadList::Elements) {
        s_.DesignName.clear();
        s_.Stations.reset();
    }
    switch (page) {
    case RoadList::Intersections:
        s_.PlaneElements.clear();
        if (bytes) {
            IntersectionFileData data = ReadIntersectionFile(*bytes);
            s_.IntersectionPoints = std::move(data.Points);
            outcome.WrongFormat = data.WrongFormat;
            outcome.WrongLines = std::move(data.WrongLines);
            outcome.Boxes = std::move(data.Boxes);
        }
        s_.InputMode = RoadList::Intersections;
        s_.PlanePrepared = false;
        break;
    case RoadList::Elements:
        s_.IntersectionPoints.clear();
        s_.PlaneElements.clear();
        if (bytes) {
            ElementFileData data = ReadElementFile(*bytes);
            s_.PlaneElements = std::move(data.Elements);
            outcome.WrongFormat = data.WrongFormat;
            outcome.WrongLines = std::move(data.WrongLines);
            outcome.Boxes = std::move(data.Boxes);
        }
        s_.InputMode = RoadList::Elements;
        s_.PlanePrepared = false;
        break;
    case RoadList::Profile:
        if (bytes) {
            GradePointFileData data = ReadGradePointFile(*bytes);
            s_.GradePoints = std::move(data.Points);
            outcome.WrongFormat = data.WrongFormat;
            outcome.WrongLines = std::move(data.WrongLines);
        }
        s_.ProfileChanged = true;
        break;
    case RoadList::Stakes: {
        StakeFileData data = ReadStakeFile(*bytes);
        s_.Stakes = std::move(data.Stakes);
        outcome.WrongFormat = data.WrongFormat;
        outcome.WrongLines = std::move(data.WrongLines);
        break;
    }
    }
    return outcome;
}

std::optional<std::string> RoadData::FileText(RoadList page, const RoadColumnTitles& titles) const {
    switch (page) {
    case RoadList::Intersections:
        return IntersectionFileText(s_.IntersectionPoints, titles);
    case RoadList::Elements:
        return ElementFileText(s_.PlaneElements, titles);
    case RoadList::Profile:
        return GradePointFileText(s_.GradePoints, titles);
    case RoadList::Stakes:
        if (s_.Stations) {
            std::vector<Pile> stakes = s_.Stakes;
            for (Pile& p : stakes)
                p.Mileage = s_.Stations->ToStation(p.Mileage);
            return StakeFileText(stakes, titles);
        }
        return StakeFileText(s_.Stakes, titles);
    }
    return std::nullopt;
}

SaveStatus RoadData::Save(RoadList page, const std::string& path, const RoadColumnTitles& titles,
                          std::string* error) const {
    const std::optional<std::string> text = FileText(page, titles);
    if (!text) {
        return SaveStatus::NothingToSave;
    }
    return write_file_atomic(path, *text, error) ? SaveStatus::Saved : SaveStatus::Failed;
}

} // namespace telvane::road
