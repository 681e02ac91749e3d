// The IO-Warriors through a fake iowkit: the reports of the 24/40 written on a change, of the
// 56 in every step, the read ports, the first device opened by the loader and closed by the
// unload routine, and a missing library or device.
#include "hardware/VendorLibraryTestSupport.h"

#include "hardware/usbio/IoWarrior.h"
#include "hardware/usbio/IowkitLibrary.h"

namespace {

class IoWarriorTest : public VendorLibraryFixture {
protected:
    void SetUp() override
    {
        VendorLibraryFixture::SetUp();
        Releases.push_back([] { Iowkit().Free(); });
    }
};

} // namespace

TEST_F(IoWarriorTest, Warrior40WritesItsReportOnAChangeAndReadsEveryStep)
{
    TFakeVendorLibrary lib(FAKE_IOWKIT_LIBRARY);
    UseLibraryFile(QStringLiteral("iowkit.dll"), lib.File);
    lib.Set("devices", 2);
    lib.Set("pid", 0x1500);
    lib.Set("read", 0x04030281);
    TWarrior chip;
    ASSERT_EQ(chip.OutputCount, 32);
    EXPECT_EQ(chip.GetOutputLabel(8), QStringLiteral("W1.0"));
    EXPECT_EQ(chip.GetInputLabel(31), QStringLiteral("R3.7"));
    EXPECT_EQ(chip.GetInputDescription(9), QStringLiteral("Port 1 Bit 1"));
    chip.BaseAddress = 2;
    LetWaitsPass(chip);
    for (int i = 8; i < 12; ++i)
        chip.SetValue(i, 5.0L); // write port 1: 0x0F
    chip.SimStart();
    EXPECT_EQ(TimedStep(chip), 10u);
    EXPECT_EQ(TimedStep(chip), 10u);
    EXPECT_EQ(lib.Calls(), (std::vector<std::string>{
                               "IowKitOpenDevice", "IowKitGetDeviceHandle 2",
                               "IowKitGetProductId 2", "IowKitSetTimeout 2 1000",
                               "IowKitWrite 2 0 5: 00 00 0F 00 00", "IowKitReadImmediate 2",
                               "IowKitReadImmediate 2"}));
    EXPECT_EQ(chip.GetInputValue(0), 5.0L);  // R0.0 of 0x81
    EXPECT_EQ(chip.GetInputValue(7), 5.0L);  // R0.7
    EXPECT_EQ(chip.GetInputValue(9), 5.0L);  // R1.1 of 0x02
    EXPECT_EQ(chip.GetInputValue(26), 5.0L); // R3.2 of 0x04

    // No new reading: the read ports keep theirs.
    lib.Set("immediateFails", 1);
    lib.Set("read", 0);
    chip.MachEsJetzt();
    EXPECT_EQ(chip.GetInputValue(0), 5.0L);
    chip.SimStop();

    // The unload routine closes the device the loader opened.
    lib.ClearCalls();
    Iowkit().Free();
    EXPECT_EQ(lib.Calls(), std::vector<std::string>{"IowKitCloseDevice 0"});
    EXPECT_TRUE(messages.Requests().empty());
}

TEST_F(IoWarriorTest, Warrior56WritesEveryStepAndOnlyAsTheRightChip)
{
    TFakeVendorLibrary lib(FAKE_IOWKIT_LIBRARY);
    UseLibraryFile(QStringLiteral("iowkit.dll"), lib.File);
    lib.Set("devices", 1);
    lib.Set("pid", 0x1503);
    lib.Set("nonBlocking", 8);
    lib.Set("read", 0x0007000000000001);
    TWarrior56 chip;
    ASSERT_EQ(chip.OutputCount, 56);
    ASSERT_EQ(GetInputCount(chip), 56);
    EXPECT_EQ(chip.GetOutputLabel(55), QStringLiteral("W6.7"));
    chip.BaseAddress = 1;
    LetWaitsPass(chip);
    chip.SetValue(48, 5.0L); // W6.0
    chip.SimStart();
    lib.ClearCalls();
    EXPECT_EQ(TimedStep(chip), 10u);
    EXPECT_EQ(TimedStep(chip), 10u);
    const std::vector<std::string> step{"IowKitWrite 1 0 8: 00 00 00 00 00 00 00 01",
                                        "IowKitReadNonBlocking 1 0 8"};
    EXPECT_EQ(lib.Calls(), (std::vector<std::string>{step[0], step[1], step[0], step[1]}));
    EXPECT_EQ(chip.GetInputValue(0), 5.0L);
    EXPECT_EQ(chip.GetInputValue(48), 5.0L);
    EXPECT_EQ(chip.GetInputValue(49), 5.0L);
    EXPECT_EQ(chip.GetInputValue(50), 5.0L);
    chip.SimStop();

    // Another chip behind the number: the 56's step does nothing at all.
    lib.Set("pid", 0x1500);
    chip.SimStart();
    lib.ClearCalls();
    EXPECT_EQ(TimedStep(chip), 0u);
    EXPECT_TRUE(lib.Calls().empty());
    chip.SimStop();
}

TEST_F(IoWarriorTest, MissingLibraryIsToldAndANumberWithoutADeviceIsLeftAlone)
{
    TFakeVendorLibrary lib(FAKE_IOWKIT_LIBRARY);
    UseLibraryFile(QStringLiteral("iowkit.dll"), lib.File);
    lib.Set("devices", 2);
    TWarrior chip;
    chip.getKonfigData();
    EXPECT_EQ(chip.DeviceList, (QStringList{QStringLiteral("Kein"), QStringLiteral("IO-Warrior #1"),
                                            QStringLiteral("IO-Warrior #2")}));
    chip.RevertSettings();
    chip.BaseAddress = 5;
    chip.SimStart();
    lib.ClearCalls();
    EXPECT_EQ(TimedStep(chip), 0u);
    EXPECT_TRUE(lib.Calls().empty());
    chip.SimStop();
    EXPECT_TRUE(messages.Requests().empty());
    Iowkit().Free();

    NoLibraries();
    TWarrior absent;
    absent.SimStart();
    absent.SimStart();
    absent.MachEsJetzt();
    EXPECT_EQ(messages.Requests().size(), 1u);
    absent.SimStop();
    absent.getKonfigData();
    EXPECT_EQ(messages.Requests().size(), 2u);
    EXPECT_EQ(absent.DeviceList, QStringList{QStringLiteral("Kein")});
    absent.RevertSettings();
}
