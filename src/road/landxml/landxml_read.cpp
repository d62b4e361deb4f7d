// Reading LandXML: alignments into the engine's element chain, profiles into grade points, and
// COGO points.
//
// Producers disagree on the direction attributes ("dir", "dirStart", "dirEnd"): some count
// counter-clockwise from North as the schema says, others from East, in whatever angular unit.
// They are never read. Every azimuth and turn comes from the coordinates: a straight heads from
// its Start to its End, a spiral from its Start to its PI, an arc square to the radius at its
// Start, turning towards its Center.
#include "road/landxml/landxml.h"
#include "road/landxml/xml_common.h"

#include "road/engine/coord_calculate.h"
#include "road/engine/elements.h"
#include "road/engine/plane_calculate.h"

#include "model/gbk_utf8.h"
#include "model/numtext.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>

namespace telvane::road::landxml {
namespace {

using detail::Child;
using detail::LocalName;
using detail::ParseXsDouble;
using detail::UnitFactors;

// Ends of neighbouring elements further apart than this refuse the file.
constexpr double kChainTolerance = 0.001; // metres

struct Failure {
    LandXmlError Error;
};

[[noreturn]] void Fail(const char* key, std::string subject) {
    throw Failure{{key, utf8_to_gbk(subject)}};
}

struct NorthEast {
    double North = 0;
    double East = 0;
};

// How an element is named in messages: its kind and its name, or its position among its
// siblings (counted from 1).
std::string Label(const pugi::xml_node& node, std::size_t position) {
    std::string label(LocalName(node));
    const char* name = node.attribute("name").as_string();
    if (*name)
        return label + " \"" + name + "\"";
    return label + " #" + std::to_string(position);
}

std::vector<double> Numbers(std::string_view text) {
    std::vector<double> out;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ')
            ++i;
        std::size_t j = i;
        while (j < text.size() && static_cast<unsigned char>(text[j]) > ' ')
            ++j;
        if (j > i) {
            double v = 0;
            if (!try_parse_double(text.substr(i, j - i), v) || !std::isfinite(v))
                return {}; // any bad token spoils the whole list
            out.push_back(v);
        }
        i = j;
    }
    return out;
}

class Reader {
public:
    Reader(const pugi::xml_node& root, UnitFactors units) : root_(root), units_(units) {
        // Points that geometry may refer to by name (pntRef).
        CollectPoints(root_);
    }

    // "northing easting [elevation]" of a point element, in metres, or from the point its
    // pntRef names.
    NorthEast PointOf(const pugi::xml_node& element, const std::string& owner) const {
        const pugi::xml_node& point = element;
        std::vector<double> v = Numbers(point.child_value());
        if (v.empty()) {
            const char* ref = point.attribute("pntRef").as_string();
            const auto it = refs_.find(ref);
            if (*ref && it != refs_.end())
                return it->second;
        }
        const std::string what = owner + " " + std::string(LocalName(point));
        if (v.size() < 2 || v.size() > 3)
            Fail(keys::BadValue, what);
        return {Metres(v[0], what), Metres(v[1], what)};
    }

    NorthEast Required(const pugi::xml_node& element, const char* child,
                       const std::string& owner) const {
        const pugi::xml_node c = Child(element, child);
        if (!c)
            Fail(keys::BadValue, owner + " " + child);
        return PointOf(c, owner);
    }

    // A length attribute in metres; `infinite` allows "INF" (an infinite radius, given as 0).
    std::optional<double> Length(const pugi::xml_node& element, const char* attr,
                                 const std::string& owner, bool infinite = false) const {
        const pugi::xml_attribute a = element.attribute(attr);
        if (!a)
            return std::nullopt;
        const std::optional<double> v = ParseXsDouble(a.value());
        if (!v || (std::isinf(*v) && !infinite))
            Fail(keys::BadValue, owner + " " + attr);
        if (std::isinf(*v))
            return 0.0;
        return Metres(*v, owner + " " + attr);
    }

    // A length or an elevation of the file in metres; one that overflows refuses the file.
    double Metres(double v, const std::string& owner) const {
        return Finite(v * units_.Linear, owner);
    }
    double Elevation(double v, const std::string& owner) const {
        return Finite(v * units_.Elevation, owner);
    }
    double Linear() const { return units_.Linear; }

