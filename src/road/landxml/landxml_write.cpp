// Writing LandXML: the element chain as the engine evaluates it, the profile, and points.
//
// Every number is written with the shortest text that reads back as the same double, so a
// design written and read again gives the same stakes. Directions ("dir") are not written: the
// coordinates (Start, End, Center, PI) say everything, and producers read "dir" differently.
#include "road/landxml/landxml.h"
#include "road/landxml/xml_common.h"

#include "road/engine/coord_calculate.h"
#include "road/engine/plane_calculate.h"

#include "model/gbk_utf8.h"
#include "model/numtext.h"

#include <chrono>
#include <cmath>
#include <set>
#include <sstream>

namespace telvane::road::landxml {
namespace {

using detail::ExactNumber;

constexpr const char* kNamespace = "http://www.landxml.org/schema/LandXML-1.2";

// A name or code as XML text: UTF-8, with the control characters XML 1.0 cannot carry (a
// damaged name may hold them) written as '?'.
std::string XmlText(std::string_view gbk) {
    std::string text = gbk_to_utf8(gbk);
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20)
            c = '?';
    }
    return text;
}

struct NorthEast {
    double North = 0;
    double East = 0;
};

std::string Coordinates(const NorthEast& p) {
    return ExactNumber(p.North) + " " + ExactNumber(p.East);
}

void AddPoint(pugi::xml_node parent, const char* name, const NorthEast& p) {
    parent.append_child(name).text().set(Coordinates(p).c_str());
}

void SetNumber(pugi::xml_node node, const char* attr, double v) {
    node.append_attribute(attr).set_value(ExactNumber(v).c_str());
}

// An infinite radius is "INF", as the schema's xs:double has it.
void SetRadius(pugi::xml_node node, const char* attr, double signedRadius) {
    node.append_attribute(attr).set_value(
        signedRadius == 0 ? "INF" : ExactNumber(std::fabs(signedRadius)).c_str());
}

pugi::xml_document NewDocument(pugi::xml_node& root) {
    pugi::xml_document doc;
    pugi::xml_node decl = doc.append_child(pugi::node_declaration);
    decl.append_attribute("version") = "1.0";
    decl.append_attribute("encoding") = "UTF-8";
    root = doc.append_child("LandXML");
    root.append_attribute("xmlns") = kNamespace;
    const auto now = std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
    const auto day = std::chrono::floor<std::chrono::days>(now);
    const std::chrono::year_month_day ymd{day};
    const std::chrono::hh_mm_ss hms{now - day};
    auto two = [](long v) { return (v < 10 ? "0" : "") + std::to_string(v); };
    const std::string date = std::to_string(static_cast<int>(ymd.year())) + "-" +
                             two(static_cast<unsigned>(ymd.month())) + "-" +
                             two(static_cast<unsigned>(ymd.day()));
    const std::string time = two(hms.hours().count()) + ":" + two(hms.minutes().count()) + ":" +
                             two(static_cast<long>(hms.seconds().count()));
    root.append_attribute("date") = date.c_str();
    root.append_attribute("time") = time.c_str();
    root.append_attribute("version") = "1.2";
    // Everything the schema requires of the units, metres and radians throughout.
    pugi::xml_node metric = root.append_child("Units").append_child("Metric");
    metric.append_attribute("areaUnit") = "squareMeter";
    metric.append_attribute("linearUnit") = "meter";
    metric.append_attribute("volumeUnit") = "cubicMeter";
    metric.append_attribute("temperatureUnit") = "celsius";
    metric.append_attribute("pressureUnit") = "HPA";
    metric.append_attribute("angularUnit") = "radians";
    metric.append_attribute("directionUnit") = "radians";
    metric.append_attribute("elevationUnit") = "meter";
    root.append_child("Application").append_attribute("name") = "Telvane";
    return doc;
}

std::string Text(const pugi::xml_document& doc) {
    std::ostringstream out;
    doc.save(out, "  ", pugi::format_default, pugi::encoding_utf8);
    return out.str();
}

// Hands out each name once: a name met again gets "_2", "_3", ... until it is new.
class UniqueNames {
public:
    std::string operator()(const std::string& name) {
        if (used_.insert(name).second)
            return name;
        for (int k = 2;; ++k) {
            std::string candidate = name + "_" + std::to_string(k);
            if (used_.insert(candidate).second)
                return candidate;
        }
    }

private:
    std::set<std::string> used_;
};

