#include "components/panel/Switches.h"

#include "frontpanel/elements/Schalter.h"
#include "platform/Canvas.h"
#include "platform/Colors.h"

// --- Descriptions ---------------------------------------------------------------------------

const TComponentDescription TBTTaster::Description{
    .Name = "TBTTaster", .Prefix = {"T", "PB", "BP"}, .HelpContext = 18105,
    .TypeName = {"Taster\rlogisch", "Push button", "Boutton-poussoir"}, .Outputs = {1},
    .OutputNames = "-", .Category = TPaletteCategory::BedienungDigital};

const TComponentDescription TBTSchalter::Description{
    .Name = "TBTSchalter", .Prefix = {"S", "SW", "IN"}, .HelpContext = 18100,
    .TypeName = {"Schalter\rlogisch", "Switch", "Interrupteur"}, .Outputs = {1},
    .OutputNames = "-", .Category = TPaletteCategory::BedienungDigital};

const TComponentDescription TBTAnalogTaster::Description{
    .Name = "TBTAnalogTaster", .Prefix = {"TB", "PBB", "BP"}, .HelpContext = 18165,
    .TypeName = {"Taster\r2 Eingänge", "Push button\r2 inputs", "Bouton-poussoir\r2 Entrées"},
    .Inputs = {2}, .Outputs = {1}, .InputNames = "E0 E1", .OutputNames = "-",
    .Category = TPaletteCategory::BedienungAnalog};

const TComponentDescription TBTAnalogSchalter::Description{
    .Name = "TBTAnalogSchalter", .Prefix = {"SB", "SWB", "CM"}, .HelpContext = 18165,
    .TypeName = {"Schalter\r2 Eingänge", "Switch\r2 inputs", "Commutateur\r2 Entrées"},
    .Inputs = {2}, .Outputs = {1}, .InputNames = "E0 E1", .OutputNames = "-",
    .Category = TPaletteCategory::BedienungAnalog};

const TComponentDescription TBTAnalogTaster2::Description{
    .Name = "TBTAnalogTaster2", .Prefix = {"TA", "PBA", "PBA"}, .HelpContext = 18170,
    .TypeName = {"Taster\r2 Ausgänge", "Push button\r2 outputs", "Bouton-poussoir\r2 Sorties"},
    .Inputs = {1}, .Outputs = {2}, .InputNames = "-", .OutputNames = "A1 A0",
    .Category = TPaletteCategory::BedienungAnalog};

const TComponentDescription TBTAnalogSchalter2::Description{
    .Name = "TBTAnalogSchalter2", .Prefix = {"SA", "SWA", "INA"}, .HelpContext = 18170,
    .TypeName = {"Schalter\r2 Ausgänge", "Switch\r2 outputs", "Interrupteur\r2 Sorties"},
    .Inputs = {1}, .Outputs = {2}, .InputNames = "-", .OutputNames = "A1 A0",
    .Category = TPaletteCategory::BedienungAnalog};

namespace {
const QString kSwitchElement = QStringLiteral("TSchalter");
} // namespace

TBTTaster::TBTTaster()
{
    Describe(Description);
    SetElementClass(kSwitchElement);
}

TBTSchalter::TBTSchalter()
{
    Describe(Description);
    SetElementClass(kSwitchElement);
}

TBTAnalogTaster::TBTAnalogTaster()
{
    Describe(Description);
    SetElementClass(kSwitchElement);
}

TBTAnalogSchalter::TBTAnalogSchalter()
{
    Describe(Description);
    SetElementClass(kSwitchElement);
}

TBTAnalogTaster2::TBTAnalogTaster2()
{
    Describe(Description);
    SetElementClass(kSwitchElement);
}

TBTAnalogSchalter2::TBTAnalogSchalter2()
{
    Describe(Description);
    SetElementClass(kSwitchElement);
}

// --- Shared ---------------------------------------------------------------------------------

void TBTSwitchBase::PrepareElement(TFP_Element& element)
{
    if (auto* s = dynamic_cast<TSchalter*>(&element); s && IsPushButton())
        s->SetTaster(true);
}

bool TBTSwitchBase::ReadState()
{
    auto* s = ElementAs<TSchalter>();
    return s && s->GetEingeschaltet();
}

void TBTSwitchBase::PaintPinStates(TCanvas& canvas)
{
    const auto* s = ElementAs<TSchalter>();
    RefreshSymbol(canvas, LastDrawn, bool(s && s->State()));
}

void TBTSwitchBase::UseContactPen(TCanvas& canvas, int width)
{
    canvas.Pen = TCanvasPen{MarkColor(), width, Qt::SolidLine, TPenMode::Copy};
    canvas.Brush.Style = Qt::NoBrush;
}

void TBTSwitchBase::DrawTerminal(TCanvas& canvas, int x, int y)
{
    UseContactPen(canvas);
    canvas.Ellipse(x - 6, y - 6, x + 6, y + 6);
}

