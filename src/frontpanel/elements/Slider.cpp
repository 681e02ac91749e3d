#include "frontpanel/elements/Slider.h"

#include "frontpanel/elements/OperatorTools.h"
#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "platform/IniFile.h"
#include "platform/MessageBox.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"
#include "widgets/GraphicControl.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

using namespace operator_tools;

namespace {

constexpr int kKnobLong = 26;
constexpr int kKnobShort = 10;

} // namespace

TSlider::TSlider(QWidget* owner)
    : TFP_Element(owner)
{
    BevelOuter = bvNone;
    BevelWidth = 1;
    BorderWidth = 2;
    Knopf = new TWLXFill(this);
    TWLXFillObject& fill = Knopf->FillObject();
    fill.SetStyle(TWLXFillStyle::sfGradient);
    fill.Gradient().SetColor(0xFFFFFF);
    fill.Gradient().SetEndColor(0x808080);
    Knopf->Bevel().SetMode(TWLXBevelMode::bmCustom);
    Knopf->Bevel().SetStyleOuter(TWLXBevelStyle::bvNone);
    Knopf->Bevel().SetStyleInner(TWLXBevelStyle::bvRaised);
    Knopf->Bevel().SetWidthInner(2);
    Knopf->setCursor(Qt::PointingHandCursor);
    Knopf->installEventFilter(this);
    OrientKnob();
    resize(32, 160);
    SetBisteDigital(false);
    BackgroundFromPanel = true;
    ComputeTrack();
    ApplyStartValue();
    Hint = Lang3Q("Einsteller", "Adjustor", "Ajusteur");
    SetStellung(0);
    setFocusPolicy(Qt::StrongFocus);
    AddActionHotkeys(*this, [this](int action) { HotkeyAction(action); });
    ActionNames = {QStringLiteral(" ---"), QStringLiteral("= MIN"), QStringLiteral("= MAX"),
                   QStringLiteral("= CTR"), QStringLiteral("= RST"), QStringLiteral("= INC"),
                   QStringLiteral("= DEC")};
}

TDSlider::TDSlider(QWidget* owner)
    : TSlider(owner)
{
    SetBisteDigital(true);
}

// --- Geometry and values ----------------------------------------------------------------------

void TSlider::ComputeTrack()
{
    const int fw = FrameWidth();
    const int w = width();
    const int h = height();
    if (Senkrecht) {
        m_track = QRect(QPoint(w / 2 - 2, fw + 3), QPoint(w / 2 + 1, h - fw - 4));
        m_p0 = m_track.top() + 6;
        m_p1 = m_track.bottom() - 5;
    } else {
        m_track = QRect(QPoint(fw + 3, h / 2 - 2), QPoint(w - fw - 4, h / 2 + 1));
        m_p0 = m_track.left() + 6;
        m_p1 = m_track.right() - 5;
    }
    if (m_p1 < m_p0)
        m_p1 = m_p0;
}

void TSlider::OrientKnob()
{
    Knopf->resize(Senkrecht ? kKnobLong : kKnobShort, Senkrecht ? kKnobShort : kKnobLong);
    Knopf->FillObject().Gradient().SetStyle(Senkrecht ? TWLXGradientStyle::gstVertical
                                                      : TWLXGradientStyle::gstHorizontal);
}

void TSlider::PlaceKnob()
{
    if (Senkrecht)
        Knopf->move(int(RoundHalfEven(width() / 2.0 - Knopf->width() / 2.0)),
                    height() - m_pos - Knopf->height() / 2);
    else
        Knopf->move(m_pos - Knopf->width() / 2, int(RoundHalfEven(height() / 2.0 - Knopf->height() / 2.0)));
}

Extended TSlider::ValueAt(Extended a) const
{
    const Extended lo = MinWert;
    const Extended span = Extended(MaxWert) - MinWert;
    if (span == 0 || m_p1 == m_p0)
        return lo;
    const Extended d = lo + span * (a - m_p0) / (m_p1 - m_p0);
    const Extended t = (d - lo) / span;
    Extended v = d;
    if (Charakteristik == 1)
        v = lo + span * (std::pow(10.0L, t) - 1) / 9;
    else if (Charakteristik == 2)
        v = Extended(MaxWert) - span * (std::pow(10.0L, 1 - t) - 1) / 9;
    return GanzWert ? Extended(RoundHalfEven(v)) : v;
}