void AddCgPoint(pugi::xml_node parent, UniqueNames& names, const Point& p) {
    pugi::xml_node c = parent.append_child("CgPoint");
    if (!p.Name.empty())
        c.append_attribute("name") = names(XmlText(p.Name)).c_str();
    if (!p.Code.empty())
        c.append_attribute("code") = XmlText(p.Code).c_str();
    std::string text = Coordinates({p.North, p.East});
    if (p.HasElevation)
        text += " " + ExactNumber(p.Elevation);
    c.text().set(text.c_str());
}

struct Failure {
    LandXmlError Error;
};

[[noreturn]] void Fail(const char* key, const std::string& subject) {
    throw Failure{{key, subject}};
}

// Where the tangents at the start and the end of a spiral meet. For a spiral that hardly turns
// they are parallel; the PI then goes on the start tangent at two thirds of the length, which
// is where it tends to and all a reader takes from it is the start azimuth.
NorthEast SpiralPi(const NorthEast& s, double az0, const NorthEast& e, double az1, double length) {
    const double u0n = std::cos(az0), u0e = std::sin(az0);
    const double u1n = std::cos(az1), u1e = std::sin(az1);
    const double cross = u0n * u1e - u0e * u1n;
    double a = 2.0 * length / 3.0;
    if (std::fabs(cross) > 1e-12) {
        const double dn = e.North - s.North, de = e.East - s.East;
        const double t = (dn * u1e - de * u1n) / cross;
        if (std::isfinite(t) && t > 0)
            a = t;
    }
    return {s.North + a * u0n, s.East + a * u0e};
}

void WriteAlignment(pugi::xml_node alignments, const DesignToWrite& d) {
    const std::vector<PlaneInfo>& chain = d.Elements;
    if (chain.size() < 2)
        Fail(keys::NoAlignment, "Alignment");
    PlaneCalculate plane;
    plane.SetChain(chain.front().Mileage, chain);
    pugi::xml_node a = alignments.append_child("Alignment");
    a.append_attribute("name") = XmlText(d.Name).c_str();
    SetNumber(a, "length", chain.back().Mileage - chain.front().Mileage);
    SetNumber(a, "staStart", chain.front().Mileage);
    pugi::xml_node geom = a.append_child("CoordGeom");
    for (std::size_t k = 0; k + 1 < chain.size(); ++k) {
        const PlaneInfo& e = chain[k];
        const double span = chain[k + 1].Mileage - e.Mileage;
        if (!(span > 0))
            continue; // the chain's fillers of length 0 are no geometry
        const std::string label = "#" + std::to_string(k + 1);
        AxisPoint end;
        if (!plane.EvaluateElement(k, span, 0, end))
            Fail(keys::Unsupported, label);
        const NorthEast start{e.North, e.East};
        const NorthEast stop{end.North, end.East};
        pugi::xml_node x;
        switch (e.LineType) {
        case LineTypeLine:
            x = geom.append_child("Line");
            SetNumber(x, "staStart", e.Mileage);
            SetNumber(x, "length", span);
            AddPoint(x, "Start", start);
            AddPoint(x, "End", stop);
            break;
        case LineTypeCircle: {
            const double r = e.StartRadius;
            const double az = e.AzimuthAngle;
            const NorthEast centre{
                e.North + std::fabs(r) * std::cos(az + (r > 0 ? HalfPi : -HalfPi)),
                e.East + std::fabs(r) * std::sin(az + (r > 0 ? HalfPi : -HalfPi))};
            x = geom.append_child("Curve");
            x.append_attribute("rot") = r > 0 ? "cw" : "ccw";
            x.append_attribute("crvType") = "arc";
            SetNumber(x, "length", span);
            SetNumber(x, "radius", std::fabs(r));
            SetNumber(x, "staStart", e.Mileage);
            AddPoint(x, "Start", start);
            AddPoint(x, "Center", centre);
            AddPoint(x, "End", stop);
            // The tangents of an arc of half a circle or more do not meet ahead of it.
            const double delta = span / std::fabs(r);
            if (delta < Pi - 1e-6) {
                const double t = std::fabs(r) * std::tan(delta / 2.0);
                AddPoint(x, "PI", {e.North + t * std::cos(az), e.East + t * std::sin(az)});
            }
            break;
        }
        case LineTypeClothoid:
        case LineTypeSpiralBetweenRadii: {
            // The radii the engine evaluates this spiral with.
            double r1 = e.StartRadius, r2 = e.EndRadius;
            if (e.LineType == LineTypeClothoid) {
                const PlaneInfo& next = chain[k + 1];
                if (next.LineType == LineTypeCircle && next.StartRadius != 0) {
                    r1 = 0;
                    r2 = next.StartRadius;
                } else {
                    r1 = chain[k - 1].StartRadius; // EvaluateElement succeeded: k ≥ 1
                    r2 = 0;
                }
            }
            if (std::fabs(span - e.Length) > 1e-6)
                Fail(keys::Unsupported, label); // only part of its spiral: no LandXML spiral
            const double turn = r1 != 0 ? r1 : r2;
            x = geom.append_child("Spiral");
            SetNumber(x, "length", e.Length);
            SetRadius(x, "radiusEnd", r2);
            SetRadius(x, "radiusStart", r1);
            x.append_attribute("rot") = turn > 0 ? "cw" : "ccw";
            x.append_attribute("spiType") = "clothoid";
            SetNumber(x, "staStart", e.Mileage);
            AddPoint(x, "Start", start);
            AddPoint(x, "PI", SpiralPi(start, e.AzimuthAngle, stop, end.Azimuth, e.Length));
            AddPoint(x, "End", stop);
            break;
        }
        default:
            Fail(keys::Unsupported, label);
        }
    }
    if (!geom.first_child())
        Fail(keys::NoAlignment, "Alignment");

    for (const StationEquation& eq : d.Stations.Equations) {
        pugi::xml_node s = a.append_child("StaEquation");
        SetNumber(s, "staAhead", eq.Ahead);
        SetNumber(s, "staBack", eq.Back);
        SetNumber(s, "staInternal", eq.Internal);
    }

    if (d.Profile.size() >= 2) {
        pugi::xml_node prof = a.append_child("Profile").append_child("ProfAlign");
        prof.append_attribute("name") = (XmlText(d.Name) + " profile").c_str();
        // LandXML knows a profile by its points alone: the grades are those between them. A
        // vertical curve's length is written for the grades a reader will find, so that its
        // radius comes back as it is.
        const auto chord = [&](std::size_t a) {
            const LongSlopesInfo& p = d.Profile[a];
            const LongSlopesInfo& q = d.Profile[a + 1];
            return q.Mileage > p.Mileage ? (q.Height - p.Height) / (q.Mileage - p.Mileage) : 0.0;
        };
        for (std::size_t k = 0; k < d.Profile.size(); ++k) {
            const LongSlopesInfo& p = d.Profile[k];
            const bool inner = k > 0 && k + 1 < d.Profile.size();
            const double change = inner ? std::fabs(chord(k) - chord(k - 1)) : 0.0;
            const bool curve = p.CurveFlag != 0 && p.Radius != 0 && p.Radius != -1;
            if (curve && !inner)
                Fail(keys::BadProfile, "PVI #" + std::to_string(k + 1));
            pugi::xml_node v = prof.append_child(curve && change > 0 ? "ParaCurve" : "PVI");
            if (curve && change > 0)
                SetNumber(v, "length", std::fabs(p.Radius) * change);
            v.text().set((ExactNumber(p.Mileage) + " " + ExactNumber(p.Height)).c_str());
        }
    }
}

} // namespace

