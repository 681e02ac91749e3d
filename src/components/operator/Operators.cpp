#include "components/operator/Operators.h"

#include "frontpanel/elements/FPJoystick.h"
#include "frontpanel/elements/HexInput.h"
#include "frontpanel/elements/Poti.h"
#include "frontpanel/elements/Slider.h"
#include "frontpanel/elements/Thumbwheel.h"
#include "platform/Canvas.h"
#include "platform/Colors.h"

// --- Descriptions ---------------------------------------------------------------------------

const TComponentDescription TBTPoti::Description{
    .Name = "TBTPoti", .Prefix = {"PT"}, .HelpContext = 18150,
    .TypeName = {"Einsteller analog\r(Potentiometer)", "Adjustor analogue\r(Potentiometer)",
                 "Ajusteur analog.\r(Potentiomètre)"},
    .Outputs = {1}, .OutputNames = "-", .Category = TPaletteCategory::BedienungAnalog};

const TComponentDescription TBTSlider::Description{
    .Name = "TBTSlider", .Prefix = {"SR"}, .HelpContext = 18155,
    .TypeName = {"Einsteller analog\r(Schieber)", "Adjustor analogue\r(Slider)", "Ajusteur analog.\r(Curseur)"},
    .Outputs = {1}, .OutputNames = "-", .Category = TPaletteCategory::BedienungAnalog};

const TComponentDescription TBTDPoti::Description{
    .Name = "TBTDPoti", .Prefix = {"DPT"}, .HelpContext = 18110,
    .TypeName = {"Einsteller digital\r(Potentiometer)", "Adjustor digital\r(Potentiometer)",
                 "Ajusteur digital\r(Potentiomètre)"},
    .Outputs = {8}, .OutputNames = "D7..0", .Category = TPaletteCategory::BedienungDigital};

const TComponentDescription TBTDSlider::Description{
    .Name = "TBTDSlider", .Prefix = {"DSR"}, .HelpContext = 18115,
    .TypeName = {"Einsteller digital\r(Schieber)", "Slider (digital)", "Curseur (digital)"},
    .Outputs = {8}, .OutputNames = "D7..0", .Category = TPaletteCategory::BedienungDigital};

const TComponentDescription TBTHexInput::Description{
    .Name = "TBTHexInput", .Prefix = {"HI"}, .HelpContext = 18120,
    .TypeName = {"Einsteller\rhexadezimal", "HEX selector", "Sélecteur HEX"},
    .Outputs = {5, 4, 5}, .OutputNames = "D3..0 $", .Category = TPaletteCategory::BedienungDigital};

const TComponentDescription TBTJoyst::Description{
    .Name = "TBTJoyst", .Prefix = {"JST"}, .HelpContext = 18175, .TypeName = {"Joystick\r(virt.)"},
    .Outputs = {3}, .OutputNames = "MOV Y X", .Category = TPaletteCategory::BedienungAnalog};

const TComponentDescription TBTRaendel::Description{
    .Name = "TBTRaendel", .Prefix = {"RDL"}, .HelpContext = 18135,
    .TypeName = {"Einstellrad", "Thumbwheel", "Molette"}, .Outputs = {2}, .OutputNames = "|CLK U/D",
    .Category = TPaletteCategory::BedienungDigital};

