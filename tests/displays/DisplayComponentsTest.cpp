// The display components against their elements: descriptions, what a step pushes into the
// element for the inputs, what the reset leaves, the counter's edges and output, and the text
// display's texts in its record and dialog.

#include "components/ComponentTestSupport.h"

#include "components/display/Displays.h"
#include "components/display/RegisterDisplay.h"
#include "frontpanel/Led.h"
#include "frontpanel/elements/Bars.h"
#include "frontpanel/elements/Counter.h"
#include "frontpanel/elements/HexDisplay.h"
#include "frontpanel/elements/Meter.h"
#include "frontpanel/elements/NumDisplay.h"
#include "frontpanel/elements/SevenSegment.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"
#include "widgets/LED.h"
#include "widgets/LEDLabel.h"

#include <QLineEdit>

#include <memory>

namespace {

using DisplayComponentsTest = TComponentTest<RegisterDisplayComponents, true>;

// An element linked to a component as the application core links them.
template <class E>
std::unique_ptr<E> Linked(TIOBauteil& c)
{
    std::unique_ptr<E> e(NewElement<E>(nullptr));
    e->ElementName = c.Designator();
    c.SetLink(e.get());
    e->Component = &c;
    return e;
}

} // namespace

TEST_F(DisplayComponentsTest, DescriptionsInEveryLanguage)
{
    struct Case {
        const char* cls;
        const char* prefix;
        const char* type[3];
        int inputs, outputs, help;
        const char* element;
        QStringList inNames;
    } cases[] = {
        {"TBTDuoLED", "DLED", {"Duo-LED", "Duo-LED", "Led double"}, 2, 0, 18010, "TDuoLED", {"L1", "L2"}},
        {"TBTRGB_LED", "RGB", {"RGB-LED", "RGB-LED", "Led RGB"}, 3, 0, 18012, "TRGBLED", {"R", "G", "B"}},
        {"TBTZeiger", "M", {"Zeigerinstrument", "Meter", "Afficheur\ranalogique"}, 1, 0, 18055, "TMeter", {""}},
        {"TBTLedBar", "LB", {"LED-Bar", "LED bar", "Bar-Graph Led"}, 1, 0, 18020, "TLEDBAR", {""}},
        {"TBTLeuchtbalken", "LE", {"Leuchtbalken", "Luminous row", "Rampe lumineuse"}, 1, 0, 18025, "TLeuchtbalken", {""}},
        {"TBTNumDisplay", "ND", {"Numerisches\rDisplay", "Numeric display", "Afficheur\rnumérique"}, 1, 0, 18030, "TNumDisplay", {""}},
        {"TBTLEDDisplay", "LD", {"LED-Display", "LED display", "Afficheur\rnumérique LED"}, 5, 0, 18044, "TLEDDisplay", {"IN", "R", "G", "B", "EN"}},
        {"TBTCounter", "CO", {"Zähler", "Counter", "Compteur"}, 3, 1, 18050, "TCounter", {"|UP", "|DN", "/RST"}},
        {"TBTHexDisplay", "HD", {"HEX-Display", "HEX display", "Afficheur HEX"}, 4, 0, 18040, "THexDisplay", {"E0", "E1", "E2", "E3"}},
        {"TBTTextDisplay", "TD", {"Text-Display", "Text display", "Afficheur texte"}, 4, 0, 18035, "TTDisplay", {"E0", "E1", "E2", "E3"}},
        {"TBT7Segment", "7Seg", {"7-Segment-\rAnzeige", "7-Segment \rDisplay", "Afficheur \r7 segments"}, 7, 0, 18045, "T7Segment", {"a", "b", "c", "d", "e", "f", "g"}},
    };
    for (const Case& c : cases) {
        for (int lang = 0; lang < 3; ++lang) {
            SCOPED_TRACE(std::string(c.cls) + " " + std::to_string(lang));
            Ctx().CurrentLanguage = uint8_t(lang);
            auto comp = Create(c.cls);
            ASSERT_TRUE(comp);
            EXPECT_EQ(comp->Prefix(), QString::fromUtf8(c.prefix));
            EXPECT_EQ(comp->GetTypeName(), QString::fromUtf8(c.type[lang]));
            EXPECT_EQ(comp->InputCount, c.inputs);
            EXPECT_EQ(comp->OutputCount, c.outputs);
            EXPECT_EQ(comp->HelpContext, c.help);
            EXPECT_EQ(comp->ElementClass(), QString::fromLatin1(c.element));
            EXPECT_EQ(PinNames(comp->Inputs), c.inNames);
            ASSERT_TRUE(comp->GetDescription());
            EXPECT_EQ(comp->GetDescription()->Category, TPaletteCategory::Anzeigen);
        }
    }
    auto counter = Create("TBTCounter");
    counter->SetOutputCount(4);
    EXPECT_EQ(counter->OutputCount, 1);  // always one output
    EXPECT_EQ(PinNames(counter->Outputs), QStringList{"Z"});
}

