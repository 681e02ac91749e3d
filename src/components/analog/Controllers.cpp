#include "components/analog/Controllers.h"

#include "components/analog/Integrators.h"
#include "core/model/Translator.h"
#include "platform/Canvas.h"
#include "platform/Clock.h"
#include "platform/Colors.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "platform/IniFile.h"
#include "ui/Formats.h"
#include "ui/PropertySheet.h"

using namespace BlockSupport;

// --- TBTController -------------------------------------------------------------------------

TBTController::TBTController(const TComponentDescription& description, bool editable)
{
    Describe(description);
    SetElementClass(QString());
    Editable = editable;
}

void TBTController::PaintLines(TCanvas& canvas,
                               std::initializer_list<std::initializer_list<QPoint>> lines,
                               bool frame)
{
    TGrundBT::Paint(canvas);
    const QPoint c(CenterX(), CenterY());
    canvas.Pen.Color = clRed;
    canvas.Pen.Width = 2;
    canvas.Pen.Style = Qt::SolidLine;
    canvas.Brush.Style = Qt::NoBrush;
    for (const auto& line : lines) {
        std::vector<QPoint> points;
        points.reserve(line.size());
        for (const QPoint& p : line)
            points.push_back(c + p);
        canvas.Polyline(points);
    }
    if (frame) {
        canvas.Pen.Color = clBlack;
        canvas.Rectangle(c.x() - 40, c.y() - 54, c.x() + 40, c.y() + 26);
    }
    canvas.Brush.Style = Qt::SolidPattern;
}

// --- TBT_P_Regler --------------------------------------------------------------------------

const TComponentDescription TBT_P_Regler::Description{
    .Name = "TBT_P_Regler", .Prefix = {"P-"}, .HelpContext = 18844,
    .TypeName = {"P-Regler", "P controller", "Contrôleur-P"}, .Inputs = {3}, .Outputs = {1},
    .InputNames = "X+ X- KP", .OutputNames = "Y", .Category = TPaletteCategory::Regler};

TBT_P_Regler::TBT_P_Regler() : TBTController(Description, false) {}

void TBT_P_Regler::Paint(TCanvas& canvas)
{
    PaintLines(canvas, {{{-39, -34}, {39, -34}}});
}

void TBT_P_Regler::Calculate()
{
    SetOutputValue(0, GetInputValue(2) * (GetInputValue(0) - GetInputValue(1)));
}

// --- TBTTimedController --------------------------------------------------------------------

int TBTTimedController::EditSettings(Extended* init, TFilter* filter)
{
    int32_t index = Sampling.BeginEdit();
    QString minText = ValueToText(OutMin);
    QString maxText = ValueToText(OutMax);
    QString initText = init ? ValueToText(*init) : QString();
    TFilter::TEdit filterEdit = filter ? filter->BeginEdit() : TFilter::TEdit{};
    const int result = ShowSettings(*this, [&](TPropScrollbox& sheet) {
        TSampleTime::AddRow(sheet, index);
        sheet.AddCaptionProp(Translate(QStringLiteral("Ausgang")));
        sheet.AddRangeProp(Translate(QStringLiteral("Grenze")) + QStringLiteral(" [min/max]"),
                           minText, maxText);
        if (init) {
            sheet.AddCaptionProp(QStringLiteral("Integration"));
            sheet.AddEditProp(QStringLiteral("Init"), initText, 0, 64);
        }
        if (filter)
            TFilter::AddRows(sheet, filterEdit);
    });
    if (filter)
        filter->EndEdit(filterEdit);
    OutMin = TextToValue(minText);
    OutMax = TextToValue(maxText);
    if (init)
        *init = TextToValue(initText);
    Sampling.EndEdit(index);
    return result;
}

void TBTTimedController::WriteSettings(TWriter& writer, const Extended* init,
                                       const TFilter* filter)
{
    TBTController::WriteData(writer);
    Sampling.Write(writer);
    writer.WriteFloat(OutMin);
    writer.WriteFloat(OutMax);
    if (init)
        writer.WriteFloat(*init);
    if (filter)
        filter->WriteRecord(writer);
}

void TBTTimedController::ReadSettings(TReader& reader, uint8_t version, Extended* init,
                                      TFilter* filter)
{
    TBTController::ReadData(reader, version);
    Sampling.Read(reader);
    OutMin = reader.ReadFloat();
    OutMax = reader.ReadFloat();
    if (init)
        *init = reader.ReadFloat();
    if (filter)
        filter->ReadRecord(reader);
}

// --- TBT_PI_Regler -------------------------------------------------------------------------