int TSlider::PositionOf(Extended x) const
{
    const Extended lo = MinWert;
    const Extended span = Extended(MaxWert) - MinWert;
    if (span == 0)
        return m_p0;
    // Kept within the range first: outside it the tapers have no position (or none at all).
    if (std::isnan(double(x)))
        x = lo;
    x = std::clamp<Extended>(x, std::min<Extended>(lo, MaxWert), std::max<Extended>(lo, MaxWert));
    if (GanzWert)
        x = Extended(RoundHalfEven(x));
    if (Charakteristik == 1)
        x = lo + span * std::log(9 * (x - lo) / span + 1) / std::log(10.0L);
    else if (Charakteristik == 2)
        x = span * (1 - std::log(1 - (x - MaxWert) * 9 / span) / std::log(10.0L)) + lo;
    return int(RoundHalfEven((x - lo) / span * (m_p1 - m_p0) + m_p0));
}

Extended TSlider::GetWert() const
{
    return ValueAt(m_pos);
}

void TSlider::SetWert(Extended x)
{
    SetStellung(PositionOf(x));
}

void TSlider::SetStellung(int a)
{
    m_pos = std::clamp(a, m_p0, m_p1);
    PlaceKnob();
}

void TSlider::SetBisteDigital(bool digital)
{
    BisteDigital = digital;
    if (digital) {
        SetMaxWert(255);
        SetMinWert(0);
        GanzWert = true;
        ComputeTrack();
    }
}

void TSlider::SetMaxWert(int v)
{
    MaxWert = int16_t(v);
    update();
}

void TSlider::SetMinWert(int v)
{
    MinWert = int16_t(v);
    ComputeTrack();
    update();
}

void TSlider::SetSkalenFarbe(int32_t c)
{
    SkalenFarbe = c;
    update();
}

void TSlider::SetSenkrecht(bool vertical)
{
    if (vertical == Senkrecht)
        return;
    const float value = float(GetWert());
    Senkrecht = vertical;
    OrientKnob();
    m_layingOut = true;
    resize(height(), width());
    m_layingOut = false;
    Relayout();
    update();
    SetWert(value);
}

void TSlider::Relayout()
{
    const Extended value = GetWert();
    ComputeTrack();
    SetWert(value);
}

void TSlider::resizeEvent(QResizeEvent* event)
{
    TFP_Element::resizeEvent(event);
    if (!m_layingOut)
        Relayout();
}

// --- Operator input ---------------------------------------------------------------------------

void TSlider::Step(int direction)
{
    if (GanzWert && std::abs(m_p1 - m_p0) > std::abs(int(MaxWert) - int(MinWert)))
        SetLinearWert(GetWert() + direction);
    else
        SetStellung(m_pos + direction);
}

void TSlider::HotkeyAction(int action)
{
    switch (action) {
    case 1: SetStellung(m_p0); break;
    case 2: SetStellung(m_p1); break;
    case 3: SetStellung(m_p0 + (m_p1 - m_p0) / 2); break;
    case 4: SetWert(Vorgabe); break;
    case 5: StepUp(); break;
    case 6: StepDown(); break;
    default: break;
    }
}

void TSlider::KnobPress(QMouseEvent& event)
{
    if (event.button() == Qt::LeftButton)
        m_dragging = true;
    ClickFocus();
    m_snapHold = 0;
}

void TSlider::KnobMove(QMouseEvent& event)
{
    if (m_snapHold > 0) {
        --m_snapHold;
        return;
    }
    if (!m_dragging)
        return;
    const QPoint at = Knopf->mapToParent(event.position().toPoint());
    int c = Senkrecht ? height() - at.y() : at.x();
    const int m = m_p0 + (m_p1 - m_p0) / 2;
    if (Einrasten && ((c >= m && m > m_pos) || (c <= m && m < m_pos))) {
        c = m;
        m_snapHold = 10;
    }
    SetStellung(PositionOf(ValueAt(c)));
}

void TSlider::KnobRelease(QMouseEvent& event)
{
    ClickFocus();
    if (event.button() == Qt::LeftButton)
        m_dragging = false;
}

bool TSlider::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Knopf) {
        switch (event->type()) {
        case QEvent::MouseButtonPress: KnobPress(static_cast<QMouseEvent&>(*event)); return true;
        case QEvent::MouseMove: KnobMove(static_cast<QMouseEvent&>(*event)); return true;
        case QEvent::MouseButtonRelease: KnobRelease(static_cast<QMouseEvent&>(*event)); return true;
        case QEvent::MouseButtonDblClick: DblClickEdit(); return true;
        default: break;
        }
    }
    return TFP_Element::eventFilter(watched, event);
}

void TSlider::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    if (delta > 0)
        StepUp();
    else if (delta < 0)
        StepDown();
    event->accept();
}

void TSlider::keyPressEvent(QKeyEvent* event)
{
    switch (OperatingKeyOf(*event)) {
    case okUp: StepUp(); break;
    case okDown: StepDown(); break;
    case okEnd: SetStellung(m_p1); break;
    case okHome: SetStellung(m_p0); break;
    case okNone: TFP_Element::keyPressEvent(event); break;
    }
}

// --- Painting ---------------------------------------------------------------------------------

