#pragma once
// Value and text conversion of pin values: numbers to text in general notation and tolerant
// reading of numbers from text. The "C" locale formats, the user's decimal separator shows.

#include "platform/Types.h"

#include <QString>
#include <string>

// Every "." and then every "," replaced by the user's decimal separator.
QString LocalizeDecimal(const QString& text);
// General notation, 8 significant digits, exponent with at least 4 digits, locale separator.
QString ValueToText(Extended value);
// Tolerant number reading: "$" hex, TRUE/FALSE, "," as point, blanks and units ignored.
Extended ParseValue(const QString& text);
// ParseValue, then 5.0 when the upper-cased text contains "TRUE".
Extended TextToValue(const QString& text);

// printf formatting in the "C" locale ('.' as the point), whatever LC_NUMERIC says.
std::string CFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));
// General notation with `precision` significant digits (trailing zeros dropped): fixed when
// the decimal exponent E of 0.d1d2... x 10^E lies in -3..maxFixedE, else d1.d2...E[-]xxx with
// at least minExpDigits exponent digits; sep is the decimal separator.
QString GeneralText(Extended value, int precision, int maxFixedE, int minExpDigits, QChar sep);
