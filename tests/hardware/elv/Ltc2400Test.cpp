// The ELV 24-bit A/D module against a model of its LTC2400 on the handshake lines: the break
// and RTS pulse at run start, the 32 bits clocked out by DTR, the sign and overrange codes
// scaled by the pin's full scale, and no read-out while CTS says a conversion is running.
#include "hardware/HandshakeModuleModel.h"
#include "hardware/HardwareTestSupport.h"
#include "hardware/SerialTestSupport.h"

#include "hardware/elv/Ltc2400.h"

namespace {

class Ltc2400Test : public SerialFixture {
protected:
    void SetUp() override
    {
        SerialFixture::SetUp();
        converter.Module.LoadOnRtsRise = true;
        converter.Module.ClockOnDtrFall = true;
        converter.Module.MsbFirst = true;
        converter.Module.Width = 32;
    }
    TScopedHandshakeModule converter;
};

constexpr uint32_t kSign = 1u << 29, kExtended = 1u << 28;

} // namespace

TEST_F(Ltc2400Test, ReadsTheConversionScaledByThePinsFullScale)
{
    TLTC2400 device;
    device.SetComPort(2);
    device.SimStart();
    THandshakeModule& m = converter.Module;
    ASSERT_GE(m.Calls.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(m.Calls.end() - 5, m.Calls.end()),
              (std::vector<std::string>{"SETBREAK", "CLRBREAK", "SETBREAK", "SETRTS", "CLRRTS"}));
    TPin& pin = *device.Ports[0]->Pins[0];

    const struct {
        uint32_t word;
        Extended max;
        double volts;
    } cases[] = {
        {kSign | 0x8000000u, 5.0L, 2.5},           // half scale
        {kSign | kExtended, 5.0L, 5.0},            // full scale exactly
        {0x0FFFFFFFu, 5.0L, -5.0 / 268435455.0},   // just below zero
        {kSign | 0x8000000u, 2.5L, 1.25},          // a smaller full scale halves the reading
    };
    for (const auto& c : cases) {
        m.Word = c.word;
        pin.Max = c.max;
        m.Calls.clear();
        device.MachEsJetzt();
        EXPECT_NEAR(double(pin.Value), c.volts, 1e-7) << std::hex << c.word;
        EXPECT_EQ(std::count(m.Calls.begin(), m.Calls.end(), "CLRDTR"), 32);
    }

    // While CTS is set (converting), no read-out and no clock pulse; a silent line (all bits
    // low) leaves the pin.
    const Extended before = pin.Value;
    m.CtsBusy = true;
    m.Calls.clear();
    device.MachEsJetzt();
    EXPECT_EQ(m.Calls.size(), 0u);
    m.CtsBusy = false;
    m.Word = 0;
    device.MachEsJetzt();
    EXPECT_EQ(pin.Value, before);
    device.SimStop();
}
