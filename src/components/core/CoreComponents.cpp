#include "components/core/CoreComponents.h"

#include "core/model/Translator.h"
#include "frontpanel/FrontPanel.h"
#include "frontpanel/Led.h"
#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

#include <algorithm>

std::function<void(uint32_t request)> OnActivateFrontPanelPage;

namespace {

constexpr int32_t kGrey = 8421504;

} // namespace

// --- TBTLed --------------------------------------------------------------------------------

const TComponentDescription TBTLed::Description{
    .Name = "TBTLed", .Prefix = {"LED"}, .HelpContext = 18005,
    .TypeName = {"LED", "LED", "Led"}, .Inputs = {1}, .Outputs = {0, 0, 3}, .InputNames = "-",
    .OutputNames = "S R L", .Category = TPaletteCategory::Anzeigen};

TBTLed::TBTLed()
{
    Describe(Description);
    SetElementClass(QStringLiteral("TPLed"));
    Editable = true;
}

bool TBTLed::ElementLit() const
{
    const auto* led = ElementAs<TPLED>();
    return led && led->Eingeschaltet;
}

void TBTLed::Calculate()
{
    auto* led = ElementAs<TPLED>();
    const bool v = GetInputDigital(0);
    if (v != LastInput) {
        if (led)
            led->SetEingeschaltet(v);
        LastInput = v;
    }
    if (OutputCount == 3) {
        SetOutputDigital(0, led && led->MausUeber);
        SetOutputDigital(1, led && led->MausRechts);
        SetOutputDigital(2, led && led->MausLinks);
    }
}

void TBTLed::SimReset()
{
    TBTPanelComponent::SimReset();
    if (auto* led = ElementAs<TPLED>())
        led->SetEingeschaltet(false);
    LastInput = false;
}

int TBTLed::EditProperties()
{
    TDefault_Dlg& dlg = Default_Dlg();
    dlg.setWindowTitle(GetTypeName());
    dlg.HelpContext = HelpContext;
    bool sensors = OutputCount > 0;
    dlg.PropScrollbox->AddCheckProp(Translate(QStringLiteral("Sensorausgänge")), sensors);
    const int result = dlg.Execute();
    SetOutputCount(sensors ? 3 : 0);
    return result;
}

void TBTLed::Paint(TCanvas& canvas)
{
    TBTPanelComponent::Paint(canvas);
    const int cx = CenterX();
    const int cy = CenterY() - 12;
    canvas.Pen = TCanvasPen{Selected ? clRed : SymbolColor, 2, Qt::SolidLine, TPenMode::Copy};
    const auto* led = ElementAs<TPLED>();
    const int32_t fill = (ShowStates && led) ? led->GetLEDColor() : kGrey;
    canvas.Brush = TCanvasBrush{fill, Qt::SolidPattern};
    canvas.Ellipse(cx - 10, cy - 10, cx + 11, cy + 11);
}

void TBTLed::PaintPinStates(TCanvas& canvas)
{
    const bool lit = ElementLit();
    if (lit != LastLit) {
        LastLit = lit;
        Paint(canvas);
    }
    TBTPanelComponent::PaintPinStates(canvas);
}

void TBTLed::CheckStoredPins(int32_t inputs, int32_t outputs) const
{
    TBTPanelComponent::CheckStoredPins(inputs, outputs);
    if (outputs != 0)  // sensor outputs: all three or none
        TReader::CheckCount(outputs, 3, 3, "OutputCount");
}

// --- TBTTaktgeber --------------------------------------------------------------------------

const TComponentDescription TBTTaktgeber::Description{
    .Name = "TBTTaktgeber", .Prefix = {"G"}, .HelpContext = 18270,
    .TypeName = {"Taktgenerator\r0,1s...1000s", "Pulse generator\r0,1s...1000s",
                 "Impulsion\r0,1s...1000s"},
    .Outputs = {1}, .OutputNames = "-", .Category = TPaletteCategory::Zeitgeber};

TBTTaktgeber::TBTTaktgeber()
{
    Describe(Description);
    Clocked = true;
    Editable = true;
}

void TBTTaktgeber::ClockTick()
{
    ++Count;
    // An interval lowered below the count during a run toggles at the next tick.
    if (Count >= Interval) {
        State = !State;
        Count = 0;
    }
}

void TBTTaktgeber::Calculate()
{
    SetOutputDigital(0, State);
}

void TBTTaktgeber::SimReset()
{
    TGrundBT::SimReset();
    Count = 0;
}

QString TBTTaktgeber::GetHint() const
{
    return TGrundBT::GetHint() + QStringLiteral("\rT = ") + QString::number(int64_t(Interval) * 100)
        + QStringLiteral(" ms");
}

int TBTTaktgeber::EditProperties()
{
    TDefault_Dlg& dlg = Default_Dlg();
    dlg.setWindowTitle(GetLabel());
    dlg.HelpContext = HelpContext;
    int32_t interval = Interval;
    dlg.PropScrollbox->AddSpinProp(Translate(QStringLiteral("Intervall")) + QStringLiteral(" [x100ms]"),
                                   interval, 1, 9999, 64);
    const int result = dlg.ExecuteWithOptions(*this);
    Interval = interval;
    return result;
}

