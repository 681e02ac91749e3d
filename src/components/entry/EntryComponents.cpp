#include "components/entry/EntryComponents.h"

#include "core/model/Translator.h"
#include "frontpanel/elements/AsciiDisplay.h"
#include "frontpanel/elements/Auswahlliste.h"
#include "frontpanel/elements/NumEingabe.h"
#include "frontpanel/elements/Setliste.h"
#include "frontpanel/elements/Tastatur.h"
#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "platform/Filer.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"
#include "widgets/ComboBox.h"

#include <algorithm>

const TComponentDescription TBTNumEingabe::Description{
    .Name = "TBTNumEingabe", .Prefix = {"NE", "NI", "EN"}, .HelpContext = 18160,
    .TypeName = {"Numerisches\rEingabefeld", "Numeric\rinput", "Entrée\rnumérique"}, .Outputs = {1},
    .OutputNames = "A", .Category = TPaletteCategory::BedienungAnalog};

const TComponentDescription TBTASCII_Display::Description{
    .Name = "TBTASCII_Display", .Prefix = {"ASCII"}, .HelpContext = 18090,
    .TypeName = {"ASCII-Display", "ASCII display", "Afficheur ASCII"}, .Inputs = {10},
    .InputNames = "D0..7 CLK /CLR", .Category = TPaletteCategory::Anzeigen};

const TComponentDescription TBTAuswahlliste::Description{
    .Name = "TBTAuswahlliste", .Prefix = {"LI"}, .HelpContext = 18125,
    .TypeName = {"Auswahlliste\rhexadezimal", "HEX selection", "Sélection HEX"},
    .Outputs = {5, 2, kMaxOutputs}, .Category = TPaletteCategory::BedienungDigital};

const TComponentDescription TBTSetliste::Description{
    .Name = "TBTSetliste", .Prefix = {"SL"}, .HelpContext = 18140,
    .TypeName = {"Setliste", "Set list", "Liste de réglages"}, .Outputs = {2}, .OutputNames = "$ i",
    .Category = TPaletteCategory::BedienungDigital};

const TComponentDescription TBTTastatur::Description{
    .Name = "TBTTastatur", .Prefix = {"KB"}, .HelpContext = 18130,
    .TypeName = {"ASCII\rEingabe", "ASCII\rInput", "Entrée\rASCII"}, .Inputs = {1}, .Outputs = {9},
    .InputNames = "/CLR", .OutputNames = "CLK D7..0", .Category = TPaletteCategory::BedienungDigital};

void SymbolText(TCanvas& canvas, int x, int y, int height, int32_t colour, const QString& text, bool bold)
{
    canvas.Font = QFont(QStringLiteral("Arial"));
    canvas.Font.setBold(bold);
    canvas.SetFontHeight(height);
    canvas.FontColor = colour;
    canvas.TransparentText = true;
    canvas.TextOut(x, y, text);
}

// --- Numeric input -------------------------------------------------------------------------------

TBTNumEingabe::TBTNumEingabe()
{
    Describe(Description);
    SetElementClass(QStringLiteral("TNumEingabe"));
}

void TBTNumEingabe::SimReset()
{
    auto* input = ElementAs<TNumEingabe>();
    if (!input)
        return;
    // Through the element's link: the handler stays harmless once this component is gone.
    input->OnSetWert = [input] {
        if (auto* owner = dynamic_cast<TBTNumEingabe*>(input->Component))
            owner->TakeValue();
    };
    input->AcceptInput();
}

void TBTNumEingabe::TakeValue()
{
    if (const auto* input = ElementAs<TNumEingabe>())
        SetOutputValue(0, input->Wert);
}

QString TBTNumEingabe::ElementText() const
{
    const auto* input = ElementAs<TNumEingabe>();
    return input ? input->EditText() : QString();
}

void TBTNumEingabe::Paint(TCanvas& canvas)
{
    TBTPanelComponent::Paint(canvas);
    const int cx = CenterX();
    const int cy = CenterY();
    canvas.Pen = TCanvasPen{MarkColor(), 1, Qt::SolidLine, TPenMode::Copy};
    canvas.Brush = TCanvasBrush{clBlack, Qt::SolidPattern};
    canvas.Rectangle(cx - 36, cy - 30, cx + 36, cy + 2);
    if (ShowStates)
        SymbolText(canvas, cx - 32, cy - 30, 30, clLime, ElementText().left(5), false);
    else
        SymbolText(canvas, cx - 32, cy - 30, 30, clSilver, QStringLiteral("1.234"), false);
}

