// PT1, PT2 and DT1: real-time response on a fake clock, sample grid, limits, records (with the
// DT1's filter under its own record version), state file and the DT1 dialog.
#include "ComponentTestSupport.h"
#include "components/analog/RegisterAnalog.h"
#include "components/analog/SampleTime.h"
#include "components/analog/TransferElements.h"
#include "core/model/ClassRegistry.h"
#include "core/model/Translator.h"
#include "platform/Clock.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "platform/IniFile.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {

class TransferElementsTest : public TTimedComponentTest<RegisterControlComponents, true> {};

TEST_F(TransferElementsTest, ClassesHaveTheirPinsTextsAndDesignators)
{
    struct TCase {
        const char* cls;
        const char* prefix;
        int help;
        QStringList inputs;
    } const cases[] = {
        {"TBTPT1", "PT1-", 18838, {"X", "P", "1/T1", "/RST"}},
        {"TBTPT2", "PT2-", 18841, {"X", "P", "1/T", "D", "/RST"}},
        {"TBTDT1", "DT1-", 18842, {"X", "KD", "T1"}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.cls);
        std::unique_ptr<TBauteil> item = registry.CreateBoardItem(QString::fromLatin1(c.cls));
        auto* comp = dynamic_cast<TIOBauteil*>(item.get());
        ASSERT_NE(comp, nullptr);
        EXPECT_EQ(QString::fromLatin1(comp->ClassName()), QString::fromLatin1(c.cls));
        EXPECT_EQ(comp->Prefix(), QString::fromLatin1(c.prefix));
        EXPECT_EQ(comp->HelpContext, c.help);
        EXPECT_TRUE(comp->Editable);
        EXPECT_EQ(PinNames(comp->Inputs), c.inputs);
        ASSERT_EQ(comp->Outputs.size(), 1u);
        EXPECT_EQ(comp->Outputs[0]->Name(), QStringLiteral("Y"));
        const QString name = QString::fromLatin1(c.cls).mid(3);
        for (uint8_t lang = 0; lang < 3; ++lang) {
            Ctx().CurrentLanguage = lang;
            EXPECT_EQ(comp->GetTypeName(), name);
        }
    }
}

// --- PT1 -----------------------------------------------------------------------------------

TEST_F(TransferElementsTest, PT1FollowsItsInputWithTheTimeConstant)
{
    auto c = NewObject<TBTPT1>();
    TInputs in(*c);
    in.Set(0, 1.0L).Set(1, 3.0L).Set(2, 2.0L); // X 1, gain 3, T1 = 0.5 s
    c->SimReset();
    for (int i = 0; i < 500; ++i)
        StepAfter(*c, 1 * kMs);
    // One time constant: 1 - 1/e of the way (Euler with 1 ms steps), times the gain.
    EXPECT_NEAR(Out(*c), 3.0 * (1.0 - std::exp(-1.0)), 2e-3);
    // W = 0 holds the state.
    in.Set(2, 0.0L);
    const double held = Out(*c);
    StepAfter(*c, 5000 * kMs);
    EXPECT_EQ(Out(*c), held);
}

TEST_F(TransferElementsTest, PT1LongPauseMovesAtOnceWithinItsBound)
{
    auto c = NewObject<TBTPT1>();
    TInputs in(*c);
    in.Set(0, 1.0L).Set(1, 1.0L).Set(2, 1.0L);
    c->SimReset();
    StepAfter(*c, 3000 * kMs); // dt W = 3: overshoot, no sub-steps
    EXPECT_NEAR(Out(*c), 3.0, 1e-12);
    in.Set(2, 1e15L);
    StepAfter(*c, 1000 * kMs);
    EXPECT_EQ(c->Value, -TBTPT1::Limit);
}