const TComponentDescription TBT_PI_Regler::Description{
    .Name = "TBT_PI_Regler", .Prefix = {"PI-"}, .HelpContext = 18847,
    .TypeName = {"PI-Regler", "PI controller", "Contrôleur-PI"}, .Inputs = {5}, .Outputs = {1},
    .InputNames = "X+ X- KP KI /RST", .OutputNames = "Y", .Category = TPaletteCategory::Regler};

TBT_PI_Regler::TBT_PI_Regler() : TBTTimedController(Description, true) {}

void TBT_PI_Regler::Paint(TCanvas& canvas)
{
    PaintLines(canvas, {{{-36, 24}, {-36, -14}, {38, -44}}});
}

void TBT_PI_Regler::WriteData(TWriter& writer)
{
    WriteSettings(writer, &Init, nullptr);
}

void TBT_PI_Regler::ReadData(TReader& reader, uint8_t version)
{
    ReadSettings(reader, version, &Init, nullptr);
}

int TBT_PI_Regler::EditProperties()
{
    return EditSettings(&Init, nullptr);
}

void TBT_PI_Regler::Calculate()
{
    const int64_t now = Clock().PerformanceCounter();
    if (!GetInputDigital(4)) {
        Integral = Init;
        LastCount = now;
    }
    const Extended xp = GetInputValue(0);
    const Extended xm = GetInputValue(1);
    const Extended kp = GetInputValue(2);
    const Extended ki = GetInputValue(3);
    const Extended dt = SecondsBetween(LastCount, now);
    const Extended ts = Sampling.SampleTime;
    if (!SampleTimeElapsed(LastCount, now, ts))
        return;
    const Extended e = xp - xm;
    Integral = Clamp(Integral + e * ki * dt, OutMin, OutMax);
    SetOutputValue(0, Clamp(e * kp + Integral, OutMin, OutMax));
    if (ts > 0.0L)
        LastCount += TicksOf(ts);  // the grid moves by exactly one sample time
    else
        LastCount = now;
}

void TBT_PI_Regler::SimReset()
{
    LastCount = Clock().PerformanceCounter();
    Integral = Init;
}

void TBT_PI_Regler::SaveSettings(TIniFile& ini, const QString& section)
{
    SaveStateValue(*this, ini, section, Integral);
}

bool TBT_PI_Regler::LoadSettings(TIniFile& ini, const QString& section, bool)
{
    Integral = ini.ReadFloat(StateSection(section), QStringLiteral("Value"), 0.0);
    return true;
}

// --- TBT_PD_Regler -------------------------------------------------------------------------

const TComponentDescription TBT_PD_Regler::Description{
    .Name = "TBT_PD_Regler", .Prefix = {"PD-"}, .HelpContext = 18850,
    .TypeName = {"PD-Regler", "PD controller", "Contrôleur-PD"}, .Inputs = {4}, .Outputs = {1},
    .InputNames = "X+ X- KP KD", .OutputNames = "Y", .Category = TPaletteCategory::Regler};

TBT_PD_Regler::TBT_PD_Regler() : TBTTimedController(Description, true) {}

void TBT_PD_Regler::Paint(TCanvas& canvas)
{
    PaintLines(canvas, {{{-36, -52}, {-36, 6}, {38, 6}}});
}

void TBT_PD_Regler::WriteData(TWriter& writer)
{
    WriteSettings(writer, nullptr, &Filter);
}

void TBT_PD_Regler::ReadData(TReader& reader, uint8_t version)
{
    ReadSettings(reader, version, nullptr, &Filter);
}

int TBT_PD_Regler::EditProperties()
{
    return EditSettings(nullptr, &Filter);
}

void TBT_PD_Regler::Calculate()
{
    const int64_t now = Clock().PerformanceCounter();
    const Extended xp = GetInputValue(0);
    const Extended xm = GetInputValue(1);
    const Extended kp = GetInputValue(2);
    const Extended kd = GetInputValue(3);
    const Extended e = xp - xm;
    const Extended ef = Filter.Step(e);
    const Extended dt = SecondsBetween(LastCount, now);
    // Without elapsed time there is no derivative: the output stays.
    if (dt < Sampling.SampleTime || dt <= 0.0L)
        return;
    SetOutputValue(0, Clamp(kp * e + (ef - LastError) * kd / dt, OutMin, OutMax));
    LastError = ef;
    LastCount = now;
}

void TBT_PD_Regler::SimReset()
{
    LastCount = Clock().PerformanceCounter();
}

