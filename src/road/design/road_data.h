// The road window's data without the window: the alignment (intersection points or line
// elements), the profile, the stakes, the flags that say what has to be redone, the geometry
// engine, and the commands that calculate, load and save them. Every message a command shows is
// returned as an outcome for the caller to show.
#pragma once

#include "road/design/road_files.h"
#include "road/design/stations.h"
#include "road/engine/design_axis_calculate.h"
#include "road/engine/road_records.h"

#include "model/history.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace telvane::road {

// A message for the plain message box: the text of a language key, or a text of its own (GBK).
// A key's text takes Args (GBK) in place of its "%s" marks, in order: the name or row of what is
// at fault, the value, the stake.
struct RoadMessage {
    bool IsKey = false;
    std::string Text;
    std::vector<std::string> Args = {};

    bool operator==(const RoadMessage&) const = default;
};

// `pattern` (a key's text) with each "%s" replaced by the next of `args`; the same bytes go in
// and come out, so GBK stays GBK and UTF-8 stays UTF-8.
std::string FillMessage(std::string_view pattern, const std::vector<std::string>& args);

// The message for one of the texts the intersection-point method and the preparation carry
// themselves: its language key with the names it holds, or the text as it is when none fits.
RoadMessage MessageOfText(const std::string& gbk);

enum class CalculationStatus {
    Done,                // the stakes were calculated (Data_OutLimit when some were outside)
    DataEmpty,           // no elements or no intersection points: data_empty
    WrongFormat,         // refused chain, bad start box, arithmetic fault: wrong_format
    IntersectionRefused, // the intersection-point method's own message
    PlaneRefused,        // the engine refused the alignment
    ProfileRefused,      // the engine refused the profile
    NoElements,          // the intersection points gave no elements: stopped without a message
    StartNotNumber,      // the start chainage or the offset is not a number: the program's
                         // error box with the conversion error, nothing changed
};

struct CalculationOutcome {
    CalculationStatus Status = CalculationStatus::Done;
    std::optional<RoadMessage> Message; // what the window shows, if anything
    std::string Detail;                 // why, where the window does not say (for diagnostics)
    std::size_t FailedStakes = 0;
    // The tables to refill from their lists. A refused calculation clears the results it would
    // have replaced (stake values, the elements it computes, the engine's alignment), so the
    // tables are refilled and the pictures emptied then too.
    bool RefillIntersections = false;
    bool RefillElements = false;
    bool RefillStakes = false;

    // The calculation stopped without computing the stakes.
    bool Refused() const { return Status != CalculationStatus::Done; }
};

// A question to ask with the confirmation dialog (title and text keys).
struct RoadQuestion {
    const char* TitleKey;
    const char* TextKey;
};

struct LoadOutcome {
    bool ReadFailed = false; // the file could not be read: nothing changed (ReadError says why)
    std::string ReadError;
    bool Read = false;                   // the file was read (its extension suits the page)
    int WrongFormat = 0;                 // times to show the text of wrong_format
    std::vector<std::size_t> WrongLines; // the file's line of each, where there is one
    std::optional<StartPoint> Boxes;     // the start the file gives (chainage to azimuth)
};

enum class SaveStatus {
    NothingToSave, // the list is empty: nothing written, no message
    Saved,         // "Saved: FILE" (road_saved)
    Failed,        // "Could not save FILE: reason" (road_save_failed)
};

// The messages of a load of `file_name` (GBK): each refused line named with its number, the
// text of wrong_format where there is no line to name.
std::vector<RoadMessage> LoadMessages(const LoadOutcome& outcome, const std::string& file_name);

// The message after a save of `file_name` (GBK) with `status`; nothing for NothingToSave.
std::optional<RoadMessage> SaveMessage(SaveStatus status, const std::string& file_name,
                                       const std::string& error);

