#include "frontpanel/elements/Poti.h"

#include "frontpanel/elements/OperatorTools.h"
#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "platform/IniFile.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

#include <QConicalGradient>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRadialGradient>
#include <QWheelEvent>

#include <algorithm>
#include <array>
#include <cmath>

using namespace operator_tools;

namespace {

constexpr double kScaleStart = M_PI + 2.4;  // angle of tick 0 (lower left)

QColor Rgb(int32_t c)
{
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

// A knob face: a metal cap with a brushed ring and a knurled rim, or a plastic cap with a
// soft shadow; the corners stay transparent.
QImage DrawKnob(int size, QColor base, bool metal)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF outer(1, 1, size - 2, size - 2);
    const QPointF c(size / 2.0, size / 2.0);
    if (metal) {
        // Knurled rim.
        QConicalGradient rim(c, 0);
        for (int i = 0; i <= 48; ++i)
            rim.setColorAt(i / 48.0, i % 2 ? base.darker(170) : base.lighter(120));
        p.setPen(QPen(base.darker(250), 1));
        p.setBrush(rim);
        p.drawEllipse(outer);
        // Brushed cap.
        const double inset = size * 0.09;
        QConicalGradient cap(c, 45);
        cap.setColorAt(0.0, base.lighter(150));
        cap.setColorAt(0.25, base.darker(130));
        cap.setColorAt(0.5, base.lighter(150));
        cap.setColorAt(0.75, base.darker(130));
        cap.setColorAt(1.0, base.lighter(150));
        p.setPen(QPen(base.darker(200), 1));
        p.setBrush(cap);
        p.drawEllipse(outer.adjusted(inset, inset, -inset, -inset));
    } else {
        QRadialGradient shade(c - QPointF(size * 0.15, size * 0.15), size * 0.6);
        shade.setColorAt(0.0, base.lighter(160));
        shade.setColorAt(0.7, base);
        shade.setColorAt(1.0, base.darker(160));
        p.setPen(QPen(base.darker(220), 1));
        p.setBrush(shade);
        p.drawEllipse(outer);
        const double inset = size * 0.14;
        p.setPen(QPen(base.darker(130), 1));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(outer.adjusted(inset, inset, -inset, -inset));
    }
    return image;
}

} // namespace

const QImage& TPoti::KnobPicture(int index)
{
    static const std::array<QImage, 10> pictures = [] {
        const QColor plastic[] = {QColor(128, 128, 128), QColor(40, 70, 170), QColor(30, 140, 60),
                                  QColor(190, 30, 30), QColor(230, 200, 40)};
        const QColor metal[] = {QColor(200, 200, 205), QColor(90, 120, 200), QColor(90, 170, 110),
                                QColor(200, 90, 90), QColor(220, 200, 100)};
        std::array<QImage, 10> all;
        all[0] = DrawKnob(155, metal[0], true);
        for (int i = 1; i <= 4; ++i)
            all[size_t(i)] = DrawKnob(100, plastic[i - 1], false);
        for (int i = 6; i <= 9; ++i)
            all[size_t(i)] = DrawKnob(155, metal[i - 5], true);
        all[5] = DrawKnob(100, plastic[4], false);
        return all;
    }();
    return pictures[size_t(std::clamp(index, 0, 9))];
}

TPoti::TPoti(QWidget* owner)
    : TFP_Element(owner)
{
    BevelOuter = bvNone;
    BevelWidth = 1;
    BorderWidth = 2;
    resize(48, 48);
    setMinimumSize(30, 30);
    BackgroundFromPanel = true;
    setCursor(Qt::PointingHandCursor);
    Hint = Lang3Q("Potentiometer", "Potentiometer", "Potentiomètre");
    setFocusPolicy(Qt::StrongFocus);
    AddActionHotkeys(*this, [this](int action) { HotkeyAction(action); });
    ActionNames = {QStringLiteral(" ---"), QStringLiteral("= MIN"), QStringLiteral("= MAX"),
                   QStringLiteral("= CTR"), QStringLiteral("= RST"), QStringLiteral("= INC"),
                   QStringLiteral("= DEC")};
    Recompute();
}

TDPoti::TDPoti(QWidget* owner)
    : TPoti(owner)
{
    SetBisteDigital(true);
}