// --- TBT_PID_Regler ------------------------------------------------------------------------

const TComponentDescription TBT_PID_Regler::Description{
    .Name = "TBT_PID_Regler", .Prefix = {"PID-"}, .HelpContext = 18853,
    .TypeName = {"PID-Regler", "PID controller", "Contrôleur-PID"}, .Inputs = {6},
    .Outputs = {1}, .InputNames = "X+ X- KP KI KD /RST", .OutputNames = "Y",
    .Category = TPaletteCategory::Regler};

TBT_PID_Regler::TBT_PID_Regler() : TBTTimedController(Description, true) {}

void TBT_PID_Regler::Paint(TCanvas& canvas)
{
    PaintLines(canvas, {{{-36, -52}, {-36, -14}, {38, -44}}});
}

void TBT_PID_Regler::WriteData(TWriter& writer)
{
    WriteSettings(writer, &Init, &Filter);
}

void TBT_PID_Regler::ReadData(TReader& reader, uint8_t version)
{
    ReadSettings(reader, version, &Init, &Filter);
}

int TBT_PID_Regler::EditProperties()
{
    return EditSettings(&Init, &Filter);
}

void TBT_PID_Regler::Calculate()
{
    if (!GetInputDigital(5))
        SimReset();
    const int64_t now = Clock().PerformanceCounter();
    const Extended xp = GetInputValue(0);
    const Extended xm = GetInputValue(1);
    const Extended kp = GetInputValue(2);
    const Extended ki = GetInputValue(3);
    const Extended kd = GetInputValue(4);
    const Extended e = xp - xm;
    const Extended ef = Filter.Step(e);
    const Extended dt = SecondsBetween(LastCount, now);
    // Without elapsed time there is no derivative: the output stays.
    if (dt < Sampling.SampleTime || dt <= 0.0L)
        return;
    Integral = Clamp(Integral + ki * e * dt, OutMin, OutMax);
    SetOutputValue(0, Clamp(kp * e + Integral + (ef - LastError) * kd / dt, OutMin, OutMax));
    LastError = ef;
    LastCount = now;
}

void TBT_PID_Regler::SimPrepare()
{
    // A run measures its first step from its own start, not from the last step of the
    // previous run.
    LastCount = Clock().PerformanceCounter();
}

void TBT_PID_Regler::SimReset()
{
    Integral = Init;
}

void TBT_PID_Regler::SaveSettings(TIniFile& ini, const QString& section)
{
    SaveStateValue(*this, ini, section, Integral);
}

bool TBT_PID_Regler::LoadSettings(TIniFile& ini, const QString& section, bool)
{
    // Without a saved integral the reset value stays.
    Integral = ini.ReadFloat(StateSection(section), QStringLiteral("Value"),
                             static_cast<double>(Integral));
    return true;
}

// --- TBT_2_Punkt_Regler --------------------------------------------------------------------

const TComponentDescription TBT_2_Punkt_Regler::Description{
    .Name = "TBT_2_Punkt_Regler", .Prefix = {"2HYS-"}, .HelpContext = 18856,
    .TypeName = {"2-Punkt-Regler", "Two-position\rcontroller", "Contrôleur\rdeux-positions"},
    .Inputs = {3}, .Outputs = {1}, .InputNames = "X+ X- HYS", .OutputNames = "ON",
    .Category = TPaletteCategory::Regler};

TBT_2_Punkt_Regler::TBT_2_Punkt_Regler() : TBTController(Description, false) {}

void TBT_2_Punkt_Regler::Paint(TCanvas& canvas)
{
    PaintLines(canvas, {{{-39, 6}, {10, 6}},
                        {{-10, -34}, {39, -34}},
                        {{-10, -34}, {-10, 6}},
                        {{10, -34}, {10, 6}}});
}

void TBT_2_Punkt_Regler::Calculate()
{
    const Extended xp = GetInputValue(0);
    const Extended xm = GetInputValue(1);
    const Extended h = GetInputValue(2) / 2.0L;
    if (Status) {
        if (xm > xp + h) {
            Status = false;
            SetOutputDigital(0, false);
        }
    } else if (xm < xp - h) {
        Status = true;
        SetOutputDigital(0, true);
    }
}

void TBT_2_Punkt_Regler::SaveSettings(TIniFile& ini, const QString& section)
{
    ini.WriteBool(StateSection(section), QStringLiteral("Status"), Status);
}

bool TBT_2_Punkt_Regler::LoadSettings(TIniFile& ini, const QString& section, bool)
{
    Status = ini.ReadBool(StateSection(section), QStringLiteral("Status"), false);
    SetOutputDigital(0, Status);
    return true;
}

