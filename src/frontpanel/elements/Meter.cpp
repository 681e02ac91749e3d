#include "frontpanel/elements/Meter.h"

#include "frontpanel/elements/PanelRepaint.h"
#include "core/model/Translator.h"
#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"
#include "widgets/Gradient.h"

#include <QFontMetrics>
#include <QLocale>
#include <QPainter>
#include <QResizeEvent>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kLeftEnd = 5 * kPi / 4;
constexpr double kRightEnd = 3 * kPi / 4;

int Round(double x)
{
    return int(RoundHalfEven(x));
}

int Trunc(double x)
{
    return int(x);
}

QFont ArialBold(int height)
{
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    TFP_Element::SetFontHeight(font, height);
    return font;
}

} // namespace

// --- Movement ---------------------------------------------------------------------------------

QSize tmesswerk::TTextHolder::Extent() const
{
    const QFontMetrics m(Font);
    return QSize(m.horizontalAdvance(Text), m.height());
}

tmesswerk::tmesswerk(QWidget* owner)
    : QWidget(owner), ZielWinkel(kLeftEnd), IstWinkel(kLeftEnd), SpiegelFarbe(ColorToRGB(clBtnFace))
{
    for (TTextHolder* h : {&Unit, &LeftEnd, &RightEnd, &CaptionText})
        h->Font = ArialBold(-10);
    m_timer.setInterval(50);
    QObject::connect(&m_timer, &QTimer::timeout, this, [this] { InertiaTick(); });
    m_timer.start();
}

QPoint tmesswerk::Pivot() const
{
    const int w = width();
    const int h = height();
    switch (Typ) {
    case 0:
    case 1: return {w / 2, h + h / 2};
    case 2: return {(-w) / 2, h / 2};
    case 3: return {w + w / 2, h / 2};
    case 4: return {Round(w / 10.0), Round(h - 1.25 * h / 10)};
    case 5: return {Round(w - w / 10.0), Round(h - 1.25 * h / 10)};
    case 6: return {Round(w / 10.0), Round(1.25 * h / 10)};
    default: return {Round(w - w / 10.0), Round(1.25 * h / 10)};
    }
}

QPoint tmesswerk::PointerTip(double angle) const
{
    const int w = width();
    const int h = height();
    const QPoint p = Pivot();
    const double d = (angle - kPi) / (kPi / 2);
    const double c = angle - kPi / 4;
    const int r4 = Round(8.0 * h / 10);
    switch (Typ) {
    case 0: {
        const double r0 = h + h / 5.6;
        return {p.x() + Trunc(std::sin(angle) * r0), p.y() + Trunc(std::cos(angle) * r0)};
    }
    case 1: return {p.x() - Round(d * 8.0 * w / 10), Round(h / 3.0)};
    case 2: return {Round(2.0 * w / 3), p.y() + Round(8.0 * h / 10 * d)};
    case 3: return {Round(w - 2.0 * w / 3), p.y() + Round(8.0 * h / 10 * d)};
    case 4: return {p.x() - Trunc(std::cos(c) * r4), p.y() - Trunc(std::sin(c) * r4)};
    case 5: return {p.x() + Trunc(std::cos(c) * r4), p.y() - Trunc(std::sin(c) * r4)};
    case 6: return {p.x() + Trunc(std::sin(c) * r4), p.y() - Trunc(std::cos(c) * r4)};
    default: return {p.x() - Trunc(std::sin(c) * r4), p.y() - Trunc(std::cos(c) * r4)};
    }
}