    static double Finite(double v, const std::string& owner) {
        if (!std::isfinite(v))
            Fail(keys::BadValue, owner);
        return v;
    }

private:
    void CollectPoints(const pugi::xml_node& node) {
        for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling()) {
            if (c.type() != pugi::node_element)
                continue;
            if (LocalName(c) == "CgPoint") {
                const std::vector<double> v = Numbers(c.child_value());
                const char* name = c.attribute("name").as_string();
                const NorthEast at{v.size() >= 2 ? v[0] * units_.Linear : 0,
                                   v.size() >= 2 ? v[1] * units_.Linear : 0};
                if (*name && (v.size() == 2 || v.size() == 3) && std::isfinite(at.North) &&
                    std::isfinite(at.East))
                    refs_.emplace(name, at);
            } else if (LocalName(c) == "CgPoints") {
                CollectPoints(c);
            }
        }
    }

    pugi::xml_node root_;
    UnitFactors units_;
    std::map<std::string, NorthEast, std::less<>> refs_;
};

// One element of the file's CoordGeom, in the program's conventions.
struct Geometry {
    std::int32_t Kind = LineTypeLine; // LineType of the engine
    std::string Label;
    NorthEast Start, End;
    double Azimuth = 0;     // tangent azimuth at the start
    double StartRadius = 0; // signed, 0 infinite
    double EndRadius = 0;   // signed, 0 infinite
    double Length = 0;
};

double Sign(bool right) {
    return right ? 1.0 : -1.0;
}

// Right-hand turn when `p` lies to the right of the line from `from` heading `azimuth`.
bool IsRightOf(const NorthEast& p, const NorthEast& from, double azimuth) {
    return ToLocalFrame(p.North, p.East, azimuth, from.North, from.East).Right > 0;
}

// "rot", asked for only where the coordinates and the length leave the turn open: a file that
// lacks it elsewhere loses nothing.
bool Clockwise(const pugi::xml_node& element, const std::string& label) {
    const std::string_view rot = element.attribute("rot").as_string();
    if (rot == "cw")
        return true;
    if (rot == "ccw")
        return false;
    Fail(keys::BadValue, label + " rot");
}

Geometry ReadLine(const Reader& r, const pugi::xml_node& e, const std::string& label) {
    Geometry g;
    g.Kind = LineTypeLine;
    g.Label = label;
    g.Start = r.Required(e, "Start", label);
    g.End = r.Required(e, "End", label);
    g.Azimuth = Azimuth(g.Start.North, g.Start.East, g.End.North, g.End.East);
    g.Length = Distance(g.Start.North, g.Start.East, g.End.North, g.End.East);
    // A given length has the designer's digits; coordinates are often rounded.
    if (const std::optional<double> given = r.Length(e, "length", label)) {
        if (std::fabs(*given - g.Length) <= kChainTolerance)
            g.Length = *given;
    }
    return g;
}

