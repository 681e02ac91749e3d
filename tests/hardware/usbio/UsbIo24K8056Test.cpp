// The USB I/O 24 module and the K8056 relay card against scripted devices on a pty: direction
// frames and the first write of every output, the poll of one input port at a time with a
// silent module given up after a time-out, and the relay frames with their 400 ms pause.
#include "hardware/SerialTestSupport.h"

#include "fakes/ScriptedSerialDevice.h"
#include "hardware/usbio/K8056.h"
#include "hardware/usbio/UsbIo24.h"

namespace {

class UsbIo24K8056Test : public SerialFixture {
protected:
    void SetUp() override
    {
        SerialFixture::SetUp();
        ports.Attach(2, module);
    }
    // Each step the device takes inside a wait moves the clock by one millisecond.
    void LetWaitsPass(TIOInterface& device)
    {
        for (auto& port : device.Ports)
            port->StepCallback = [this] { fake.clock.AdvanceMs(1); };
    }

    TScriptedSerialDevice module;
    TScriptedSerialPorts ports;
};

} // namespace

TEST_F(UsbIo24K8056Test, UsbIo24WritesEveryOutputFirstAndPollsOneInputPortAtATime)
{
    TRavar_USB_IO24 device;
    device.getKonfigData();
    device.DlgComNumber = 2;
    device.DlgDirections = {1, 0, 0}; // A output, B and C inputs
    device.ApplySettings();
    ASSERT_EQ(device.OutputCount, 8);
    EXPECT_EQ(device.GetOutputLabel(0), QStringLiteral("A0"));
    EXPECT_EQ(device.GetInputLabel(0), QStringLiteral("B0"));
    EXPECT_EQ(device.GetInputDescription(15), QStringLiteral("Port C; Bit 7"));

    module.Expect({'!', 'A', 0x00}).Expect({'!', 'B', 0xFF}).Expect({'!', 'C', 0xFF});
    module.Expect({'A', 0x00});                // the first step writes even 0
    module.Expect({'b'}).Answer({0x11, 0x5A}, 2); // the last byte counts
    module.Expect({'A', 0x01});
    module.Expect({'c'});                      // silent
    device.SimStart();
    EXPECT_EQ(module.Frames.back().Baud, 9600);
    device.MachEsJetzt(); // writes A; A is an output: the poll moves on
    device.MachEsJetzt(); // asks B
    fake.clock.AdvanceMs(5);
    device.SetValue(0, 5.0L);
    device.MachEsJetzt(); // writes A again, takes B's answer
    EXPECT_EQ(device.GetInputValue(1), 5.0L);
    EXPECT_EQ(device.GetInputValue(0), 0.0L);
    EXPECT_EQ(device.GetInputValue(6), 5.0L);
    device.MachEsJetzt(); // asks C, which stays silent
    for (int i = 0; i < 3; ++i) {
        fake.clock.AdvanceMs(300);
        device.MachEsJetzt();
    }
    EXPECT_TRUE(module.ScriptDone());
    EXPECT_TRUE(module.Unexpected.empty());
    // After a second the request is dropped: A is skipped and B asked again.
    module.Expect({'b'}).Answer({0x00});
    fake.clock.AdvanceMs(200);
    device.MachEsJetzt();
    device.MachEsJetzt();
    device.MachEsJetzt();
    device.MachEsJetzt();
    EXPECT_EQ(device.GetInputValue(1), 0.0L);
    EXPECT_TRUE(module.ScriptDone());
    EXPECT_TRUE(module.Unexpected.empty());
    device.SimStop();
    EXPECT_TRUE(messages.Requests().empty());

    // The directions travel in the stored record.
    TRavar_USB_IO24 loaded;
    LoadRecord(loaded, StoreRecord(device));
    EXPECT_EQ(loaded.ComNumber, 2);
    EXPECT_EQ(loaded.OutputCount, 8);
    EXPECT_EQ(loaded.GetOutputLabel(7), QStringLiteral("A7"));
}

TEST_F(UsbIo24K8056Test, K8056SendsARelayFrameOnEveryChangeAndPausesAfterIt)
{
    TK8056 card;
    card.SetKartenAdresse(300);
    EXPECT_EQ(card.KartenAdresse(), 255);
    card.SetKartenAdresse(0);
    EXPECT_EQ(card.KartenAdresse(), 1);
    card.SetComPort(2);
    LetWaitsPass(card);

    module.Expect({0x0D, 0x01, 0x42, 0x00, 0xB0}); // all off, sent once at the first step
    module.Expect({0x0D, 0x01, 0x42, 0x81, 0x2F});
    card.SimStart();
    EXPECT_EQ(module.Frames.back().Baud, 2400);
    const uint32_t start = fake.clock.TickCount();
    card.MachEsJetzt();
    EXPECT_GE(fake.clock.TickCount() - start, 400u);
    card.MachEsJetzt(); // unchanged: nothing
    card.SetValue(0, 5.0L);
    card.SetValue(7, 5.0L);
    // A change during the pause is sent at the first step after it.
    card.Ports[0]->StepCallback = [&] {
        fake.clock.AdvanceMs(1);
        card.SetValue(1, 5.0L);
        card.MachEsJetzt();
    };
    card.MachEsJetzt();
    EXPECT_TRUE(module.ScriptDone());
    LetWaitsPass(card);
    module.Expect({0x0D, 0x01, 0x42, 0xC1, 0xEF});
    card.MachEsJetzt();
    EXPECT_TRUE(module.ScriptDone());
    EXPECT_TRUE(module.Unexpected.empty());
    card.SimStop();

    card.SetKartenAdresse(7);
    TK8056 loaded;
    LoadRecord(loaded, StoreRecord(card));
    EXPECT_EQ(loaded.KartenAdresse(), 7);
    EXPECT_EQ(loaded.ComNumber, 2);
}
