// The logic-analyser adapter and the CSI 7001 card on a parallel port, against models of their
// latches and shift register.
#include "hardware/cards/CardModels.h"
#include "hardware/cards/CardTestSupport.h"

#include "hardware/cards/LptAdapters.h"

namespace {

using Accesses = std::vector<TSimulatedPortIo::TAccess>;

class LptAdapterTest : public CardFixture {
protected:
    TAnalyserModel analyser{0x378};
    TCsi7001Model csi{0x378};
};

} // namespace

TEST_F(LptAdapterTest, AnalyserScansTheInputsFirstThenLatchesTheOutputs)
{
    io.Attach(0x378, 0x37A, &analyser);
    analyser.Inputs = 0x001; // E1 high
    TELVAnalyser adapter;
    adapter.AddressText = QStringLiteral("378");
    adapter.ApplySettings();
    adapter.SimStart();
    Drive(adapter, 0, 5.0L);  // A1
    Drive(adapter, 11, 5.0L); // A12
    Step(adapter);
    // A new device serves its inputs first: E12 (0x38) is selected and read a millisecond later.
    EXPECT_EQ(io.Accesses, (Accesses{W(0x378, 0x38), W(0x37A, 0x00), W(0x37A, 0x06)}));
    Step(adapter);
    EXPECT_EQ(Since(3), (Accesses{R(0x379, 0x47), W(0x378, 0x00), W(0x378, 0x28),
                                  W(0x37A, 0x00), W(0x37A, 0x06)}));
    Step(adapter, 10);
    EXPECT_FALSE(adapter.PortToggle);
    Step(adapter);
    EXPECT_TRUE(adapter.PortToggle); // the scan is complete
    EXPECT_EQ(adapter.GetInputValue(0), 5.0L);
    for (int k = 1; k < 12; ++k)
        EXPECT_EQ(adapter.GetInputValue(k), 0.0L) << "E" << k + 1;

    const size_t mark = io.Accesses.size();
    Step(adapter, 1, 0.5);
    EXPECT_EQ(Since(mark), (Accesses{W(0x378, 0x01), W(0x37A, 0x00), W(0x37A, 0x06),
                                     W(0x378, 0x08), W(0x37A, 0x05), W(0x37A, 0x06)}));
    EXPECT_EQ(analyser.High, 0x08);
    Step(adapter, 1, 0.5);
    EXPECT_EQ(Since(mark).size(), 6u); // the latches settle for a millisecond
    Step(adapter);
    EXPECT_EQ(io.Accesses.back(), W(0x378, 0x00));
    EXPECT_FALSE(adapter.PortToggle);
    EXPECT_EQ(analyser.Violations, 0);

    adapter.SimStop();
    EXPECT_EQ(io.Accesses.back(), W(0x37A, 0x04));
}

TEST_F(LptAdapterTest, AnalyserReadsEachLineOnlyWhenItHasSettled)
{
    io.Attach(0x378, 0x37A, &analyser);
    analyser.Inputs = 0xA5C;
    TELVAnalyser adapter;
    adapter.BaseAddress = 0x378;
    adapter.PropagateAddress();
    adapter.SimStart();
    Step(adapter, 49, 0.25); // four steps per line
    EXPECT_TRUE(adapter.PortToggle);
    for (int k = 0; k < 12; ++k)
        EXPECT_EQ(adapter.GetInputValue(k), (0xA5C >> k & 1) ? 5.0L : 0.0L) << "E" << k + 1;
    EXPECT_EQ(analyser.Violations, 0);
    EXPECT_EQ(TELVAnalyserDInPort::SelectCode(0), 0x80);
    EXPECT_EQ(TELVAnalyserDInPort::SelectCode(7), 0x87);
    EXPECT_EQ(TELVAnalyserDInPort::SelectCode(8), 0x08);
    adapter.SimStop();
}

TEST_F(LptAdapterTest, Csi7001WritesTheRelaysAndShiftsTheInputsIn)
{
    io.Attach(0x378, 0x37A, &csi);
    csi.Inputs = 0x05; // IN1 and IN3
    TCSI7001 card;
    card.AddressText = QStringLiteral("378");
    card.ApplySettings();
    card.SimStart();
    Drive(card, 2, 5.0L); // R3
    Step(card);
    EXPECT_EQ(io.Accesses.front(), W(0x378, 0x04));
    EXPECT_EQ(csi.Relays, 0x04);
    EXPECT_EQ(csi.Loads, 1);
    EXPECT_EQ(csi.Clocks, 8);
    // The load pulse on AUTOFEED keeps the register's other bits while raised.
    EXPECT_EQ(Since(1).size(), 4u + 8u * 5u);
    EXPECT_EQ(io.Accesses[2], W(0x37A, 0xE2));
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(card.GetInputValue(k), (0x05 >> k & 1) ? 5.0L : 0.0L) << "IN" << k + 1;
    EXPECT_EQ(card.GetInputLabel(7), QStringLiteral("IN8"));
    EXPECT_EQ(card.GetOutputLabel(0), QStringLiteral("R1"));

    csi.Inputs = 0x80;
    Step(card);
    EXPECT_EQ(csi.Loads, 2);
    EXPECT_EQ(card.GetInputValue(7), 5.0L);
    EXPECT_EQ(card.GetInputValue(0), 0.0L);
    card.SimStop();
}