TEST_F(TransferElementsTest, FixedSampleTimeComputesOncePerStepWithItsWidth)
{
    // PT1 and PT2 with 100 ms, steps of 10 ms (one computation every tenth step) and of
    // 250 ms (one per step, behind real time).
    auto p1 = NewObject<TBTPT1>();
    p1->Sampling.SetIndex(7);
    TInputs in1(*p1);
    in1.Set(0, 1.0L).Set(1, 1.0L).Set(2, 1.0L);
    p1->SimReset();
    clock.clock.AdvanceMs(5); // steps between the grid points
    for (int step = 1; step <= 9; ++step)
        StepAfter(*p1, 10 * kMs);
    EXPECT_EQ(Out(*p1), 0.0);
    StepAfter(*p1, 10 * kMs);
    EXPECT_NEAR(Out(*p1), 0.1, 1e-12);
    p1->SimReset();
    StepAfter(*p1, 250 * kMs);
    StepAfter(*p1, 250 * kMs);
    EXPECT_NEAR(Out(*p1), 0.19, 1e-12);
    EXPECT_EQ(p1->LastCount, clock.clock.PerformanceCounter() - 300 * kMs); // the grid lags

    auto p2 = NewObject<TBTPT2>();
    p2->Sampling.SetIndex(7);
    TInputs in2(*p2);
    in2.Set(0, 1.0L).Set(1, 1.0L).Set(2, 1.0L).Set(3, 1.0L);
    p2->SimReset();
    StepAfter(*p2, 250 * kMs);
    // h = 0.1: Value1 = 0.1, Value2 = 0.1 * 0.1.
    EXPECT_NEAR(static_cast<double>(p2->Value1), 0.1, 1e-12);
    EXPECT_NEAR(Out(*p2), 0.01, 1e-12);
}

TEST_F(TransferElementsTest, StepExactlyOnTheSampleGridComputes)
{
    // Every fixed entry, whatever its binary form: a step one tick short of the sample time
    // computes nothing, a step exactly on it computes.
    for (int index = 1; index < SampleTimes::Count; ++index) {
        SCOPED_TRACE(SampleTimes::Captions()[index].toStdString());
        const int64_t ms = std::llround(SampleTimes::Seconds(index) * 1000.0);
        auto p1 = NewObject<TBTPT1>();
        auto p2 = NewObject<TBTPT2>();
        p1->Sampling.SetIndex(index);
        p2->Sampling.SetIndex(index);
        TInputs in1(*p1);
        TInputs in2(*p2);
        in1.Set(0, 1.0L).Set(1, 1.0L).Set(2, 1.0L);
        in2.Set(0, 1.0L).Set(1, 1.0L).Set(2, 1.0L).Set(3, 1.0L);
        p1->SimReset();
        p2->SimReset();
        StepAfter(*p1, ms * kMs - 1);
        p2->Calculate();
        EXPECT_EQ(Out(*p1), 0.0);
        EXPECT_EQ(Out(*p2), 0.0);
        StepAfter(*p1, 1);
        p2->Calculate();
        EXPECT_NE(Out(*p1), 0.0);
        EXPECT_NE(Out(*p2), 0.0);
    }
}

TEST_F(TransferElementsTest, ResetInputHoldsZeroAndTheCurrentTimeBase)
{
    auto p1 = NewObject<TBTPT1>();
    auto p2 = NewObject<TBTPT2>();
    TInputs in1(*p1);
    TInputs in2(*p2);
    in1.Set(0, 1.0L).Set(1, 1.0L).Set(2, 5.0L).Set(3, 0.0L);
    in2.Set(0, 1.0L).Set(1, 1.0L).Set(2, 5.0L).Set(3, 0.5L).Set(4, 0.0L);
    p1->SimReset();
    p2->SimReset();
    for (int i = 0; i < 3; ++i) {
        clock.clock.AdvanceMs(100);
        p1->Calculate();
        p2->Calculate();
        EXPECT_EQ(Out(*p1), 0.0);
        EXPECT_EQ(Out(*p2), 0.0);
        EXPECT_EQ(p1->LastCount, clock.clock.PerformanceCounter());
        EXPECT_EQ(p2->LastCount, clock.clock.PerformanceCounter());
    }
}

// --- PT2 -----------------------------------------------------------------------------------

