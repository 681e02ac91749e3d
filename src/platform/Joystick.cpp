#include "platform/Joystick.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <linux/joystick.h>
#include <unistd.h>

namespace {

IJoystickSystem* g_system = nullptr;

constexpr int32_t kSlots = 16;

uint16_t AxisRaw(int16_t value)
{
    return uint16_t(int32_t(value) + 32768);
}

class TLinuxJoysticks : public IJoystickSystem {
public:
    ~TLinuxJoysticks() override
    {
        for (auto& slot : m_slots)
            if (slot.Fd >= 0)
                ::close(slot.Fd);
    }
    int32_t SlotCount() override { return kSlots; }
    bool Read(int32_t index, TJoystickState& state) override
    {
        if (index < 0 || index >= kSlots)
            return false;
        TSlot& slot = m_slots[size_t(index)];
        if (slot.Fd < 0) {
            char name[32];
            std::snprintf(name, sizeof name, "/dev/input/js%d", index);
            slot.Fd = ::open(name, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
            if (slot.Fd < 0)
                return false;
            slot.State = TJoystickState{};
        }
        // The device reports changes; the state is what they add up to.
        js_event e{};
        ssize_t n;
        while ((n = ::read(slot.Fd, &e, sizeof e)) == sizeof e) {
            const uint8_t type = e.type & ~JS_EVENT_INIT;
            if (type == JS_EVENT_AXIS) {
                if (e.number == 0)
                    slot.State.X = AxisRaw(e.value);
                else if (e.number == 1)
                    slot.State.Y = AxisRaw(e.value);
                else if (e.number == 2)
                    slot.State.Z = AxisRaw(e.value);
            } else if (type == JS_EVENT_BUTTON && e.number < 32) {
                if (e.value)
                    slot.State.Buttons |= 1u << e.number;
                else
                    slot.State.Buttons &= ~(1u << e.number);
            }
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) {
            ::close(slot.Fd); // unplugged: tried again at the next read
            slot.Fd = -1;
            return false;
        }
        state = slot.State;
        return true;
    }

private:
    struct TSlot {
        int Fd = -1;
        TJoystickState State;
    };
    std::array<TSlot, kSlots> m_slots;
};

} // namespace

IJoystickSystem& JoystickSystem()
{
    static TLinuxJoysticks real;
    return g_system ? *g_system : real;
}

void SetJoystickSystem(IJoystickSystem* system)
{
    g_system = system;
}
