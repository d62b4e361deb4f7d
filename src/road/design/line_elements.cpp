#include "road/design/line_elements.h"

#include "road/design/road_texts.h"
#include "road/engine/road_engine.h"

#include "model/numtext.h"

#include <cmath>
#include <iterator>
#include <optional>
#include <span>

namespace telvane::road {
namespace {

void RequireFinite(const PlaneInfo& e) {
    if (!IsFinite(e)) {
        throw ArithmeticError("Invalid floating point operation");
    }
}

void SetPoint(PlaneInfo& e, double east, double north) {
    e.East = east;
    e.North = north;
}

// The end of a spiral of length Ls from (east, north) at azimuth theta, turning to the signed
// radius R; an arithmetic fault where it cannot be evaluated (R = 0).
AxisPoint SpiralEnd(double east, double north, double theta, double R, double Ls) {
    AxisPoint end;
    if (!Clothoid{east, north, theta, R, Ls, ClothoidEntry}.Evaluate(Ls, 0, end)) {
        throw ArithmeticError("Floating point division by zero");
    }
    return end;
}

// Intersection point at T1 from the curve start P1, closing point at T2 beyond it; the two
// tangents differ when the spirals do.
EastNorth TangentClosingPoint(EastNorth P1, double a0, double t, double R, double Ls1, double Ls2,
                              double alpha) {
    const std::optional<CurveTangentInfo> tangents = CurveTangentLengths(R, Ls1, Ls2, alpha);
    if (!tangents) {
        throw ArithmeticError("Invalid floating point operation");
    }
    const EastNorth jd = PolarPoint(P1.East, P1.North, a0, tangents->T1);
    return PolarPoint(jd.East, jd.North, t, tangents->T2);
}

// A curve that turns by about half a circle has nearly parallel tangents: their intersection
// runs off towards infinity and the tangent lengths lose every digit that places the closing
// point.
bool NearHalfTurn(double alpha) {
    return std::fabs(std::cos(alpha / 2.0)) < 1e-3;
}

// The end of the circle of signed radius R and length Lc from `hy` and of the exit spiral of
// length Ls2 after it: the closing point, found along the curve itself.
EastNorth CurveEnd(const AxisPoint& hy, double R, double Lc, double Ls2) {
    AxisPoint yh;
    if (!Circle{hy.East, hy.North, 0, 0, R}.Evaluate(hy.Azimuth, Lc, 0, yh)) {
        throw ArithmeticError("Floating point division by zero");
    }
    AxisPoint hz = yh;
    if (Ls2 != 0 &&
        !Clothoid{yh.East, yh.North, yh.Azimuth, R, Ls2, ClothoidExit}.Evaluate(Ls2, 0, hz)) {
        throw ArithmeticError("Floating point division by zero");
    }
    return {hz.East, hz.North};
}

// The group s .. s + 4, with the element after it (nullptr at the end of the chain).
void ComputeGroup(std::span<PlaneInfo, 5> group, const PlaneInfo* successor) {
    PlaneInfo& first = group[0];
    PlaneInfo& entry = group[1];
    PlaneInfo& circle = group[2];
    PlaneInfo& exit = group[3];
    PlaneInfo& closing = group[4];

    for (std::size_t k = 1; k < group.size(); ++k) {
        group[k].Mileage = group[k - 1].Mileage + group[k - 1].Length;
    }

    // In the computed mode the group writes the points of its elements after the first; with a
    // given closing point it only derives azimuths and never moves a point.
    const bool computed = !IsGivenPoint(closing);
    const bool chordToSuccessor =
        !computed && successor != nullptr && closing.Length >= ShortestClosingStraight;

    const double a0 = first.AzimuthAngle;
    EastNorth P1{entry.East, entry.North}; // curve start (tangent to spiral)
    if (first.Length == 0) {
        if (computed) {
            SetPoint(entry, first.East, first.North);
            P1 = {first.East, first.North};
        }
    } else {
        P1 = PolarPoint(first.East, first.North, a0, first.Length);
        if (computed) {
            SetPoint(entry, P1.East, P1.North);
        }
    }
    entry.AzimuthAngle = a0;
    entry.Role = RoleEntryClothoid;

    const double Ls1 = entry.Length;
    const double Ls2 = exit.Length;
    const double Lc = circle.Length;
    const double R = std::fabs(circle.StartRadius);
    const double g = circle.Direction == "L" ? -1.0 : 1.0;

    // The circle's start: the entry spiral's end, or the curve start without a spiral.
    AxisPoint hy;
    hy.Azimuth = a0;
    hy.East = P1.East;
    hy.North = P1.North;
    if (Ls1 != 0) {
        hy = SpiralEnd(P1.East, P1.North, a0, g * R, Ls1);
    }
    if (computed) {
        SetPoint(circle, hy.East, hy.North);
    }
    circle.AzimuthAngle = hy.Azimuth; // not normalised, like a circle's own azimuths
    circle.Role = RoleOther;

    // Exit azimuth t and its reverse u.
    double t = 0;
    double u = 0;
    if (chordToSuccessor) {
        t = Azimuth(closing.North, closing.East, successor->North, successor->East);
        u = Azimuth(successor->North, successor->East, closing.North, closing.East);
    } else {
        // The curve turns by half of each spiral's angle and by the whole circle.
        const double alpha =
            checked(checked_div(Ls1, 2.0 * R) + checked_div(Lc, R) + checked_div(Ls2, 2.0 * R),
                    "Floating point overflow");
        t = a0 + g * alpha;
        if (t < 0) {
            t += TwoPi;
        }
        u = t < Pi ? t + Pi : t - Pi;
        if (computed) {
            const EastNorth hz = NearHalfTurn(alpha)
                                     ? CurveEnd(hy, g * R, Lc, Ls2)
                                     : TangentClosingPoint(P1, a0, t, R, Ls1, Ls2, alpha);
            SetPoint(closing, hz.East, hz.North);
        }
    }
    closing.AzimuthAngle = t;

    if (Ls2 == 0) {
        if (computed) {
            SetPoint(exit, closing.East, closing.North);
        }
        exit.AzimuthAngle = closing.AzimuthAngle;
    } else {
        // The exit spiral walked backwards from the closing point.
        const AxisPoint yh = SpiralEnd(closing.East, closing.North, u, -g * R, Ls2);
        if (computed) {
            SetPoint(exit, yh.East, yh.North);
        }
        exit.AzimuthAngle = NormalizeAngle(yh.Azimuth + Pi);
    }
    exit.Role = RoleExitClothoid;

    for (const PlaneInfo& e : group) {
        RequireFinite(e);
    }
}

std::string RefusalText(int error, std::size_t index) {
    std::string text = "MainPile error ";
    append_int(text, error);
    text += " Data Type is wrong at ";
    append_int(text, static_cast<long long>(index));
    return text;
}

PlaneInfo Filler(std::int32_t type, const PlaneInfo& pointFrom) {
    PlaneInfo f;
    f.LineType = type;
    f.East = pointFrom.East;
    f.North = pointFrom.North;
    f.AzimuthAngle = pointFrom.AzimuthAngle;
    return f;
}

// The straight put in front of a curve that opens the chain: a copy of the element's chainage,
// point and azimuth.
PlaneInfo LeadingStraight(const PlaneInfo& before) {
    PlaneInfo f = Filler(LineTypeLine, before);
    f.Mileage = before.Mileage;
    return f;
}

// The circle between two clothoids that meet without one; it turns the way they do.
PlaneInfo CircleFiller(const PlaneInfo& pointFrom, double startRadius, double endRadius,
                       const PlaneInfo& entry, const PlaneInfo& exit) {
    PlaneInfo f = Filler(LineTypeCircle, pointFrom);
    f.StartRadius = startRadius;
    f.EndRadius = endRadius;
    f.Direction = entry.Direction.empty() ? exit.Direction : entry.Direction;
    return f;
}

// The scan over the chain. The list being worked on is `done_` followed by the rest of the
// input from `next_`: every insertion falls into the open group at the end of `done_`, so each
// costs a few moves and a long chain is prepared in linear time.
class Preparation {
public:
    explicit Preparation(std::vector<PlaneInfo>& list) : list_(list), input_(std::move(list)) {
        list_.clear();
    }

