#include "components/digital/Decoders.h"

#include "platform/Context.h"
#include "platform/Filer.h"

namespace {

// Code of the four inputs, B0 the least significant; unconnected inputs read 1.
inline int ReadCode(const TIOBauteil& c)
{
    int code = 0;
    for (int i = 0; i < 4; ++i) {
        if (c.GetInputDigital(i))
            code |= 1 << i;
    }
    return code;
}
} // namespace

// --- TBTBCDDekoder ---------------------------------------------------------------------------

const TComponentDescription TBTBCDDekoder::Description{
    .Name = "TBTBCDDekoder", .Prefix = {"BCD"}, .HelpContext = 18350,
    .TypeName = {"BCD-Dekoder", "BCD Decoder", "Décodeur BCD"}, .Inputs = {4}, .Outputs = {10},
    .InputNames = "B0..3", .OutputNames = "D9..0", .Category = TPaletteCategory::Dekoder};

TBTBCDDekoder::TBTBCDDekoder()
{
    Describe(Description);
    SetElementClass(QString());
    Editable = false;
}

void TBTBCDDekoder::SimReset()
{
    for (int i = 0; i < OutputCount; ++i)
        SetOutputDigital(i, true);
}

void TBTBCDDekoder::Calculate()
{
    const int code = ReadCode(*this);
    for (int k = 0; k <= 9; ++k)
        SetOutputDigital(9 - k, code == k);
}

void TBTBCDDekoder::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    DrawSymbolCaption(canvas, GetTypeName(), 0);
}

// --- TBTSeg7Decoder --------------------------------------------------------------------------

const uint8_t TBTSeg7Decoder::SegmentTable[16] = {
    0x3F, // 0: a b c d e f
    0x06, // 1: b c
    0x5B, // 2: a b d e g
    0x4F, // 3: a b c d g
    0x66, // 4: b c f g
    0x6D, // 5: a c d f g
    0x7D, // 6: a c d e f g
    0x07, // 7: a b c
    0x7F, // 8: all
    0x6F, // 9: a b c d f g
    0, 0, 0, 0, 0, 0, // 10 .. 15: blank
};

const TComponentDescription TBTSeg7Decoder::Description{
    .Name = "TBTSeg7Decoder", .Prefix = {"7SDEC"}, .HelpContext = 18355,
    .TypeName = {"7-Segment-\rDekoder", "7-Segment\rDecoder", "Décodeur\r7 segments"},
    .Caption = {"Seg7-Dekoder", "Seg7-Decoder", "Décodeur 7 seg."}, .Inputs = {4}, .Outputs = {7},
    .InputNames = "S0..3", .OutputNames = "g f e d c b a", .Category = TPaletteCategory::Dekoder};

TBTSeg7Decoder::TBTSeg7Decoder()
{
    Describe(Description);
    SetElementClass(QString());
    Editable = false;
}

void TBTSeg7Decoder::SimReset()
{
    for (int i = 0; i < OutputCount; ++i)
        SetOutputDigital(i, true);
    LastCode = -1;
}

void TBTSeg7Decoder::Calculate()
{
    const int code = ReadCode(*this);
    if (code == LastCode)
        return;
    const uint8_t segments = SegmentTable[code];
    // Segments a .. g, that is pins 6 down to 0.
    for (int s = 0; s < 7; ++s)
        SetOutputDigital(6 - s, ((segments >> s) & 1u) != 0);
    LastCode = code;
}

void TBTSeg7Decoder::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    DrawSymbolCaption(canvas, SymbolCaption(), 0);
}
