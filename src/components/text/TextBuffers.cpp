#include "components/text/TextBuffers.h"

#include "core/model/Translator.h"
#include "platform/Filer.h"
#include "platform/IniFile.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

#include <algorithm>
#include <array>

namespace {

constexpr int32_t kHelp = 35010;
constexpr auto kCategory = TPaletteCategory::Strings;
// Inputs of the multiplexer sizes: "EN", the select inputs and the data inputs.
constexpr std::array<int32_t, 4> kMuxInputs = {4, 7, 12, 21};

} // namespace

// --- TBTStrBuffer ----------------------------------------------------------------------------

const TComponentDescription TBTStrBuffer::Description{
    .Name = "TBTStrBuffer", .Prefix = {"$BUF"}, .HelpContext = kHelp, .TypeName = {"$Buffer"},
    .Caption = {"BUFFER"}, .Inputs = {5}, .Outputs = {2}, .InputNames = "$ |W |R /CLR N",
    .OutputNames = "$Buf $Data", .Category = kCategory};

TBTStrBuffer::TBTStrBuffer() : TBTTextBlock(Description, false) {}

void TBTStrBuffer::SaveSettings(TIniFile& ini, const QString& section)
{
    ini.WriteString(StateSection(section), QStringLiteral("Buffer"), Buffer);
    ini.WriteString(StateSection(section), QStringLiteral("Data"), Data);
}

bool TBTStrBuffer::LoadSettings(TIniFile& ini, const QString& section, bool)
{
    Buffer = ini.ReadString(StateSection(section), QStringLiteral("Buffer"), QString());
    Data = ini.ReadString(StateSection(section), QStringLiteral("Data"), QString());
    SetOutputText(OutBuffer, Buffer);
    SetOutputText(OutData, Data);
    return true;
}

void TBTStrBuffer::Calculate()
{
    const bool write = GetInputDigital(InWrite);
    const bool read = GetInputDigital(InRead);
    const int count = GetInputWord(InCount);
    if (!GetInputDigital(InClear)) {
        SimReset();
        return;
    }
    if (write != m_lastWrite) {
        m_lastWrite = write;
        if (!write)
            Buffer += GetInputText(InText);
    }
    if (read != m_lastRead) {
        m_lastRead = read;
        if (!read) {
            Data = Buffer.left(count);
            Buffer.remove(0, Data.size());
            SetOutputText(OutData, Data);
        }
    }
    SetOutputText(OutBuffer, Buffer);
}

void TBTStrBuffer::SimReset()
{
    Buffer.clear();
    Data.clear();
    m_lastWrite = false;
    m_lastRead = false;
    SetOutputText(OutData, QString());
    SetOutputText(OutBuffer, QString());
}

// --- TBTStrMux -------------------------------------------------------------------------------

const TComponentDescription TBTStrMux::Description{
    .Name = "TBTStrMux", .Prefix = {"$MUX"}, .HelpContext = kHelp,
    .TypeName = {"$Multiplexer", "$Multiplexer", "$Multipléxeur"}, .Caption = {"MUX"},
    .Inputs = {4, 4, 21}, .Outputs = {1}, .InputNames = "EN S0 $0 $1", .OutputNames = "$",
    .Category = kCategory};

TBTStrMux::TBTStrMux() : TBTTextBlock(Description, true) {}

int32_t TBTStrMux::Size() const
{
    for (int32_t size = 0; size < int32_t(kMuxInputs.size()); ++size)
        if (InputCount == kMuxInputs[size_t(size)])
            return size;
    return 0;
}

void TBTStrMux::SetSize(int32_t size)
{
    SetOutputCount(1);
    SetInputCount(kMuxInputs[size_t(std::clamp(size, 0, 3))]);
}

void TBTStrMux::CheckStoredPins(int32_t inputs, int32_t outputs) const
{
    if (std::find(kMuxInputs.begin(), kMuxInputs.end(), inputs) == kMuxInputs.end())
        TReader::CheckCount(inputs, 0, -1, "InputCount");
    TReader::CheckCount(outputs, 1, 1, "OutputCount");
}

void TBTStrMux::NameInputs()
{
    const int selects = Size() + 1;
    QStringList names{QStringLiteral("EN")};
    for (int s = 0; s < selects; ++s)
        names << QStringLiteral("S%1").arg(s);
    for (int k = 0; k < (1 << selects); ++k)
        names << QStringLiteral("$%1").arg(k);
    NamePins(Inputs, names);
}

int TBTStrMux::EditProperties()
{
    TDefault_Dlg& dialog = Default_Dlg();
    dialog.setWindowTitle(Prefix());
    dialog.HelpContext = HelpContext;
    int32_t size = Size();
    dialog.PropScrollbox->AddComboProp(Translate(QStringLiteral("Kanäle")), size,
                                       {QStringLiteral("2"), QStringLiteral("4"),
                                        QStringLiteral("8"), QStringLiteral("16")},
                                       64);
    const int result = dialog.Execute();
    SetSize(size);
    return result;
}

void TBTStrMux::Calculate()
{
    if (!GetInputDigital(0)) {
        SetOutputText(0, QString());
        return;
    }
    const int selects = Size() + 1;
    int channel = 0;
    for (int s = 0; s < selects; ++s)
        if (GetInputDigital(1 + s))
            channel |= 1 << s;
    SetOutputText(0, GetInputText(1 + selects + channel));
}

void TBTStrMux::SimReset()
{
    SetOutputText(0, QString());
}

// --- TBTStrHold ------------------------------------------------------------------------------

const TComponentDescription TBTStrHold::Description{
    .Name = "TBTStrHold", .Prefix = {"$HLD"}, .HelpContext = kHelp, .TypeName = {"$Hold"},
    .Caption = {"HOLD"}, .Inputs = {2}, .Outputs = {1}, .InputNames = "$ /Hld",
    .OutputNames = "$", .Category = kCategory};

TBTStrHold::TBTStrHold() : TBTTextBlock(Description, false) {}

void TBTStrHold::SaveSettings(TIniFile& ini, const QString& section)
{
    ini.WriteString(StateSection(section), QStringLiteral("Hold"), Held);
}

bool TBTStrHold::LoadSettings(TIniFile& ini, const QString& section, bool)
{
    Held = ini.ReadString(StateSection(section), QStringLiteral("Hold"), QString());
    SetOutputText(0, Held);
    return true;
}

void TBTStrHold::Calculate()
{
    if (GetInputDigital(1))
        Held = GetInputText(0);
    SetOutputText(0, Held);
}

void TBTStrHold::SimReset()
{
    Held.clear();
    SetOutputText(0, QString());
}
