// libFuzzer entry point for the LandXML reader. Whatever the bytes, the reader returns a
// refusal or values that are all finite; points it reads write out and read back; an alignment
// it accepts is one the design axis takes and evaluates at every element's start.
#include "road/engine/design_axis_calculate.h"
#include "road/landxml/landxml.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {
void require(bool condition) {
    if (!condition)
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace telvane::road;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    (void)landxml::looks_like_landxml(bytes);
    if (const auto doc = landxml::read_document(bytes)) {
        for (const auto& a : doc.Value->Alignments)
            require(std::isfinite(a.StartStation) && std::isfinite(a.Length));
    }
    if (const auto points = landxml::read_points(bytes)) {
        for (const auto& p : *points.Value)
            require(std::isfinite(p.North) && std::isfinite(p.East) && std::isfinite(p.Elevation));
        // Whatever names they had, the points write out as a file that reads back whole.
        const auto again = landxml::read_points(landxml::write_points(*points.Value));
        require(again && again.Value->size() == points.Value->size());
    }
    const auto alignment = landxml::read_alignment(bytes);
    if (!alignment)
        return 0;
    const landxml::Alignment& a = *alignment.Value;
    for (const PlaneInfo& e : a.Elements)
        require(IsFinite(e));
    for (const LongSlopesInfo& p : a.Profile)
        require(IsFinite(p));
    DesignAxisCalculate axis;
    require(axis.SetPlaneElements(a.Stations.Start, a.Elements));
    if (!a.Profile.empty())
        require(axis.SetLongSlopes(a.Profile));
    for (const PlaneInfo& e : a.Elements) {
        Pile p;
        require(axis.CalculatePile(e.Mileage, 2.5, p));
        require(std::isfinite(p.MiddleN) && std::isfinite(p.MiddleE) && std::isfinite(p.MiddleZ));
        (void)a.Stations.ToStation(e.Mileage);
    }
    landxml::DesignToWrite design;
    design.Elements = a.Elements;
    design.Stations = a.Stations;
    design.Profile = a.Profile;
    (void)landxml::write_design(design);
    return 0;
}
