// Integrator, differentiator, increment and analog delay: real-time behaviour on a fake
// clock, records (with old numbering and old versions), state file and settings dialogs.
#include "ComponentTestSupport.h"
#include "components/analog/Integrators.h"
#include "components/analog/RegisterAnalog.h"
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
#include <QSpinBox>
#include <QTemporaryDir>
#include <cmath>
#include <memory>
#include <vector>

namespace {

class IntegratorsTest : public TTimedComponentTest<RegisterControlComponents, true> {
protected:
    static Extended Out(const TIOBauteil& c) { return c.Outputs[0]->Value; }
};

TEST_F(IntegratorsTest, ClassesHaveTheirPinsTextsAndDesignators)
{
    struct TCase {
        const char* cls;
        const char* prefix;
        int help;
        bool editable;
        QStringList inputs;
        const char* output;
        const char* names[3];
    } const cases[] = {
        {"TBTIntegrierer", "INT", 18485, true, {"E", "/RST"}, "A",
         {"Integrierer", "Integral", "Intégrale"}},
        {"TBTDifferenzierer", "DIF", 18490, true, {"X", "/RST"}, "Y",
         {"Differenzierer", "Differential", "Différentiel"}},
        {"TBT_Inkretment", "INC", 18426, false, {"INC", "U/D", "|CLK", "/RST", "RES"}, "Z",
         {"Inkrementation", "Incrementation", "Incrémentation"}},
        {"TBT_AnalogDelay", "ADL", 18427, true, {"IN", "|CLK"}, "OUT",
         {"Analogverzögerung", "Analogue delay", "Délai analogique"}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.cls);
        std::unique_ptr<TBauteil> item = registry.CreateBoardItem(QString::fromLatin1(c.cls));
        auto* comp = dynamic_cast<TIOBauteil*>(item.get());
        ASSERT_NE(comp, nullptr);
        EXPECT_EQ(QString::fromLatin1(comp->ClassName()), QString::fromLatin1(c.cls));
        EXPECT_EQ(comp->Prefix(), QString::fromLatin1(c.prefix));
        EXPECT_EQ(comp->HelpContext, c.help);
        EXPECT_EQ(comp->Editable, c.editable);
        EXPECT_TRUE(comp->ElementClass().isEmpty());
        EXPECT_EQ(PinNames(comp->Inputs), c.inputs);
        ASSERT_EQ(comp->Outputs.size(), 1u);
        EXPECT_EQ(comp->Outputs[0]->Name(), QString::fromLatin1(c.output));
        for (uint8_t lang = 0; lang < 3; ++lang) {
            Ctx().CurrentLanguage = lang;
            EXPECT_EQ(comp->GetTypeName(), QString::fromUtf8(c.names[lang]));
        }
        Ctx().CurrentLanguage = 0;
        EXPECT_EQ(comp->GetLabel(), QString::fromUtf8(c.names[0]));
    }
}

// --- Integrator ----------------------------------------------------------------------------

TEST_F(IntegratorsTest, IntegratorWithMaxIntegratesRealTimeWhateverTheStepRate)
{
    for (const int64_t stepMs : {1, 8, 40, 250, 1000}) {
        SCOPED_TRACE(stepMs);
        auto c = NewObject<TBTIntegrierer>();
        TInputs in(*c);
        in.Set(0, 1.0L);
        c->SimReset();
        for (int64_t t = 0; t < 1000; t += stepMs)
            StepAfter(*c, stepMs * kMs);
        EXPECT_NEAR(static_cast<double>(Out(*c)), 1.0, 1e-12);
    }
}

TEST_F(IntegratorsTest, IntegratorWithASampleTimeAddsOneSamplePerStepAtMost)
{
    // 100 ms and steps of 10 ms: a rise of 0.1 E every tenth step.
    auto c = NewObject<TBTIntegrierer>();
    c->Sampling.SetIndex(7);
    TInputs in(*c);
    in.Set(0, 2.0L);
    c->SimReset();
    clock.clock.AdvanceMs(5); // steps between the grid points
    for (int step = 1; step <= 35; ++step) {
        StepAfter(*c, 10 * kMs);
        EXPECT_NEAR(static_cast<double>(Out(*c)), 0.2 * (step / 10), 1e-12) << step;
    }
    // Steps of 250 ms: one sample per step, so the integral falls behind real time.
    auto slow = NewObject<TBTIntegrierer>();
    slow->Sampling.SetIndex(7);
    TInputs slowIn(*slow);
    slowIn.Set(0, 2.0L);
    slow->SimReset();
    for (int step = 1; step <= 4; ++step)
        StepAfter(*slow, 250 * kMs);
    EXPECT_NEAR(static_cast<double>(Out(*slow)), 0.8, 1e-12);
}

TEST_F(IntegratorsTest, IntegratorResetHoldsZeroAndRestartsFromItsRelease)
{
    auto c = NewObject<TBTIntegrierer>();
    TInputs in(*c);
    in.Set(0, 3.0L);
    c->SimReset();
    StepAfter(*c, 500 * kMs);
    EXPECT_NEAR(static_cast<double>(Out(*c)), 1.5, 1e-12);
    in.Set(1, 0.0L);
    for (int i = 0; i < 3; ++i) {
        StepAfter(*c, 100 * kMs);
        EXPECT_EQ(Out(*c), 0.0L);
    }
    in.Set(1, 5.0L);
    StepAfter(*c, 200 * kMs);
    EXPECT_NEAR(static_cast<double>(Out(*c)), 0.6, 1e-12);
}

TEST_F(IntegratorsTest, IntegratorKeepsItsIntegralInTheStateFile)
{
    QTemporaryDir dir;
    TIniFile ini(dir.filePath(QStringLiteral("state.set")));
    auto c = NewObject<TBTIntegrierer>();
    c->SetNumber(3);
    c->Value = 4.25L;
    c->SaveSettings(ini, QStringLiteral("MAIN"));
    EXPECT_EQ(ini.ReadFloat(QStringLiteral("MAIN.INT3"), QStringLiteral("Value"), 0), 4.25);

    auto d = NewObject<TBTIntegrierer>();
    d->SetNumber(3);
    d->SimReset();
    d->LoadSettings(ini, QStringLiteral("MAIN"), false);
    EXPECT_EQ(d->Value, 4.25L);
    EXPECT_EQ(Out(*d), 4.25L);
    d->LoadSettings(ini, QStringLiteral("MAIN_MCR1"), false);
    EXPECT_EQ(d->Value, 0.0L);
}

TEST_F(IntegratorsTest, IntegratorRecordAndOldNumbering)
{
    auto c = NewObject<TBTIntegrierer>();
    c->Sampling.SetIndex(12);
    const QByteArray data = Write(*c);
    EXPECT_TRUE(data.endsWith(SamplingPart(12, 5.0)));
    auto back = NewObject<TBTIntegrierer>();
    EXPECT_TRUE(Read(*back, data));
    EXPECT_EQ(back->Sampling.SampleIndex, 12);
    EXPECT_EQ(back->Sampling.SampleTime, 5.0);

    auto old = NewObject<TBTIntegrierer>();
    EXPECT_TRUE(Read(*old, ComponentPart(2, 1, 2) + SamplingPart(0, 0.1), 2));
    EXPECT_EQ(old->Sampling.SampleIndex, 7);
    EXPECT_NEAR(old->Sampling.SampleTime, 0.1, 1e-12);

    auto wrong = NewObject<TBTIntegrierer>();
    EXPECT_THROW(Read(*wrong, ComponentPart(3, 1, 44) + SamplingPart(0, -1)), EFilerError);
}

TEST_F(IntegratorsTest, IntegratorDialogSetsTheSampleTime)
{
    auto c = NewObject<TBTIntegrierer>();
    c->SetLabel(QStringLiteral("Tank"));
    for (const int answer : {mrCancel, mrOk}) {
        TScopedDialogResponder responder;
        size_t rows = 0;
        responder.Answer([&](QDialog& d) {
            rows = RowCount(d);
            auto* combo = Row<TComboPropEditor>(d, 0);
            EXPECT_NE(combo, nullptr);
            if (combo) {
                EXPECT_EQ(combo->Combo->count(), SampleTimes::Count);
                EXPECT_EQ(combo->Combo->currentIndex(), c->Sampling.SampleIndex);
                combo->Combo->setCurrentIndex(7);
            }
            return answer;
        });
        EXPECT_EQ(c->EditProperties(), answer);
        EXPECT_EQ(responder.Titles(), QStringList{QStringLiteral("Tank")});
        EXPECT_EQ(rows, 4u); // sample time, then the option rows
        EXPECT_EQ(c->Sampling.SampleIndex, answer == mrOk ? 7 : 0);
        EXPECT_NEAR(c->Sampling.SampleTime, answer == mrOk ? 0.1 : -1.0, 1e-12);
    }
    Ctx().SimRunning = true;
    TScopedDialogResponder responder;
    size_t rows = 0;
    responder.Answer([&](QDialog& d) {
        rows = RowCount(d);
        return mrCancel;
    });
    c->EditProperties();
    EXPECT_EQ(rows, 1u);
}

// --- Differentiator ------------------------------------------------------------------------

TEST_F(IntegratorsTest, DifferentiatorGivesTheSlopeOfARamp)
{
    auto c = NewObject<TBTDifferenzierer>();
    TInputs in(*c);
    c->SimReset();
    Extended x = 0.0L;
    for (int step = 1; step <= 20; ++step) {
        x += 2.0L * 0.013L;
        in.Set(0, x);
        StepAfter(*c, 13 * kMs);
        EXPECT_NEAR(static_cast<double>(Out(*c)), 2.0, 1e-9) << step;
    }
    // Two steps within one clock tick: no quotient, the output stays.
    in.Set(0, 100.0L);
    c->Calculate();
    EXPECT_NEAR(static_cast<double>(Out(*c)), 2.0, 1e-9);
    StepAfter(*c, 13 * kMs);
    EXPECT_TRUE(std::isfinite(static_cast<double>(Out(*c))));
}

TEST_F(IntegratorsTest, DifferentiatorKeepsAnEvenSampleGridAcrossTheMovingBase)
{
    auto c = NewObject<TBTDifferenzierer>();
    c->Sampling.SetIndex(1); // 1 ms
    TInputs in(*c);
    c->SimReset();
    const int64_t start = c->LastCount;
    int64_t t = 0;
    Extended lastOut = 0.0L;
    for (int step = 1; step <= 4291; ++step) { // steps of 0.7 ms, 3003.7 ms in all
        t += 700000;
        in.Set(0, static_cast<Extended>(t) / 1e9L); // a ramp of 1 per second
        StepAfter(*c, 700000);
        lastOut = Out(*c);
    }
    // 3003 samples, the last on the grid point 3003 ms after the base.
    EXPECT_EQ(c->LastCount + (c->SampleCount - 1) * kMs, start + 3003 * kMs);
    EXPECT_GT(lastOut, 0.0L);
}

TEST_F(IntegratorsTest, DifferentiatorResetInputRestartsFromZero)
{
    auto c = NewObject<TBTDifferenzierer>();
    c->Filter.Active = true;
    TInputs in(*c);
    c->SimReset();
    in.Set(0, 1.0L);
    StepAfter(*c, 10 * kMs);
    ASSERT_NE(Out(*c), 0.0L);
    in.Set(1, 0.0L);
    StepAfter(*c, 10 * kMs);
    EXPECT_EQ(Out(*c), 0.0L);
    EXPECT_EQ(c->LastInput, 0.0L);
    EXPECT_EQ(c->Filter.Stage[3], 0.0L);
    EXPECT_EQ(c->LastCount, clock.clock.PerformanceCounter());
}

TEST_F(IntegratorsTest, DifferentiatorRecordCarriesTheFilterFromVersion40)
{
    auto c = NewObject<TBTDifferenzierer>();
    c->Sampling.SetIndex(4);
    c->Filter.Active = true;
    c->Filter.Omega = 31.25L;
    auto back = NewObject<TBTDifferenzierer>();
    EXPECT_TRUE(Read(*back, Write(*c)));
    EXPECT_EQ(back->Sampling.SampleIndex, 4);
    EXPECT_TRUE(back->Filter.Active);
    EXPECT_EQ(back->Filter.Omega, 31.25L);

    auto old = NewObject<TBTDifferenzierer>();
    EXPECT_TRUE(Read(*old, ComponentPart(2, 1, 39) + SamplingPart(4, 0.01), 39));
    EXPECT_EQ(old->Sampling.SampleIndex, 4);
    EXPECT_FALSE(old->Filter.Active);
    EXPECT_EQ(old->Filter.Omega, 62.83185307179586L);

    auto older = NewObject<TBTDifferenzierer>();
    EXPECT_TRUE(Read(*older, ComponentPart(2, 1, 2) + SamplingPart(3, 0.01), 2));
    EXPECT_EQ(older->Sampling.SampleIndex, 10);
}

TEST_F(IntegratorsTest, DifferentiatorDialogEditsSampleTimeAndFilter)
{
    auto c = NewObject<TBTDifferenzierer>();
    TScopedDialogResponder responder;
    responder.Answer([&](QDialog& d) {
        auto* combo = Row<TComboPropEditor>(d, 0);
        auto* group = Row<TCaptionPropEditor>(d, 1);
        auto* check = Row<TCheckPropEditor>(d, 2);
        auto* freq = Row<TEditPropEditor>(d, 3);
        EXPECT_TRUE(combo && group && check && freq);
        if (!(combo && group && check && freq))
            return mrCancel;
        EXPECT_EQ(freq->NameLabel->text(), QStringLiteral("Filter fo [Hz]"));
        EXPECT_EQ(freq->Edit->text(), QStringLiteral("10"));
        combo->Combo->setCurrentIndex(2);
        check->Check->setChecked(true);
        freq->Edit->setText(QStringLiteral("2,5"));
        return mrOk;
    });
    EXPECT_EQ(c->EditProperties(), mrOk);
    EXPECT_EQ(c->Sampling.SampleIndex, 2);
    EXPECT_TRUE(c->Filter.Active);
    EXPECT_NEAR(static_cast<double>(c->Filter.Omega), 5.0 * M_PI, 1e-12);
}

// --- Increment -----------------------------------------------------------------------------

TEST_F(IntegratorsTest, IncrementStepsOnFallingClockEdges)
{
    auto c = NewObject<TBT_Inkretment>();
    TInputs in(*c);
    in.Set(0, 0.5L).Set(1, 5.0L).Set(2, 0.0L);
    c->SimReset();
    c->Calculate();
    for (int edge = 1; edge <= 4; ++edge) {
        in.Set(2, 5.0L); // rising: nothing
        c->Calculate();
        EXPECT_EQ(Out(*c), 0.5L * (edge - 1));
        in.Set(2, 0.0L);
        c->Calculate();
        EXPECT_EQ(Out(*c), 0.5L * edge);
    }
    in.Set(1, 0.0L).Set(2, 5.0L);
    c->Calculate();
    in.Set(2, 0.0L);
    c->Calculate();
    EXPECT_EQ(Out(*c), 1.5L);
    // A low reset loads "RES" in every step, whatever the clock does.
    in.Set(3, 0.0L).Set(4, -7.0L);
    for (const Extended clk : {5.0L, 0.0L, 5.0L}) {
        in.Set(2, clk);
        c->Calculate();
        EXPECT_EQ(Out(*c), -7.0L);
    }
}

TEST_F(IntegratorsTest, IncrementStateFileStoresAndTheNextStepShowsIt)
{
    QTemporaryDir dir;
    TIniFile ini(dir.filePath(QStringLiteral("state.set")));
    auto c = NewObject<TBT_Inkretment>();
    c->SetNumber(1);
    c->Z = -2.5L;
    c->SaveSettings(ini, QStringLiteral("MAIN"));
    auto d = NewObject<TBT_Inkretment>();
    d->SetNumber(1);
    d->SimReset();
    d->LoadSettings(ini, QStringLiteral("MAIN"), false);
    EXPECT_EQ(d->Z, -2.5L);
    EXPECT_EQ(Out(*d), 0.0L);
    d->Calculate();
    EXPECT_EQ(Out(*d), -2.5L);
}

// --- Analog delay --------------------------------------------------------------------------

TEST_F(IntegratorsTest, AnalogDelayShowsTheInputOfNEdgesAgo)
{
    auto c = NewObject<TBT_AnalogDelay>();
    c->DelayLength = 3;
    c->RebuildCells();
    TInputs in(*c);
    c->SimReset();
    const Extended expected[] = {0, 0, 0, 1, 2};
    for (int i = 0; i < 5; ++i) {
        in.Set(0, i + 1.0L).Set(1, 5.0L);
        c->Calculate();
        in.Set(1, 0.0L);
        c->Calculate();
        EXPECT_EQ(Out(*c), expected[i]) << i;
        in.Set(0, 99.0L); // between edges the output holds
        c->Calculate();
        EXPECT_EQ(Out(*c), expected[i]);
    }
}

TEST_F(IntegratorsTest, AnalogDelayLengthFromRecordAndDialogStaysInRange)
{
    auto c = NewObject<TBT_AnalogDelay>();
    EXPECT_EQ(c->Cells.size(), 100u);
    c->DelayLength = 17;
    auto back = NewObject<TBT_AnalogDelay>();
    EXPECT_TRUE(Read(*back, Write(*c)));
    EXPECT_EQ(back->DelayLength, 17);
    EXPECT_EQ(back->Cells.size(), 17u);

    for (const auto& [stored, kept] : {std::pair{0, 1}, std::pair{-4, 1}, std::pair{5000, 1000}}) {
        QByteArray data = ComponentPart(2, 1, 44);
        QBuffer buffer(&data);
        buffer.open(QIODevice::Append);
        TWriter(buffer).WriteInteger(stored);
        buffer.close();
        auto bad = NewObject<TBT_AnalogDelay>();
        EXPECT_TRUE(Read(*bad, data));
        EXPECT_EQ(bad->DelayLength, kept);
        EXPECT_EQ(bad->Cells.size(), size_t(kept));
    }

    TScopedDialogResponder responder;
    responder.Answer([&](QDialog& d) {
        auto* spin = Row<TSpinPropEditor>(d, 0);
        EXPECT_NE(spin, nullptr);
        if (spin) {
            EXPECT_EQ(spin->Spin->minimum(), 1);
            EXPECT_EQ(spin->Spin->maximum(), 1000);
            spin->Spin->setValue(5);
        }
        return mrOk;
    });
    c->EditProperties();
    EXPECT_EQ(c->DelayLength, 5);
    EXPECT_EQ(c->Cells.size(), 5u);
    EXPECT_EQ(c->NextCell, 0);
}

} // namespace
