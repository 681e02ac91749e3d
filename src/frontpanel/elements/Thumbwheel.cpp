#include "frontpanel/elements/Thumbwheel.h"

#include "frontpanel/elements/OperatorTools.h"
#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"
#include "widgets/Gradient.h"

#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>

using namespace operator_tools;

TRaendelFace::TRaendelFace(TFPRaendel* owner)
    : QWidget(owner)
    , m_owner(owner)
{
    setCursor(Qt::PointingHandCursor);
}

void TRaendelFace::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    m_owner->PaintKnurl(painter);
}

void TRaendelFace::mousePressEvent(QMouseEvent* event)
{
    m_owner->FacePress(*event);
}

void TRaendelFace::mouseMoveEvent(QMouseEvent* event)
{
    m_owner->FaceMove(*event);
}

void TRaendelFace::mouseReleaseEvent(QMouseEvent* event)
{
    m_owner->FaceRelease(*event);
}

void TRaendelFace::mouseDoubleClickEvent(QMouseEvent*)
{
    m_owner->DblClickEdit();
}

TFPRaendel::TFPRaendel(QWidget* owner)
    : TFP_Element(owner)
{
    BevelOuter = bvLowered;
    BevelInner = bvNone;
    BevelWidth = 1;
    BorderWidth = 1;
    ColorFromPanel = false;
    Color = 0;
    BackgroundFromPanel = false;
    HintergrundFarbe = 8421504;
    Face = new TRaendelFace(this);
    resize(16, 32);
    Face->setGeometry(rect());
    Hint = Lang3Q("Einstellrad", "Thumbwheel", "Molette");
    AddActionHotkeys(*this, [this](int action) { HotkeyAction(action); });
    ActionNames = {QStringLiteral(" ---"), QStringLiteral("= INC"), QStringLiteral("= DEC")};
    setFocusPolicy(Qt::StrongFocus);
}

void TFPRaendel::resizeEvent(QResizeEvent* event)
{
    TFP_Element::resizeEvent(event);
    Face->setGeometry(rect());
}

void TFPRaendel::MovePhase(int delta)
{
    Phase += delta;
    if (Phase >= Pitch)
        Phase = 0;
    else if (Phase < 1 && delta < 0)
        Phase = Pitch;
    Face->update();
}

void TFPRaendel::TurnUp()
{
    Events.push_back(true);
    MovePhase(Waagerecht ? 1 : -1);
}

void TFPRaendel::TurnDown()
{
    Events.push_back(false);
    MovePhase(Waagerecht ? -1 : 1);
}

void TFPRaendel::HotkeyAction(int action)
{
    if (action == 1)
        TurnUp();
    else if (action == 2)
        TurnDown();
}

// --- Operator input ---------------------------------------------------------------------------

void TFPRaendel::FacePress(QMouseEvent& event)
{
    const bool left = event.button() == Qt::LeftButton;
    if (left)
        Face->setCursor(Qt::BlankCursor);
    if (IgnoreNextPress) {
        IgnoreNextPress = false;
        return;
    }
    ClickFocus();
    if (left) {
        Dragging = true;
        LastPoint = PressPoint = event.position().toPoint();
    }
}

void TFPRaendel::FaceMove(QMouseEvent& event)
{
    if (!Dragging)
        return;
    const QPoint at = event.position().toPoint();
    if (Waagerecht) {
        if (at.x() < LastPoint.x())
            TurnDown();
        else if (at.x() > LastPoint.x())
            TurnUp();
    } else {
        if (at.y() < LastPoint.y())
            TurnUp();
        else if (at.y() > LastPoint.y())
            TurnDown();
    }
    LastPoint = at;
}

void TFPRaendel::FaceRelease(QMouseEvent& event)
{
    ClickFocus();
    if (event.button() != Qt::LeftButton)
        return;
    if (Dragging) {
        const int f = FrameWidth();
        QCursor::setPos(Face->mapToGlobal(PressPoint) + QPoint(f, f));
        // The pointer is back where the drag began: the next move compares from there.
        LastPoint = PressPoint;
    }
    Dragging = false;
    Face->setCursor(Qt::PointingHandCursor);
}

void TFPRaendel::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    if (delta > 0)
        TurnUp();
    else if (delta < 0)
        TurnDown();
    event->accept();
}

void TFPRaendel::keyPressEvent(QKeyEvent* event)
{
    switch (OperatingKeyOf(*event)) {
    case okUp:
    case okHome: TurnUp(); break;
    case okDown:
    case okEnd: TurnDown(); break;
    case okNone: TFP_Element::keyPressEvent(event); break;
    }
}

// --- Painting ---------------------------------------------------------------------------------

