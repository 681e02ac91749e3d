#include "frontpanel/elements/FPJoystick.h"

#include "frontpanel/elements/OperatorTools.h"
#include "platform/Canvas.h"
#include "platform/Clock.h"
#include "platform/Colors.h"
#include "platform/Filer.h"
#include "platform/IniFile.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>

using namespace operator_tools;

namespace {

constexpr int kDetent = 5;
constexpr uint32_t kWebHoldMs = 251;

QColor Rgb(int32_t c)
{
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

int Round(double x)
{
    return int(RoundHalfEven(x));
}

} // namespace

TJoystickKnob::TJoystickKnob(TFPJoystick* owner)
    : QWidget(owner)
    , m_owner(owner)
{
    resize(15, 15);
    setCursor(Qt::PointingHandCursor);
}

void TJoystickKnob::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(Rgb(Farbe));
    p.drawEllipse(rect());
    p.setBrush(Qt::white);
    p.drawEllipse(QRect(QPoint(2, 2), QPoint(width() / 2, height() / 2)));
}

void TJoystickKnob::mousePressEvent(QMouseEvent* event)
{
    m_owner->KnobPress(*event);
}

void TJoystickKnob::mouseMoveEvent(QMouseEvent* event)
{
    m_owner->KnobMove(*event);
}

void TJoystickKnob::mouseReleaseEvent(QMouseEvent* event)
{
    m_owner->KnobRelease(*event);
}

void TJoystickKnob::mouseDoubleClickEvent(QMouseEvent*)
{
    m_owner->DblClickEdit();
}

TFPJoystick::TFPJoystick(QWidget* owner)
    : TFP_Element(owner)
{
    BevelOuter = bvRaised;
    BevelInner = bvLowered;
    BevelWidth = 1;
    BorderWidth = 6;
    BackgroundFromPanel = false;
    SetHintergrundFarbe(0);
    HLine = new QWidget(this);
    VLine = new QWidget(this);
    for (QWidget* line : {HLine, VLine}) {
        line->setAutoFillBackground(true);
        QPalette pal = line->palette();
        pal.setColor(QPalette::Window, QColor(128, 128, 128));
        line->setPalette(pal);
        line->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    Knopf = new TJoystickKnob(this);
    Hint = QStringLiteral("Joystick");
    AddActionHotkeys(*this, [this](int action) { HotkeyPressed(action); },
                     [this](int action) { HotkeyReleased(action); });
    ActionNames = {QStringLiteral(" ---"), QStringLiteral("= NUL"), QStringLiteral("= RST"),
                   QStringLiteral("= N"),   QStringLiteral("= NW"),  QStringLiteral("= W"),
                   QStringLiteral("= SW"),  QStringLiteral("= S"),   QStringLiteral("= SE"),
                   QStringLiteral("= E"),   QStringLiteral("= NE")};
    setFocusPolicy(Qt::StrongFocus);
    resize(96, 96);
    ComputeLimits();
    ApplyStartValue();
}

void TFPJoystick::ComputeLimits()
{
    const int f = FrameWidth();
    m_xmin = f + 10;
    m_xmax = width() - f - 10;
    m_ymin = f + 10;
    m_ymax = height() - f - 10;
}

void TFPJoystick::resizeEvent(QResizeEvent* event)
{
    TFP_Element::resizeEvent(event);
    ComputeLimits();
    ApplyStartValue();
}

QPoint TFPJoystick::ValueToPixel(QPoint v) const
{
    return QPoint(Round((v.x() + 100) / 200.0 * (m_xmax - m_xmin) + m_xmin),
                  Round((v.y() + 100) / 200.0 * (m_ymax - m_ymin) + m_ymin));
}

QPoint TFPJoystick::PixelToValue(QPoint px) const
{
    auto axis = [](int p, int lo, int hi) {
        const int centre = Round(lo + (hi - lo) * 0.5);
        if (p == centre || hi == lo)
            return 0;
        return std::clamp(Round(double(p - lo) / (hi - lo) * 200 - 100), -100, 100);
    };
    return QPoint(axis(px.x(), m_xmin, m_xmax), axis(px.y(), m_ymin, m_ymax));
}

QPoint TFPJoystick::KnobPixel() const
{
    return QPoint(Knopf->x() + Knopf->width() / 2, height() - Knopf->y() - Knopf->height() / 2);
}

void TFPJoystick::MoveKnob(QPoint px)
{
    const int py = std::clamp(px.y(), m_ymin, std::max(m_ymin, m_ymax));
    const int x = std::clamp(px.x(), m_xmin, std::max(m_xmin, m_xmax));
    Knopf->move(x - Knopf->width() / 2, height() - py - Knopf->height() / 2);
    HLine->setGeometry(m_xmin, height() - py, std::max(m_xmax - m_xmin, 0), 1);
    VLine->setGeometry(x, m_ymin, 1, std::max(m_ymax - m_ymin, 0));
}

QPoint TFPJoystick::GetPosition()
{
    const QPoint p = PixelToValue(KnobPixel());
    if (WebTime != 0 && Clock().TickCount() - WebTime >= kWebHoldMs) {
        if (AutoReturn)
            ApplyStartValue();
        WebTime = 0;
    }
    return p;
}

void TFPJoystick::SetPositionValue(int x, int y)
{
    MoveKnob(ValueToPixel(QPoint(std::clamp(x, -100, 100), std::clamp(y, -100, 100))));
}

void TFPJoystick::SetKnobColour(int32_t c)
{
    Knopf->Farbe = c;
    Knopf->update();
}

void TFPJoystick::ApplyStartValue()
{
    SetPositionValue(StartPosition.x(), StartPosition.y());
}

// --- Operator input ---------------------------------------------------------------------------

void TFPJoystick::KnobPress(QMouseEvent& event)
{
    if (event.button() == Qt::LeftButton)
        Dragging = true;
    ClickFocus();
    KnobHeld = true;
}

void TFPJoystick::KnobMove(QMouseEvent& event)
{
    if (!Dragging)
        return;
    const QPoint at = Knopf->mapToParent(event.position().toPoint());
    QPoint px(at.x(), height() - at.y());
    if (Mittelstellung) {
        const int cx = Round(m_xmin + (m_xmax - m_xmin) / 2.0);
        const int cy = Round(m_ymin + (m_ymax - m_ymin) / 2.0);
        if (std::abs(px.y() - cy) < kDetent)
            px.setY(cy);
        if (std::abs(px.x() - cx) < kDetent)
            px.setX(cx);
    }
    MoveKnob(ValueToPixel(PixelToValue(px)));
}

void TFPJoystick::KnobRelease(QMouseEvent& event)
{
    ClickFocus();
    if (event.button() == Qt::LeftButton)
        Dragging = false;
    if (AutoReturn)
        ApplyStartValue();
    KnobHeld = false;
}

void TFPJoystick::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y() > 0 ? 1 : event->angleDelta().y() < 0 ? -1 : 0;
    QPoint px = KnobPixel();
    if (event->modifiers() & Qt::ShiftModifier)
        px.rx() += delta;
    else
        px.ry() += delta;
    MoveKnob(px);
    event->accept();
}

