// The ELV devices against their stand-ins: the UAD 8 and the USB IO88 on the fake FTDI library
// (devices with descriptions and serial numbers, scripted answers, the call log), the serial
// IO88 on a scripted pty device.
#include "hardware/HardwareTestSupport.h"
#include "hardware/SerialTestSupport.h"

#include "fakes/FakeFtdi.h"
#include "fakes/ScriptedSerialDevice.h"
#include "hardware/elv/Io88.h"
#include "hardware/elv/Uad8.h"
#include "hardware/transport/Ftd2xxLibrary.h"
#include "platform/MessageBox.h"

#include <algorithm>

namespace {

class ElvDeviceTest : public SerialFixture {
protected:
    void SetUp() override
    {
        SerialFixture::SetUp();
        UseLibraryFile(QStringLiteral("FTD2XX.dll"), ftdi.File);
        UseLibraryFile(QStringLiteral("UIO88.DLL"), ftdi.File);
    }
    void TearDown() override
    {
        Ftd2xx().Free();
        Uio88().Free();
        SerialFixture::TearDown();
    }
    // The calls since the last look, without the device list queries.
    std::vector<std::string> NewCalls()
    {
        std::vector<std::string> all = ftdi.Calls();
        std::vector<std::string> fresh(all.begin() + long(std::min(m_seen, all.size())), all.end());
        m_seen = all.size();
        return fresh;
    }
    std::vector<Extended> Values(const TIOPort& port)
    {
        std::vector<Extended> values;
        for (const auto& pin : port.Pins)
            values.push_back(pin->Value);
        return values;
    }

    TFakeFtdi ftdi;

private:
    size_t m_seen = 0;
};

const std::string kAnswer1234("\x02" "1234\x03", 6);

} // namespace

TEST_F(ElvDeviceTest, Uad8ListsItsBoardsByFtdiPositionAndOpensTheChosenOne)
{
    ftdi.AddDevice("FT232R USB UART");
    ftdi.AddDevice("ELV USB-AD-Wandler");
    ftdi.AddDevice("other");
    ftdi.AddDevice("ELV USB-AD-Wandler");
    TUAD8 device;
    device.getKonfigData();
    EXPECT_EQ(device.DeviceList,
              (QStringList{QStringLiteral("Kein"), QStringLiteral("ELV-UAD 8 #2"),
                           QStringLiteral("ELV-UAD 8 #4")}));
    device.DlgAddress = 2;
    device.ApplySettings();
    EXPECT_EQ(device.BaseAddress, 2);

    NewCalls();
    device.SimStart();
    EXPECT_TRUE(device.Opened);
    const auto calls = NewCalls();
    EXPECT_NE(std::find(calls.begin(), calls.end(), "FT_Open 3"), calls.end());
    EXPECT_EQ(std::vector<std::string>(calls.end() - 3, calls.end()),
              (std::vector<std::string>{"FT_SetBaudRate 38400", "FT_SetDataCharacteristics 8 0 2",
                                        "FT_Write 02 6B 2F 03"}));
    device.SimStop();
    EXPECT_EQ(NewCalls(), std::vector<std::string>{"FT_Close"});
    EXPECT_TRUE(messages.Requests().empty());
}

TEST_F(ElvDeviceTest, Uad8CyclesTheChannelsOneRequestOrAnswerPerStep)
{
    ftdi.AddDevice("ELV USB-AD-Wandler");
    ftdi.AddAnswer("\x02k/\x03", "");
    ftdi.AddAnswer("\x02" "3\x03", kAnswer1234); // channel 3 reads 1.234 V
    for (int c = 1; c <= 8; ++c)
        ftdi.AddAnswer(std::string{'\x02', char('0' + c), '\x03'},
                       std::string{'\x02', '0', '0', '0', char('0' + c), '\x03'});
    TUAD8 device;
    device.BaseAddress = 1;
    device.SimStart();
    NewCalls();
    for (int step = 0; step < 16; ++step)
        device.MachEsJetzt();
    const std::vector<Extended> expected{0.001L, 0.002L, 1.234L, 0.004L,
                                         0.005L, 0.006L, 0.007L, 0.008L};
    for (size_t i = 0; i < 8; ++i)
        EXPECT_NEAR(double(device.Ports[0]->Pins[i]->Value), double(expected[i]), 1e-9) << i;
    // After channel 8 the next request is for channel 1.
    NewCalls();
    device.MachEsJetzt();
    EXPECT_EQ(NewCalls(), std::vector<std::string>{"FT_Write 02 31 03"});
    device.SimStop();
}

