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

TBTMasse::TBTMasse()
{
    SetOutputCount(1);
    SetElementClass(QString());
    SetPrefix(QString());
    Editable = false;
    HelpContext = 18525;
}

void TBTMasse::NameInputs() {}

void TBTMasse::NameOutputs()
{
    if (OutputCount > 0)
        Outputs[0]->SetName(QString());
}

QString TBTMasse::GetTypeName() const
{
    return Lang3Q("Masse", "Ground", "Masse");
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

void TBTMasse::ReadData(TReader& reader, uint8_t version)
{
    TGrundBT::ReadData(reader, version);
    CheckStoredPins(0, 1);
}

// --- TBTVerzoegerung -------------------------------------------------------------------------

TBTVerzoegerung::TBTVerzoegerung()
{
    SetInputCount(1);
    SetOutputCount(1);
    SetElementClass(QString());
    SetPrefix(QStringLiteral("DLY"));
    Editable = true;
    HelpContext = 18535;
}

void TBTVerzoegerung::NameInputs()
{
    if (InputCount > 0)
        Inputs[0]->SetName(QStringLiteral("E"));
}

void TBTVerzoegerung::NameOutputs()
{
    if (OutputCount > 0)
        Outputs[0]->SetName(QStringLiteral("A"));
}

QString TBTVerzoegerung::GetTypeName() const
{
    return Lang3Q("Verzögerung", "Delay", "Délais");
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
    CheckStoredPins(1, 1);
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

TBTPowerOnReset::TBTPowerOnReset()
{
    SetOutputCount(1);
    SetElementClass(QString());
    SetPrefix(QStringLiteral("PON"));
    Editable = false;
    HelpContext = 18540;
}

void TBTPowerOnReset::NameOutputs()
{
    if (OutputCount > 0)
        Outputs[0]->SetName(QString());
}

QString TBTPowerOnReset::GetTypeName() const
{
    return Lang3Q("Power-On-Reset", "Power-On-Reset", "Reset à la mise\rsous tension");
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

void TBTPowerOnReset::ReadData(TReader& reader, uint8_t version)
{
    TGrundBT::ReadData(reader, version);
    CheckStoredPins(0, 1);
}
