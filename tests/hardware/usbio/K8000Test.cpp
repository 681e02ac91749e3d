// The Velleman K8000 through a fake K8D library: card and printer port in the address, the
// port grant, the chips and channels of a card, the 500 ms gap between exchanges, outputs
// written only when they change (all of them in a run's first exchange), a missing library.
#include "hardware/VendorLibraryTestSupport.h"

#include "hardware/framework/PortDriver.h"
#include "hardware/usbio/K8000.h"
#include "hardware/usbio/K8dLibrary.h"
#include "platform/IniFile.h"

namespace {

class K8000Test : public VendorLibraryFixture {
protected:
    void SetUp() override
    {
        VendorLibraryFixture::SetUp();
        Releases.push_back([] { K8dLib().Free(); });
    }
    // Outputs: IO1..IO16, DAC1..DAC8, DA1. Inputs: IO1..IO16, AD1..AD4.
    static constexpr int32_t kDac1 = 16, kDa1 = 24, kAd1 = 16;
};

} // namespace

TEST_F(K8000Test, Card2OnLpt2UsesItsChipsAndChannelsEvery500Ms)
{
    TFakeVendorLibrary lib(FAKE_K8D_LIBRARY);
    UseLibraryFile(QStringLiteral("K8D.dll"), lib.File);
    lib.Set("chip4", 0x181); // only the low 8 bits count
    lib.Set("chip5", 0x02);
    lib.Set("ad10", 255);

    TK8000 board;
    ASSERT_EQ(board.OutputCount, 25);
    board.getKonfigData();
    board.DlgAddress = 1; // LPT 2
    board.DlgCard = 2;
    board.ApplySettings();
    EXPECT_EQ(board.BaseAddress, 0x21);
    TIniFile ini(folder.filePath(QStringLiteral("hw.ini")));
    board.writeToIni(ini, QStringLiteral("K"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("K"), QStringLiteral("Device"), QString()),
              QStringLiteral("21"));

    board.SetValue(kDac1, 5.0L); // 31.5 counts: 32
    board.SetValue(kDa1, 2.55L);
    board.SimStart();
    ASSERT_FALSE(PortDriver().GrantedRanges.empty());
    EXPECT_EQ(PortDriver().GrantedRanges.front(), (std::pair<uint16_t, uint16_t>{0x278, 0x27B}));
    EXPECT_EQ(lib.Calls(), (std::vector<std::string>{"Start_K8000", "SelectI2CprinterPort 2",
                                                      "ConfigAllIOasOutput"}));
    lib.ClearCalls();
    fake.clock.AdvanceMs(499);
    board.MachEsJetzt();
    EXPECT_TRUE(lib.Calls().empty());

    fake.clock.AdvanceMs(1);
    board.MachEsJetzt();
    std::vector<std::string> expected{"IOoutput 4 0", "IOoutput 5 0", "ReadIOchip 4",
                                      "ReadIOchip 5", "ReadADchannel 9", "ReadADchannel 10",
                                      "ReadADchannel 11", "ReadADchannel 12",
                                      "OutputDACchannel 17 32"};
    for (int channel = 18; channel <= 24; ++channel)
        expected.push_back("OutputDACchannel " + std::to_string(channel) + " 0");
    expected.push_back("OutputDAchannel 3 255");
    EXPECT_EQ(lib.Calls(), expected);
    EXPECT_EQ(board.GetInputValue(0), 5.0L);
    EXPECT_EQ(board.GetInputValue(7), 5.0L);
    EXPECT_EQ(board.GetInputValue(8), 0.0L);
    EXPECT_EQ(board.GetInputValue(9), 5.0L);
    EXPECT_EQ(board.GetInputValue(kAd1 + 1), 5.0L);

    // Only the high byte changed; the analog outputs did not.
    lib.ClearCalls();
    board.SetValue(8, 5.0L); // IO9
    fake.clock.AdvanceMs(500);
    board.MachEsJetzt();
    EXPECT_EQ(lib.Calls().front(), "IOoutput 5 1");
    EXPECT_EQ(lib.Calls().size(), 7u);

    lib.ClearCalls();
    board.SimStop();
    EXPECT_EQ(lib.Calls(), std::vector<std::string>{"Stop_K8000"});

    // The next run writes every output again, whatever the board kept.
    lib.ClearCalls();
    board.SimStart();
    fake.clock.AdvanceMs(500);
    board.MachEsJetzt();
    EXPECT_EQ(lib.Calls().size(), 3u + 17u);
    board.SimStop();
    EXPECT_TRUE(messages.Requests().empty());
}

TEST_F(K8000Test, MissingLibraryIsToldOnceAndNothingIsCalled)
{
    NoLibraries();
    TK8000 board;
    board.SimStart();
    fake.clock.AdvanceMs(1000);
    board.MachEsJetzt();
    board.SimStop();
    EXPECT_EQ(messages.Requests().size(), 1u);
}
