#include "components/digital/BusDriver.h"

#include "core/model/Translator.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

#include <QStringList>

namespace {

constexpr int WidthBits[] = {2, 4, 8, 16};

// Lines of width index 0 .. 3; any other index counts as 2 (8 lines).
int BitsOf(int index)
{
    return (index >= 0 && index <= 3) ? WidthBits[index] : WidthBits[2];
}

// Width index of a line count; -1 when it is none of the four widths.
int IndexOfBits(int bits)
{
    for (int i = 0; i < 4; ++i) {
        if (WidthBits[i] == bits)
            return i;
    }
    return -1;
}

// Width index of a line count; 2 (8 lines) when it is none of the four widths.
int WidthIndexOf(int bits)
{
    const int index = IndexOfBits(bits);
    return index < 0 ? 2 : index;
}

// Refuses a stored line count that is none of the four widths, with the stream's count error.
void CheckWidth(int32_t bits, const char* what)
{
    if (IndexOfBits(bits) < 0)
        TReader::CheckCount(bits, 0, -1, what);
}

QStringList WidthItems()
{
    return {QStringLiteral("2"), QStringLiteral("4"), QStringLiteral("8"), QStringLiteral("16")};
}

// At least four upper-case hexadecimal digits (255 gives 00FF).
QString Hex4(int32_t value)
{
    return QString::number(static_cast<uint32_t>(value), 16).toUpper().rightJustified(4, u'0');
}

} // namespace

uint16_t HexTextToWord(const QString& text)
{
    const QString t = text.toUpper();
    uint32_t value = 0;
    uint32_t weight = 1;
    for (qsizetype i = t.size() - 1; i >= 0 && i >= t.size() - 4; --i, weight *= 16) {
        const QChar c = t.at(i);
        uint32_t digit = 0;
        if (c >= u'0' && c <= u'9')
            digit = c.unicode() - u'0';
        else if (c >= u'A' && c <= u'F')
            digit = c.unicode() - u'A' + 10;
        value += digit * weight;
    }
    return static_cast<uint16_t>(value);
}

// --- TBTBustreiber ---------------------------------------------------------------------------

const TComponentDescription TBTBustreiber::Description{
    .Name = "TBTBustreiber", .Prefix = {"DBus"}, .HelpContext = 18360,
    .TypeName = {"Bustreiber\rdigital", "Digital bus\rdriver", "Driver\rbus digital"},
    .Caption = {"DBus"}, .Inputs = {9, 3, 17}, .Outputs = {8, 2, 16},
    .Category = TPaletteCategory::Diverses};

TBTBustreiber::TBTBustreiber()
{
    Describe(Description);
    SetElementClass(QString());
    Editable = true;
}

void TBTBustreiber::SetWidth(int index)
{
    const int bits = BitsOf(index);
    SetInputCount(bits + 1);
    SetOutputCount(bits);
    NameInputs();
    NameOutputs();
}

int TBTBustreiber::WidthIndex() const
{
    return WidthIndexOf(InputCount - 1);
}

void TBTBustreiber::NameInputs()
{
    const int bits = InputCount - 1;
    if (IndexOfBits(bits) >= 0) {
        for (int i = 0; i < bits; ++i)
            Inputs[i]->SetName(QStringLiteral("D") + QString::number(i));
    }
    if (InputCount > 0)
        Inputs[InputCount - 1]->SetName(QStringLiteral("EN"));
}

void TBTBustreiber::NameOutputs()
{
    if (IndexOfBits(OutputCount) < 0)
        return;
    for (int j = 0; j < OutputCount; ++j)
        Outputs[j]->SetName(QStringLiteral("D") + QString::number(OutputCount - 1 - j));
}

void TBTBustreiber::DriveLow()
{
    // Writing each output's own inversion flag lands on 0.0 V after the pin's inversion.
    for (int j = 0; j < OutputCount; ++j)
        SetOutputDigital(j, Outputs[j]->Inverted());
}

void TBTBustreiber::SimReset()
{
    DriveLow();
}

void TBTBustreiber::Calculate()
{
    const int bits = OutputCount;
    if (!GetInputDigital(InputCount - 1)) {
        DriveLow();
        return;
    }
    for (int j = 0; j < bits; ++j)
        SetOutputDigital(j, GetInputDigital(bits - 1 - j));
}

