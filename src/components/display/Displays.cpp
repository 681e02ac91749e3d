#include "components/display/Displays.h"

#include "core/model/Translator.h"
#include "frontpanel/Led.h"
#include "frontpanel/elements/Bars.h"
#include "frontpanel/elements/Counter.h"
#include "frontpanel/elements/PanelRepaint.h"
#include "frontpanel/elements/HexDisplay.h"
#include "frontpanel/elements/Meter.h"
#include "frontpanel/elements/NumDisplay.h"
#include "frontpanel/elements/SevenSegment.h"
#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "platform/Filer.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"
#include "widgets/LED.h"
#include "widgets/LEDLabel.h"

#include <algorithm>
#include <cmath>

// --- Descriptions ---------------------------------------------------------------------------

const TComponentDescription TBTDuoLED::Description{
    .Name = "TBTDuoLED", .Prefix = {"DLED"}, .HelpContext = 18010,
    .TypeName = {"Duo-LED", "Duo-LED", "Led double"}, .Inputs = {2}, .InputNames = "L1 L2",
    .Category = TPaletteCategory::Anzeigen};

const TComponentDescription TBTRGB_LED::Description{
    .Name = "TBTRGB_LED", .Prefix = {"RGB"}, .HelpContext = 18012,
    .TypeName = {"RGB-LED", "RGB-LED", "Led RGB"}, .Inputs = {3}, .InputNames = "R G B",
    .Category = TPaletteCategory::Anzeigen};

const TComponentDescription TBTZeiger::Description{
    .Name = "TBTZeiger", .Prefix = {"M"}, .HelpContext = 18055,
    .TypeName = {"Zeigerinstrument", "Meter", "Afficheur\ranalogique"}, .Inputs = {1}, .InputNames = "-",
    .Category = TPaletteCategory::Anzeigen};

const TComponentDescription TBTLedBar::Description{
    .Name = "TBTLedBar", .Prefix = {"LB"}, .HelpContext = 18020,
    .TypeName = {"LED-Bar", "LED bar", "Bar-Graph Led"}, .Inputs = {1}, .InputNames = "-",
    .Category = TPaletteCategory::Anzeigen};

const TComponentDescription TBTLeuchtbalken::Description{
    .Name = "TBTLeuchtbalken", .Prefix = {"LE"}, .HelpContext = 18025,
    .TypeName = {"Leuchtbalken", "Luminous row", "Rampe lumineuse"}, .Inputs = {1}, .InputNames = "-",
    .Category = TPaletteCategory::Anzeigen};

const TComponentDescription TBTNumDisplay::Description{
    .Name = "TBTNumDisplay", .Prefix = {"ND"}, .HelpContext = 18030,
    .TypeName = {"Numerisches\rDisplay", "Numeric display", "Afficheur\rnumérique"}, .Inputs = {1},
    .InputNames = "-", .Category = TPaletteCategory::Anzeigen};

const TComponentDescription TBTLEDDisplay::Description{
    .Name = "TBTLEDDisplay", .Prefix = {"LD"}, .HelpContext = 18044,
    .TypeName = {"LED-Display", "LED display", "Afficheur\rnumérique LED"}, .Inputs = {5},
    .InputNames = "IN R G B EN", .Category = TPaletteCategory::Anzeigen};

const TComponentDescription TBTCounter::Description{
    .Name = "TBTCounter", .Prefix = {"CO"}, .HelpContext = 18050,
    .TypeName = {"Zähler", "Counter", "Compteur"}, .Inputs = {3}, .Outputs = {1},
    .InputNames = "|UP |DN /RST", .OutputNames = "Z", .Category = TPaletteCategory::Anzeigen};

const TComponentDescription TBTHexDisplay::Description{
    .Name = "TBTHexDisplay", .Prefix = {"HD"}, .HelpContext = 18040,
    .TypeName = {"HEX-Display", "HEX display", "Afficheur HEX"}, .Inputs = {4}, .InputNames = "E0..3",
    .Category = TPaletteCategory::Anzeigen};

