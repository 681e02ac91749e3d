#include "frontpanel/Led.h"

#include "core/model/Translator.h"
#include "frontpanel/LedShape.h"
#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "platform/Filer.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

#include <QMouseEvent>

#include <algorithm>

namespace {
constexpr int32_t kLedOff = 0x808080;
} // namespace

TPLED::TPLED(QWidget* owner)
    : TFP_Element(owner)
{
    resize(16, 16);
    BorderWidth = 1;
    Hint = QStringLiteral("LED");
    SetBisteTransparent(true);
    // A font of its own: later changes of the page's font do not reach it.
    QFont own = font();
    own.setFamily(own.family());
    if (own.pixelSize() > 0)
        own.setPixelSize(own.pixelSize());
    else
        own.setPointSizeF(own.pointSizeF());
    setFont(own);
    setMouseTracking(true);
}

TDuoLED::TDuoLED(QWidget* owner)
    : TPLED(owner)
{
    IstDuoLED = true;
    Hint = QStringLiteral("Duo-LED");
}

TRGBLED::TRGBLED(QWidget* owner)
    : TPLED(owner)
{
    IstRGBLED = true;
    Hint = QStringLiteral("RGB-LED");
}

// --- State ----------------------------------------------------------------------------------

void TPLED::SetEingeschaltet(bool on)
{
    if (on == Eingeschaltet)
        return;
    Eingeschaltet = on;
    update();
}

void TPLED::SetDuoLEDStatus(uint8_t status)
{
    if (status > 3)
        status = 0;
    // Called on every step while running; repaint only on a change.
    if (status == DuoLEDStatus && Eingeschaltet == (status != 0))
        return;
    DuoLEDStatus = status;
    Eingeschaltet = status != 0;
    update();
}

void TPLED::SetRGBFarbe(int32_t color)
{
    if (color == RGBFarbe)
        return;
    RGBFarbe = color;
    update();
}

int32_t TPLED::GetLEDColor() const
{
    if (IstRGBLED)
        return RGBFarbe;
    if (!Eingeschaltet)
        return kLedOff;
    switch (DuoLEDStatus) {
    case 1:
        return FarbeLED1;
    case 2:
        return FarbeLED2;
    case 3:
        return FarbeLED12;
    default:
        return kLedOff;
    }
}

Extended TPLED::AspectRatio() const
{
    return LEDStil == lsRound ? 1.0L : 0.0L;
}

// --- Painting -------------------------------------------------------------------------------

void TPLED::Paint(TCanvas& canvas)
{
    TFP_Element::Paint(canvas);
    const int f = FrameWidth();
    const TRect r{f, f, width() - f, height() - f};
    canvas.Pen = TCanvasPen{clSilver, 1, Qt::SolidLine, TPenMode::Copy};
    canvas.Brush = TCanvasBrush{GetLEDColor(), Qt::SolidPattern};
    DrawLEDShape(canvas, r, LEDStil, font(), FontColor, LEDText);
}

// --- Stream ---------------------------------------------------------------------------------

void TPLED::WriteElementData(TWriter& writer)
{
    TFP_Element::WriteElementData(writer);
    writer.WriteRawInt32(FarbeLED1);
    writer.WriteRawInt32(Color);
    writer.WriteRawByte(LEDStil);
    writer.WriteRawInt16(0);
    writer.WriteRawInt32(FarbeLED2);
    writer.WriteRawInt32(FarbeLED12);
    writer.WriteString(LEDText);
    const QFont f = font();
    writer.WriteString(f.family());
    writer.WriteInteger(FontHeightOf(f));
    writer.WriteBoolean(f.bold());
    writer.WriteBoolean(f.italic());
    writer.WriteBoolean(f.underline());
    writer.WriteBoolean(f.strikeOut());
    writer.WriteInteger(FontColor);
}

void TPLED::ReadElementData(TReader& reader, uint8_t version)
{
    TFP_Element::ReadElementData(reader, version);
    FarbeLED1 = reader.ReadRawInt32();
    const int32_t color = reader.ReadRawInt32();
    if (color >= 0)
        Color = color;
    LEDStil = reader.ReadRawByte();
    if (LEDStil > lsTextOnly)
        LEDStil = lsRound;  // no such shape: the dialog could not show it
    const int legacySize = std::max<int>(0, reader.ReadRawInt16());
    if (version >= 3) {
        FarbeLED2 = reader.ReadRawInt32();
        FarbeLED12 = reader.ReadRawInt32();
    }
    if (version >= 40) {
        LEDText = reader.ReadString();
        QFont f = font();
        const QString family = reader.ReadString();
        if (!family.isEmpty())
            f.setFamily(family);
        SetFontHeight(f, reader.ReadInteger());
        f.setBold(reader.ReadBoolean());
        f.setItalic(reader.ReadBoolean());
        f.setUnderline(reader.ReadBoolean());
        f.setStrikeOut(reader.ReadBoolean());
        FontColor = reader.ReadInteger();
        setFont(f);
    } else {
        switch (LEDStil) {
        case lsRound:
            resize(legacySize, legacySize);
            break;
        case lsSquare:
            resize(legacySize, legacySize / 2);
            break;
        case lsTriangleUp:
            resize(legacySize / 2, legacySize);
            LEDStil = lsSquare;
            break;
        default:
            break;
        }
    }
    update();
}

