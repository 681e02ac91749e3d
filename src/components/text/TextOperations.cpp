#include "components/text/TextOperations.h"

#include "components/analog/Integrators.h"
#include "core/model/Translator.h"
#include "platform/Filer.h"
#include "platform/ValueText.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

using namespace TextRules;

namespace {

constexpr int32_t kHelp = 35010;
constexpr auto kCategory = TPaletteCategory::Strings;

} // namespace

// --- TBT_Str_Fest ----------------------------------------------------------------------------

const TComponentDescription TBT_Str_Fest::Description{
    .Name = "TBT_Str_Fest", .Prefix = {"$CNST"}, .HelpContext = kHelp, .TypeName = {"$Const"},
    .Caption = {"CNST"}, .Inputs = {0}, .Outputs = {1}, .OutputNames = "$",
    .Category = kCategory};

TBT_Str_Fest::TBT_Str_Fest() : TBTTextBlock(Description, true) {}

void TBT_Str_Fest::WriteData(TWriter& writer)
{
    TBTTextBlock::WriteData(writer);
    writer.WriteString(Text);
}

void TBT_Str_Fest::ReadData(TReader& reader, uint8_t version)
{
    TBTTextBlock::ReadData(reader, version);
    Text = reader.ReadString();
}

int TBT_Str_Fest::EditProperties()
{
    return BlockSupport::ShowSettings(*this, [&](TPropScrollbox& sheet) {
        sheet.AddEditProp(Translate(QStringLiteral("String")), Text, 0, 200);
    });
}

QString TBT_Str_Fest::GetHint() const
{
    return TBTTextBlock::GetHint() + QStringLiteral("\r= \"") + Text + QLatin1Char('"');
}

void TBT_Str_Fest::SimReset()
{
    SetOutputText(0, Text);
}

// --- TBTStrPlus ------------------------------------------------------------------------------

const TComponentDescription TBTStrPlus::Description{
    .Name = "TBTStrPlus", .Prefix = {"$ADD"}, .HelpContext = kHelp, .TypeName = {"$Add"},
    .Caption = {"ADD"}, .Inputs = {2, 2, 16}, .Outputs = {1}, .InputNames = "$1 $2",
    .OutputNames = "$", .Category = kCategory};

TBTStrPlus::TBTStrPlus() : TBTTextBlock(Description, true) {}

int TBTStrPlus::EditProperties()
{
    return EditInputCount(*this);
}

void TBTStrPlus::NameInputs()
{
    for (int i = 0; i < InputCount; ++i)
        Inputs[size_t(i)]->SetName(QStringLiteral("$%1").arg(i + 1));
}

void TBTStrPlus::Calculate()
{
    QString joined;
    for (int i = 0; i < InputCount; ++i)
        joined += GetInputText(i);
    SetOutputText(0, joined);
}

// --- The one-step operations -----------------------------------------------------------------

#define TV_DESCRIBE(Class, prefix, typeName, caption, inputs, outputs, inNames, outNames)      \
    const TComponentDescription Class::Description{                                            \
        .Name = #Class, .Prefix = {prefix}, .HelpContext = kHelp, .TypeName = typeName,       \
        .Caption = {caption}, .Inputs = {inputs}, .Outputs = {outputs},                        \
        .InputNames = inNames, .OutputNames = outNames, .Category = kCategory};                \
    Class::Class() : TBTTextBlock(Description, false) {}

