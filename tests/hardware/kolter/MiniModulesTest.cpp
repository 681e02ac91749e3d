// Kolter's mini USB modules on the shared serial-port object, against a model of their shift
// registers: the words shifted out with 6-ms break clocks, one port served per step, and the
// counter, D/A, relay and opto codes.
#include "hardware/HandshakeModuleModel.h"
#include "hardware/HardwareTestSupport.h"
#include "hardware/SerialTestSupport.h"

#include "hardware/kolter/KolterUsb.h"

#include <algorithm>

namespace {

class MiniModulesTest : public SerialFixture {
protected:
    void Start(TKolterUSBInterface& device)
    {
        device.SetComPort(4);
        device.SimStart();
        std::vector<TIOPort*> ports;
        for (auto& port : device.Ports)
            ports.push_back(port.get());
        AdvanceClockInWaits(device, fake.clock, ports);
        m.Frames.clear();
    }
    TScopedHandshakeModule module;
    THandshakeModule& m = module.Module;
};

} // namespace

TEST_F(MiniModulesTest, CounterServesResetFirstThenReadsBothWordsAndResetsOnAFallingEdge)
{
    TMini_Counter device;
    Start(device);
    ASSERT_FALSE(m.Applied.empty());
    EXPECT_EQ(m.Applied.back().Baud, 256000);
    EXPECT_EQ(m.Applied.back().DataBits, 7);

    m.Next = {0x0001, 0x0002};
    device.MachEsJetzt(); // the reset output first: RST low, nothing to do
    EXPECT_TRUE(m.Frames.empty());
    device.MachEsJetzt();
    ASSERT_EQ(m.Frames.size(), 2u);
    EXPECT_EQ(m.FrameValue(0), 0x0000u);
    EXPECT_EQ(m.FrameValue(1), 0x8000u);
    EXPECT_EQ(device.Ports[0]->Pins[0]->Value, 131073.0L);
    EXPECT_GE(*std::min_element(m.BreakNs.begin(), m.BreakNs.end()), 6000000);

    m.Frames.clear();
    device.SetValue(0, 5.0L); // rising: nothing
    device.MachEsJetzt();
    EXPECT_TRUE(m.Frames.empty());
    device.MachEsJetzt();
    m.Frames.clear();
    device.SetValue(0, 0.0L); // falling: reset
    device.MachEsJetzt();
    ASSERT_EQ(m.Frames.size(), 2u);
    EXPECT_EQ(m.FrameValue(0), 0x6000u);
    EXPECT_EQ(m.FrameValue(1), 0x0000u);
    device.SimStop();
}

TEST_F(MiniModulesTest, DacSendsTheComplementOfItsFixedRange)
{
    TMini_DAC device;
    Start(device);
    const struct {
        Extended volts;
        uint32_t code;
    } cases[] = {{-10.0L, 0xFFFF}, {10.0L, 0x0000}, {0.0L, 0x7FFF}};
    for (const auto& c : cases) {
        m.Frames.clear();
        device.SetValue(0, c.volts);
        device.Ports[0]->Pins[0]->Max = 5.0L; // the pin editor's range is overwritten
        device.MachEsJetzt();
        ASSERT_EQ(m.Frames.size(), 1u) << double(c.volts);
        EXPECT_EQ(m.FrameValue(0), c.code) << double(c.volts);
    }
    m.Frames.clear();
    device.MachEsJetzt(); // unchanged
    EXPECT_TRUE(m.Frames.empty());
    device.SimStop();
}

TEST_F(MiniModulesTest, RelayAndOptoModulesShiftTheirFewBits)
{
    TMini_IO io;
    Start(io);
    io.SetValue(0, 5.0L); // R1 high, R2 low
    m.Word = 0x2;
    io.MachEsJetzt(); // the second port (inputs) is served first
    EXPECT_EQ(io.Ports[1]->Pins[0]->Value, 0.0L);
    EXPECT_EQ(io.Ports[1]->Pins[1]->Value, 5.0L);
    io.MachEsJetzt();
    ASSERT_EQ(m.Frames.size(), 1u);
    EXPECT_EQ(m.Frames[0], (std::vector<int>{1, 0}));
    io.MachEsJetzt();
    io.MachEsJetzt();
    EXPECT_EQ(m.Frames.size(), 1u); // nothing more until a relay changes
    io.SimStop();

    TOpto4Out out;
    Start(out);
    out.SetValue(1, 5.0L);
    out.SetValue(3, 5.0L);
    out.MachEsJetzt();
    ASSERT_EQ(m.Frames.size(), 1u);
    EXPECT_EQ(m.Frames[0], (std::vector<int>{0, 1, 0, 1}));
    out.SimStop();

    TOpto4In in;
    Start(in);
    m.Word = 0x9;
    in.MachEsJetzt();
    std::vector<Extended> values;
    for (const auto& pin : in.Ports[0]->Pins)
        values.push_back(pin->Value);
    EXPECT_EQ(values, (std::vector<Extended>{5.0L, 0.0L, 0.0L, 5.0L}));
    in.SimStop();
}

TEST_F(MiniModulesTest, WithoutAnOpenPortNoModuleStepTouchesALineOrAPin)
{
    TMini_Proto device; // no COM number
    device.SimStart();
    m.Word = 0xFFFF;
    device.MachEsJetzt();
    device.MachEsJetzt();
    EXPECT_TRUE(m.Calls.empty());
    EXPECT_EQ(device.Ports[1]->GetPinsAsWord(), 0);
    device.SimStop();
}
