// The controllers: real-time PI, PD and PID on a fake clock (time base, sample grid, limits,
// reset input, filter), records, state file, dialogs; the two-point controller, the play
// element and the dead zone.
#include "ComponentTestSupport.h"
#include "components/analog/Controllers.h"
#include "components/analog/RegisterAnalog.h"
#include "core/model/ClassRegistry.h"
#include "core/model/Translator.h"
#include "platform/Canvas.h"
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
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QTemporaryDir>
#include <cmath>
#include <memory>
#include <vector>

namespace {

class ControllersTest : public TTimedComponentTest<RegisterControlComponents, true> {};

TEST_F(ControllersTest, ClassesHaveTheirPinsTextsAndDesignators)
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
        {"TBT_P_Regler", "P-", 18844, false, {"X+", "X-", "KP"}, "Y",
         {"P-Regler", "P controller", "Contrôleur-P"}},
        {"TBT_PI_Regler", "PI-", 18847, true, {"X+", "X-", "KP", "KI", "/RST"}, "Y",
         {"PI-Regler", "PI controller", "Contrôleur-PI"}},
        {"TBT_PD_Regler", "PD-", 18850, true, {"X+", "X-", "KP", "KD"}, "Y",
         {"PD-Regler", "PD controller", "Contrôleur-PD"}},
        {"TBT_PID_Regler", "PID-", 18853, true, {"X+", "X-", "KP", "KI", "KD", "/RST"}, "Y",
         {"PID-Regler", "PID controller", "Contrôleur-PID"}},
        {"TBT_2_Punkt_Regler", "2HYS-", 18856, false, {"X+", "X-", "HYS"}, "ON",
         {"2-Punkt-Regler", "Two-position\rcontroller", "Contrôleur\rdeux-positions"}},
        {"TBT_Spiel", "HYS-", 18428, false, {"X", "HYS"}, "Y", {"Spiel", "Play", "Lecture"}},
        {"TBT_Totzone", "DZN-", 18429, false, {"X", "XL", "XH"}, "Y",
         {"Totzone", "Dead zone", "Zone morte"}},
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
        EXPECT_EQ(PinNames(comp->Inputs), c.inputs);
        ASSERT_EQ(comp->Outputs.size(), 1u);
        EXPECT_EQ(comp->Outputs[0]->Name(), QString::fromLatin1(c.output));
        for (uint8_t lang = 0; lang < 3; ++lang) {
            Ctx().CurrentLanguage = lang;
            EXPECT_EQ(comp->GetTypeName(), QString::fromUtf8(c.names[lang]));
        }
        // A record with other pin counts is refused.
        EXPECT_THROW(Read(*comp, ComponentPart(comp->InputCount + 1, 1, 44)), EFilerError);
    }
}

