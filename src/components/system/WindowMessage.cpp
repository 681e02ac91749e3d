#include "components/system/WindowMessage.h"

#include "components/analog/Integrators.h"
#include "components/signal/SignalSupport.h"
#include "core/model/Translator.h"
#include "platform/Canvas.h"
#include "platform/Filer.h"
#include "platform/Types.h"
#include "ui/PropertySheet.h"

namespace {

// The command texts; "L" and "R" stand for the translated "Links" and "Rechts".
constexpr const char* kCommands[TBtSendMessage::kCommandCount] = {
    "Freq. L +", "Freq. L -", "Freq. R +", "Freq. R -", "Freq. L +1Hz", "Freq. L -1Hz",
    "Freq. R +1Hz", "Freq. R -1Hz", "Freq. L=R", "Vol. L +", "Vol. L -", "Vol. R +",
    "Vol. R -", "Vol. L +0,1%", "Vol. L -0,1%", "Vol. R +0,1%", "Vol. R -0,1%", "Vol. L=R",
    "L  0dB", "L -3dB", "L -6dB", "L -10dB", "L -20dB", "L -30dB", "Mute L",
    "R  0dB", "R -3dB", "R -6dB", "R -10dB", "R -20dB", "R -30dB", "Mute R", "dB L=R",
    "Power On/Off", "Mod. Start", "Mod. Stop", "Mod. Loop", "Mod. FM", "Mod. AM",
    "Mod. Noise", "Freq. L", "Freq. R", "Vol. L", "Vol. R", "Phase L/R", "LFO Mode",
    "LFO Duration", "Mod. Freq. Max.", "Mod. Freq. Min.", "Mod. AM %", "Freq. Mode L",
    "Freq. Mode R", "Wave L", "Wave R"};

} // namespace

const TComponentDescription TBtSendMessage::Description{
    .Name = "TBtSendMessage", .Prefix = {"SDX"}, .HelpContext = 18565,
    .TypeName = {"Sondrix 2.0\rmessage"}, .Inputs = {1}, .Outputs = {0}, .InputNames = "E",
    .Category = TPaletteCategory::AllgemeinPC};

TBtSendMessage::TBtSendMessage()
{
    Describe(Description);
    SignalSupport::MakeBlock(*this, true);
}

QString TBtSendMessage::CommandEntry(int code)
{
    const QString left = Translate(QStringLiteral("Links"));
    const QString right = Translate(QStringLiteral("Rechts"));
    QString text;
    for (const char* c = kCommands[code]; *c; ++c) {
        // A lone capital L or R (not inside a word such as "LFO" or "Mod.") is a side.
        const bool alone = (c == kCommands[code] || c[-1] == ' ' || c[-1] == '/' || c[-1] == '=')
                           && (c[1] == 0 || c[1] == ' ' || c[1] == '=' || c[1] == '/');
        if (alone && *c == 'L')
            text += left;
        else if (alone && *c == 'R')
            text += right;
        else
            text += QLatin1Char(*c);
    }
    return QString::number(code) + QStringLiteral(" - ") + text;
}

void TBtSendMessage::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    const int x = CenterX() - 15;
    const int y = CenterY() - 10;
    canvas.Pen.Width = 2;
    canvas.Pen.Color = MarkColor();
    canvas.Brush.Style = Qt::NoBrush;
    canvas.Rectangle(x, y, x + 10, y + 20);
    canvas.Polyline({{x + 10, y}, {x + 22, y - 8}, {x + 22, y + 28}, {x + 10, y + 20}});
    canvas.Pen.Width = 1;
    canvas.Brush.Style = Qt::SolidPattern;
}

void TBtSendMessage::WriteData(TWriter& writer)
{
    TGrundBT::WriteData(writer);
    writer.WriteRawInt16(static_cast<int16_t>(Command));
}

void TBtSendMessage::ReadData(TReader& reader, uint8_t version)
{
    TGrundBT::ReadData(reader, version);
    Command = static_cast<uint16_t>(reader.ReadRawInt16());
}

int TBtSendMessage::EditProperties()
{
    QStringList entries;
    for (int code = 0; code < kCommandCount; ++code)
        entries << CommandEntry(code);
    int32_t index = Command;
    const int result = BlockSupport::ShowSettings(*this, [&](TPropScrollbox& sheet) {
        sheet.AddComboProp(Translate(QStringLiteral("Funktion")) + QStringLiteral(" [wparam]"),
                           index, entries, 160);
    });
    if (index >= 0 && index < kCommandCount)
        Command = static_cast<uint16_t>(index);
    return result;
}

QString TBtSendMessage::GetHint() const
{
    return TGrundBT::GetHint() + QStringLiteral("\rMSG = ") + QString::number(Command);
}

void TBtSendMessage::Calculate()
{
    const Extended v = GetInputValue(0);
    if (v == m_last)
        return;
    if (v > -65535.0L && v < 65535.0L)
        m_target.Send(kMessage, Command, static_cast<int32_t>(RoundHalfEven(v)));
    m_last = v;
}

void TBtSendMessage::SimReset()
{
    m_last = kNothingSent;
    m_target.Aim(QStringLiteral("TSondrix"));
}
