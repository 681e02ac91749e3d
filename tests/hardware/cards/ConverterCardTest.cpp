// The ADA8 and ADA16-2 converter cards and the PIO32 card against register models with their
// conversion times, the clock moving between steps.
#include "hardware/cards/CardModels.h"
#include "hardware/cards/CardTestSupport.h"

#include "hardware/cards/AdaCards.h"
#include "hardware/cards/Pio32.h"

namespace {

using Accesses = std::vector<TSimulatedPortIo::TAccess>;

class ConverterCardTest : public CardFixture {
protected:
    TAda8Model ada8{0x300};
    TAda16Model ada16{0x300};
    TPio32Model pio{0x300};
};

void ExpectVolts(TIOInterface& device, int input, Extended volts)
{
    EXPECT_NEAR(double(device.GetInputValue(input)), double(volts), 1e-9) << "input " << input;
}

} // namespace

TEST_F(ConverterCardTest, Ada8LatchesOneChannelEveryTwoSteps)
{
    io.Attach(0x300, 0x306, &ada8);
    TADA8 card;
    EXPECT_EQ(card.BaseAddress, 0x300);
    card.SimStart();
    for (int k = 0; k < 8; ++k)
        Drive(card, k, 0.0L);
    Drive(card, 3, 1.28L);
    Step(card, 6);
    const size_t mark = io.Accesses.size();
    Step(card);
    // Channel 3: latch bit raised, channel put in, data; the input port's multiplexer write
    // keeps both.
    const Accesses step = Since(mark);
    ASSERT_GE(step.size(), 3u);
    EXPECT_EQ(step[0], W(0x303, uint8_t(step[0].Value | 0x40)));
    EXPECT_EQ(step[1].Port, 0x303);
    EXPECT_EQ(step[1].Value & 0x47, 0x43);
    EXPECT_EQ(step[2], W(0x302, 128));
    EXPECT_EQ(ada8.DaOut[3], -1); // not yet latched
    const size_t next = io.Accesses.size();
    Step(card);
    const Accesses clear = Since(next);
    ASSERT_FALSE(clear.empty());
    EXPECT_EQ(clear[0].Port, 0x303);
    EXPECT_EQ(clear[0].Value & 0x47, 0x03); // bit 6 lowered, channel kept
    EXPECT_EQ(ada8.DaOut[3], 128);
    Step(card, 8);
    EXPECT_EQ(ada8.DaOut, (std::array<int, 8>{0, 0, 0, 128, 0, 0, 0, 0}));
    EXPECT_EQ(ada8.Violations, 0);
}

TEST_F(ConverterCardTest, Ada8ReadsEveryChannelAfterItsConversionWhateverTheStepRate)
{
    for (double msBetween : {1.0, 0.02}) {
        SCOPED_TRACE(msBetween);
        TAda8Model model{0x300};
        model.Analog = {255, 0, 10, 128, 1, 2, 3, 200};
        io.Attach(0x300, 0x306, &model);
        TADA8 card;
        card.SimStart();
        Step(card, msBetween < 1.0 ? 400 : 17, msBetween);
        ExpectVolts(card, 0, 2.55L);
        ExpectVolts(card, 3, 1.28L);
        ExpectVolts(card, 7, 2.0L);
        EXPECT_EQ(model.Violations, 0);
        card.SimStop();
    }
    EXPECT_EQ(ada8::WithAdChannel(0x43, 5), 0x6B); // D/A bits and latch kept
    EXPECT_EQ(ada8::WithDaChannel(0x6B, 2), 0x6A);
}

TEST_F(ConverterCardTest, Ada16SignOverrangeAndResolution)
{
    struct TCase {
        TAda16Model::TInput input;
        Extended volts;
    };
    const TCase cases[] = {{{4095, true, false}, 2.0L},
                           {{4095, false, false}, -2.0L},
                           {{1234, true, true}, 2.0L},
                           {{0xFFFF, true, false}, 0.0L},
                           {{2048, true, false}, 2048 * (2.0L / 4095)}};
    io.Attach(0x300, 0x306, &ada16);
    for (const TCase& c : cases) {
        TADA162 card;
        card.ResolutionChoice = 4; // "12 Bit"
        card.AddressText = QStringLiteral("0300");
        card.ApplySettings();
        ada16.Analog[0] = c.input;
        card.SimStart();
        const size_t mark = io.Accesses.size();
        Step(card, 1, 2.0);
        EXPECT_EQ(ada16.LastStart, 0x40); // resolution 4, channel 0
        Step(card, 1, 1.0);
        ExpectVolts(card, 0, c.volts);
        EXPECT_EQ(ada16.LastStart, 0x41); // the next channel started
        // Every step: the D/A channel, then the start, status and result registers in order.
        const Accesses got = Since(mark);
        ASSERT_GE(got.size(), 4u);
        EXPECT_EQ(got[2], W(0x300, 0x40));
        card.SimStop();
    }
    EXPECT_EQ(ada16.Violations, 0);
}

