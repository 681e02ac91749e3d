// The multimeter on a COM port as a device: the stored name chooses the meter, the pins are
// the channels and "ERR", the settings dialog (no device row in a compiled program or during a
// run), the port opened only at run start, a missing port told once, and a run on a scripted
// pty meter through the hardware component.
#include "hardware/HardwareTestSupport.h"

#include "fakes/ScriptedSerialDevice.h"
#include "hardware/meters/DmmInterface.h"
#include "platform/Filer.h"
#include "platform/MessageBox.h"
#include "ui/PropertySheet.h"

#include <QBuffer>
#include <QCoreApplication>

namespace {

class DmmDeviceTest : public HardwareFixture {
protected:
    TScopedMessageResponder messages;

    // The captions of the settings dialog's rows, then OK.
    static QStringList DialogRows(TDMMInterface& dmm, bool runtime, bool running)
    {
        dmm.DlgRuntimeMode = runtime;
        dmm.DlgSimRunning = running;
        dmm.SettingsDialog = dmm.CreateDialog();
        dmm.getKonfigData();
        QStringList captions;
        for (const auto& row : dmm.DialogRows()->Rows())
            captions << row->Caption;
        dmm.DialogRows()->Clear();
        dmm.ApplySettings();
        dmm.SettingsDialog = nullptr;
        return captions;
    }
    // A VC 920 on that COM port, running.
    static void StartVC920(TDMMInterface& dmm, int com)
    {
        dmm.Name = QStringLiteral("VC 920");
        dmm.SetDeviceType(dmm.NameToType(dmm.Name));
        dmm.SetComPort(com);
        dmm.SimStart();
    }
    void Run(TDMMInterface& dmm, int ms)
    {
        for (int t = 0; t < ms; t += 10) {
            fake.clock.AdvanceMs(10);
            dmm.Meter().Poll();
        }
        QCoreApplication::processEvents();
    }
};

// A VC 920 frame: five digits, range 2, volts, unused, status, CR LF.
std::vector<uint8_t> VC920(const char* digits)
{
    std::vector<uint8_t> frame = Bytes(digits);
    for (int b : {0x32, 0x31, 0x30, 0x30, 0x30, 0x30, 0x30, 0x0D, 0x0A})
        frame.push_back(uint8_t(b));
    return frame;
}

} // namespace

TEST_F(DmmDeviceTest, StoredNameChoosesTheMeterWhateverTypeWasStored)
{
    TDMMInterface dmm;
    EXPECT_EQ(dmm.Name, QStringLiteral("M 3610 D"));
    dmm.Name = QStringLiteral("VC 940");
    dmm.SetComPort(3);
    const QByteArray stored = StoreRecord(dmm); // type 0 stored: the name was set directly

    TDMMInterface loaded;
    LoadRecord(loaded, stored);
    EXPECT_EQ(loaded.Name, QStringLiteral("VC 940"));
    EXPECT_EQ(loaded.DeviceType, 21);
    EXPECT_EQ(loaded.ComNumber, 3);
    ASSERT_EQ(loaded.GetPinCount(), 2);
    EXPECT_EQ(loaded.GetInputLabel(0), QStringLiteral("K1"));
    EXPECT_EQ(loaded.GetInputLabel(1), QStringLiteral("ERR"));
    EXPECT_EQ(loaded.GetInputValue(1), 5.0L); // no data yet

    TDMMInterface unknown;
    unknown.Name = QStringLiteral("No such meter");
    LoadRecord(unknown, StoreRecord(unknown));
    EXPECT_EQ(unknown.DeviceType, 0);

    const std::pair<const char*, int> names[] = {
        {"UT803", 27}, {"UT70D", 28}, {"UT70B", 29}, {"VC 870", 30}, {"VC 830", 31},
        {"VC 850", 31}, {"VC 920", 21}, {"VC 960", 21}, {"Protek 506", 2}, {"vc 940", 0}};
    for (const auto& [name, type] : names)
        EXPECT_EQ(dmm.NameToType(QString::fromLatin1(name)), type) << name;
}

