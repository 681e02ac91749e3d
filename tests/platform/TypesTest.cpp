#include "platform/Types.h"

#include <gtest/gtest.h>
#include <cmath>
#include <limits>

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour)
{
    struct Case { Extended in; int64_t out; };
    const Case cases[] = {
        {0.5L, 0}, {1.5L, 2}, {2.5L, 2}, {3.5L, 4}, {-0.5L, 0}, {-1.5L, -2}, {-2.5L, -2},
        {2.4999L, 2}, {2.5001L, 3}, {-2.5001L, -3}, {7.0L, 7}, {65535.7L, 65536},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RoundHalfEven(c.in), c.out) << static_cast<double>(c.in);
}

TEST(RoundHalfEven, OutOfRangeSaturatesAndNaNIsZero)
{
    EXPECT_EQ(RoundHalfEven(std::numeric_limits<Extended>::quiet_NaN()), 0);
    EXPECT_EQ(RoundHalfEven(1e30L), std::numeric_limits<int64_t>::max());
    EXPECT_EQ(RoundHalfEven(-1e30L), std::numeric_limits<int64_t>::min());
}
