#include "comm/modbus/ModbusDevice.h"

#include "core/model/Translator.h"

#include <algorithm>

TModbusDataPort::TModbusDataPort()
{
    Name = QStringLiteral("Transfer Data");
    Configure(1, 1);
}

void TModbusDataPort::Configure(uint8_t function, int32_t count)
{
    ClearPins();
    count = modbus::ChannelCount(function, count);
    const bool bits = modbus::IsBitFunction(function);
    const QString name = bits ? QStringLiteral("CL") : QStringLiteral("REG");
    const QString description = bits ? QStringLiteral("Coil status")
                                     : QStringLiteral("Register status");
    const Extended max = (function == 1 || function == 2 || function == 5) ? 5.0L : 65535.0L;
    if (function == 5 || function == 6) {
        AddPin(description, name, 0.0L, max, false);
    } else {
        const QString pinName = function == 2 ? QStringLiteral("IN") : name;
        const QString pinDescription = function == 2 ? QStringLiteral("Input status")
                                                     : description;
        for (int32_t n = 1; n <= count; ++n)
            AddPin(pinDescription + QLatin1Char(' ') + QString::number(n),
                   pinName + QString::number(n), 0.0L, max, false);
    }
    SetInput(modbus::IsReadFunction(function));
}

std::vector<Extended> TModbusDataPort::Values() const
{
    std::vector<Extended> values;
    for (const auto& pin : Pins)
        values.push_back(GetPinValue(*pin));
    return values;
}

void TModbusDataPort::Apply(const std::vector<Extended>& values)
{
    for (size_t i = 0; i < values.size() && i < Pins.size(); ++i)
        SetPinValue(*Pins[i], values[i]);
}

namespace modbus {

QString FunctionCaption(uint8_t function)
{
    return FunctionText(function).mid(3, 50);
}

int32_t ChannelCount(uint8_t function, int32_t wanted)
{
    if (function == 5 || function == 6)
        return 1;
    return std::clamp(wanted, 1, 64);
}

} // namespace modbus