QPoint tmesswerk::ScalePoint(int r, double angle) const
{
    const int w = width();
    const int h = height();
    const QPoint p = Pivot();
    const double d = (angle - kPi) / (kPi / 2);
    const double c = angle - kPi / 4;
    const double rho = 6.0 * r / 10;
    switch (Typ) {
    case 0: return {p.x() + Trunc(std::sin(angle) * r), p.y() + Trunc(std::cos(angle) * r)};
    case 1: return {p.x() - Round(8.0 * w / 10 * d), p.y() - Round(3.0 * r) + Round(20.0 * h / 8)};
    case 2: return {p.x() + Round(3.0 * r) - Round(20.0 * w / 8), p.y() - Round(8.0 * h / 10 * d)};
    case 3: return {p.x() - Round(3.0 * r) + Round(20.0 * w / 8), p.y() - Round(8.0 * h / 10 * d)};
    case 4: return {p.x() + Trunc(std::sin(c) * rho), p.y() + Trunc(std::cos(c) * rho)};
    case 5: return {p.x() - Trunc(std::sin(c) * rho), p.y() + Trunc(std::cos(c) * rho)};
    case 6: return {p.x() + Trunc(std::sin(c) * rho), p.y() - Trunc(std::cos(c) * rho)};
    default: return {p.x() - Trunc(std::sin(c) * rho), p.y() - Trunc(std::cos(c) * rho)};
    }
}

std::array<QLine, 2> tmesswerk::PointerStrokes(QPoint tip) const
{
    const QPoint p = Pivot();
    const int h = height();
    const int w = width();
    switch (Typ) {
    case 0: return {QLine(p, tip), QLine(p.x() + 1, p.y(), tip.x() + 1, tip.y())};
    case 1: return {QLine(tip.x(), h - 1, tip.x(), tip.y()), QLine(tip.x() + 1, h - 1, tip.x() + 1, tip.y())};
    case 2: return {QLine(1, tip.y(), tip.x(), tip.y()), QLine(1, tip.y() + 1, tip.x(), tip.y() + 1)};
    case 3: return {QLine(w, tip.y(), tip.x(), tip.y()), QLine(w, tip.y() + 1, tip.x(), tip.y() + 1)};
    case 4:
    case 7: return {QLine(p, tip), QLine(p + QPoint(1, 1), tip + QPoint(1, 1))};
    default: return {QLine(p, tip), QLine(p + QPoint(1, -1), tip + QPoint(1, -1))};
    }
}

QRect tmesswerk::StrokeBounds(QPoint tip) const
{
    QRect r;
    for (const QLine& l : PointerStrokes(tip))
        r |= QRect(l.p1(), l.p2()).normalized();
    return r.adjusted(-2, -2, 2, 2);
}

void tmesswerk::DrawPointer(QPoint tip)
{
    if (tip == m_tip && m_tipShown)
        return;
    // Only the strip of the old and the new pointer is painted again, in the next paint.
    QRect dirty = StrokeBounds(tip);
    if (m_tipShown)
        dirty |= StrokeBounds(m_tip);
    m_tip = tip;
    m_tipShown = true;
    RequestRepaint(*this, dirty);
}

void tmesswerk::InertiaTick()
{
    if (m_busy || Traegheit == 0)
        return;
    const double delta = ZielWinkel - IstWinkel;
    for (int i = 0; i < 5; ++i) {
        if (std::fabs(delta) < 0.6) {
            IstWinkel += delta / (Traegheit / 2.0) / 6;
            IstWinkel = std::clamp(IstWinkel, kRightEnd, kLeftEnd);
        } else {
            IstWinkel = std::clamp(IstWinkel, kRightEnd, kLeftEnd);
            IstWinkel += delta / Traegheit / 6;
        }
        DrawPointer(PointerTip(IstWinkel));
    }
}

