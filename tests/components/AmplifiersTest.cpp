// Amplifier, gain, offset, supply and the random value: results, records, symbols' texts,
// dialogs, and the random value on a fixed seed.
#include "ComponentTestSupport.h"
#include "components/signal/Amplifiers.h"
#include "components/signal/RegisterSignalBlocks.h"
#include "platform/ModalDialogs.h"
#include "platform/ValueText.h"

#include "platform/MessageBox.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

#include <limits>
#include <set>

namespace {

constexpr Extended Open = std::numeric_limits<Extended>::quiet_NaN();

class AmplifiersTest : public TComponentTest<RegisterSignalBlocks, true> {};

TEST_F(AmplifiersTest, AmplifierGainAndOffset)
{
    struct Case {
        Extended in, a, off, out;
    };
    const Case cases[] = {
        {2, 3, 1, 7},
        {2, 1e15L, 0, 2e12L},     // the gain counts as 1e12
        {2, -1e15L, 0, -2e12L},
        {1e30L, 1, 0, 1e20L},     // input limited first
        {1e19L, 1e12L, 5, 1e20L}, // then the result
        {Open, Open, Open, 0},
    };
    for (const Case& c : cases) {
        auto amp = Create<TBTVerstaerker>();
        TInputs in(*amp);
        const Extended v[] = {c.in, c.a, c.off};
        for (int i = 0; i < 3; ++i) {
            if (v[i] == v[i])
                in.Set(i, v[i]);
        }
        amp->Calculate();
        EXPECT_EQ(amp->Outputs[0]->Value, c.out) << double(c.in) << " " << double(c.a);
    }

    auto g = Create<TBTGain>();
    g->Gain = -2.5L;
    TInputs gin(*g);
    gin.Set(0, 4);
    g->Calculate();
    EXPECT_EQ(g->Outputs[0]->Value, -10.0L);
    g->SimReset();
    EXPECT_EQ(g->Outputs[0]->Value, 0.0L);

    auto o = Create<TBTOffset>();
    o->Offset = 0.5L;
    TInputs oin(*o);
    oin.Set(0, 4);
    o->Calculate();
    EXPECT_EQ(o->Outputs[0]->Value, 4.5L);
}

TEST_F(AmplifiersTest, RecordsAndHints)
{
    auto g = Create<TBTGain>();
    g->Gain = 12.5L;
    auto gb = Create<TBTGain>();
    ASSERT_TRUE(Read(*gb, Write(*g)));
    EXPECT_EQ(gb->Gain, 12.5L);
    EXPECT_TRUE(gb->GetHint().endsWith(QStringLiteral("\r= ") + ValueToText(12.5L)));

    auto o = Create<TBTOffset>();
    o->Offset = -3.0L;
    auto ob = Create<TBTOffset>();
    ASSERT_TRUE(Read(*ob, Write(*o)));
    EXPECT_EQ(ob->Offset, -3.0L);

    auto r = Create<TBTRandom>();
    r->Digital = true;
    r->RangeMin = -7;
    r->RangeMax = 200;
    r->ApplyMode();
    auto rb = Create<TBTRandom>();
    ASSERT_TRUE(Read(*rb, Write(*r)));
    EXPECT_TRUE(rb->Digital);
    EXPECT_EQ(rb->RangeMin, -7);
    EXPECT_EQ(rb->RangeMax, 200);
    EXPECT_EQ(PinNames(rb->Outputs), Numbered("B", 7, 0));
    EXPECT_TRUE(rb->GetHint().endsWith(QStringLiteral("\rdigital")));
    r->Digital = false;
    EXPECT_TRUE(r->GetHint().endsWith(QStringLiteral("\r-7...200")));
}

TEST_F(AmplifiersTest, SupplyIsHighFromTheStart)
{
    auto vcc = Create<TBTVcc>();
    EXPECT_TRUE(vcc->Prefix().isEmpty());
    EXPECT_TRUE(vcc->Outputs[0]->Name().isEmpty());
    EXPECT_EQ(vcc->InputCount, 0);
    vcc->SimReset();
    EXPECT_EQ(vcc->Outputs[0]->Value, 5.0L);
    vcc->SimEnd();
    vcc->Calculate();
    EXPECT_EQ(vcc->Outputs[0]->Value, 5.0L);
}

TEST_F(AmplifiersTest, RandomOutputBits)
{
    struct Case {
        int32_t max;
        int bits;
    };
    for (const Case& c : {Case{-5, 1}, {0, 1}, {1, 1}, {2, 2}, {3, 2}, {4, 3}, {7, 3},
                          {128, 8}, {255, 8}, {256, 9}, {99999, 17}}) {
        EXPECT_EQ(TBTRandom::BitsFor(c.max), c.bits) << c.max;
    }
}

// The generator is seeded from the clock at the start of a run: on the test's clock every run
// gives the same values.
TEST_F(AmplifiersTest, RandomValuesOnAFixedSeed)
{
    TScopedFakeClock clock;
    auto r = Create<TBTRandom>();
    r->Digital = true;
    r->RangeMin = 0;
    r->RangeMax = 255;
    r->ApplyMode();
    ASSERT_EQ(r->OutputCount, 8);

    auto value = [&] {
        int v = 0;
        for (int k = 0; k < 8; ++k)
            v |= (r->Outputs[size_t(7 - k)]->Value >= 2.5L ? 1 : 0) << k;
        return v;
    };
    auto run = [&] {
        std::vector<int> values;
        r->SimReset();
        for (int step = 1; step <= 5000; ++step) {
            const int before = value();
            r->Calculate();
            if (step % 5 != 0)
                EXPECT_EQ(value(), before) << "step " << step; // new values in every fifth step
            else
                values.push_back(value());
        }
        return values;
    };
    const std::vector<int> first = run();
    EXPECT_EQ(run(), first);
    std::set<int> seen(first.begin(), first.end());
    EXPECT_EQ(*seen.begin(), 0);
    EXPECT_EQ(*seen.rbegin(), 255);
    EXPECT_GT(seen.size(), 200u);

    // Analog from -5 to 5 stays in [-5, 5); a reversed range counts from RangeMin upwards.
    r->Digital = false;
    r->RangeMin = -5;
    r->RangeMax = 5;
    r->ApplyMode();
    ASSERT_EQ(PinNames(r->Outputs), QStringList{"A"});
    r->SimReset();
    Extended lo = 10, hi = -10;
    for (int step = 0; step < 5000; ++step) {
        r->Calculate();
        lo = std::min(lo, Extended(r->Outputs[0]->Value));
        hi = std::max(hi, Extended(r->Outputs[0]->Value));
    }
    EXPECT_GE(lo, -5.0L);
    EXPECT_LT(lo, -4.9L);
    EXPECT_LT(hi, 5.0L);
    EXPECT_GT(hi, 4.9L);
}

TEST_F(AmplifiersTest, RandomDialogSetsModeAndRange)
{
    Ctx().CurrentLanguage = 1;
    auto r = Create<TBTRandom>();
    TScopedDialogResponder responder;
    QStringList captions;
    responder.Answer([&](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Random");
        EXPECT_EQ(Host(d).HelpContext, 18545);
        for (const auto& row : Host(d).PropScrollbox->Rows())
            captions << row->Editor->NameLabel->text();
        auto* mode = Row<TComboPropEditor>(d, 0);
        auto* hi = Row<TSpinPropEditor>(d, 2);
        if (!mode || !hi)
            return int(mrCancel);
        EXPECT_EQ(mode->Combo->itemText(1), "Digital");
        mode->Combo->setCurrentIndex(1);
        hi->Spin->setValue(100);
        return int(mrOk);
    });
    EXPECT_EQ(r->EditProperties(), mrOk);
    EXPECT_EQ(captions, (QStringList{"Output", "Range [min]", "Range [max]"}));
    EXPECT_TRUE(r->Digital);
    EXPECT_EQ(PinNames(r->Outputs), Numbered("B", 6, 0));
}

TEST_F(AmplifiersTest, GainAndOffsetDialogs)
{
    Ctx().CurrentLanguage = 1;
    auto g = Create<TBTGain>();
    auto o = Create<TBTOffset>();
    TScopedDialogResponder responder;
    QStringList captions;
    auto answer = [&](const char* text) {
        responder.Answer([&captions, text](QDialog& d) {
            captions << Host(d).PropScrollbox->Rows()[0]->Editor->NameLabel->text();
            if (auto* edit = Row<TEditPropEditor>(d, 0))
                edit->Edit->setText(QString::fromLatin1(text));
            return int(mrOk);
        });
    };
    answer("3.5");
    g->EditProperties();
    answer("-0.25");
    Ctx().CurrentLanguage = 0;
    o->EditProperties();
    EXPECT_EQ(captions, (QStringList{"Gain", "Offset"}));
    EXPECT_EQ(g->Gain, 3.5L);
    EXPECT_EQ(o->Offset, -0.25L);
}

} // namespace
