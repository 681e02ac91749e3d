// Meters on USB-HID cables, played by a fake cable: the cable's set-up report, the reports of
// the first 200 ms dropped, frames cut from status-byte and count-byte reports, the M-3890D's
// request and frames, the silent-tick rules, a cable pulled during the run, and the stored
// record with the cable's numbers.
#include "hardware/HardwareTestSupport.h"

#include "hardware/meters/FakeHidCable.h"
#include "hardware/meters/HidDmmInterface.h"
#include "hardware/meters/MeterTestSupport.h"
#include "hardware/meters/frames/MetexHidFrames.h"
#include "platform/Filer.h"
#include "platform/MessageBox.h"

#include <QBuffer>
#include <QCoreApplication>

namespace {

using TReport = TFakeHidCable::TReport;

// Status-byte reports carrying the bytes, at most seven a report, with a "no data" report in
// between.
std::vector<TReport> StatusReports(const std::string& bytes)
{
    std::vector<TReport> reports;
    for (size_t at = 0; at < bytes.size(); at += 7) {
        const std::string part = bytes.substr(at, 7);
        TReport r{0x00, uint8_t(0xF0 | part.size())};
        r.insert(r.end(), part.begin(), part.end());
        r.resize(9, 0);
        reports.push_back(r);
        reports.push_back({0x00, 0xF0, 1, 2, 3, 4, 5, 6, 7}); // no data: adds nothing
    }
    return reports;
}

// Count-byte reports: each a count byte and up to seven bytes.
std::vector<TReport> CountReports(const std::string& bytes, uint8_t countHigh)
{
    std::vector<TReport> reports;
    for (size_t at = 0; at < bytes.size(); at += 7) {
        const std::string part = bytes.substr(at, 7);
        TReport r{0x00, uint8_t(countHigh | part.size())};
        r.insert(r.end(), part.begin(), part.end());
        r.resize(9, 0);
        reports.push_back(r);
    }
    return reports;
}

// The VC 920 display over its cable: the cable's 0x8A, digits, range 2, volts, status, CR.
std::string VC920Usb(const char* digits, int status = 0x30)
{
    return Bytes({0x8A}) + digits + Bytes({0x32, 0x31, 0x30, status, 0x30, 0x30, 0x30, 0x0D});
}

class HidMeterTest : public HardwareFixture {
protected:
    TFakeHidCables hid;
    TScopedMessageResponder messages;

    // A meter named as stored, on the cable listed first, running.
    static void Start(THID_DMM& dmm, const char* name)
    {
        dmm.Name = QString::fromLatin1(name);
        dmm.SetDeviceType(dmm.NameToType(dmm.Name));
        dmm.SimPrepare();
        dmm.ChooseDevice(1);
        dmm.SimStart();
    }
    void Run(THID_DMM& dmm, int ms)
    {
        for (int t = 0; t < ms; t += 10) {
            fake.clock.AdvanceMs(10);
            dmm.Meter().Poll();
        }
        QCoreApplication::processEvents();
    }
    static void Queue(TFakeHidCable& cable, const std::vector<TReport>& reports)
    {
        cable.Input.insert(cable.Input.end(), reports.begin(), reports.end());
    }
};

} // namespace

TEST_F(HidMeterTest, StatusByteCableThroughFramesGarbageAndSilence)
{
    TFakeHidCable& cable = hid.Add("/dev/hidraw0", 0x1A86, 0xE008);
    THID_DMM dmm;
    Queue(cable, StatusReports(VC920Usb("99999"))); // sent before the cable was set up
    Start(dmm, "VC940 (@USB via Voltcraft 121598)");
    EXPECT_EQ(dmm.DeviceType, 1);
    ASSERT_EQ(cable.Features.size(), 1u);
    EXPECT_EQ(cable.Features[0], (TReport{0x00, 0x18, 0x09, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00}));
    EXPECT_EQ(dmm.GetInputValue(1), 5.0L); // "ERR" before the first frame
    Run(dmm, 200);
    EXPECT_EQ(cable.Flushes, 1);

    Queue(cable, StatusReports(VC920Usb("12345")));
    Run(dmm, 200);
    EXPECT_NEAR(double(dmm.GetInputValue(0)), 12.345, 1e-12);
    EXPECT_EQ(dmm.Meter().Channels().DisplayText(), QStringLiteral(" 12.345 V"));
    Run(dmm, 200);
    EXPECT_EQ(dmm.GetInputValue(1), 0.0L);

    // Noise, a frame without the cable's first byte and one with an impossible digit.
    Queue(cable, StatusReports("\x13garbage\r" + VC920Usb("12345").substr(1)
                               + VC920Usb("1=345")));
    Run(dmm, 200);
    EXPECT_NEAR(double(dmm.GetInputValue(0)), 12.345, 1e-12);

    Run(dmm, 3600); // twenty ticks after the frame: still there
    EXPECT_NEAR(double(dmm.GetInputValue(0)), 12.345, 1e-12);
    Run(dmm, 200);
    EXPECT_EQ(dmm.GetInputValue(0), 0.0L);
    EXPECT_EQ(dmm.GetInputValue(1), 5.0L);

    Queue(cable, StatusReports(VC920Usb("12345", 0x34)));
    Run(dmm, 400);
    EXPECT_NEAR(double(dmm.GetInputValue(0)), -12.345, 1e-12);
    EXPECT_EQ(dmm.GetInputValue(1), 0.0L);
    EXPECT_TRUE(cable.Writes.empty()); // this cable is never asked
    dmm.SimStop();
    EXPECT_TRUE(messages.Requests().empty());
}