Geometry ReadCurve(const Reader& r, const pugi::xml_node& e, const std::string& label) {
    Geometry g;
    g.Kind = LineTypeCircle;
    g.Label = label;
    g.Start = r.Required(e, "Start", label);
    g.End = r.Required(e, "End", label);
    const NorthEast c = r.Required(e, "Center", label);
    double radius = Distance(g.Start.North, g.Start.East, c.North, c.East);
    if (!(radius > 0))
        Fail(keys::BadValue, label + " Center");
    // The radius attribute has more digits than rounded coordinates; it is taken when it
    // agrees with them.
    if (const std::optional<double> given = r.Length(e, "radius", label)) {
        if (std::fabs(std::fabs(*given) - radius) <= kChainTolerance)
            radius = std::fabs(*given);
    }
    // Start and End lie on two arcs about the Center, one turning right and one left; which
    // one the file means is told by, in this order: the length, when it fits one of them; the
    // PI, which lies ahead on the start tangent of an arc of less than a half circle; "rot".
    const double outward = Azimuth(c.North, c.East, g.Start.North, g.Start.East);
    const double toEnd = Azimuth(c.North, c.East, g.End.North, g.End.East);
    const double sweepRight = NormalizeAngle(toEnd - outward);
    const double sweepLeft = sweepRight == 0 ? 0.0 : TwoPi - sweepRight;
    const std::optional<double> given = r.Length(e, "length", label);
    // The length of an arc that sweeps `sweep`, or of the full circle when it ends where it
    // starts.
    const auto fits = [&](double sweep) {
        return given && (std::fabs(*given - sweep * radius) <= kChainTolerance ||
                         std::fabs(*given - (sweep + TwoPi) * radius) <= kChainTolerance);
    };
    std::optional<bool> turn;
    if (fits(sweepRight) != fits(sweepLeft)) {
        turn = fits(sweepRight);
    } else if (const pugi::xml_node piNode = Child(e, "PI")) {
        const NorthEast pi = r.PointOf(piNode, label);
        if (Distance(pi.North, pi.East, g.Start.North, g.Start.East) > kChainTolerance)
            turn = IsRightOf(c, g.Start, Azimuth(g.Start.North, g.Start.East, pi.North, pi.East));
    }
    const bool right = turn ? *turn : Clockwise(e, label);
    g.Azimuth = NormalizeAngle(right ? outward + HalfPi : outward - HalfPi);
    g.StartRadius = g.EndRadius = Sign(right) * radius;
    const double sweep = right ? sweepRight : sweepLeft;
    g.Length = sweep * radius;
    if (fits(sweep)) {
        g.Length = *given; // the designer's digits; for a full circle the only word on it
    } else if (g.Length <= kChainTolerance) {
        Fail(keys::BadValue, label + " length"); // no arc, or a full circle of unknown length
    }
    return g;
}

Geometry ReadSpiral(const Reader& r, const pugi::xml_node& e, const std::string& label) {
    Geometry g;
    g.Label = label;
    g.Start = r.Required(e, "Start", label);
    g.End = r.Required(e, "End", label);
    const NorthEast pi = r.Required(e, "PI", label);
    const std::string_view type = e.attribute("spiType").as_string();
    if (type != "clothoid")
        Fail(keys::Unsupported, label + " spiType=\"" + std::string(type) + "\"");
    const std::optional<double> length = r.Length(e, "length", label);
    const std::optional<double> r1 = r.Length(e, "radiusStart", label, true);
    const std::optional<double> r2 = r.Length(e, "radiusEnd", label, true);
    if (!length || !(*length > 0) || !r1 || !r2)
        Fail(keys::BadValue, label);
    g.Length = *length;
    g.Azimuth = Azimuth(g.Start.North, g.Start.East, pi.North, pi.East);
    // The end lies on the inside of the start tangent; only for a spiral that does not bend
    // (both radii infinite) does "rot" have the last word, and then it does not matter.
    const double side =
        ToLocalFrame(g.End.North, g.End.East, g.Azimuth, g.Start.North, g.Start.East).Right;
    const bool right = side != 0 ? side > 0 : Clockwise(e, label);
    g.StartRadius = Sign(right) * std::fabs(*r1);
    g.EndRadius = Sign(right) * std::fabs(*r2);
    if (g.StartRadius == 0 && g.EndRadius == 0) {
        g.Kind = LineTypeLine;
    } else if (g.StartRadius == g.EndRadius) {
        g.Kind = LineTypeCircle;
    } else if (g.StartRadius == 0 || g.EndRadius == 0) {
        g.Kind = LineTypeClothoid;
    } else {
        g.Kind = LineTypeSpiralBetweenRadii;
    }
    return g;
}

PlaneInfo Record(const Geometry& g, double mileage) {
    PlaneInfo p;
    p.Mileage = mileage;
    p.LineType = g.Kind;
    p.North = g.Start.North;
    p.East = g.Start.East;
    p.AzimuthAngle = g.Azimuth;
    p.StartRadius = g.StartRadius;
    p.EndRadius = g.EndRadius;
    p.Length = g.Length;
    if (g.Kind != LineTypeLine) {
        const double turn = g.StartRadius != 0 ? g.StartRadius : g.EndRadius;
        p.Direction = turn < 0 ? "L" : "R";
    }
    if (g.Kind == LineTypeClothoid)
        p.Role = g.StartRadius == 0 ? RoleEntryClothoid : RoleExitClothoid;
    return p;
}

