#include "components/analog/Decoders.h"

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

TBTBCDDekoder::TBTBCDDekoder()
{
    SetInputCount(4);
    SetOutputCount(10);
    SetElementClass(QString());
    SetPrefix(QStringLiteral("BCD"));
    Editable = false;
    HelpContext = 18350;
}

void TBTBCDDekoder::NameInputs()
{
    for (int i = 0; i < InputCount; ++i)
        Inputs[i]->SetName(QStringLiteral("B") + QString::number(i));
}

void TBTBCDDekoder::NameOutputs()
{
    for (int i = 0; i < OutputCount; ++i)
        Outputs[i]->SetName(QStringLiteral("D") + QString::number(9 - i));
}

QString TBTBCDDekoder::GetTypeName() const
{
    return Lang3Q("BCD-Dekoder", "BCD Decoder", "Décodeur BCD");
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

void TBTBCDDekoder::ReadData(TReader& reader, uint8_t version)
{
    TGrundBT::ReadData(reader, version);
    CheckStoredPins(4, 10);
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

TBTSeg7Decoder::TBTSeg7Decoder()
{
    SetInputCount(4);
    SetOutputCount(7);
    SetElementClass(QString());
    SetPrefix(QStringLiteral("7SDEC"));
    Editable = false;
    HelpContext = 18355;
}

void TBTSeg7Decoder::NameInputs()
{
    for (int i = 0; i < InputCount; ++i)
        Inputs[i]->SetName(QStringLiteral("S") + QString::number(i));
}

void TBTSeg7Decoder::NameOutputs()
{
    // Pin 0 is segment g, pin 6 segment a.
    for (int i = 0; i < OutputCount && i < 7; ++i)
        Outputs[i]->SetName(QString(QChar(u'g' - i)));
}

QString TBTSeg7Decoder::GetTypeName() const
{
    return Lang3Q("7-Segment-\rDekoder", "7-Segment\rDecoder", "Décodeur\r7 segments");
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
    DrawSymbolCaption(canvas, Lang3Q("Seg7-Dekoder", "Seg7-Decoder", "Décodeur 7 seg."), 0);
}

void TBTSeg7Decoder::ReadData(TReader& reader, uint8_t version)
{
    TGrundBT::ReadData(reader, version);
    CheckStoredPins(4, 7);
}