namespace {

constexpr int32_t kGrey = 0x808080;

// The joystick and thumbwheel symbol: a circle crossed by two thin lines.
void PaintCrossedCircle(TCanvas& canvas, int cx, int cy, int32_t colour)
{
    canvas.Pen = TCanvasPen{colour, 3, Qt::SolidLine, TPenMode::Copy};
    canvas.Brush = TCanvasBrush{clWhite, Qt::SolidPattern};
    canvas.Ellipse(cx - 18, cy - 18, cx + 18, cy + 18);
    canvas.Pen = TCanvasPen{colour, 1, Qt::SolidLine, TPenMode::Copy};
    canvas.MoveTo(cx - 24, cy);
    canvas.LineTo(cx + 25, cy);
    canvas.MoveTo(cx, cy - 24);
    canvas.LineTo(cx, cy + 25);
}

// A knob: a circle with a pointer to the upper right.
void PaintKnob(TCanvas& canvas, int cx, int cy, int32_t colour)
{
    canvas.Pen = TCanvasPen{colour, 2, Qt::SolidLine, TPenMode::Copy};
    canvas.Brush = TCanvasBrush{clSilver, Qt::SolidPattern};
    canvas.Ellipse(cx - 16, cy - 16, cx + 16, cy + 16);
    canvas.MoveTo(cx, cy);
    canvas.LineTo(cx + 11, cy - 11);
}

// A slider: a slot with a knob across it.
void PaintSlide(TCanvas& canvas, int cx, int cy, int32_t colour)
{
    canvas.Pen = TCanvasPen{colour, 2, Qt::SolidLine, TPenMode::Copy};
    canvas.MoveTo(cx, cy - 22);
    canvas.LineTo(cx, cy + 22);
    canvas.Brush = TCanvasBrush{clSilver, Qt::SolidPattern};
    canvas.Rectangle(cx - 12, cy - 2, cx + 12, cy + 6);
}

} // namespace

// --- Analog ---------------------------------------------------------------------------------

TBTPoti::TBTPoti()
{
    Describe(Description);
    SetElementClass(QStringLiteral("TPoti"));
}

void TBTPoti::Calculate()
{
    const auto* knob = ElementAs<TPoti>();
    if (!knob)
        return;
    const double v = double(knob->GetWert());
    if (v != LastValue) {
        SetOutputValue(0, v);
        LastValue = v;
    }
}

void TBTPoti::SimReset()
{
    LastValue = 1e-8;
}

void TBTPoti::Paint(TCanvas& canvas)
{
    TBTPanelComponent::Paint(canvas);
    PaintKnob(canvas, CenterX(), CenterY(), MarkColor());
}

TBTSlider::TBTSlider()
{
    Describe(Description);
    SetElementClass(QStringLiteral("TSlider"));
}

void TBTSlider::Calculate()
{
    const auto* slider = ElementAs<TSlider>();
    if (!slider)
        return;
    const Extended v = slider->GetWert();
    if (v != LastValue) {
        const Extended w = double(v);
        SetOutputValue(0, w);
        LastValue = w;
    }
}

void TBTSlider::SimReset()
{
    LastValue = 1e-8;
}

void TBTSlider::Paint(TCanvas& canvas)
{
    TBTPanelComponent::Paint(canvas);
    PaintSlide(canvas, CenterX(), CenterY(), MarkColor());
}

// --- Digital --------------------------------------------------------------------------------

void TBTDigitalAdjustor::Calculate()
{
    if (!Link)
        return;
    const int32_t n = int32_t(RoundHalfEven(ElementValue()));
    if (n == LastInteger)
        return;
    for (int k = 0; k < 8; ++k)
        SetOutputDigital(7 - k, (n >> k) & 1);
    LastInteger = n;
}

void TBTDigitalAdjustor::Paint(TCanvas& canvas)
{
    TBTPanelComponent::Paint(canvas);
    PaintKnob(canvas, CenterX(), CenterY(), MarkColor());
}

TBTDPoti::TBTDPoti()
{
    Describe(Description);
    SetElementClass(QStringLiteral("TDPoti"));
}

void TBTDPoti::PrepareElement(TFP_Element& element)
{
    if (auto* knob = dynamic_cast<TPoti*>(&element))
        knob->SetBisteDigital(true);
}

Extended TBTDPoti::ElementValue() const
{
    return ElementAs<TPoti>() ? ElementAs<TPoti>()->GetWert() : 0;
}

TBTDSlider::TBTDSlider()
{
    Describe(Description);
    SetElementClass(QStringLiteral("TDSlider"));
}

void TBTDSlider::PrepareElement(TFP_Element& element)
{
    if (auto* slider = dynamic_cast<TSlider*>(&element))
        slider->SetBisteDigital(true);
}

Extended TBTDSlider::ElementValue() const
{
    return ElementAs<TSlider>() ? ElementAs<TSlider>()->GetWert() : 0;
}