void tmesswerk::Layout()
{
    const int w = width();
    const int h = height();
    auto place = [](TTextHolder& t, int fontHeight, auto pos) {
        TFP_Element::SetFontHeight(t.Font, fontHeight);
        t.Pos = pos(t.Extent());
    };
    switch (Typ) {
    case 0:
        place(Unit, -(h / 6), [&](QSize e) { return QPoint(w / 2 - e.width() / 2, 12 * h / 20); });
        place(LeftEnd, -(h / 10), [&](QSize) { return QPoint(w / 13, 12 * h / 14); });
        place(RightEnd, -(h / 10), [&](QSize e) { return QPoint(w - w / 13 - e.width(), 12 * h / 14); });
        place(CaptionText, -(h / 9), [&](QSize e) { return QPoint(w / 2 - e.width() / 2, h / 9); });
        break;
    case 1:
        place(Unit, -(h / 6), [&](QSize e) { return QPoint(w / 2 - e.width() / 2, Round(16.0 * h / 20)); });
        place(LeftEnd, Round(-h / 8.0), [&](QSize) { return QPoint(w / 13, Round(h / 20.0)); });
        place(RightEnd, Round(-h / 8.0), [&](QSize e) { return QPoint(w - w / 13 - e.width(), Round(h / 20.0)); });
        place(CaptionText, Round(-h / 8.0), [&](QSize e) { return QPoint(w / 2 - e.width() / 2, Round(h / 20.0)); });
        break;
    case 2:
    case 3: {
        const int f = Round(-h / 30.0 - 4);
        place(Unit, (-h) / 30 - 4, [&](QSize e) { return QPoint(Round(16.0 * w / 20), h / 2 - e.height() / 2); });
        place(LeftEnd, f, [&](QSize e) { return QPoint(Round(w / 4.0), h - e.height()); });
        place(RightEnd, f, [&](QSize) { return QPoint(Round(w / 4.0), 0); });
        place(CaptionText, f, [&](QSize e) { return QPoint(Round(w / 20.0), h / 2 - e.height() / 2); });
        break;
    }
    case 4:
    case 5: {
        const bool left = Typ == 4;
        place(Unit, -(h / 6), [&](QSize e) {
            return QPoint(Round((left ? w / 3.0 : 2.0 * w / 3) - e.width() / 2.0), Round(2.0 * h / 3 - e.height() / 2.0));
        });
        place(LeftEnd, -(h / 12), [&](QSize e) { return QPoint(left ? Round(w - e.width() - 2.0) : 2, Round(double(h - e.height()))); });
        place(RightEnd, -(h / 12), [&](QSize e) { return QPoint(left ? 2 : Round(w - e.width() - 2.0), 2); });
        place(CaptionText, -(h / 9), [&](QSize e) { return QPoint(left ? Round(w - e.width() - 2.0) : 2, 2); });
        break;
    }
    default: {
        const bool left = Typ == 6;
        place(Unit, -(h / 6), [&](QSize e) {
            return QPoint(Round((left ? w / 3.0 : 2.0 * w / 3) - e.width() / 2.0), Round(h / 3.0 - e.height() / 2.0));
        });
        place(LeftEnd, -(h / 12), [&](QSize e) { return QPoint(left ? 2 : Round(w - e.width() - 3.0), Round(double(h - e.height()))); });
        place(RightEnd, -(h / 12), [&](QSize e) { return QPoint(left ? Round(w - e.width() - 3.0) : 2, 2); });
        place(CaptionText, -(h / 9), [&](QSize e) { return QPoint(left ? Round(w - e.width() - 3.0) : 2, Round(double(h - e.height()))); });
        break;
    }
    }
}

void tmesswerk::DrawScale(TCanvas& canvas)
{
    if (SkalenModus == 3)
        return;
    const int p = (Typ == 2 || Typ == 3) ? width() : height();
    const int b = p + p / 8;
    canvas.Pen = TCanvasPen{SkalenFarbe, 1, Qt::SolidLine, TPenMode::Copy};
    auto arc = [&](int r, int segments) {
        const QPoint s = ScalePoint(r, kRightEnd);
        canvas.MoveTo(s.x(), s.y());
        for (int k = 1; k <= segments; ++k) {
            const QPoint q = ScalePoint(r, kRightEnd + k * (kPi / 2) / segments);
            canvas.LineTo(q.x(), q.y());
        }
    };
    arc(b, 100);
    canvas.Pen = TCanvasPen{SpiegelFarbe, 2, Qt::SolidLine, TPenMode::Copy};
    arc((Typ == 0 || Typ >= 4) ? b - p / 10 : b - p / 25, 50);
    canvas.Pen = TCanvasPen{SkalenFarbe, 1, Qt::SolidLine, TPenMode::Copy};
    auto mark = [&](double angle, bool isLong) {
        const QPoint a = ScalePoint(b, angle);
        const QPoint e = ScalePoint(b + (isLong ? p / 7 : p / 12), angle);
        canvas.MoveTo(a.x(), a.y());
        canvas.LineTo(e.x(), e.y());
    };
    mark(kLeftEnd, GrossStart == 1);
    const int n = Teilungen;
    if (n <= 0)  // no divisions: only the end mark
        return;
    const bool mirrored = Typ >= 2 && Typ <= 5;
    int k = 0;
    for (int i = 0; i <= n; ++i) {
        ++k;
        const double lg = std::log10(9.0 * i / n + 1) * kPi / 2;
        double angle = kLeftEnd - (kPi / 2) * i / n;
        if (SkalenModus == 1)
            angle = mirrored ? kRightEnd + lg : kLeftEnd - lg;
        else if (SkalenModus == 2)
            angle = mirrored ? kLeftEnd - lg : kRightEnd + lg;
        const bool isLong = GrossStart > 0 && (i + 1 == GrossStart || (k == GrossSchritt && i + 1 > GrossStart));
        if (isLong)
            k = 0;
        mark(angle, isLong);
    }
}