void TBTSwitchBase::DrawCap(TCanvas& canvas, int x, int y, int width)
{
    const int top = y - 34;
    UseContactPen(canvas, 1);
    canvas.MoveTo(x, y);
    canvas.LineTo(x, top);
    UseContactPen(canvas);
    canvas.MoveTo(x - width / 2, top - 6);
    canvas.LineTo(x - width / 2, top);
    canvas.LineTo(x + width / 2, top);
    canvas.LineTo(x + width / 2, top - 6);
}

// --- Logic ----------------------------------------------------------------------------------

void TBTLogicSwitch::Calculate()
{
    const bool s = ReadState();
    if (s == LastOutput)
        return;
    SetOutputDigital(0, s);
    LastOutput = s;
}

void TBTLogicSwitch::SimReset()
{
    TBTSwitchBase::SimReset();
    const bool s = ReadState();
    SetOutputDigital(0, s);
    LastOutput = s;
}

void TBTLogicSwitch::Paint(TCanvas& canvas)
{
    TBTSwitchBase::Paint(canvas);
    if (Outputs.empty())
        return;
    const bool on = ShowStates ? LastDrawn : false;
    const int y = Outputs[0]->Y;
    const bool outLeft = PinOnLeft(false);
    // The terminal on the output line and the one at the opposite body edge.
    const int xOut = outLeft ? Body.Left + 14 : Body.Right - 14;
    const int xFar = outLeft ? Body.Right - 14 : Body.Left + 14;
    DrawTerminal(canvas, xOut, y);
    DrawTerminal(canvas, xFar, y);
    const int dir = xOut > xFar ? 1 : -1;
    UseContactPen(canvas);
    canvas.MoveTo(xFar + 6 * dir, y);
    const int tipX = xOut - 6 * dir;
    canvas.LineTo(tipX, on ? y : y - 18);
    if (IsPushButton())
        DrawCap(canvas, (xOut + xFar) / 2, on ? y : y - 9, 20);
}

// --- Select one of two inputs ---------------------------------------------------------------

void TBTSelectSwitch::Calculate()
{
    SetOutputValue(0, GetInputValue(ReadState() ? 1 : 0));
}

void TBTSelectSwitch::Paint(TCanvas& canvas)
{
    TBTSwitchBase::Paint(canvas);
    if (Inputs.size() < 2 || Outputs.empty())
        return;
    const bool on = ShowStates ? LastDrawn : false;
    const bool inLeft = PinOnLeft(true);
    const int xIn = inLeft ? Body.Left + 14 : Body.Right - 14;
    const int xOut = inLeft ? Body.Right - 14 : Body.Left + 14;
    const int yOut = Outputs[0]->Y;
    DrawTerminal(canvas, xIn, Inputs[0]->Y);
    DrawTerminal(canvas, xIn, Inputs[1]->Y);
    DrawTerminal(canvas, xOut, yOut);
    const int dir = xOut > xIn ? -1 : 1;
    const int yTarget = Inputs[on ? 1 : 0]->Y;
    UseContactPen(canvas);
    canvas.MoveTo(xOut + 6 * dir, yOut);
    canvas.LineTo(xIn - 6 * dir, yTarget);
    if (IsPushButton())
        DrawCap(canvas, (xIn + xOut) / 2, (yOut + yTarget) / 2, 30);
}

// --- Route the input to one of two outputs --------------------------------------------------

void TBTRouteSwitch::Calculate()
{
    const bool s = ReadState();
    const Extended v = GetInputValue(0);
    SetOutputValue(0, s ? v : 0.0L);
    SetOutputValue(1, s ? 0.0L : v);
}

void TBTRouteSwitch::Paint(TCanvas& canvas)
{
    TBTSwitchBase::Paint(canvas);
    if (Inputs.empty() || Outputs.size() < 2)
        return;
    const bool on = ShowStates ? LastDrawn : false;
    const bool inLeft = PinOnLeft(true);
    const int xIn = inLeft ? Body.Left + 14 : Body.Right - 14;
    const int xOut = inLeft ? Body.Right - 14 : Body.Left + 14;
    const int yIn = Inputs[0]->Y;
    DrawTerminal(canvas, xIn, yIn);
    DrawTerminal(canvas, xOut, Outputs[0]->Y);
    DrawTerminal(canvas, xOut, Outputs[1]->Y);
    const int dir = xOut > xIn ? 1 : -1;
    const int yTarget = Outputs[on ? 0 : 1]->Y;
    UseContactPen(canvas);
    canvas.MoveTo(xIn + 6 * dir, yIn);
    canvas.LineTo(xOut - 6 * dir, yTarget);
    if (IsPushButton())
        DrawCap(canvas, (xIn + xOut) / 2, (yIn + yTarget) / 2, 30);
}
