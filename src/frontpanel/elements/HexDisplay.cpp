#include "frontpanel/elements/HexDisplay.h"

#include "frontpanel/elements/PanelRepaint.h"
#include "core/model/Translator.h"
#include "platform/Canvas.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

THexDisplay::THexDisplay(QWidget* owner)
    : TFP_Element(owner)
{
    BevelOuter = bvLowered;
    BevelWidth = 1;
    resize(21, 26);
    HintergrundFarbe = 0;
    ColorFromPanel = true;
    Hint = Lang3Q("HEX-Display", "HEX display", "Afficheur HEX");
}

void THexDisplay::SetStand(int32_t v)
{
    Stand = v;
    RequestRepaint(*this);
}

void THexDisplay::SetZeichenFarbe(int32_t c)
{
    ZeichenFarbe = c;
    update();
}

QChar THexDisplay::Character() const
{
    if (Stand >= 0 && Stand <= 15)
        return QLatin1Char("0123456789ABCDEF"[Stand]);
    return Shown;
}

void THexDisplay::Paint(TCanvas& canvas)
{
    TFP_Element::Paint(canvas);
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    canvas.Font = font;
    canvas.SetFontHeight(std::max(1, height() - 2 * FrameWidth()));
    canvas.FontColor = ZeichenFarbe;
    canvas.TransparentText = true;
    Shown = Character();
    const QString text(Shown);
    canvas.TextOut((width() - canvas.TextWidth(text)) / 2, (height() - canvas.TextHeight(text)) / 2, text);
}

void THexDisplay::WriteElementData(TWriter& writer)
{
    TFP_Element::WriteElementData(writer);
    writer.WriteRawInt32(ZeichenFarbe);
    writer.WriteRawInt32(HintergrundFarbe);
}

void THexDisplay::ReadElementData(TReader& reader, uint8_t version)
{
    TFP_Element::ReadElementData(reader, version);
    ZeichenFarbe = reader.ReadRawInt32();
    HintergrundFarbe = reader.ReadRawInt32();
    update();
}

int THexDisplay::EditProperties()
{
    TDefault_Dlg& dlg = Default_Dlg();
    dlg.setWindowTitle(Hint);
    dlg.HelpContext = 18040;
    TPropScrollbox& sheet = *dlg.PropScrollbox;
    int32_t colour = ZeichenFarbe;
    int32_t background = HintergrundFarbe;
    sheet.AddColorProp(Translate(QStringLiteral("Farbe")), colour);
    if (!BackgroundFromPanel)
        sheet.AddColorProp(Translate(QStringLiteral("Hintergrund")), background);
    sheet.AddEditProp(Translate(QStringLiteral("Hinweistext")), Hint, 0, 190);
    if (userEdit)
        sheet.AddCheckProp(Translate(QStringLiteral("Zur Laufzeit einstellbar")), LaufzeitEinstellbar);
    const int result = dlg.Execute();
    if (result == 1) {
        SetZeichenFarbe(colour);
        if (!BackgroundFromPanel)
            SetHintergrundFarbe(background);
    }
    return result;
}
