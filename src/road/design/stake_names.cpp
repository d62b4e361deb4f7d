#include "road/design/stake_names.h"

#include "model/numtext.h"

#include <cmath>

namespace telvane::road {
namespace {

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

// Reads a run of digits at `at`; false when there is none or it is longer than `most`.
bool digits(std::string_view s, std::size_t& at, std::size_t most, double& value) {
    const std::size_t from = at;
    value = 0;
    while (at < s.size() && is_digit(s[at])) {
        value = value * 10 + (s[at] - '0');
        ++at;
    }
    return at > from && at - from <= most;
}

} // namespace

std::string format_stake_name(double chainage, StakeSide side) {
    const bool negative = chainage < 0;
    // Whole millimetres first, so that the kilometre and the metres agree after rounding.
    const double mm = std::round(std::fabs(chainage) * 1000.0);
    const double km = std::floor(mm / 1e6);
    const double metres = (mm - km * 1e6) / 1000.0;
    std::string text = format_fixed(metres, 3);
    while (text.size() < 7) // "5.000" -> "005.000"
        text.insert(0, "0");
    std::string name = negative && mm > 0 ? "-K" : "K";
    name += format_fixed(km, 0);
    name += '+';
    name += text;
    if (side == StakeSide::Left)
        name += 'L';
    else if (side == StakeSide::Right)
        name += 'R';
    return name;
}

std::optional<StakeName> parse_stake_name(std::string_view s) {
    std::size_t at = 0;
    bool negative = false;
    if (at < s.size() && s[at] == '-') {
        negative = true;
        ++at;
    }
    if (at >= s.size() || (s[at] != 'K' && s[at] != 'k'))
        return std::nullopt;
    ++at;
    double km = 0;
    // Kilometres of any sensible road; more digits would lose the millimetre.
    if (!digits(s, at, 9, km) || at >= s.size() || s[at] != '+')
        return std::nullopt;
    ++at;
    const std::size_t metres_from = at;
    double whole = 0;
    if (!digits(s, at, 3, whole))
        return std::nullopt;
    if (at < s.size() && s[at] == '.') {
        const std::size_t point = at++;
        while (at < s.size() && is_digit(s[at]))
            ++at;
        if (at == point + 1)
            return std::nullopt; // "K0+120." is not a stake
    }
    const std::string_view metres = s.substr(metres_from, at - metres_from);
    StakeName name;
    if (at < s.size()) {
        const char c = s[at++];
        if (c == 'L' || c == 'l')
            name.Side = StakeSide::Left;
        else if (c == 'R' || c == 'r')
            name.Side = StakeSide::Right;
        else
            return std::nullopt;
    }
    if (at != s.size())
        return std::nullopt;
    double m = 0;
    if (!try_parse_double(metres, m))
        return std::nullopt;
    name.Chainage = km * 1000.0 + m;
    if (negative)
        name.Chainage = -name.Chainage;
    return name;
}

} // namespace telvane::road
