#pragma once
// The settings-file keys of the devices chosen by a device or card number: "Name" and
// "Device", the number as hexadecimal digits.

#include <QString>
#include <cstdint>

class TIniFile;

// Writes "Name" and "Device" (value as digits upper-case hexadecimal digits, 2 or 4).
void WriteDeviceKey(TIniFile& ini, const QString& section, const QString& name, uint16_t value,
                    int digits = 4);
// "Device" read as hexadecimal; 0 when missing.
uint16_t ReadDeviceKey(const TIniFile& ini, const QString& section);
