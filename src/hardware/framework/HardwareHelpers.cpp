#include "hardware/framework/HardwareHelpers.h"

#include "platform/Context.h"
#include "platform/MessageBox.h"

#include <cmath>

uint16_t HexToWord(const QString& text)
{
    const QString upper = text.toUpper();
    uint16_t result = 0;
    int position = 0;
    for (qsizetype i = upper.size() - 1; i >= 0 && position < 4; --i, ++position) {
        const QChar c = upper[i];
        int value = 0;
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            value = c.unicode() - '0';
        else if (c >= QLatin1Char('A') && c <= QLatin1Char('F'))
            value = c.unicode() - 'A' + 10;
        result = uint16_t(result + (value << (4 * position)));
    }
    return result;
}

QString WordToHex(uint16_t value)
{
    return QStringLiteral("%1").arg(value, 4, 16, QLatin1Char('0')).toUpper();
}

Extended RoundSignificant(int32_t digits, Extended x)
{
    if (digits < 1 || digits > 11 || x == 0.0L || !std::isfinite(double(x)))
        return x;
    Extended f = 1.0L;
    while (std::fabs(x) < 1.0L) {
        f *= 10.0L;
        x *= 10.0L;
    }
    while (std::fabs(x) >= 10.0L) {
        f /= 10.0L;
        x /= 10.0L;
    }
    const Extended s = std::pow(10.0L, Extended(digits - 1));
    return Extended(RoundHalfEven(x * s)) / s / f;
}

void ShowDriverNeeded(const QString& deviceName)
{
    QString text;
    switch (Ctx().CurrentLanguage) {
    case 0:
        text = QString::fromUtf8("Für dieses Gerät ist der Treiber des Herstellers erforderlich.\r"
                                 "Installieren Sie die Software des Geräteherstellers");
        break;
    case 1:
        text = QStringLiteral("This device needs a device driver.\r"
                              "Install the software delivered from the device manufacturer.");
        break;
    case 2:
        text = QString::fromUtf8("Installez le logiciel depuis le CD livré avec le module.");
        break;
    default:
        return;
    }
    MessageBoxText(text, deviceName, mbOK, mtWarning);
}

void Crc16Step(uint8_t b, uint16_t& crc)
{
    for (int i = 0; i < 8; ++i) {
        if ((b ^ crc) & 1u)
            crc = uint16_t((crc >> 1) ^ 0xA001u);
        else
            crc = uint16_t(crc >> 1);
        b = uint8_t(b >> 1);
    }
}