void tmesswerk::PaintMovement(TCanvas& canvas)
{
    m_busy = true;
    const int w = width();
    const int h = height();
    if (!OhneHintergrund)
        FillGradient(canvas, 0, 0, w, h, Hintergrund, ScaleColor(Hintergrund, 1.08), true);
    DrawScale(canvas);
    canvas.TransparentText = true;
    canvas.FontColor = SkalenFarbe;
    auto text = [&](const TTextHolder& t, const QString& s) {
        canvas.Font = t.Font;
        canvas.TextOut(t.Pos.x(), t.Pos.y(), s);
    };
    if (Typ == 2 || Typ == 3) {
        text(LeftEnd, LeftEnd.Text + QLatin1Char(' ') + Unit.Text);
        text(RightEnd, RightEnd.Text + QLatin1Char(' ') + Unit.Text);
    } else {
        for (const TTextHolder* t : {&Unit, &CaptionText, &LeftEnd, &RightEnd})
            text(*t, t->Text);
    }
    const QPoint tip = PointerTip(Traegheit != 0 ? IstWinkel : ZielWinkel);
    const int32_t under = OhneHintergrund ? FPState().DesignPanelColor : Hintergrund;
    canvas.Pen = TCanvasPen{(ZeigerFarbe ^ under) & 0xFFFFFF, 1, Qt::SolidLine, TPenMode::Xor};
    for (const QLine& l : PointerStrokes(tip)) {
        canvas.MoveTo(l.x1(), l.y1());
        canvas.LineTo(l.x2(), l.y2());
    }
    canvas.Pen.Mode = TPenMode::Copy;
    m_tip = tip;
    m_tipShown = true;
    m_busy = false;
}

void tmesswerk::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    TCanvas canvas(&painter);
    PaintMovement(canvas);
}

void tmesswerk::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Layout();
}

// --- Element ----------------------------------------------------------------------------------

TMeter::TMeter(QWidget* owner)
    : TFP_Element(owner)
{
    BevelInner = bvLowered;
    BevelOuter = bvRaised;
    BevelWidth = 1;
    BorderWidth = 0;
    HintergrundFarbe = 0xFFFFFF;
    Messwerk = new tmesswerk(this);
    Messwerk->setAttribute(Qt::WA_TransparentForMouseEvents);
    Messwerk->Unit.Text = MEinheit;
    resize(160, 96);
    FollowRatio();
    SetFarbStil(weiss);
    Hint = Lang3Q("Zeigerinstrument", "Meter", "Vumètre");
    setMinimumSize(20, 20);
}

bool TMeter::WithoutBackground() const
{
    return GetBisteTransparent() || BackgroundFromPanel;
}

void TMeter::FollowRatio()
{
    const Extended r = AspectRatio();
    if (r > 0)
        resize(width(), int(RoundHalfEven(width() / r)));
    FitMovement();
}

void TMeter::FitMovement()
{
    const int f = FrameWidth();
    Messwerk->setGeometry(rect().adjusted(f, f, -f, -f));
    UpdateTexts();
}

void TMeter::resizeEvent(QResizeEvent* event)
{
    TFP_Element::resizeEvent(event);
    FitMovement();
}