void TBTNumEingabe::PaintPinStates(TCanvas& canvas)
{
    RefreshSymbol(canvas, LastText, ElementText());
}

// --- Character display ---------------------------------------------------------------------------

TBTASCII_Display::TBTASCII_Display()
{
    Describe(Description);
    SetElementClass(QStringLiteral("TASCII_Display"));
}

void TBTASCII_Display::Calculate()
{
    const bool clk = GetInputDigital(8);
    if (!GetInputDigital(9)) {
        if (auto* display = ElementAs<TASCII_Display>())
            display->ClearText();
        Latched = 0;
        LastClk = clk;
        return;
    }
    if (clk == LastClk)
        return;
    LastClk = clk;
    if (clk) {
        int code = 0;
        for (int i = 0; i < 8; ++i)
            code |= GetInputDigital(i) ? 1 << i : 0;
        Latched = uint8_t(code);
    } else if (Latched != 0) {
        if (auto* display = ElementAs<TASCII_Display>())
            display->PutChar(Latched);
    }
}

void TBTASCII_Display::SimReset()
{
    if (auto* display = ElementAs<TASCII_Display>())
        display->ClearText();
    Latched = 0;
    LastClk = false;
}

void TBTASCII_Display::Paint(TCanvas& canvas)
{
    TBTPanelComponent::Paint(canvas);
    const int cx = CenterX();
    const int cy = CenterY();
    canvas.Pen = TCanvasPen{MarkColor(), 2, Qt::SolidLine, TPenMode::Copy};
    canvas.Brush = TCanvasBrush{Selected ? clRed : clGray, Qt::SolidPattern};
    canvas.Rectangle(cx - 35, cy - 27, cx + 35, cy + 5);
    SymbolText(canvas, cx - 25, cy - 27, 32, clSilver, QStringLiteral("TXT"), true);
}

// --- Selection list ------------------------------------------------------------------------------

TBTAuswahlliste::TBTAuswahlliste()
{
    Describe(Description);
    SetElementClass(QStringLiteral("TAuswahlliste"));
    Editable = true;
}

int TBTAuswahlliste::ItemCount() const
{
    const auto* list = ElementAs<TAuswahlliste>();
    return list ? list->Count() : 0;
}

void TBTAuswahlliste::AdjustOutputs()
{
    if (AnalogMode())
        return;
    int outputs = 3;
    while (outputs < kMaxOutputs && int64_t(ItemCount()) > (int64_t(1) << (outputs - 1)))
        ++outputs;
    SetOutputCount(outputs);
}

void TBTAuswahlliste::NameOutputs()
{
    const int n = OutputCount;
    if (n == 0)
        return;
    Outputs[0]->SetName(QStringLiteral("$"));
    if (n == 2) {
        Outputs[1]->SetName(QStringLiteral("Z"));
        return;
    }
    for (int k = 1; k < n; ++k)
        Outputs[size_t(k)]->SetName(QStringLiteral("D") + QString::number(n - k - 1));
}

void TBTAuswahlliste::CheckStoredPins(int32_t inputs, int32_t outputs) const
{
    TReader::CheckCount(inputs, 0, 0, "InputCount");
    TReader::CheckCount(outputs, 2, kMaxOutputs, "OutputCount");
}

void TBTAuswahlliste::SetLink(TFP_Element* element)
{
    TBTPanelComponent::SetLink(element);
    if (auto* list = dynamic_cast<TAuswahlliste*>(element)) {
        list->OnItemsChanged = [list] {
            if (auto* owner = dynamic_cast<TBTAuswahlliste*>(list->Component))
                owner->AdjustOutputs();
        };
    }
}

void TBTAuswahlliste::Calculate()
{
    const auto* list = ElementAs<TAuswahlliste>();
    if (!list)
        return;
    const int i = list->Auswahl;
    if (i == LastIndex)
        return;
    SetOutputText(0, list->ShownText());
    if (AnalogMode()) {
        SetOutputValue(1, i);
    } else {
        const int n = OutputCount;
        for (int k = 0; k <= n - 2; ++k)
            SetOutputDigital(n - 1 - k, k < 32 && ((uint32_t(i) >> k) & 1u));
    }
    LastIndex = i;
}

void TBTAuswahlliste::SimReset()
{
    if (auto* list = ElementAs<TAuswahlliste>()) {
        list->Liste->setMaxVisibleItems(std::max(1, list->Count()));
        SetOutputText(0, list->ShownText());
    }
    LastIndex = -1;
}

