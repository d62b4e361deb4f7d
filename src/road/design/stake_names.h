// Stake names: the name a stake's point carries in the files the program writes and the points
// the instrument sends back. A stake at chainage 120 is "K0+120.000", its left side point
// "K0+120.000L" and its right side point "K0+120.000R": K, the whole kilometres, "+", the metres
// with three decimals and three integer digits, then the side letter.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace telvane::road {

enum class StakeSide { Centre, Left, Right };

struct StakeName {
    double Chainage = 0; // metres; the station the name gives
    StakeSide Side = StakeSide::Centre;

    bool operator==(const StakeName&) const = default;
};

// "K1+234.567", with "L" or "R" after it for a side point. The metres are rounded to the
// millimetre first (999.9996 m is the next kilometre); a negative chainage is "-K0+005.000".
std::string format_stake_name(double chainage, StakeSide side = StakeSide::Centre);

// The stake a name names, or nothing for any other name. Taken: an optional "-", "K" or "k", the
// kilometres (digits), "+", the metres (one to three integer digits, so below 1000, optionally a
// point and decimals), and an optional side letter "L"/"R" (either case). Nothing may stand
// before or after it, blanks included: a point named "K0+120 old" is not the stake.
std::optional<StakeName> parse_stake_name(std::string_view name);

} // namespace telvane::road
