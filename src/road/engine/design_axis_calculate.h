// One road design: the element chain of the horizontal alignment and the vertical profile, and the
// stakes they give at a chainage.
#pragma once

#include "road/engine/long_slopes_calculate.h"
#include "road/engine/plane_calculate.h"
#include "road/engine/road_records.h"

#include <cstdint>
#include <vector>

namespace telvane::road {

class DesignAxisCalculate {
public:
    // Set to 1 whenever plane data are set; it changes no result.
    std::int32_t Mode = 0;
    // Kept with the design for the road window; never interpreted.
    std::vector<SuperelevationInfo> Superelevations;

    // Stores the chain and hands a copy to the working chain. False for an empty chain or one that
    // the engine cannot walk; a refused chain stays stored and is still used by CalculatePile (it
    // is for the caller to stop). A chain holding a value that is not a finite number is refused
    // and not stored: the design is left without a chain.
    bool SetPlaneElements(double startChainage, const std::vector<PlaneInfo>& chain);

    // Stores the profile and hands a copy to the working profile (unless it is empty). False for
    // fewer than 2 points or chainages that go backwards (equal ones are fine); a refused profile
    // stays stored and in use. A profile holding a value that is not finite is refused and not
    // stored: the design is left without a profile.
    bool SetLongSlopes(const std::vector<LongSlopesInfo>& points);

    // Empties the superelevation list, the chain and the profile.
    void Clear();

    // The stake at chainage K: centre on the axis, side points Offset to the left and right
    // (Offset 0: no side points, they and their elevations are 0; Offset < 0: both on the
    // centre). Elevations from the profile, all three alike; 0 without a profile or outside it.
    // On success writes every field of pile except Mileage; on failure pile is untouched.
    bool CalculatePile(double K, double Offset, Pile& pile) const;

    const std::vector<PlaneInfo>& PlaneElements() const { return planeElements_; }
    const std::vector<LongSlopesInfo>& LongSlopes() const { return longSlopes_; }

private:
    std::vector<PlaneInfo> planeElements_;
    std::vector<LongSlopesInfo> longSlopes_;
    // The working copies that stake evaluation reads.
    PlaneCalculate plane_;
    LongSlopesCalculate profile_;
};

} // namespace telvane::road
