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

// Number of select inputs of a multiplexer with the given inputs ("EN", "S..", "D..").
int MuxSelectBits(int inputs)
{
    int bits = 0;
    while (1 + bits + (1 << bits) < inputs)
        ++bits;
    return bits;
}

} // namespace

// --- Multiplexers ----------------------------------------------------------------------------

TBTMuxBase::TBTMuxBase(const TComponentDescription& description)
{
    Describe(description);
    SetElementClass(QString());
    Editable = false;
    m_selectBits = MuxSelectBits(InputCount);
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
    DrawSymbolCaption(canvas, SymbolCaption(), 0);
}

// --- Demultiplexers --------------------------------------------------------------------------

TBTDemuxBase::TBTDemuxBase(const TComponentDescription& description)
{
    Describe(description);
    SetElementClass(QString());
    Editable = false;
    m_selectBits = InputCount - 1;
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
    DrawSymbolCaption(canvas, SymbolCaption(), 0);
}

// --- Members ---------------------------------------------------------------------------------

const TComponentDescription TBTMUX2::Description{
    .Name = "TBTMUX2", .Prefix = {"2MUX"}, .HelpContext = MuxHelpContext,
    .TypeName = {"2-Kanal\rMultiplexer", "2-Channel\rMultiplexer", "Multiplexeur\r2 canaux"},
    .Caption = {"Mux (2)"}, .Inputs = {4}, .Outputs = {2}, .InputNames = "EN S0 D0..1",
    .OutputNames = "/Q Q", .Category = TPaletteCategory::Multiplexer};
TBTMUX2::TBTMUX2() : TBTMuxBase(Description) {}

const TComponentDescription TBTMUX4::Description{
    .Name = "TBTMUX4", .Prefix = {"4MUX"}, .HelpContext = MuxHelpContext,
    .TypeName = {"4-Kanal\rMultiplexer", "4-Channel\rMultiplexer", "Multiplexeur\r4 canaux"},
    .Caption = {"Mux (4)"}, .Inputs = {7}, .Outputs = {2}, .InputNames = "EN S0..1 D0..3",
    .OutputNames = "/Q Q", .Category = TPaletteCategory::Multiplexer};
TBTMUX4::TBTMUX4() : TBTMuxBase(Description) {}

const TComponentDescription TBTMUX8::Description{
    .Name = "TBTMUX8", .Prefix = {"8MUX"}, .HelpContext = MuxHelpContext,
    .TypeName = {"8-Kanal\rMultiplexer", "8-Channel\rMultiplexer", "Multplixeur\r8 canaux"},
    .Caption = {"Mux (8)"}, .Inputs = {12}, .Outputs = {2}, .InputNames = "EN S0..2 D0..7",
    .OutputNames = "/Q Q", .Category = TPaletteCategory::Multiplexer};
TBTMUX8::TBTMUX8() : TBTMuxBase(Description) {}

const TComponentDescription TBTMUX16::Description{
    .Name = "TBTMUX16", .Prefix = {"16MUX"}, .HelpContext = MuxHelpContext,
    .TypeName = {"16-Kanal\rMultiplexer", "16-Channel\rMultiplexer",
                 "Multiplexeur\r16 canaux"},
    .Caption = {"Mux (16)"}, .Inputs = {21}, .Outputs = {2}, .InputNames = "EN S0..3 D0..15",
    .OutputNames = "/Q Q", .Category = TPaletteCategory::Multiplexer};
TBTMUX16::TBTMUX16() : TBTMuxBase(Description) {}

const TComponentDescription TBTDMUX2::Description{
    .Name = "TBTDMUX2", .Prefix = {"2DMX"}, .HelpContext = MuxHelpContext,
    .TypeName = {"2-Kanal\rDemultiplexer", "2-Channel\rDemultiplexer",
                 "Démultiplexeur\r2 canaux"},
    .Caption = {"DMux"}, .Inputs = {2}, .Outputs = {2}, .InputNames = "EN S0",
    .OutputNames = "Q1..0", .Category = TPaletteCategory::Multiplexer};
TBTDMUX2::TBTDMUX2() : TBTDemuxBase(Description) {}

const TComponentDescription TBTDMUX4::Description{
    .Name = "TBTDMUX4", .Prefix = {"4DMX"}, .HelpContext = MuxHelpContext,
    .TypeName = {"4-Kanal\rDemultiplexer", "4-Channel\rDemultiplexer",
                 "Démultiplexeur\r4 canaux"},
    .Caption = {"DMux (4)"}, .Inputs = {3}, .Outputs = {4}, .InputNames = "EN S0..1",
    .OutputNames = "Q3..0", .Category = TPaletteCategory::Multiplexer};
TBTDMUX4::TBTDMUX4() : TBTDemuxBase(Description) {}

const TComponentDescription TBTDMUX8::Description{
    .Name = "TBTDMUX8", .Prefix = {"8DMX"}, .HelpContext = MuxHelpContext,
    .TypeName = {"8-Kanal\rDemultiplexer", "8-Channel\rDemultiplexer",
                 "Démultiplexeur\r8 canaux"},
    .Caption = {"DMux (8)"}, .Inputs = {4}, .Outputs = {8}, .InputNames = "EN S0..2",
    .OutputNames = "Q7..0", .Category = TPaletteCategory::Multiplexer};
TBTDMUX8::TBTDMUX8() : TBTDemuxBase(Description) {}

const TComponentDescription TBTDMUX16::Description{
    .Name = "TBTDMUX16", .Prefix = {"16DMX"}, .HelpContext = MuxHelpContext,
    .TypeName = {"16-Kanal\rDemultiplexer", "16-Channel\rDemultiplexer",
                 "Démultiplexeur\r16 canaux"},
    .Caption = {"DMux (16)"}, .Inputs = {5}, .Outputs = {16}, .InputNames = "EN S0..3",
    .OutputNames = "Q15..0", .Category = TPaletteCategory::Multiplexer};
TBTDMUX16::TBTDMUX16() : TBTDemuxBase(Description) {}
