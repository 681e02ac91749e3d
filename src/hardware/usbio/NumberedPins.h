#pragma once
// The pins most boards number from 1: name prefix + n, description the text of the current
// language + n, range 0..max.

#include "hardware/framework/IoPort.h"

// Replaces the pins of port by count numbered pins (n = first .. first + count - 1).
void AddNumberedPins(TIOPort& port, int32_t count, const char* prefix, const char* german,
                     const char* english, const char* french, Extended max, bool configurable,
                     int32_t first = 1);