void TFPRaendel::Paint(TCanvas& canvas)
{
    TFP_Element::Paint(canvas);
    if (!GetBisteTransparent()) {
        const int f = FrameWidth();
        const int32_t c = HintergrundFarbe;
        const int32_t light = ScaleColor(c, 1.8);
        if (Waagerecht) {
            FillGradient(canvas, f, f, width() / 2, height() - f, c, light, true);
            FillGradient(canvas, width() / 2, f, width() - f, height() - f, light, c, true);
        } else {
            FillGradient(canvas, f, f, width() - f, height() / 2, c, light, false);
            FillGradient(canvas, f, height() / 2, width() - f, height() - f, light, c, false);
        }
    }
    if (hasFocus())
        DrawFocusMark(canvas);
}

void TFPRaendel::PaintKnurl(QPainter& painter)
{
    Pitch = 4;
    painter.setPen(QColor(RaendelFarbe & 0xFF, (RaendelFarbe >> 8) & 0xFF, (RaendelFarbe >> 16) & 0xFF));
    if (Waagerecht) {
        for (int k = 0; k <= width() / Pitch; ++k)
            painter.drawLine(k * Pitch + Phase, 0, k * Pitch + Phase, height());
    } else {
        for (int k = 0; k <= height() / Pitch; ++k)
            painter.drawLine(0, k * Pitch + Phase, width(), k * Pitch + Phase);
    }
}

// --- Stream, dialog ---------------------------------------------------------------------------

void TFPRaendel::WriteElementData(TWriter& writer)
{
    TFP_Element::WriteElementData(writer);
    writer.WriteRawInt16(int16_t(height()));
    writer.WriteRawInt16(int16_t(width()));
    writer.WriteInteger(RaendelFarbe);
    writer.WriteBoolean(Waagerecht);
}

void TFPRaendel::ReadElementData(TReader& reader, uint8_t version)
{
    TFP_Element::ReadElementData(reader, version);
    const int h = std::max<int>(reader.ReadRawInt16(), 0);
    const int w = std::max<int>(reader.ReadRawInt16(), 0);
    RaendelFarbe = reader.ReadInteger();
    Waagerecht = reader.ReadBoolean();
    resize(w, h);
    Face->setGeometry(rect());
    update();
}

int TFPRaendel::EditProperties()
{
    IgnoreNextPress = true;
    TDefault_Dlg& dlg = Default_Dlg();
    dlg.setWindowTitle(Hint);
    dlg.HelpContext = 18135;
    TPropScrollbox& sheet = *dlg.PropScrollbox;
    int32_t knurl = RaendelFarbe;
    sheet.AddColorProp(Tr("Rändelung"), knurl);
    int32_t wheel = HintergrundFarbe;
    const bool withWheel = !BackgroundFromPanel && !GetBisteTransparent();
    if (withWheel)
        sheet.AddColorProp(Tr("Rad"), wheel);
    bool horizontal = Waagerecht;
    sheet.AddCheckProp(Tr("Waagerecht"), horizontal);
    AddHotkeyRows(*this, sheet, ActionNames);
    AddOptionRows(*this, sheet, nullptr);
    const int result = dlg.Execute();
    if (result == 1) {
        RaendelFarbe = knurl;
        if (withWheel)
            SetHintergrundFarbe(wheel);
        if (horizontal != Waagerecht) {
            Waagerecht = horizontal;
            resize(height(), width());
            Face->setGeometry(rect());
        }
    }
    update();
    Face->update();
    return result;
}

// --- Web --------------------------------------------------------------------------------------

void TFPRaendel::WriteWebElement(QStringList& lines)
{
    WriteMapElementPage(*this, lines);
}

void TFPRaendel::WriteWebSnapshot(QStringList& lines)
{
    WriteWebImageMap(lines);
}

void TFPRaendel::WriteWebImageMap(QStringList& lines)
{
    WriteMapPicture(*this, lines);
    const int w = width(), h = height();
    const QRect up = Waagerecht ? QRect(QPoint(w / 2, 0), QSize(w - w / 2, h)) : QRect(0, 0, w, h / 2);
    const QRect down = Waagerecht ? QRect(0, 0, w / 2, h) : QRect(QPoint(0, h / 2), QSize(w, h - h / 2));
    lines << WriteWebAreaRect(4, up, QStringLiteral("UP"));
    lines << WriteWebAreaRect(5, down, QStringLiteral("DOWN"));
    lines << QStringLiteral("</map>");
}

void TFPRaendel::WebAction(int32_t action)
{
    if (action == 4)
        TurnUp();
    else if (action == 5)
        TurnDown();
}