void TPoti::Recompute()
{
    const Extended n = Aufloesung;
    const Extended p = Stellung;
    Extended at;
    switch (Charakteristik) {
    case 0: at = p; break;
    case 1: at = n * (std::pow(10.0L, p / n) - 1) / 9; break;
    case 2: at = n - (std::pow(10.0L, (n - p) / n) - 1) * n / 9; break;
    default: return;
    }
    Wert = Extended(MinWert) + (Extended(MaxWert) - MinWert) / n * at;
}

void TPoti::SetStellung(int p)
{
    Stellung = int16_t(std::clamp(p, 0, int(Aufloesung)));
    MoveDot();
}

void TPoti::SetWert(double x)
{
    if (std::abs(MinWert - MaxWert) < 1e-6)
        return;
    if (std::isnan(x))
        x = std::min(MinWert, MaxWert);
    int p = Stellung;
    auto at = [&](int q) {
        Stellung = int16_t(q);
        Recompute();
    };
    at(p);
    if (MinWert < MaxWert) {
        x = std::clamp(x, MinWert, MaxWert);
        while (Wert < x && p < Aufloesung)
            at(++p);
        while (x < Wert && p > 0)
            at(--p);
    } else {
        x = std::clamp(x, MaxWert, MinWert);
        while (Wert < x && p > 0)
            at(--p);
        while (x < Wert && p < Aufloesung)
            at(++p);
    }
    MoveDot();
}

void TPoti::SetMinWert(double x)
{
    if (std::abs(x - MaxWert) <= 1e-16)
        return;
    MinWert = x;
    Recompute();
    update();
}

void TPoti::SetMaxWert(double x)
{
    if (std::abs(x - MinWert) <= 1e-16)
        return;
    MaxWert = x;
    Recompute();
    update();
}

void TPoti::SetAufloesung(int n)
{
    Aufloesung = int16_t(std::clamp(n, 10, 1000));
    if (Stellung > Aufloesung)
        Stellung = Aufloesung;
    Recompute();
    update();
}

void TPoti::SetCharakteristik(uint8_t c)
{
    Charakteristik = c;
    Recompute();
}

void TPoti::SetBisteDigital(bool digital)
{
    BisteDigital = digital;
    if (digital) {
        SetMinWert(0);
        SetMaxWert(255);
        SetAufloesung(255);
    }
}

void TPoti::HotkeyAction(int action)
{
    switch (action) {
    case 1: SetStellung(0); break;
    case 2: SetStellung(Aufloesung); break;
    case 3: SetStellung(Aufloesung / 2); break;
    case 4: SetWert(Vorgabe); break;
    case 5: SetStellung(Stellung + 1); break;
    case 6: SetStellung(Stellung - 1); break;
    default: MoveDot(); break;
    }
}

QPoint TPoti::DotCentre(int p) const
{
    const double half = Aufloesung / 2.0;
    const double phi = ((p - half) / half) * 2.4 - 1.6;
    const int fw = FrameWidth();
    return QPoint(int(RoundHalfEven(std::cos(phi) * (width() - fw) / 5.0 + width() / 2.0)),
                  int(RoundHalfEven(std::sin(phi) * (height() - fw) / 5.0 + height() / 2.0)));
}

QRect TPoti::DotRect(int p) const
{
    const int r = (width() - 2 * FrameWidth()) / 30 + 2;
    const QPoint c = DotCentre(p);
    return QRect(c.x() - r - 1, c.y() - r - 1, 2 * r + 3, 2 * r + 3);
}

void TPoti::MoveDot()
{
    Recompute();
    if (m_drawnAt != Stellung) {
        if (m_drawnAt >= 0)
            update(DotRect(m_drawnAt));
        update(DotRect(Stellung));
    }
}

