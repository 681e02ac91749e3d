#include "components/digital/GroundDelay.h"

#include "core/model/Translator.h"
#include "platform/Canvas.h"
#include "platform/Clock.h"
#include "platform/Colors.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

#include <algorithm>

// --- TBTMasse --------------------------------------------------------------------------------

const TComponentDescription TBTMasse::Description{
    .Name = "TBTMasse", .HelpContext = 18525, .TypeName = {"Masse", "Ground", "Masse"},
    .Outputs = {1}, .OutputNames = "-", .Category = TPaletteCategory::PlusMasseTest};

TBTMasse::TBTMasse()
{
    Describe(Description);
    SetElementClass(QString());
    Editable = false;
}

void TBTMasse::SimReset()
{
    SetOutputDigital(0, false);
}

void TBTMasse::Calculate() {}

void TBTMasse::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    const int cx = CenterX();
    const int cy = CenterY();
    canvas.Brush.Color = MarkColor();
    canvas.Brush.Style = Qt::SolidPattern;
    canvas.FillRect(cx - 3, cy - 24, cx + 3, cy + 6);
    canvas.FillRect(cx - 25, cy + 6, cx + 25, cy + 22);
}

// --- TBTVerzoegerung -------------------------------------------------------------------------

const TComponentDescription TBTVerzoegerung::Description{
    .Name = "TBTVerzoegerung", .Prefix = {"DLY"}, .HelpContext = 18535,
    .TypeName = {"Verzögerung", "Delay", "Délais"}, .Inputs = {1}, .Outputs = {1},
    .InputNames = "E", .OutputNames = "A", .Category = TPaletteCategory::Zeitgeber};

TBTVerzoegerung::TBTVerzoegerung()
{
    Describe(Description);
    SetElementClass(QString());
    Editable = true;
}

void TBTVerzoegerung::SimReset()
{
    WritePosition = 1;
    Ring.fill(0.0L);
}

void TBTVerzoegerung::Calculate()
{
    int32_t p = WritePosition - Delay;
    if (p < 1)
        p += Delay;
    SetOutputAnalog(0, Ring[p - 1]);
    Ring[WritePosition - 1] = GetInputLevel(0);
    if (++WritePosition > Delay)
        WritePosition = 1;
}

void TBTVerzoegerung::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    DrawMarkText(canvas, CenterX() - 22, CenterY() - 54, 60,
                 QStringLiteral("..."));
}

int TBTVerzoegerung::EditProperties()
{
    TDefault_Dlg& dlg = Default_Dlg();
    dlg.setWindowTitle(GetLabel());
    dlg.HelpContext = HelpContext;
    dlg.PropScrollbox->AddSpinProp(Translate(QStringLiteral("Systemtakte")), Delay, MinDelay,
                                   MaxDelay, 64);
    return dlg.ExecuteWithOptions(*this);
}

void TBTVerzoegerung::WriteData(TWriter& writer)
{
    TGrundBT::WriteData(writer);
    writer.WriteInteger(Delay);
}

void TBTVerzoegerung::ReadData(TReader& reader, uint8_t version)
{
    TGrundBT::ReadData(reader, version);
    Delay = std::clamp(reader.ReadInteger(), MinDelay, MaxDelay);
    // The write position must stay on the ring of the (possibly smaller) delay.
    if (WritePosition < 1 || WritePosition > Delay)
        WritePosition = 1;
}

QString TBTVerzoegerung::GetHint() const
{
    return TGrundBT::GetHint() + QStringLiteral("\r= ") + QString::number(Delay);
}

// --- TBTPowerOnReset -------------------------------------------------------------------------

const TComponentDescription TBTPowerOnReset::Description{
    .Name = "TBTPowerOnReset", .Prefix = {"PON"}, .HelpContext = 18540,
    .TypeName = {"Power-On-Reset", "Power-On-Reset", "Reset à la mise\rsous tension"},
    .Outputs = {1}, .OutputNames = "-", .Category = TPaletteCategory::PlusMasseTest};

TBTPowerOnReset::TBTPowerOnReset()
{
    Describe(Description);
    SetElementClass(QString());
    Editable = false;
}

void TBTPowerOnReset::SimReset()
{
    Active = true;
    Started = 0;
    SetOutputDigital(0, true);
}

void TBTPowerOnReset::Calculate()
{
    if (!Active)
        return;
    const uint32_t now = Clock().TickCount();
    if (Started == 0) {
        StartTick = now;
        Started = 1;
    }
    const uint32_t elapsed = now - StartTick; // unsigned: survives the counter's wrap
    if (elapsed > LowAfterMs)
        SetOutputDigital(0, false);
    if (elapsed > HighAfterMs) {
        SetOutputDigital(0, true);
        Active = false;
    }
}

void TBTPowerOnReset::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    DrawMarkText(canvas, CenterX() - 14, CenterY() - 32, 40,
                 QStringLiteral("R"));
}