// --- TBT_Spiel -----------------------------------------------------------------------------

const TComponentDescription TBT_Spiel::Description{
    .Name = "TBT_Spiel", .Prefix = {"HYS-"}, .HelpContext = 18428,
    .TypeName = {"Spiel", "Play", "Lecture"}, .Inputs = {2}, .Outputs = {1},
    .InputNames = "X HYS", .OutputNames = "Y", .Category = TPaletteCategory::Regler};

TBT_Spiel::TBT_Spiel() : TBTController(Description, false) {}

void TBT_Spiel::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    const int cx = CenterX();
    const int cy = CenterY();
    canvas.Pen.Color = clBlack;
    canvas.Pen.Width = 2;
    canvas.Pen.Style = Qt::SolidLine;
    canvas.MoveTo(cx - 30, cy + 16);
    canvas.LineTo(cx - 10, cy - 24);
    canvas.MoveTo(cx + 10, cy - 4);
    canvas.LineTo(cx + 30, cy - 44);
    for (int i = 0; i <= 5; ++i) {
        canvas.MoveTo(cx - 20 + 2 * i, cy - 4 - 4 * i);
        canvas.LineTo(cx + 10 + 2 * i, cy - 4 - 4 * i);
    }
}

void TBT_Spiel::Calculate()
{
    const Extended x = GetInputValue(0);
    const Extended h = GetInputValue(1);
    const Extended centre = (HLimit - LLimit) / 2.0L + LLimit;
    LLimit = centre - h / 2.0L;
    HLimit = centre + h / 2.0L;
    if (x > HLimit) {
        HLimit = x;
        LLimit = x - h;
        Output = x - h / 2.0L;
        SetOutputValue(0, Output);
    }
    if (x < LLimit) {
        LLimit = x;
        HLimit = x + h;
        Output = x + h / 2.0L;
        SetOutputValue(0, Output);
    }
}

void TBT_Spiel::SaveSettings(TIniFile& ini, const QString& section)
{
    const QString s = StateSection(section);
    ini.WriteFloat(s, QStringLiteral("Output"), static_cast<double>(Output));
    ini.WriteFloat(s, QStringLiteral("HLimit"), static_cast<double>(HLimit));
    ini.WriteFloat(s, QStringLiteral("LLimit"), static_cast<double>(LLimit));
}

bool TBT_Spiel::LoadSettings(TIniFile& ini, const QString& section, bool)
{
    const QString s = StateSection(section);
    Output = ini.ReadFloat(s, QStringLiteral("Output"), 0.0);
    HLimit = ini.ReadFloat(s, QStringLiteral("HLimit"), 0.0);
    LLimit = ini.ReadFloat(s, QStringLiteral("LLimit"), 0.0);
    SetOutputValue(0, Output);
    return true;
}

// --- TBT_Totzone ---------------------------------------------------------------------------

const TComponentDescription TBT_Totzone::Description{
    .Name = "TBT_Totzone", .Prefix = {"DZN-"}, .HelpContext = 18429,
    .TypeName = {"Totzone", "Dead zone", "Zone morte"}, .Inputs = {3}, .Outputs = {1},
    .InputNames = "X XL XH", .OutputNames = "Y", .Category = TPaletteCategory::Regler};

TBT_Totzone::TBT_Totzone() : TBTController(Description, false) {}

void TBT_Totzone::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    const int cx = CenterX();
    const int cy = CenterY();
    canvas.Pen.Width = 2;
    canvas.Pen.Style = Qt::SolidLine;
    canvas.Pen.Color = clBlack;
    canvas.MoveTo(cx - 40, cy - 14);
    canvas.LineTo(cx + 40, cy - 14);
    canvas.MoveTo(cx, cy - 54);
    canvas.LineTo(cx, cy + 26);
    canvas.Pen.Color = clRed;
    canvas.MoveTo(cx - 30, cy + 16);
    canvas.LineTo(cx - 15, cy - 14);
    canvas.LineTo(cx + 15, cy - 14);
    canvas.LineTo(cx + 30, cy - 44);
}

void TBT_Totzone::Calculate()
{
    const Extended x = GetInputValue(0);
    const Extended xl = GetInputValue(1);
    const Extended xh = GetInputValue(2);
    Extended y;
    if (xl >= xh)
        y = x - xl;
    else if (x >= xh)
        y = x - xh;
    else if (x < xl)
        y = x - xl;
    else
        y = 0.0L;
    SetOutputValue(0, y);
}
