#pragma once
// What the Modbus/TCP and Modbus RTU devices share: the data port of a function, the texts of a
// function, the status pins and how an answer reaches the pins.

#include "comm/CommPins.h"
#include "comm/modbus/ModbusCodec.h"
#include "hardware/framework/IoInterface.h"

// The help topic of the Modbus devices.
inline constexpr int32_t kModbusHelpContext = 36010;
// A function's palette name: "Funktion" in the language, a blank, the two digits, a line
// break and the function's text ("Read Coils").
#define TAVRINOL_MODBUS_PALETTE_NAME(Code, Text)                                                   \
    {"Funktion " Code "\r" Text, "Function " Code "\r" Text, "Fonction " Code "\r" Text}

// The data pins of one Modbus function: inputs of the circuit for reads, outputs for writes.
class TModbusDataPort : public TIOPort {
public:
    TV_CLASS_NAME(TModbusDataPort)
    TModbusDataPort();
    void MachEsJetzt() override {}
    // The pins of the function: count pins (1..64), one for codes 5 and 6.
    void Configure(uint8_t function, int32_t count);
    // The pin values that a write request sends.
    std::vector<Extended> Values() const;
    // A decoded read answer: one value per pin; pins without a value keep theirs.
    void Apply(const std::vector<Extended>& values);
};

namespace modbus {

// The function text from its fourth character, at most 50 characters ("Read Coils").
QString FunctionCaption(uint8_t function);
// The channel count a function can have: 1 for codes 5 and 6, else 1..64.
int32_t ChannelCount(uint8_t function, int32_t wanted);

// The status pins "ERR", "CN", "BSY" of a status port.
struct TStatusPins {
    TPin* Err = nullptr;
    TPin* Cn = nullptr;
    TPin* Bsy = nullptr;
    void SetErr(int32_t code) const { if (Err) SetPinValue(*Err, Extended(code)); }
    void SetCn(bool on) const { if (Cn) SetPinValue(*Cn, on ? 5.0L : 0.0L); }
    void SetBsy(bool on) const { if (Bsy) SetPinValue(*Bsy, on ? 5.0L : 0.0L); }
};

} // namespace modbus
