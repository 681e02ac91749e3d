// Core small components: LED, slow clock, page switch, hotkey receiver and named jump.
#include "ComponentTestSupport.h"
#include "core/board/Platine.h"
#include "components/core/CoreComponents.h"
#include "components/core/RegisterCore.h"
#include "core/model/ClassRegistry.h"
#include "core/model/Translator.h"
#include "frontpanel/Led.h"
#include "platform/Canvas.h"
#include "platform/Clock.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"
#include "ui/Formats.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QSpinBox>
#include <memory>
#include <vector>

namespace {

class CoreComponentsTest : public TComponentTest<RegisterCoreComponents, true> {
protected:
    void SetUp() override
    {
        TComponentTest::SetUp();
        OnActivateFrontPanelPage = nullptr;
    }
    void TearDown() override
    {
        OnActivateFrontPanelPage = nullptr;
        TComponentTest::TearDown();
    }
};

// A driver output standing for the net at a component's input.
struct TDriver {
    TBauteilPin pin;
    void Attach(TIOBauteil& c, int input = 0) { c.Inputs[size_t(input)]->SetSource(&pin); }
    void Set(bool high) { pin.Value.SetDigital(high); }
};

TEST_F(CoreComponentsTest, ClassesPinsAndSettings)
{
    struct Case {
        const char* className;
        const char* prefix;
        int helpContext;
        std::vector<const char*> inputs;
        std::vector<const char*> outputs;
        bool clocked;
    };
    const Case cases[] = {
        {"TBTLed", "LED", 18005, {""}, {}, false},
        {"TBTTaktgeber", "G", 18270, {}, {""}, true},
        {"TBTFPActivate", "FPA", 18580, {"|CLK"}, {}, false},
        {"TBTHotkey_Empfangen", "HKR", 18865, {}, {""}, false},
        {"TBTJump", "JMP", 18532, {""}, {}, false},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.className);
        std::unique_ptr<TBauteil> item = registry.CreateBoardItem(QString::fromLatin1(k.className));
        auto* c = dynamic_cast<TIOBauteil*>(item.get());
        ASSERT_NE(c, nullptr);
        EXPECT_STREQ(c->ClassName(), k.className);
        EXPECT_EQ(c->Prefix(), QString::fromLatin1(k.prefix));
        EXPECT_EQ(c->HelpContext, k.helpContext);
        EXPECT_TRUE(c->Editable);
        EXPECT_EQ(c->Clocked, k.clocked);
        ASSERT_EQ(c->Inputs.size(), k.inputs.size());
        for (size_t i = 0; i < k.inputs.size(); ++i)
            EXPECT_EQ(c->Inputs[i]->Name(), QString::fromLatin1(k.inputs[i]));
        ASSERT_EQ(c->Outputs.size(), k.outputs.size());
        for (size_t i = 0; i < k.outputs.size(); ++i)
            EXPECT_EQ(c->Outputs[i]->Name(), QString::fromLatin1(k.outputs[i]));
    }
    auto led = Create<TBTLed>();
    EXPECT_EQ(led->ElementClass(), QStringLiteral("TPLed"));
}

