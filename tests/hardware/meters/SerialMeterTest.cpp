// Meters on a COM port, played by a scripted device on a pty: frames at the meter's rate, a
// gap, garbage between frames, and a meter that must be asked.
#include "hardware/meters/SerialMeter.h"

#include "fakes/ScriptedSerialDevice.h"

#include <gtest/gtest.h>

namespace {

struct SerialMeterFixture : ::testing::Test {
    TScopedFakeClock time;
    TScriptedSerialPorts ports;
    TScriptedSerialDevice device;

    SerialMeterFixture() { ports.Attach(7, device); }

    static void Run(TSerialMeter& meter, TFakeClock& clock, int ms)
    {
        for (int t = 0; t < ms; t += 10) {
            clock.AdvanceMs(10);
            meter.Poll();
        }
    }
};

// A VC 920 frame: five digits, range, function (volts), unused, status, CR LF.
std::vector<uint8_t> VC920(const char* digits, int status = 0x30)
{
    std::vector<uint8_t> frame = Bytes(digits);
    for (int b : {0x32, 0x31, 0x30, status, 0x30, 0x30, 0x30, 0x0D, 0x0A})
        frame.push_back(static_cast<uint8_t>(b));
    return frame;
}

} // namespace

TEST_F(SerialMeterFixture, StreamingMeterThroughFramesGarbageAndAGap)
{
    TSerialMeter meter(SerialMeterKind(21));
    meter.SetComPort(7);
    ASSERT_TRUE(meter.Port().Connected());
    ASSERT_FALSE(device.Frames.empty());
    EXPECT_EQ(device.Frames.back().Baud, 2400);
    meter.Start();
    EXPECT_EQ(meter.ErrorValue(), 5.0); // nothing received yet

    for (const char* digits : {"12345", "12346", "12347"}) { // about two frames a second
        device.Send(VC920(digits));
        Run(meter, time.clock, 500);
    }
    EXPECT_DOUBLE_EQ(meter.Channels().Value(1), 12.347);
    EXPECT_EQ(meter.Channels().DisplayText(), QStringLiteral(" 12.347 V"));
    EXPECT_EQ(meter.ErrorValue(), 0.0);

    device.Send(Bytes("\xff\x13garbage")); // noise on the line changes nothing
    Run(meter, time.clock, 500);
    EXPECT_DOUBLE_EQ(meter.Channels().Value(1), 12.347);
    device.Send(VC920("12345", 0x34));
    Run(meter, time.clock, 500);
    EXPECT_DOUBLE_EQ(meter.Channels().Value(1), -12.345);

    Run(meter, time.clock, 4000); // switched off: "receiving" ends, the values stay a period
    EXPECT_EQ(meter.ErrorValue(), 5.0);
    EXPECT_DOUBLE_EQ(meter.Channels().Value(1), -12.345);
    Run(meter, time.clock, 2000);
    EXPECT_EQ(meter.Channels().Value(1), 0.0);

    device.Send(VC920("00500"));
    Run(meter, time.clock, 500);
    EXPECT_DOUBLE_EQ(meter.Channels().Value(1), 0.5); // same range as before: 00.500 V
    EXPECT_EQ(meter.ErrorValue(), 0.0);
    EXPECT_TRUE(device.Received.empty()); // a streaming meter is never asked
    meter.Stop();
}

TEST_F(SerialMeterFixture, RequestedMeterIsAskedAfterEachFrameAndWhenSilent)
{
    std::vector<uint8_t> frame{0x00, 0xF8, 0x8A, 0x00, 0x08, 0x30, 0x30, 0x3A, 0x30, 0x30,
                               0x00, 0x00};
    device.Expect({0x89}).Answer(frame, 50);
    device.Expect({0x89});
    TSerialMeter meter(SerialMeterKind(28));
    meter.Start();
    meter.SetComPort(7);
    Run(meter, time.clock, 300);
    EXPECT_TRUE(device.ScriptDone());
    EXPECT_EQ(meter.Channels().Value(2), 5.0); // overrange
    EXPECT_EQ(meter.Channels().DisplayText(), QStringLiteral(" O.L V"));
    EXPECT_EQ(meter.ErrorValue(), 5.0);
    ASSERT_EQ(meter.Channels().ShortNames(), (QStringList{"K1", "OL"}));

    Run(meter, time.clock, 4000); // silent: asked again at each watchdog period
    EXPECT_EQ(device.Received.size(), 3u);
}

TEST_F(SerialMeterFixture, MissingPortStaysClosedAndReadsAsError)
{
    TSerialMeter meter(SerialMeterKind(31));
    meter.SetComPort(9); // nothing behind COM9
    EXPECT_FALSE(meter.Port().Connected());
    meter.Start();
    Run(meter, time.clock, 5000);
    EXPECT_EQ(meter.ErrorValue(), 5.0);
    EXPECT_EQ(meter.Channels().Value(1), 0.0);
}