TEST_F(ControllersTest, EveryControlClassPaintsItsSymbol)
{
    const char* classes[] = {"TBTIntegrierer", "TBTDifferenzierer", "TBT_Inkretment",
                             "TBT_AnalogDelay", "TBTPT1", "TBTPT2", "TBTDT1", "TBT_P_Regler",
                             "TBT_PI_Regler", "TBT_PD_Regler", "TBT_PID_Regler",
                             "TBT_2_Punkt_Regler", "TBT_Spiel", "TBT_Totzone"};
    for (const char* cls : classes) {
        SCOPED_TRACE(cls);
        std::unique_ptr<TBauteil> item = registry.CreateBoardItem(QString::fromLatin1(cls));
        auto* comp = dynamic_cast<TIOBauteil*>(item.get());
        ASSERT_NE(comp, nullptr);
        for (const bool selected : {false, true}) {
            QImage image(400, 400, QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            TCanvas canvas(&painter);
            canvas.SetMapping(1.0);
            comp->Selected = selected;
            comp->Paint(canvas);
            painter.end();
            // The class's own mark (curve, text or caption) lies inside the body.
            const QRect body = canvas.LPtoDP(QRect(comp->Body.Left, comp->Body.Top,
                                                   comp->Body.Width(), comp->Body.Height()));
            bool drawn = false;
            for (int y = body.top(); y <= body.bottom() && !drawn; ++y) {
                for (int x = body.left(); x <= body.right() && !drawn; ++x)
                    drawn = image.pixelColor(x, y) != QColor(Qt::white);
            }
            EXPECT_TRUE(drawn);
        }
    }
}

// --- PID -----------------------------------------------------------------------------------

TEST_F(ControllersTest, PIDTakesAFreshTimeBaseAtRunStart)
{
    auto c = NewObject<TBT_PID_Regler>();
    TInputs in(*c);
    in.Set(0, 1.0L).Set(2, 0.0L).Set(3, 1.0L).Set(4, 0.0L); // e = 1, KI = 1
    // A new component, and later a second run after a long pause: the first step of each
    // run integrates over its own 10 ms only.
    for (const int64_t pauseMs : {1000000, 86400000}) {
        SCOPED_TRACE(pauseMs);
        clock.clock.AdvanceMs(pauseMs);
        c->SimPrepare();
        c->SimReset();
        StepAfter(*c, 10 * kMs);
        EXPECT_NEAR(Out(*c), 0.01, 1e-12);
        c->SimEnd();
    }
}

TEST_F(ControllersTest, PIDResetInputSetsTheIntegralButKeepsTheTimeBase)
{
    auto c = NewObject<TBT_PID_Regler>();
    c->Init = 2.0L;
    TInputs in(*c);
    in.Set(0, 1.0L).Set(2, 0.0L).Set(3, 1.0L).Set(4, 0.0L);
    c->SimPrepare();
    c->SimReset();
    StepAfter(*c, 100 * kMs);
    EXPECT_NEAR(Out(*c), 2.1, 1e-12);
    in.Set(5, 0.0L);
    StepAfter(*c, 50 * kMs);
    // The integral starts again from Init and adds the 50 ms since the last computed step.
    EXPECT_NEAR(Out(*c), 2.05, 1e-12);
    EXPECT_EQ(c->LastCount, clock.clock.PerformanceCounter());
}

TEST_F(ControllersTest, PIDTermsUseTheErrorAndOnlyTheDerivativeTheFilteredError)
{
    auto c = NewObject<TBT_PID_Regler>();
    c->Filter.Active = true;
    c->Filter.Omega = 100.0L;
    TInputs in(*c);
    in.Set(0, 3.0L).Set(1, 2.0L).Set(2, 2.0L).Set(3, 3.0L).Set(4, 0.5L);
    c->SimPrepare();
    c->SimReset();
    c->Filter.Reset();
    StepAfter(*c, 1 * kMs);
    // e = 1, filtered 1e-4 after one 1-ms step at omega 100.
    EXPECT_NEAR(Out(*c), 2.0 + 3.0 * 0.001 + 1e-4 * 0.5 / 0.001, 1e-9);

    // Without the filter the derivative is the plain difference quotient.
    auto p = NewObject<TBT_PD_Regler>();
    TInputs pin(*p);
    pin.Set(0, 1.0L).Set(2, 0.0L).Set(3, 2.0L);
    p->SimReset();
    StepAfter(*p, 20 * kMs);
    pin.Set(0, 1.5L);
    StepAfter(*p, 20 * kMs);
    EXPECT_NEAR(Out(*p), 0.5 * 2.0 / 0.02, 1e-9);
}

TEST_F(ControllersTest, WithoutElapsedTimeTheDerivativeControllersKeepTheirOutput)
{
    auto pid = NewObject<TBT_PID_Regler>();
    auto pd = NewObject<TBT_PD_Regler>();
    TInputs a(*pid);
    TInputs b(*pd);
    a.Set(0, 1.0L).Set(2, 1.0L).Set(3, 1.0L).Set(4, 1.0L);
    b.Set(0, 1.0L).Set(2, 1.0L).Set(3, 1.0L);
    pid->SimPrepare();
    pid->SimReset();
    pd->SimReset();
    clock.clock.AdvanceMs(10);
    pid->Calculate();
    pd->Calculate();
    const double pidOut = Out(*pid);
    const double pdOut = Out(*pd);
    a.Set(0, 4.0L);
    b.Set(0, 4.0L);
    pid->Calculate(); // same clock reading
    pd->Calculate();
    EXPECT_EQ(Out(*pid), pidOut);
    EXPECT_EQ(Out(*pd), pdOut);
    clock.clock.AdvanceMs(10);
    pid->Calculate();
    pd->Calculate();
    EXPECT_TRUE(std::isfinite(Out(*pid)));
    EXPECT_NEAR(Out(*pd), 4.0 + 3.0 / 0.01, 1e-9);
}

TEST_F(ControllersTest, LimitsHoldIntegralAndOutputAndAnInvertedPairGivesTheMinimum)
{
    for (const bool pid : {false, true}) {
        SCOPED_TRACE(pid ? "PID" : "PI");
        std::unique_ptr<TBTTimedController> c;
        if (pid)
            c = NewObject<TBT_PID_Regler>();
        else
            c = NewObject<TBT_PI_Regler>();
        c->OutMin = -1.0L;
        c->OutMax = 2.0L;
        TInputs in(*c);
        in.Set(0, 1.0L).Set(2, 0.5L).Set(3, 10.0L);
        c->SimPrepare();
        c->SimReset();
        StepAfter(*c, 1000 * kMs);
        EXPECT_EQ(Out(*c), 2.0);
        in.Set(0, -1.0L); // the integral was held at 2: it falls from there
        StepAfter(*c, 100 * kMs);
        EXPECT_NEAR(Out(*c), 2.0 - 1.0 - 0.5, 1e-12);

        c->OutMin = 5.0L;
        c->OutMax = 1.0L;
        StepAfter(*c, 100 * kMs);
        EXPECT_EQ(Out(*c), 5.0);
    }
}

TEST_F(ControllersTest, PIDKeepsItsIntegralInTheStateFile)
{
    QTemporaryDir dir;
    TIniFile ini(dir.filePath(QStringLiteral("state.set")));
    auto c = NewObject<TBT_PID_Regler>();
    c->SetNumber(2);
    c->Integral = 0.75L;
    c->SaveSettings(ini, QStringLiteral("MAIN"));
    EXPECT_EQ(ini.ReadFloat(QStringLiteral("MAIN.PID-2"), QStringLiteral("Value"), 0), 0.75);

    auto d = NewObject<TBT_PID_Regler>();
    d->SetNumber(2);
    d->Init = 3.0L;
    d->SimReset();
    d->LoadSettings(ini, QStringLiteral("MAIN"), false);
    EXPECT_EQ(d->Integral, 0.75L);
    // Without a saved integral the reset value stays.
    d->SimReset();
    d->LoadSettings(ini, QStringLiteral("MAIN_MCR1"), false);
    EXPECT_EQ(d->Integral, 3.0L);
}

// --- PI and PD -----------------------------------------------------------------------------

TEST_F(ControllersTest, PIWithSlowStepsMeasuresFromTheGridPoint)
{
    auto c = NewObject<TBT_PI_Regler>();
    c->Sampling.SetIndex(7); // 100 ms
    TInputs in(*c);
    in.Set(0, 1.0L).Set(2, 0.0L).Set(3, 1.0L);
    c->SimReset();
    const double expected[] = {0.25, 0.25 + 0.4, 0.25 + 0.4 + 0.55};
    for (double e : expected) {
        StepAfter(*c, 250 * kMs);
        EXPECT_NEAR(Out(*c), e, 1e-9);
    }
}

TEST_F(ControllersTest, PIResetHeldLowWithASampleTimeComputesNothing)
{
    auto c = NewObject<TBT_PI_Regler>();
    c->Sampling.SetIndex(4);
    c->Init = 1.25L;
    TInputs in(*c);
    in.Set(0, 1.0L).Set(2, 1.0L).Set(3, 1.0L);
    c->SimReset();
    StepAfter(*c, 10 * kMs);
    const double before = Out(*c);
    in.Set(4, 0.0L);
    for (int i = 0; i < 5; ++i) {
        StepAfter(*c, 50 * kMs);
        EXPECT_EQ(Out(*c), before);
        EXPECT_EQ(c->Integral, 1.25L);
    }
    // With "Max" a held reset still computes: e KP + Init.
    c->Sampling.SetIndex(0);
    StepAfter(*c, 50 * kMs);
    EXPECT_NEAR(Out(*c), 1.0 + 1.25, 1e-12);
}

TEST_F(ControllersTest, ASampleTimeLongerThanTheStepHoldsTheOutput)
{
    auto c = NewObject<TBT_PD_Regler>();
    c->Sampling.SetIndex(7);
    TInputs in(*c);
    in.Set(2, 1.0L).Set(3, 0.0L);
    c->SimReset();
    for (int step = 1; step <= 30; ++step) {
        in.Set(0, step);
        StepAfter(*c, 11 * kMs);
        EXPECT_EQ(Out(*c), 10.0 * (step / 10)) << step;
    }
}

TEST_F(ControllersTest, RecordsRoundTripTheirSettings)
{
    auto pid = NewObject<TBT_PID_Regler>();
    pid->Sampling.SetIndex(6);
    pid->OutMin = -3.5L;
    pid->OutMax = 9.0L;
    pid->Init = 0.25L;
    pid->Filter.Active = true;
    pid->Filter.Omega = 7.0L;
    const QByteArray data = Write(*pid);
    QByteArray tail = SamplingPart(6, 0.05);
    {
        QBuffer buffer(&tail);
        buffer.open(QIODevice::Append);
        TWriter w(buffer);
        w.WriteFloat(-3.5L);
        w.WriteFloat(9.0L);
        w.WriteFloat(0.25L);
        pid->Filter.WriteRecord(w);
    }
    EXPECT_TRUE(data.endsWith(tail));
    auto back = NewObject<TBT_PID_Regler>();
    EXPECT_TRUE(Read(*back, data));
    EXPECT_EQ(back->Sampling.SampleIndex, 6);
    EXPECT_EQ(back->OutMin, -3.5L);
    EXPECT_EQ(back->OutMax, 9.0L);
    EXPECT_EQ(back->Init, 0.25L);
    EXPECT_TRUE(back->Filter.Active);
    EXPECT_EQ(back->Filter.Omega, 7.0L);

    auto pi = NewObject<TBT_PI_Regler>();
    pi->Init = -1.0L;
    pi->OutMax = 4.0L;
    auto piBack = NewObject<TBT_PI_Regler>();
    EXPECT_TRUE(Read(*piBack, Write(*pi)));
    EXPECT_EQ(piBack->Init, -1.0L);
    EXPECT_EQ(piBack->OutMax, 4.0L);

    auto pd = NewObject<TBT_PD_Regler>();
    pd->OutMin = -2.0L;
    pd->Filter.Active = true;
    auto pdBack = NewObject<TBT_PD_Regler>();
    EXPECT_TRUE(Read(*pdBack, Write(*pd)));
    EXPECT_EQ(pdBack->OutMin, -2.0L);
    EXPECT_TRUE(pdBack->Filter.Active);

    // A stored index outside the list is replaced by the entry of the stored time.
    QByteArray bad = ComponentPart(5, 1, 44) + SamplingPart(30, 2.0);
    {
        QBuffer buffer(&bad);
        buffer.open(QIODevice::Append);
        TWriter w(buffer);
        w.WriteFloat(0.0L);
        w.WriteFloat(1.0L);
        w.WriteFloat(0.0L);
    }
    auto fixed = NewObject<TBT_PI_Regler>();
    EXPECT_TRUE(Read(*fixed, bad));
    EXPECT_EQ(fixed->Sampling.SampleIndex, 11);
}

TEST_F(ControllersTest, DialogsShowTheirRowsAndTakeTheValuesBack)
{
    Ctx().CurrentLanguage = 1;
    struct TCase {
        const char* name;
        std::function<std::unique_ptr<TBTTimedController>()> make;
        QStringList captions;
    } const cases[] = {
        {"PID", [] { return std::unique_ptr<TBTTimedController>(NewObject<TBT_PID_Regler>()); },
         {"Sample rate", "Output", "Limit [min/max]", "Integration", "Init", "Filter", "Enable",
          "Filter fo [Hz]", "Options", "Name", "Adjustable at runtime"}},
        {"PI", [] { return std::unique_ptr<TBTTimedController>(NewObject<TBT_PI_Regler>()); },
         {"Sample rate", "Output", "Limit [min/max]", "Integration", "Init", "Options", "Name",
          "Adjustable at runtime"}},
        {"PD", [] { return std::unique_ptr<TBTTimedController>(NewObject<TBT_PD_Regler>()); },
         {"Sample rate", "Output", "Limit [min/max]", "Filter", "Enable", "Filter fo [Hz]",
          "Options", "Name", "Adjustable at runtime"}},
    };
    const QString runtime = Translate(QStringLiteral("Zur Laufzeit einstellbar"));
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        QStringList expected = c.captions;
        expected.last() = runtime;
        std::unique_ptr<TBTTimedController> comp = c.make();
        comp->OutMax = 1.0L / 3.0L;
        QStringList captions;
        TScopedDialogResponder responder;
        responder.Answer([&](QDialog& d) {
            for (const auto& row : static_cast<TDefault_Dlg&>(d).PropScrollbox->Rows())
                captions << row->Editor->NameLabel->text();
            auto* range = Row<TRangePropEditor>(d, 2);
            EXPECT_NE(range, nullptr);
            if (range)
                range->MinEdit->setText(QStringLiteral("-5"));
            Row<TComboPropEditor>(d, 0)->Combo->setCurrentIndex(3);
            return mrOk;
        });
        EXPECT_EQ(comp->EditProperties(), mrOk);
        EXPECT_EQ(captions, expected);
        EXPECT_EQ(comp->OutMin, -5.0L);
        EXPECT_EQ(comp->Sampling.SampleIndex, 3);
        // Untouched values pass once through their 8-digit text.
        EXPECT_EQ(comp->OutMax, 0.33333333L);
    }

    auto pid = NewObject<TBT_PID_Regler>();
    pid->Init = 0.5L;
    TScopedDialogResponder responder;
    responder.Answer([&](QDialog& d) {
        Row<TEditPropEditor>(d, 4)->Edit->setText(QStringLiteral("1.5"));
        Row<TCheckPropEditor>(d, 6)->Check->setChecked(true);
        Row<TEditPropEditor>(d, 7)->Edit->setText(QStringLiteral("4"));
        return mrCancel;
    });
    EXPECT_EQ(pid->EditProperties(), mrCancel);
    EXPECT_EQ(pid->Init, 0.5L);
    EXPECT_FALSE(pid->Filter.Active);
    responder.Answer([&](QDialog& d) {
        Row<TEditPropEditor>(d, 4)->Edit->setText(QStringLiteral("1.5"));
        Row<TCheckPropEditor>(d, 6)->Check->setChecked(true);
        Row<TEditPropEditor>(d, 7)->Edit->setText(QStringLiteral("4"));
        return mrOk;
    });
    EXPECT_EQ(pid->EditProperties(), mrOk);
    EXPECT_EQ(pid->Init, 1.5L);
    EXPECT_TRUE(pid->Filter.Active);
    EXPECT_NEAR(static_cast<double>(pid->Filter.Omega), 8.0 * M_PI, 1e-12);
}

