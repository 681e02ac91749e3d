// Quancom's USB relay and opto modules through a fake QLIB32 library: the card type opened for
// a module type, relays written on a change and dropped at the end of a run, opto inputs read
// every step, the type in the stored record, the card-type names, a missing library or module.
#include "hardware/VendorLibraryTestSupport.h"

#include "hardware/usbio/QuancomLibrary.h"
#include "hardware/usbio/QuancomUsbRel8.h"

namespace {

class QuancomTest : public VendorLibraryFixture {
protected:
    void SetUp() override
    {
        VendorLibraryFixture::SetUp();
        Releases.push_back([] { Qlib().Free(); });
    }
};

} // namespace

TEST_F(QuancomTest, CardTypeNames)
{
    const std::pair<int32_t, const char*> names[] = {
        {0, "PAR8DA"},    {64, "USBREL8"},   {65, "USBOPTO8"},       {67, "USBREL8LC"},
        {68, "USBOPTO8LC"}, {113, "PCIEXPPROTO1"}, {114, "RESERVED"}, {255, "RESERVED"},
        {-1, "RESERVED"}};
    for (const auto& [type, name] : names)
        EXPECT_EQ(QuancomCardTypeName(type), QLatin1String(name)) << type;
}

TEST_F(QuancomTest, RelaysAreWrittenOnAChangeAndDroppedWhenTheRunStops)
{
    TFakeVendorLibrary lib(FAKE_QLIB_LIBRARY);
    UseLibraryFile(QStringLiteral("QLIB32.dll"), lib.File);
    TQuancom_USBREL8 module;
    ASSERT_EQ(module.OutputCount, 8);
    EXPECT_EQ(module.GetOutputLabel(0), QStringLiteral("R1"));
    EXPECT_EQ(module.GetOutputDescription(7), QStringLiteral("Relais8"));
    module.BaseAddress = 1;
    LetWaitsPass(module);
    module.SimStart();
    EXPECT_EQ(TimedStep(module), 10u); // the first step writes, relays off included
    EXPECT_EQ(TimedStep(module), 0u);
    module.SetValue(0, 5.0L);
    module.SetValue(7, 5.0L);
    module.MachEsJetzt();
    module.SimStop();
    EXPECT_EQ(lib.Calls(), (std::vector<std::string>{
                               "QAPIExtOpenCard 64 1", "QAPIExtWriteDO8 513 0 0 0",
                               "QAPIExtWriteDO8 513 0 129 0", "QAPIExtWriteDO8 513 0 0 0",
                               "QAPIExtCloseCard 513"}));
    EXPECT_EQ(module.GetValue(0), 0.0L);

    // The next run starts with the relays off: nothing is written until one changes.
    lib.ClearCalls();
    module.SimStart();
    module.MachEsJetzt();
    EXPECT_EQ(lib.Calls(), std::vector<std::string>{"QAPIExtOpenCard 64 1"});
    module.SimStop();
    EXPECT_TRUE(messages.Requests().empty());
}

TEST_F(QuancomTest, OptoModuleReadsEveryStepAndTheStoredRecordKeepsItsType)
{
    TFakeVendorLibrary lib(FAKE_QLIB_LIBRARY);
    UseLibraryFile(QStringLiteral("QLIB32.dll"), lib.File);
    lib.Set("di", 0x181);
    TQuancom_USBREL8 module;
    module.getKonfigData();
    module.DlgAddress = 2;
    module.DlgModule = 3; // USBOPTO8LC
    module.ApplySettings();
    ASSERT_EQ(module.OutputCount, 0);
    EXPECT_EQ(module.GetInputLabel(0), QStringLiteral("IN1"));
    EXPECT_EQ(module.GetInputDescription(0), QStringLiteral("Opto IN1"));

    LetWaitsPass(module);
    module.SimStart();
    EXPECT_EQ(TimedStep(module), 10u);
    EXPECT_EQ(TimedStep(module), 10u);
    EXPECT_EQ(module.GetInputValue(0), 5.0L);
    EXPECT_EQ(module.GetInputValue(7), 5.0L);
    EXPECT_EQ(module.GetInputValue(1), 0.0L);
    module.SimStop();
    EXPECT_EQ(lib.Calls(), (std::vector<std::string>{
                               "QAPIExtOpenCard 68 2", "QAPIExtReadDI8 530 0 0",
                               "QAPIExtReadDI8 530 0 0", "QAPIExtCloseCard 530"}));

    TQuancom_USBREL8 loaded;
    LoadRecord(loaded, StoreRecord(module));
    EXPECT_EQ(loaded.Module(), TQuancomModule::USBOPTO8LC);
    EXPECT_EQ(loaded.BaseAddress, 2);
    EXPECT_EQ(loaded.CardType(), 68u);
    EXPECT_EQ(module.BaseAddress, 2); // the type is in the record only
}

TEST_F(QuancomTest, MissingLibraryOrModuleLeavesTheStepsIdle)
{
    TFakeVendorLibrary lib(FAKE_QLIB_LIBRARY);
    UseLibraryFile(QStringLiteral("QLIB32.dll"), lib.File);
    lib.Set("openFails", 1);
    TQuancom_USBREL8 absent;
    absent.SimStart();
    absent.SetValue(0, 5.0L);
    absent.MachEsJetzt();
    absent.SimStop();
    EXPECT_EQ(lib.Calls(), std::vector<std::string>{"QAPIExtOpenCard 64 0"});
    EXPECT_TRUE(messages.Requests().empty());
    Qlib().Free();

    NoLibraries();
    TQuancom_USBREL8 module;
    module.SimStart();
    module.SimStart();
    module.MachEsJetzt();
    EXPECT_EQ(messages.Requests().size(), 1u);
    module.SimStop();
    module.getKonfigData();
    module.ExecuteDialog(); // told, and the dialog opens all the same
    EXPECT_EQ(messages.Requests().size(), 2u);
    module.RevertSettings();
}