Result<std::string> write_design(const DesignToWrite& design) {
    Result<std::string> result;
    try {
        pugi::xml_node root;
        pugi::xml_document doc = NewDocument(root);
        WriteAlignment(root.append_child("Alignments"), design);
        if (!design.Stakes.empty()) {
            pugi::xml_node points = root.append_child("CgPoints");
            points.append_attribute("name") = "Stakes";
            UniqueNames names;
            for (const Pile& s : design.Stakes) {
                const std::string station = format_general(design.Stations.ToStation(s.Mileage));
                AddCgPoint(points, names, {station, "", s.MiddleN, s.MiddleE, s.MiddleZ, true});
                // Side points exist only where the stake was calculated with an offset.
                if (s.LeftN != 0 || s.LeftE != 0)
                    AddCgPoint(points, names, {station + "L", "", s.LeftN, s.LeftE, s.LeftZ, true});
                if (s.RightN != 0 || s.RightE != 0)
                    AddCgPoint(points, names,
                               {station + "R", "", s.RightN, s.RightE, s.RightZ, true});
            }
        }
        result.Value = Text(doc);
    } catch (const Failure& f) {
        result.Error = f.Error;
    }
    return result;
}

std::string write_points(const std::vector<Point>& points) {
    pugi::xml_node root;
    pugi::xml_document doc = NewDocument(root);
    pugi::xml_node set = root.append_child("CgPoints");
    UniqueNames names;
    for (const Point& p : points)
        AddCgPoint(set, names, p);
    return Text(doc);
}

std::string write_points(const std::vector<coord_item>& points) {
    std::vector<Point> list;
    list.reserve(points.size());
    for (const coord_item& c : points)
        list.push_back({std::string(c.name.view()), std::string(c.code.view()), c.north, c.east,
                        c.elev, true});
    return write_points(list);
}

} // namespace telvane::road::landxml