// --- Two-point, play, dead zone, P -----------------------------------------------------------

TEST_F(ControllersTest, TwoPointSwitchesBeyondTheBandAndWritesOnlyOnChange)
{
    struct TStep {
        Extended xm;
        double out; // expected pin value; 3.3 = not written since it was marked
    };
    // X+ = 10, HYS = 2: on below 9, off above 11, bounds keep the state.
    const TStep steps[] = {{10, 3.3}, {9, 3.3}, {8.9L, 5.0}, {10, 3.3}, {11, 3.3},
                           {11.1L, 0.0}, {9.5L, 3.3}};
    auto c = NewObject<TBT_2_Punkt_Regler>();
    TInputs in(*c);
    in.Set(0, 10.0L).Set(2, 2.0L);
    for (const TStep& s : steps) {
        c->Outputs[0]->Value = 3.3L;
        in.Set(1, s.xm);
        c->Calculate();
        EXPECT_NEAR(Out(*c), s.out, 1e-12) << static_cast<double>(s.xm);
    }
    // HYS = 0: equality keeps the state.
    in.Set(2, 0.0L).Set(1, 10.0L);
    c->Calculate();
    EXPECT_FALSE(c->Status);
    in.Set(1, 9.999L);
    c->Calculate();
    EXPECT_TRUE(c->Status);
    in.Set(1, 10.0L);
    c->Calculate();
    EXPECT_TRUE(c->Status);

    QTemporaryDir dir;
    TIniFile ini(dir.filePath(QStringLiteral("state.set")));
    c->SetNumber(1);
    c->SaveSettings(ini, QStringLiteral("MAIN"));
    auto d = NewObject<TBT_2_Punkt_Regler>();
    d->SetNumber(1);
    d->LoadSettings(ini, QStringLiteral("MAIN"), false);
    EXPECT_TRUE(d->Status);
    EXPECT_EQ(Out(*d), 5.0);
}

