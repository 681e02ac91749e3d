#pragma once
// The settings of the devices chosen by a device or card number: the settings-file keys "Name"
// and "Device" (the number as hexadecimal digits), and the card list of their dialogs.

#include <QString>
#include <QStringList>
#include <cstdint>

class TIniFile;

// Writes "Name" and "Device" (value as digits upper-case hexadecimal digits, 2 or 4).
void WriteDeviceKey(TIniFile& ini, const QString& section, const QString& name, uint16_t value,
                    int digits = 4);
// "Device" read as hexadecimal; 0 when missing.
uint16_t ReadDeviceKey(const TIniFile& ini, const QString& section);

// "Karte #0" .. "Karte #3" in the current language.
QStringList CardList();
