#include "components/digital/ShiftRegisters.h"

#include "platform/Canvas.h"
#include "platform/Context.h"
#include "platform/IniFile.h"

#include <cstdint>

namespace {

constexpr int32_t ShiftRegisterHelp = 26000;
constexpr int ClockIn = 0;
constexpr int ResetIn = 1;
constexpr int LeftIn = 2; // "L/R": high shifts towards the most significant bit
constexpr int DlIn = 3;
constexpr int DrIn = 4;
constexpr int LoadIn = 5;
constexpr int FirstDataIn = 6;

} // namespace

TBTShiftRegisterBase::TBTShiftRegisterBase(const TComponentDescription& description)
    : TBTSequential(description), m_width(OutputCount), m_loadable(InputCount > LoadIn)
{
}

void TBTShiftRegisterBase::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    DrawClockMarker(canvas, ClockIn);
    DrawSymbolCaption(canvas, SymbolCaption(), 0);
}

void TBTShiftRegisterBase::SimReset()
{
    ClearOutputs();
    Contents = 0;
    SampleL = false;
    SampleR = false;
    ParallelSample = 0;
}

void TBTShiftRegisterBase::Calculate()
{
    const bool clock = GetInputDigital(ClockIn);
    const bool run = GetInputDigital(ResetIn);
    const bool left = GetInputDigital(LeftIn);
    const bool dl = GetInputDigital(DlIn);
    const bool dr = GetInputDigital(DrIn);
    const bool load = m_loadable && !GetInputDigital(LoadIn);
    const int n = m_width;

    int32_t next = Contents;
    if (!run) {
        next = 0; // nothing is sampled while reset is active
    } else if (clock || !PrevClock) {
        SampleL = dl;
        SampleR = dr;
        if (m_loadable)
            ParallelSample = ReadWord(FirstDataIn, n);
    } else if (left) {
        const uint32_t mask = (uint32_t(1) << n) - 1u;
        next = int32_t(((uint32_t(Contents) << 1) & mask) | (SampleL ? 1u : 0u));
    } else {
        next = Contents / 2 + (SampleR ? int32_t(1) << (n - 1) : 0);
    }
    if (load) // wins over reset: the sample of the last step before the reset
        next = ParallelSample;
    if (next != Contents) {
        WriteWord(0, n, next);
        Contents = next;
    }
    PrevClock = clock;
}

void TBTShiftRegisterBase::SaveSettings(TIniFile& ini, const QString& boardName)
{
    ini.WriteInteger(StateSection(boardName), QStringLiteral("State"), Contents);
}

bool TBTShiftRegisterBase::LoadSettings(TIniFile& ini, const QString& boardName, bool)
{
    Contents = ini.ReadInteger(StateSection(boardName), QStringLiteral("State"), 0);
    WriteWord(0, m_width, Contents);
    return true;
}

// --- Members ---------------------------------------------------------------------------------

const TComponentDescription TBTSREG::Description{
    .Name = "TBTSREG", .Prefix = {"SR-"}, .HelpContext = ShiftRegisterHelp,
    .TypeName = {"Schieberegister\r(4 bit)", "Shift register\r(4 bit)",
                 "Reg. à décalage\r(4)"},
    .Caption = {"Shift (4)"}, .Inputs = {5}, .Outputs = {4},
    .InputNames = "|CK /RST L/R DL DR", .OutputNames = "Q3..0",
    .Category = TPaletteCategory::Schieberegister};
TBTSREG::TBTSREG() : TBTShiftRegisterBase(Description) {}

const TComponentDescription TBTSREG8::Description{
    .Name = "TBTSREG8", .Prefix = {"SR8-"}, .HelpContext = ShiftRegisterHelp,
    .TypeName = {"Schieberegister\r(8 bit)", "Shift register\r(8 bit)",
                 "Reg. à décalage\r(8)"},
    .Caption = {"Shift (8)"}, .Inputs = {5}, .Outputs = {8},
    .InputNames = "|CK /RST L/R DL DR", .OutputNames = "Q7..0",
    .Category = TPaletteCategory::Schieberegister};
TBTSREG8::TBTSREG8() : TBTShiftRegisterBase(Description) {}

const TComponentDescription TBTSREG16::Description{
    .Name = "TBTSREG16", .Prefix = {"SR16-"}, .HelpContext = ShiftRegisterHelp,
    .TypeName = {"Schieberegister\r(16 bit)", "Shift register\r(16 bit)",
                 "Reg. à décalage\r(16)"},
    .Caption = {"Shift (16)"}, .Inputs = {5}, .Outputs = {16},
    .InputNames = "|CK /RST L/R DL DR", .OutputNames = "Q15..0",
    .Category = TPaletteCategory::Schieberegister};
TBTSREG16::TBTSREG16() : TBTShiftRegisterBase(Description) {}

const TComponentDescription TBTSREGL::Description{
    .Name = "TBTSREGL", .Prefix = {"SRL-"}, .HelpContext = ShiftRegisterHelp,
    .TypeName = {"Schieberegister\r(4 bit, ladbar)", "Shift register\rwith load (4 bit)",
                 "Reg. à décalage\ravec charg. (4)"},
    .Caption = {"Shift (4)"}, .Inputs = {10}, .Outputs = {4},
    .InputNames = "|CK /RST L/R DL DR /LD D0..3", .OutputNames = "Q3..0",
    .Category = TPaletteCategory::Schieberegister};
TBTSREGL::TBTSREGL() : TBTShiftRegisterBase(Description) {}

const TComponentDescription TBTSREGL8::Description{
    .Name = "TBTSREGL8", .Prefix = {"SRL8-"}, .HelpContext = ShiftRegisterHelp,
    .TypeName = {"Schieberegister\r(8 bit, ladbar)", "Shift register\rwith load (8 bit)",
                 "Reg. à décalage\ravec charg.(8)"},
    .Caption = {"Shift (8)"}, .Inputs = {14}, .Outputs = {8},
    .InputNames = "|CK /RST L/R DL DR /LD D0..7", .OutputNames = "Q7..0",
    .Category = TPaletteCategory::Schieberegister};
TBTSREGL8::TBTSREGL8() : TBTShiftRegisterBase(Description) {}

const TComponentDescription TBTSREGL16::Description{
    .Name = "TBTSREGL16", .Prefix = {"SRL16-"}, .HelpContext = ShiftRegisterHelp,
    .TypeName = {"Schieberegister\r(16 Bit, ladbar)", "Shift register\rwith load (16 bit)",
                 "Reg. à décalage\ravec charg. (16)"},
    .Caption = {"Shift (16)"}, .Inputs = {22}, .Outputs = {16},
    .InputNames = "|CK /RST L/R DL DR /LD D0..15", .OutputNames = "Q15..0",
    .Category = TPaletteCategory::Schieberegister};
TBTSREGL16::TBTSREGL16() : TBTShiftRegisterBase(Description) {}
