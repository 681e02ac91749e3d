// The user-defined serial device: lines of backslash-separated values from a scripted device,
// its channel count and line settings through the dialog values and the stored record.
#include "hardware/SerialTestSupport.h"

#include "fakes/ScriptedSerialDevice.h"
#include "hardware/instruments/UserInterface.h"

namespace {

class UserInterfaceTest : public SerialFixture {
protected:
    void SetChannels(TUserInterface& device, int32_t count)
    {
        UserInterfaceChannels() = count;
        device.ApplySettings();
    }
    std::vector<double> Channels(TUserInterface& device)
    {
        std::vector<double> values;
        for (int32_t i = 0; i < GetInputCount(device); ++i)
            values.push_back(double(device.GetInputValue(i)));
        return values;
    }

    TScriptedSerialPorts ports;
    TScriptedSerialDevice sender;
};

} // namespace

TEST_F(UserInterfaceTest, LinesFeedTheChannels)
{
    TUserInterface device;
    SetChannels(device, 3);
    device.Baud = int32_t(TBaudRate::Baud19200);
    ports.Attach(2, sender);
    device.SetComPort(2);
    sender.Send(Bytes("stale\r\n")); // before the run: purged
    device.SimStart();
    ASSERT_TRUE(device.GetCate().Connected());
    EXPECT_EQ(sender.Frames.back().Baud, 19200);
    device.MachEsJetzt();
    EXPECT_EQ(Channels(device), (std::vector<double>{0, 0, 0}));

    struct TCase {
        const char* bytes;
        std::vector<double> channels;
    };
    const TCase cases[] = {
        {" 1,5 \\2.25\\$1F\r\n", {1.5, 2.25, 31}},
        {"7\r\n", {7, 0, 0}},                  // missing fields give 0
        {"1\\2\\3\\4\\5\r", {1, 2, 3}},          // more fields than channels
        {"\r\n\n", {1, 2, 3}},                 // empty lines change nothing
        {"100\\abc\\TRUE\n", {100, 2, 5}},     // a field that is no number leaves its channel
        {"1\\", {100, 2, 5}},                  // half a line: nothing yet ...
        {"\\9\n", {1, 2, 9}},                  // ... joined with its rest (an empty field stays)
    };
    for (const TCase& c : cases) {
        sender.Send(Bytes(c.bytes));
        device.MachEsJetzt();
        EXPECT_EQ(Channels(device), c.channels) << c.bytes;
    }
    // Every step renews the time stamps.
    fake.clock.AdvanceMs(10);
    device.MachEsJetzt();
    EXPECT_EQ(device.GetInputTime(0), fake.clock.PerformanceCounter());

    // An endless line is dropped, not grown; the next line is read.
    for (int i = 0; i < 6; ++i) { // in parts: a pty holds about 4 KB
        sender.Send(std::vector<uint8_t>(2000, '4'));
        device.MachEsJetzt();
    }
    sender.Send(Bytes("\n8\n"));
    device.MachEsJetzt();
    EXPECT_EQ(Channels(device)[0], 8.0);
    device.SimStop();
}

TEST_F(UserInterfaceTest, ChannelsAndLineSettingsAreStored)
{
    TUserInterface device;
    EXPECT_EQ(GetInputCount(device), 1);
    SetChannels(device, 250); // more than the device has
    EXPECT_EQ(GetInputCount(device), kUserMaxChannels);
    SetChannels(device, 4);
    EXPECT_EQ(device.GetInputLabel(3), QStringLiteral("CH4"));
    device.SetComPort(6);
    device.Databits = 3;
    device.Stopbits = 2;
    device.Parity = 2;
    TUserInterface loaded;
    LoadRecord(loaded, StoreRecord(device));
    EXPECT_EQ(GetInputCount(loaded), 4);
    EXPECT_EQ(loaded.ComNumber, 6);
    EXPECT_EQ(loaded.Baud, 6);
    EXPECT_EQ(loaded.Databits, 3);
    EXPECT_EQ(loaded.Stopbits, 2);
    EXPECT_EQ(loaded.Parity, 2);
}
