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

const TShiftRegisterKind SReg4{4, false, "SR-",
                               {"Schieberegister\r(4 bit)", "Shift register\r(4 bit)",
                                "Reg. à décalage\r(4)"},
                               "Shift (4)"};
const TShiftRegisterKind SReg8{8, false, "SR8-",
                               {"Schieberegister\r(8 bit)", "Shift register\r(8 bit)",
                                "Reg. à décalage\r(8)"},
                               "Shift (8)"};
const TShiftRegisterKind SReg16{16, false, "SR16-",
                                {"Schieberegister\r(16 bit)", "Shift register\r(16 bit)",
                                 "Reg. à décalage\r(16)"},
                                "Shift (16)"};
const TShiftRegisterKind SRegL4{4, true, "SRL-",
                                {"Schieberegister\r(4 bit, ladbar)",
                                 "Shift register\rwith load (4 bit)",
                                 "Reg. à décalage\ravec charg. (4)"},
                                "Shift (4)"};
const TShiftRegisterKind SRegL8{8, true, "SRL8-",
                                {"Schieberegister\r(8 bit, ladbar)",
                                 "Shift register\rwith load (8 bit)",
                                 "Reg. à décalage\ravec charg.(8)"},
                                "Shift (8)"};
const TShiftRegisterKind SRegL16{16, true, "SRL16-",
                                 {"Schieberegister\r(16 Bit, ladbar)",
                                  "Shift register\rwith load (16 bit)",
                                  "Reg. à décalage\ravec charg. (16)"},
                                 "Shift (16)"};

int32_t InputsOf(const TShiftRegisterKind& kind)
{
    return kind.Loadable ? FirstDataIn + kind.Width : LoadIn;
}

} // namespace

TBTShiftRegisterBase::TBTShiftRegisterBase(const TShiftRegisterKind& kind)
    : TBTSequential(InputsOf(kind), kind.Width, QString::fromLatin1(kind.Prefix),
                    ShiftRegisterHelp),
      m_kind(kind)
{
}

void TBTShiftRegisterBase::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    DrawClockMarker(canvas, ClockIn);
    DrawSymbolCaption(canvas, QString::fromLatin1(m_kind.Caption), 0);
}

void TBTShiftRegisterBase::NameInputs()
{
    NamePins(Inputs, {"|CK", "/RST", "L/R", "DL", "DR", "/LD"});
    if (m_kind.Loadable)
        NameDataInputs(FirstDataIn, m_kind.Width);
}

void TBTShiftRegisterBase::NameOutputs()
{
    NameWordOutputs(0, m_kind.Width);
}

QString TBTShiftRegisterBase::GetTypeName() const
{
    return Lang3Q(m_kind.TypeName[0], m_kind.TypeName[1], m_kind.TypeName[2]);
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
    const bool load = m_kind.Loadable && !GetInputDigital(LoadIn);
    const int n = m_kind.Width;

    int32_t next = Contents;
    if (!run) {
        next = 0; // nothing is sampled while reset is active
    } else if (clock || !PrevClock) {
        SampleL = dl;
        SampleR = dr;
        if (m_kind.Loadable)
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
    WriteWord(0, m_kind.Width, Contents);
    return true;
}

TBTSREG::TBTSREG() : TBTShiftRegisterBase(SReg4) {}
TBTSREG8::TBTSREG8() : TBTShiftRegisterBase(SReg8) {}
TBTSREG16::TBTSREG16() : TBTShiftRegisterBase(SReg16) {}
TBTSREGL::TBTSREGL() : TBTShiftRegisterBase(SRegL4) {}
TBTSREGL8::TBTSREGL8() : TBTShiftRegisterBase(SRegL8) {}
TBTSREGL16::TBTSREGL16() : TBTShiftRegisterBase(SRegL16) {}
