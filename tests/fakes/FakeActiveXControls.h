#pragma once
// Fakes of the makers' ActiveX controls in their roles, registered for a class identifier for
// the lifetime of a scope. Each keeps a simulated module and logs the calls the driver makes.

#include "platform/ActiveXRoles.h"

#include <map>
#include <string>
#include <vector>

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
        std::string line = what;
        ((line += ' ' + std::to_string(values)), ...);
        m_module.Calls.push_back(line);
    }
    TAdUsbModule& m_module;
};
