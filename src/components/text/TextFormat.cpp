#include "components/text/TextFormat.h"

#include "components/analog/Integrators.h"
#include "core/model/Translator.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

using namespace TextRules;

namespace {

constexpr int32_t kHelp = 35010;

} // namespace

// --- TBTStrFormat ----------------------------------------------------------------------------

const TComponentDescription TBTStrFormat::Description{
    .Name = "TBTStrFormat", .Prefix = {"$FMT"}, .HelpContext = kHelp, .TypeName = {"$Format"},
    .Caption = {"FMT"}, .Inputs = {1}, .Outputs = {1}, .InputNames = "V", .OutputNames = "$",
    .Category = TPaletteCategory::Strings};

TBTStrFormat::TBTStrFormat() : TBTTextBlock(Description, true) {}

void TBTStrFormat::WriteData(TWriter& writer)
{
    TBTTextBlock::WriteData(writer);
    Format.WriteData(writer);
}

void TBTStrFormat::ReadData(TReader& reader, uint8_t version)
{
    TBTTextBlock::ReadData(reader, version);
    Format.ReadData(reader);
}

int TBTStrFormat::EditProperties()
{
    return BlockSupport::ShowSettings(*this, [&](TPropScrollbox& sheet) {
        sheet.AddFormatProp(Translate(QStringLiteral("Format")), Format);
    });
}

void TBTStrFormat::Calculate()
{
    SetOutputText(0, Format.FormatValue(static_cast<double>(GetInputValue(0))));
}

// --- TBTStrParts -----------------------------------------------------------------------------

const TComponentDescription TBTStrParts::Description{
    .Name = "TBTStrParts", .Prefix = {"$Part"}, .HelpContext = kHelp, .TypeName = {"$Part"},
    .Caption = {"PART"}, .Inputs = {1}, .Outputs = {4, 2, 16}, .InputNames = "$",
    .OutputNames = "$4 $3 $2 $1", .Category = TPaletteCategory::Strings};

TBTStrParts::TBTStrParts() : TBTTextBlock(Description, true) {}

void TBTStrParts::WriteData(TWriter& writer)
{
    TBTTextBlock::WriteData(writer);
    writer.WriteInteger(Separator);
}

void TBTStrParts::ReadData(TReader& reader, uint8_t version)
{
    TBTTextBlock::ReadData(reader, version);
    Separator = reader.ReadInteger() & 0xFF;
}

void TBTStrParts::NameOutputs()
{
    for (int k = 0; k < OutputCount; ++k)
        Outputs[size_t(OutputFromTop(k))]->SetName(QStringLiteral("$%1").arg(k + 1));
}

int TBTStrParts::EditProperties()
{
    QStringList separators;
    for (int c = 0; c < 256; ++c)
        separators << QStringLiteral("$%1 - ").arg(c, 2, 16, QLatin1Char('0')).toUpper()
                          + CharacterOf(c);
    QStringList counts;
    for (int n = 2; n <= 16; ++n)
        counts << QString::number(n);
    int32_t separator = Separator;
    int32_t outputs = OutputCount - 2;
    const int result = BlockSupport::ShowSettings(*this, [&](TPropScrollbox& sheet) {
        // Wider than the count row, so that "$3B - ;" shows whole.
        sheet.AddComboProp(Translate(QStringLiteral("Trennzeichen")), separator, separators, 90);
        if (!Ctx().SimRunning && !Ctx().RuntimeMode)
            sheet.AddComboProp(Translate(QStringLiteral("Ausgänge")), outputs, counts, 64);
    });
    Separator = std::clamp(separator, 0, 255);
    SetOutputCount(std::clamp(outputs, 0, 14) + 2);
    return result;
}

void TBTStrParts::Calculate()
{
    const QStringList parts = Split(GetInputText(0), CharacterOf(Separator).at(0), OutputCount);
    for (int k = 0; k < OutputCount; ++k)
        SetOutputText(OutputFromTop(k), parts[k]);
}