// A circle of length 0 that gives a clothoid the radius the engine looks for beside it.
PlaneInfo Filler(double mileage, const NorthEast& at, double azimuth, double radius) {
    PlaneInfo p;
    p.Mileage = mileage;
    p.LineType = LineTypeCircle;
    p.North = at.North;
    p.East = at.East;
    p.AzimuthAngle = azimuth;
    p.StartRadius = p.EndRadius = radius;
    p.Direction = radius < 0 ? "L" : "R";
    return p;
}

bool IsEntry(const PlaneInfo& p) {
    return p.LineType == LineTypeClothoid && p.StartRadius == 0;
}

// The engine reads a clothoid's radius from its neighbours: an entry spiral from the circle
// after it, an exit spiral from the element before it; after a clothoid only a line or a
// circle may follow, and the chain opens with one of them. Circles of length 0 are put in where
// the file's own neighbours do not say exactly that. `index` maps each record to its file
// element (-1 for the fillers).
void Append(std::vector<PlaneInfo>& chain, std::vector<int>& index, PlaneInfo x, int from) {
    const NorthEast at{x.North, x.East};
    auto add = [&](PlaneInfo p, int i) {
        chain.push_back(std::move(p));
        index.push_back(i);
    };
    if (!chain.empty() && IsEntry(chain.back()) &&
        !(x.LineType == LineTypeCircle && x.StartRadius == chain.back().EndRadius))
        add(Filler(x.Mileage, at, x.AzimuthAngle, chain.back().EndRadius), -1);
    const bool spiral = x.LineType == LineTypeClothoid || x.LineType == LineTypeSpiralBetweenRadii;
    if (spiral && (chain.empty() || chain.back().LineType == LineTypeClothoid))
        add(Filler(x.Mileage, at, x.AzimuthAngle, x.StartRadius != 0 ? x.StartRadius : x.EndRadius),
            -1);
    if (x.LineType == LineTypeClothoid && x.StartRadius != 0 &&
        !(chain.back().LineType == LineTypeCircle && chain.back().StartRadius == x.StartRadius))
        add(Filler(x.Mileage, at, x.AzimuthAngle, x.StartRadius), -1);
    add(std::move(x), from);
}

struct Chain {
    std::vector<PlaneInfo> Elements;
    ElementCounts Counts;
    double Length = 0;
};

Chain ReadCoordGeom(const Reader& r, const pugi::xml_node& coordGeom, double startChainage) {
    std::vector<Geometry> file;
    Chain chain;
    std::size_t position = 0;
    for (pugi::xml_node e = coordGeom.first_child(); e; e = e.next_sibling()) {
        if (e.type() != pugi::node_element)
            continue;
        ++position;
        const std::string_view kind = LocalName(e);
        const std::string label = Label(e, position);
        if (kind == "Line") {
            file.push_back(ReadLine(r, e, label));
            ++chain.Counts.Lines;
        } else if (kind == "Curve") {
            file.push_back(ReadCurve(r, e, label));
            ++chain.Counts.Curves;
        } else if (kind == "Spiral") {
            file.push_back(ReadSpiral(r, e, label));
            ++chain.Counts.Spirals;
        } else if (kind != "Feature") {
            Fail(keys::Unsupported, label); // IrregularLine, Chain
        }
    }
    if (file.empty())
        Fail(keys::NoAlignment, Label(coordGeom, 1));

    std::vector<int> index;
    double mileage = startChainage;
    for (std::size_t i = 0; i < file.size(); ++i) {
        // A straight of no length has no direction of its own to give a stake on it.
        if (file[i].Kind == LineTypeLine && file[i].Length == 0)
            continue;
        Append(chain.Elements, index, Record(file[i], mileage), static_cast<int>(i));
        mileage += file[i].Length;
    }
    if (chain.Elements.empty())
        Fail(keys::NoAlignment, Label(coordGeom, 1)); // nothing but points
    // The end marker: the last element's End, heading on as the last element ends.
    PlaneInfo end;
    end.Mileage = mileage;
    end.North = file.back().End.North;
    end.East = file.back().End.East;
    Append(chain.Elements, index, end, -1);
    chain.Length = mileage - startChainage;
    for (std::size_t k = 0; k < chain.Elements.size(); ++k) {
        if (!IsFinite(chain.Elements[k]) || !std::isfinite(chain.Length))
            Fail(keys::BadValue,
                 file[index[k] < 0 ? file.size() - 1 : static_cast<std::size_t>(index[k])].Label);
    }

    // Every element, evaluated as the engine will, must end on its own End and on the next
    // element's Start.
    PlaneCalculate plane;
    plane.SetChain(startChainage, chain.Elements);
    for (std::size_t k = 0; k + 1 < chain.Elements.size(); ++k) {
        if (index[k] < 0)
            continue;
        const Geometry& g = file[static_cast<std::size_t>(index[k])];
        AxisPoint p;
        if (!plane.EvaluateElement(k, g.Length, 0, p))
            Fail(keys::BadValue, g.Label);
        const std::size_t next = static_cast<std::size_t>(index[k]) + 1;
        for (const NorthEast& target : {g.End, next < file.size() ? file[next].Start : g.End}) {
            if (!(Distance(p.North, p.East, target.North, target.East) <= kChainTolerance))
                Fail(keys::ChainGap, g.Label);
        }
        if (next == file.size())
            chain.Elements.back().AzimuthAngle = NormalizeAngle(p.Azimuth);
    }
    return chain;
}

