#include "frontpanel/elements/Lampe.h"

#include "core/model/Translator.h"
#include "frontpanel/elements/LampWidget.h"
#include "platform/Canvas.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

#include <algorithm>
#include <cmath>

namespace {

int Channel(int32_t color, int shift)
{
    return (color >> shift) & 0xFF;
}

int32_t Rgb(int r, int g, int b)
{
    return r | (g << 8) | (b << 16);
}

} // namespace

TPLampe::TPLampe(QWidget* owner)
    : TFP_Element(owner)
{
    resize(32, 32);
    setMinimumSize(16, 16);
    Lampe = new TITemboLED(this);
    Lampe->SetLedPlasticDepth(1);
    Lampe->FillsParent = true;
    Lampe->FollowParent();
    // The mouse reaches the element beneath (selection, double-click).
    Lampe->setAttribute(Qt::WA_TransparentForMouseEvents);
    Hint = Lang3Q("Plastiklampe", "Plastic lamp", "Lampe plastique");
    GrundFarbe = Lampe->LedPlasticColor();
}

TPLampe::~TPLampe() = default;

int32_t TPLampe::ColorAt(Extended x) const
{
    const Extended n = NennSpannung;
    x = std::fabs(x);
    if (x > 2 * n)
        x = 2 * n;
    if (!(x >= 0))
        x = 0;
    const int r = Channel(GrundFarbe, 0);
    const int g = Channel(GrundFarbe, 8);
    const int b = Channel(GrundFarbe, 16);
    // A lamp without a nominal voltage shows its base colour.
    if (!(n > 0))
        return GrundFarbe & 0xFFFFFF;
    if (x <= n) {
        Extended k = x / n;
        if (k < 0.5L)
            k = 0.3L;
        auto ch = [k](int c) { return std::max(0, int(std::nearbyint(double(c * k)))); };
        return Rgb(ch(r), ch(g), ch(b));
    }
    const int headroom = 255 - std::max({r, g, b});
    const double over = double((x - n) / n);
    auto ch = [&](int c) { return std::min(255, int(std::nearbyint(c + headroom * over))); };
    return Rgb(ch(r), ch(g), ch(b));
}

void TPLampe::SetIstSpannung(Extended x)
{
    x = std::fabs(x);
    if (x > 2 * NennSpannung)
        x = 2 * NennSpannung;
    if (!(x >= 0))
        x = 0;
    if (x == m_last)
        return;
    m_last = x;
    IstSpannung = x;
    Eingeschaltet = true;
    Lampe->SetLedOn(true);
    Lampe->SetLedPlasticColor(ColorAt(x));
    Lampe->update();
}

void TPLampe::SetNennSpannung(Extended x)
{
    NennSpannung = x;
    // Recoloured even when the voltage applied is unchanged.
    m_last = -1.0L;
    SetIstSpannung(x);
    Lampe->update();
}

void TPLampe::SetEingeschaltet(bool on)
{
    if (on == Eingeschaltet)
        return;
    Eingeschaltet = on;
    Lampe->SetLedOn(on);
    Lampe->update();
}

void TPLampe::Paint(TCanvas& canvas)
{
    TFP_Element::Paint(canvas);
    Lampe->update();
}

void TPLampe::resizeEvent(QResizeEvent* event)
{
    TFP_Element::resizeEvent(event);
    if (Lampe)
        Lampe->FollowParent();
}

void TPLampe::WriteElementData(TWriter& writer)
{
    TFP_Element::WriteElementData(writer);
    writer.WriteInteger(width());
    writer.WriteInteger(height());
    writer.WriteRawInt32(GrundFarbe);
    writer.WriteRawByte(Lampe->LedClass());
    writer.WriteInteger(Lampe->Angle());
    writer.WriteInteger(Lampe->OuterBorderDepth());
    writer.WriteRawByte(Lampe->OuterBorderStyle());
    writer.WriteFloat(NennSpannung);
}

