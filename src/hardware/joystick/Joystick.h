#pragma once
// A game controller: three axes as analogue inputs (-100 .. +100) and four buttons as digital
// inputs, polled at most every 25 ms. BaseAddress holds the joystick number (0 = none, n = the
// system's joystick n - 1).

#include "hardware/framework/IoInterface.h"

class TJoystickAInPort : public TAInPort {
public:
    TV_CLASS_NAME(TJoystickAInPort)
    TJoystickAInPort();
    bool Disabled = true;
    uint32_t LastPoll = 0;
    void SimStart() override;
    void MachEsJetzt() override;
};

class TJoystickDInPort : public TDInPort {
public:
    TV_CLASS_NAME(TJoystickDInPort)
    TJoystickDInPort();
    bool Disabled = true;
    uint32_t LastPoll = 0;
    void SimStart() override;
    void MachEsJetzt() override;
};

class TJoystick : public TIOInterface {
public:
    TV_CLASS_NAME(TJoystick)
    static const TDeviceDescription Description;
    TJoystick();

    // "Kein", then "Joystick #n" for the joysticks that answer; JoystickNumbers holds the
    // number of each entry (0 for "Kein").
    QStringList JoystickList;
    std::vector<int32_t> JoystickNumbers;

    void getKonfigData() override;
    void ApplySettings() override;
    // A chosen joystick that does not answer is reported; the run goes on without it.
    void SimStart() override;
    void writeToIni(TIniFile& ini, const QString& section) override;
    void readFromIni(TIniFile& ini, const QString& section) override;

private:
    int32_t m_choice = 0;
};

// Whether joystick number n (1-based) answers now.
bool JoystickAnswers(int32_t number);