const TComponentDescription TBTTextDisplay::Description{
    .Name = "TBTTextDisplay", .Prefix = {"TD"}, .HelpContext = 18035,
    .TypeName = {"Text-Display", "Text display", "Afficheur texte"}, .Inputs = {4}, .InputNames = "E0..3",
    .Category = TPaletteCategory::Anzeigen};

const TComponentDescription TBT7Segment::Description{
    .Name = "TBT7Segment", .Prefix = {"7Seg"}, .HelpContext = 18045,
    .TypeName = {"7-Segment-\rAnzeige", "7-Segment \rDisplay", "Afficheur \r7 segments"}, .Inputs = {7},
    .InputNames = "a b c d e f g", .Category = TPaletteCategory::Anzeigen};

namespace {

constexpr int32_t kGrey = 0x808080;
constexpr int32_t kGreen = 0x00FF00;

// A colour channel from a level of 0..5 V.
int Channel(Extended level)
{
    const Extended c = level / 5 * 255;
    return int(RoundHalfEven(std::isnan(double(c)) ? 0 : std::clamp<Extended>(c, 0, 255)));
}

} // namespace

const std::array<uint8_t, 3>& TLevelColour::Channels(const std::array<Extended, 3>& levels)
{
    if (!m_known || levels != m_levels) {
        for (size_t i = 0; i < 3; ++i)
            m_channels[i] = uint8_t(Channel(levels[i]));
        m_levels = levels;
        m_known = true;
    }
    return m_channels;
}

namespace {

// The number of the four inputs 0..3 read as logic, input 0 the lowest bit.
int Nibble(const TIOBauteil& c)
{
    int v = 0;
    for (int i = 0; i < 4; ++i)
        v |= c.GetInputDigital(i) ? 1 << i : 0;
    return v;
}

} // namespace

// --- Duo LED ----------------------------------------------------------------------------------

TBTDuoLED::TBTDuoLED()
{
    Describe(Description);
    SetElementClass(QStringLiteral("TDuoLED"));
}

void TBTDuoLED::Calculate()
{
    const int status = (GetInputDigital(0) ? 1 : 0) + (GetInputDigital(1) ? 2 : 0);
    if (status == LastStatus)
        return;
    if (auto* led = ElementAs<TPLED>())
        led->SetDuoLEDStatus(uint8_t(status));
    LastStatus = status;
}

void TBTDuoLED::SimReset()
{
    if (auto* led = ElementAs<TPLED>())
        led->SetEingeschaltet(false);
    LastStatus = 0;
}

void TBTDuoLED::Paint(TCanvas& canvas)
{
    TBTPanelComponent::Paint(canvas);
    const auto* led = ElementAs<TPLED>();
    BodyPen(canvas, MarkColor(), ShowStates && led ? led->GetLEDColor() : kGrey);
    canvas.Ellipse(CenterX() - 10, CenterY() - 10, CenterX() + 10, CenterY() + 10);
}

void TBTDuoLED::PaintPinStates(TCanvas& canvas)
{
    const auto* led = ElementAs<TPLED>();
    RefreshSymbol(canvas, DrawnStatus, led ? int32_t(led->DuoLEDStatus) : -1);
}

// --- RGB LED ----------------------------------------------------------------------------------

TBTRGB_LED::TBTRGB_LED()
{
    Describe(Description);
    SetElementClass(QStringLiteral("TRGBLED"));
}

void TBTRGB_LED::Calculate()
{
    if (auto* led = ElementAs<TPLED>()) {
        m_colour.Channels({GetInputValue(0), GetInputValue(1), GetInputValue(2)});
        led->SetRGBFarbe(m_colour.Colour());
    }
}

void TBTRGB_LED::Paint(TCanvas& canvas)
{
    TBTPanelComponent::Paint(canvas);
    BodyPen(canvas, MarkColor(), 128);
    canvas.Ellipse(CenterX() - 10, CenterY() - 10, CenterX() + 10, CenterY() + 10);
}

// --- One-value displays -----------------------------------------------------------------------

void TBTValueDisplay::Calculate()
{
    const Extended v = GetInputValue(0);
    if (v == LastValue)
        return;
    Push(v);
    LastValue = v;
}

void TBTValueDisplay::SimReset()
{
    LastValue = -1e8L;
    ResetElement();
}

