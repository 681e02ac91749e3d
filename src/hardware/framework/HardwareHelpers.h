#pragma once
// Small routines that device drivers share.

#include "platform/Types.h"

#include <QString>
#include <cstdint>

// The value of the last four hexadecimal digits of a text; any other character counts as 0 but
// keeps its place ("378" and "0x378" give 0x0378, "12345" gives 0x2345).
uint16_t HexToWord(const QString& text);
// Four upper-case hexadecimal digits ("0378").
QString WordToHex(uint16_t value);
// x rounded to digits significant decimal digits (halves to even); x itself for digits outside
// 1 .. 11 and for 0.
Extended RoundSignificant(int32_t digits, Extended x);
// The warning that a device needs its maker's driver, captioned with the device name.
void ShowDriverNeeded(const QString& deviceName);
// Folds one byte into a running reflected CRC-16 with the polynomial 0xA001 (Modbus RTU).
void Crc16Step(uint8_t b, uint16_t& crc);