TEST_F(DisplayComponentsTest, LedsShowTheirInputs)
{
    auto duo = Create("TBTDuoLED");
    auto led = Linked<TDuoLED>(*duo);
    const struct {
        int l1, l2;  // -1: unwired (reads high)
        int status;
    } cases[] = {{0, -1, 2}, {-1, -1, 3}, {5, 0, 1}, {0, 0, 0}, {5, 5, 3}};
    duo->SimReset();
    EXPECT_FALSE(led->Eingeschaltet);
    for (const auto& c : cases) {
        TInputs in(*duo);
        c.l1 < 0 ? in.Unconnect(0) : in.Set(0, c.l1);
        c.l2 < 0 ? in.Unconnect(1) : in.Set(1, c.l2);
        duo->Calculate();
        EXPECT_EQ(led->DuoLEDStatus, c.status) << c.l1 << " " << c.l2;
    }
    duo->SetLink(nullptr);

    auto rgb = Create("TBTRGB_LED");
    auto rgbLed = Linked<TRGBLED>(*rgb);
    TInputs in(*rgb);
    in.Set(0, 5).Set(1, 2.5).Set(2, -1);
    rgb->Calculate();
    EXPECT_EQ(rgbLed->RGBFarbe, 255 + 256 * 128);  // 127.5 rounds to even
    in.Set(0, 99).Set(1, 0).Set(2, 5);
    rgb->Calculate();
    EXPECT_EQ(rgbLed->RGBFarbe, 255 + 65536 * 255);
    rgb->SetLink(nullptr);
}

TEST_F(DisplayComponentsTest, MeterAndBarsResetAndFollowChanges)
{
    auto meter = Create("TBTZeiger");
    auto m = Linked<TMeter>(*meter);
    m->SetMTraegheit(0);
    m->SetMWert(50);
    meter->SimReset();
    EXPECT_EQ(m->MWert, 0.0);  // -1e8 clamped to the left end
    TInputs in(*meter);
    in.Set(0, -1e8);
    m->SetMWert(30);  // the element moved by other means: a cached input is not pushed again
    meter->Calculate();
    EXPECT_EQ(m->MWert, 30.0);
    in.Set(0, 70);
    meter->Calculate();
    EXPECT_EQ(m->MWert, 70.0);
    meter->SetLink(nullptr);

    // A bar with a long fall time is empty at once at the reset; its settings stay.
    auto ledBar = Create("TBTLedBar");
    auto bar = Linked<TLEDBAR>(*ledBar);
    bar->SetLEDDecay(0);
    bar->SetWert(100);
    bar->SetLEDDecay(1000);
    ledBar->SimReset();
    EXPECT_EQ(bar->LitCount(), 0);
    EXPECT_EQ(bar->LEDDecay, 1000);
    EXPECT_TRUE(bar->LEDPeakHold);
    TInputs barIn(*ledBar);
    barIn.Set(0, 55);
    ledBar->Calculate();
    EXPECT_EQ(bar->LitCount(), 6);  // rises at once (attack 0)
    ledBar->SetLink(nullptr);

    auto light = Create("TBTLeuchtbalken");
    auto lb = Linked<TLeuchtbalken>(*light);
    lb->SetLEDDecay(0);
    lb->SetWert(100);
    lb->SetLEDDecay(1000);
    light->SimReset();
    EXPECT_EQ(lb->CurrentPos, lb->PercentToPixel(0));
    EXPECT_EQ(lb->LEDDecay, 1000);
    light->SetLink(nullptr);
}