void PaintClockWave(const TGrundBT& c, TCanvas& canvas)
{
    const int cx = c.CenterX();
    const int y1 = c.Body.Top + 20;
    const int y2 = c.Body.Top + 40;
    canvas.Pen = TCanvasPen{c.MarkColor(), 2, Qt::SolidLine, TPenMode::Copy};
    canvas.Polyline({{cx - 25, y1}, {cx - 20, y1}, {cx - 20, y2}, {cx - 10, y2}, {cx - 10, y1},
                     {cx, y1}, {cx, y2}, {cx + 10, y2}, {cx + 10, y1}, {cx + 20, y1},
                     {cx + 20, y2}, {cx + 25, y2}});
}

void TBTTaktgeber::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    PaintClockWave(*this, canvas);
}

void TBTTaktgeber::WriteData(TWriter& writer)
{
    TGrundBT::WriteData(writer);
    writer.WriteInteger(Interval);
}

void TBTTaktgeber::ReadData(TReader& reader, uint8_t version)
{
    TGrundBT::ReadData(reader, version);
    Interval = reader.ReadInteger();
}

// --- TBTFPActivate -------------------------------------------------------------------------

const TComponentDescription TBTFPActivate::Description{
    .Name = "TBTFPActivate", .Prefix = {"FPA"}, .HelpContext = 18580,
    .TypeName = {"Frontplatte\raktivieren/drucken", "Front Panel\rActivate/Print",
                 "Activation/Imprimer\rPanneau de contr."},
    .Inputs = {1}, .InputNames = "|CLK", .Category = TPaletteCategory::Diverses};

TBTFPActivate::TBTFPActivate()
{
    Describe(Description);
    Editable = true;
}

void TBTFPActivate::Calculate()
{
    if (!InputFell(0, LastInput))
        return;
    const auto request = static_cast<uint32_t>(Page);
    if (OnActivateFrontPanelPage)
        OnActivateFrontPanelPage(request);
    else if (TFrontplatte* panel = Frontplatte())
        panel->ActivatePageRequest(request);
}

void TBTFPActivate::SimReset()
{
    TGrundBT::SimReset();
    LastInput = false;
}

QString TBTFPActivate::GetTypeName() const
{
    switch (Ctx().CurrentLanguage) {
    case 1:
        return QStringLiteral("Front Panel\rActivate/Print");
    case 2:
        return QStringLiteral("Activation/") + Translate(QStringLiteral("Drucken"))
            + QStringLiteral("\rPanneau de contr.");
    default:
        return QStringLiteral("Frontplatte\raktivieren/drucken");
    }
}

QString TBTFPActivate::GetHint() const
{
    return TGrundBT::GetHint() + QStringLiteral("\r# ") + QString::number(Page & 4095);
}

int TBTFPActivate::EditProperties()
{
    TDefault_Dlg& dlg = Default_Dlg();
    dlg.setWindowTitle(GetTypeName());
    dlg.HelpContext = HelpContext;
    bool print = (Page & kPrintFlag) != 0;
    int32_t page = Page & 4095;
    dlg.PropScrollbox->AddSpinProp(Translate(QStringLiteral("Frontplatte")) + QStringLiteral(" #"),
                                   page, 1, 50, 64);
    dlg.PropScrollbox->AddCheckProp(Translate(QStringLiteral("Drucken")), print);
    const int result = dlg.ExecuteWithOptions(*this);
    Page = page + (print ? kPrintFlag : 0);
    return result;
}

void TBTFPActivate::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    DrawMarkText(canvas, CenterX() - 30, CenterY() - 34, 35, QStringLiteral("FPA"));
}

void TBTFPActivate::WriteData(TWriter& writer)
{
    TGrundBT::WriteData(writer);
    writer.WriteInteger(Page);
}

void TBTFPActivate::ReadData(TReader& reader, uint8_t version)
{
    TGrundBT::ReadData(reader, version);
    Page = reader.ReadInteger();
}

// --- TBTHotkey_Empfangen -------------------------------------------------------------------

std::vector<TBTHotkey_Empfangen*>& HotkeyReceivers()
{
    static std::vector<TBTHotkey_Empfangen*> receivers;
    return receivers;
}

void HotkeyReceiversKeyDown(uint16_t key, uint8_t shift)
{
    // A copy: a handler may create or free receivers.
    const std::vector<TBTHotkey_Empfangen*> receivers = HotkeyReceivers();
    for (TBTHotkey_Empfangen* r : receivers) {
        auto& list = HotkeyReceivers();
        if (std::find(list.begin(), list.end(), r) != list.end())
            r->Hotkey->KeyDown(key, shift);
    }
}

void HotkeyReceiversKeyUp(uint16_t key)
{
    const std::vector<TBTHotkey_Empfangen*> receivers = HotkeyReceivers();
    for (TBTHotkey_Empfangen* r : receivers) {
        auto& list = HotkeyReceivers();
        if (std::find(list.begin(), list.end(), r) != list.end())
            r->Hotkey->KeyUp(key);
    }
}