TEST_F(CoreComponentsTest, TypeNamesInThreeLanguages)
{
    struct Case {
        const char* className;
        const char* de;
        const char* en;
        const char* fr;
    };
    const Case cases[] = {
        {"TBTLed", "LED", "LED", "Led"},
        {"TBTTaktgeber", "Taktgenerator\r0,1s...1000s", "Pulse generator\r0,1s...1000s",
         "Impulsion\r0,1s...1000s"},
        {"TBTFPActivate", "Frontplatte\raktivieren/drucken", "Front Panel\rActivate/Print", nullptr},
        {"TBTHotkey_Empfangen", "Hotkey empfangen", "Receive Hotkey", "Réception\rtouche raccourci"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.className);
        std::unique_ptr<TBauteil> item = registry.CreateBoardItem(QString::fromLatin1(k.className));
        auto* c = dynamic_cast<TIOBauteil*>(item.get());
        const char* texts[] = {k.de, k.en, k.fr};
        for (uint8_t lang = 0; lang < 3; ++lang) {
            Ctx().CurrentLanguage = lang;
            if (texts[lang]) {
                EXPECT_EQ(c->GetTypeName(), QString::fromUtf8(texts[lang])) << int(lang);
            }
        }
        Ctx().CurrentLanguage = 0;
    }
    Ctx().CurrentLanguage = 2;
    auto fpa = Create<TBTFPActivate>();
    EXPECT_TRUE(fpa->GetTypeName().startsWith(QStringLiteral("Activation/")));
    EXPECT_TRUE(fpa->GetTypeName().endsWith(QStringLiteral("\rPanneau de contr.")));
    // A new jump is labelled with its translated type name.
    Ctx().CurrentLanguage = 0;
    auto jump = Create<TBTJump>();
    EXPECT_EQ(jump->GetTypeName(), QStringLiteral("Sprung"));
    EXPECT_EQ(jump->GetLabel(), QStringLiteral("Sprung"));
}

TEST_F(CoreComponentsTest, LedDrivesItsElementAndReportsTheMouse)
{
    TPLED element;
    auto led = Create<TBTLed>();
    led->SetLink(&element);
    TDriver in;
    in.Attach(*led);
    led->SimReset();

    // Input level per step -> element state after the step.
    const struct { bool input; bool lit; } steps[] = {
        {true, true}, {true, true}, {false, false}, {true, true}, {false, false},
    };
    for (const auto& s : steps) {
        in.Set(s.input);
        led->Calculate();
        EXPECT_EQ(element.Eingeschaltet, s.lit);
        EXPECT_EQ(led->LastInput, s.input);
    }
    // A reset switches the element off; an unconnected input then lights it in the first step.
    in.Set(true);
    led->Calculate();
    led->SimReset();
    EXPECT_FALSE(element.Eingeschaltet);
    EXPECT_FALSE(led->LastInput);
    led->Inputs[0]->SetSource(nullptr);
    led->Calculate();
    EXPECT_TRUE(element.Eingeschaltet);

    // Sensor outputs S, R, L follow pointer-over, right and left button.
    led->SetOutputCount(3);
    ASSERT_EQ(led->Outputs.size(), 3u);
    EXPECT_EQ(led->Outputs[0]->Name(), QStringLiteral("S"));
    EXPECT_EQ(led->Outputs[1]->Name(), QStringLiteral("R"));
    EXPECT_EQ(led->Outputs[2]->Name(), QStringLiteral("L"));
    const struct { bool over, right, left; } mouse[] = {
        {true, false, false}, {true, true, false}, {false, false, true}, {false, false, false},
    };
    for (const auto& m : mouse) {
        element.MausUeber = m.over;
        element.MausRechts = m.right;
        element.MausLinks = m.left;
        led->Calculate();
        EXPECT_EQ(led->Outputs[0]->Value.High(), m.over);
        EXPECT_EQ(led->Outputs[1]->Value.High(), m.right);
        EXPECT_EQ(led->Outputs[2]->Value.High(), m.left);
    }
    led->SetLink(nullptr);
}

TEST_F(CoreComponentsTest, LedDialogAddsAndRemovesSensorOutputs)
{
    auto led = Create<TBTLed>();
    const struct { bool check; int answer; int outputs; } steps[] = {
        {true, mrCancel, 0}, {true, mrOk, 3}, {true, mrOk, 3}, {false, mrCancel, 3}, {false, mrOk, 0},
    };
    for (const auto& s : steps) {
        TScopedDialogResponder responder;
        responder.Answer([&](QDialog& d) {
            auto* check = d.findChild<QCheckBox*>(QStringLiteral("Check"));
            EXPECT_NE(check, nullptr);
            if (check)
                check->setChecked(s.check);
            return s.answer;
        });
        EXPECT_EQ(led->EditProperties(), s.answer);
        EXPECT_EQ(led->OutputCount, s.outputs);
        EXPECT_EQ(responder.Titles().value(0), QStringLiteral("LED"));
    }
}

