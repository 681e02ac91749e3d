#pragma once
// The text commands of the Pollin AVR-NET-IO board and the reading of its answers: each command
// goes out without a line end and is answered by one line.

#include "platform/Types.h"

#include <optional>
#include <string>

namespace avrnetio {

// "SETPORT k.1" / "SETPORT k.0" for digital output k (1..8).
std::string SetPortCommand(int k, bool high);
// "GETPORT k" for digital input k (1..4).
std::string GetPortCommand(int k);
// "GETADC k" for analog input k (1..4).
std::string GetAdcCommand(int k);

// A digital input's answer: its first character "1" is high, "0" low; anything else is none.
std::optional<bool> DigitalAnswer(const std::string& line);
// An analog answer: a whole decimal count 0..1023 (blanks and the line end around it allowed);
// anything else is none.
std::optional<int> AdcAnswer(const std::string& line);
// The voltage of a count at a reference voltage in millivolts: count x (vref / 1000) / 1023.
Extended AdcVolts(int count, int vrefMv);

} // namespace avrnetio
