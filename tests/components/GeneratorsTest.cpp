// The limiter and the signal, pulse and ramp generators: pins and texts, the limiter's truth
// table, the waveforms and timing against a fake clock, records and symbols.
#include "ComponentTestSupport.h"
#include "components/analog/Generators.h"
#include "components/analog/RegisterAnalog.h"
#include "core/model/ClassRegistry.h"
#include "platform/Canvas.h"
#include "platform/Clock.h"
#include "platform/Colors.h"
#include "platform/Context.h"
#include "platform/Filer.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <memory>
#include <vector>

namespace {

class GeneratorsTest : public TTimedComponentTest<RegisterSignalComponents> {
protected:
    static double Out(const TIOBauteil& c, int i) { return static_cast<double>(c.Outputs[i]->Value); }
};

TEST_F(GeneratorsTest, ClassesHaveTheirPinsTextsAndDesignators)
{
    struct TCase {
        const char* cls;
        QStringList inputs;
        QStringList outputs;
        int help;
        const char* prefix[3];
        const char* typeName[3];
    } const cases[] = {
        {"TBTLimiter", {"EN", "IN", "LiH", "LiL"}, {"ClpL", "ClpH", "A"}, 18450,
         {"LIM", "LIM", "LIM"}, {"Begrenzer\rLimiter", "Limiter", "Limiteur"}},
        {"TBTFktGenerator", {"f", "A"}, {"DWN", "RUP", "TRI", "REC", "SIN"}, 18445,
         {"SG", "SG", "GS"}, {"Signalgenerator", "Signal generator", "Générateur\rde signal"}},
        {"TBTPulse", {"TH", "TL"}, {"CLK"}, 18296, {"PG", "PG", "PG"},
         {"Pulsgenerator", "Pulse generator", "Générateur\rde impulsion"}},
        {"TBTRampenGenerator", {"Y1", "Y2", "T", "Y0", "|RUN"}, {"RUN", "T", "Y"}, 18446,
         {"RG", "RG", "RG"}, {"Rampengenerator", "Ramp generator", "Rampe"}},
    };
    for (const TCase& c : cases) {
        for (uint8_t language = 0; language < 3; ++language) {
            SCOPED_TRACE(testing::Message() << c.cls << " language " << int(language));
            Ctx().CurrentLanguage = language;
            auto item = registry.CreateBoardItem(QString::fromLatin1(c.cls));
            auto* comp = dynamic_cast<TGrundBT*>(item.get());
            ASSERT_NE(comp, nullptr);
            EXPECT_STREQ(comp->ClassName(), c.cls);
            EXPECT_EQ(PinNames(comp->Inputs), c.inputs);
            EXPECT_EQ(PinNames(comp->Outputs), c.outputs);
            EXPECT_EQ(comp->HelpContext, c.help);
            EXPECT_EQ(comp->Prefix(), QString::fromUtf8(c.prefix[language]));
            EXPECT_EQ(comp->GetTypeName(), QString::fromUtf8(c.typeName[language]));
            // The label carries the type name on one line.
            EXPECT_EQ(comp->GetLabel(),
                      QString::fromUtf8(c.typeName[language]).replace(u'\r', u' '));
            EXPECT_FALSE(comp->Editable);
            EXPECT_EQ(comp->EditProperties(), 0);
        }
    }
}

TEST_F(GeneratorsTest, LimiterClipsAndFlagsTheActingLimit)
{
    struct TCase {
        const char* name;
        int en;  // -1 unconnected (reads high), else 0 or 5 volts
        double in, hi, lo;
        double a;
        bool clpH, clpL;
    } const cases[] = {
        {"inside", 5, 2, 4, 1, 2, false, false},
        {"above", 5, 7, 4, 1, 4, true, false},
        {"below", 5, -3, 4, 1, 1, false, true},
        {"on the upper limit", 5, 4, 4, 1, 4, false, false},
        {"on the lower limit", 5, 1, 4, 1, 1, false, false},
        {"disabled passes unchanged", 0, 7, 4, 1, 7, false, false},
        {"disabled below", 0, -3, 4, 1, -3, false, false},
        {"unconnected enable reads high", -1, 7, 4, 1, 4, true, false},
        // LiL above LiH: only a value between the two is beyond both, and LiL wins.
        {"crossed limits, between", 5, 4, 2, 6, 6, true, true},
        {"crossed limits, above both", 5, 9, 2, 6, 2, true, false},
        {"crossed limits, below both", 5, 1, 2, 6, 6, false, true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto lim = NewObject<TBTLimiter>();
        TInputs in(*lim);
        if (c.en < 0)
            in.Unconnect(TBTLimiter::InEN);
        else
            in.Set(TBTLimiter::InEN, c.en);
        in.Set(TBTLimiter::InIN, c.in).Set(TBTLimiter::InLiH, c.hi).Set(TBTLimiter::InLiL, c.lo);
        lim->SimReset();
        lim->Calculate();
        EXPECT_EQ(Out(*lim, TBTLimiter::OutA), c.a);
        EXPECT_EQ(Out(*lim, TBTLimiter::OutClpH), c.clpH ? 5.0 : 0.0);
        EXPECT_EQ(Out(*lim, TBTLimiter::OutClpL), c.clpL ? 5.0 : 0.0);
    }
    // The flags are written every step: they drop as soon as the value is back inside.
    auto lim = NewObject<TBTLimiter>();
    TInputs in(*lim);
    in.Set(0, 5).Set(1, 9).Set(2, 4).Set(3, 1);
    lim->Calculate();
    EXPECT_EQ(Out(*lim, TBTLimiter::OutClpH), 5.0);
    in.Set(1, 3);
    lim->Calculate();
    EXPECT_EQ(Out(*lim, TBTLimiter::OutClpH), 0.0);
    EXPECT_EQ(Out(*lim, TBTLimiter::OutA), 3.0);
    lim->SimReset();
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Out(*lim, i), 0.0);
}

// Expected outputs at a phase, for the amplitude 2.
struct TWave {
    double phase;
    double sin, rec, tri, rup, dwn;
};
constexpr double kR2 = 1.4142135623730951;  // 2 sin(pi / 4)
const TWave kWaves[] = {
    {0.125, kR2, 2, -1, -1.5, 1.5},  {0.25, 2, 2, 0, -1, 1},      {0.375, kR2, 2, 1, -0.5, 0.5},
    {0.625, -kR2, -2, 1, 0.5, -0.5}, {0.75, -2, -2, 0, 1, -1},     {0.875, -kR2, -2, -1, 1.5, -1.5},
};

TEST_F(GeneratorsTest, SignalGeneratorWaveformsFollowTheClock)
{
    struct TCase {
        const char* name;
        double f;
        double amplitude;  // every expected value is scaled by amplitude / 2
    } const cases[] = {
        {"1 Hz", 1.0, 2.0},
        {"4 Hz", 4.0, 2.0},
        {"negative amplitude mirrors every waveform", 1.0, -2.0},
        {"0 Hz runs at 0.001 Hz", 0.0, 2.0},
        {"negative frequency runs at 0.001 Hz", -5.0, 2.0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const double period = 1.0 / std::max(c.f, 0.001);
        const double k = c.amplitude / 2.0;
        auto gen = NewObject<TBTFktGenerator>();
        TInputs in(*gen);
        in.Set(TBTFktGenerator::InF, c.f).Set(TBTFktGenerator::InA, c.amplitude);
        // The generator must not depend on the clock's absolute reading.
        clock.clock.AdvanceSeconds(123.0);
        gen->SimReset();
        double last = 0.0;
        // Two periods: the second repeats the first after the phase wrapped.
        for (int round = 0; round < 2; ++round) {
            for (const TWave& w : kWaves) {
                SCOPED_TRACE(testing::Message() << "round " << round << " phase " << w.phase);
                const double at = round * period + w.phase * period;
                StepAfter(*gen, static_cast<int64_t>((at - last) * 1e9 + 0.5));
                last = at;
                EXPECT_NEAR(Out(*gen, TBTFktGenerator::OutSIN), k * w.sin, 1e-6);
                EXPECT_NEAR(Out(*gen, TBTFktGenerator::OutREC), k * w.rec, 1e-9);
                EXPECT_NEAR(Out(*gen, TBTFktGenerator::OutTRI), k * w.tri, 1e-6);
                EXPECT_NEAR(Out(*gen, TBTFktGenerator::OutRUP), k * w.rup, 1e-6);
                EXPECT_NEAR(Out(*gen, TBTFktGenerator::OutDWN), k * w.dwn, 1e-6);
            }
        }
    }
}

TEST_F(GeneratorsTest, SignalGeneratorStepLongerThanAPeriodLeavesTheRangeForThatStep)
{
    auto gen = NewObject<TBTFktGenerator>();
    TInputs in(*gen);
    in.Set(TBTFktGenerator::InF, 1.0).Set(TBTFktGenerator::InA, 2.0);
    gen->SimReset();
    // 2.25 s at 1 Hz: one period is taken off, the phase stands at 1.25.
    StepAfter(*gen, 2250 * kMs);
    EXPECT_DOUBLE_EQ(gen->PhaseTime, 1.25);
    EXPECT_NEAR(Out(*gen, TBTFktGenerator::OutRUP), 3.0, 1e-9);
    EXPECT_NEAR(Out(*gen, TBTFktGenerator::OutDWN), -3.0, 1e-9);
    EXPECT_NEAR(Out(*gen, TBTFktGenerator::OutTRI), 8.0, 1e-9);
    EXPECT_NEAR(Out(*gen, TBTFktGenerator::OutSIN), 2.0, 1e-9);
    // The next step is back in range: 1.5 s less one period.
    StepAfter(*gen, 250 * kMs);
    EXPECT_DOUBLE_EQ(gen->PhaseTime, 0.5);
    // A reset restarts the phase from the current reading.
    gen->SimReset();
    EXPECT_EQ(Out(*gen, TBTFktGenerator::OutDWN), 0.0);
    StepAfter(*gen, 125 * kMs);
    EXPECT_NEAR(Out(*gen, TBTFktGenerator::OutRUP), -1.5, 1e-9);
}

TEST_F(GeneratorsTest, PulseGeneratorStartsLowAndCarriesTheRemainder)
{
    struct TCase {
        const char* name;
        double th, tl;
        int64_t stepMs;
        const char* levels;  // expected "CLK" after each step, L or H
    } const cases[] = {
        {"0.5 s high, 0.25 s low", 0.5, 0.25, 125, "LLHHHHLLHHHHLL"},
        {"both 0 toggles every step", 0.0, 0.0, 10, "HLHLHL"},
        {"negative times count as 0", -1.0, -2.0, 10, "HLHLHL"},
        {"negative low time counts as 0", 0.25, -1.0, 125, "HHLHLH"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto pg = NewObject<TBTPulse>();
        TInputs in(*pg);
        in.Set(TBTPulse::InTH, c.th).Set(TBTPulse::InTL, c.tl);
        pg->Outputs[0]->Value = 5.0;
        pg->SimReset();
        EXPECT_EQ(Out(*pg, 0), 0.0);
        QString seen;
        for (size_t i = 0; c.levels[i]; ++i) {
            StepAfter(*pg, c.stepMs * kMs);
            seen += Out(*pg, 0) > 2.5 ? u'H' : u'L';
        }
        EXPECT_EQ(seen, QString::fromLatin1(c.levels));
    }
    // A step without elapsed time changes nothing, even at zero times.
    auto pg = NewObject<TBTPulse>();
    TInputs in(*pg);
    in.Set(0, 0.0).Set(1, 0.0);
    pg->SimReset();
    pg->Calculate();
    EXPECT_EQ(Out(*pg, 0), 0.0);
}

TEST_F(GeneratorsTest, PulseGeneratorKeepsItsAveragePeriodWithCoarseSteps)
{
    // 0.5 s high and 0.25 s low sampled every 0.2 s: the remainders carry over, so 30 s hold
    // 40 periods.
    auto pg = NewObject<TBTPulse>();
    TInputs in(*pg);
    in.Set(0, 0.5).Set(1, 0.25);
    pg->SimReset();
    int rising = 0;
    bool high = false;
    for (int i = 0; i < 150; ++i) {
        StepAfter(*pg, 200 * kMs);
        const bool now = Out(*pg, 0) > 2.5;
        rising += now && !high;
        high = now;
    }
    EXPECT_GE(rising, 39);
    EXPECT_LE(rising, 40);
}

TEST_F(GeneratorsTest, RampGeneratorRunsOnceAfterAFallingEdge)
{
    auto rg = NewObject<TBTRampenGenerator>();
    TInputs in(*rg);
    using R = TBTRampenGenerator;
    in.Set(R::InY1, 2.0).Set(R::InY2, 10.0).Set(R::InT, 2.0).Set(R::InY0, -1.0).Set(R::InRUN, 5);
    rg->SimReset();
    // The first step sees "|RUN" rise from the reset level: an edge step, idle.
    StepAfter(*rg, 100 * kMs);
    EXPECT_EQ(Out(*rg, R::OutRUN), 0.0);
    EXPECT_EQ(Out(*rg, R::OutY), 0.0);
    StepAfter(*rg, 100 * kMs);
    EXPECT_EQ(Out(*rg, R::OutY), -1.0);  // resting at Y0
    // Falling edge: the ramp starts and captures Y1, Y2 and T; Y is not written yet.
    in.Set(R::InRUN, 0);
    StepAfter(*rg, 100 * kMs);
    EXPECT_EQ(Out(*rg, R::OutRUN), 5.0);
    EXPECT_EQ(Out(*rg, R::OutY), -1.0);
    // Later changes of Y1, Y2 and T do not affect the running ramp.
    in.Set(R::InY1, 100.0).Set(R::InY2, 200.0).Set(R::InT, 50.0);
    struct TStep {
        int64_t ms;
        double y, t, run;
    } const steps[] = {
        {500, 4.0, 0.5, 5},   // a quarter of the way
        {1000, 8.0, 1.5, 5},  //
        {500, 10.0, 2.0, 5},  // exactly at T: still the ramp
        {1, 10.0, 2.0, 0},    // past T: RUN low, T holds 2, Y not written
        {1, -1.0, 2.0, 0},    // back at Y0
    };
    for (const TStep& s : steps) {
        SCOPED_TRACE(s.ms);
        StepAfter(*rg, s.ms * kMs);
        EXPECT_NEAR(Out(*rg, R::OutY), s.y, 1e-9);
        EXPECT_NEAR(Out(*rg, R::OutT), s.t, 1e-9);
        EXPECT_EQ(Out(*rg, R::OutRUN), s.run);
    }
    // No new ramp while "|RUN" stays low.
    StepAfter(*rg, 5000 * kMs);
    EXPECT_EQ(Out(*rg, R::OutRUN), 0.0);
}

TEST_F(GeneratorsTest, RampGeneratorStopsOnARisingEdgeAndEndsAtOnceWithZeroTime)
{
    using R = TBTRampenGenerator;
    {
        SCOPED_TRACE("rising edge during the ramp");
        auto rg = NewObject<R>();
        TInputs in(*rg);
        in.Set(R::InY1, 0.0).Set(R::InY2, 10.0).Set(R::InT, 10.0).Set(R::InY0, 3.0);
        in.Set(R::InRUN, 0);
        rg->SimReset();  // reset level low: no edge on the first step
        StepAfter(*rg, 10 * kMs);
        EXPECT_EQ(Out(*rg, R::OutY), 3.0);
        in.Set(R::InRUN, 5);
        StepAfter(*rg, 10 * kMs);
        in.Set(R::InRUN, 0);
        StepAfter(*rg, 10 * kMs);  // falling edge: start
        StepAfter(*rg, 1000 * kMs);
        EXPECT_NEAR(Out(*rg, R::OutY), 1.0, 1e-9);
        in.Set(R::InRUN, 5);
        StepAfter(*rg, 1000 * kMs);  // rising edge: stop, Y untouched
        EXPECT_EQ(Out(*rg, R::OutRUN), 0.0);
        EXPECT_NEAR(Out(*rg, R::OutY), 1.0, 1e-9);
        StepAfter(*rg, 10 * kMs);
        EXPECT_EQ(Out(*rg, R::OutY), 3.0);
    }
    {
        SCOPED_TRACE("T = 0");
        auto rg = NewObject<R>();
        TInputs in(*rg);
        in.Set(R::InY1, 0.0).Set(R::InY2, 10.0).Set(R::InT, 0.0).Set(R::InY0, 3.0);
        in.Set(R::InRUN, 5);
        rg->SimReset();
        StepAfter(*rg, 10 * kMs);
        in.Set(R::InRUN, 0);
        StepAfter(*rg, 10 * kMs);  // start
        rg->Calculate();           // no time has passed: the end value
        EXPECT_EQ(Out(*rg, R::OutY), 10.0);
        EXPECT_EQ(Out(*rg, R::OutRUN), 5.0);
        StepAfter(*rg, 1);  // any time ends it
        EXPECT_EQ(Out(*rg, R::OutRUN), 0.0);
        StepAfter(*rg, 1);
        EXPECT_EQ(Out(*rg, R::OutY), 3.0);
    }
    {
        SCOPED_TRACE("unconnected |RUN stays idle");
        auto rg = NewObject<R>();
        TInputs in(*rg);
        in.Set(R::InY0, 4.0);
        rg->SimReset();
        for (int i = 0; i < 3; ++i)
            StepAfter(*rg, 100 * kMs);
        EXPECT_EQ(Out(*rg, R::OutRUN), 0.0);
        EXPECT_EQ(Out(*rg, R::OutY), 4.0);
    }
}

TEST_F(GeneratorsTest, RecordsHoldOnlyTheComponentPart)
{
    for (const char* cls : {"TBTLimiter", "TBTFktGenerator", "TBTPulse", "TBTRampenGenerator"}) {
        SCOPED_TRACE(cls);
        auto item = registry.CreateBoardItem(QString::fromLatin1(cls));
        auto& comp = dynamic_cast<TIOBauteil&>(*item);
        comp.X = 300;
        comp.Y = 500;
        comp.Inputs[0]->SetInverted(true);
        comp.SetLabel(QStringLiteral("Mine"));
        const QByteArray data = Write(comp);
        for (uint8_t version : {uint8_t(44), uint8_t(40)}) {
            auto copy = registry.CreateBoardItem(QString::fromLatin1(cls));
            auto& c = dynamic_cast<TIOBauteil&>(*copy);
            EXPECT_TRUE(Read(c, data, version));
            EXPECT_EQ(c.X, 300);
            EXPECT_TRUE(c.Inputs[0]->Inverted());
            EXPECT_EQ(c.GetLabel(), QStringLiteral("Mine"));
            EXPECT_EQ(Write(c), data);
        }
        // A record with another pin count is refused instead of being stepped.
        comp.SetInputCount(comp.InputCount + 1);
        auto other = registry.CreateBoardItem(QString::fromLatin1(cls));
        EXPECT_THROW(Read(*other, Write(comp)), EFilerError);
    }
}

TEST_F(GeneratorsTest, SymbolsDrawInTheirColours)
{
    for (const char* cls : {"TBTLimiter", "TBTFktGenerator", "TBTPulse", "TBTRampenGenerator"}) {
        for (bool mirrored : {false, true}) {
            for (bool selected : {false, true}) {
                SCOPED_TRACE(testing::Message() << cls << (mirrored ? " mirrored" : "")
                                                << (selected ? " selected" : ""));
                auto item = registry.CreateBoardItem(QString::fromLatin1(cls));
                auto& comp = dynamic_cast<TIOBauteil&>(*item);
                comp.SymbolColor = clLime;
                comp.SetMirrored(mirrored);
                comp.Selected = selected;
                QImage img(160, 160, QImage::Format_RGB32);
                img.fill(Qt::white);
                {
                    QPainter p(&img);
                    TCanvas canvas(&p);
                    canvas.SetMapping(4.0, QPoint(-200, -200));
                    comp.Paint(canvas);
                }
                // The limiter draws in fixed colours, the generators in the symbol colour.
                const bool fixed = std::string(cls) == "TBTLimiter";
                const TMarkPixels n = MarkPixels(img);
                EXPECT_EQ(n.red > 0, fixed || selected);
                EXPECT_EQ(n.lime > 0, !fixed && !selected);
            }
        }
    }
}

} // namespace
