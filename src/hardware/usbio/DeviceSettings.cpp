#include "hardware/usbio/DeviceSettings.h"

#include "core/model/Translator.h"
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

QStringList CardList()
{
    QStringList cards;
    for (int n = 0; n < 4; ++n)
        cards << Translate(QStringLiteral("Karte")) + QStringLiteral(" #") + QString::number(n);
    return cards;
}
