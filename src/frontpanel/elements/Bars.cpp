#include "frontpanel/elements/Bars.h"

#include "frontpanel/elements/PanelRepaint.h"
#include "core/model/Translator.h"
#include "frontpanel/LedShape.h"
#include "platform/Canvas.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

#include <QResizeEvent>

#include <algorithm>
#include <cmath>

namespace {

QString Tr(const char* german)
{
    return Translate(QString::fromUtf8(german));
}

constexpr int32_t kGrey = 0x808080;

} // namespace

// --- Shared part ------------------------------------------------------------------------------

TBarElement::TBarElement(QWidget* owner)
    : TFP_Element(owner)
{
    QObject::connect(&m_rise, &QTimer::timeout, this, [this] { RiseTick(); });
    QObject::connect(&m_fall, &QTimer::timeout, this, [this] { FallTick(); });
    SetLEDAttack(0);
    SetLEDDecay(50);
    resize(16, 160);
}

int TBarElement::StepToward(int shown, int target)
{
    const int step = std::max(std::abs(target - shown) / 10, 1);
    return target > shown ? shown + step : shown - step;
}

void TBarElement::SetWert(Extended x)
{
    Wert = x;
    const double span = std::fabs(Bis - Von);
    const double q = double(x - Von) / span * 100;
    // A value that is not a number (a 0/0 in the circuit) shows as 0 %.
    const int p = std::isnan(q) ? 0 : int(RoundHalfEven(std::clamp(q, -1.0, 101.0)));
    SetLEDProzent(std::clamp(p, 0, 100));
}

void TBarElement::SetLEDAttack(int ms)
{
    LEDAttack = std::max(ms, 0);
    // A timer of interval 0 does not tick.
    if (LEDAttack > 0)
        m_rise.start(LEDAttack);
    else
        m_rise.stop();
}

void TBarElement::SetLEDDecay(int ms)
{
    LEDDecay = std::max(ms, 0);
    if (LEDDecay > 0)
        m_fall.start(LEDDecay);
    else
        m_fall.stop();
}

void TBarElement::SetLEDModus(TModus mode)
{
    LEDModus = mode;
    SetLEDProzent(LEDProzent);
}

int TBarElement::EditBar(int helpContext, const std::function<void()>& ownRows,
                         const std::function<void()>& applyOwn)
{
    TDefault_Dlg& dlg = Default_Dlg();
    dlg.setWindowTitle(Hint);
    dlg.HelpContext = helpContext;
    TPropScrollbox& sheet = *dlg.PropScrollbox;
    QString from = FloatToText(Von);
    QString to = FloatToText(Bis);
    sheet.AddRangeProp(Tr("Bereich"), from, to);
    int32_t orientation = LEDOrientation;
    sheet.AddComboProp(Tr("Orientierung"), orientation, {Tr("Auf"), Tr("Ab"), Tr("Rechts"), Tr("Links")}, 120);
    int32_t mode = LEDModus;
    sheet.AddComboProp(Tr("Modus"), mode, {Tr("Balken"), Tr("Punkt")}, 120);
    // The rows allow the intervals the bar keeps, so OK leaves untouched values as they are.
    int32_t attack = LEDAttack;
    int32_t decay = LEDDecay;
    sheet.AddSpinProp(Tr("Anstiegszeit"), attack, 0, 1000, 64);
    sheet.AddSpinProp(Tr("Abfallzeit"), decay, 0, 1000, 64);
    ownRows();
    sheet.AddCaptionProp(Tr("Farbe"));
    std::array<int32_t, 4> colours = BalkenFarbe;
    std::array<int32_t, 3> limits{Grenze[0], Grenze[1], Grenze[2]};
    for (int i = 0; i < 4; ++i) {
        sheet.AddColorProp(Tr("Farbe") + QStringLiteral(" %1").arg(i + 1), colours[size_t(i)]);
        if (i < 3)
            sheet.AddSpinProp(Tr("Grenze") + QStringLiteral(" %1 [%]").arg(i + 1), limits[size_t(i)], 1, 100, 64);
    }
    sheet.AddCaptionProp(Tr("Optionen"));
    sheet.AddEditProp(Tr("Hinweistext"), Hint, 0, 190);
    if (userEdit)
        sheet.AddCheckProp(Tr("Zur Laufzeit einstellbar"), LaufzeitEinstellbar);
    const int result = dlg.Execute();
    if (result == 1) {
        BalkenFarbe = colours;
        for (int i = 0; i < 3; ++i)
            Grenze[size_t(i)] = int16_t(limits[size_t(i)]);
        SetLEDAttack(attack);
        SetLEDDecay(decay);
        SetLEDModus(mode == Punkt ? Punkt : Balken);
        const auto o = TOrientation(std::clamp(orientation, 0, 3));
        if (IsVertical(o) != IsVertical(LEDOrientation))
            resize(height(), width());
        LEDOrientation = o;
        applyOwn();
        const double a = TextToFloat(from);
        const double b = TextToFloat(to);
        if (b - a > 1e-4) {
            Von = a;
            Bis = b;
        }
        SetWert(Wert);
        update();
    }
    return result;
}