TEST_F(CoreComponentsTest, SlowClockPeriodFollowsTheInterval)
{
    // Edges of the output over two seconds of 50-ms ticks on a fake clock.
    const struct { int32_t interval; int toggles; } cases[] = {{1, 40}, {2, 20}, {10, 4}, {40, 1}};
    for (const auto& k : cases) {
        SCOPED_TRACE(k.interval);
        TScopedFakeClock fake;
        auto clock = Create<TBTTaktgeber>();
        clock->Interval = k.interval;
        clock->SimReset();
        int toggles = 0;
        bool last = false;
        uint32_t nextTick = 50;
        while (fake.clock.TickCount() < 2000) {
            fake.clock.AdvanceMs(10);
            if (fake.clock.TickCount() >= nextTick) {
                nextTick += 50;
                clock->ClockTick();
            }
            clock->Calculate();
            const bool level = clock->Outputs[0]->Value.High();
            toggles += level != last ? 1 : 0;
            last = level;
        }
        EXPECT_EQ(toggles, k.toggles);
    }
}

TEST_F(CoreComponentsTest, SlowClockResetKeepsTheLevelAndCatchesUpALoweredInterval)
{
    auto clock = Create<TBTTaktgeber>();
    clock->Interval = 5;
    for (int i = 0; i < 7; ++i)
        clock->ClockTick();
    EXPECT_TRUE(clock->State);
    EXPECT_EQ(clock->Count, 2);
    clock->SimReset();
    EXPECT_TRUE(clock->State);
    EXPECT_EQ(clock->Count, 0);
    for (int i = 0; i < 4; ++i)
        clock->ClockTick();
    clock->Interval = 2;  // lowered below the count
    clock->ClockTick();
    EXPECT_FALSE(clock->State);
    EXPECT_EQ(clock->Count, 0);
    clock->Interval = 10;
    EXPECT_TRUE(clock->GetHint().endsWith(QStringLiteral("\rT = 1000 ms")));
}

TEST_F(CoreComponentsTest, SlowClockDialogSetsTheInterval)
{
    auto clock = Create<TBTTaktgeber>();
    for (int answer : {mrCancel, mrOk}) {
        TScopedDialogResponder responder;
        responder.Answer([&](QDialog& d) {
            auto* spin = d.findChild<QSpinBox*>(QStringLiteral("Spin"));
            EXPECT_NE(spin, nullptr);
            if (spin) {
                EXPECT_EQ(spin->minimum(), 1);
                EXPECT_EQ(spin->maximum(), 9999);
                spin->setValue(25);
            }
            return answer;
        });
        clock->EditProperties();
        EXPECT_EQ(clock->Interval, answer == mrOk ? 25 : 1);
    }
}

TEST_F(CoreComponentsTest, PageSwitchActsOnFallingEdgesOnly)
{
    std::vector<uint32_t> requests;
    OnActivateFrontPanelPage = [&](uint32_t r) { requests.push_back(r); };
    auto fpa = Create<TBTFPActivate>();
    fpa->Page = 3 + TBTFPActivate::kPrintFlag;
    TDriver in;
    in.Attach(*fpa);
    fpa->SimReset();
    // Input per step -> requests so far.
    const struct { bool level; size_t requests; } steps[] = {
        {false, 0}, {true, 0}, {true, 0}, {false, 1}, {false, 1}, {true, 1}, {false, 2},
    };
    for (const auto& s : steps) {
        in.Set(s.level);
        fpa->Calculate();
        EXPECT_EQ(requests.size(), s.requests);
    }
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(requests[0], 4099u);
    EXPECT_TRUE(fpa->GetHint().endsWith(QStringLiteral("\r# 3")));

    // A reset forgets the level: an input low at the start is no edge.
    in.Set(true);
    fpa->Calculate();
    fpa->SimReset();
    in.Set(false);
    fpa->Calculate();
    EXPECT_EQ(requests.size(), 2u);
}

