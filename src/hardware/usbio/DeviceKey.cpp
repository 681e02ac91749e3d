#include "hardware/usbio/DeviceKey.h"

#include "hardware/framework/HardwareHelpers.h"
#include "platform/IniFile.h"

void WriteDeviceKey(TIniFile& ini, const QString& section, const QString& name, uint16_t value,
                    int digits)
{
    ini.WriteString(section, QStringLiteral("Name"), name);
    ini.WriteString(section, QStringLiteral("Device"), WordToHex(value).right(digits));
}

uint16_t ReadDeviceKey(const TIniFile& ini, const QString& section)
{
    return HexToWord(ini.ReadString(section, QStringLiteral("Device"), QStringLiteral("0000")));
}