// --- LED bar ----------------------------------------------------------------------------------

TLEDBAR::TLEDBAR(QWidget* owner)
    : TBarElement(owner)
{
    BalkenFarbe = {0x00FF80, 0x00FFFF, 0x0080FF, 0x0000FF};
    SetLEDAnzahl(10);
    Hint = Lang3Q("LED-Bar", "LED bar", "Bargraph à leds");
}

void TLEDBAR::SetLEDAnzahl(int n)
{
    LEDAnzahl = std::clamp(n, 3, kMaxLeds);
    const int count = LEDAnzahl;
    for (int i = 1; i <= count; ++i) {
        const double q = (count - i) * 100.0 / count;
        int32_t c = BalkenFarbe[3];
        if (q < Grenze[0])
            c = BalkenFarbe[0];
        else if (q < Grenze[1])
            c = BalkenFarbe[1];
        else if (q < Grenze[2])
            c = BalkenFarbe[2];
        Leds[size_t(i)].Color = c;
    }
    // The table follows the shown index at once: a new bar (shown index 1) is full until its
    // first value, also when no timer runs.
    UpdateLeds(Shown);
    update();
}

void TLEDBAR::SetLEDPeakHold(bool on)
{
    LEDPeakHold = on;
    SetLEDProzent(LEDProzent);
}

void TLEDBAR::SetLEDProzent(int p)
{
    LEDProzent = std::clamp(p, 0, 100);
    const int k = int((100 - LEDProzent) / 100.0 * LEDAnzahl) + 1;
    if (Target >= k)
        Peak = k;
    Target = k;
    if (LEDAttack == 0 && Shown > k) {
        UpdateLeds(k);
        Shown = k;
    }
    if (LEDDecay == 0 && Shown < k) {
        UpdateLeds(k);
        Shown = k;
    }
}

void TLEDBAR::RiseTick()
{
    if (Shown > Target)
        Shown = StepToward(Shown, Target);
    UpdateLeds(Shown);
}

void TLEDBAR::FallTick()
{
    if (Shown < Target)
        Shown = StepToward(Shown, Target);
    UpdateLeds(Shown);
}

void TLEDBAR::UpdateLeds(int k)
{
    for (int i = LEDAnzahl; i >= 1; --i) {
        const bool lit = LEDModus == Punkt ? i == k : (i >= k || (i == Peak && LEDPeakHold));
        TLed& led = Leds[size_t(i)];
        if (lit != led.Lit) {
            led.Lit = lit;
            RequestRepaint(*this, LedRect(i));
        }
    }
}

int TLEDBAR::LitCount() const
{
    int n = 0;
    for (int i = 1; i <= LEDAnzahl; ++i)
        n += Leds[size_t(i)].Lit ? 1 : 0;
    return n;
}

QRect TLEDBAR::LedRect(int i) const
{
    const int f = FrameWidth();
    const int l = f, t = f, r = width() - f, b = height() - f;
    const int n = LEDAnzahl;
    const int g = LEDAbstand;
    const bool vertical = IsVertical(LEDOrientation);
    const int span = vertical ? b - t : r - l;
    const int c = int(double(span - g * (n - 1)) / n);
    const int o = (span - c * n - g * (n - 1)) / 2;
    const int a = i - 1;
    const int j = (LEDOrientation == LBoben || LEDOrientation == LBlinks) ? a : n - 1 - a;
    const int start = (vertical ? t : l) + o + j * (c + g);
    int across0, across1;
    if (LEDForm == 0) {
        const int extent = vertical ? width() : height();
        across0 = (extent - c) / 2;
        across1 = (extent + c) / 2;
    } else {
        across0 = vertical ? l : t;
        across1 = vertical ? r : b;
    }
    return vertical ? QRect(QPoint(across0, start), QPoint(across1 - 1, start + c - 1))
                    : QRect(QPoint(start, across0), QPoint(start + c - 1, across1 - 1));
}