TBTZeiger::TBTZeiger()
{
    Describe(Description);
    SetElementClass(QStringLiteral("TMeter"));
}

void TBTZeiger::Push(Extended v)
{
    if (auto* meter = ElementAs<TMeter>())
        meter->SetMWert(double(v));
}

void TBTZeiger::ResetElement()
{
    Push(-1e8L);
}

void TBTZeiger::Paint(TCanvas& canvas)
{
    TBTPanelComponent::Paint(canvas);
    const int cx = CenterX();
    const int cy = CenterY();
    BodyPen(canvas, MarkColor(), Selected ? clRed : clWhite, 1);
    canvas.Rectangle(cx - 32, cy - 20, cx + 32, cy + 20);
    canvas.Pen = TCanvasPen{clSilver, 2, Qt::SolidLine, TPenMode::Copy};
    canvas.Brush.Style = Qt::NoBrush;
    std::vector<QPoint> arc;
    for (int k = 0; k <= 10; ++k) {
        const double a = 3.14159265358979 * (0.75 + 0.05 * k);
        arc.emplace_back(cx + int(std::sin(a) * 40), cy + 30 + int(std::cos(a) * 40));
    }
    canvas.Polyline(arc);
    canvas.Pen = TCanvasPen{clRed, 2, Qt::SolidLine, TPenMode::Copy};
    canvas.MoveTo(cx, cy + 18);
    canvas.LineTo(cx + 14, cy - 14);
}

TBTLedBar::TBTLedBar()
{
    Describe(Description);
    SetElementClass(QStringLiteral("TLEDBAR"));
}

void TBTLedBar::Push(Extended v)
{
    if (auto* bar = ElementAs<TLEDBAR>())
        bar->SetWert(v);
}

void TBTLedBar::ResetElement()
{
    auto* bar = ElementAs<TLEDBAR>();
    if (!bar)
        return;
    // Without the delays, so that the bar empties at once.
    const int attack = bar->LEDAttack;
    const int decay = bar->LEDDecay;
    const bool peak = bar->LEDPeakHold;
    bar->SetLEDAttack(0);
    bar->SetLEDDecay(0);
    bar->SetLEDPeakHold(false);
    bar->SetWert(-1e8L);
    bar->SetLEDAttack(attack);
    bar->SetLEDDecay(decay);
    bar->SetLEDPeakHold(peak);
}

void TBTLedBar::Paint(TCanvas& canvas)
{
    TBTPanelComponent::Paint(canvas);
    const int cx = CenterX();
    const int cy = CenterY();
    const int32_t colours[4] = {32768, 32768, 65535, 255};
    for (int i = 0; i < 4; ++i) {
        const int x = cx - 27 + 18 * i;
        BodyPen(canvas, Selected ? clRed : kGrey, colours[i], 1);
        canvas.Ellipse(x - 8, cy - 8, x + 8, cy + 8);
    }
}

TBTLeuchtbalken::TBTLeuchtbalken()
{
    Describe(Description);
    SetElementClass(QStringLiteral("TLeuchtbalken"));
}

void TBTLeuchtbalken::Push(Extended v)
{
    if (auto* bar = ElementAs<TLeuchtbalken>())
        bar->SetWert(v);
}

void TBTLeuchtbalken::ResetElement()
{
    auto* bar = ElementAs<TLeuchtbalken>();
    if (!bar)
        return;
    const int attack = bar->LEDAttack;
    const int decay = bar->LEDDecay;
    bar->SetLEDAttack(0);
    bar->SetLEDDecay(0);
    bar->SetWert(-1e8L);
    bar->SetLEDAttack(attack);
    bar->SetLEDDecay(decay);
}

void TBTLeuchtbalken::Paint(TCanvas& canvas)
{
    TBTPanelComponent::Paint(canvas);
    const int x = CenterX() - 30;
    const int y = CenterY() - 8;
    BodyPen(canvas, Selected ? clRed : 32768, 32768, 1);
    canvas.Rectangle(x, y, x + 45, y + 16);
    BodyPen(canvas, Selected ? clRed : clRed, clRed, 1);
    canvas.Rectangle(x + 45, y, x + 60, y + 16);
}

// --- Numeric and LED display ------------------------------------------------------------------

