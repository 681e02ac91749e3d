// The Velleman K8055 through a fake K8055D library: the exchanges of a step and their 10 ms
// pauses, outputs written only when they change, counters reset on a falling reset pin, and a
// missing library.
#include "hardware/VendorLibraryTestSupport.h"

#include "hardware/usbio/K8055.h"
#include "hardware/usbio/K8055Library.h"
#include "platform/IniFile.h"

namespace {

class K8055Test : public VendorLibraryFixture {
protected:
    void SetUp() override
    {
        VendorLibraryFixture::SetUp();
        Releases.push_back([] { K8055Lib().Free(); });
    }
    // Outputs: AO1, AO2, DO1..DO8, /RC1, /RC2. Inputs: AI1, AI2, DI1..DI5, C1, C2.
    static constexpr int32_t kDo1 = 2, kRc1 = 10, kDi1 = 2, kC1 = 7;
};

} // namespace

TEST_F(K8055Test, AStepReadsEveryInputAndWritesWhatChangedWithAPauseAfterEachExchange)
{
    TFakeVendorLibrary lib(FAKE_K8055_LIBRARY);
    UseLibraryFile(QStringLiteral("K8055D.dll"), lib.File);
    lib.Set("ai1", 255);
    lib.Set("ai2", 51);
    lib.Set("di", 0x15);
    lib.Set("c1", 1234);
    TK8055 board;
    ASSERT_EQ(board.OutputCount, 12);
    board.BaseAddress = 2;
    LetWaitsPass(board);
    board.SetValue(0, 2.5L);   // 127.5 counts: 128
    board.SetValue(kRc1, 5.0L); // counter 1 not held in reset; counter 2 is (low)
    board.SimStart();
    EXPECT_EQ(TimedStep(board), 60u);
    EXPECT_EQ(lib.Calls(), (std::vector<std::string>{
                                "OpenDevice 2", "ReadAllAnalog", "ReadAllDigital",
                                "OutputAllAnalog 128 0", "WriteAllDigital 0", "ReadCounter 1",
                                "ReadCounter 2", "ResetCounter 2"}));
    EXPECT_EQ(board.GetInputValue(0), 5.0L);
    EXPECT_EQ(board.GetInputValue(1), 1.0L);
    EXPECT_EQ(board.GetInputValue(kDi1), 5.0L);
    EXPECT_EQ(board.GetInputValue(kDi1 + 1), 0.0L);
    EXPECT_EQ(board.GetInputValue(kDi1 + 4), 5.0L);
    EXPECT_EQ(board.GetInputValue(kC1), 1234.0L);

    // Nothing changed: three exchanges, three pauses.
    lib.ClearCalls();
    EXPECT_EQ(TimedStep(board), 30u);
    EXPECT_EQ(lib.Calls().size(), 4u);

    // The reset pin of counter 1 falls: reset; it rises and stays: nothing.
    lib.ClearCalls();
    board.SetValue(kRc1, 0.0L);
    board.SetValue(kDo1 + 7, 5.0L);
    EXPECT_EQ(TimedStep(board), 50u);
    EXPECT_EQ(lib.Calls()[2], "WriteAllDigital 128");
    EXPECT_EQ(lib.Calls().back(), "ResetCounter 1");
    board.SetValue(kRc1, 5.0L);
    board.MachEsJetzt();
    lib.ClearCalls();
    board.MachEsJetzt();
    EXPECT_EQ(lib.Calls().back(), "ReadCounter 2");

    lib.ClearCalls();
    board.SimStop();
    EXPECT_EQ(lib.Calls(), std::vector<std::string>{"CloseDevice"});
    EXPECT_TRUE(messages.Requests().empty());

    TIniFile ini(folder.filePath(QStringLiteral("hw.ini")));
    board.writeToIni(ini, QStringLiteral("K"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("K"), QStringLiteral("Device"), QString()),
              QStringLiteral("0002"));
}

TEST_F(K8055Test, MissingLibraryIsToldOnceAndTheBoardStaysIdle)
{
    NoLibraries();
    TK8055 board;
    LetWaitsPass(board);
    board.SimStart();
    EXPECT_EQ(TimedStep(board), 0u);
    board.SimStart();
    EXPECT_EQ(messages.Requests().size(), 1u);
    board.SimStop();
}