TEST_F(CoreComponentsTest, PageSwitchDialogKeepsThePrintFlagApart)
{
    auto fpa = Create<TBTFPActivate>();
    fpa->Page = 7 + TBTFPActivate::kPrintFlag;
    const struct { int page; bool print; int answer; int32_t stored; } steps[] = {
        {3, false, mrCancel, 7 + 4096}, {3, false, mrOk, 3}, {50, true, mrOk, 50 + 4096},
    };
    for (const auto& s : steps) {
        TScopedDialogResponder responder;
        responder.Answer([&](QDialog& d) {
            auto* spin = d.findChild<QSpinBox*>(QStringLiteral("Spin"));
            auto* check = d.findChild<QCheckBox*>(QStringLiteral("Check"));
            EXPECT_TRUE(spin && check);
            if (spin && check) {
                EXPECT_EQ(spin->value(), fpa->Page & 4095);
                EXPECT_EQ(check->isChecked(), (fpa->Page & 4096) != 0);
                spin->setValue(s.page);
                check->setChecked(s.print);
            }
            return s.answer;
        });
        fpa->EditProperties();
        EXPECT_EQ(fpa->Page, s.stored);
    }
}

TEST_F(CoreComponentsTest, HotkeyReceiverFollowsItsKey)
{
    auto receiver = Create<TBTHotkey_Empfangen>();
    receiver->Hotkey->Key = 'A';
    receiver->Hotkey->ShiftState = hsCtrl;
    // Key events -> output level.
    const struct { bool down; uint16_t key; uint8_t shift; bool level; } events[] = {
        {true, 'A', 0, false}, {true, 'B', hsCtrl, false}, {true, 'A', hsCtrl, true},
        {false, 'B', 0, true}, {false, 'A', 0, false},
    };
    for (const auto& e : events) {
        if (e.down)
            HotkeyReceiversKeyDown(e.key, e.shift);
        else
            HotkeyReceiversKeyUp(e.key);
        EXPECT_EQ(receiver->Outputs[0]->Value.High(), e.level);
    }
    TBTHotkey_Empfangen* raw = receiver.get();
    auto& list = HotkeyReceivers();
    EXPECT_NE(std::find(list.begin(), list.end(), raw), list.end());
    receiver.reset();
    EXPECT_EQ(std::find(list.begin(), list.end(), raw), list.end());
    HotkeyReceiversKeyDown('A', hsCtrl);  // nothing left to reach
}

TEST_F(CoreComponentsTest, StreamRecordsRoundTrip)
{
    auto clock = Create<TBTTaktgeber>();
    clock->Interval = 123;
    auto clock2 = Create<TBTTaktgeber>();
    EXPECT_TRUE(Read(*clock2, Write(*clock)));
    EXPECT_EQ(clock2->Interval, 123);

    auto fpa = Create<TBTFPActivate>();
    fpa->Page = 3 + TBTFPActivate::kPrintFlag;
    auto fpa2 = Create<TBTFPActivate>();
    EXPECT_TRUE(Read(*fpa2, Write(*fpa)));
    EXPECT_EQ(fpa2->Page, 4099);

    auto hk = Create<TBTHotkey_Empfangen>();
    hk->Hotkey->Key = '7';
    hk->Hotkey->ShiftState = hsShift | hsAlt;
    hk->SetLabel(QStringLiteral("Start"));
    auto hk2 = Create<TBTHotkey_Empfangen>();
    EXPECT_TRUE(Read(*hk2, Write(*hk)));
    EXPECT_EQ(hk2->Hotkey->Key, '7');
    EXPECT_EQ(hk2->Hotkey->ShiftState, hsShift | hsAlt);
    EXPECT_EQ(hk2->GetLabel(), QStringLiteral("Start"));

    auto led = Create<TBTLed>();
    led->SetOutputCount(3);
    auto led2 = Create<TBTLed>();
    EXPECT_TRUE(Read(*led2, Write(*led)));
    EXPECT_EQ(led2->OutputCount, 3);

    auto jump = Create<TBTJump>();
    jump->SetLabel(QStringLiteral("J1"));
    auto jump2 = Create<TBTJump>();
    EXPECT_TRUE(Read(*jump2, Write(*jump)));
    EXPECT_EQ(jump2->GetLabel(), QStringLiteral("J1"));

    // A record with pins the class cannot have is refused.
    auto gen = Create<TBTTaktgeber>();
    gen->SetInputCount(2);
    auto gen2 = Create<TBTTaktgeber>();
    EXPECT_THROW(Read(*gen2, Write(*gen)), EFilerError);
    auto led3 = Create<TBTLed>();
    led3->SetOutputCount(2);
    EXPECT_THROW(Read(*led2, Write(*led3)), EFilerError);
}

