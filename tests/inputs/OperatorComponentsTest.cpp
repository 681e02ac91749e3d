// The operator components: their descriptions, the element each prepares, and the step
// against the element (output tables over runs, change caches, the thumbwheel's pulses),
// down to a value typed or turned on the element reaching the circuit in the next step.

#include "components/ComponentTestSupport.h"
#include "frontpanel/ElementTestSupport.h"

#include "components/operator/Operators.h"
#include "components/operator/RegisterOperator.h"
#include "frontpanel/elements/FPJoystick.h"
#include "frontpanel/elements/HexInput.h"
#include "frontpanel/elements/Poti.h"
#include "frontpanel/elements/Slider.h"
#include "frontpanel/elements/Thumbwheel.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QWheelEvent>

#include <memory>

namespace {

using OperatorComponentsTest = TComponentTest<RegisterOperatorComponents, true>;

// An element linked to a component as the application core links them.
template <class E>
std::unique_ptr<E> LinkNew(TIOBauteil& c)
{
    std::unique_ptr<E> e(NewElement<E>(nullptr));
    e->ElementName = c.Designator();
    c.SetLink(e.get());
    e->Component = &c;
    return e;
}

// The component's outputs 0..n-1 as a number, output 0 its highest bit.
int Bits(const TIOBauteil& c, int n)
{
    int v = 0;
    for (int i = 0; i < n; ++i)
        v = v * 2 + (c.Outputs[size_t(i)]->Value >= 2.5L ? 1 : 0);
    return v;
}

} // namespace

TEST_F(OperatorComponentsTest, DescriptionsInEveryLanguage)
{
    const struct {
        const char* cls;
        const char* prefix;
        const char* type[3];
        int outputs, help;
        QStringList outNames;
        const char* element;
        TPaletteCategory category;
    } cases[] = {
        {"TBTPoti", "PT", {"Einsteller analog\r(Potentiometer)", "Adjustor analogue\r(Potentiometer)", "Ajusteur analog.\r(Potentiomètre)"}, 1, 18150, {""}, "TPoti", TPaletteCategory::BedienungAnalog},
        {"TBTSlider", "SR", {"Einsteller analog\r(Schieber)", "Adjustor analogue\r(Slider)", "Ajusteur analog.\r(Curseur)"}, 1, 18155, {""}, "TSlider", TPaletteCategory::BedienungAnalog},
        {"TBTDPoti", "DPT", {"Einsteller digital\r(Potentiometer)", "Adjustor digital\r(Potentiometer)", "Ajusteur digital\r(Potentiomètre)"}, 8, 18110, Numbered("D", 7, 0), "TDPoti", TPaletteCategory::BedienungDigital},
        {"TBTDSlider", "DSR", {"Einsteller digital\r(Schieber)", "Slider (digital)", "Curseur (digital)"}, 8, 18115, Numbered("D", 7, 0), "TDSlider", TPaletteCategory::BedienungDigital},
        {"TBTHexInput", "HI", {"Einsteller\rhexadezimal", "HEX selector", "Sélecteur HEX"}, 5, 18120, {"D3", "D2", "D1", "D0", "$"}, "THexInput", TPaletteCategory::BedienungDigital},
        {"TBTJoyst", "JST", {"Joystick\r(virt.)", "Joystick\r(virt.)", "Joystick\r(virt.)"}, 3, 18175, {"MOV", "Y", "X"}, "TFPJoystick", TPaletteCategory::BedienungAnalog},
        {"TBTRaendel", "RDL", {"Einstellrad", "Thumbwheel", "Molette"}, 2, 18135, {"|CLK", "U/D"}, "TFPRaendel", TPaletteCategory::BedienungDigital},
    };
    for (const auto& c : cases) {
        for (int lang = 0; lang < 3; ++lang) {
            SCOPED_TRACE(std::string(c.cls) + " " + std::to_string(lang));
            Ctx().CurrentLanguage = uint8_t(lang);
            auto comp = Create(c.cls);
            ASSERT_TRUE(comp);
            EXPECT_EQ(comp->Prefix(), QString::fromLatin1(c.prefix));
            EXPECT_EQ(comp->GetTypeName(), QString::fromUtf8(c.type[lang]));
            EXPECT_EQ(comp->InputCount, 0);
            EXPECT_EQ(comp->OutputCount, c.outputs);
            EXPECT_EQ(comp->HelpContext, c.help);
            EXPECT_EQ(PinNames(comp->Outputs), c.outNames);
            EXPECT_EQ(comp->ElementClass(), QString::fromLatin1(c.element));
            EXPECT_EQ(comp->GetDescription()->Category, c.category);
            EXPECT_FALSE(comp->Editable);
        }
    }
}