    // Puts the list back together (also after a refusal or an arithmetic fault).
    ~Preparation() {
        done_.insert(done_.end(), std::make_move_iterator(input_.begin() + next_),
                     std::make_move_iterator(input_.end()));
        list_ = std::move(done_);
    }
    Preparation(const Preparation&) = delete;
    Preparation& operator=(const Preparation&) = delete;

    bool Run(std::string& message);

private:
    std::size_t Count() const { return done_.size() + (input_.size() - next_); }
    PlaneInfo& At(std::size_t k) {
        return k < done_.size() ? done_[k] : input_[next_ + (k - done_.size())];
    }
    std::int32_t Kind(std::size_t k) { return At(k).LineType; }
    bool NextIs(std::size_t i, std::int32_t kind) { return i + 1 < Count() && Kind(i + 1) == kind; }
    // Puts `e` in front of the element now at index k (k is at most the end of done_).
    void Insert(std::size_t k, PlaneInfo e) {
        done_.insert(done_.begin() + static_cast<std::ptrdiff_t>(k), std::move(e));
    }
    void Compute(std::size_t s) {
        ComputeGroup(std::span<PlaneInfo, 5>(done_.data() + s, 5),
                     s + 5 < Count() ? &At(s + 5) : nullptr);
    }
    // What examining element i of the window s..i did.
    struct Step {
        enum { Waiting, Complete, Refused } What = Waiting;
        std::size_t Inserted = 0; // fillers put in front of element i + 1 (Complete)
        int Error = 0;            // error number (Refused)
    };
    static Step Open() { return {}; }
    static Step Group(std::size_t inserted) { return {Step::Complete, inserted, 0}; }
    static Step Refuse(int error) { return {Step::Refused, 0, error}; }
    Step Examine(std::size_t s, std::size_t i);