void TLEDBAR::Paint(TCanvas& canvas)
{
    TFP_Element::Paint(canvas);
    canvas.Pen = TCanvasPen{0xC0C0C0, 1, Qt::SolidLine, TPenMode::Copy};
    for (int i = 1; i <= LEDAnzahl; ++i) {
        const TLed& led = Leds[size_t(i)];
        canvas.Brush = TCanvasBrush{led.Lit ? led.Color : kGrey, Qt::SolidPattern};
        const QRect r = LedRect(i);
        DrawLEDShape(canvas, TRect{r.left(), r.top(), r.right() + 1, r.bottom() + 1}, LEDForm,
                     QFont(), 0, QString());
    }
}

void TLEDBAR::WriteElementData(TWriter& writer)
{
    TFP_Element::WriteElementData(writer);
    for (int i : {1, 2, 3, 0})
        writer.WriteRawInt32(BalkenFarbe[size_t(i)]);
    for (int16_t g : Grenze)
        writer.WriteRawInt16(g);
    writer.WriteRawByte(LEDForm);
    writer.WriteRawInt16(int16_t(LEDAnzahl));
    writer.WriteRawByte(LEDModus);
    writer.WriteRawByte(LEDPeakHold ? 1 : 0);
    writer.WriteRawInt16(int16_t(LEDAttack));
    writer.WriteRawInt16(int16_t(LEDDecay));
    writer.WriteRawByte(LEDOrientation);
    writer.WriteRawInt16(0);
    writer.WriteBuffer(&Von, 8);
    writer.WriteBuffer(&Bis, 8);
    writer.WriteRawInt16(int16_t(LEDAbstand));
}

void TLEDBAR::ReadElementData(TReader& reader, uint8_t version)
{
    TFP_Element::ReadElementData(reader, version);
    for (int i : {1, 2, 3, 0})
        BalkenFarbe[size_t(i)] = reader.ReadRawInt32();
    for (int16_t& g : Grenze)
        g = reader.ReadRawInt16();
    LEDForm = reader.ReadRawByte();
    if (LEDForm > 5)
        LEDForm = 0;
    const int count = reader.ReadRawInt16();
    LEDModus = reader.ReadRawByte() == Punkt ? Punkt : Balken;
    const bool peak = reader.ReadRawByte() != 0;
    const int attack = reader.ReadRawInt16();
    const int decay = reader.ReadRawInt16();
    const uint8_t o = reader.ReadRawByte();
    LEDOrientation = o <= LBlinks ? TOrientation(o) : LBoben;
    reader.ReadRawInt16();
    reader.ReadBuffer(&Von, 8);
    reader.ReadBuffer(&Bis, 8);
    if (version >= 40) {
        LEDAbstand = std::max<int>(reader.ReadRawInt16(), 0);
    } else {
        LEDAbstand = LEDForm != 0 ? 0 : 2;
        if (LEDForm == 2)
            LEDForm = 1;
    }
    SetLEDPeakHold(peak);
    SetLEDAttack(attack);
    SetLEDDecay(decay);
    SetLEDAnzahl(count);
}

int TLEDBAR::EditProperties()
{
    TPropScrollbox& sheet = *Default_Dlg().PropScrollbox;
    bool peak = LEDPeakHold;
    int32_t count = LEDAnzahl;
    int32_t gap = LEDAbstand;
    int32_t form = LEDForm;
    const int result = EditBar(
        18020,
        [&] {
            sheet.AddCheckProp(QStringLiteral("Peak hold"), peak);
            sheet.AddCaptionProp(QStringLiteral("LEDs"));
            sheet.AddSpinProp(Tr("Anzahl") + QStringLiteral(" [LEDs]"), count, 3, 50, 64);
            sheet.AddSpinProp(Tr("Abstand"), gap, 0, 50, 64);
            const QString triangle = Tr("Dreieck") + QLatin1Char(' ');
            sheet.AddComboProp(Tr("Form"), form,
                               {Tr("Kreis"), Tr("Rechteck"), triangle + Tr("Auf"), triangle + Tr("Ab"),
                                triangle + Tr("Links"), triangle + Tr("Rechts")},
                               120);
        },
        [&] {
            LEDForm = uint8_t(std::clamp(form, 0, 5));
            LEDPeakHold = peak;
            SetLEDAnzahl(count);
            LEDAbstand = gap;
        });
    return result;
}

