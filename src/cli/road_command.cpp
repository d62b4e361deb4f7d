#include "road_command.h"

#include "road/design/road_design.h"

#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace telvane::cli {
namespace {

using road::RoadData;
using road::RoadPage;

// The English texts of the language table for what the road commands show.
std::string EnglishText(std::string_view key) {
    static const std::map<std::string_view, std::string_view> texts = {
        {"data_empty", "The data cannot be empty."},
        {"wrong_format", "The data format is wrong."},
        {"Data_OutLimit", "The data is out of range."},
        {"JD_CODE", "IP name"},
        {"strgrid_N", "North"},
        {"strgrid_E", "East"},
        {"strgrid_Z", "Elevation"},
        {"Mileage", "Chainage"},
        {"Radius", "Radius"},
        {"ClothoidLength", "Spiral length "},
        {"Direction", "Turn"},
        {"DeflectionAngle", "Deflection"},
        {"TangentLength", "Tangent "},
        {"CurveLength", "Curve length"},
        {"ExternalLength", "External"},
        {"strgrid_ZH", "TS chainage"},
        {"strgrid_HY", "SC chainage"},
        {"strgrid_YH", "CS chainage"},
        {"strgrid_HZ", "ST chainage"},
        {"LineType", "Type"},
        {"strgrid_Start", "Start "},
        {"strgrid_End", "End "},
        {"strgrid_Length", "Length"},
        {"AzimuthAngle", "Azimuth"},
        {"Height", "Elevation"},
        {"Slope_i", "Grade "},
        {"MiddlePile", "Centre "},
        {"LeftPile", "Left "},
        {"RightPile", "Right "},
    };
    const auto it = texts.find(key);
    return it == texts.end() ? std::string() : std::string(it->second);
}

// A message as the command line shows it: English for the texts the program knows, the
// message's own bytes otherwise (the intersection-point method's messages quote point names).
std::string MessageText(const road::RoadMessage& m) {
    if (m.IsKey) {
        return EnglishText(m.Text);
    }
    if (m.Text == road::roadtexts::PlaneRefused) {
        return "The horizontal alignment is wrong.";
    }
    if (m.Text == road::roadtexts::ProfileRefused) {
        return "The vertical profile is wrong.";
    }
    return m.Text;
}

struct RoadOptions {
    std::optional<std::string> phi, sec, pvi, stakes;
    std::optional<std::string> startChainage, startNorth, startEast, startAzimuth, offset;
    std::optional<std::string> stakesOut, elementsOut, pointsOut;
};

std::optional<RoadOptions> ParseRoadOptions(int argc, char** argv, std::string& error) {
    RoadOptions o;
    const std::map<std::string_view, std::optional<std::string> RoadOptions::*> names = {
        {"--phi", &RoadOptions::phi},
        {"--sec", &RoadOptions::sec},
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
    };
    for (int i = 2; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const auto it = names.find(arg);
        if (it == names.end()) {
            error = "unknown road option " + std::string(arg);
            return std::nullopt;
        }
        if (i + 1 >= argc) {
            error = std::string(arg) + " needs a value";
            return std::nullopt;
        }
        o.*(it->second) = argv[++i];
    }
    if (o.phi.has_value() == o.sec.has_value()) {
        error = "road needs one alignment: --phi FILE or --sec FILE";
        return std::nullopt;
    }
    if (!o.stakes) {
        error = "road needs --stakes FILE";
        return std::nullopt;
    }
    return o;
}

enum class Loaded { Whole, Incomplete, Unreadable };

// Loads one file as the window's Load command does on `page`.
Loaded LoadPage(RoadData& data, RoadPage page, const std::string& path,
                road::StartPointTexts& boxes, std::ostream& err) {
    const road::LoadOutcome o = data.Load(page, path);
    if (o.ReadFailed) {
        err << "telvane-cli: cannot read " << path << ": " << o.ReadError << "\n";
        return Loaded::Unreadable;
    }
    if (!o.Read) {
        err << "telvane-cli: " << path << ": not a " << road::DefaultExtension(page)
            << " file, nothing read\n";
    }
    for (int k = 0; k < o.WrongFormat; ++k) {
        err << "telvane-cli: " << path << ": " << EnglishText(road::roadkeys::WrongFormat) << "\n";
    }
    if (o.Boxes) {
        boxes.Edit1 = o.Boxes->Edit1;
        boxes.Edit2 = o.Boxes->Edit2;
        boxes.Edit3 = o.Boxes->Edit3;
        boxes.Edit4 = o.Boxes->Edit4;
    }
    return o.WrongFormat == 0 ? Loaded::Whole : Loaded::Incomplete;
}

// Writes the page's list; false when the file could not be written.
bool SavePage(const RoadData& data, RoadPage page, const std::string& path,
              const road::RoadColumnTitles& titles, std::ostream& err) {
    std::string error;
    switch (data.Save(page, path, titles, &error)) {
    case road::SaveStatus::NothingToSave:
        err << "telvane-cli: nothing to write to " << path << "\n";
        return true;
    case road::SaveStatus::Saved:
        return true;
    case road::SaveStatus::Failed:
        break;
    }
    err << "telvane-cli: cannot write " << path << ": " << error << "\n";
    return false;
}

} // namespace

int run_road(int argc, char** argv, std::ostream& out, std::ostream& err) {
    std::string error;
    const std::optional<RoadOptions> options = ParseRoadOptions(argc, argv, error);
    if (!options) {
        err << "telvane-cli: " << error << "\n";
        return 2;
    }

    RoadData data;
    road::StartPointTexts boxes;
    std::vector<std::pair<RoadPage, std::string>> files;
    files.emplace_back(options->phi ? RoadPage::Intersections : RoadPage::Elements,
                       options->phi ? *options->phi : *options->sec);
    if (options->pvi) {
        files.emplace_back(RoadPage::Profile, *options->pvi);
    }
    files.emplace_back(RoadPage::Stakes, *options->stakes);
    bool complete = true;
    for (const auto& [page, path] : files) {
        switch (LoadPage(data, page, path, boxes, err)) {
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
    for (const auto& [option, box] : {std::pair{&options->startChainage, &boxes.Edit1},
                                      std::pair{&options->startNorth, &boxes.Edit2},
                                      std::pair{&options->startEast, &boxes.Edit3},
                                      std::pair{&options->startAzimuth, &boxes.Edit4},
                                      std::pair{&options->offset, &boxes.Edit5}}) {
        if (*option) {
            *box = **option;
        }
    }

    const road::CalculationOutcome outcome = data.Calculate(boxes);
    if (outcome.Message) {
        err << "telvane-cli: " << MessageText(*outcome.Message);
        if (!outcome.Detail.empty()) {
            err << " (" << outcome.Detail << ")";
        }
        err << "\n";
    }
    if (outcome.Refused()) {
        return 1;
    }

    const road::RoadColumnTitles titles = road::RoadColumnTitles::FromTexts(EnglishText);
    bool written = true;
    if (options->stakesOut) {
        written &= SavePage(data, RoadPage::Stakes, *options->stakesOut, titles, err);
    } else if (const std::optional<std::string> text = data.FileText(RoadPage::Stakes, titles)) {
        out << *text;
    }
    if (options->elementsOut) {
        written &= SavePage(data, RoadPage::Elements, *options->elementsOut, titles, err);
    }
    if (options->pointsOut) {
        written &= SavePage(data, RoadPage::Intersections, *options->pointsOut, titles, err);
    }
    return complete && written ? 0 : 1;
}

} // namespace telvane::cli
