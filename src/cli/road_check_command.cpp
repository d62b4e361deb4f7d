#include "road_check_command.h"

#include "encoding.h"

#include "fileio/opendata.h"
#include "model/filebytes.h"
#include "model/numtext.h"
#include "plot/check_picture.h"
#include "road/check/check_report.h"

#include <filesystem>
#include <ostream>

namespace telvane::cli {

bool run_road_check(const road::DesignAxisCalculate& design, const CheckRequest& request,
                    const CliTexts& texts, std::ostream& out, std::ostream& err) {
    DataState data;
    FileSettings settings;
    settings.order = request.order;
    Messages shown;
    const bool opened = open_data_file(request.points, data, settings, shown);
    for (const UserMessage& m : shown) {
        if (m.kind == UserMessage::Kind::Key)
            err << texts.message(request.points, m.value, m.args, m.suffix);
        else
            err << request.points << ": " << gbk_to_utf8(m.value) << "\n";
    }
    if (!opened) {
        if (!std::filesystem::exists(request.points) && shown.empty())
            err << texts.message(request.points, "file_not_exist");
        return false;
    }
    const std::optional<std::vector<road::check::MeasuredPoint>> points =
        road::check::measured_points_of(data);
    if (!points || points->empty()) {
        err << texts.message(request.points, "cli_check_no_points");
        return false;
    }

    const road::check::StakeCheck check(design, request.sideOffset, request.tolerances,
                                        request.stations);
    const std::vector<road::check::PointCheck> checks = check.CheckAll(*points);
    // Titles, verdicts and notes go into the file, which carries the program's code page.
    const auto gbk = [&texts](std::string_view key) { return utf8_to_gbk(texts.text(key)); };
    bool written = true;
    if (request.report) {
        std::string error;
        if (!road::check::save_report(*request.report, checks, gbk, &error)) {
            err << texts.message(*request.report, "cli_cannot_write", error);
            written = false;
        }
    } else {
        out << road::check::report_csv(checks, gbk);
    }
    if (request.plan) {
        constexpr int kWidth = 1200;
        const double factor = request.arrowFactor.value_or(plot::arrow_factor(checks));
        // The road within 1 mm of the curve at the scale of the points' surroundings.
        plot::Extents around;
        for (const road::check::PointCheck& c : checks)
            around.add({c.Point.East, c.Point.North});
        const double tolerance = std::min(plot::tolerance_for(around, kWidth),
                                          plot::tolerance_for(plot::axis_extents(design), kWidth));
        const plot::Picture pic =
            plot::check_plan(design, checks, factor, gbk("check_arrow_factor"), tolerance);
        const std::string svg = plot::svg(pic, kWidth, gbk("check_page"),
                                          [](std::string_view s) { return gbk_to_utf8(s); });
        std::string error;
        if (!write_file_atomic(*request.plan, svg, &error)) {
            err << texts.message(*request.plan, "cli_cannot_write", error);
            written = false;
        }
    }

    std::size_t count[4] = {0, 0, 0, 0};
    for (const road::check::PointCheck& c : checks)
        ++count[static_cast<int>(c.Result)];
    err << texts.message(request.points, "cli_check_summary",
                         {format_int(static_cast<long long>(checks.size())),
                          format_int(static_cast<long long>(count[0])),
                          format_int(static_cast<long long>(count[1])),
                          format_int(static_cast<long long>(count[2])),
                          format_int(static_cast<long long>(count[3]))});
    return written;
}

} // namespace telvane::cli