// The lists and the flags that say what has to be redone.
struct RoadState {
    std::vector<IntersectionPointInfo> IntersectionPoints;
    std::vector<PlaneInfo> PlaneElements;
    std::vector<LongSlopesInfo> GradePoints;
    std::vector<Pile> Stakes;
    // The list the alignment is given in: intersection points or line elements, or nothing yet.
    std::optional<RoadList> InputMode;
    bool PlanePrepared = false;  // the alignment was prepared since its last change
    bool ProfileChanged = false; // the grade points changed since the engine last took them
    bool EngineReady = false;    // the engine took the alignment and may be asked for stakes
    // The element chain as it was before its last preparation, and the start boxes (North,
    // East, azimuth) it was prepared with: a box changed after a calculation is taken by the
    // next one from this chain, since the preparation has turned the first element's computed
    // neighbours into given points. Valid while PlanePrepared stays true.
    std::vector<PlaneInfo> EnteredElements;
    std::vector<std::string> PreparedWithBoxes;
    // A design read from LandXML: its name and its stations. Its stakes are kept as chainages
    // along the axis and typed, shown and saved as stations.
    std::string DesignName;
    std::optional<Stationing> Stations;

    bool operator==(const RoadState&) const = default;
};

class RoadData;
// Direct access to the lists and flags, for tests that build a state the operations reach only
// in many steps. The program changes them through the operations alone.
RoadState& EditRoadState(RoadData& data);
const RoadState& EditRoadState(const RoadData& data);

class RoadData {
public:
    DesignAxisCalculate Engine;

    const RoadState& State() const { return s_; }
    const std::vector<IntersectionPointInfo>& IntersectionPoints() const {
        return s_.IntersectionPoints;
    }
    const std::vector<PlaneInfo>& PlaneElements() const { return s_.PlaneElements; }
    const std::vector<LongSlopesInfo>& GradePoints() const { return s_.GradePoints; }
    const std::vector<Pile>& Stakes() const { return s_.Stakes; }
    std::optional<RoadList> InputMode() const { return s_.InputMode; }
    bool PlanePrepared() const { return s_.PlanePrepared; }
    bool ProfileChanged() const { return s_.ProfileChanged; }
    bool EngineReady() const { return s_.EngineReady; }
    const std::string& DesignName() const { return s_.DesignName; }
    const std::optional<Stationing>& Stations() const { return s_.Stations; }
    // The station of a chainage along the axis; the chainage itself without station equations.
    double StationOf(double chainage) const;
    // The chainage of a station; nothing for a station the design does not have.
    std::optional<double> ChainageOf(double station) const;

    // ---- Editing: every change of a list, with the input mode and the flags it implies ----

    // After the question of LoadQuestion was confirmed for adding an intersection point or a
    // line element: empties the list of the other way of giving the alignment.
    void SwitchAlignment(RoadList page);
    // Records in the list of `page`, in front of index `at` (at the size: at the end).
    void InsertPoint(std::size_t at, const IntersectionPointInfo& point);
    void InsertElement(std::size_t at, const PlaneInfo& element);
    void InsertGradePoint(std::size_t at, const LongSlopesInfo& grade);
    void InsertStake(std::size_t at, const Pile& stake);
    // Replaces record k (an Update); false when there is none.
    bool UpdatePoint(std::size_t k, const IntersectionPointInfo& point);
    bool UpdateElement(std::size_t k, const PlaneInfo& element);
    bool UpdateGradePoint(std::size_t k, const LongSlopesInfo& grade);
    bool UpdateStake(std::size_t k, const Pile& stake);
    // Removes record k of the page's list; false when there is none.
    bool Remove(RoadList page, std::size_t k);
    // The Clear command: every list, the input mode and the flags, and the engine.
    void ClearAll();
    // A design read from an exchange file (LandXML): the element chain as the engine takes it,
    // complete with chainages and azimuths, so the line-element preparation does not run on it
    // (PlanePrepared is set), and the profile when it has points (otherwise the grade points
    // stay). The intersection points are emptied; the input mode is line elements. The design's
    // name and stations replace any before; the stakes stay at their chainages.
    void LoadDesign(std::vector<PlaneInfo> chain, std::vector<LongSlopesInfo> profile,
                    std::string name = {}, std::optional<Stationing> stations = {});
    // The number of records on a page.
    std::size_t Count(RoadList page) const;