TEST_F(ConverterCardTest, Ada16WaitsForTheFinishedBitAndWritesTheDaWord)
{
    io.Attach(0x300, 0x306, &ada16);
    ada16.ConversionNs = Ms(7.0); // a slow card
    ada16.Analog[0] = {1000, true, false};
    TADA162 card;
    card.SimStart();
    Drive(card, 0, 0.0L);
    Drive(card, 1, 2.0L);
    for (int i = 0; i < 6; ++i) {
        Step(card);
        EXPECT_EQ(card.GetInputValue(0), 0.0L) << i;
    }
    Step(card, 2);
    ExpectVolts(card, 0, 1000 * (2.0L / 65535));
    EXPECT_EQ(ada16.Violations, 0);
    EXPECT_EQ(ada16.DaOut[0], 2048); // 0 V: the middle of the range
    EXPECT_EQ(ada16.DaOut[1], 4095);
    const Accesses first = {io.Accesses.begin(), io.Accesses.begin() + 2};
    EXPECT_EQ(first, (Accesses{W(0x302, 0x08), W(0x301, 0x00)}));
}

TEST_F(ConverterCardTest, Ada16ResolutionChangesTheRawRangeAndIsStored)
{
    TADA162 card;
    card.AddressText = QStringLiteral("0310");
    card.ResolutionChoice = 7;
    card.ApplySettings();
    EXPECT_EQ(card.Ports[1]->Pins[5]->RawMax, 511);
    EXPECT_EQ(card.Ports[1]->BaseAddress, 0x310);
    TADA162 loaded;
    LoadRecord(loaded, StoreRecord(card));
    auto& input = static_cast<TADA162AInPort&>(*loaded.Ports[1]);
    EXPECT_EQ(input.Resolution, 7);
    EXPECT_EQ(input.Pins[0]->RawMax, 511);
    input.SetResolution(9); // not a resolution of the card
    EXPECT_EQ(input.Resolution, 7);
}

TEST_F(ConverterCardTest, Pio32WritesTwoWordsAndReadsFourBytes)
{
    io.Attach(0x300, 0x303, &pio);
    pio.In = {0x01, 0x00, 0x80, 0x00};
    TPIO32 card;
    card.AddressText = QStringLiteral("300");
    card.ApplySettings();
    card.SimStart();
    DriveBits(card, 0, 32);
    Drive(card, 0, 5.0L);  // 1A1
    Drive(card, 31, 5.0L); // 3A9
    Step(card);
    EXPECT_EQ(io.Accesses, (Accesses{W(0x300, 0x01), W(0x301, 0x00), W(0x302, 0x00),
                                     W(0x303, 0x80), R(0x300, 0x01), R(0x301, 0x00),
                                     R(0x302, 0x80), R(0x303, 0x00)}));
    for (int k = 0; k < 32; ++k) {
        const bool high = k == 0 || k == 23;
        EXPECT_EQ(card.GetInputValue(k), high ? 5.0L : 0.0L) << k;
    }
    EXPECT_EQ(card.GetInputLabel(0), QStringLiteral("1E20"));
    EXPECT_EQ(card.GetInputLabel(23), QStringLiteral("2E22"));
    EXPECT_EQ(card.GetOutputLabel(31), QStringLiteral("3A9"));
    card.MakeInfoLines();
    EXPECT_EQ(card.InfoLines.size(), 4);
    EXPECT_EQ(card.InfoLines[3], QStringLiteral("ELV-PIO32-Karte: $0303"));
    card.SimStop();

    TPIO32 off;
    off.MakeInfoLines();
    EXPECT_EQ(off.InfoLines, QStringList{QStringLiteral("ELV-PIO32-Karte: keine")});
}