void TFPJoystick::keyPressEvent(QKeyEvent* event)
{
    const TOperatingKey key = OperatingKeyOf(*event);
    if (key == okNone) {
        TFP_Element::keyPressEvent(event);
        return;
    }
    const bool across = event->modifiers() & Qt::ShiftModifier;
    QPoint px = KnobPixel();
    int& axis = across ? px.rx() : px.ry();
    switch (key) {
    case okUp: ++axis; break;
    case okDown: --axis; break;
    case okEnd: axis = across ? m_xmax : m_ymax; break;
    case okHome: axis = across ? m_xmin : m_ymin; break;
    case okNone: break;
    }
    MoveKnob(px);
}

void TFPJoystick::HotkeyPressed(int action)
{
    static const QPoint directions[] = {{0, 100},   {-100, 100}, {-100, 0}, {-100, -100},
                                        {0, -100},  {100, -100}, {100, 0},  {100, 100}};
    if (action == 1)
        SetPositionValue(0, 0);
    else if (action == 2)
        ApplyStartValue();
    else if (action >= 3 && action <= 10)
        SetPositionValue(directions[action - 3].x(), directions[action - 3].y());
}

void TFPJoystick::HotkeyReleased(int action)
{
    if (AutoReturn && (action == 1 || (action >= 3 && action <= 10)))
        ApplyStartValue();
}

void TFPJoystick::Paint(TCanvas& canvas)
{
    TFP_Element::Paint(canvas);
    if (hasFocus())
        DrawFocusMark(canvas);
}

// --- Settings, stream -------------------------------------------------------------------------

void TFPJoystick::SaveSettings(TIniFile& ini, const QString& path)
{
    const QString section = path + QLatin1Char('.') + ElementName;
    const QPoint p = GetPosition();
    ini.WriteInteger(section, QStringLiteral("ValueX"), p.x());
    ini.WriteInteger(section, QStringLiteral("ValueY"), p.y());
}