// --- Dialog ---------------------------------------------------------------------------------

int TPLED::EditProperties()
{
    TDefault_Dlg& dlg = Default_Dlg();
    dlg.setWindowTitle(Hint);
    dlg.HelpContext = IstDuoLED ? 18010 : IstRGBLED ? 18012 : 18005;
    TPropScrollbox& sheet = *dlg.PropScrollbox;
    const QString colour = Translate(QStringLiteral("Farbe"));
    if (IstDuoLED) {
        sheet.AddColorProp(colour + QStringLiteral(" [LED1]"), FarbeLED1);
        sheet.AddColorProp(colour + QStringLiteral(" [LED2]"), FarbeLED2);
        sheet.AddColorProp(colour + QStringLiteral(" [LED1 + LED2]"), FarbeLED12);
    } else {
        sheet.AddColorProp(colour, FarbeLED1);
    }
    int32_t background = HintergrundFarbe;
    if (!GetBisteTransparent() && !BackgroundFromPanel)
        sheet.AddColorProp(Translate(QStringLiteral("Hintergrund")), background);
    const QStringList styles = {
        Translate(QStringLiteral("Rund")),          Translate(QStringLiteral("Eckig")),
        Translate(QStringLiteral("Dreieck oben")),  Translate(QStringLiteral("Dreieck unten")),
        Translate(QStringLiteral("Dreieck links")), Translate(QStringLiteral("Dreieck rechts")),
        Translate(QStringLiteral("Leuchttext")),
    };
    int32_t style = LEDStil;
    sheet.AddComboProp(Translate(QStringLiteral("Stil")), style, styles, 190);
    sheet.AddCaptionProp(Translate(QStringLiteral("Text")));
    sheet.AddEditProp(Translate(QStringLiteral("Text")), LEDText, 0, 190);
    QFont textFont = font();
    sheet.AddFontNameProp(Translate(QStringLiteral("Schriftart")), textFont);
    sheet.AddFontStyleProp(Translate(QStringLiteral("Stil")), textFont);
    sheet.AddColorProp(colour, FontColor);
    sheet.AddCaptionProp(Translate(QStringLiteral("Optionen")));
    sheet.AddEditProp(Translate(QStringLiteral("Hinweistext")), Hint, 0, 190);
    if (userEdit)
        sheet.AddCheckProp(Translate(QStringLiteral("Zur Laufzeit einstellbar")),
                           LaufzeitEinstellbar);
    const int result = dlg.Execute();
    if (style >= lsRound && style <= lsTextOnly)
        LEDStil = static_cast<uint8_t>(style);
    if (result == 1) {
        SetHintergrundFarbe(background);
        setFont(textFont);
    }
    update();
    return result;
}

// --- Mouse sensors --------------------------------------------------------------------------

void TPLED::LEDMouseDown(Qt::MouseButton button)
{
    if (button == Qt::LeftButton)
        MausLinks = true;
    else if (button == Qt::RightButton)
        MausRechts = true;
}

void TPLED::LEDMouseUp(Qt::MouseButton button)
{
    if (button == Qt::LeftButton)
        MausLinks = false;
    else if (button == Qt::RightButton)
        MausRechts = false;
}

void TPLED::LEDMouseMove(QPoint p)
{
    // While a button is held the widget keeps the mouse (Qt's implicit grab), so moves
    // outside still arrive here.
    MausUeber = !(p.x() < 0 || p.y() < 0 || p.x() > width() || p.y() > height());
}

void TPLED::mousePressEvent(QMouseEvent* event)
{
    TFP_Element::mousePressEvent(event);
    LEDMouseDown(event->button());
}

void TPLED::mouseReleaseEvent(QMouseEvent* event)
{
    LEDMouseUp(event->button());
    LEDMouseMove(event->position().toPoint());
    TFP_Element::mouseReleaseEvent(event);
}

void TPLED::mouseMoveEvent(QMouseEvent* event)
{
    LEDMouseMove(event->position().toPoint());
    TFP_Element::mouseMoveEvent(event);
}

void TPLED::leaveEvent(QEvent* event)
{
    if (!MausLinks && !MausRechts)
        MausUeber = false;
    TFP_Element::leaveEvent(event);
}
