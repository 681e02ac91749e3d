// Phidgets through a fake phidget20 library: port sizes from the library, the reads and pauses
// of each kind, outputs written on a change (servos in every step), serial numbers beyond 16
// bits through the stored record and the settings file, and a missing library or board.
#include "hardware/VendorLibraryTestSupport.h"

#include "hardware/usbio/PhidgetLibrary.h"
#include "hardware/usbio/Phidgets.h"
#include "platform/IniFile.h"

namespace {

class PhidgetsTest : public VendorLibraryFixture {
protected:
    void SetUp() override
    {
        VendorLibraryFixture::SetUp();
        Releases.push_back([] { PhidgetLib().Free(); });
        UseLibraryFile(QStringLiteral("phidget20.dll"), lib.File);
    }
    // Serial number typed into the dialog.
    static void ApplySerial(TPhidgets& device, const QString& serial)
    {
        device.getKonfigData();
        device.DlgSerialText = serial;
        device.ApplySettings();
    }

    TFakeVendorLibrary lib{FAKE_PHIDGET_LIBRARY};
};

} // namespace

TEST_F(PhidgetsTest, InterfaceKitTakesItsSizesFromTheLibraryAndPausesTwicePerStep)
{
    lib.Set("outputs", 2);
    lib.Set("inputs", 3);
    lib.Set("sensors", 2);
    lib.Set("in1", 1);
    lib.Set("s0", 500);
    lib.Set("s1", 1000);
    TPhidgets_IFK kit;
    EXPECT_EQ(kit.OutputCount, 8);
    ApplySerial(kit, QStringLiteral("0"));
    EXPECT_EQ(lib.Calls(), (std::vector<std::string>{
                               "CPhidgetInterfaceKit_open 0 -1", "getNumOutputs 0",
                               "getNumInputs 0", "getNumSensors 0",
                               "CPhidgetInterfaceKit_close 0"}));
    ASSERT_EQ(kit.OutputCount, 2);
    ASSERT_EQ(GetInputCount(kit), 5);
    EXPECT_EQ(kit.GetOutputLabel(1), QStringLiteral("DO1"));
    EXPECT_EQ(kit.GetInputLabel(3), QStringLiteral("S0"));

    kit.SetValue(0, 5.0L);
    LetWaitsPass(kit);
    lib.ClearCalls();
    kit.SimStart();
    EXPECT_EQ(TimedStep(kit), 100u);
    EXPECT_EQ(lib.Calls(), (std::vector<std::string>{
                               "CPhidgetInterfaceKit_open 0 -1", "setOutputState 0 0 1",
                               "setOutputState 0 1 0", "CPhidgetInterfaceKit_read 0",
                               "getInputState 0 0", "getInputState 0 1", "getInputState 0 2",
                               "CPhidgetInterfaceKit_read 0", "getSensorRawValue 0 0",
                               "getSensorRawValue 0 1"}));
    EXPECT_EQ(kit.GetInputValue(0), 0.0L);
    EXPECT_EQ(kit.GetInputValue(1), 5.0L);
    EXPECT_EQ(kit.GetInputValue(3), 500.0L);
    EXPECT_EQ(kit.GetInputValue(4), 1000.0L);

    lib.ClearCalls();
    EXPECT_EQ(TimedStep(kit), 100u);
    EXPECT_EQ(lib.Calls().size(), 7u); // unchanged outputs are not written
    kit.SetValue(1, 5.0L);
    lib.ClearCalls();
    kit.MachEsJetzt();
    EXPECT_EQ(lib.Calls().front(), "setOutputState 0 1 1");
    lib.ClearCalls();
    kit.SimStop();
    EXPECT_EQ(lib.Calls(), std::vector<std::string>{"CPhidgetInterfaceKit_close 0"});
    EXPECT_TRUE(messages.Requests().empty());
}