// --- Light bar --------------------------------------------------------------------------------

TLeuchtbalken::TLeuchtbalken(QWidget* owner)
    : TBarElement(owner)
{
    BalkenFarbe = {0x00FF80, 0x00FFFF, 0x0080FF, 0x0000FF};
    Hint = Lang3Q("Leuchtbalken", "Luminous row", "Rampe lumineuse");
    SetWert(0);
}

int TLeuchtbalken::PercentToPixel(double p) const
{
    const int f = FrameWidth();
    const int h = height() - 2 * f - 2;
    const int w = width() - 2 * f - 2;
    switch (LEDOrientation) {
    case LBoben: return f + int((100 - p) / 100 * h) + 1;
    case LBunten: return f + int(p / 100 * h) + 1;
    case LBrechts: return f + int(p / 100 * w) + 1;
    default: return f + int((100 - p) / 100 * w) + 1;
    }
}

bool TLeuchtbalken::Rising(int from, int to) const
{
    return (LEDOrientation == LBoben || LEDOrientation == LBlinks) ? to < from : to > from;
}

void TLeuchtbalken::SetLEDProzent(int p)
{
    LEDProzent = std::clamp(p, 0, 100);
    TargetPos = PercentToPixel(LEDProzent);
    if (TargetPos == CurrentPos)
        return;
    const bool rising = Rising(CurrentPos, TargetPos);
    if ((rising && LEDAttack == 0) || (!rising && LEDDecay == 0)) {
        CurrentPos = TargetPos;
        DrawAt(CurrentPos);
    }
}

void TLeuchtbalken::SetLEDOrientation(TOrientation o)
{
    if (o == LEDOrientation)
        return;
    LEDOrientation = o;
    SetWert(Wert);
}

void TLeuchtbalken::RiseTick()
{
    if (TargetPos != CurrentPos && Rising(CurrentPos, TargetPos))
        CurrentPos = StepToward(CurrentPos, TargetPos);
    DrawAt(CurrentPos);
}

void TLeuchtbalken::FallTick()
{
    if (TargetPos != CurrentPos && !Rising(CurrentPos, TargetPos))
        CurrentPos = StepToward(CurrentPos, TargetPos);
    DrawAt(CurrentPos);
}

void TLeuchtbalken::DrawAt(int pos)
{
    if (pos == LastDrawn)
        return;
    LastDrawn = pos;
    const int f = FrameWidth();
    RequestRepaint(*this, rect().adjusted(f, f, -f, -f));
}

