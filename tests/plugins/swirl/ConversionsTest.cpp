#include "Conversions.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();
constexpr std::int32_t most = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t least = std::numeric_limits<std::int32_t>::min();

struct Case {
    double x;
    std::int32_t truncated;
    std::int32_t floored;
};

TEST(Conversions, TruncAndFloorAreTheUsualOnesInRangeAndSaturateOutside) {
    const Case cases[] = {
        {0.75, 0, 0},
        {-0.25, 0, -1},
        {-3.0, -3, -3},
        {-7.992, -7, -8},
        {2147483647.5, most, most},
        {2147483648.0, most, most},
        {-2147483648.0, least, least},
        {-2147483647.5, -2147483647, least},
        {-2147483648.5, least, least},
        {1e300, most, most},
        {-1e300, least, least},
        {inf, most, most},
        {-inf, least, least},
        {nan, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x);
        EXPECT_EQ(truncToInt(c.x), c.truncated);
        EXPECT_EQ(floorToInt(c.x), c.floored);
    }
}

TEST(Conversions, CountsSaturateToTheThirtyTwoBitRange) {
    const struct {
        std::int64_t x;
        std::int32_t expected;
    } cases[] = {{-5, -5}, {std::int64_t{most} + 1, most}, {std::int64_t{least} - 1, least}, {1LL << 62, most}};
    for (const auto& c : cases) EXPECT_EQ(saturateToInt(c.x), c.expected) << c.x;
}

}  // namespace