Stationing ReadStations(const Reader& r, const pugi::xml_node& alignment, double start,
                        const std::string& owner) {
    Stationing s;
    s.Start = start;
    std::size_t position = 0;
    for (pugi::xml_node e = alignment.first_child(); e; e = e.next_sibling()) {
        if (e.type() != pugi::node_element || LocalName(e) != "StaEquation")
            continue;
        const std::string label = owner + " " + Label(e, ++position);
        // Stations that count down after the equation are not something stakes can follow.
        if (std::string_view(e.attribute("staIncrement").as_string("increasing")) != "increasing")
            Fail(keys::Unsupported, label + " staIncrement");
        const std::optional<double> ahead = r.Length(e, "staAhead", label);
        const std::optional<double> internal = r.Length(e, "staInternal", label);
        if (!ahead || !internal)
            Fail(keys::BadValue, label);
        StationEquation eq;
        eq.Ahead = *ahead;
        eq.Internal = *internal;
        eq.Back = r.Length(e, "staBack", label).value_or(s.ToStation(*internal));
        s.Equations.push_back(eq);
    }
    std::stable_sort(
        s.Equations.begin(), s.Equations.end(),
        [](const StationEquation& a, const StationEquation& b) { return a.Internal < b.Internal; });
    return s;
}

// The profile's stations are internal chainages, as the alignment's own elements count them.
std::vector<LongSlopesInfo> ReadProfAlign(const Reader& r, const pugi::xml_node& prof,
                                          const std::string& owner) {
    struct Vip {
        double K = 0, H = 0, Radius = 0;
        bool Curve = false;
        double CurveLength = 0; // a ParaCurve's length, its radius once the grades are known
        std::string Label;
    };
    std::vector<Vip> vips;
    std::size_t position = 0;
    for (pugi::xml_node e = prof.first_child(); e; e = e.next_sibling()) {
        if (e.type() != pugi::node_element)
            continue;
        ++position;
        const std::string_view kind = LocalName(e);
        const std::string label = owner + " " + Label(e, position);
        if (kind == "Feature")
            continue;
        if (kind != "PVI" && kind != "ParaCurve" && kind != "CircCurve")
            Fail(keys::Unsupported, label); // UnsymParaCurve
        const std::vector<double> v = Numbers(e.child_value());
        if (v.size() != 2)
            Fail(keys::BadValue, label);
        Vip p;
        p.K = r.Metres(v[0], label);
        p.H = r.Elevation(v[1], label);
        p.Label = label;
        if (kind == "ParaCurve") {
            p.CurveLength = r.Length(e, "length", label).value_or(-1);
            if (p.CurveLength < 0)
                Fail(keys::BadValue, label);
            p.Curve = p.CurveLength > 0;
        } else if (kind == "CircCurve") {
            const std::optional<double> radius = r.Length(e, "radius", label);
            if (!radius || !r.Length(e, "length", label))
                Fail(keys::BadValue, label);
            p.Radius = std::fabs(*radius);
            p.Curve = p.Radius > 0;
        }
        vips.push_back(std::move(p));
    }
    std::vector<LongSlopesInfo> out;
    if (vips.empty())
        return out;
    if (vips.size() < 2)
        Fail(keys::BadProfile, owner);           // one point makes no grade line
    std::vector<double> grade(vips.size(), 0.0); // grade leaving point k, as a ratio
    for (std::size_t k = 0; k + 1 < vips.size(); ++k) {
        if (!(vips[k + 1].K > vips[k].K))
            Fail(keys::BadProfile, vips[k + 1].Label);
        grade[k] = (vips[k + 1].H - vips[k].H) / (vips[k + 1].K - vips[k].K);
    }
    for (std::size_t k = 0; k < vips.size(); ++k) {
        const Vip& p = vips[k];
        const bool first = k == 0;
        const bool last = k + 1 == vips.size();
        if (p.Curve && (first || last))
            Fail(keys::BadProfile, p.Label); // a vertical curve needs a grade on either side
        LongSlopesInfo s;
        s.Mileage = p.K;
        s.Height = p.H;
        const double in = first ? grade[0] : grade[k - 1];
        const double outGrade = last ? in : grade[k];
        s.Slope1 = in * 1000.0;
        s.Slope2 = outGrade * 1000.0;
        if (p.Curve) {
            const double change = std::fabs(outGrade - in);
            // A parabola of length L over a grade change Δg has radius L / Δg; without a change
            // of grade it is no curve at all.
            s.Radius = p.CurveLength > 0 ? (change > 0 ? p.CurveLength / change : 0.0) : p.Radius;
        }
        s.CurveFlag = s.Radius != 0 && s.Radius != -1 ? 1 : 0;
        if (!IsFinite(s))
            Fail(keys::BadValue, p.Label); // grades of points too close for their heights
        out.push_back(s);
    }
    return out;
}