TEST_F(ElvDeviceTest, Uad8AssemblesPiecesDropsGarbageAndGivesUpASilentChannel)
{
    ftdi.AddDevice("ELV USB-AD-Wandler");
    TUAD8 device;
    device.BaseAddress = 1;
    device.SimStart();
    TIOPort& port = *device.Ports[0];

    // Channel 1: zero bytes do not count, an answer in pieces is not asked again.
    device.MachEsJetzt(); // request
    ftdi.Send(0, std::string("\x02\x00" "12", 4));
    device.MachEsJetzt();
    EXPECT_TRUE(device.RequestPending);
    EXPECT_EQ(device.Channel, 1);
    ftdi.Send(0, std::string("34\x03", 3));
    device.MachEsJetzt();
    EXPECT_NEAR(double(port.Pins[0]->Value), 1.234, 1e-9);
    EXPECT_EQ(device.Channel, 2);

    // Channel 2: a garbled answer leaves the pin and moves on.
    device.MachEsJetzt();
    ftdi.Send(0, std::string("\x02" "12\x03" "45", 6));
    device.MachEsJetzt();
    EXPECT_EQ(port.Pins[1]->Value, 0.0L);
    EXPECT_EQ(device.Channel, 3);

    // Channel 3: silence is given up after the time-out, without a new request meanwhile.
    device.MachEsJetzt();
    NewCalls();
    device.MachEsJetzt();
    EXPECT_EQ(device.Channel, 3);
    fake.clock.AdvanceMs(TUAD8::AnswerTimeoutMs + 1);
    device.MachEsJetzt();
    EXPECT_EQ(device.Channel, 4);
    EXPECT_FALSE(device.RequestPending);
    for (const std::string& call : NewCalls())
        EXPECT_EQ(call.rfind("FT_Write", 0), std::string::npos) << call;

    // More than 90 waiting bytes are taken over several steps.
    device.MachEsJetzt();
    ftdi.Send(0, std::string(100, 'x'));
    device.MachEsJetzt();
    device.MachEsJetzt();
    device.MachEsJetzt();
    const auto calls = NewCalls();
    EXPECT_NE(std::find(calls.begin(), calls.end(), "FT_Read 90"), calls.end());
    device.SimStop();
}

TEST_F(ElvDeviceTest, UsbIo88OpensByItsSerialNumberAndAlternatesOutputAndInput)
{
    ftdi.AddDevice("ELV USB-I/O-Interface", "A1");
    ftdi.AddDevice("FT232R USB UART", "B7");
    ftdi.AddDevice("ELV USB-I/O-Interface", "A2");
    ftdi.AddAnswer("\x02I\x03", "\x02I\x05\x13\x03");

    TUIO88 device;
    device.SimStart(); // device number 0: no I/O at all
    device.MachEsJetzt();
    device.SimStop();
    EXPECT_TRUE(NewCalls().empty());

    device.getKonfigData();
    EXPECT_EQ(device.DeviceList, (QStringList{QStringLiteral("Kein"), QStringLiteral("ELV - UIO88 #1"),
                                              QStringLiteral("ELV - UIO88 #2")}));
    device.DlgAddress = 2;
    device.ApplySettings();
    EXPECT_EQ(device.PreferredSerial, QStringLiteral("A2"));

    // A preferred board that is gone gives way to the chosen device number.
    device.PreferredSerial = QStringLiteral("gone");
    NewCalls();
    device.SimStart();
    auto calls = NewCalls();
    const std::vector<std::string> opening{"FT_OpenEx gone 1",        "FT_OpenEx A2 1",
                                           "FT_SetBaudRate 9600",     "FT_SetDataCharacteristics 8 0 2",
                                           "FT_SetFlowControl 0 17 19", "FT_SetChars 0 0 0 0",
                                           "FT_SetTimeouts 1 0"};
    EXPECT_EQ(std::vector<std::string>(calls.end() - long(opening.size()), calls.end()), opening);
    EXPECT_EQ(device.PreferredSerial, QStringLiteral("A2"));
    AdvanceClockInWaits(device, fake.clock, {device.Ports[0].get(), device.Ports[1].get()});

    device.MachEsJetzt(); // input: the request
    device.MachEsJetzt(); // output: all low still goes out once per run
    EXPECT_EQ(NewCalls(), (std::vector<std::string>{"FT_Purge 1", "FT_Write 02 49 03",
                                                    "FT_Write 02 6F 00 03"}));
    device.SetValue(0, 5.0L);
    device.SetValue(2, 5.0L);
    for (int step = 0; step < 10; ++step) // five answer bytes, one per input step
        device.MachEsJetzt();
    EXPECT_EQ(Values(*device.Ports[1]),
              (std::vector<Extended>{5.0L, 5.0L, 0.0L, 0.0L, 0.0L, 0.0L, 0.0L, 0.0L}));
    calls = NewCalls();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "FT_Write 02 6F 05 15 03"), 1);
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "FT_Read 1"), 5);
    EXPECT_FALSE(static_cast<TUIO88DInPort&>(*device.Ports[1]).RequestPending);
    device.SimStop();
    EXPECT_EQ(NewCalls(), std::vector<std::string>{"FT_Close"});
    EXPECT_TRUE(messages.Requests().empty());
}