void TPoti::Paint(TCanvas& canvas)
{
    TFP_Element::Paint(canvas);
    const int fw = FrameWidth();
    const int w = width();
    const int h = height();
    const int l = (h - 2 * fw) / 8;
    const QRect knob(QPoint(fw + l + 2, fw + l + 2), QPoint(w - fw - l - 2, h - fw - l - 2));
    const int cx = w / 2;
    const int cy = h / 2;
    if (Skalenart != 0) {
        canvas.Pen = TCanvasPen{SkalenFarbe, 1, Qt::SolidLine, TPenMode::Copy};
        const int r0 = int(RoundHalfEven((h - 2 * fw) / 2.0 - l));
        auto tick = [&](double a, int r) {
            canvas.MoveTo(cx, cy);
            canvas.LineTo(cx + int(RoundHalfEven(r * std::sin(a))), cy + int(RoundHalfEven(r * std::cos(a))));
        };
        tick(kScaleStart, SkalenStart == 1 ? r0 + l : r0 + l / 2);
        int since = 0;
        const int t = std::max<int>(Teilungen, 1);
        for (int i = 0; i <= t; ++i) {
            double a = kScaleStart - 4.8 * i / t;
            if (Skalenart == 2)
                a = kScaleStart - 4.8 * std::log10(9.0 * i / t + 1);
            else if (Skalenart == 3)
                a = kScaleStart - 4.8 + 4.8 * std::log10(9.0 * i / t + 1);
            tick(a, IsLongTick(i, SkalenStart, Abstand, since) ? r0 + l : r0 + l / 2);
        }
    }
    QPainter* painter = canvas.Painter();
    if (knob.width() > 0 && knob.height() > 0) {
        painter->save();
        painter->setRenderHint(QPainter::SmoothPixmapTransform);
        painter->drawImage(knob, KnobPicture(Knopf));
        painter->restore();
    }
    canvas.Pen = TCanvasPen{0xC0C0C0, hasFocus() ? 2 : 1, Qt::SolidLine, TPenMode::Copy};
    canvas.Brush.Style = Qt::NoBrush;
    canvas.Ellipse(knob.left(), knob.top(), knob.right(), knob.bottom());
    if (hasFocus())
        DrawFocusMark(canvas);
    // The dot: a filled circle with a dimple (light lower right, dark upper left).
    const int r = (w - 2 * fw) / 30 + 2;
    const QPoint c = DotCentre(Stellung);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(Qt::NoPen);
    painter->setBrush(Rgb(ZeigerFarbe));
    const QRectF dot(c.x() - r, c.y() - r, 2 * r, 2 * r);
    painter->drawEllipse(dot);
    painter->setBrush(Qt::NoBrush);
    painter->setPen(QPen(Qt::white, 1));
    painter->drawArc(dot, -135 * 16, 180 * 16);
    painter->setPen(QPen(Qt::black, 1));
    painter->drawArc(dot, 45 * 16, 180 * 16);
    painter->restore();
    m_drawnAt = Stellung;
}

// --- Operator input ---------------------------------------------------------------------------

void TPoti::mousePressEvent(QMouseEvent* event)
{
    ClickFocus();
    if (event->button() != Qt::LeftButton)
        return;
    if (m_skipNextPress) {
        m_skipNextPress = false;
        return;
    }
    m_last = event->position().toPoint();
    m_savedShowHint = ShowHint;
    ShowHint = false;
    m_dragging = true;
    m_savedCursor = QCursor::pos();
    m_snapHold = 0;
    event->accept();
}

void TPoti::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_dragging)
        return;
    const QPoint at = event->position().toPoint();
    if (m_snapHold > 0) {
        --m_snapHold;
        m_last = at;
        return;
    }
    const int p = Stellung;
    int e = std::clamp(p + (at.x() - m_last.x()) - (at.y() - m_last.y()), 0, int(Aufloesung));
    const int m = Aufloesung / 2;
    if (Einrasten && ((e >= m && m > p) || (e <= m && m < p))) {
        e = m;
        m_snapHold = 15;
    }
    m_last = at;
    SetStellung(e);
}

void TPoti::mouseReleaseEvent(QMouseEvent* event)
{
    ClickFocus();
    if (event->button() != Qt::LeftButton || !m_dragging)
        return;
    ShowHint = m_savedShowHint;
    m_dragging = false;
    // After a turn the pointer stands where the turn began.
    QCursor::setPos(m_savedCursor);
    m_last = QPoint();
}

void TPoti::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    if (delta > 0)
        SetStellung(Stellung + 1);
    else if (delta < 0)
        SetStellung(Stellung - 1);
    event->accept();
}

void TPoti::keyPressEvent(QKeyEvent* event)
{
    switch (OperatingKeyOf(*event)) {
    case okUp: SetStellung(Stellung + 1); break;
    case okDown: SetStellung(Stellung - 1); break;
    case okEnd: SetStellung(Aufloesung); break;
    case okHome: SetStellung(0); break;
    case okNone: TFP_Element::keyPressEvent(event); return;
    }
}

// --- Start value, settings, stream ------------------------------------------------------------

void TPoti::ApplyStartValue()
{
    SetWert(Vorgabe);
}

