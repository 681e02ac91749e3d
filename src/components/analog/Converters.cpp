#include "components/analog/Converters.h"

#include "components/analog/Integrators.h"

#include "core/model/Translator.h"
#include "platform/Canvas.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "ui/Formats.h"
#include "ui/PropertySheet.h"

#include <cmath>

namespace {

// 2^bits - 1, the largest code of the width (bits taken within 0 .. 16).
uint32_t LargestCode(int bits)
{
    const int b = bits < 0 ? 0 : (bits > TBTConverter::MaxBits ? TBTConverter::MaxBits : bits);
    return (uint32_t(1) << b) - 1u;
}

} // namespace

// --- TBTConverter ----------------------------------------------------------------------------

TBTConverter::TBTConverter(const TComponentDescription& description)
{
    Describe(description);
    SetElementClass(QString());
    Editable = true;
}

void TBTConverter::SimReset()
{
    const uint32_t codes = LargestCode(Bits());
    Step = codes == 0 ? 0.0L : (Maximum - Minimum) / Extended(codes);
}

int TBTConverter::EditProperties()
{
    int32_t bits = Bits();
    // A range text the user left as shown keeps the exact value behind it.
    const QString minShown = ValueToText(Minimum);
    const QString maxShown = ValueToText(Maximum);
    QString minText = minShown;
    QString maxText = maxShown;
    const int result = BlockSupport::ShowSettings(*this, [&](TPropScrollbox& sheet) {
        if (!Ctx().SimRunning && !Ctx().RuntimeMode)
            sheet.AddSpinProp(Translate(QStringLiteral("Auflösung")) + QStringLiteral(" [bit]"),
                              bits, MinBits, MaxBits, 64);
        sheet.AddRangeProp(Translate(QStringLiteral("Bereich")) + QStringLiteral(" [min/max]"),
                           minText, maxText);
    });
    if (minText != minShown)
        Minimum = TextToValue(minText);
    if (maxText != maxShown)
        Maximum = TextToValue(maxText);
    SetBits(bits);
    return result;
}

QString TBTConverter::GetHint() const
{
    const uint32_t largest = LargestCode(Bits());
    return TGrundBT::GetHint() + QLatin1Char('\r') + ValueToText(Minimum)
           + QStringLiteral(" ... ") + ValueToText(Maximum) + QLatin1Char('\r')
           + QStringLiteral("0000h ... ")
           + QStringLiteral("%1").arg(largest, 4, 16, QLatin1Char('0')).toUpper()
           + QLatin1Char('h');
}

void TBTConverter::WriteData(TWriter& writer)
{
    TGrundBT::WriteData(writer);
    writer.WriteRawExtended(Minimum);
    writer.WriteRawExtended(Maximum);
}

void TBTConverter::ReadData(TReader& reader, uint8_t version)
{
    TGrundBT::ReadData(reader, version);
    Minimum = reader.ReadRawExtended();
    Maximum = reader.ReadRawExtended();
}

void TBTConverter::PaintSymbol(TCanvas& canvas, const char* text, const char* frenchText)
{
    TGrundBT::Paint(canvas);
    const uint8_t language = Ctx().CurrentLanguage;
    if (language > 2)
        return;
    canvas.Font.setFamily(QStringLiteral("ARIAL"));
    canvas.Font.setItalic(false);
    canvas.Font.setBold(false);
    canvas.SetFontHeight(50);
    canvas.FontColor = MarkColor();
    canvas.TransparentText = true;
    const QString shown = QString::fromLatin1(language == 2 ? frenchText : text);
    const int cx = CenterX();
    const int cy = CenterY();
    canvas.TextOut(cx - canvas.TextWidth(QString::fromLatin1(text)) / 2, cy - 30, shown);
}

// --- TBTADC ----------------------------------------------------------------------------------

const TComponentDescription TBTADC::Description{
    .Name = "TBTADC", .Prefix = {"ADC"}, .HelpContext = 18395,
    .TypeName = {"A/D-Wandler", "ADC", "Convertisseur\rA/N"}, .Inputs = {1},
    .Outputs = {8, MinBits, MaxBits}, .InputNames = "E",
    .Category = TPaletteCategory::ADDAWandler};

TBTADC::TBTADC() : TBTConverter(Description) {}

uint16_t TBTADC::CodeOf(Extended value) const
{
    Extended v = value;
    if (v < Minimum)
        v = Minimum;
    if (!(v <= Maximum))
        v = Maximum;
    if (Step == 0.0L)
        return 0;
    const Extended units = (v - Minimum) / Step;
    if (!std::isfinite(units))
        return 0;
    return uint16_t(RoundHalfEven(units) & 0xFFFF);
}

void TBTADC::Calculate()
{
    const uint16_t code = CodeOf(GetInputValue(0));
    const int bits = OutputCount;
    for (int k = 0; k < bits; ++k)
        SetOutputDigital(bits - 1 - k, k < 16 && ((code >> k) & 1u) != 0);
}

void TBTADC::NameOutputs()
{
    const size_t bits = Outputs.size();
    for (size_t j = 0; j < bits; ++j)
        Outputs[j]->SetName(QStringLiteral("D") + QString::number(bits - 1 - j));
}

void TBTADC::Paint(TCanvas& canvas)
{
    PaintSymbol(canvas, "A/D", "A/N");
}

// --- TBTDAC ----------------------------------------------------------------------------------

const TComponentDescription TBTDAC::Description{
    .Name = "TBTDAC", .Prefix = {"DAC"}, .HelpContext = 18400,
    .TypeName = {"D/A-Wandler", "DAC", "Convertisseur\rN/A"}, .Inputs = {8, MinBits, MaxBits},
    .Outputs = {1}, .InputNames = "D0..15", .OutputNames = "A",
    .Category = TPaletteCategory::ADDAWandler};

TBTDAC::TBTDAC() : TBTConverter(Description) {}

void TBTDAC::Calculate()
{
    uint32_t code = 0;
    const int bits = InputCount < MaxBits ? InputCount : MaxBits;
    for (int i = 0; i < bits; ++i) {
        if (GetInputDigital(i))
            code |= uint32_t(1) << i;
    }
    SetOutputValue(0, Extended(code & 0xFFFFu) * Step + Minimum);
}

void TBTDAC::Paint(TCanvas& canvas)
{
    PaintSymbol(canvas, "D/A", "N/A");
}