    // ---- Undo and redo: every change of the lists, as the user made it ----

    // A change as one command makes it: the state before BeginChange and after the last
    // EndChange is one step of the history (adding a point after switching the alignment's
    // form is one step). A bracket that changed nothing leaves no step. Brackets may nest.
    void BeginChange();
    void EndChange();
    bool CanUndo() const { return history_.can_undo(); }
    bool CanRedo() const { return history_.can_redo(); }
    // The lists, the flags and the engine as they were before the last change, or after it.
    void Undo();
    void Redo();
    // The page's list is what its file holds (a Load, a Save): undoing back to it makes it
    // saved again.
    void MarkSaved(RoadList page);
    // A page holds records that are in no file as they stand.
    bool PageUnsaved(RoadList page) const;
    bool HasUnsavedChanges() const;

    // The calculation command: prepares or converts the alignment, hands it and the profile to
    // the engine and calculates every stake.
    CalculationOutcome Calculate(const StartPoint& boxes);

    // PlaneElements through the line-element preparation (see line_elements.h).
    bool PrepareLineElements(std::string& message);
    bool ComputeCurveGroup(std::size_t s, std::size_t e);

    // One stake at its Mileage: false without asking the engine until it is ready.
    bool CalculateStake(Pile& stake, double offset) const;

    // The question to ask before loading or adding on `page` while the other way of giving the
    // alignment is in use (answered with cancel, nothing changes), if any.
    std::optional<RoadQuestion> LoadQuestion(RoadList page) const;
    // Loads the file at `path` into the page's list, with the mode and flag changes of a load;
    // call it after LoadQuestion was confirmed. Only a file with the list's extension is read for
    // every list but the stakes (in any letter case); a stake file may have any extension. An
    // alignment loaded from its own file is no longer a LandXML design.
    LoadOutcome Load(RoadList page, const std::string& path);
    // The stakes, read as the design's stations, at their chainages along the axis; a station the
    // design does not have is left out and returned. Nothing changes without stations.
    std::vector<double> StakesFromStations();

    // The file text of the page's list, or nothing for an empty list; stakes under the design's
    // stations.
    std::optional<std::string> FileText(RoadList page, const RoadColumnTitles& titles) const;
    // Writes the page's list to `path` (replacing the file only once it is written whole).
    SaveStatus Save(RoadList page, const std::string& path, const RoadColumnTitles& titles,
                    std::string* error = nullptr) const;

private:
    // The state on the other side of a change: the lists, the flags and the engine.
    struct Snapshot {
        RoadState State;
        DesignAxisCalculate Engine;
    };
    void SwapWith(Snapshot& other);
    History<Snapshot> history_{50};
    int change_depth_ = 0;
    std::optional<Snapshot> before_change_;
    // Each page's list as its file holds it (empty: no file).
    RoadState saved_;

    friend RoadState& EditRoadState(RoadData& data);
    friend const RoadState& EditRoadState(const RoadData& data);
    const RoadState& EditRoadState(const RoadData& data);
    RoadState s_;

    static std::vector<PlaneInfo> EngineChain(const std::vector<PlaneInfo>& elements);
    CalculationOutcome CalculateElements(const StartPoint& boxes, double startChainage,
                                         double offset);
    CalculationOutcome CalculateIntersections(double startChainage, double offset);
    // Hands `chain` and the profile to the engine and calculates every stake; stops with the
    // fault named when the engine refuses either.
    CalculationOutcome CalculateAlong(double startChainage, const std::vector<PlaneInfo>& chain,
                                      double offset);
    // Hands the profile to the engine when it changed; false when refused.
    bool SendProfile();
    // After a refusal: no stake keeps a result, no element computed from the intersection points
    // stays, and the engine is not asked again until a calculation succeeds.
    void ClearResults(CalculationOutcome& outcome);
    void CalculateStakes(double offset, CalculationOutcome& outcome);
};

} // namespace telvane::road