double TMeter::AngleFor(double& value) const
{
    const double l = MLinks;
    const double r = MRechts;
    if (l < r) {
        if (!(value > l))
            value = l;
        if (value >= r)
            value = r;
        const double d = r - l;
        switch (MCharakteristik) {
        case 1: return kLeftEnd - std::log10((value - l) * 9 / d + 1) * kPi / 2;
        case 2: return kRightEnd + std::log10((r - value) * 9 / d + 1) * kPi / 2;
        default: return kLeftEnd - (value - l) * (kPi / 2) / d;
        }
    }
    if (value >= l)
        value = l;
    if (!(value > r))
        value = r;
    return kRightEnd + (value - r) / (l - r) * kPi / 2;
}

void TMeter::SetMWert(double x)
{
    Messwerk->OhneHintergrund = WithoutBackground();
    MWert = x;
    if (std::fabs(MLinks - MRechts) < 1e-6)
        return;
    const double angle = AngleFor(MWert);
    Messwerk->ZielWinkel = angle;
    if (Messwerk->Traegheit == 0)
        Messwerk->DrawPointer(Messwerk->PointerTip(angle));
}

void TMeter::SetMLinks(double x)
{
    if (std::fabs(x - MRechts) < 1e-16)
        return;
    MLinks = x;
    UpdateTexts();
    SetMWert(MWert);
    Messwerk->update();
}

void TMeter::SetMRechts(double x)
{
    if (std::fabs(x - MLinks) < 1e-16)
        return;
    MRechts = x;
    UpdateTexts();
    SetMWert(MWert);
    Messwerk->update();
}

void TMeter::SetRange(double left, double right)
{
    // Both ends at once: one after the other, a range turned round (0..100 to 100..0) would be
    // refused at the first end because it equals the other's old value.
    if (!std::isfinite(left) || !std::isfinite(right) || std::fabs(left - right) < 1e-16)
        return;
    MLinks = left;
    MRechts = right;
    UpdateTexts();
    SetMWert(MWert);
    Messwerk->update();
}

void TMeter::SetMEinheit(const QString& text)
{
    MEinheit = text.left(255);
    UpdateTexts();
    Messwerk->update();
}

void TMeter::SetCaption(const QString& text)
{
    Messwerk->CaptionText.Text = text;
    Messwerk->Layout();
    Messwerk->update();
}

void TMeter::SetMSkalenteile(int n)
{
    Messwerk->Teilungen = int16_t(std::min(n, 100));
    Messwerk->update();
}

void TMeter::SetMGrossStart(int n)
{
    Messwerk->GrossStart = int16_t(std::min(n, 100));
    Messwerk->update();
}

void TMeter::SetMGrossSchritt(int n)
{
    Messwerk->GrossSchritt = int16_t(std::min(n, 100));
    Messwerk->update();
}

void TMeter::SetMTraegheit(int n)
{
    Messwerk->Traegheit = int16_t(std::min(n, 100));
    SetMWert(MWert);
}

void TMeter::SetFarbStil(TFarbStil style)
{
    FarbStil = style;
    switch (style) {
    case schwarz:
        Messwerk->ZeigerFarbe = 0x808000;
        Messwerk->SkalenFarbe = 0xFFFFFF;
        Messwerk->Hintergrund = 0;
        break;
    case gelb:
        Messwerk->ZeigerFarbe = 0x0000FF;
        Messwerk->SkalenFarbe = 0x808000;
        Messwerk->Hintergrund = ColorToRGB(clInfoBk);
        break;
    default:
        Messwerk->ZeigerFarbe = 0x0000FF;
        Messwerk->SkalenFarbe = 0;
        Messwerk->Hintergrund = 0xFFFFFF;
        break;
    }
    Messwerk->update();
}

void TMeter::UpdateTexts()
{
    auto number = [](double x) {
        return QLocale::system().toString(x, 'g', 15).remove(QLocale::system().groupSeparator());
    };
    Messwerk->Unit.Text = MEinheit;
    Messwerk->LeftEnd.Text = number(MLinks);
    Messwerk->RightEnd.Text = number(MRechts);
    Messwerk->Layout();
}