std::optional<pugi::xml_document> Parse(std::string_view bytes, LandXmlError& error) {
    std::optional<pugi::xml_document> doc(std::in_place);
    const pugi::xml_parse_result parsed =
        doc->load_buffer(bytes.data(), bytes.size(), pugi::parse_default, pugi::encoding_auto);
    if (!parsed) {
        error = {keys::NotXml, parsed.description() + std::string(" @") +
                                   std::to_string(static_cast<long long>(parsed.offset))};
        return std::nullopt;
    }
    return doc;
}

pugi::xml_node Root(const pugi::xml_document& doc) {
    const pugi::xml_node root = doc.document_element();
    return LocalName(root) == "LandXML" ? root : pugi::xml_node{};
}

template <typename F> void ForEachAlignment(const pugi::xml_node& root, F f) {
    for (pugi::xml_node set = root.first_child(); set; set = set.next_sibling()) {
        if (set.type() != pugi::node_element || LocalName(set) != "Alignments")
            continue;
        for (pugi::xml_node a = set.first_child(); a; a = a.next_sibling()) {
            if (a.type() == pugi::node_element && LocalName(a) == "Alignment")
                f(a);
        }
    }
}

template <typename F> void ForEachPoint(const pugi::xml_node& node, F& f) {
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element)
            continue;
        if (LocalName(c) == "CgPoints")
            ForEachPoint(c, f);
        else if (LocalName(c) == "CgPoint")
            f(c);
    }
}

template <typename T, typename Body>
Result<T> Guarded(std::string_view bytes, bool needUnits, Body body) {
    Result<T> result;
    const std::optional<pugi::xml_document> doc = Parse(bytes, result.Error);
    if (!doc)
        return result;
    const pugi::xml_node root = Root(*doc);
    if (!root) {
        result.Error = {keys::NotLandXml,
                        utf8_to_gbk(std::string(LocalName(doc->document_element())))};
        return result;
    }
    UnitFactors units;
    std::string what;
    if (const std::optional<UnitFactors> u = detail::ReadUnits(root, what)) {
        units = *u;
    } else if (needUnits) {
        result.Error = {keys::BadUnits, utf8_to_gbk(what)};
        return result;
    }
    try {
        result.Value = body(root, Reader(root, units));
    } catch (const Failure& f) {
        result.Error = f.Error;
    }
    return result;
}

