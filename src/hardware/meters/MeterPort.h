#pragma once
// What the meter devices (on a COM port and on a USB-HID cable) share: the input port whose
// pins are the meter's channels and the error pin "ERR", and the list of meter names with the
// type each one chooses.

#include "hardware/framework/IoPort.h"
#include "hardware/meters/MeterChannels.h"
#include "platform/Clock.h"
#include "platform/Context.h"

#include <span>

// Replaces the port's pins by the meter's channels and "ERR" (all inputs, 0 to 5).
void BuildChannelPins(TIOPort& port, const TMultimeter& meter);
// Channel index + 1's value; the pin after the channels is "ERR" (TMultimeter::ErrorValue).
// Read by every step.
inline Extended MeterInputValue(const TMultimeter& meter, int32_t index)
{
    if (index == meter.Channels().Count())
        return meter.ErrorValue();
    return meter.Channels().Value(index + 1);
}

// The input port of a meter device, on the port class of its line.
template <class Base>
class TMeterInPort : public Base {
public:
    TMeterInPort()
    {
        this->Name = Lang3Q("DMM-Kanäle", "DMM channels", "Canaux DMM");
        this->AddPin(Lang3Q("DMM-Kanal", "DMM channel", "Canal DMM"), QStringLiteral("Kx"),
                     0.0L, 5.0L, true);
        this->SetInput(true);
    }
    TMultimeter* Meter = nullptr; // owned by the device

    void BuildChannelPins()
    {
        if (Meter)
            ::BuildChannelPins(*this, *Meter);
    }
    Extended GetInputValue(int32_t index) override
    {
        return Meter ? MeterInputValue(*Meter, index) : 0.0L;
    }
    // Every channel reads as fresh.
    int64_t GetInputTime(int32_t) override { return Clock().PerformanceCounter(); }
};

struct TMeterName {
    const char* Name;
    int32_t Type;
};
// The type of a name (exact comparison); 0 for a name not in the list.
int32_t MeterType(std::span<const TMeterName> list, const QString& name);
QStringList MeterNames(std::span<const TMeterName> list);
