#include "components/digital/Multiplexers.h"

#include "platform/Context.h"
#include "platform/Filer.h"

namespace {

constexpr int32_t MuxHelpContext = 27000;

// Select value: S0 + 2 S1 + 4 S2 + 8 S3 over the select inputs 1 .. bits.
inline int SelectValue(const TIOBauteil& c, int bits)
{
    int sel = 0;
    for (int i = 0; i < bits; ++i) {
        if (c.GetInputDigital(1 + i))
            sel |= 1 << i;
    }
    return sel;
}

// Names "EN", "S0" ... for the first 1 + bits inputs; the rest "D0", "D1" ...
void NameSelectorInputs(TIOBauteil& c, int bits)
{
    for (int i = 0; i < c.InputCount; ++i) {
        QString name;
        if (i == 0)
            name = QStringLiteral("EN");
        else if (i <= bits)
            name = QStringLiteral("S") + QString::number(i - 1);
        else
            name = QStringLiteral("D") + QString::number(i - 1 - bits);
        c.Inputs[i]->SetName(name);
    }
}

} // namespace

// --- Multiplexers ----------------------------------------------------------------------------

TBTMuxBase::TBTMuxBase(int selectBits, const char* prefix) : m_selectBits(selectBits)
{
    SetInputCount(1 + selectBits + (1 << selectBits));
    SetOutputCount(2);
    SetElementClass(QString());
    SetPrefix(QString::fromLatin1(prefix));
    Editable = false;
    HelpContext = MuxHelpContext;
}

void TBTMuxBase::NameInputs()
{
    NameSelectorInputs(*this, m_selectBits);
}

void TBTMuxBase::NameOutputs()
{
    static const char* const names[] = {"/Q", "Q"};
    for (int j = 0; j < OutputCount && j < 2; ++j)
        Outputs[j]->SetName(QString::fromLatin1(names[j]));
}

void TBTMuxBase::SimReset()
{
    SetOutputDigital(0, true);
    SetOutputDigital(1, false);
}

void TBTMuxBase::Calculate()
{
    const bool enabled = GetInputDigital(0);
    const int data = 1 + m_selectBits + SelectValue(*this, m_selectBits);
    if (enabled) {
        SetOutputDigital(1, GetInputDigital(data));
        SetOutputDigital(0, !GetInputDigital(data));
    } else {
        SetOutputDigital(1, false);
        SetOutputDigital(0, true);
    }
}

void TBTMuxBase::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    DrawSymbolCaption(canvas, Caption(), 0);
}

void TBTMuxBase::ReadData(TReader& reader, uint8_t version)
{
    TGrundBT::ReadData(reader, version);
    CheckStoredPins(1 + m_selectBits + (1 << m_selectBits), 2);
}

// --- Demultiplexers --------------------------------------------------------------------------

TBTDemuxBase::TBTDemuxBase(int selectBits, const char* prefix) : m_selectBits(selectBits)
{
    SetInputCount(1 + selectBits);
    SetOutputCount(1 << selectBits);
    SetElementClass(QString());
    SetPrefix(QString::fromLatin1(prefix));
    Editable = false;
    HelpContext = MuxHelpContext;
}

void TBTDemuxBase::NameInputs()
{
    NameSelectorInputs(*this, m_selectBits);
}

void TBTDemuxBase::NameOutputs()
{
    for (int j = 0; j < OutputCount; ++j)
        Outputs[j]->SetName(QStringLiteral("Q") + QString::number(OutputCount - 1 - j));
}

void TBTDemuxBase::SimReset()
{
    for (int j = 0; j < OutputCount; ++j)
        SetOutputDigital(j, false);
    LastSelection = -1;
}

void TBTDemuxBase::Calculate()
{
    const int s = GetInputDigital(0) ? SelectValue(*this, m_selectBits) : -1;
    if (s == LastSelection)
        return;
    // Output j carries the number OutputCount - 1 - j.
    for (int j = 0; j < OutputCount; ++j)
        SetOutputDigital(j, OutputCount - 1 - j == s);
    LastSelection = s;
}

void TBTDemuxBase::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    DrawSymbolCaption(canvas, Caption(), 0);
}

void TBTDemuxBase::ReadData(TReader& reader, uint8_t version)
{
    TGrundBT::ReadData(reader, version);
    CheckStoredPins(1 + m_selectBits, 1 << m_selectBits);
}

// --- Members ---------------------------------------------------------------------------------

TBTMUX2::TBTMUX2() : TBTMuxBase(1, "2MUX") {}
QString TBTMUX2::GetTypeName() const
{
    return Lang3Q("2-Kanal\rMultiplexer", "2-Channel\rMultiplexer", "Multiplexeur\r2 canaux");
}
QString TBTMUX2::Caption() const { return QStringLiteral("Mux (2)"); }

TBTMUX4::TBTMUX4() : TBTMuxBase(2, "4MUX") {}
QString TBTMUX4::GetTypeName() const
{
    return Lang3Q("4-Kanal\rMultiplexer", "4-Channel\rMultiplexer", "Multiplexeur\r4 canaux");
}
QString TBTMUX4::Caption() const { return QStringLiteral("Mux (4)"); }

TBTMUX8::TBTMUX8() : TBTMuxBase(3, "8MUX") {}
QString TBTMUX8::GetTypeName() const
{
    return Lang3Q("8-Kanal\rMultiplexer", "8-Channel\rMultiplexer", "Multplixeur\r8 canaux");
}
QString TBTMUX8::Caption() const { return QStringLiteral("Mux (8)"); }

TBTMUX16::TBTMUX16() : TBTMuxBase(4, "16MUX") {}
QString TBTMUX16::GetTypeName() const
{
    return Lang3Q("16-Kanal\rMultiplexer", "16-Channel\rMultiplexer",
                  "Multiplexeur\r16 canaux");
}
QString TBTMUX16::Caption() const { return QStringLiteral("Mux (16)"); }

TBTDMUX2::TBTDMUX2() : TBTDemuxBase(1, "2DMX") {}
QString TBTDMUX2::GetTypeName() const
{
    return Lang3Q("2-Kanal\rDemultiplexer", "2-Channel\rDemultiplexer",
                  "Démultiplexeur\r2 canaux");
}
QString TBTDMUX2::Caption() const { return QStringLiteral("DMux"); }

TBTDMUX4::TBTDMUX4() : TBTDemuxBase(2, "4DMX") {}
QString TBTDMUX4::GetTypeName() const
{
    return Lang3Q("4-Kanal\rDemultiplexer", "4-Channel\rDemultiplexer",
                  "Démultiplexeur\r4 canaux");
}
QString TBTDMUX4::Caption() const { return QStringLiteral("DMux (4)"); }

TBTDMUX8::TBTDMUX8() : TBTDemuxBase(3, "8DMX") {}
QString TBTDMUX8::GetTypeName() const
{
    return Lang3Q("8-Kanal\rDemultiplexer", "8-Channel\rDemultiplexer",
                  "Démultiplexeur\r8 canaux");
}
QString TBTDMUX8::Caption() const { return QStringLiteral("DMux (8)"); }

TBTDMUX16::TBTDMUX16() : TBTDemuxBase(4, "16DMX") {}
QString TBTDMUX16::GetTypeName() const
{
    return Lang3Q("16-Kanal\rDemultiplexer", "16-Channel\rDemultiplexer",
                  "Démultiplexeur\r16 canaux");
}
QString TBTDMUX16::Caption() const { return QStringLiteral("DMux (16)"); }