TEST_F(OperatorComponentsTest, AnalogKnobAndSliderOutputChangesFromTheSentinelOn)
{
    auto knob = Create<TBTPoti>();
    auto element = LinkNew<TPoti>(*knob);
    element->MinWert = 0;
    element->MaxWert = 2e-6;
    element->SetAufloesung(200);
    element->SetStellung(1);  // exactly 1e-8
    knob->SimReset();
    knob->Outputs[0]->Value = -1;
    knob->Calculate();
    EXPECT_EQ(knob->Outputs[0]->Value, -1);  // the sentinel's value is not output
    element->SetStellung(2);
    knob->Calculate();
    EXPECT_EQ(double(knob->Outputs[0]->Value), 2e-8);

    auto slider = Create<TBTSlider>();
    auto s = LinkNew<TSlider>(*slider);
    s->SetWert(100);
    slider->SimReset();
    slider->Calculate();
    EXPECT_EQ(slider->Outputs[0]->Value, 100);
    slider->Outputs[0]->Value = -1;
    slider->Calculate();
    EXPECT_EQ(slider->Outputs[0]->Value, -1);
    // A turn of the wheel on the element reaches the circuit in the next step.
    QWheelEvent wheel(QPointF(2, 2), QPointF(2, 2), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(s.get(), &wheel);
    EXPECT_EQ(slider->Outputs[0]->Value, -1);
    slider->Calculate();
    EXPECT_EQ(slider->Outputs[0]->Value, s->GetWert());
    EXPECT_NE(slider->Outputs[0]->Value, 100);
}

TEST_F(OperatorComponentsTest, DigitalAdjustorsOutputEightBits)
{
    auto dpoti = Create<TBTDPoti>();
    auto knob = LinkNew<TPoti>(*dpoti);
    auto dslider = Create<TBTDSlider>();
    auto slider = LinkNew<TSlider>(*dslider);
    // The linked elements become digital: 0..255, the value is the position.
    EXPECT_TRUE(knob->BisteDigital);
    EXPECT_EQ(knob->MaxWert, 255);
    EXPECT_TRUE(slider->BisteDigital);
    EXPECT_EQ(slider->MaxWert, 255);

    // The knob has every value; the slider's 138 pixels give the value of the nearest pixel.
    const struct {
        int value;
        int knobBits, sliderBits;
    } steps[] = {{0, 0, 0}, {0xA5, 0xA5, 0xA4}, {255, 255, 255}, {1, 1, 2}};
    for (const auto& st : steps) {
        knob->SetWert(st.value);
        slider->SetWert(st.value);
        dpoti->Calculate();
        dslider->Calculate();
        EXPECT_EQ(Bits(*dpoti, 8), st.knobBits) << st.value;
        EXPECT_EQ(Bits(*dslider, 8), st.sliderBits) << st.value;
    }
    // A new run at the same value: the slider writes its bits again in the first step, the
    // knob does not.
    for (auto& o : dpoti->Outputs)
        o->Value = 5;
    for (auto& o : dslider->Outputs)
        o->Value = 5;
    dpoti->SimReset();
    dslider->SimReset();
    dpoti->Calculate();
    dslider->Calculate();
    EXPECT_EQ(Bits(*dpoti, 8), 255);
    EXPECT_EQ(Bits(*dslider, 8), 2);
}

TEST_F(OperatorComponentsTest, TypedValuesReachTheCircuitWithinTheRange)
{
    // A start value typed far beyond the range comes out at the range's end.
    auto dslider = Create<TBTDSlider>();
    auto slider = LinkNew<TSlider>(*dslider);
    auto knob = Create<TBTPoti>();
    auto poti = LinkNew<TPoti>(*knob);
    TScopedDialogResponder responder;
    responder.Answer([&](QDialog& d) {
        Row<TEditPropEditor>(d, 1)->Edit->setText(QStringLiteral("30000"));
        return mrOk;
    });
    responder.Answer([&](QDialog& d) {
        Row<TEditPropEditor>(d, 1)->Edit->setText(QStringLiteral("-1e300"));
        return mrOk;
    });
    slider->userEdit = true;
    poti->userEdit = true;
    EXPECT_EQ(slider->EditProperties(), mrOk);
    EXPECT_EQ(poti->EditProperties(), mrOk);
    dslider->SimReset();
    dslider->Calculate();
    knob->SimReset();
    knob->Calculate();
    EXPECT_EQ(Bits(*dslider, 8), 255);
    EXPECT_EQ(knob->Outputs[0]->Value, 0);
}

TEST_F(OperatorComponentsTest, HexSelectorOutputsBitsAndTextWithOrWithoutTheTextPin)
{
    for (int outputs : {5, 4}) {
        SCOPED_TRACE(outputs);
        auto hex = Create<TBTHexInput>();
        if (outputs == 4) {
            ASSERT_TRUE(Read(*hex, ComponentPart(0, 4, 44)));
        }
        ASSERT_EQ(hex->OutputCount, outputs);
        auto element = LinkNew<THexInput>(*hex);
        hex->SimReset();
        const struct {
            int stand;
            const char* text;
        } steps[] = {{0, "0"}, {12, "C"}, {15, "F"}, {9, "9"}};
        for (const auto& st : steps) {
            element->SetStand(st.stand);
            hex->Calculate();
            EXPECT_EQ(Bits(*hex, 4), st.stand);
            if (outputs == 5) {
                EXPECT_EQ(hex->Outputs[4]->GetPinText(), QString::fromLatin1(st.text));
            }
        }
        // Unchanged: nothing is written.
        hex->Outputs[0]->Value = 2;
        hex->Calculate();
        EXPECT_EQ(hex->Outputs[0]->Value, 2);
    }
}

TEST_F(OperatorComponentsTest, JoystickOutputsPositionAndHoldEveryStep)
{
    auto joy = Create<TBTJoyst>();
    auto stick = LinkNew<TFPJoystick>(*joy);
    stick->SetPositionValue(-100, 50);
    joy->Calculate();
    EXPECT_EQ(joy->Outputs[2]->Value, -100);
    EXPECT_EQ(joy->Outputs[1]->Value, 50);
    EXPECT_EQ(joy->Outputs[0]->Value, 0);
    stick->KnobHeld = true;
    joy->Outputs[2]->Value = 7;
    joy->Calculate();
    EXPECT_EQ(joy->Outputs[2]->Value, -100);
    EXPECT_EQ(joy->Outputs[0]->Value, 5);
}

TEST_F(OperatorComponentsTest, ThumbwheelTurnsNotchesIntoPulsesInOrder)
{
    auto rdl = Create<TBTRaendel>();
    auto wheel = LinkNew<TFPRaendel>(*rdl);
    wheel->TurnUp();  // queued before the run: dropped at its start
    rdl->SimReset();
    EXPECT_TRUE(wheel->Events.empty());
    wheel->TurnUp();
    wheel->TurnDown();
    wheel->TurnUp();
    std::string clk, dir;
    for (int step = 0; step < 40; ++step) {
        rdl->Calculate();
        clk += rdl->Outputs[0]->Value > 2.5L ? '1' : '0';
        dir += rdl->Outputs[1]->Value > 2.5L ? 'U' : 'D';
    }
    EXPECT_EQ(clk, "1111110000001111110000001111110000000000");
    EXPECT_EQ(dir.substr(0, 6), "UUUUUU");
    EXPECT_EQ(dir.substr(12, 6), "DDDDDD");
    EXPECT_EQ(dir.substr(24, 6), "UUUUUU");
    EXPECT_TRUE(wheel->Events.empty());
    // Stopping the run drops notches not yet output.
    wheel->TurnDown();
    wheel->TurnDown();
    rdl->Calculate();
    rdl->SimEnd();
    EXPECT_TRUE(wheel->Events.empty());
    EXPECT_FALSE(rdl->PulseActive);
}
