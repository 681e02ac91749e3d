#include "platform/Types.h"

#include <cmath>
#include <limits>

int64_t RoundHalfEven(Extended x)
{
    if (std::isnan(x))
        return 0;
    if (x >= 9.2233720368547758e18L)
        return std::numeric_limits<int64_t>::max();
    if (x <= -9.2233720368547758e18L)
        return std::numeric_limits<int64_t>::min();
    // The processor's rounding in its default mode (to nearest, halves to even), one
    // instruction where floor and compare cost a change of the rounding mode each.
    return std::llrint(x);
}
