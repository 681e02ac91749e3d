#pragma once
// Basic numeric types shared by every layer.

#include <cfloat>
#include <cstdint>

// Every pin value and stored float is an 80-bit x87 extended value.
using Extended = long double;
static_assert(LDBL_MANT_DIG == 64, "Extended must be the 80-bit x87 format");

// The one rounding rule of the system: to the nearest integer, halves to the even neighbour.
// Values outside the 64-bit range saturate; NaN gives 0.
int64_t RoundHalfEven(Extended x);