TEST_F(TransferElementsTest, PT2SettlesWithDampingAndOscillatesWithout)
{
    // D = 1: settles on X without overshoot.
    auto c = NewObject<TBTPT2>();
    TInputs in(*c);
    in.Set(0, 2.0L).Set(1, 1.0L).Set(2, 10.0L).Set(3, 1.0L);
    c->SimReset();
    double peak = 0.0;
    for (int i = 0; i < 3000; ++i) {
        StepAfter(*c, 1 * kMs);
        peak = std::max(peak, Out(*c));
    }
    EXPECT_LE(peak, 2.0 + 1e-9);
    EXPECT_NEAR(Out(*c), 2.0, 1e-6);

    // D = 0: constant amplitude, swinging between 0 and 2 X.
    auto o = NewObject<TBTPT2>();
    TInputs ino(*o);
    ino.Set(0, 1.0L).Set(1, 1.0L).Set(2, 10.0L).Set(3, 0.0L);
    o->SimReset();
    double lo = 0.0;
    double hi = 0.0;
    for (int i = 0; i < 20000; ++i) { // about 30 periods
        StepAfter(*o, 1 * kMs);
        if (i > 15000) {
            lo = std::min(lo, Out(*o));
            hi = std::max(hi, Out(*o));
        }
    }
    EXPECT_NEAR(hi, 2.0, 0.02);
    EXPECT_NEAR(lo, 0.0, 0.02);
}

// --- DT1 -----------------------------------------------------------------------------------

TEST_F(TransferElementsTest, DT1WithoutTimeConstantIsTheDifferenceQuotient)
{
    auto c = NewObject<TBTDT1>();
    TInputs in(*c);
    in.Set(1, 4.0L).Set(2, 0.0L);
    c->SimReset();
    in.Set(0, 0.0L);
    StepAfter(*c, 10 * kMs);
    in.Set(0, 0.5L);
    StepAfter(*c, 20 * kMs);
    EXPECT_NEAR(Out(*c), 4.0 * 0.5 / 0.02, 1e-9);
    // No step width and no time constant: the output stays, no infinity.
    in.Set(0, 3.0L);
    c->Calculate();
    EXPECT_NEAR(Out(*c), 100.0, 1e-9);
    StepAfter(*c, 10 * kMs);
    EXPECT_NEAR(Out(*c), 4.0 * 2.5 / 0.01, 1e-9);
}

TEST_F(TransferElementsTest, DT1AnswersAStepWithADecayingPulse)
{
    auto c = NewObject<TBTDT1>();
    TInputs in(*c);
    in.Set(0, 0.0L).Set(1, 1.0L).Set(2, 0.1L);
    c->SimReset();
    StepAfter(*c, 10 * kMs);
    in.Set(0, 1.0L);
    StepAfter(*c, 10 * kMs);
    double y = 1.0 / 0.11;
    EXPECT_NEAR(Out(*c), y, 1e-9);
    for (int i = 0; i < 5; ++i) {
        StepAfter(*c, 10 * kMs);
        y *= 0.1 / 0.11;
        EXPECT_NEAR(Out(*c), y, 1e-9);
    }
    // A reset clears the output but not the last input: the input step is not seen again.
    c->SimReset();
    StepAfter(*c, 10 * kMs);
    EXPECT_EQ(Out(*c), 0.0);
}

TEST_F(TransferElementsTest, DT1RecordKeepsTheFilterAndOldRecordsStillRead)
{
    auto c = NewObject<TBTDT1>();
    c->Sampling.SetIndex(5);
    c->Filter.Active = true;
    c->Filter.Omega = 20.0L;
    const QByteArray data = Write(*c);
    auto back = NewObject<TBTDT1>();
    EXPECT_TRUE(Read(*back, data));
    EXPECT_EQ(back->Sampling.SampleIndex, 5);
    EXPECT_TRUE(back->Filter.Active);
    EXPECT_EQ(back->Filter.Omega, 20.0L);
    EXPECT_EQ(back->DataVersion, TBTDT1::CurrentDataVersion);

    // A record of DataVersion 0 ends after the sample time; the filter keeps its defaults,
    // and the next write is a current record.
    auto old = NewObject<TBTDT1>();
    QByteArray oldData = ComponentPart(3, 1, 44) + SamplingPart(5, 0.02);
    EXPECT_TRUE(Read(*old, oldData));
    EXPECT_EQ(old->Sampling.SampleIndex, 5);
    EXPECT_FALSE(old->Filter.Active);
    EXPECT_EQ(old->Filter.Omega, 62.83185307179586L);
    auto again = NewObject<TBTDT1>();
    EXPECT_TRUE(Read(*again, Write(*old)));
    EXPECT_EQ(again->DataVersion, TBTDT1::CurrentDataVersion);
}

