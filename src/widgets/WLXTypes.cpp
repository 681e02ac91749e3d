#include "widgets/WLXTypes.h"

#include <cmath>
#include <cstdlib>

int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    int64_t p = int64_t(a) * b;
    int64_t d = c;
    if (d < 0) {
        p = -p;
        d = -d;
    }
    const int64_t q = p >= 0 ? (p + d / 2) / d : (p - d / 2) / d;
    return int(q);
}

int WLXRound(double x)
{
    return int(std::nearbyint(x));   // the default rounding mode: halves to even
}
