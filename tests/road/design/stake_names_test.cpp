// Stake names both ways: the names the program gives its stakes, and the names it takes for one.
#include "road/design/stake_names.h"

#include <gtest/gtest.h>

namespace telvane::road {
namespace {

TEST(StakeNames, FormatGivesKilometresAndThreeDigitMetres) {
    struct Case {
        double chainage;
        StakeSide side;
        const char* name;
    };
    const Case cases[] = {
        {120, StakeSide::Centre, "K0+120.000"},
        {120, StakeSide::Left, "K0+120.000L"},
        {120, StakeSide::Right, "K0+120.000R"},
        {5.25, StakeSide::Centre, "K0+005.250"},
        {12345.6789, StakeSide::Centre, "K12+345.679"},
        {999.9996, StakeSide::Centre, "K1+000.000"}, // rounds into the next kilometre
        {1999.9994, StakeSide::Right, "K1+999.999R"},
        {0, StakeSide::Centre, "K0+000.000"},
        {-0.0001, StakeSide::Centre, "K0+000.000"}, // no "-" for what rounds to nothing
        {-5, StakeSide::Left, "-K0+005.000L"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(format_stake_name(c.chainage, c.side), c.name) << c.chainage;
}

TEST(StakeNames, ParseTakesStakeNamesOnlyAndRoundTrips) {
    struct Case {
        const char* name;
        std::optional<StakeName> stake;
    };
    const Case cases[] = {
        {"K0+120.000", StakeName{120, StakeSide::Centre}},
        {"K0+120.000L", StakeName{120, StakeSide::Left}},
        {"k0+120.000r", StakeName{120, StakeSide::Right}},
        {"K12+345.679", StakeName{12345.679, StakeSide::Centre}},
        {"K0+20", StakeName{20, StakeSide::Centre}}, // typed by hand
        {"K3+005.5R", StakeName{3005.5, StakeSide::Right}},
        {"-K0+005.000L", StakeName{-5, StakeSide::Left}},
        {"K0+1200.000", std::nullopt}, // metres are below 1000
        {"K0+120.", std::nullopt},
        {"K0+.5", std::nullopt},
        {"K+120.000", std::nullopt},
        {"K0120.000", std::nullopt},
        {"K0+120.000LR", std::nullopt},
        {"K0+120.000X", std::nullopt},
        {" K0+120.000", std::nullopt},
        {"K0+120.000 ", std::nullopt},
        {"P120", std::nullopt},
        {"", std::nullopt},
        {"K", std::nullopt},
        {"K1234567890+000", std::nullopt}, // more kilometres than any road
    };
    for (const Case& c : cases) {
        const std::optional<StakeName> got = parse_stake_name(c.name);
        ASSERT_EQ(got.has_value(), c.stake.has_value()) << c.name;
        if (got) {
            EXPECT_NEAR(got->Chainage, c.stake->Chainage, 1e-9) << c.name;
            EXPECT_EQ(got->Side, c.stake->Side) << c.name;
        }
    }
    for (double k : {0.0, 0.001, 99.999, 1000.0, 47123.456, 250000.5})
        for (StakeSide side : {StakeSide::Centre, StakeSide::Left, StakeSide::Right}) {
            const std::optional<StakeName> back = parse_stake_name(format_stake_name(k, side));
            ASSERT_TRUE(back) << k;
            EXPECT_NEAR(back->Chainage, k, 1e-9);
            EXPECT_EQ(back->Side, side);
        }
}

} // namespace
} // namespace telvane::road
