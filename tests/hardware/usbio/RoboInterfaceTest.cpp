// The ROBO Interface through a fake FTLib: opening the chosen device, the transfer area's
// inputs, outputs, PWM levels, analog values, infrared bits and timers, the entry names of
// older library versions, the device list of the dialog, and a missing library or device.
#include "hardware/VendorLibraryTestSupport.h"

#include "hardware/usbio/FtLibLibrary.h"
#include "hardware/usbio/RoboInterface.h"
#include "platform/IniFile.h"

namespace {

class RoboInterfaceTest : public VendorLibraryFixture {
protected:
    void SetUp() override
    {
        VendorLibraryFixture::SetUp();
        Releases.push_back([] { FtLib().Free(); });
    }
    // Flat input indexes: E1..E32, then the analog pins, the infrared pins and the timers.
    static constexpr int32_t kAnalogIn = 32, kInfraredIn = 48, kTimerIn = 53;
    // Flat output indexes: O1..O32, then PW1..PW32.
    static constexpr int32_t kPwmOut = 32;
};

} // namespace

TEST_F(RoboInterfaceTest, TheStepExchangesBytesOfTheTransferArea)
{
    TFakeVendorLibrary lib(FAKE_FTLIB_LIBRARY);
    lib.Set("devices", 2);
    UseLibraryFile(QStringLiteral("FTLib.dll"), lib.File);
    uint8_t* area = lib.Function<uint8_t*()>("FakeFtLib_Area")();

    TRoboInterface robo;
    ASSERT_EQ(robo.OutputCount, 64);
    robo.BaseAddress = 2;
    robo.SimStart();
    ASSERT_TRUE(robo.Opened());
    EXPECT_EQ(lib.Calls(), (std::vector<std::string>{
                                "InitFtLib", "InitFtUsbDeviceList", "GetFtUsbDeviceHandle 1",
                                "OpenFtUsbDevice 1", "DistanceSensorMode 1 1 20 20 500 500 2 2",
                                "StartFtTransferArea 1 0", "GetFtTransferAreaAddress 1"}));

    area[0x00] = 0x05;                    // E1, E3
    area[0x03] = 0x80;                    // E32
    area[0x0E] = 0xFF;                    // all five infrared pins, bits 5-7 dropped
    area[0x10] = 0x00, area[0x11] = 0x02; // AX 512 counts
    area[0x14] = 0xFF, area[0x15] = 0x03; // A1 1023 counts = 10 V
    area[0x30] = 0x34, area[0x31] = 0x12; // the 1 ms timer
    area[0x3A] = 0x07;                    // the 1 min timer
    robo.SetValue(0, 5.0L);               // O1
    robo.SetValue(2, 5.0L);               // O3
    robo.SetValue(31, 5.0L);              // O32
    const Extended pwm[] = {50, 100, -3, 120, 10};
    for (int k = 0; k < 5; ++k)
        robo.SetValue(kPwmOut + k, pwm[k]);
    robo.MachEsJetzt();

    EXPECT_EQ(area[0x40], 0x05);
    EXPECT_EQ(area[0x43], 0x80);
    EXPECT_EQ((std::vector<uint8_t>(area + 0x50, area + 0x55)), (std::vector<uint8_t>{4, 7, 0, 7, 1}));
    EXPECT_EQ(robo.GetInputValue(0), 5.0L);
    EXPECT_EQ(robo.GetInputValue(1), 0.0L);
    EXPECT_EQ(robo.GetInputValue(2), 5.0L);
    EXPECT_EQ(robo.GetInputValue(31), 5.0L);
    EXPECT_EQ(robo.GetInputValue(kAnalogIn), 512.0L);
    EXPECT_EQ(robo.GetInputValue(kAnalogIn + 2), 10.0L);
    EXPECT_EQ(robo.GetInputLabel(kAnalogIn + 2), QStringLiteral("A1"));
    EXPECT_EQ(robo.GetInputDescription(kAnalogIn + 2), QStringLiteral("A1 (0x14)"));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(robo.GetInputValue(kInfraredIn + i), 5.0L) << i;
    EXPECT_EQ(robo.GetInputValue(kTimerIn), 0x1234);
    EXPECT_EQ(robo.GetInputValue(kTimerIn + 5), 7.0L);
    EXPECT_EQ(robo.GetInputLabel(kTimerIn + 5), QStringLiteral("1m"));

    lib.ClearCalls();
    robo.SimStop();
    EXPECT_EQ(lib.Calls(), (std::vector<std::string>{"StopFtTransferArea 1", "CloseFtDevice 1"}));
    robo.MachEsJetzt(); // closed: the area is not touched
    EXPECT_TRUE(messages.Requests().empty());
}