TBTNumDisplay::TBTNumDisplay()
    : TBTNumDisplay(Description)
{
    SetElementClass(QStringLiteral("TNumDisplay"));
}

TBTNumDisplay::TBTNumDisplay(const TComponentDescription& description)
{
    Describe(description);
}

void TBTNumDisplay::ShowInput(TNumDisplay* display)
{
    if (!display)
        return;
    if (display->Zahlenformat.Options.Contains(TFormatOption::Unformatted)) {
        const QString& t = m_inputText.Of(*this, 0);
        if (t != display->NDUserText)
            display->SetNDUserText(t);
    } else {
        const double v = double(GetInputValue(0));
        if (display->GetNDValue() != v)
            display->SetNDValue(v);
    }
}

void TBTNumDisplay::Calculate()
{
    ShowInput(ElementAs<TNumDisplay>());
}

void TBTNumDisplay::SimReset()
{
    if (auto* display = ElementAs<TNumDisplay>())
        display->SetNDValue(0);
}

void TBTNumDisplay::Paint(TCanvas& canvas)
{
    TBTPanelComponent::Paint(canvas);
    const int cx = CenterX();
    const int cy = CenterY();
    BodyPen(canvas, MarkColor(), Selected ? clRed : kGrey);
    canvas.Rectangle(cx - 35, cy - 19, cx + 35, cy + 19);
    const auto* display = ElementAs<TNumDisplay>();
    if (ShowStates && display)
        CentredText(canvas, cx, cy, 25, kGreen, display->AktText().trimmed().left(4));
    else
        CentredText(canvas, cx, cy, 25, clSilver, QStringLiteral("1,23"));
}

void TBTNumDisplay::PaintPinStates(TCanvas& canvas)
{
    const auto* display = ElementAs<TNumDisplay>();
    RefreshSymbol(canvas, DrawnText, display ? display->AktText() : QString());
}

TBTLEDDisplay::TBTLEDDisplay()
    : TBTNumDisplay(Description)
{
    SetElementClass(QStringLiteral("TLEDDisplay"));
}

void TBTLEDDisplay::NameInputs()
{
    // A display read with fewer inputs keeps the default names.
    if (InputCount >= 5)
        TBTNumDisplay::NameInputs();
}

void TBTLEDDisplay::Calculate()
{
    auto* display = ElementAs<TLEDDisplay>();
    if (!display)
        return;
    // Inputs a display read with fewer than five lacks count as unconnected: colour 5 V, on.
    auto level = [this](int i) { return i < InputCount ? GetInputLevel(i) : 5.0L; };
    const std::array<uint8_t, 3>& rgb = m_colour.Channels({level(1), level(2), level(3)});
    display->LEDRot = rgb[0];
    display->LEDGruen = rgb[1];
    display->LEDBlau = rgb[2];
    const int32_t colour = m_colour.Colour();
    if (display->LedLabel->LED().ActiveColor() != colour)
        display->LedLabel->LED().SetActiveColor(colour);
    display->SetNDEingeschaltet(InputCount < 5 || GetInputDigital(4));
    ShowInput(display);
}

// --- Counter ----------------------------------------------------------------------------------

TBTCounter::TBTCounter()
{
    Describe(Description);
    SetElementClass(QStringLiteral("TCounter"));
}

void TBTCounter::SetOutputCount(int32_t)
{
    TBTPanelComponent::SetOutputCount(1);
}

void TBTCounter::SimReset()
{
    PrevUp = false;
    PrevDown = false;
    if (const auto* counter = ElementAs<TCounter>())
        SetOutputValue(0, counter->GetCZaehlerstand());
    FirstStep = true;
}

void TBTCounter::Calculate()
{
    auto* counter = ElementAs<TCounter>();
    if (!counter)
        return;
    const bool up = GetInputDigital(0);
    const bool down = GetInputDigital(1);
    const bool run = GetInputDigital(2);
    if (FirstStep) {
        SetOutputValue(0, counter->GetCZaehlerstand());
        FirstStep = false;
    }
    if (run) {
        if (PrevUp && !up)
            counter->Increment();
        if (PrevDown && !down)
            counter->Decrement();
    } else {
        counter->SetCZaehlerstand(counter->Ziffern->Vorgabe);
    }
    SetOutputValue(0, counter->GetCZaehlerstand());
    PrevUp = up;
    PrevDown = down;
}