void TBTDSlider::SimReset()
{
    LastInteger = -1;
}

void TBTDSlider::Paint(TCanvas& canvas)
{
    TBTPanelComponent::Paint(canvas);
    PaintSlide(canvas, CenterX(), CenterY(), MarkColor());
}

// --- Hex selector ---------------------------------------------------------------------------

TBTHexInput::TBTHexInput()
{
    Describe(Description);
    SetElementClass(QStringLiteral("THexInput"));
}

void TBTHexInput::Calculate()
{
    const auto* hex = ElementAs<THexInput>();
    if (!hex || hex->Stand == LastInteger)
        return;
    const int32_t n = hex->Stand;
    if (OutputCount > 4)
        SetOutputText(4, QString::number(n, 16).toUpper());
    for (int k = 0; k < 4; ++k)
        SetOutputDigital(3 - k, (n >> k) & 1);
    LastInteger = n;
}

void TBTHexInput::SimReset()
{
    LastInteger = -1;
}

void TBTHexInput::Paint(TCanvas& canvas)
{
    TBTPanelComponent::Paint(canvas);
    const int cx = CenterX();
    const int cy = CenterY();
    BodyPen(canvas, MarkColor(), Selected ? clRed : kGrey);
    canvas.Rectangle(cx - 26, cy - 31, cx + 26, cy + 31);
    const auto* hex = ElementAs<THexInput>();
    if (ShowStates && hex)
        CentredText(canvas, cx, cy, 64, 0x00FF00, QString(hex->Zeichen));
    else
        CentredText(canvas, cx, cy, 64, clSilver, QStringLiteral("F"));
    CentredText(canvas, cx, cy - 44, 24, kGrey, QStringLiteral("HEX"));
    BodyPen(canvas, MarkColor(), clSilver, 1);
    canvas.Rectangle(cx - 22, cy + 35, cx - 4, cy + 43);
    canvas.Rectangle(cx + 4, cy + 35, cx + 22, cy + 43);
}

void TBTHexInput::PaintPinStates(TCanvas& canvas)
{
    const auto* hex = ElementAs<THexInput>();
    RefreshSymbol(canvas, DrawnChar, hex ? hex->Zeichen : QChar());
}

// --- Joystick -------------------------------------------------------------------------------

TBTJoyst::TBTJoyst()
{
    Describe(Description);
    SetElementClass(QStringLiteral("TFPJoystick"));
}

void TBTJoyst::Calculate()
{
    auto* stick = ElementAs<TFPJoystick>();
    if (!stick)
        return;
    const QPoint p = stick->GetPosition();
    SetOutputValue(2, p.x());
    SetOutputValue(1, p.y());
    SetOutputDigital(0, stick->KnobHeld);
}

void TBTJoyst::Paint(TCanvas& canvas)
{
    TBTPanelComponent::Paint(canvas);
    PaintCrossedCircle(canvas, CenterX(), CenterY(), MarkColor());
}

// --- Thumbwheel -----------------------------------------------------------------------------

TBTRaendel::TBTRaendel()
{
    Describe(Description);
    SetElementClass(QStringLiteral("TFPRaendel"));
}

void TBTRaendel::Calculate()
{
    auto* wheel = ElementAs<TFPRaendel>();
    if (!wheel)
        return;
    if (Countdown > 0) {
        --Countdown;
        return;
    }
    if (PulseActive) {
        if (!wheel->Events.empty())
            wheel->Events.pop_front();
        SetOutputDigital(0, false);
        PulseActive = false;
    } else {
        if (wheel->Events.empty())
            return;
        SetOutputDigital(0, true);
        SetOutputDigital(1, wheel->Events.front());
        PulseActive = true;
    }
    Countdown = 5;
}

void TBTRaendel::SimReset()
{
    PulseActive = false;
    Countdown = 0;
    if (auto* wheel = ElementAs<TFPRaendel>())
        wheel->Events.clear();
}

void TBTRaendel::Paint(TCanvas& canvas)
{
    TBTPanelComponent::Paint(canvas);
    PaintCrossedCircle(canvas, CenterX(), CenterY(), MarkColor());
}