TEST_F(ElvDeviceTest, UsbIo88AsksAgainAfterALostAnswerAndReportsAMissingBoardOnce)
{
    ftdi.AddDevice("ELV USB-I/O-Interface", "A1");
    TUIO88 device;
    device.BaseAddress = 1;
    device.SimStart();
    AdvanceClockInWaits(device, fake.clock, {device.Ports[0].get(), device.Ports[1].get()});
    auto& in = static_cast<TUIO88DInPort&>(*device.Ports[1]);
    in.MachEsJetzt();
    NewCalls();
    in.MachEsJetzt(); // nothing came: no new request yet
    EXPECT_EQ(NewCalls(), std::vector<std::string>{"FT_Read 1"});
    fake.clock.AdvanceMs(TUIO88DInPort::AnswerTimeoutMs + 1);
    in.MachEsJetzt();
    EXPECT_EQ(NewCalls(), (std::vector<std::string>{"FT_Purge 1", "FT_Write 02 49 03"}));
    device.SimStop();

    device.BaseAddress = 2; // no second board
    device.PreferredSerial.clear();
    device.SimStart();
    device.MachEsJetzt();
    device.SimStop();
    device.SimStart();
    device.SimStop();
    ASSERT_EQ(messages.Requests().size(), 2u); // once per run
    const auto calls = NewCalls();
    EXPECT_EQ(std::count_if(calls.begin(), calls.end(),
                            [](const std::string& c) { return c.rfind("FT_Write", 0) == 0; }),
              0);
}

TEST_F(ElvDeviceTest, SerialIo88ServesInputThenOutputAndSendsOnlyChanges)
{
    TScriptedSerialPorts ports;
    TScriptedSerialDevice board;
    ports.Attach(3, board);
    board.Expect({0x02, 0x49, 0x03}).Answer({0x02, 0x49, 0x05, 0x13, 0x03}, 5);
    board.Expect({0x02, 0x6F, 0x05, 0x15, 0x03});
    board.Expect({0x02, 0x49, 0x03}).Answer({0x02, 0x49}, 2).Answer({0x05, 0x41, 0x03}, 30);
    board.Expect({0x02, 0x49, 0x03});

    TIO88 device;
    device.SetComPort(3);
    device.SimStart();
    AdvanceClockInWaits(device, fake.clock, {device.Ports[0].get(), device.Ports[1].get()});
    ASSERT_FALSE(board.Frames.empty());
    EXPECT_EQ(board.Frames.back().Baud, 9600);
    EXPECT_EQ(board.Frames.back().Parity, 2);
    device.SetValue(0, 5.0L);
    device.SetValue(2, 5.0L);

    device.MachEsJetzt(); // the first step asks for the inputs
    EXPECT_EQ(Values(*device.Ports[1]),
              (std::vector<Extended>{5.0L, 5.0L, 0.0L, 0.0L, 0.0L, 0.0L, 0.0L, 0.0L}));
    device.MachEsJetzt(); // the second sends the outputs
    device.MachEsJetzt(); // an answer that is not complete yet stays
    EXPECT_EQ(Values(*device.Ports[1])[0], 5.0L);
    const uint32_t before = fake.clock.TickCount();
    device.MachEsJetzt(); // unchanged outputs: nothing sent, but the wait
    EXPECT_GE(fake.clock.TickCount() - before, 10u);
    device.MachEsJetzt(); // the rest arrives: an unknown escape sets all inputs low
    EXPECT_EQ(Values(*device.Ports[1])[0], 0.0L);
    EXPECT_TRUE(board.ScriptDone());
    EXPECT_TRUE(board.Unexpected.empty());
    device.SimStop();
}