void TPLampe::ReadElementData(TReader& reader, uint8_t version)
{
    TFP_Element::ReadElementData(reader, version);
    const int32_t w = reader.ReadInteger();
    const int32_t h = reader.ReadInteger();
    resize(std::clamp(w, 0, 32767), std::clamp(h, 0, 32767));
    GrundFarbe = reader.ReadRawInt32();
    // Out of the element's alignment while the widget takes its shape.
    Lampe->FillsParent = false;
    const uint8_t shape = reader.ReadRawByte();
    Lampe->SetLedClass(TIxLedClass(shape <= ixlcTrapezium ? shape : uint8_t(ixlcRect)));
    Lampe->SetAngle(reader.ReadInteger());
    Lampe->SetOuterBorderDepth(reader.ReadInteger());
    const uint8_t style = reader.ReadRawByte();
    Lampe->SetOuterBorderStyle(TIxBorderLedStyle(style <= ixblsNone ? style : uint8_t(ixblsNone)));
    Lampe->FillsParent = true;
    Lampe->FollowParent();
    if (version > 2)
        SetNennSpannung(reader.ReadFloat());
    update();
}

int TPLampe::EditProperties()
{
    TDefault_Dlg& dlg = Default_Dlg();
    dlg.setWindowTitle(Hint);
    dlg.HelpContext = 18015;
    TPropScrollbox& sheet = *dlg.PropScrollbox;
    QString voltage = FloatToText(NennSpannung);
    sheet.AddEditProp(Translate(QStringLiteral("Spannung")) + QStringLiteral(" [V]"), voltage, 0, 64);
    int32_t colour = GrundFarbe;
    sheet.AddColorProp(Translate(QStringLiteral("Farbe")), colour);
    int32_t shape = Lampe->LedClass();
    sheet.AddComboProp(Translate(QStringLiteral("Form")), shape,
                       {Translate(QStringLiteral("Rechteck")), Translate(QStringLiteral("Kreis")),
                        Translate(QStringLiteral("Raute")), Translate(QStringLiteral("Halbkreis")),
                        Translate(QStringLiteral("Dreieck")), Translate(QStringLiteral("Trapez"))},
                       120);
    int32_t turn = Lampe->Angle() / 900;
    while (turn < 0)
        turn += 4;
    sheet.AddComboProp(Translate(QStringLiteral("Drehung")), turn,
                       {QStringLiteral("0°"), QStringLiteral("90°"), QStringLiteral("180°"),
                        QStringLiteral("270°")},
                       64);
    sheet.AddCaptionProp(Translate(QStringLiteral("Rand")));
    int32_t style = Lampe->OuterBorderStyle();
    sheet.AddComboProp(Translate(QStringLiteral("Stil")), style,
                       {Translate(QStringLiteral("Erhöhung")), Translate(QStringLiteral("Vertiefung")),
                        Translate(QStringLiteral("Kein"))},
                       120);
    int32_t depth = Lampe->OuterBorderDepth();
    sheet.AddSpinProp(Translate(QStringLiteral("Breite")), depth, 0, 6, 64);
    sheet.AddCaptionProp(Translate(QStringLiteral("Optionen")));
    sheet.AddEditProp(Translate(QStringLiteral("Hinweistext")), Hint, 0, 190);
    if (userEdit)
        sheet.AddCheckProp(Translate(QStringLiteral("Zur Laufzeit einstellbar")), LaufzeitEinstellbar);
    const int result = dlg.Execute();
    if (result == 1) {
        GrundFarbe = colour;
        // The colour is recomputed directly, also for an unchanged voltage.
        SetNennSpannung(TextToFloat(voltage));
        Lampe->FillsParent = false;
        if (shape >= ixlcRect && shape <= ixlcTrapezium)
            Lampe->SetLedClass(TIxLedClass(shape));
        if (turn >= 0 && turn <= 3)
            Lampe->SetAngle(turn * 900);
        if (style >= ixblsUp && style <= ixblsNone)
            Lampe->SetOuterBorderStyle(TIxBorderLedStyle(style));
        Lampe->SetOuterBorderDepth(depth);
        Lampe->FillsParent = true;
        Lampe->FollowParent();
    }
    update();
    return result;
}