void TBTBustreiber::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    DrawSymbolCaption(canvas, SymbolCaption(), 0);
}

int TBTBustreiber::EditProperties()
{
    const QStringList items = WidthItems();
    TDefault_Dlg& dlg = Default_Dlg();
    dlg.setWindowTitle(GetTypeName());
    dlg.HelpContext = HelpContext;
    int32_t index = WidthIndex();
    dlg.PropScrollbox->AddComboProp(Translate(QStringLiteral("Kanäle")), index, items, 64);
    const int result = dlg.Execute();
    SetWidth(index);
    return result;
}

void TBTBustreiber::CheckStoredPins(int32_t inputs, int32_t outputs) const
{
    CheckWidth(outputs, "OutputCount");
    TReader::CheckCount(inputs, outputs + 1, outputs + 1, "InputCount");
}

// --- TBTAdressdekoder ------------------------------------------------------------------------

const TComponentDescription TBTAdressdekoder::Description{
    .Name = "TBTAdressdekoder", .Prefix = {"ADEC"}, .HelpContext = 18365,
    .TypeName = {"Adressdekoder", "Address decoder", "Décodeur\rd´adresses"},
    .Caption = {"ADEC"}, .Inputs = {8, 2, 16}, .Outputs = {1}, .InputNames = "A0..15",
    .OutputNames = "CS", .Category = TPaletteCategory::Dekoder};

TBTAdressdekoder::TBTAdressdekoder()
{
    Describe(Description);
    SetElementClass(QString());
    Editable = true;
}

void TBTAdressdekoder::SetWidth(int index)
{
    SetInputCount(BitsOf(index));
    SetOutputCount(1);
    NameInputs();
    NameOutputs();
}

int TBTAdressdekoder::WidthIndex() const
{
    return WidthIndexOf(InputCount);
}

void TBTAdressdekoder::Calculate()
{
    int32_t address = 0;
    for (int i = 0; i < InputCount; ++i) {
        if (GetInputDigital(i))
            address |= int32_t(1) << i;
    }
    SetOutputDigital(0, RangeLow <= address && address <= RangeHigh);
}

void TBTAdressdekoder::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    DrawSymbolCaption(canvas, SymbolCaption(), 0);
}

int TBTAdressdekoder::EditProperties()
{
    const QStringList items = WidthItems();
    TDefault_Dlg& dlg = Default_Dlg();
    dlg.setWindowTitle(GetLabel());
    dlg.HelpContext = HelpContext;
    int32_t index = WidthIndex();
    const bool editing = !Ctx().SimRunning && !Ctx().RuntimeMode;
    if (editing)
        dlg.PropScrollbox->AddComboProp(Translate(QStringLiteral("Eingänge")), index, items, 64);
    QString low = Hex4(RangeLow);
    QString high = Hex4(RangeHigh);
    dlg.PropScrollbox->AddRangeProp(Translate(QStringLiteral("Adressbereich"))
                                        + QStringLiteral(" [hex]"),
                                    low, high, 4);
    const int result = dlg.ExecuteWithOptions(*this);
    SetWidth(index);
    RangeLow = HexTextToWord(low);
    RangeHigh = HexTextToWord(high);
    return result;
}

void TBTAdressdekoder::WriteData(TWriter& writer)
{
    TGrundBT::WriteData(writer);
    writer.WriteRawInt32(RangeLow);
    writer.WriteRawInt32(RangeHigh);
}

void TBTAdressdekoder::ReadData(TReader& reader, uint8_t version)
{
    TGrundBT::ReadData(reader, version);
    RangeLow = reader.ReadRawInt32();
    RangeHigh = reader.ReadRawInt32();
}

void TBTAdressdekoder::CheckStoredPins(int32_t inputs, int32_t outputs) const
{
    CheckWidth(inputs, "InputCount");
    TGrundBT::CheckStoredPins(inputs, outputs);
}

QString TBTAdressdekoder::GetHint() const
{
    return TGrundBT::GetHint() + QStringLiteral("\rh") + Hex4(RangeLow) + QStringLiteral(" - h")
           + Hex4(RangeHigh);
}
