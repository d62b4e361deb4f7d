#include "road/landxml/xml_common.h"

#include "model/numtext.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace telvane::road::landxml::detail {
namespace {

constexpr double kUsSurveyFoot = 1200.0 / 3937.0; // metres
constexpr double kFoot = 0.3048;                  // international foot, metres

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

struct Named {
    std::string_view Name;
    double Factor;
};

std::optional<double> Lookup(std::string_view value, std::initializer_list<Named> table) {
    for (const Named& n : table) {
        if (n.Name == value)
            return n.Factor;
    }
    return std::nullopt;
}

bool KnownAngleUnit(std::string_view value) {
    for (std::string_view known : {"radians", "grads", "decimal degrees", "decimal dd.mm.ss"}) {
        if (value == known)
            return true;
    }
    return false;
}

} // namespace

std::string_view LocalName(const pugi::xml_node& node) {
    std::string_view name = node.name();
    const auto colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

pugi::xml_node Child(const pugi::xml_node& node, std::string_view name) {
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling()) {
        if (c.type() == pugi::node_element && LocalName(c) == name)
            return c;
    }
    return {};
}

std::optional<double> ParseXsDouble(std::string_view text) {
    text = Trim(text);
    if (text == "INF" || text == "+INF")
        return std::numeric_limits<double>::infinity();
    if (text == "-INF")
        return -std::numeric_limits<double>::infinity();
    double v = 0;
    if (!try_parse_double(text, v) || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<UnitFactors> ReadUnits(const pugi::xml_node& root, std::string& what) {
    const pugi::xml_node units = Child(root, "Units");
    const pugi::xml_node metric = Child(units, "Metric");
    const pugi::xml_node imperial = Child(units, "Imperial");
    const pugi::xml_node system = metric ? metric : imperial;
    if (!system) {
        what = "Units";
        return std::nullopt;
    }
    const std::string_view linear = system.attribute("linearUnit").as_string();
    const std::optional<double> factor = metric ? Lookup(linear, {{"millimeter", 0.001},
                                                                  {"centimeter", 0.01},
                                                                  {"meter", 1.0},
                                                                  {"kilometer", 1000.0}})
                                                : Lookup(linear, {{"foot", kFoot},
                                                                  {"USSurveyFoot", kUsSurveyFoot},
                                                                  {"inch", 0.0254},
                                                                  {"mile", 1609.344}});
    if (!factor) {
        what = "linearUnit=\"" + std::string(linear) + "\"";
        return std::nullopt;
    }
    // Elevations default to metres in either system, as the schema says; "feet" are the feet of
    // the linear unit, so that a file in US survey feet keeps one foot throughout.
    const std::string_view elevation = system.attribute("elevationUnit").as_string("meter");
    const double foot = linear == "USSurveyFoot" ? kUsSurveyFoot : kFoot;
    const std::optional<double> elevationFactor = Lookup(
        elevation, {{"meter", 1.0}, {"kilometer", 1000.0}, {"feet", foot}, {"miles", 1609.344}});
    if (!elevationFactor) {
        what = "elevationUnit=\"" + std::string(elevation) + "\"";
        return std::nullopt;
    }
    // Angles and directions are never read (azimuths come from the coordinates), but a unit the
    // schema does not know says the file is not what it claims.
    for (const char* attr : {"angularUnit", "directionUnit"}) {
        const std::string_view angle = system.attribute(attr).as_string("radians");
        if (!KnownAngleUnit(angle)) {
            what = std::string(attr) + "=\"" + std::string(angle) + "\"";
            return std::nullopt;
        }
    }
    return UnitFactors{*factor, *elevationFactor};
}

std::string ExactNumber(double v) {
    if (v == 0)
        return "0"; // no "-0" in the file
    std::array<char, 32> buf{};
    const auto r = std::to_chars(buf.data(), buf.data() + buf.size(), v);
    return r.ec == std::errc{} ? std::string(buf.data(), r.ptr) : format_general(v, 17);
}

} // namespace telvane::road::landxml::detail