TEST_F(HidMeterTest, CountByteCableJoinsLinesAcrossReadsAndChecksTheirLength)
{
    TFakeHidCable& cable = hid.Add("/dev/hidraw0", 0x1A86, 0xE008);
    THID_DMM dmm;
    Start(dmm, "UNI-T UT803");
    ASSERT_EQ(cable.Features.size(), 1u);
    EXPECT_EQ(cable.Features[0], (TReport{0x00, 0x00, 0x4B, 0x00, 0x00, 0x02}));
    ASSERT_EQ(dmm.Meter().Channels().ShortNames(), (QStringList{"K1", "OL"}));
    Run(dmm, 200);

    const std::string kilohm = Bytes({0x32}) + "1234" + "3" + Bytes({0x30, 0x30, 0x30});
    const std::vector<TReport> line = CountReports(kilohm + "\r\n", 0x00);
    Queue(cable, {line[0]}); // the line arrives over two ticks
    Run(dmm, 200);
    EXPECT_EQ(dmm.GetInputValue(0), 0.0L);
    Queue(cable, {line.begin() + 1, line.end()});
    Run(dmm, 200);
    EXPECT_NEAR(double(dmm.GetInputValue(0)), 12340.0, 1e-9);
    EXPECT_EQ(dmm.GetInputValue(2), 0.0L);

    Queue(cable, CountReports("0" + kilohm + "\r\n", 0x00)); // ten bytes: not decoded
    Queue(cable, CountReports(kilohm.substr(1) + "\r\n", 0x00)); // eight
    Run(dmm, 200);
    EXPECT_NEAR(double(dmm.GetInputValue(0)), 12340.0, 1e-9);

    std::string overload = kilohm;
    overload[6] = 0x31;
    Queue(cable, CountReports(overload + "\r\n", 0x00));
    Run(dmm, 200);
    EXPECT_EQ(dmm.GetInputValue(1), 5.0L); // overrange
    EXPECT_EQ(dmm.GetInputValue(2), 5.0L); // "ERR": the display shows " O.L"
    Run(dmm, 6200); // thirty ticks on this cable
    EXPECT_EQ(dmm.GetInputValue(1), 0.0L);
    dmm.SimStop();
}