TEST_F(DisplayComponentsTest, NumericDisplaysShowValueOrText)
{
    auto nd = Create("TBTNumDisplay");
    auto d = Linked<TNumDisplay>(*nd);
    TInputs in(*nd);
    in.Set(0, 3.25);
    nd->Calculate();
    EXPECT_EQ(d->NDValue, 3.25);
    nd->SimReset();
    EXPECT_EQ(d->NDValue, 0.0);
    // Unformatted: the pin's text, also from a number pin.
    d->Zahlenformat.Options = TFormatOptions{TFormatOption::Unformatted};
    nd->Calculate();
    EXPECT_EQ(d->NDUserText, nd->GetInputText(0));
    EXPECT_FALSE(d->NDUserText.isEmpty());
    EXPECT_EQ(d->NDValue, 0.0);
    nd->SetLink(nullptr);

    // LED display: colour from R, G, B; EN switches; unwired inputs light white and on.
    auto ld = Create("TBTLEDDisplay");
    auto led = Linked<TLEDDisplay>(*ld);
    ld->Calculate();
    EXPECT_EQ(led->LedLabel->LED().ActiveColor(), 0xFFFFFF);
    EXPECT_TRUE(led->NDEingeschaltet);
    TInputs lin(*ld);
    lin.Set(0, 7).Set(1, 5).Set(2, 0).Set(3, 2.5).Set(4, 0);
    ld->Calculate();
    EXPECT_EQ(led->LedLabel->LED().ActiveColor(), 255 + 65536 * 128);
    EXPECT_FALSE(led->NDEingeschaltet);
    EXPECT_EQ(led->NDValue, 7.0);
    // Read with fewer inputs: the missing ones count as unwired.
    ld->SetInputCount(1);
    ld->Calculate();
    EXPECT_TRUE(led->NDEingeschaltet);
    EXPECT_EQ(led->LedLabel->LED().ActiveColor(), 0xFFFFFF);
    ld->SetLink(nullptr);
}

TEST_F(DisplayComponentsTest, CounterCountsFallingEdgesAndHoldsItsPresetInReset)
{
    auto co = Create("TBTCounter");
    auto counter = Linked<TCounter>(*co);
    counter->Ziffern->Vorgabe = 40;
    counter->SetCZaehlerstand(10);
    TDrivers in(*co, true);
    co->SimReset();
    EXPECT_EQ(co->Outputs[0]->Value, 10.0L);
    // Steps of (UP, DN, /RST) and the count after each.
    const struct {
        bool up, dn, run;
        int count;
    } steps[] = {
        {true, true, true, 10},    // the first step: levels as they are, no edge from the reset
        {false, true, true, 11},   // falling UP
        {true, true, true, 11},
        {false, false, true, 11},  // UP and DN in the same step: up and down again
        {true, true, true, 11},
        {true, false, true, 10},   // falling DN
        {false, true, false, 40},  // reset low: the preset, edges do not count
        {true, true, false, 40},
        {false, true, false, 40},
        {false, true, true, 40},   // released with UP already low: no edge
        {true, true, true, 40},
        {false, true, true, 41},
    };
    int k = 0;
    for (const auto& s : steps) {
        in.Set(0, s.up);
        in.Set(1, s.dn);
        in.Set(2, s.run);
        co->Calculate();
        EXPECT_EQ(counter->GetCZaehlerstand(), s.count) << "step " << k;
        EXPECT_EQ(co->Outputs[0]->Value, Extended(s.count)) << "step " << k;
        ++k;
    }
    co->SetLink(nullptr);
}