void TSlider::Paint(TCanvas& canvas)
{
    TFP_Element::Paint(canvas);
    const int fw = FrameWidth();
    if (Skalenart != 0) {
        canvas.Pen = TCanvasPen{SkalenFarbe, 1, Qt::SolidLine, TPenMode::Copy};
        const int t = std::max<int>(Teilungen, 1);
        const int f = (Senkrecht ? width() : height()) - fw - 1;
        const double span = m_p0 - m_p1;
        int since = 0;
        for (int j = 0; j <= t; ++j) {
            const double lj = std::log10(9.0 * j / t + 1);
            double c = j * span / t + m_p1;
            if (Skalenart == 2)
                c = Senkrecht ? span * lj + m_p1 : m_p0 - lj * span;
            else if (Skalenart == 3)
                c = Senkrecht ? m_p0 - span * lj : span * lj + m_p1;
            const int at = int(RoundHalfEven(c));
            const bool isLong = IsLongTick(j, SkalenStart, Abstand, since);
            const int from = isLong ? fw + 1 : fw + 1 + f / 6;
            const int to = isLong ? f : f - f / 6;
            if (Senkrecht) {
                canvas.MoveTo(from, at);
                canvas.LineTo(to, at);
            } else {
                canvas.MoveTo(at, from);
                canvas.LineTo(at, to);
            }
        }
    }
    const int32_t slot = hasFocus() ? 0x808080 : 0xC0C0C0;
    canvas.Pen = TCanvasPen{slot, 1, Qt::SolidLine, TPenMode::Copy};
    canvas.Brush = TCanvasBrush{slot, Qt::SolidPattern};
    canvas.FillRect(m_track.left(), m_track.top(), m_track.right() + 1, m_track.bottom() + 1);
    canvas.Pen = TCanvasPen{clBlack, 1, Qt::SolidLine, TPenMode::Copy};
    canvas.MoveTo(m_track.right(), m_track.top());
    canvas.LineTo(m_track.left(), m_track.top());
    canvas.LineTo(m_track.left(), m_track.bottom());
    canvas.Pen = TCanvasPen{clWhite, 1, Qt::SolidLine, TPenMode::Copy};
    canvas.LineTo(m_track.right(), m_track.bottom());
    canvas.LineTo(m_track.right(), m_track.top());
    if (hasFocus())
        DrawFocusMark(canvas);
}

// --- Start value, settings, stream ------------------------------------------------------------

void TSlider::ApplyStartValue()
{
    SetWert(Vorgabe);
}

void TSlider::SaveSettings(TIniFile& ini, const QString& path)
{
    ini.WriteFloat(path + QLatin1Char('.') + ElementName, QStringLiteral("Value"), double(GetWert()));
}

bool TSlider::LoadSettings(TIniFile& ini, const QString& path, bool checkOnly)
{
    const QString section = path + QLatin1Char('.') + ElementName;
    if (checkOnly)
        return ini.ValueExists(section, QStringLiteral("Value"));
    SetWert(ini.ReadFloat(section, QStringLiteral("Value"), Vorgabe));
    return true;
}

void TSlider::WriteElementData(TWriter& writer)
{
    TFP_Element::WriteElementData(writer);
    writer.WriteRawInt32(SkalenFarbe);
    writer.WriteRawInt32(HintergrundFarbe);
    writer.WriteRawByte(GanzWert ? 1 : 0);
    writer.WriteRawInt16(MaxWert);
    writer.WriteRawInt16(MinWert);
    writer.WriteRawByte(Senkrecht ? 1 : 0);
    writer.WriteRawInt16(int16_t(height()));
    writer.WriteRawInt16(int16_t(width()));
    writer.WriteInteger(Vorgabe);
    writer.WriteInteger(Charakteristik);
    writer.WriteInteger(Skalenart);
    writer.WriteInteger(Teilungen);
    writer.WriteInteger(SkalenStart);
    writer.WriteInteger(Abstand);
    writer.WriteBoolean(Einrasten);
}

void TSlider::ReadElementData(TReader& reader, uint8_t version)
{
    TFP_Element::ReadElementData(reader, version);
    const int32_t scaleColour = reader.ReadRawInt32();
    const int32_t background = reader.ReadRawInt32();
    GanzWert = reader.ReadRawByte() != 0;
    const int16_t hi = reader.ReadRawInt16();
    const int16_t lo = reader.ReadRawInt16();
    const bool vertical = reader.ReadRawByte() != 0;
    const int h = std::max<int>(reader.ReadRawInt16(), 0);
    const int w = std::max<int>(reader.ReadRawInt16(), 0);
    Vorgabe = int16_t(reader.ReadInteger());
    if (version >= 3) {
        Charakteristik = uint8_t(std::clamp(reader.ReadInteger(), 0, 2));
        Skalenart = uint8_t(std::clamp(reader.ReadInteger(), 0, 3));
        Teilungen = int16_t(std::clamp(reader.ReadInteger(), 1, 100));
        SkalenStart = int16_t(std::clamp(reader.ReadInteger(), 0, 100));
        Abstand = int16_t(std::clamp(reader.ReadInteger(), 1, 100));
        Einrasten = reader.ReadBoolean();
    }
    SetSkalenFarbe(scaleColour);
    SetHintergrundFarbe(background);
    SetMaxWert(hi);
    SetMinWert(lo);
    SetSenkrecht(vertical);
    m_layingOut = true;
    resize(w, h);
    m_layingOut = false;
    ComputeTrack();
    ApplyStartValue();
}