TEST_F(RoboInterfaceTest, OlderLibraryNamesAndADeviceListMadeOncePerObject)
{
    TFakeVendorLibrary lib(FAKE_FTLIB_OLD_LIBRARY);
    lib.Set("devices", 2);
    UseLibraryFile(QStringLiteral("FTLib.dll"), lib.File);

    TRoboInterface robo;
    robo.BaseAddress = 5; // beyond the list
    robo.getKonfigData();
    EXPECT_EQ(robo.DeviceList,
              (QStringList{QStringLiteral("Kein"), QStringLiteral("Interface #1-ROBO Interface SN:1"),
                           QStringLiteral("Interface #2-ROBO Interface SN:2")}));
    EXPECT_EQ(robo.DlgAddress, 0);
    robo.RevertSettings();
    lib.Set("devices", 3); // plugged in meanwhile: the same object keeps its list
    robo.getKonfigData();
    EXPECT_EQ(robo.DeviceList.size(), 3);
    robo.DlgAddress = 1;
    robo.ApplySettings();
    EXPECT_EQ(robo.BaseAddress, 1);

    lib.ClearCalls();
    robo.SimStart();
    EXPECT_TRUE(robo.Opened());
    EXPECT_EQ(lib.Calls()[4], "DistanceSensorMode 0 1 20 20 500 500 2 2");
    robo.SimStop();

    TIniFile ini(folder.filePath(QStringLiteral("hw.ini")));
    robo.writeToIni(ini, QStringLiteral("D"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("D"), QStringLiteral("Device"), QString()),
              QStringLiteral("0001"));
    TRoboInterface loaded;
    loaded.readFromIni(ini, QStringLiteral("D"));
    EXPECT_EQ(loaded.BaseAddress, 1);
}

TEST_F(RoboInterfaceTest, NoDeviceOrAFailedOpenStaysClosedWithoutAMessage)
{
    TFakeVendorLibrary lib(FAKE_FTLIB_LIBRARY);
    lib.Set("devices", 1);
    UseLibraryFile(QStringLiteral("FTLib.dll"), lib.File);
    uint8_t* area = lib.Function<uint8_t*()>("FakeFtLib_Area")();
    area[0] = 0xFF;

    TRoboInterface none; // device 0: "Kein"
    none.SimStart();
    EXPECT_FALSE(none.Opened());
    none.MachEsJetzt();
    EXPECT_EQ(none.GetInputValue(0), 0.0L);
    none.SimStop();

    lib.Set("openFails", 1);
    TRoboInterface failing;
    failing.BaseAddress = 1;
    failing.SimStart();
    EXPECT_FALSE(failing.Opened());
    failing.MachEsJetzt();
    EXPECT_EQ(failing.GetInputValue(0), 0.0L);
    failing.SimStop();
    EXPECT_TRUE(messages.Requests().empty());
}

TEST_F(RoboInterfaceTest, MissingLibraryIsToldOncePerRunAndTheDialogIsNotShown)
{
    NoLibraries();
    TRoboInterface robo;
    robo.BaseAddress = 1;
    robo.SimStart();
    robo.SimStart();
    robo.MachEsJetzt();
    ASSERT_EQ(messages.Requests().size(), 1u);
    EXPECT_TRUE(messages.Requests()[0].text.contains(QStringLiteral("ROBO Interface"))
                || messages.Requests()[0].caption.contains(QStringLiteral("ROBO Interface")));
    robo.SimStop();

    robo.getKonfigData(); // the dialog asks: told again
    EXPECT_EQ(messages.Requests().size(), 2u);
    EXPECT_EQ(robo.DeviceList, QStringList{QStringLiteral("Kein")});
    EXPECT_EQ(robo.ExecuteDialog(), mrCancel);
    robo.RevertSettings();
}
