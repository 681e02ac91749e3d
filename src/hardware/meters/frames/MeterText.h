#pragma once
// What a meter's frame decodes to, and the text rules every meter decoder shares: the unit
// prefix factor, the strict number conversion of display texts and the building of a number
// text from display digits. Texts are UTF-8 ("°C", "µF").

#include "platform/Types.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One decoded frame: the display as text and the values of the channels it sets, in base
// units. A decoder that cannot read a frame returns no reading and the meter keeps its values.
struct TMeterReading {
    std::string Display;
    std::vector<double> Values;
};

// Factor of the unit's prefix: "p" 1e-12 … "G" 1e9, "µ" and "u" 1e-6, "k" and "K" 1e3; 1 for
// an empty unit, for "psi" and for any other first character.
Extended PrefixFactor(std::string_view unit);

// The text without leading and trailing blanks (only the blank character itself).
std::string TrimText(std::string_view text);

// The longest run of "+-.0123456789E" that begins at the first character of that set.
std::string ExtractNumber(std::string_view text);

// A display number with "." as the decimal point: blanks around it, a sign, digits, one point
// and an exponent. Any other character (an overload text such as " O.L") gives no number.
std::optional<Extended> MeterNumber(std::string_view text);
// MeterNumber, 0 when the text is no number.
Extended MeterNumberOrZero(std::string_view text);

// The display character of a nibble-coded digit byte: its low four bits OR "0", so 10 to 15
// give ":" to "?".
inline char NibbleChar(unsigned char byte) { return static_cast<char>((byte & 0x0F) | 0x30); }

// Whether a digit byte of an ASCII-coded frame is in step: bits 4 to 6 read 011 (bit 7 is left
// out because some cables set it on every byte).
inline bool InStep(unsigned char byte) { return (byte & 0x70) == 0x30; }

// True when every byte of frame[first, first + count) is an in-step digit 0 to 9.
bool PlainDigits(std::string_view frame, size_t first, size_t count);

// Inserts "." after `point` characters when point lies inside the digits.
std::string WithPoint(std::string digits, int point);

// The four-digit rule: "." after `point` digits when point < 4, otherwise a blank at the end.
std::string WithPointOrBlank(std::string digits, int point);

// "-" or a blank in front, cut to eight characters.
std::string Signed(const std::string& number, bool negative);

// The overload display text and the value of a number text multiplied by the unit's prefix.
inline constexpr std::string_view OverloadText = " O.L";
double ScaledValue(std::string_view number, std::string_view unit);