TEST_F(ControllersTest, PlayFollowsWithoutBandAndMovesOnlyWhenAnEdgeIsPushed)
{
    auto c = NewObject<TBT_Spiel>();
    TInputs in(*c);
    in.Set(1, 0.0L);
    for (const Extended x : {1.0L, -2.0L, 3.5L}) {
        in.Set(0, x);
        c->Calculate();
        EXPECT_EQ(Out(*c), static_cast<double>(x));
    }
    // Widening the band around the current centre does not move the output.
    in.Set(1, 2.0L);
    c->Calculate();
    EXPECT_EQ(Out(*c), 3.5);
    EXPECT_EQ(c->LLimit, 2.5L);
    EXPECT_EQ(c->HLimit, 4.5L);
    struct TStep {
        Extended x;
        double out;
    } const steps[] = {{4.0L, 3.5}, {3.0L, 3.5}, {5.0L, 4.0}, {4.5L, 4.0}, {2.0L, 3.0}};
    for (const TStep& s : steps) {
        in.Set(0, s.x);
        c->Calculate();
        EXPECT_EQ(Out(*c), s.out) << static_cast<double>(s.x);
    }

    QTemporaryDir dir;
    TIniFile ini(dir.filePath(QStringLiteral("state.set")));
    c->SetNumber(4);
    c->SaveSettings(ini, QStringLiteral("MAIN"));
    auto d = NewObject<TBT_Spiel>();
    d->SetNumber(4);
    d->LoadSettings(ini, QStringLiteral("MAIN"), false);
    EXPECT_EQ(d->Output, 3.0L);
    EXPECT_EQ(d->LLimit, 2.0L);
    EXPECT_EQ(d->HLimit, 4.0L);
    EXPECT_EQ(Out(*d), 3.0);
}

TEST_F(ControllersTest, DeadZoneAndProportional)
{
    struct TCase {
        Extended x, xl, xh;
        double y;
    } const cases[] = {
        {0.5L, -1, 1, 0.0}, {-1, -1, 1, 0.0},   {1, -1, 1, 0.0},    {3, -1, 1, 2.0},
        {-4, -1, 1, -3.0},  {5, 2, 2, 3.0},     {-5, 2, 2, -7.0},   {0, 3, 1, -3.0},
    };
    auto c = NewObject<TBT_Totzone>();
    TInputs in(*c);
    for (const TCase& k : cases) {
        in.Set(0, k.x).Set(1, k.xl).Set(2, k.xh);
        c->Calculate();
        EXPECT_EQ(Out(*c), k.y) << static_cast<double>(k.x) << " " << static_cast<double>(k.xl)
                                << " " << static_cast<double>(k.xh);
    }
    auto p = NewObject<TBT_P_Regler>();
    TInputs pin(*p);
    pin.Set(0, 3.0L).Set(1, 1.0L).Set(2, -2.5L);
    p->Calculate();
    EXPECT_EQ(Out(*p), -5.0);
}

} // namespace