Alignment ReadOne(const Reader& r, const pugi::xml_node& a, std::string_view profile) {
    const std::string owner = Label(a, 1);
    const std::optional<double> start = r.Length(a, "staStart", owner);
    if (!start)
        Fail(keys::BadValue, owner + " staStart");
    const pugi::xml_node coordGeom = Child(a, "CoordGeom");
    if (!coordGeom)
        Fail(keys::NoAlignment, owner + " CoordGeom");
    Alignment out;
    out.Name = utf8_to_gbk(a.attribute("name").as_string());
    Chain chain = ReadCoordGeom(r, coordGeom, *start);
    out.Elements = std::move(chain.Elements);
    out.Counts = chain.Counts;
    out.Length = chain.Length;
    out.Stations = ReadStations(r, a, *start, owner);
    for (pugi::xml_node p = a.first_child(); p; p = p.next_sibling()) {
        if (p.type() != pugi::node_element || LocalName(p) != "Profile")
            continue;
        for (pugi::xml_node pa = p.first_child(); pa; pa = pa.next_sibling()) {
            if (pa.type() != pugi::node_element || LocalName(pa) != "ProfAlign")
                continue;
            ++out.ProfileCount;
            const std::string_view name = pa.attribute("name").as_string();
            const bool chosen =
                profile.empty() ? out.ProfileName.empty() && out.Profile.empty() : name == profile;
            if (chosen && out.Profile.empty()) {
                out.Profile = ReadProfAlign(r, pa, owner + " " + Label(pa, out.ProfileCount));
                out.ProfileName = utf8_to_gbk(name);
            }
        }
    }
    return out;
}

} // namespace

bool looks_like_landxml(std::string_view bytes) {
    std::string_view head = bytes.substr(0, 4096);
    // UTF-16 (with its byte order mark, as XML requires): the ASCII of the root element's name
    // shows once the zero bytes are gone.
    std::string narrow;
    if (head.size() >= 2 &&
        ((head[0] == '\xff' && head[1] == '\xfe') || (head[0] == '\xfe' && head[1] == '\xff'))) {
        for (char c : head.substr(2)) {
            if (c != '\0')
                narrow += c;
        }
        head = narrow;
    }
    if (head.starts_with("\xef\xbb\xbf"))
        head.remove_prefix(3); // the UTF-8 byte order mark
    // Past the prolog (declaration, comments, processing instructions, document type), the
    // first element must be "<LandXML" or "<prefix:LandXML": a text that merely mentions
    // LandXML stays a text.
    while (true) {
        while (!head.empty() && static_cast<unsigned char>(head.front()) <= ' ')
            head.remove_prefix(1);
        std::string_view close;
        if (head.starts_with("<?"))
            close = "?>";
        else if (head.starts_with("<!--"))
            close = "-->";
        else if (head.starts_with("<!"))
            close = ">";
        else
            break;
        const auto end = head.find(close);
        if (end == std::string_view::npos)
            return false;
        head.remove_prefix(end + close.size());
    }
    if (!head.starts_with("<"))
        return false;
    std::size_t name = 1;
    while (name < head.size() && (std::isalnum(static_cast<unsigned char>(head[name])) ||
                                  head[name] == '_' || head[name] == '-' || head[name] == '.'))
        ++name;
    std::string_view tag = head.substr(1, name - 1);
    if (name < head.size() && head[name] == ':') { // a namespace prefix
        const std::size_t local = name + 1;
        name = local;
        while (name < head.size() && std::isalnum(static_cast<unsigned char>(head[name])))
            ++name;
        tag = head.substr(local, name - local);
    }
    return tag == "LandXML" &&
           (name == head.size() || static_cast<unsigned char>(head[name]) <= ' ' ||
            head[name] == '>' || head[name] == '/');
}

