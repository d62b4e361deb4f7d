// What the LandXML reader and writer share: element names without a namespace prefix, numbers
// in the file's text, and the file's units.
#pragma once

#include <pugixml.hpp>

#include <optional>
#include <string>
#include <string_view>

namespace telvane::road::landxml::detail {

// The element's name without a namespace prefix ("lx:Curve" is "Curve").
std::string_view LocalName(const pugi::xml_node& node);

// The first child element of that local name (an empty node when there is none).
pugi::xml_node Child(const pugi::xml_node& node, std::string_view name);

// An xs:double: a decimal number with an optional exponent, or "INF", "+INF", "-INF", with
// blanks around it. NaN and anything else give nothing.
std::optional<double> ParseXsDouble(std::string_view text);

// Metres per unit of length and of elevation, from the Units element.
struct UnitFactors {
    double Linear = 1.0;
    double Elevation = 1.0;
};

// Reads the Units element of the root. Fails (with the offending value in `what`) for a unit
// the schema does not list, or for a file without Units.
std::optional<UnitFactors> ReadUnits(const pugi::xml_node& root, std::string& what);

// Shortest text that reads back as exactly the same double, "." as decimal point, whatever the
// C library's locale.
std::string ExactNumber(double v);

} // namespace telvane::road::landxml::detail
