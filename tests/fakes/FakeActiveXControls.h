#pragma once
// Fakes of the makers' ActiveX controls in their roles, registered for a class identifier for
// the lifetime of a scope. Each keeps a simulated module and logs the calls the driver makes.

#include "platform/ActiveXRoles.h"

#include <map>
#include <string>
#include <vector>

// One line of a fake's call log: the member and its arguments ("AnalogValue 5 3").
template <class... T>
std::string CallLine(const char* what, T... values)
{
    std::string line = what;
    ((line += ' ' + std::to_string(values)), ...);
    return line;
}

// Registers a maker for a class identifier while it lives.
class TScopedActiveXControl {
public:
    TScopedActiveXControl(QString classId, TActiveXMaker maker) : m_classId(std::move(classId))
    {
        RegisterActiveXControl(m_classId, std::move(maker));
    }
    ~TScopedActiveXControl() { RegisterActiveXControl(m_classId, {}); }
    TScopedActiveXControl(const TScopedActiveXControl&) = delete;
    TScopedActiveXControl& operator=(const TScopedActiveXControl&) = delete;

private:
    QString m_classId;
};

// An AD-USB module: analog inputs the test sets, outputs it records, a call log.
struct TAdUsbModule {
    int16_t Present = 0;               // the module number that opens
    double Inputs[8] = {};             // analog inputs
    double Outputs[2] = {};            // analog outputs as written
    int16_t DigitalInputs = 0;
    int16_t DigitalOutputs = 0;
    bool Open = false;
    std::vector<std::string> Calls;    // "OpenModule 5", "AnalogValue 5 3", ...
};

class TFakeAdUsbControl : public IAdUsbControl {
public:
    explicit TFakeAdUsbControl(TAdUsbModule& module) : m_module(module) {}
    bool OpenModule(int16_t module) override
    {
        Log("OpenModule", module);
        m_module.Open = module == m_module.Present;
        return m_module.Open;
    }
    void CloseModule() override
    {
        m_module.Calls.push_back("CloseModule");
        m_module.Open = false;
    }
    double AnalogValue(int16_t module, int16_t channel) override
    {
        Log("AnalogValue", module, channel);
        return Usable(module) && channel >= 0 && channel < 8 ? m_module.Inputs[channel] : 0.0;
    }
    void SetAnalogValue(int16_t module, int16_t channel, double volts) override
    {
        Log("SetAnalogValue", module, channel);
        if (Usable(module) && channel >= 0 && channel < 2)
            m_module.Outputs[channel] = volts;
    }
    int16_t DigitalByte(int16_t module) override
    {
        Log("DigitalByte", module);
        return Usable(module) ? m_module.DigitalInputs : 0;
    }
    void SetDigitalByte(int16_t module, int16_t bits) override
    {
        Log("SetDigitalByte", module, bits);
        if (Usable(module))
            m_module.DigitalOutputs = bits;
    }

private:
    bool Usable(int16_t module) const { return m_module.Open && module == m_module.Present; }
    template <class... T>
    void Log(const char* what, T... values)
    {
        m_module.Calls.push_back(CallLine(what, values...));
    }
    TAdUsbModule& m_module;
};

// A LIBADX control: the device opens at one address; analog and digital values by index.
struct TLibadxDevice {
    QString Address;                  // the address that opens
    std::map<int32_t, float> Analog;  // by index: inputs read, outputs written
    std::map<int32_t, int32_t> Digital;
    int32_t Created = 0;              // controls made
    std::vector<std::string> Calls;   // "Open usbbase", "Close", "AnalogIn 1 3", ...
};

class TFakeLibadxControl : public ILibadxControl {
public:
    explicit TFakeLibadxControl(TLibadxDevice& device) : m_device(device) { ++m_device.Created; }
    bool Open(const QString& address) override
    {
        m_device.Calls.push_back("Open " + address.toStdString());
        m_open = address == m_device.Address;
        return m_open;
    }
    void Close() override
    {
        m_device.Calls.push_back("Close");
        m_open = false;
    }
    float AnalogIn(int32_t index, int32_t range) override
    {
        Log("AnalogIn", index, range);
        return m_open ? m_device.Analog[index] : 0.0f;
    }
    void AnalogOut(int32_t index, int32_t range, float value) override
    {
        Log("AnalogOut", index, range);
        if (m_open)
            m_device.Analog[index] = value;
    }
    int32_t DigitalIn(int32_t index) override
    {
        Log("DigitalIn", index);
        return m_open ? m_device.Digital[index] : 0;
    }
    void DigitalOut(int32_t index, int32_t value) override
    {
        Log("DigitalOut", index, value);
        if (m_open)
            m_device.Digital[index] = value;
    }
    bool DigitalInLine(int32_t index, int32_t line) override
    {
        Log("DigitalInLine", index, line);
        return m_open && (m_device.Digital[index] >> line & 1);
    }
    void DigitalOutLine(int32_t index, int32_t line, bool value) override
    {
        Log("DigitalOutLine", index, line, int(value));
        if (m_open)
            m_device.Digital[index] = value ? m_device.Digital[index] | 1 << line
                                            : m_device.Digital[index] & ~(1 << line);
    }
    void DigitalDirection(int32_t index, int32_t value) override { Log("DigitalDirection", index, value); }

private:
    template <class... T>
    void Log(const char* what, T... values)
    {
        m_device.Calls.push_back(CallLine(what, values...));
    }
    TLibadxDevice& m_device;
    bool m_open = false;
};