void TMeter::SetBisteTransparent(bool transparent)
{
    TFP_Element::SetBisteTransparent(transparent);
    if (Messwerk)
        Messwerk->OhneHintergrund = transparent || BackgroundFromPanel;
}

void TMeter::SetHintergrundFarbe(int32_t color)
{
    // The base paint sets the colour it already has: that leaves the colour preset alone.
    if (Messwerk && color != HintergrundFarbe) {
        Messwerk->OhneHintergrund = GetBisteTransparent() || BackgroundFromPanel;
        if (Messwerk->Hintergrund != color) {
            Messwerk->Hintergrund = color;
            Messwerk->update();
        }
    }
    TFP_Element::SetHintergrundFarbe(color);
}

Extended TMeter::AspectRatio() const
{
    if (!Messwerk || Messwerk->Typ == 0)
        return 5.0L / 3.0L;
    if (Messwerk->Typ <= 3)
        return -1;
    return 1.0L;
}

void TMeter::WriteElementData(TWriter& writer)
{
    TFP_Element::WriteElementData(writer);
    writer.WriteBuffer(&MLinks, 8);
    writer.WriteBuffer(&MRechts, 8);
    writer.WriteRawShortString(MEinheit, 255);
    writer.WriteRawShortString(Caption().left(20), 20);
    writer.WriteRawInt16(Messwerk->Traegheit);
    writer.WriteRawInt16(Messwerk->Teilungen);
    writer.WriteRawInt16(Messwerk->GrossStart);
    writer.WriteRawInt16(Messwerk->GrossSchritt);
    writer.WriteRawByte(FarbStil);
    writer.WriteRawInt16(int16_t(width()));
    writer.WriteRawInt32(Messwerk->SkalenFarbe);
    writer.WriteRawInt32(Messwerk->ZeigerFarbe);
    writer.WriteRawInt32(Messwerk->SpiegelFarbe);
    writer.WriteRawInt32(Messwerk->Hintergrund);
    writer.WriteInteger(height());
    writer.WriteInteger(Messwerk->Typ);
    writer.WriteInteger(MCharakteristik);
    writer.WriteInteger(Messwerk->SkalenModus);
}

void TMeter::ReadElementData(TReader& reader, uint8_t version)
{
    TFP_Element::ReadElementData(reader, version);
    double left = 0;
    double right = 0;
    reader.ReadBuffer(&left, 8);
    reader.ReadBuffer(&right, 8);
    const QString unit = reader.ReadRawShortString(255);
    const QString caption = reader.ReadRawShortString(20);
    const int inertia = reader.ReadRawInt16();
    const int divisions = reader.ReadRawInt16();
    const int longStart = reader.ReadRawInt16();
    const int longStep = reader.ReadRawInt16();
    const uint8_t style = reader.ReadRawByte();
    SetFarbStil(style <= gelb ? TFarbStil(style) : weiss);
    int w = reader.ReadRawInt16();
    int h = height();
    if (version >= 3) {
        Messwerk->SkalenFarbe = reader.ReadRawInt32();
        Messwerk->ZeigerFarbe = reader.ReadRawInt32();
        Messwerk->SpiegelFarbe = reader.ReadRawInt32();
        Messwerk->Hintergrund = reader.ReadRawInt32();
        h = reader.ReadInteger();
        Messwerk->Typ = uint8_t(std::clamp(reader.ReadInteger(), 0, 7));
        MCharakteristik = uint8_t(std::clamp(reader.ReadInteger(), 0, 2));
        Messwerk->SkalenModus = uint8_t(std::clamp(reader.ReadInteger(), 0, 3));
    }
    SetRange(left, right);
    SetMEinheit(unit);
    SetCaption(caption);
    SetMTraegheit(inertia);
    SetMSkalenteile(divisions);
    SetMGrossSchritt(longStep);
    SetMGrossStart(longStart);
    w = std::clamp(w, 0, 32767);
    h = std::clamp(h, 0, 32767);
    const Extended r = AspectRatio();
    resize(w, r > 0 ? int(RoundHalfEven(w / r)) : h);
    FitMovement();
    Messwerk->update();
}