TV_DESCRIBE(TBT_Str_Value, "$VAL", {"$Value"}, "VAL", 1, 1, "$", "V")
TV_DESCRIBE(TBTStrCopy, "$C", {"$Copy"}, "COPY", 3, 1, "$ P N", "$")
TV_DESCRIBE(TBTStrReplace, "$RPL", {"$Replace"}, "RPLCE", 5, 1, "$ $Old $New All CS", "$")
TV_DESCRIBE(TBTStrCompare, "$CMP", {"$Compare"}, "CMP", 2, 3, "$A $B", "A>B A=B A<B")
TV_DESCRIBE(TBTStrChr, "$CHR", {"$Character"}, "CHR", 1, 1, "ASC", "$CHR")
TV_DESCRIBE(TBTStrASCII, "$ASC", {"$ASCII"}, "ASC", 1, 1, "$CHR", "ASC")
TV_DESCRIBE(TBTStrInsert, "$INS", {"$Insert"}, "INS", 3, 1, "$ $Ins Pos", "$")
TV_DESCRIBE(TBTStrLength, "$LEN", {"$Length"}, "LEN", 1, 1, "$", "L")
TV_DESCRIBE(TBTStrPos, "$POS", {"$Position"}, "POS", 2, 1, "$M $S", "Pos")
TV_DESCRIBE(TBTStrTrim, "$TRM", {"$Trim"}, "TRIM", 3, 1, "$ L R", "$")
TV_DESCRIBE(TBTStrUpper, "$UPP", {"$Upper"}, "UPP", 2, 1, "$ U/L", "$")
TV_DESCRIBE(TBTStrIndex, "$Idx", {"$Index"}, "INDX", 2, 1, "$ [i]", "$Chr")
TV_DESCRIBE(TBTStrDelete, "$DEL", {"$Delete"}, "DEL", 3, 1, "$ P N", "$")

#undef TV_DESCRIBE

void TBT_Str_Value::Calculate()
{
    SetOutputValue(0, TextToValue(GetInputText(0)));
}

void TBTStrCopy::Calculate()
{
    const QString text = GetInputText(0);
    const int p = std::max(GetInputWord(1), 1);
    const int n = GetInputWord(2);
    SetOutputText(0, p > text.size() || n == 0 ? QString() : text.mid(p - 1, n));
}

void TBTStrReplace::Calculate()
{
    SetOutputText(0, Replace(GetInputText(0), GetInputText(1), GetInputText(2),
                             GetInputDigital(3), GetInputDigital(4)));
}

void TBTStrCompare::Calculate()
{
    const int order = QString::compare(GetInputText(0), GetInputText(1), Qt::CaseSensitive);
    SetOutputDigital(OutputFromTop(0), order < 0);
    SetOutputDigital(OutputFromTop(1), order == 0);
    SetOutputDigital(OutputFromTop(2), order > 0);
}

void TBTStrChr::Calculate()
{
    SetOutputText(0, CharacterOf(GetInputWord(0)));
}

void TBTStrASCII::Calculate()
{
    SetOutputValue(0, CodeOf(GetInputText(0)));
}

void TBTStrInsert::Calculate()
{
    QString text = GetInputText(0);
    const qsizetype at = std::min<qsizetype>(std::max(GetInputWord(2), 1) - 1, text.size());
    SetOutputText(0, text.insert(at, GetInputText(1)));
}

void TBTStrLength::Calculate()
{
    SetOutputValue(0, GetInputText(0).size());
}

void TBTStrPos::Calculate()
{
    const QString sought = GetInputText(1);
    SetOutputValue(0, sought.isEmpty() ? 0 : GetInputText(0).indexOf(sought) + 1);
}

void TBTStrTrim::Calculate()
{
    SetOutputText(0, Trim(GetInputText(0), GetInputDigital(1), GetInputDigital(2)));
}

void TBTStrUpper::Calculate()
{
    SetOutputText(0, ChangeCase(GetInputText(0), GetInputDigital(1)));
}

void TBTStrIndex::Calculate()
{
    const QString text = GetInputText(0);
    const int i = GetInputWord(1);
    SetOutputText(0, i >= 1 && i <= text.size() ? text.mid(i - 1, 1) : QString());
}

void TBTStrDelete::Calculate()
{
    QString text = GetInputText(0);
    const int p = GetInputWord(1);
    if (p >= 1 && p <= text.size())
        text.remove(p - 1, GetInputWord(2));
    SetOutputText(0, text);
}
