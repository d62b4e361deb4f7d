#include "road_command.h"

#include "model/filebytes.h"
#include "plot/picture.h"

#include "encoding.h"
#include "options.h"
#include "road/design/road_design.h"
#include "road/landxml/road_design_io.h"
#include "road_check_command.h"

#include "model/numtext.h"

#include <cmath>
#include <filesystem>
#include <limits>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

namespace telvane::cli {
namespace {

using road::RoadData;

// A message of the road calculation in words: a key's text, or one of the texts the calculation
// carries itself (in the program's code page) with the key the language file gives it.
std::string MessageText(const CliTexts& texts, const road::RoadMessage& m) {
    return texts.road_message(m);
}

struct RoadOptions {
    std::optional<std::string> phi, sec, landxml, alignment, pvi, stakes;
    std::optional<std::string> startChainage, startNorth, startEast, startAzimuth, offset;
    std::optional<std::string> stakesOut, elementsOut, pointsOut, landxmlOut;
    std::optional<std::string> planOut, profileOut;
    // The check of measured points against the road.
    std::optional<std::string> check, tolerancePlan, toleranceHeight, arrowFactor, order;
};

std::optional<RoadOptions> ParseRoadOptions(int argc, char** argv, UsageError& error) {
    RoadOptions o;
    const std::map<std::string_view, std::optional<std::string> RoadOptions::*> names = {
        {"--phi", &RoadOptions::phi},
        {"--sec", &RoadOptions::sec},
        {"--landxml", &RoadOptions::landxml},
        {"--alignment", &RoadOptions::alignment},
        {"--landxml-out", &RoadOptions::landxmlOut},
        {"--pvi", &RoadOptions::pvi},
        {"--stakes", &RoadOptions::stakes},
        {"--start-chainage", &RoadOptions::startChainage},
        {"--start-north", &RoadOptions::startNorth},
        {"--start-east", &RoadOptions::startEast},
        {"--start-azimuth", &RoadOptions::startAzimuth},
        {"--offset", &RoadOptions::offset},
        {"-o", &RoadOptions::stakesOut},
        {"--elements", &RoadOptions::elementsOut},
        {"--points", &RoadOptions::pointsOut},
        {"--plan", &RoadOptions::planOut},
        {"--profile", &RoadOptions::profileOut},
        {"--check", &RoadOptions::check},
        {"--tolerance-plan", &RoadOptions::tolerancePlan},
        {"--tolerance-height", &RoadOptions::toleranceHeight},
        {"--arrow-factor", &RoadOptions::arrowFactor},
        {"--order", &RoadOptions::order},
    };
    for (int i = 2; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const auto it = names.find(arg);
        if (it == names.end()) {
            error = {"cli_unknown_option", std::string(arg)};
            return std::nullopt;
        }
        if (i + 1 >= argc) {
            error = {"cli_needs_value", std::string(arg)};
            return std::nullopt;
        }
        o.*(it->second) = argv[++i];
    }
    if (int(o.phi.has_value()) + int(o.sec.has_value()) + int(o.landxml.has_value()) != 1) {
        error = {"cli_road_alignment", "road"};
        return std::nullopt;
    }
    // A check needs no stakes: its points say where they are.
    if (!o.stakes && !o.check) {
        error = {"cli_road_stakes", "road"};
        return std::nullopt;
    }
    // Tolerances are lengths of zero or more; the factor is more than zero.
    for (const auto& [option, name, zeroAllowed] :
         {std::tuple{&o.tolerancePlan, "--tolerance-plan", true},
          std::tuple{&o.toleranceHeight, "--tolerance-height", true},
          std::tuple{&o.arrowFactor, "--arrow-factor", false}}) {
        double v = 0;
        if (*option && (!try_parse_double(**option, v) || v < 0 || (v == 0 && !zeroAllowed))) {
            error = {"cli_bad_value", std::string(name) + " " + **option};
            return std::nullopt;
        }
    }
    if (o.order && *o.order != "nez" && *o.order != "enz") {
        error = {"cli_bad_value", "--order " + *o.order};
        return std::nullopt;
    }
    return o;
}

enum class Loaded { Whole, Incomplete, Unreadable };

// Loads one file as the window's Load command does on `page`.
Loaded LoadPage(RoadData& data, RoadList page, const std::string& path, road::StartPoint& boxes,
                const CliTexts& texts, std::ostream& err) {
    const road::LoadOutcome o = data.Load(page, path);
    if (o.ReadFailed) {
        if (std::filesystem::exists(path))
            err << texts.message(path, "file_read_error", o.ReadError);
        else
            err << texts.message(path, "file_not_exist");
        return Loaded::Unreadable;
    }
    if (!o.Read) {
        err << texts.message(path, "cli_not_road_file", road::DefaultExtension(page));
    }
    for (int k = 0; k < o.WrongFormat; ++k) {
        err << texts.message(path, road::roadkeys::WrongFormat);
    }
    if (o.Boxes) {
        boxes.Chainage = o.Boxes->Chainage;
        boxes.North = o.Boxes->North;
        boxes.East = o.Boxes->East;
        boxes.Azimuth = o.Boxes->Azimuth;
    }
    return o.WrongFormat == 0 ? Loaded::Whole : Loaded::Incomplete;
}

// Writes the page's list; false when the file could not be written.
bool SavePage(const RoadData& data, RoadList page, const std::string& path,
              const road::RoadColumnTitles& titles, const CliTexts& texts, std::ostream& err) {
    std::string error;
    switch (data.Save(page, path, titles, &error)) {
    case road::SaveStatus::NothingToSave:
        err << texts.message(path, "no_data_to_save");
        return true;
    case road::SaveStatus::Saved:
        return true;
    case road::SaveStatus::Failed:
        break;
    }
    err << texts.message(path, "cli_cannot_write", error);
    return false;
}

// Reads the alignment (and its profile) of a LandXML file into the road data.
std::optional<road::landxml::Alignment> LoadLandXml(RoadData& data, const std::string& path,
                                                    const std::optional<std::string>& name,
                                                    const CliTexts& texts, std::ostream& err) {
    road::landxml::DesignLoad load =
        road::landxml::load_design(data, path, utf8_to_gbk(name.value_or("")));
    if (load.Design)
        return std::move(load.Design);
    if (load.Error.Key == "file_read_error" && !std::filesystem::exists(path))
        err << texts.message(path, "file_not_exist");
    else if (load.Error.Key == "file_read_error")
        err << texts.message(path, "file_read_error", load.ReadError);
    else
        err << texts.message(path, load.Error.Key, gbk_to_utf8(load.Error.Subject));
    for (const std::string& choice : load.Choices)
        err << "  --alignment " << gbk_to_utf8(choice) << "\n";
    return std::nullopt;
}

// The design's stations of the stakes become internal chainages for the engine; a station the
// alignment does not have gets none and is counted as outside.
std::vector<double> StakesToChainages(RoadData& data, const road::Stationing& stations,
                                      const CliTexts& texts, std::ostream& err) {
    std::vector<double> given;
    for (std::size_t k = 0; k < data.Stakes().size(); ++k) {
        const double station = data.Stakes()[k].Mileage;
        given.push_back(station);
        road::Pile p;
        const std::optional<double> internal = stations.ToInternal(station);
        if (!internal)
            err << texts.message(format_general(station), "cli_landxml_station");
        p.Mileage = internal ? *internal : std::numeric_limits<double>::quiet_NaN();
        data.UpdateStake(k, p);
    }
    return given;
}

} // namespace

int run_road(int argc, char** argv, const CliTexts& texts, std::ostream& out, std::ostream& err) {
    UsageError error;
    const std::optional<RoadOptions> options = ParseRoadOptions(argc, argv, error);
    if (!options) {
        err << texts.message(error.subject, error.key);
        return 2;
    }

    RoadData data;
    road::StartPoint boxes;
    std::optional<road::landxml::Alignment> design;
    if (options->landxml) {
        design = LoadLandXml(data, *options->landxml, options->alignment, texts, err);
        if (!design)
            return 1;
    }
    std::vector<std::pair<RoadList, std::string>> files;
    if (options->phi || options->sec)
        files.emplace_back(options->phi ? RoadList::Intersections : RoadList::Elements,
                           options->phi ? *options->phi : *options->sec);
    if (options->pvi) {
        files.emplace_back(RoadList::Profile, *options->pvi);
    }
    if (options->stakes)
        files.emplace_back(RoadList::Stakes, *options->stakes);
    bool complete = true;
    for (const auto& [page, path] : files) {
        switch (LoadPage(data, page, path, boxes, texts, err)) {
        case Loaded::Whole:
            break;
        case Loaded::Incomplete:
            complete = false;
            break;
        case Loaded::Unreadable:
            return 1;
        }
    }

    // Options are typed into the boxes over what the loads put there.
    for (const auto& [option, box] : {std::pair{&options->startChainage, &boxes.Chainage},
                                      std::pair{&options->startNorth, &boxes.North},
                                      std::pair{&options->startEast, &boxes.East},
                                      std::pair{&options->startAzimuth, &boxes.Azimuth},
                                      std::pair{&options->offset, &boxes.Offset}}) {
        if (*option) {
            *box = **option;
        }
    }

    std::vector<double> stations;
    if (design)
        stations =
            StakesToChainages(data, data.Stations().value_or(road::Stationing{}), texts, err);

    const road::CalculationOutcome outcome = data.Calculate(boxes);
    if (outcome.Status == road::CalculationStatus::StartNotNumber && outcome.Message) {
        // The window shows the number conversion's own error; here it explains wrong_format.
        err << texts.message("road", road::roadkeys::WrongFormat, outcome.Message->Text);
    } else if (outcome.Message) {
        err << "road: " << MessageText(texts, *outcome.Message);
        // The detail only where the message does not already say it.
        if (!outcome.Detail.empty() && road::MessageOfText(outcome.Detail) != *outcome.Message) {
            err << " (" << texts.road_text(outcome.Detail) << ")";
        }
        err << "\n";
    }
    if (outcome.Refused()) {
        return 1;
    }

    if (options->check) {
        CheckRequest request;
        request.points = *options->check;
        request.report = options->stakesOut;
        request.plan = options->planOut;
        if (options->tolerancePlan)
            request.tolerances.plan = parse_double(*options->tolerancePlan);
        if (options->toleranceHeight)
            request.tolerances.height = parse_double(*options->toleranceHeight);
        if (options->arrowFactor)
            request.arrowFactor = parse_double(*options->arrowFactor);
        try_parse_double(boxes.Offset, request.sideOffset);
        request.order = options->order == std::optional<std::string>("enz") ? kOrderENZ : kOrderNEZ;
        request.stations = road::check::stations_of(data.Stations());
        // The check writes the report where the stakes would go and draws its own plan; the
        // other outputs are written as without it.
        complete &= run_road_check(data.Engine, request, texts, out, err);
    }

    // The column titles go into the files, which carry the program's code page.
    const road::RoadColumnTitles titles = road::RoadColumnTitles::FromTexts(
        [&texts](std::string_view key) { return utf8_to_gbk(texts.text(key)); });
    bool written = true;
    // Stakes go out under the stations they came in with.
    std::vector<road::Pile> stakes = data.Stakes();
    for (std::size_t k = 0; k < stations.size() && k < stakes.size(); ++k)
        stakes[k].Mileage = stations[k];
    const std::optional<std::string> stakeText = road::StakeFileText(stakes, titles);
    if (options->check) {
        // -o is the check's report.
    } else if (options->stakesOut) {
        std::string error;
        if (!stakeText) {
            err << texts.message(*options->stakesOut, "no_data_to_save");
        } else if (!write_file_atomic(*options->stakesOut, *stakeText, &error)) {
            err << texts.message(*options->stakesOut, "cli_cannot_write", error);
            written = false;
        }
    } else if (stakeText) {
        out << *stakeText;
    }
    if (options->landxmlOut) {
        double offset = 0;
        try_parse_double(boxes.Offset, offset);
        std::string error;
        const auto refused =
            road::landxml::save_design(data, *options->landxmlOut, true, offset, &error);
        if (refused && refused->Key == "Failure") {
            err << texts.message(*options->landxmlOut, "cli_cannot_write", error);
        } else if (refused) {
            err << texts.message(*options->landxmlOut, refused->Key, gbk_to_utf8(refused->Subject));
        }
        written &= !refused;
    }
    if (options->elementsOut) {
        written &= SavePage(data, RoadList::Elements, *options->elementsOut, titles, texts, err);
    }
    if (options->pointsOut) {
        written &= SavePage(data, RoadList::Intersections, *options->pointsOut, titles, texts, err);
    }
    // Pictures: the plan within 1 mm of the curve at the drawing's scale, and the profile.
    constexpr int kWidth = 1200;
    const auto picture = [&](const std::string& path, const plot::Picture& pic, const char* key) {
        const std::string text = plot::svg(pic, kWidth, utf8_to_gbk(texts.text(key)),
                                           [](std::string_view s) { return gbk_to_utf8(s); });
        std::string error;
        if (!write_file_atomic(path, text, &error)) {
            err << texts.message(path, "cli_cannot_write", error);
            written = false;
        }
    };
    if (options->planOut && !options->check) {
        const double tolerance = plot::tolerance_for(plot::axis_extents(data.Engine), kWidth);
        picture(*options->planOut,
                plot::road_plan(data.Engine, data.IntersectionPoints(), data.Stakes(), tolerance),
                "plan_page");
    }
    if (options->profileOut) {
        plot::Picture pic =
            plot::road_profile(data.Engine, data.GradePoints(), data.Stakes(), 0.01);
        picture(*options->profileOut, pic, "profile_page");
    }
    return complete && written ? 0 : 1;
}

} // namespace telvane::cli