Result<Document> read_document(std::string_view bytes) {
    return Guarded<Document>(bytes, false, [&](const pugi::xml_node& root, const Reader& r) {
        Document d;
        ForEachAlignment(root, [&](const pugi::xml_node& a) {
            AlignmentSummary s;
            s.Name = utf8_to_gbk(a.attribute("name").as_string());
            // Listed as the file gives them; a value that is no finite number lists as 0.
            const auto finite = [&](const char* attr) {
                const std::optional<double> v = ParseXsDouble(a.attribute(attr).value());
                const double metres = v ? *v * r.Linear() : 0.0;
                return std::isfinite(metres) ? metres : 0.0;
            };
            s.StartStation = finite("staStart");
            s.Length = finite("length");
            for (pugi::xml_node p = a.first_child(); p; p = p.next_sibling()) {
                if (LocalName(p) != "Profile")
                    continue;
                for (pugi::xml_node pa = p.first_child(); pa; pa = pa.next_sibling()) {
                    if (LocalName(pa) == "ProfAlign")
                        s.Profiles.push_back(utf8_to_gbk(pa.attribute("name").as_string()));
                }
            }
            try {
                const Alignment full = ReadOne(r, a, {});
                s.Counts = full.Counts;
            } catch (const Failure& f) {
                s.Error = f.Error;
                if (const pugi::xml_node cg = Child(a, "CoordGeom")) {
                    for (pugi::xml_node e = cg.first_child(); e; e = e.next_sibling()) {
                        const std::string_view kind = LocalName(e);
                        s.Counts.Lines += kind == "Line";
                        s.Counts.Curves += kind == "Curve";
                        s.Counts.Spirals += kind == "Spiral";
                    }
                }
            }
            d.Alignments.push_back(std::move(s));
        });
        auto count = [&](const pugi::xml_node&) { ++d.PointCount; };
        ForEachPoint(root, count);
        return d;
    });
}

Result<Alignment> read_alignment(std::string_view bytes, std::string_view name,
                                 std::string_view profile) {
    // Names come from the user in the program's code page; the file carries UTF-8.
    const std::string wanted = gbk_to_utf8(name);
    return Guarded<Alignment>(bytes, true, [&](const pugi::xml_node& root, const Reader& r) {
        std::vector<pugi::xml_node> all;
        ForEachAlignment(root, [&](const pugi::xml_node& a) { all.push_back(a); });
        pugi::xml_node chosen;
        if (name.empty()) {
            if (all.size() > 1)
                Fail(keys::SeveralAlignments, std::to_string(all.size()));
            if (!all.empty())
                chosen = all.front();
        } else {
            for (const pugi::xml_node& a : all) {
                if (!chosen && a.attribute("name").as_string() == wanted)
                    chosen = a;
            }
        }
        if (!chosen)
            Fail(keys::NoAlignment, wanted);
        return ReadOne(r, chosen, gbk_to_utf8(profile));
    });
}

Result<std::vector<Point>> read_points(std::string_view bytes) {
    return Guarded<std::vector<Point>>(
        bytes, true, [&](const pugi::xml_node& root, const Reader& r) {
            std::vector<Point> points;
            std::size_t position = 0;
            auto take = [&](const pugi::xml_node& c) {
                const std::string label = Label(c, ++position);
                Point p;
                const std::vector<double> v = Numbers(c.child_value());
                if (v.size() == 2 || v.size() == 3) {
                    p.North = r.Metres(v[0], label);
                    p.East = r.Metres(v[1], label);
                    if (v.size() == 3) {
                        p.Elevation = r.Elevation(v[2], label);
                        p.HasElevation = true;
                    }
                } else {
                    const NorthEast at = r.PointOf(c, label); // a point that only refers to another
                    p.North = at.North;
                    p.East = at.East;
                }
                p.Name = utf8_to_gbk(c.attribute("name").as_string());
                const char* code = c.attribute("code").as_string();
                p.Code = utf8_to_gbk(*code ? code : c.attribute("desc").as_string());
                points.push_back(std::move(p));
            };
            ForEachPoint(root, take);
            if (points.empty())
                Fail(keys::NoPoints, "CgPoints");
            return points;
        });
}

} // namespace telvane::road::landxml
