// The fischertechnik Intelligent Interface and its extension against a scripted box on a pty:
// the alternating command bytes, the answer that belongs to an earlier command, the 20 ms gap
// between exchanges and the extension's 4-byte answers.
#include "hardware/SerialTestSupport.h"

#include "fakes/ScriptedSerialDevice.h"
#include "hardware/usbio/FischertechnikIntelligent.h"

namespace {

class IntelligentInterfaceTest : public SerialFixture {
protected:
    void SetUp() override
    {
        SerialFixture::SetUp();
        ports.Attach(1, box);
    }
    // One step 21 ms after the previous one.
    void StepLater(TIOInterface& device, int32_t ms = 21)
    {
        fake.clock.AdvanceMs(ms);
        device.MachEsJetzt();
    }
    static std::vector<Extended> Inputs(TIOInterface& device, int32_t first, int32_t count)
    {
        std::vector<Extended> values;
        for (int32_t i = first; i < first + count; ++i)
            values.push_back(device.GetInputValue(i));
        return values;
    }

    TScriptedSerialDevice box;
    TScriptedSerialPorts ports;
};

} // namespace

TEST_F(IntelligentInterfaceTest, AloneTheAnswerToTheLastCommandArrivesWithTheNextOne)
{
    TFT_Intelligent device;
    ASSERT_EQ(device.OutputCount, 8);
    ASSERT_EQ(device.GetInputLabel(8), QStringLiteral("EX"));
    ASSERT_EQ(device.GetInputLabel(9), QStringLiteral("EY"));
    device.SetComPort(1);
    device.SimStart();
    ASSERT_FALSE(box.Frames.empty());
    EXPECT_EQ(box.Frames.back().Baud, 9600);
    EXPECT_EQ(box.Frames.back().DataBits, 8);

    device.SetValue(0, 5.0L); // motor 1 left
    device.SetValue(3, 5.0L); // motor 2 right
    device.SetValue(4, 2.5L); // exactly 2.5 V is off
    box.Expect({0xC9, 0x09}).Answer({0x81, 0x02, 0x00}, 5);
    box.Expect({0xC5, 0x09}).Answer({0x02, 0x01, 0x00}, 5);
    box.Expect({0xC9, 0x09});
    StepLater(device);
    EXPECT_EQ(Inputs(device, 0, 8), std::vector<Extended>(8, 0.0L)); // nothing came yet
    StepLater(device, 10); // within 20 ms: no exchange
    EXPECT_EQ(box.Received.size(), 2u);
    StepLater(device, 11);
    // E1 and E8 from 0x81; 512 counts of 1024 measured for 0xC9, arriving while 0xC5 is current.
    EXPECT_EQ(Inputs(device, 0, 8),
              (std::vector<Extended>{5.0L, 0, 0, 0, 0, 0, 0, 5.0L}));
    EXPECT_EQ(device.GetInputValue(9), 50.0L);
    EXPECT_EQ(device.GetInputValue(8), 0.0L);
    StepLater(device);
    EXPECT_EQ(device.GetInputValue(1), 5.0L);
    EXPECT_EQ(device.GetInputValue(8), 25.0L); // EX
    EXPECT_TRUE(box.ScriptDone());
    EXPECT_TRUE(box.Unexpected.empty());
    device.SimStop();
    EXPECT_TRUE(messages.Requests().empty());
}

TEST_F(IntelligentInterfaceTest, WithTheExtensionOneCompleteAnswerStaysQueued)
{
    TFT_IntelligentExtension device;
    ASSERT_EQ(device.OutputCount, 16);
    EXPECT_EQ(device.GetOutputLabel(8), QStringLiteral("M5L"));
    EXPECT_EQ(device.GetInputLabel(8), QStringLiteral("E9"));
    device.SetComPort(1);
    device.SimStart();
    device.SetValue(1, 5.0L);  // motor 1 right
    device.SetValue(15, 5.0L); // motor 8 right
    box.Expect({0xCA, 0x02, 0x80}).Answer({0x01, 0x80, 0x03, 0xFF}, 5);
    box.Expect({0xC6, 0x02, 0x80}).Answer({0x00, 0x00, 0x00, 0x00}, 5);
    box.Expect({0xCA, 0x02, 0x80});
    StepLater(device);
    StepLater(device); // one 4-byte answer waits: not read
    EXPECT_EQ(device.GetInputValue(0), 0.0L);
    StepLater(device);
    EXPECT_EQ(device.GetInputValue(0), 5.0L);  // E1
    EXPECT_EQ(device.GetInputValue(15), 5.0L); // E16
    EXPECT_NEAR(double(device.GetInputValue(17)), 1023.0 / 1024.0 * 100.0, 1e-9); // EY for 0xCA
    EXPECT_TRUE(box.ScriptDone());
    EXPECT_TRUE(box.Unexpected.empty());
    device.SimStop();
}

TEST_F(IntelligentInterfaceTest, MissingPortIsToldOnceAndTheStepsDoNothing)
{
    TFT_Intelligent device;
    device.SetComPort(4); // nothing behind COM 4
    device.SetValue(0, 5.0L);
    device.SimStart();
    for (int i = 0; i < 3; ++i)
        StepLater(device);
    EXPECT_EQ(messages.Requests().size(), 1u);
    EXPECT_EQ(device.GetInputValue(0), 0.0L);
    device.SimStop();
}

TEST_F(IntelligentInterfaceTest, StoredRecordKeepsTheComNumber)
{
    TFT_IntelligentExtension device;
    device.SetComPort(7);
    const QByteArray data = StoreRecord(device);
    EXPECT_EQ(uint8_t(data.back()), 7); // one raw byte after the record
    TFT_IntelligentExtension loaded;
    LoadRecord(loaded, data);
    EXPECT_EQ(loaded.ComNumber, 7);
    EXPECT_EQ(loaded.OutputCount, 16);
}