bool TFPJoystick::LoadSettings(TIniFile& ini, const QString& path, bool checkOnly)
{
    const QString section = path + QLatin1Char('.') + ElementName;
    if (checkOnly)
        return ini.ValueExists(section, QStringLiteral("ValueX")) &&
               ini.ValueExists(section, QStringLiteral("ValueY"));
    SetPositionValue(ini.ReadInteger(section, QStringLiteral("ValueX"), StartPosition.x()),
                     ini.ReadInteger(section, QStringLiteral("ValueY"), StartPosition.y()));
    return true;
}

void TFPJoystick::WriteElementData(TWriter& writer)
{
    TFP_Element::WriteElementData(writer);
    writer.WriteRawInt16(int16_t(height()));
    writer.WriteRawInt16(int16_t(width()));
    writer.WriteInteger(StartPosition.x());
    writer.WriteInteger(StartPosition.y());
    writer.WriteBoolean(Mittelstellung);
    writer.WriteBoolean(AutoReturn);
    writer.WriteInteger(Knopf->Farbe);
}

void TFPJoystick::ReadElementData(TReader& reader, uint8_t version)
{
    TFP_Element::ReadElementData(reader, version);
    const int h = std::max<int>(reader.ReadRawInt16(), 0);
    const int w = std::max<int>(reader.ReadRawInt16(), 0);
    const int x = reader.ReadInteger();
    const int y = reader.ReadInteger();
    StartPosition = QPoint(std::clamp(x, -100, 100), std::clamp(y, -100, 100));
    Mittelstellung = reader.ReadBoolean();
    AutoReturn = reader.ReadBoolean();
    SetKnobColour(reader.ReadInteger());
    resize(w, h);
    ComputeLimits();
    ApplyStartValue();
}

int TFPJoystick::EditProperties()
{
    TDefault_Dlg& dlg = Default_Dlg();
    dlg.setWindowTitle(Hint);
    dlg.HelpContext = 18175;
    TPropScrollbox& sheet = *dlg.PropScrollbox;
    int32_t colour = Knopf->Farbe;
    sheet.AddColorProp(Tr("Farbe"), colour);
    int32_t background = HintergrundFarbe;
    if (!BackgroundFromPanel)
        sheet.AddColorProp(Tr("Hintergrund"), background);
    int32_t x = StartPosition.x(), y = StartPosition.y();
    sheet.AddSpinProp(Tr("Vorgabe") + QStringLiteral(" [X]"), x, -100, 100, 64);
    sheet.AddSpinProp(Tr("Vorgabe") + QStringLiteral(" [Y]"), y, -100, 100, 64);
    bool detent = Mittelstellung, autoReturn = AutoReturn;
    sheet.AddCheckProp(Tr("Mittelstellung einrastend"), detent);
    sheet.AddCheckProp(Tr("Automatische Rückstellung"), autoReturn);
    AddHotkeyRows(*this, sheet, ActionNames);
    AddOptionRows(*this, sheet, nullptr);
    const int result = dlg.Execute();
    if (result == 1) {
        SetKnobColour(colour);
        if (!BackgroundFromPanel)
            SetHintergrundFarbe(background);
        StartPosition = QPoint(std::clamp(x, -100, 100), std::clamp(y, -100, 100));
        Mittelstellung = detent;
        AutoReturn = autoReturn;
    }
    return result;
}

// --- Web --------------------------------------------------------------------------------------

void TFPJoystick::WriteWebElement(QStringList& lines)
{
    WriteMapElementPage(*this, lines);
}

void TFPJoystick::WriteWebSnapshot(QStringList& lines)
{
    WriteWebImageMap(lines);
}

void TFPJoystick::WriteWebImageMap(QStringList& lines)
{
    WriteMapPicture(*this, lines);
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 5; ++c) {
            const QPoint a(Round(c * width() / 5.0), Round(r * height() / 5.0));
            const QPoint b(Round((c + 1) * width() / 5.0), Round((r + 1) * height() / 5.0));
            lines << WriteWebAreaRect(100 + 5 * r + c, QRect(a, QSize(b.x() - a.x(), b.y() - a.y())), QString());
        }
    lines << QStringLiteral("</map>");
}

void TFPJoystick::WebAction(int32_t action)
{
    if (action < 100 || action > 124) {
        TFP_Element::WebAction(action);
        return;
    }
    WebTime = Clock().TickCount();
    if (WebTime == 0)
        WebTime = 1;
    const int r = (action - 100) / 5 - 2;
    const int c = (action - 100) % 5 - 2;
    SetPositionValue(Round(c / 2.0 * 100), -Round(r / 2.0 * 100));
}