// --- Dialog -----------------------------------------------------------------------------------

int TSlider::EditProperties()
{
    TDefault_Dlg& dlg = Default_Dlg();
    dlg.setWindowTitle(Hint);
    dlg.HelpContext = BisteDigital ? 18115 : 18155;
    TPropScrollbox& sheet = *dlg.PropScrollbox;
    QString from = QString::number(MinWert);
    QString to = QString::number(MaxWert);
    if (!BisteDigital)
        sheet.AddRangeProp(Tr("Bereich"), from, to);
    bool whole = GanzWert;
    sheet.AddCheckProp(Tr("Ganze Werte"), whole);
    QString start = QString::number(Vorgabe);
    sheet.AddEditProp(Tr("Vorgabe"), start, 0, 64);
    int32_t taper = Charakteristik;
    const QString log = Tr("Logarithmisch") + u' ';
    sheet.AddComboProp(Tr("Charakteristik"), taper, {Tr("Linear"), log + Tr("Auf"), log + Tr("Ab")}, 120);
    bool vertical = Senkrecht;
    sheet.AddCheckProp(Tr("Senkrecht"), vertical);
    sheet.AddCaptionProp(Tr("Knopf"));
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
    const bool withBackground = !BackgroundFromPanel && !GetBisteTransparent();
    AddOptionRows(*this, sheet, withBackground ? &background : nullptr);
    const int result = dlg.Execute();
    if (result == 1) {
        if (withBackground)
            SetHintergrundFarbe(background);
        Charakteristik = uint8_t(taper);
        Skalenart = uint8_t(scale);
        GanzWert = whole;
        // The three numbers are taken only together, whole and with a range between them.
        bool okLo = false, okHi = false, okStart = false;
        const int lo = from.trimmed().toShort(&okLo);
        const int hi = to.trimmed().toShort(&okHi);
        const int first0 = start.trimmed().toShort(&okStart);
        if (!okLo || !okHi || !okStart || lo == hi) {
            ShowMessage(Lang3Q("Bereich und Vorgabe müssen verschiedene ganze Zahlen sein; sie bleiben unverändert.",
                               "Range and start value must be different whole numbers; they stay unchanged.",
                               "La plage et la valeur initiale doivent être des nombres entiers différents ; "
                               "elles restent inchangées."));
        } else {
            SetMinWert(lo);
            SetMaxWert(hi);
            Vorgabe = int16_t(std::min(std::max(first0, int(MinWert)), int(MaxWert)));
        }
        if (userEdit)
            ApplyStartValue();
        Teilungen = int16_t(divisions);
        Abstand = int16_t(spacing);
        SkalenStart = int16_t(first);
        Einrasten = snap;
        SetSenkrecht(vertical);
        Relayout();
        update();
    }
    return result;
}

// --- Web --------------------------------------------------------------------------------------

void TSlider::WriteWebElement(QStringList& lines)
{
    WriteMapElementPage(*this, lines);
}

void TSlider::WriteWebSnapshot(QStringList& lines)
{
    WriteWebImageMap(lines);
}

void TSlider::WriteWebImageMap(QStringList& lines)
{
    WriteMapPicture(*this, lines);
    const double k = (m_p1 - m_p0) / 21.0;
    for (int i = 0; i <= 20; ++i) {
        const int a = int(RoundHalfEven(i * k));
        const int b = int(RoundHalfEven((i + 1) * k));
        const QRect area = Senkrecht ? QRect(QPoint(0, m_p1 - b), QPoint(width(), m_p1 - a))
                                     : QRect(QPoint(m_p0 + a, 0), QPoint(m_p0 + b, height()));
        lines << WriteWebAreaRect(100 + i, QRect(area.topLeft(), area.size() - QSize(1, 1)),
                                  QString::number(RoundHalfEven(i / 20.0 * 100)) + u'%');
    }
    lines << QStringLiteral("</map>");
}

void TSlider::WebAction(int32_t action)
{
    if (action >= 100 && action <= 120)
        SetStellung(int(RoundHalfEven((m_p1 - m_p0) / 20.0 * (action - 100) + m_p0)));
    else
        TFP_Element::WebAction(action);
}