TEST_F(DmmDeviceTest, DialogOffersTheMeterOnlyWhileEditingAndOpensNoPort)
{
    TScriptedSerialPorts ports;
    TScriptedSerialDevice device;
    ports.Attach(4, device);
    TDMMInterface dmm;
    dmm.DlgComNumber = 0;

    // Choose "VC 870" on COM 4: the caption rows, the pins of three channels.
    dmm.DlgRuntimeMode = false;
    dmm.DlgSimRunning = false;
    dmm.SettingsDialog = dmm.CreateDialog();
    dmm.getKonfigData();
    const QStringList captions = [&] {
        QStringList c;
        for (const auto& row : dmm.DialogRows()->Rows())
            c << row->Caption;
        return c;
    }();
    EXPECT_EQ(captions, (QStringList{"Gerät", "COM"}));
    dmm.ChosenIndex = int32_t(dmm.SortedNames.indexOf(QStringLiteral("VC 870")));
    dmm.DlgComNumber = 4;
    dmm.DialogRows()->Clear();
    dmm.ApplySettings();
    dmm.SettingsDialog = nullptr;
    EXPECT_EQ(dmm.Name, QStringLiteral("VC 870"));
    EXPECT_EQ(dmm.DeviceType, 30);
    EXPECT_EQ(dmm.ComNumber, 4);
    EXPECT_FALSE(dmm.Meter().Port().Connected()); // opens at run start
    EXPECT_EQ(dmm.GetPinCount(), 4);
    EXPECT_EQ(dmm.GetInputLabel(2), QStringLiteral("OL"));

    // A compiled program and a running circuit show the port only and keep the meter.
    EXPECT_EQ(DialogRows(dmm, true, false), QStringList{"COM"});
    EXPECT_EQ(DialogRows(dmm, false, true), QStringList{"COM"});
    EXPECT_EQ(dmm.Name, QStringLiteral("VC 870"));
    EXPECT_EQ(dmm.DeviceType, 30);
}

TEST_F(DmmDeviceTest, RunOnAScriptedMeterThroughTheComponent)
{
    TScriptedSerialPorts ports;
    TScriptedSerialDevice device;
    ports.Attach(5, device);
    TDMMInterface dmm;
    StartVC920(dmm, 5);
    ASSERT_TRUE(dmm.Meter().Port().Connected());
    EXPECT_EQ(device.Frames.back().Baud, 2400);
    EXPECT_EQ(dmm.GetInputValue(1), 5.0L);

    device.Send(VC920("12345"));
    Run(dmm, 500);
    EXPECT_NEAR(double(dmm.GetInputValue(0)), 12.345, 1e-12);
    EXPECT_EQ(dmm.GetInputValue(1), 0.0L);
    dmm.MachEsJetzt(); // the step reads; it sends nothing and changes nothing
    EXPECT_NEAR(double(dmm.GetInputValue(0)), 12.345, 1e-12);
    EXPECT_TRUE(device.Received.empty());

    dmm.SimStop();
    EXPECT_FALSE(dmm.Meter().Port().Connected());
    EXPECT_NEAR(double(dmm.GetInputValue(0)), 12.345, 1e-12); // the last values stay
    EXPECT_TRUE(messages.Requests().empty());
}

TEST_F(DmmDeviceTest, MissingPortIsToldOncePerRun)
{
    TScriptedSerialPorts ports; // nothing attached: no COM port opens
    TDMMInterface dmm;
    dmm.Name = QStringLiteral("UT803");
    dmm.SetDeviceType(dmm.NameToType(dmm.Name));
    dmm.SetComPort(6);
    for (int run = 0; run < 2; ++run) {
        dmm.SimStart();
        Run(dmm, 5000);
        EXPECT_EQ(dmm.GetInputValue(0), 0.0L);
        EXPECT_EQ(dmm.GetInputValue(2), 5.0L);
        dmm.SimStop();
        EXPECT_EQ(messages.Requests().size(), size_t(run + 1));
    }
    EXPECT_TRUE(messages.Requests()[0].text.contains(QStringLiteral("COM 6")));
}

TEST_F(DmmDeviceTest, MeterGoneDuringTheRunIsToldOnceAndReadsAsError)
{
    TScriptedSerialPorts ports;
    TScriptedSerialDevice device;
    ports.Attach(5, device);
    TDMMInterface dmm;
    StartVC920(dmm, 5);
    device.Send(VC920("12345"));
    Run(dmm, 500);
    ASSERT_EQ(dmm.GetInputValue(1), 0.0L);

    device.HangUp(); // the adapter is pulled
    for (int i = 0; i < 20; ++i)
        Run(dmm, 500);
    EXPECT_EQ(dmm.GetInputValue(0), 0.0L);
    EXPECT_EQ(dmm.GetInputValue(1), 5.0L);
    EXPECT_EQ(messages.Requests().size(), 1u);
    dmm.SimStop();
}