TEST_F(HidMeterTest, MetexAsksEveryTickAndReadsThreeDisplays)
{
    TFakeHidCable& cable = hid.Add("/dev/hidraw0", 0x0925, 0x1234);
    THID_DMM dmm;
    EXPECT_EQ(dmm.Name, QStringLiteral("Multimeter M-3890D USB"));
    ASSERT_EQ(dmm.Meter().Channels().ShortNames(), (QStringList{"K1", "K2", "K3", "OL"}));
    Start(dmm, "Multimeter M-3890D USB");
    EXPECT_EQ(dmm.GetInputValue(4), 5.0L); // "ERR" before the first frame
    EXPECT_TRUE(cable.Features.empty());
    Run(dmm, 400);
    ASSERT_GE(cable.Writes.size(), 2u);
    EXPECT_EQ(cable.Writes.back(), (TReport{0x00, 0x41, 0x41}));

    // Display 1 "-1.234" (sign bit 16, point bits 14 and 15 set), unit byte 0x01 (volts),
    // display 2 "0050" without a point, display 3 "12.34" (point bit 86 only, in byte 10).
    TReport first{0x00, 0x07, 0x00, 0x12, 0x34, 0x00, 0x01, 0x00, 0x50};
    TReport second{0x00, 0x04, 0x00, 0x12, 0x34, 0x00, 0x00, 0x00, MetexHidFrameEnd};
    Queue(cable, {first, second});
    Run(dmm, 200);
    EXPECT_NEAR(double(dmm.GetInputValue(0)), -1.234, 1e-12);
    EXPECT_NEAR(double(dmm.GetInputValue(1)), 50.0, 1e-12);
    EXPECT_NEAR(double(dmm.GetInputValue(2)), 12.34, 1e-12);
    EXPECT_EQ(dmm.GetInputValue(3), 0.0L);
    EXPECT_EQ(dmm.Meter().Channels().DisplayText(), QStringLiteral("-1.234 V"));
    EXPECT_EQ(dmm.GetInputValue(4), 0.0L);

    first[3] = 0xF0; // display 1 overflows
    Queue(cable, {first, second});
    Run(dmm, 200);
    EXPECT_EQ(dmm.GetInputValue(0), 0.0L);
    EXPECT_EQ(dmm.GetInputValue(3), 5.0L);

    first[3] = 0xB0; // an impossible digit: nothing changes
    Queue(cable, {first, second});
    Run(dmm, 200);
    EXPECT_EQ(dmm.GetInputValue(3), 5.0L);
    EXPECT_EQ(DecodeMetexHid(std::string(17, '\0')), std::nullopt);
    dmm.SimStop();
}

TEST_F(HidMeterTest, CablePulledDuringTheRunIsToldOnce)
{
    TFakeHidCable& cable = hid.Add("/dev/hidraw0", 0x1A86, 0xE008);
    THID_DMM dmm;
    Start(dmm, "VC920 (@USB via Voltcraft 121598)");
    Run(dmm, 200);
    Queue(cable, StatusReports(VC920Usb("12345")));
    Run(dmm, 200);
    ASSERT_EQ(dmm.GetInputValue(1), 0.0L);

    cable.Unplugged = true;
    Run(dmm, 2000);
    EXPECT_EQ(dmm.GetInputValue(0), 0.0L);
    EXPECT_EQ(dmm.GetInputValue(1), 5.0L);
    ASSERT_EQ(messages.Requests().size(), 1u);
    EXPECT_TRUE(messages.Requests()[0].text.contains(QStringLiteral("getrennt")));
    dmm.SimStop();

    cable.Unplugged = false; // plugged in again: the next run reads it
    dmm.SimPrepare();
    dmm.SimStart();
    Run(dmm, 200);
    Queue(cable, StatusReports(VC920Usb("00500")));
    Run(dmm, 200);
    EXPECT_NEAR(double(dmm.GetInputValue(0)), 0.5, 1e-12);
    dmm.SimStop();
    EXPECT_EQ(messages.Requests().size(), 1u);
}

TEST_F(HidMeterTest, RecordKeepsMeterNameAndTheSecondOfTwoCables)
{
    hid.Add("/dev/hidraw0", 0x1A86, 0xE008);
    hid.Add("/dev/hidraw1", 0x04D8, 0x0001);
    TFakeHidCable& second = hid.Add("/dev/hidraw2", 0x1A86, 0xE008);
    QByteArray stored;
    {
        THID_DMM dmm;
        dmm.Name = QStringLiteral("VC870 (@USB via Voltcraft 120317)");
        dmm.SimPrepare();
        dmm.ChooseDevice(3);
        QBuffer buffer(&stored);
        buffer.open(QIODevice::WriteOnly);
        TWriter writer(buffer);
        dmm.writeToStream(writer);
    }
    THID_DMM dmm;
    QBuffer buffer(&stored);
    buffer.open(QIODevice::ReadOnly);
    TReader reader(buffer);
    dmm.readFromStream(reader);
    EXPECT_EQ(dmm.Name, QStringLiteral("VC870 (@USB via Voltcraft 120317)"));
    EXPECT_EQ(dmm.DeviceType, 7);
    EXPECT_EQ(dmm.Wanted.VendorID, 0x1A86);
    EXPECT_EQ(dmm.Wanted.ProductID, 0xE008);
    EXPECT_EQ(dmm.Wanted.Occurrence, 2);
    EXPECT_EQ(dmm.Meter().Channels().ShortNames(), (QStringList{"K1", "K2", "OL"}));
    dmm.SimPrepare();
    dmm.SimStart();
    EXPECT_EQ(second.Features.size(), 1u); // the second identical cable was opened
    dmm.SimStop();
}