TEST_F(TransferElementsTest, OldFilesMoveTheSampleEntrySevenDown)
{
    for (const char* cls : {"TBTPT1", "TBTPT2", "TBTDT1"}) {
        SCOPED_TRACE(cls);
        std::unique_ptr<TBauteil> item = registry.CreateBoardItem(QString::fromLatin1(cls));
        auto* comp = dynamic_cast<TBTTransferElement*>(item.get());
        ASSERT_NE(comp, nullptr);
        EXPECT_TRUE(Read(*comp, ComponentPart(comp->InputCount, 1, 2) + SamplingPart(2, 0.2), 2));
        EXPECT_EQ(comp->Sampling.SampleIndex, 9);
        EXPECT_NEAR(comp->Sampling.SampleTime, 0.2, 1e-12); // the stored time is used
        EXPECT_THROW(Read(*comp, ComponentPart(comp->InputCount + 1, 1, 44) + SamplingPart(0, -1)),
                     EFilerError);
    }
}

TEST_F(TransferElementsTest, StatesSurviveARunInTheStateFile)
{
    QTemporaryDir dir;
    TIniFile ini(dir.filePath(QStringLiteral("state.set")));
    auto p1 = NewObject<TBTPT1>();
    auto p2 = NewObject<TBTPT2>();
    auto d1 = NewObject<TBTDT1>();
    TInputs gain(*p1);
    gain.Set(1, 10.0L);
    p1->SetNumber(1);
    p2->SetNumber(2);
    d1->SetNumber(3);
    p1->Value = 1.5L;
    p2->Value1 = -0.5L;
    p2->Value2 = 2.25L;
    d1->Value = 7.0L;
    for (TBauteil* b : std::initializer_list<TBauteil*>{p1.get(), p2.get(), d1.get()})
        b->SaveSettings(ini, QStringLiteral("MAIN"));
    EXPECT_EQ(ini.ReadFloat(QStringLiteral("MAIN.PT1-1"), QStringLiteral("Value"), 0), 1.5);
    EXPECT_EQ(ini.ReadFloat(QStringLiteral("MAIN.PT2-2"), QStringLiteral("Value1"), 0), -0.5);
    EXPECT_EQ(ini.ReadFloat(QStringLiteral("MAIN.PT2-2"), QStringLiteral("Value2"), 0), 2.25);
    EXPECT_EQ(ini.ReadFloat(QStringLiteral("MAIN.DT1-3"), QStringLiteral("Value"), 0), 7.0);

    for (TIOBauteil* b : std::initializer_list<TIOBauteil*>{p1.get(), p2.get(), d1.get()}) {
        b->SimReset();
        b->LoadSettings(ini, QStringLiteral("MAIN"), false);
    }
    EXPECT_EQ(p1->Value, 1.5L);
    EXPECT_EQ(Out(*p1), 1.5); // without the gain
    EXPECT_EQ(p2->Value1, -0.5L);
    EXPECT_EQ(Out(*p2), 2.25);
    EXPECT_EQ(Out(*d1), 7.0);
}

TEST_F(TransferElementsTest, DT1DialogEditsSampleTimeAndFilter)
{
    auto c = NewObject<TBTDT1>();
    TScopedDialogResponder responder;
    size_t rows = 0;
    responder.Answer([&](QDialog& d) {
        rows = RowCount(d);
        auto* combo = Row<TComboPropEditor>(d, 0);
        auto* check = Row<TCheckPropEditor>(d, 2);
        auto* freq = Row<TEditPropEditor>(d, 3);
        EXPECT_TRUE(combo && check && freq);
        if (!(combo && check && freq))
            return mrCancel;
        combo->Combo->setCurrentIndex(20);
        check->Check->setChecked(true);
        freq->Edit->setText(QStringLiteral("1"));
        return mrOk;
    });
    EXPECT_EQ(c->EditProperties(), mrOk);
    EXPECT_EQ(rows, 7u);
    EXPECT_EQ(c->Sampling.SampleIndex, 20);
    EXPECT_EQ(c->Sampling.SampleTime, 1800.0);
    EXPECT_TRUE(c->Filter.Active);
    EXPECT_NEAR(static_cast<double>(c->Filter.Omega), 2.0 * M_PI, 1e-12);
    // The new filter settings are part of the record.
    auto back = NewObject<TBTDT1>();
    Read(*back, Write(*c));
    EXPECT_TRUE(back->Filter.Active);
}

} // namespace
