// The VModul I/O and A/D modules against a model of their shift registers on the handshake
// lines: the words and request bytes shifted out (least significant bit first, framed by RTS),
// the clocks (break pulses of their length, or 0x00 bytes on the USB versions), the inputs and
// results shifted in, and the poll intervals on the fake clock.
#include "hardware/HandshakeModuleModel.h"
#include "hardware/HardwareTestSupport.h"
#include "hardware/SerialTestSupport.h"

#include "hardware/kolter/VModul.h"
#include "hardware/kolter/VModulAd.h"

#include <algorithm>

namespace {

class VModulTest : public SerialFixture {
protected:
    template <class T>
    void Start(T& device, int com = 3)
    {
        device.BaseAddress = uint16_t(com);
        device.PropagateAddress();
        device.SimStart();
        std::vector<TIOPort*> ports;
        for (auto& port : device.Ports)
            ports.push_back(port.get());
        AdvanceClockInWaits(device, fake.clock, ports);
    }
    void SetWord(TIOInterface& device, uint16_t w)
    {
        for (int i = 0; i < 16; ++i)
            device.SetValue(i, (w >> i & 1u) ? 5.0L : 0.0L);
    }
    int64_t ShortestBreakNs() const
    {
        return *std::min_element(module.Module.BreakNs.begin(), module.Module.BreakNs.end());
    }
    TScopedHandshakeModule module;
};

} // namespace

TEST_F(VModulTest, ComVersionShiftsChangedWordsAndReadsTheInputsEveryElevenMs)
{
    THandshakeModule& m = module.Module;
    TVModul device;
    Start(device, 12);
    EXPECT_EQ(m.Opened, std::vector<QString>{ComDeviceNode(12)});
    m.Word = 0xA5C3;
    SetWord(device, 0x8001);
    device.MachEsJetzt();
    ASSERT_EQ(m.Frames.size(), 1u);
    EXPECT_EQ(m.Frames[0], (std::vector<int>{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}));
    EXPECT_GE(ShortestBreakNs(), 3000000);
    EXPECT_EQ(device.Ports[1]->GetPinsAsWord(), 0xA5C3);

    // Unchanged outputs are not sent again; the inputs wait for their interval.
    m.Word = 0x1234;
    const int loads = m.Loads;
    device.MachEsJetzt();
    EXPECT_EQ(m.Frames.size(), 1u);
    EXPECT_EQ(m.Loads, loads);
    fake.clock.AdvanceMs(11);
    device.MachEsJetzt();
    EXPECT_EQ(device.Ports[1]->GetPinsAsWord(), 0x1234);
    device.SimStop();

    // A word of 1 still goes out at the next run start.
    SetWord(device, 0x0001);
    device.SimStart();
    AdvanceClockInWaits(device, fake.clock, {device.Ports[0].get(), device.Ports[1].get()});
    device.Ports[0]->MachEsJetzt();
    device.Ports[0]->MachEsJetzt();
    ASSERT_EQ(m.Frames.size(), 2u); // once, not again in the second step
    EXPECT_EQ(m.FrameValue(1), 1u);
    device.SimStop();
}

TEST_F(VModulTest, UsbVersionsClockWithBytesAtTheirLineSettings)
{
    THandshakeModule& m = module.Module;
    TxcomUSB device;
    Start(device);
    ASSERT_FALSE(m.Applied.empty());
    EXPECT_EQ(m.Applied.back().Baud, 256000);
    EXPECT_EQ(m.Applied.back().DataBits, 7);
    EXPECT_EQ(std::count(m.Calls.begin(), m.Calls.end(), "SETRTS"), 8); // the line reset
    m.Word = 0x8421;
    SetWord(device, 0x00F0);
    const uint32_t before = fake.clock.TickCount();
    device.MachEsJetzt();
    EXPECT_EQ(m.FrameValue(0), 0x00F0u);
    EXPECT_EQ(device.Ports[1]->GetPinsAsWord(), 0x8421);
    EXPECT_EQ(m.ZeroBytes, 32);
    EXPECT_TRUE(m.BreakNs.empty());
    EXPECT_GE(fake.clock.TickCount() - before, 16u * 7u + 16u);
    device.SimStop();
}

TEST_F(VModulTest, AdModuleRequestsAChannelThenReadsItsResultNineMsLater)
{
    THandshakeModule& m = module.Module;
    TVModulAD device;
    device.RangeChoice = 3; // 0 .. 5 V
    device.DlgAddress = 3;
    device.ApplySettings();
    Start(device);
    auto& port = static_cast<TVModulADAInPort&>(*device.Ports[0]);
    port.Channel = 5;
    m.Word = 32768;
    device.MachEsJetzt();
    ASSERT_EQ(m.Frames.size(), 1u);
    EXPECT_EQ(m.Frames[0], (std::vector<int>{0, 1, 1, 0, 0, 0, 0, 0})); // channel A5 is byte 6
    EXPECT_GE(ShortestBreakNs(), 1000000);
    device.MachEsJetzt(); // too soon: nothing
    EXPECT_TRUE(port.RequestPending);
    EXPECT_EQ(m.Loads, 0);
    fake.clock.AdvanceMs(9);
    device.MachEsJetzt();
    EXPECT_NEAR(double(port.Pins[5]->Value), 2.5, 1e-4);
    EXPECT_EQ(port.Channel, 6);
    device.SimStop();
}

TEST_F(VModulTest, UsbAdModulesReadTheInvertedLineAndTheMiniAlwaysAsksChannelOne)
{
    THandshakeModule& m = module.Module;
    m.InvertCts = true;
    m.Word = 0xFFFF;
    TMini_AD device;
    Start(device);
    for (int pass = 0; pass < 2; ++pass) {
        device.MachEsJetzt();
        fake.clock.AdvanceMs(9);
        device.MachEsJetzt();
        fake.clock.AdvanceMs(9);
    }
    ASSERT_EQ(m.Frames.size(), 2u);
    EXPECT_EQ(m.FrameValue(0), 1u);
    EXPECT_EQ(m.FrameValue(1), 1u);
    EXPECT_EQ(device.Ports[0]->Pins[0]->Value, 10.0L);
    EXPECT_GT(m.ZeroBytes, 0);
    device.SimStop();
}

TEST_F(VModulTest, APortThatDoesNotOpenIsToldOnceAndChangesNoPin)
{
    SetSerialLineMaker([] {
        class TMissing : public THandshakeModuleLine {
        public:
            using THandshakeModuleLine::THandshakeModuleLine;
            int32_t Open(const QString&) override { return ENOENT; }
        };
        static THandshakeModule unused;
        return std::make_unique<TMissing>(unused);
    });
    TVModulADUSB device;
    Start(device);
    EXPECT_EQ(messages.Requests().size(), 1u);
    device.MachEsJetzt();
    fake.clock.AdvanceMs(20);
    device.MachEsJetzt();
    EXPECT_EQ(device.Ports[0]->Pins[0]->Value, 0.0L);
    device.SimStop();
}