void TPoti::SaveSettings(TIniFile& ini, const QString& path)
{
    ini.WriteFloat(path + QLatin1Char('.') + ElementName, QStringLiteral("Value"), double(Wert));
}

bool TPoti::LoadSettings(TIniFile& ini, const QString& path, bool checkOnly)
{
    const QString section = path + QLatin1Char('.') + ElementName;
    if (checkOnly)
        return ini.ValueExists(section, QStringLiteral("Value"));
    SetWert(ini.ReadFloat(section, QStringLiteral("Value"), Vorgabe));
    return true;
}

void TPoti::WriteElementData(TWriter& writer)
{
    TFP_Element::WriteElementData(writer);
    writer.WriteRawInt32(ZeigerFarbe);
    writer.WriteBuffer(&MinWert, 8);
    writer.WriteBuffer(&MaxWert, 8);
    writer.WriteRawInt16(Aufloesung);
    writer.WriteRawByte(Charakteristik);
    writer.WriteBuffer(&Vorgabe, 8);
    writer.WriteInteger(Knopf);
    writer.WriteRawInt32(SkalenFarbe);
    writer.WriteInteger(Skalenart);
    writer.WriteInteger(Teilungen);
    writer.WriteInteger(SkalenStart);
    writer.WriteInteger(Abstand);
    writer.WriteInteger(width());
    writer.WriteInteger(height());
    writer.WriteBoolean(Einrasten);
}

void TPoti::ReadElementData(TReader& reader, uint8_t version)
{
    TFP_Element::ReadElementData(reader, version);
    ZeigerFarbe = reader.ReadRawInt32();
    double lo = 0, hi = 0;
    reader.ReadBuffer(&lo, 8);
    reader.ReadBuffer(&hi, 8);
    const int n = reader.ReadRawInt16();
    const uint8_t taper = reader.ReadRawByte();
    reader.ReadBuffer(&Vorgabe, 8);
    if (std::isfinite(lo) && std::isfinite(hi) && lo != hi) {
        MinWert = lo;
        MaxWert = hi;
    }
    SetAufloesung(n);
    SetCharakteristik(taper <= 2 ? taper : 0);
    if (version >= 3) {
        Knopf = std::clamp(reader.ReadInteger(), 0, 9);
        SkalenFarbe = reader.ReadRawInt32();
        Skalenart = uint8_t(std::clamp(reader.ReadInteger(), 0, 3));
        Teilungen = int16_t(std::clamp(reader.ReadInteger(), 1, 100));
        SkalenStart = int16_t(std::clamp(reader.ReadInteger(), 0, 100));
        Abstand = int16_t(std::clamp(reader.ReadInteger(), 1, 100));
        const int w = reader.ReadInteger();
        const int h = reader.ReadInteger();
        resize(std::max(w, 0), std::max(h, 0));
        Einrasten = reader.ReadBoolean();
    } else {
        resize(40, 40);
    }
    ApplyStartValue();
    update();
}

// --- Dialog -----------------------------------------------------------------------------------

