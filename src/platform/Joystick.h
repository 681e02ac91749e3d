#pragma once
// Game controllers of this machine through Linux's joystick interface (/dev/input/jsN). Axes
// are reported as 0..65535 (centre 32768), buttons as a bit mask (button 1 is bit 0).

#include <cstdint>

struct TJoystickState {
    uint16_t X = 32768;
    uint16_t Y = 32768;
    uint16_t Z = 32768;
    uint32_t Buttons = 0;
};

class IJoystickSystem {
public:
    virtual ~IJoystickSystem() = default;
    // The number of joystick slots (index 0 .. count - 1).
    virtual int32_t SlotCount() = 0;
    // The current state of joystick index; false when it does not answer.
    virtual bool Read(int32_t index, TJoystickState& state) = 0;
};

// The system in use (the Linux joystick devices unless a test installed another).
IJoystickSystem& JoystickSystem();
// Installs a system (not owned); nullptr restores the real one.
void SetJoystickSystem(IJoystickSystem* system);