TEST_F(DisplayComponentsTest, HexTextAndSevenSegmentDigits)
{
    auto hd = Create("TBTHexDisplay");
    auto hex = Linked<THexDisplay>(*hd);
    hd->Calculate();
    EXPECT_EQ(hex->Stand, 15);  // unwired: F
    TDrivers hin(*hd);
    hin.SetNumber(0, 4, 11);
    hd->Calculate();
    EXPECT_EQ(hex->Character(), QLatin1Char('B'));
    hd->SimReset();
    EXPECT_EQ(hex->Stand, 0);
    hd->SetLink(nullptr);

    auto td = Create<TBTTextDisplay>();
    auto text = Linked<TTDisplay>(*td);
    for (int i = 0; i < 16; ++i)
        td->Texts[size_t(i)] = QStringLiteral("T%1").arg(i);
    td->SimReset();
    EXPECT_EQ(text->NDUserText, QStringLiteral("Text"));
    td->Calculate();
    EXPECT_EQ(text->NDUserText, QStringLiteral("T15"));  // unwired
    TDrivers tin(*td);
    tin.SetNumber(0, 4, 6);
    td->Calculate();
    EXPECT_EQ(text->NDUserText, QStringLiteral("T6"));
    td->SetLink(nullptr);

    auto seg = Create<TBT7Segment>();
    auto element = Linked<T7Segment>(*seg);
    seg->SimReset();
    seg->Calculate();
    for (bool on : element->Display->Seg)
        EXPECT_TRUE(on);  // unwired inputs read high
    TDrivers sin(*seg);
    sin.SetNumber(0, 7, 0b0000110);  // b and c: the digit 1
    seg->Calculate();
    EXPECT_EQ(seg->LastCode, 0b0000110);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(element->Display->Seg[size_t(i)], i == 1 || i == 2) << i;
    seg->SimReset();
    for (bool on : element->Display->Seg)
        EXPECT_FALSE(on);
    seg->SetLink(nullptr);
}

TEST_F(DisplayComponentsTest, TextDisplayTextsInRecordAndDialog)
{
    auto a = Create<TBTTextDisplay>();
    for (int i = 0; i < 16; ++i)
        a->Texts[size_t(i)] = QString(50, QChar(u'a' + i)).replace(0, 1, QStringLiteral("ä"));
    const QByteArray data = Write(*a);
    auto b = Create<TBTTextDisplay>();
    EXPECT_TRUE(Read(*b, data));
    EXPECT_EQ(b->Texts, a->Texts);
    EXPECT_TRUE(Read(*b, data, 255));
    EXPECT_EQ(b->Texts, a->Texts);

    // The dialog keeps at most 50 characters; Cancel keeps the texts.
    for (int result : {int(mrOk), int(mrCancel)}) {
        TScopedDialogResponder responder;
        responder.Answer([&](QDialog& d) {
            auto* row = Row<TEditPropEditor>(d, 4);  // "E = 3"
            EXPECT_EQ(row->NameLabel->text(), QStringLiteral("E = 3"));
            row->Edit->setMaxLength(100);
            row->Edit->setText(QString(51, QLatin1Char('z')));
            return result;
        });
        auto c = Create<TBTTextDisplay>();
        c->Texts[3] = QStringLiteral("old");
        EXPECT_EQ(c->EditProperties(), result);
        EXPECT_EQ(c->Texts[3], result == mrOk ? QString(50, QLatin1Char('z')) : QStringLiteral("old"));
    }
}