TEST_F(PhidgetsTest, EachKindReadsItsValuesWithItsOwnPause)
{
    lib.Set("r0", 21500);
    lib.Set("r1", -1250);
    lib.Set("s0", 77);
    struct TCase {
        std::unique_ptr<TPhidgets> device;
        uint32_t pauseMs;
        int32_t outputs, sensors;
        Extended first;
    };
    TCase cases[] = {
        {std::make_unique<TPhidgets_TEMP>(), 200, 0, 2, 21.5L},
        {std::make_unique<TPhidgets_ACCEL>(), 10, 0, 2, 21.5L},
        {std::make_unique<TPhidgets_Encoder>(), 50, 0, 1, 77.0L},
        {std::make_unique<TPhidgets_RFID>(), 50, 0, 1, 0.0L},
        {std::make_unique<TPhidgets_Servo>(), 50, 4, 4, 21.5L},
    };
    for (TCase& c : cases) {
        TPhidgets& device = *c.device;
        SCOPED_TRACE(device.ClassName());
        ApplySerial(device, QStringLiteral("123"));
        ASSERT_EQ(device.OutputCount, c.outputs);
        ASSERT_EQ(GetInputCount(device), c.sensors);
        LetWaitsPass(device);
        device.SimStart();
        EXPECT_EQ(TimedStep(device), c.pauseMs);
        EXPECT_EQ(device.GetInputValue(0), c.first);
        device.SimStop();
    }
    EXPECT_EQ(cases[0].device->GetInputValue(1), -1.25L);
    EXPECT_TRUE(messages.Requests().empty());
}

TEST_F(PhidgetsTest, ServoPositionsAreWrittenInEveryStep)
{
    TPhidgets_Servo servo;
    ApplySerial(servo, QStringLiteral("0"));
    ASSERT_EQ(servo.OutputCount, 4);
    EXPECT_EQ(servo.GetOutputLabel(0), QStringLiteral("M0"));
    EXPECT_EQ(servo.GetInputDescription(0), QStringLiteral("Position 0"));
    servo.SetValue(2, 90.0L);
    LetWaitsPass(servo);
    servo.SimStart();
    for (int step = 0; step < 2; ++step) {
        lib.ClearCalls();
        servo.MachEsJetzt();
        const auto calls = lib.Calls();
        ASSERT_GE(calls.size(), 4u);
        EXPECT_EQ(calls[0], "setMotorPosition 4 0 0");
        EXPECT_EQ(calls[2], "setMotorPosition 4 2 90000");
    }
    servo.SimStop();
}

TEST_F(PhidgetsTest, SerialNumbersBeyond16BitsTravelInTheRecordAndTheSettingsFile)
{
    TPhidgets_IFK kit;
    ApplySerial(kit, QStringLiteral("70000"));
    EXPECT_EQ(kit.SerialNumber(), 70000);
    lib.ClearCalls();
    kit.SimStart();
    EXPECT_EQ(lib.Calls().front(), "CPhidgetInterfaceKit_open 0 70000");
    kit.SimStop();
    ApplySerial(kit, QStringLiteral("12x")); // not a number: kept
    EXPECT_EQ(kit.SerialNumber(), 70000);

    const QByteArray stored = StoreRecord(kit);
    TPhidgets_IFK loaded;
    LoadRecord(loaded, stored);
    EXPECT_EQ(loaded.SerialNumber(), 70000);
    EXPECT_EQ(StoreRecord(loaded), stored);

    // An older record holds the low 16 bits only.
    QByteArray older = stored;
    ASSERT_EQ(older.count("^2"), 1);
    older.replace("^2", "^1");
    TPhidgets_IFK old;
    LoadRecord(old, older);
    EXPECT_EQ(old.SerialNumber(), 70000 - 65536);

    TIniFile ini(folder.filePath(QStringLiteral("hw.ini")));
    kit.writeToIni(ini, QStringLiteral("P"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("P"), QStringLiteral("Device"), QString()),
              QStringLiteral("00011170"));
    old.readFromIni(ini, QStringLiteral("P"));
    EXPECT_EQ(old.SerialNumber(), 70000);
    ApplySerial(kit, QStringLiteral("4464"));
    kit.writeToIni(ini, QStringLiteral("P"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("P"), QStringLiteral("Device"), QString()),
              QStringLiteral("1170"));
}

TEST_F(PhidgetsTest, ABoardThatIsNotThereKeepsThePortsAndAMissingLibraryIsTold)
{
    lib.Set("openFails", 1);
    TPhidgets_IFK kit;
    ApplySerial(kit, QStringLiteral("5"));
    EXPECT_EQ(kit.OutputCount, 8); // the ports stay as they were
    LetWaitsPass(kit);
    kit.SimStart();
    EXPECT_EQ(TimedStep(kit), 0u);
    kit.SimStop();
    EXPECT_TRUE(messages.Requests().empty());
    PhidgetLib().Free();

    NoLibraries();
    TPhidgets_TEMP sensor;
    sensor.getKonfigData();
    EXPECT_EQ(messages.Requests().size(), 1u);
    EXPECT_EQ(sensor.ExecuteDialog(), mrCancel);
    sensor.RevertSettings();
    sensor.SimStart();
    sensor.SimStart();
    EXPECT_EQ(messages.Requests().size(), 2u);
    sensor.SimStop();
}