void TLeuchtbalken::Paint(TCanvas& canvas)
{
    TFP_Element::Paint(canvas);
    const int f = FrameWidth();
    const int w = width();
    const int h = height();
    canvas.Pen = TCanvasPen{kGrey, 1, Qt::SolidLine, TPenMode::Copy};
    canvas.Brush = TCanvasBrush{kGrey, Qt::SolidPattern};
    canvas.Rectangle(f + 1, f + 1, w - f - 1, h - f - 1);
    const bool vertical = IsVertical(LEDOrientation);
    // A band across the inner strip between two positions along the bar (both included).
    auto band = [&](int a, int b, int32_t colour) {
        const int lo = std::min(a, b);
        const int hi = std::max(a, b);
        canvas.Pen = TCanvasPen{colour, 1, Qt::SolidLine, TPenMode::Copy};
        canvas.Brush = TCanvasBrush{colour, Qt::SolidPattern};
        if (vertical)
            canvas.Rectangle(f + 1, lo, w - f - 1, hi + 1);
        else
            canvas.Rectangle(lo, f + 1, hi + 1, h - f - 1);
    };
    const int y = CurrentPos;
    const int p = LEDProzent;
    auto at = [&](int g) { return PercentToPixel(g); };
    if (LEDModus == Balken) {
        if (p > Grenze[2]) {
            band(at(Grenze[2]), y, BalkenFarbe[3]);
            band(at(Grenze[1]), at(Grenze[2]), BalkenFarbe[2]);
        } else if (p > Grenze[1]) {
            band(at(Grenze[1]), y, BalkenFarbe[2]);
        } else if (p > Grenze[0]) {
            band(at(Grenze[0]), y, BalkenFarbe[1]);
        }
        if (p > Grenze[1])
            band(at(Grenze[0]), at(Grenze[1]), BalkenFarbe[1]);
        band(at(0), p > Grenze[0] ? at(Grenze[0]) : y, BalkenFarbe[0]);
        // The unlit part, from the far end up to the level.
        const int full = at(100);
        if (full < y)
            band(full, y - 1, kGrey);
        else if (full > y)
            band(y + 1, full, kGrey);
    } else {
        int32_t c = BalkenFarbe[0];
        if (p > Grenze[2])
            c = BalkenFarbe[3];
        else if (p > Grenze[1])
            c = BalkenFarbe[2];
        else if (p > Grenze[0])
            c = BalkenFarbe[1];
        band(y - 2, y + 1, c);
    }
    canvas.Pen = TCanvasPen{0xC0C0C0, 1, Qt::SolidLine, TPenMode::Copy};
    const int length = (vertical ? h : w) - 2 * f - 2;
    for (int i = 0; i <= length / 4; ++i) {
        const int s = f + 1 + 4 * i;
        if (vertical) {
            canvas.MoveTo(f + 1, s);
            canvas.LineTo(w - f - 1, s);
        } else {
            canvas.MoveTo(s, f + 1);
            canvas.LineTo(s, h - f - 1);
        }
    }
    LastDrawn = CurrentPos;
}

void TLeuchtbalken::resizeEvent(QResizeEvent* event)
{
    TFP_Element::resizeEvent(event);
    SetWert(Wert);
    if (IsVertical(LEDOrientation)) {
        const int snapped = (height() / 4) * 4 + 1;
        if (snapped != height())
            resize(width(), snapped);
    } else {
        const int snapped = (width() / 4) * 4 + 1;
        if (snapped != width())
            resize(snapped, height());
    }
}

void TLeuchtbalken::WriteElementData(TWriter& writer)
{
    TFP_Element::WriteElementData(writer);
    writer.WriteInteger(width());
    writer.WriteInteger(height());
    for (int i : {1, 2, 3, 0})
        writer.WriteRawInt32(BalkenFarbe[size_t(i)]);
    for (int16_t g : Grenze)
        writer.WriteRawInt16(g);
    writer.WriteRawByte(LEDModus);
    writer.WriteRawInt16(int16_t(LEDAttack));
    writer.WriteRawInt16(int16_t(LEDDecay));
    writer.WriteRawByte(LEDOrientation);
    writer.WriteBuffer(&Von, 8);
    writer.WriteBuffer(&Bis, 8);
}

void TLeuchtbalken::ReadElementData(TReader& reader, uint8_t version)
{
    TFP_Element::ReadElementData(reader, version);
    const int w = std::clamp(reader.ReadInteger(), 0, 32767);
    const int h = std::clamp(reader.ReadInteger(), 0, 32767);
    for (int i : {1, 2, 3, 0})
        BalkenFarbe[size_t(i)] = reader.ReadRawInt32();
    for (int16_t& g : Grenze)
        g = reader.ReadRawInt16();
    LEDModus = reader.ReadRawByte() == Punkt ? Punkt : Balken;
    const int attack = reader.ReadRawInt16();
    const int decay = reader.ReadRawInt16();
    const uint8_t o = reader.ReadRawByte();
    LEDOrientation = o <= LBlinks ? TOrientation(o) : LBoben;
    reader.ReadBuffer(&Von, 8);
    reader.ReadBuffer(&Bis, 8);
    resize(w, h);
    SetLEDAttack(attack);
    SetLEDDecay(decay);
    SetWert(Wert);
    update();
}

int TLeuchtbalken::EditProperties()
{
    return EditBar(18025, [] {}, [] {});
}