void TBTCounter::Paint(TCanvas& canvas)
{
    TBTPanelComponent::Paint(canvas);
    const int cx = CenterX();
    const int cy = CenterY();
    BodyPen(canvas, MarkColor(), clBlack, 1);
    canvas.Rectangle(cx - 40, cy - 16, cx + 40, cy + 16);
    canvas.Pen = TCanvasPen{clSilver, 1, Qt::SolidLine, TPenMode::Copy};
    for (int i = 1; i < 4; ++i) {
        canvas.MoveTo(cx - 40 + 20 * i, cy - 16);
        canvas.LineTo(cx - 40 + 20 * i, cy + 16);
    }
    const auto* counter = ElementAs<TCounter>();
    const bool live = ShowStates && counter;
    const QString text = live ? counter->Ziffern->ZiffernText().right(4).rightJustified(4, QLatin1Char('0'))
                              : QStringLiteral("0001");
    for (int i = 0; i < 4; ++i)
        CentredText(canvas, cx - 30 + 20 * i, cy, 30, live ? kGreen : clWhite, QString(text[i]));
}

void TBTCounter::PaintPinStates(TCanvas& canvas)
{
    const auto* counter = ElementAs<TCounter>();
    RefreshSymbol(canvas, DrawnText, counter ? counter->Ziffern->ZiffernText() : QString());
}

// --- Hex display ------------------------------------------------------------------------------

TBTHexDisplay::TBTHexDisplay()
{
    Describe(Description);
    SetElementClass(QStringLiteral("THexDisplay"));
}

void TBTHexDisplay::Calculate()
{
    const int v = Nibble(*this);
    if (auto* hex = ElementAs<THexDisplay>(); hex && hex->Stand != v)
        hex->SetStand(v);
}

void TBTHexDisplay::SimReset()
{
    if (auto* hex = ElementAs<THexDisplay>())
        hex->SetStand(0);
}

void TBTHexDisplay::Paint(TCanvas& canvas)
{
    TBTPanelComponent::Paint(canvas);
    const int cx = CenterX();
    const int cy = CenterY();
    BodyPen(canvas, MarkColor(), Selected ? clRed : kGrey);
    canvas.Rectangle(cx - 26, cy - 31, cx + 26, cy + 31);
    const auto* hex = ElementAs<THexDisplay>();
    if (ShowStates && hex)
        CentredText(canvas, cx, cy - 8, 64, kGreen, QString(hex->Character()));
    else
        CentredText(canvas, cx, cy - 8, 64, clSilver, QStringLiteral("F"));
    CentredText(canvas, cx, cy + 40, 32, kGrey, QStringLiteral("HEX"));
}

void TBTHexDisplay::PaintPinStates(TCanvas& canvas)
{
    const auto* hex = ElementAs<THexDisplay>();
    RefreshSymbol(canvas, DrawnChar, hex ? hex->Character() : QChar());
}

// --- Text display -----------------------------------------------------------------------------

TBTTextDisplay::TBTTextDisplay()
{
    Describe(Description);
    SetElementClass(QStringLiteral("TTDisplay"));
    Editable = true;
}

void TBTTextDisplay::Calculate()
{
    const QString& t = Texts[size_t(Nibble(*this))];
    if (auto* display = ElementAs<TNumDisplay>(); display && display->NDUserText != t)
        display->SetNDUserText(t);
}

void TBTTextDisplay::SimReset()
{
    if (auto* display = ElementAs<TNumDisplay>())
        display->SetNDUserText(Translate(QStringLiteral("Text")));
}

void TBTTextDisplay::Paint(TCanvas& canvas)
{
    TBTPanelComponent::Paint(canvas);
    const int cx = CenterX();
    const int cy = CenterY();
    BodyPen(canvas, MarkColor(), Selected ? clRed : kGrey);
    canvas.Rectangle(cx - 35, cy - 16, cx + 35, cy + 16);
    CentredText(canvas, cx, cy, 32, clSilver, QStringLiteral("TXT"));
}