TEST_F(CoreComponentsTest, JumpCarriesItsInputAsText)
{
    auto jump = Create<TBTJump>();
    jump->Calculate();
    EXPECT_EQ(jump->JumpText, QString());  // unconnected
    TBauteilPin source;
    jump->Inputs[0]->SetSource(&source);
    source.Value = 1.5L;
    jump->Calculate();
    EXPECT_EQ(jump->JumpText, ValueToText(1.5L));
    source.SetName(QStringLiteral("$T"));
    source.SetPinText(QStringLiteral("True"));
    jump->Calculate();
    EXPECT_EQ(jump->JumpText, QStringLiteral("True"));

    const TRect full = jump->TGrundBT::GetBounds();
    const TRect r = jump->GetBounds();
    EXPECT_EQ(r.Top, full.Top + 20);
    EXPECT_EQ(r.Bottom, full.Bottom - 20);
    EXPECT_EQ(r.Left, full.Left);

    TScopedDialogResponder responder;
    responder.Answer([](QDialog& d) {
        auto* edit = d.findChild<QLineEdit*>(QStringLiteral("Edit"));
        EXPECT_NE(edit, nullptr);
        if (edit) {
            edit->setText(QStringLiteral("PUMP"));
        }
        return mrOk;
    });
    jump->EditProperties();
    EXPECT_EQ(jump->GetLabel(), QStringLiteral("PUMP"));
    jump->Inputs[0]->SetSource(nullptr);
}

TEST_F(CoreComponentsTest, SymbolsPaint)
{
    TPLED element;
    std::vector<std::unique_ptr<TIOBauteil>> items;
    for (const char* name : {"TBTLed", "TBTTaktgeber", "TBTFPActivate", "TBTHotkey_Empfangen",
                             "TBTJump", "TBTStop", "TBTTestpunkt", "TBTRangeCheck", "TBTJumpTarget"}) {
        std::unique_ptr<TBauteil> item = registry.CreateBoardItem(QString::fromLatin1(name));
        items.emplace_back(dynamic_cast<TIOBauteil*>(item.release()));
    }
    items[0]->SetLink(&element);
    element.SetEingeschaltet(true);
    for (bool states : {false, true}) {
        Ctx().SimRunning = states;
        for (bool mirrored : {false, true}) {
            QImage image(400, 400, QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            TCanvas canvas(&painter);
            canvas.SetMapping(1.0, QPoint(0, 0));
            for (auto& c : items) {
                c->SetMirrored(mirrored);
                c->ShowStates = states;
                c->Selected = mirrored;
                c->Paint(canvas);
            }
        }
    }
    // The LED symbol noted the lit element.
    EXPECT_TRUE(static_cast<TBTLed*>(items[0].get())->LastLit);
    items[0]->SetLink(nullptr);
}

} // namespace
