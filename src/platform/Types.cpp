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
    Extended fl = std::floor(x);
    Extended diff = x - fl;
    int64_t f = static_cast<int64_t>(fl);
    if (diff > 0.5L)
        return f + 1;
    if (diff < 0.5L)
        return f;
    return (f % 2 == 0) ? f : f + 1;
}
