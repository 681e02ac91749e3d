#pragma once
// The number format TFormat and the small shared text routines; the value and text conversion
// of pins (platform/ValueText.h) comes with it.

#include "platform/Locale.h"
#include "platform/Types.h"
#include "platform/ValueText.h"

#include <QString>
#include <cstdint>
#include <initializer_list>

class TReader;
class TWriter;

// --- Number format -----------------------------------------------------------------------
// The value is the bit number in the stored option byte.
enum class TFormatOption : uint8_t {
    Fixed = 0,
    NoZero = 1,
    Float = 2,
    Expo = 3,
    Binary = 4,
    Hexadecimal = 5,
    Unformatted = 6,
};

// A set of TFormatOption in one byte, bit i for option i.
class TFormatOptions {
public:
    constexpr TFormatOptions() = default;
    constexpr TFormatOptions(std::initializer_list<TFormatOption> options)
    {
        for (TFormatOption o : options)
            Include(o);
    }
    static constexpr TFormatOptions FromByte(uint8_t bits)
    {
        TFormatOptions s;
        s.m_bits = bits;
        return s;
    }
    constexpr uint8_t ToByte() const { return m_bits; }

    constexpr bool Contains(TFormatOption o) const { return (m_bits >> Bit(o)) & 1u; }
    constexpr void Include(TFormatOption o) { m_bits = uint8_t(m_bits | (1u << Bit(o))); }
    constexpr void Exclude(TFormatOption o) { m_bits = uint8_t(m_bits & ~(1u << Bit(o))); }
    constexpr bool IsEmpty() const { return m_bits == 0; }

    friend constexpr bool operator==(TFormatOptions a, TFormatOptions b) = default;

private:
    static constexpr unsigned Bit(TFormatOption o) { return static_cast<unsigned>(o); }
    uint8_t m_bits = 0;
};

// How a display, table, string component, recorder or serial output writes a number.
class TFormat {
public:
    TFormatOptions Options{TFormatOption::Float};
    int32_t Digits = 3;   // Fixed: integer digits; Float: positions; Expo: significant digits;
                          // Hexadecimal, Binary: digit count
    int32_t Decimals = 2; // decimals of Fixed
    QString Prefix;
    QString Suffix;
    bool ShowPlus = false; // "+" in place of the sign blank in Fixed, Float and Expo

    // Prefix + the formatted number (with the plus rule) + Suffix.
    QString FormatValue(double value) const;
    // Prefix + text + Suffix; with ShowPlus a leading blank of the text becomes "+".
    QString FormatText(const QString& text) const;

    void WriteData(TWriter& writer) const;
    void ReadData(TReader& reader);

private:
    bool SignedMode() const;
};

// The number in the first mode present of Unformatted, Expo, Fixed, Float, Hexadecimal,
// Binary; empty with none. An overflow gives a pattern of ">" characters.
QString FormatNumber(TFormatOptions options, int32_t digits, int32_t decimals, double value);
// The translated name of the mode (the last one present wins); empty with none.
QString FormatOptionName(TFormatOptions options);

// --- Shared routines ---------------------------------------------------------------------
// Opens the help topic with this context number.
void ShowHelp(int context);
// The data file: the program's "Data/" copy wins over the project folder's; when neither
// exists, the name in the program's "Data/" folder (an empty name stays empty).
QString FindDataFile(const QString& name);
// Characters not allowed in file names ("*/:<>?\| and the double quote) become "_".
QString SafeFileName(const QString& text);
// The time of day of seconds after baseDate (a day count from 1899-12-30) with milliseconds
// after a ","; trim drops trailing zeros of the milliseconds. Negative seconds give "".
QString TimeToTextMs(double seconds, double baseDate, bool trim);
// The date reached seconds after baseDate, in the system's short date format.
QString DateToText(double seconds, double baseDate);
// "1d 1h 01:01", "1h 02:05.250", "59", with "-" for negative durations.
QString DurationToText(double seconds);
// "#RRGGBB" of a 0x00BBGGRR colour; a system colour (negative) gives "#ECE9D8".
QString ColorToHtml(int32_t color);
// The web server's folder under the common application-data folder, with a trailing "/".
QString WebServerFolder();