int TPoti::EditProperties()
{
    TDefault_Dlg& dlg = Default_Dlg();
    dlg.setWindowTitle(Hint);
    dlg.HelpContext = BisteDigital ? 18110 : 18150;
    TPropScrollbox& sheet = *dlg.PropScrollbox;
    QString from = FloatToText(MinWert);
    QString to = FloatToText(MaxWert);
    if (!BisteDigital)
        sheet.AddRangeProp(Tr("Bereich"), from, to);
    QString start = FloatToText(Vorgabe);
    sheet.AddEditProp(Tr("Vorgabe"), start, 0, 64);
    int32_t steps = Aufloesung;
    if (!BisteDigital)
        sheet.AddSpinProp(Tr("Auflösung"), steps, 10, 1000, 64);
    int32_t taper = Charakteristik;
    const QString log = Tr("Logarithmisch") + u' ';
    sheet.AddComboProp(Tr("Charakteristik"), taper, {Tr("Linear"), log + Tr("Rechts"), log + Tr("Links")}, 120);
    sheet.AddCaptionProp(Tr("Knopf"));
    QStringList knobs;
    const char* kinds[10][2] = {{"Metallisch", "Silber"}, {"Plastik", "Grau"},   {"Plastik", "Blau"},
                                {"Plastik", "Grün"},      {"Plastik", "Rot"},    {"Plastik", "Gelb"},
                                {"Metallisch", "Blau"},   {"Metallisch", "Grün"}, {"Metallisch", "Rot"},
                                {"Metallisch", "Gelb"}};
    for (const auto& k : kinds)
        knobs << Tr(k[0]) + u' ' + Tr(k[1]);
    int32_t knob = Knopf;
    // Wider than the other lists: "Metallisch Silber" is cut at 120.
    sheet.AddComboProp(Tr("Knopf"), knob, knobs, 140);
    int32_t dotColour = ZeigerFarbe;
    sheet.AddColorProp(Tr("Zeiger"), dotColour);
    bool snap = Einrasten;
    sheet.AddCheckProp(Tr("Mittelstellung einrastend"), snap);
    sheet.AddCaptionProp(Tr("Skale"));
    int32_t scaleColour = SkalenFarbe;
    sheet.AddColorProp(Tr("Farbe"), scaleColour);
    int32_t divisions = Teilungen, spacing = Abstand, first = SkalenStart;
    sheet.AddSpinProp(Tr("Teilungen"), divisions, 1, 100, 64);
    sheet.AddSpinProp(Tr("Abstand"), spacing, 1, 100, 64);
    sheet.AddSpinProp(Tr("Start"), first, 1, 100, 64);
    int32_t scale = Skalenart;
    sheet.AddComboProp(Tr("Charakteristik"), scale, {Tr("Keine"), Tr("Linear"), log + Tr("Auf"), log + Tr("Ab")}, 120);
    AddHotkeyRows(*this, sheet, ActionNames);
    int32_t background = HintergrundFarbe;
    AddOptionRows(*this, sheet, !BackgroundFromPanel && !GetBisteTransparent() ? &background : nullptr);
    const int result = dlg.Execute();
    if (result == 1) {
        if (!BackgroundFromPanel && !GetBisteTransparent())
            SetHintergrundFarbe(background);
        // Both bounds at once, so that a new range may pass through the old one; equal bounds
        // would leave no range and are not taken.
        const double lo = double(TextToFloat(from));
        const double hi = double(TextToFloat(to));
        if (!BisteDigital && std::isfinite(lo) && std::isfinite(hi) && std::abs(lo - hi) > 1e-16) {
            MinWert = lo;
            MaxWert = hi;
        }
        Vorgabe = double(TextToFloat(start));
        if (!BisteDigital)
            Aufloesung = int16_t(std::clamp(steps, 10, 1000));
        Skalenart = uint8_t(scale);
        Teilungen = int16_t(divisions);
        Abstand = int16_t(spacing);
        SkalenStart = int16_t(first);
        Knopf = std::clamp(knob, 0, 9);
        ZeigerFarbe = dotColour;
        SkalenFarbe = scaleColour;
        Einrasten = snap;
        SetCharakteristik(uint8_t(taper));
        if (userEdit)
            ApplyStartValue();
    }
    m_dragging = false;
    m_skipNextPress = true;
    SetStellung(Stellung);
    update();
    return result;
}

// --- Web --------------------------------------------------------------------------------------

void TPoti::WriteWebElement(QStringList& lines)
{
    WriteMapElementPage(*this, lines);
}

void TPoti::WriteWebSnapshot(QStringList& lines)
{
    WriteWebImageMap(lines);
}

void TPoti::WriteWebImageMap(QStringList& lines)
{
    WriteMapPicture(*this, lines);
    static const QPoint border[] = {{20, 100}, {0, 70},  {0, 50},   {0, 30},   {10, 0},   {40, 0},
                                    {60, 0},   {90, 0},  {100, 30}, {100, 50}, {100, 70}, {80, 100}};
    auto at = [this](QPoint percent) {
        return QPoint(int(RoundHalfEven(percent.x() / 100.0 * width())),
                      int(RoundHalfEven(percent.y() / 100.0 * height())));
    };
    for (int i = 0; i <= 10; ++i) {
        const QPoint points[3] = {at({50, 50}), at(border[i]), at(border[i + 1])};
        lines << WriteWebAreaPoly(100 + i, points, QString::number(i * 10) + u'%');
    }
    lines << QStringLiteral("</map>");
}

void TPoti::WebAction(int32_t action)
{
    if (action >= 100 && action <= 110)
        SetStellung(int(RoundHalfEven(Aufloesung * (action - 100) * 10 / 100.0)));
    else
        TFP_Element::WebAction(action);
}