void TBTTextDisplay::WriteData(TWriter& writer)
{
    TBTPanelComponent::WriteData(writer);
    for (const QString& t : Texts)
        writer.WriteRawShortString(t, kTextLength);
}

void TBTTextDisplay::ReadData(TReader& reader, uint8_t version)
{
    TBTPanelComponent::ReadData(reader, version);
    for (QString& t : Texts)
        t = reader.ReadRawShortString(kTextLength);
}

int TBTTextDisplay::EditProperties()
{
    TDefault_Dlg& dlg = Default_Dlg();
    dlg.setWindowTitle(GetLabel());
    dlg.HelpContext = 18035;
    TPropScrollbox& sheet = *dlg.PropScrollbox;
    sheet.AddCaptionProp(Translate(QStringLiteral("Text")));
    std::array<QString, kTexts> copies = Texts;
    for (int i = 0; i < kTexts; ++i)
        sheet.AddEditProp(QStringLiteral("E = %1").arg(i), copies[size_t(i)], kTextLength, 180);
    const int result = dlg.ExecuteWithOptions(*this);
    for (int i = 0; i < kTexts; ++i)
        Texts[size_t(i)] = copies[size_t(i)].left(kTextLength);
    return result;
}

// --- Seven-segment digit ----------------------------------------------------------------------

TBT7Segment::TBT7Segment()
{
    Describe(Description);
    SetElementClass(QStringLiteral("T7Segment"));
}

void TBT7Segment::Calculate()
{
    int code = 0;
    for (int i = 0; i < 7; ++i)
        code |= GetInputDigital(i) ? 1 << i : 0;
    if (code == LastCode)
        return;
    if (auto* element = ElementAs<T7Segment>()) {
        TLcdDisplay& d = *element->Display;
        for (int i = 0; i < 7; ++i)
            d.Seg[size_t(i)] = (code >> i) & 1;
        d.DrawSegments();
        RequestRepaint(d);
    }
    LastCode = code;
}

void TBT7Segment::SimReset()
{
    LastCode = 0;
    if (auto* element = ElementAs<T7Segment>()) {
        for (int i = 1; i <= 7; ++i)
            element->Display->SetSeg(i, false);
        element->Display->update();
    }
}

int32_t TBT7Segment::ElementCode() const
{
    const auto* element = ElementAs<T7Segment>();
    if (!element)
        return 0;
    int code = 0;
    for (int i = 0; i < 7; ++i)
        code |= element->Display->Seg[size_t(i)] ? 1 << i : 0;
    return code;
}

void TBT7Segment::Paint(TCanvas& canvas)
{
    TBTPanelComponent::Paint(canvas);
    const int cx = CenterX();
    const int cy = CenterY();
    const int32_t pen = Selected ? clRed : kGrey;
    const int code = ElementCode();
    struct TSeg {
        int x1, y1, x2, y2, lx, ly;
    };
    static constexpr TSeg kSegs[7] = {
        {-25, -78, 25, -78, -6, -110}, {31, -72, 31, -12, 39, -48}, {31, 0, 31, 60, 39, 12},
        {-25, 66, 25, 66, -6, 68},     {-31, 0, -31, 60, -51, 12},  {-31, -72, -31, -12, -51, -48},
        {-25, -6, 25, -6, -6, -44}};
    canvas.Font = QFont(QStringLiteral("Arial"));
    canvas.SetFontHeight(30);
    canvas.FontColor = pen;
    canvas.TransparentText = true;
    for (int i = 0; i < 7; ++i) {
        const TSeg& s = kSegs[i];
        const bool lit = ShowStates && ((code >> i) & 1);
        canvas.Pen = TCanvasPen{lit ? kGreen : pen, 6, Qt::SolidLine, TPenMode::Copy};
        canvas.MoveTo(cx + s.x1, cy + s.y1);
        canvas.LineTo(cx + s.x2, cy + s.y2);
        canvas.TextOut(cx + s.lx, cy + s.ly, QString(QLatin1Char(char('a' + i))));
    }
}

void TBT7Segment::PaintPinStates(TCanvas& canvas)
{
    RefreshSymbol(canvas, DrawnCode, ElementCode());
}