int TMeter::EditProperties()
{
    TDefault_Dlg& dlg = Default_Dlg();
    dlg.setWindowTitle(Hint);
    dlg.HelpContext = 18055;
    TPropScrollbox& sheet = *dlg.PropScrollbox;
    auto tr = [](const char* german) { return Translate(QString::fromUtf8(german)); };
    sheet.AddCaptionProp(tr("Farbe"));
    int32_t scale = Messwerk->SkalenFarbe;
    int32_t pointer = Messwerk->ZeigerFarbe;
    int32_t mirror = Messwerk->SpiegelFarbe;
    int32_t background = HintergrundFarbe;
    sheet.AddColorProp(tr("Skale"), scale);
    sheet.AddColorProp(tr("Zeiger"), pointer);
    sheet.AddColorProp(tr("Spiegel"), mirror);
    if (!WithoutBackground())
        sheet.AddColorProp(tr("Hintergrund"), background);
    sheet.AddCaptionProp(tr("Messwerk"));
    QString from = FloatToText(MLinks);
    QString to = FloatToText(MRechts);
    sheet.AddRangeProp(tr("Bereich"), from, to);
    QString unit = MEinheit;
    sheet.AddEditProp(tr("Einheit"), unit, 255, 64);
    const QStringList characteristics{tr("Linear"), tr("Logarithmisch") + QLatin1Char(' ') + tr("Auf"),
                                      tr("Logarithmisch") + QLatin1Char(' ') + tr("Ab")};
    int32_t characteristic = MCharakteristik;
    sheet.AddComboProp(tr("Charakteristik"), characteristic, characteristics, 120);
    // The row allows what the setter keeps (0..100), so OK does not change an untouched value.
    int32_t inertia = Messwerk->Traegheit;
    sheet.AddSpinProp(tr("Trägheit"), inertia, 0, 100, 64);
    int32_t type = Messwerk->Typ;
    sheet.AddImageComboProp(tr("Typ"), type, QStringList(8, QString()), 50, dlg.MeterBitmaps);
    sheet.AddCaptionProp(tr("Skale"));
    int32_t scaleMode = Messwerk->SkalenModus;
    sheet.AddComboProp(tr("Skale"), scaleMode, characteristics + QStringList{tr("Keine")}, 120);
    int32_t divisions = Messwerk->Teilungen;
    int32_t longStep = Messwerk->GrossSchritt;
    int32_t longStart = Messwerk->GrossStart;
    sheet.AddSpinProp(tr("Teilungen"), divisions, 1, 100, 64);
    sheet.AddSpinProp(tr("Abstand"), longStep, 1, 100, 64);
    sheet.AddSpinProp(tr("Start"), longStart, 1, 100, 64);
    sheet.AddCaptionProp(tr("Optionen"));
    sheet.AddEditProp(tr("Hinweistext"), Hint, 0, 190);
    if (userEdit)
        sheet.AddCheckProp(tr("Zur Laufzeit einstellbar"), LaufzeitEinstellbar);
    const int result = dlg.Execute();
    if (result == 1) {
        Messwerk->SkalenFarbe = scale;
        Messwerk->ZeigerFarbe = pointer;
        Messwerk->SpiegelFarbe = mirror;
        if (!WithoutBackground())
            SetHintergrundFarbe(background);
        SetMSkalenteile(divisions);
        SetMGrossSchritt(longStep);
        SetMGrossStart(longStart);
        Messwerk->SkalenModus = uint8_t(std::clamp(scaleMode, 0, 3));
        Messwerk->Typ = uint8_t(std::clamp(type, 0, 7));
        MCharakteristik = uint8_t(std::clamp(characteristic, 0, 2));
        SetRange(TextToFloat(from), TextToFloat(to));
        SetMEinheit(unit);
        SetMTraegheit(inertia);
        const Extended r = AspectRatio();
        if (r > 0) {
            if (height() < width())
                resize(int(RoundHalfEven(r * height())), height());
            else
                resize(width(), int(RoundHalfEven(width() / r)));
        }
    }
    FitMovement();
    SetMWert(MWert);
    Messwerk->update();
    update();
    return result;
}