const TComponentDescription TBTHotkey_Empfangen::Description{
    .Name = "TBTHotkey_Empfangen", .Prefix = {"HKR"}, .HelpContext = 18865,
    .TypeName = {"Hotkey empfangen", "Receive Hotkey", "Réception\rtouche raccourci"},
    .Outputs = {1}, .OutputNames = "-", .Category = TPaletteCategory::Hotkeys};

THotkeyBlock::THotkeyBlock(const TComponentDescription& description)
    : Hotkey(std::make_unique<THotkey>())
{
    Describe(description);
    Editable = true;
}

TBTHotkey_Empfangen::TBTHotkey_Empfangen() : THotkeyBlock(Description)
{
    Hotkey->OnPress = [this](THotkey*) {
        if (OutputCount > 0)
            SetOutputDigital(0, true);
    };
    Hotkey->OnRelease = [this](THotkey*) {
        if (OutputCount > 0)
            SetOutputDigital(0, false);
    };
    HotkeyReceivers().push_back(this);
}

TBTHotkey_Empfangen::~TBTHotkey_Empfangen()
{
    Hotkey.reset();
    auto& list = HotkeyReceivers();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

int THotkeyBlock::EditProperties()
{
    TDefault_Dlg& dlg = Default_Dlg();
    dlg.setWindowTitle(GetTypeName());
    dlg.HelpContext = HelpContext;
    dlg.PropScrollbox->AddHotkeyProp(Translate(QStringLiteral("Hotkey")), *Hotkey);
    return dlg.ExecuteWithOptions(*this);
}

void THotkeyBlock::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    DrawMarkText(canvas, CenterX() - 30, CenterY() - 34, 40, QStringLiteral("Key"));
}

void THotkeyBlock::WriteData(TWriter& writer)
{
    TGrundBT::WriteData(writer);
    Hotkey->WriteData(writer);
}

void THotkeyBlock::ReadData(TReader& reader, uint8_t version)
{
    TGrundBT::ReadData(reader, version);
    Hotkey->ReadData(reader);
}

// --- TBTJump -------------------------------------------------------------------------------

const TComponentDescription TBTJump::Description{
    .Name = "TBTJump", .Prefix = {"JMP"}, .HelpContext = 18532,
    .TypeName = {"Sprung", "Jump", "Saut"}, .Inputs = {1}, .InputNames = "-",
    .Category = TPaletteCategory::Diverses};

TBTJump::TBTJump()
{
    Describe(Description);
    Editable = true;
}

void TBTJump::Calculate()
{
    JumpText = m_inputText.Of(*this, 0);
}

QString TBTJump::GetTypeName() const
{
    return Translate(QStringLiteral("Sprung"));
}

int TBTJump::EditProperties()
{
    TDefault_Dlg& dlg = Default_Dlg();
    dlg.setWindowTitle(Translate(QStringLiteral("Sprung")));
    dlg.HelpContext = HelpContext;
    QString label = GetLabel();
    dlg.PropScrollbox->AddEditProp(Translate(QStringLiteral("Name")), label, 6, 80);
    const int result = dlg.Execute();
    SetLabel(label);
    return result;
}

TRect NarrowedBounds(TRect bounds)
{
    bounds.Top += 20;
    bounds.Bottom -= 20;
    return bounds;
}

void PaintJumpArrow(TCanvas& canvas, const TIOBauteil& component)
{
    const int L = component.Body.Left;
    const int T = component.Body.Top;
    const int R = component.Body.Right;
    const int B = component.Body.Bottom;
    const int cy = (T + B) / 2;
    std::vector<QPoint> arrow{{L, T + 20}, {R - 15, T + 20}, {R, cy}, {R - 15, B - 20}, {L, B - 20}};
    if (component.Mirrored) {
        for (QPoint& p : arrow)
            p.setX(L + R - p.x());
    }
    canvas.Polygon(arrow);
    const QString label = component.GetLabel();
    const int centre = component.Mirrored ? L + (R - L + 15) / 2 : L + (R - L - 15) / 2;
    canvas.TextOut(centre - canvas.TextWidth(label) / 2, cy - 12, label);
}

TRect TBTJump::GetBounds() const
{
    return NarrowedBounds(TGrundBT::GetBounds());
}

void TBTJump::Paint(TCanvas& canvas)
{
    if (!Inputs.empty())
        DrawPin(canvas, *Inputs[0], true);
    // DrawPin left the brush in the pin's colour.
    canvas.Brush.Style = Qt::SolidPattern;
    canvas.Font.setFamily(QStringLiteral("ARIAL"));
    canvas.Font.setItalic(false);
    canvas.Font.setBold(false);
    canvas.SetFontHeight(25);
    canvas.FontColor = clBlack;
    canvas.Pen = TCanvasPen{MarkColor(), 3, Qt::SolidLine, TPenMode::Copy};
    canvas.TransparentText = true;
    PaintJumpArrow(canvas, *this);
}