    std::vector<PlaneInfo>& list_;
    std::vector<PlaneInfo> input_;
    std::size_t next_ = 0;
    std::vector<PlaneInfo> done_;
};

Preparation::Step Preparation::Examine(std::size_t s, std::size_t i) {
    const std::size_t w = i - s;
    switch (Kind(i)) {
    case LineTypeLine:
        if (w == 2) {
            if (Kind(s) == LineTypeLine && Kind(s + 1) == LineTypeCircle) {
                // A circle without clothoids.
                const PlaneInfo circle = At(s + 1);
                PlaneInfo exit = Filler(LineTypeClothoid, At(i));
                exit.StartRadius = circle.StartRadius;
                Insert(i, std::move(exit));
                PlaneInfo entry = Filler(LineTypeClothoid, circle);
                entry.AzimuthAngle = At(s).AzimuthAngle;
                entry.EndRadius = circle.StartRadius;
                Insert(i - 1, std::move(entry));
                return Group(2);
            }
            return Refuse(1);
        }
        if (w == 3) {
            if (Kind(s + 1) == LineTypeCircle && Kind(s + 2) == LineTypeClothoid) {
                // A curve that opens the chain with its circle.
                Insert(s, LeadingStraight(At(s)));
                return Group(1);
            }
            if (Kind(s) == LineTypeLine && Kind(s + 1) == LineTypeClothoid &&
                Kind(s + 2) == LineTypeClothoid && At(s + 2).StartRadius == At(s + 1).EndRadius) {
                // Two clothoids without a circle.
                Insert(i - 1, CircleFiller(At(i - 1), At(s + 1).EndRadius, At(s + 2).StartRadius,
                                           At(s + 1), At(s + 2)));
                return Group(1);
            }
            return Refuse(2);
        }
        if (w == 4) {
            return Group(0);
        }
        return Open(); // wider windows stay open
    case LineTypeCircle:
        if (w >= 3) {
            return Refuse(4);
        }
        return Open();
    case LineTypeClothoid:
        if (w == 2) {
            if (Kind(s) == LineTypeLine && Kind(s + 1) == LineTypeClothoid) {
                const bool lastOfThree = Count() == 3;
                if (lastOfThree || (Count() > 3 && NextIs(i, LineTypeCircle))) {
                    // Two clothoids without a circle, at the chain's end or before the next
                    // curve's circle.
                    Insert(i + 1, Filler(LineTypeLine, lastOfThree ? At(i) : At(i + 1)));
                    PlaneInfo circle = CircleFiller(At(i), At(i).StartRadius, At(i - 1).EndRadius,
                                                    At(i - 1), At(i));
                    if (lastOfThree) {
                        circle.Mileage = At(i).Mileage;
                    }
                    Insert(i, std::move(circle));
                    return Group(2);
                }
                return Open();
            }
            if (Kind(s) == LineTypeClothoid && Kind(s + 1) == LineTypeCircle) {
                const bool lastOfThree = Count() == 3;
                if (lastOfThree || (Count() > 3 && NextIs(i, LineTypeCircle))) {
                    // A curve that opens the chain with its entry clothoid and ends at the
                    // chain's end or before the next curve's circle.
                    Insert(i + 1, Filler(LineTypeLine, lastOfThree ? At(i) : At(i + 1)));
                    Insert(s, LeadingStraight(At(s)));
                    return Group(2);
                }
                return Open();
            }
            return Refuse(5);
        }
        if (w == 3) {
            if (Kind(s + 1) == LineTypeClothoid && Kind(s + 2) == LineTypeCircle) {
                if (NextIs(i, LineTypeClothoid)) {
                    // The next curve's entry clothoid follows at once: a closing straight of
                    // length 0 between the two curves.
                    Insert(i + 1, Filler(LineTypeLine, At(i + 1)));
                    return Group(1);
                }
                return Open();
            }
            return Refuse(6);
        }
        if (w >= 4) {
            return Refuse(7);
        }
        return Open();
    default:
        return Open();
    }
}

bool Preparation::Run(std::string& message) {
    if (input_.size() < 3) {
        message = roadtexts::TooFewElements;
        return false;
    }
    done_.reserve(input_.size() + input_.size() / 2);
    if (IsGivenPoint(input_[1]) && input_[0].Length != 0) {
        input_[0].AzimuthAngle =
            Azimuth(input_[0].North, input_[0].East, input_[1].North, input_[1].East);
    }

    std::size_t s = 0;
    for (std::size_t i = 0; i < Count(); ++i) {
        if (i == done_.size()) {
            done_.push_back(std::move(input_[next_++]));
        }
        if (s + 1 < i) {
            const Step step = Examine(s, i);
            if (step.What == Step::Refused) {
                message = RefusalText(step.Error, i);
                return false;
            }
            if (step.What == Step::Complete) {
                i += step.Inserted;
                Compute(s);
                s = i;
            }
        }
    }

    // Elements after the last group carry the chainage on; their points stay as given.
    for (std::size_t k = s + 1; k < Count(); ++k) {
        At(k).Mileage = At(k - 1).Mileage + At(k - 1).Length;
        RequireFinite(At(k));
    }

    // The axis ends at the start of its last element, which is only the end marker. A chain
    // typed by hand often closes with a straight of some length: the road goes on to that
    // straight's end, so the marker is put there. A chain that already ends with an element of
    // length 0 (as every saved one does) is left as it is. The straight's direction is known when
    // it closes the last curve or was typed in.
    const std::size_t last = Count() - 1;
    const PlaneInfo& end = At(last);
    if (end.LineType == LineTypeLine && end.Length > 0 && (last == s || end.AzimuthAngle != 0)) {
        PlaneInfo marker = Filler(LineTypeLine, end);
        const EastNorth at = PolarPoint(end.East, end.North, end.AzimuthAngle, end.Length);
        marker.East = at.East;
        marker.North = at.North;
        marker.Mileage = end.Mileage + end.Length;
        RequireFinite(marker);
        done_.push_back(std::move(marker));
    }
    return true;
}

} // namespace

bool IsGivenPoint(const PlaneInfo& e) {
    return std::trunc(e.East) != 0 || std::trunc(e.North) != 0;
}

bool PrepareLineElements(std::vector<PlaneInfo>& elements, std::string& message) {
    Preparation preparation(elements);
    return preparation.Run(message);
}

bool ComputeCurveGroup(std::vector<PlaneInfo>& elements, std::size_t s, std::size_t e) {
    if (e != s + 4 || e >= elements.size()) {
        return false;
    }
    ComputeGroup(std::span<PlaneInfo, 5>(elements.data() + s, 5),
                 e + 1 < elements.size() ? &elements[e + 1] : nullptr);
    return true;
}

} // namespace telvane::road