int TBTAuswahlliste::EditProperties()
{
    TDefault_Dlg& dlg = Default_Dlg();
    dlg.setWindowTitle(GetTypeName().replace(QLatin1Char('\r'), QLatin1Char(' ')));
    dlg.HelpContext = 18125;
    int32_t mode = AnalogMode() ? 1 : 0;
    dlg.PropScrollbox->AddComboProp(Translate(QStringLiteral("Ausgang")), mode,
                                    {Translate(QStringLiteral("Digital")), Translate(QStringLiteral("Analog"))},
                                    120);
    const int result = dlg.ExecuteWithOptions(*this);
    if (result == 1) {
        if (mode == 1) {
            SetOutputCount(2);
        } else {
            if (AnalogMode())
                SetOutputCount(3);
            AdjustOutputs();
        }
    }
    return result;
}

void TBTAuswahlliste::Paint(TCanvas& canvas)
{
    TBTPanelComponent::Paint(canvas);
    const int cx = CenterX();
    const int cy = CenterY();
    canvas.Pen = TCanvasPen{MarkColor(), 2, Qt::SolidLine, TPenMode::Copy};
    canvas.Brush = TCanvasBrush{Selected ? clRed : clGray, Qt::SolidPattern};
    canvas.Rectangle(cx - 26, cy - 31, cx + 26, cy + 31);
    canvas.Pen = TCanvasPen{clSilver, 4, Qt::SolidLine, TPenMode::Copy};
    canvas.MoveTo(cx - 20, cy - 16);
    canvas.LineTo(cx, cy + 4);
    canvas.LineTo(cx + 20, cy - 16);
    canvas.Font = QFont(QStringLiteral("Arial"));
    canvas.Font.setBold(true);
    canvas.SetFontHeight(32);
    const QString hex = QStringLiteral("HEX");
    SymbolText(canvas, cx - canvas.TextWidth(hex) / 2, cy + 34, 32, clGray, hex, true);
}

// --- Settings list -------------------------------------------------------------------------------

TBTSetliste::TBTSetliste()
{
    Describe(Description);
    SetElementClass(QStringLiteral("TSetliste"));
}

void TBTSetliste::SimPrepare()
{
    TBTPanelComponent::SimPrepare();
    if (auto* list = ElementAs<TSetliste>())
        list->FillList();
}

void TBTSetliste::Calculate()
{
    const auto* list = ElementAs<TSetliste>();
    if (!list)
        return;
    const int i = list->ItemIndex();
    SetOutputValue(1, i);
    SetOutputText(0, i < 0 ? QString() : list->Liste->item(i)->text());
}

void TBTSetliste::Paint(TCanvas& canvas)
{
    TBTPanelComponent::Paint(canvas);
    canvas.Font = QFont(QStringLiteral("Arial"));
    canvas.Font.setBold(true);
    canvas.SetFontHeight(32);
    const QString set = QStringLiteral("SET");
    SymbolText(canvas, CenterX() - canvas.TextWidth(set) / 2, CenterY() - canvas.TextHeight(set) / 2, 32,
               clGray, set, true);
}

// --- Keyboard ------------------------------------------------------------------------------------

TBTTastatur::TBTTastatur()
{
    Describe(Description);
    SetElementClass(QStringLiteral("TTastatur"));
}

void TBTTastatur::Calculate()
{
    auto* keyboard = ElementAs<TTastatur>();
    if (!keyboard)
        return;
    const uint8_t c = keyboard->Zeichen;
    for (int k = 0; k < 8; ++k)
        SetOutputDigital(8 - k, (c >> k) & 1);
    SetOutputDigital(0, keyboard->Gedrueckt);
    const bool clr = GetInputDigital(0);
    if (!clr && LastClr)
        keyboard->ClearText();
    LastClr = clr;
}

void TBTTastatur::SimReset()
{
    LastClr = true;
}

void TBTTastatur::Paint(TCanvas& canvas)
{
    TBTPanelComponent::Paint(canvas);
    const int cx = CenterX();
    const int cy = CenterY();
    canvas.Pen = TCanvasPen{MarkColor(), 1, Qt::SolidLine, TPenMode::Copy};
    canvas.Brush = TCanvasBrush{Selected ? clRed : clWhite, Qt::SolidPattern};
    canvas.Rectangle(cx - 50, cy - 20, cx + 50, cy + 20);
    canvas.Font = QFont(QStringLiteral("Arial"));
    canvas.Font.setBold(true);
    canvas.SetFontHeight(32);
    const QString ascii = QStringLiteral("ASCII");
    SymbolText(canvas, cx - canvas.TextWidth(ascii) / 2, cy - canvas.TextHeight(ascii) / 2, 32, clGray,
               ascii, true);
}
