#include "components/digital/Registers.h"

#include "platform/Canvas.h"
#include "platform/Context.h"
#include "platform/IniFile.h"

namespace {

constexpr int32_t RegisterHelp = 25000;
constexpr int ResetIn = 0;
constexpr int ClockIn = 1;
constexpr int FirstDataIn = 2;

const TRegisterKind Reg2{2, "2REG",
                         {"2-bit Register", "Register (2 bit)", "Registre (2 bits)"},
                         {"Regist.(2)", "Regist.(2)", "Regist.(2)"}};
const TRegisterKind Reg4{4, "4REG",
                         {"4-bit Register", "Register (4 bit)", "Registre (4 bits)"},
                         {"Register (4)", "Register (4)", "Register (4)"}};
const TRegisterKind Reg8{8, "8REG",
                         {"8-bit Register", "Register (8 bit)", "Registre 8 bits"},
                         {"Register (8)", "Register (8)", "Registre (8)"}};
const TRegisterKind Reg16{16, "16REG",
                          {"16-bit Register", "Register (16 bit)", "Registre 16 bits"},
                          {"Register (16)", "Register (16)", "Registre (16)"}};
const TRegisterKind Lat2{2, "2LAT", {"2-bit Latch", "Latch (2-bit)", "Latch (2 bits)"},
                         {"Latch (2)", "Latch (2)", "Latch (2)"}};
const TRegisterKind Lat4{4, "4LAT", {"4-bit Latch", "Latch (4-bit)", "Latch 4 bits"},
                         {"Latch (4)", "Latch (4)", "Latch (4)"}};
const TRegisterKind Lat8{8, "8LAT", {"8-bit Latch", "Latch (8-bit)", "Latch 8 bits"},
                         {"Latch (8)", "Latch (8)", "Latch (8)"}};
const TRegisterKind Lat16{16, "16LAT", {"16-bit Latch", "Latch (16-bit)", "Latch (16 bits)"},
                          {"Latch (16)", "Latch (16)", "Latch (16)"}};

} // namespace

// --- TBTRegisterBase -------------------------------------------------------------------------

TBTRegisterBase::TBTRegisterBase(const TRegisterKind& kind, bool edgeTriggered)
    : TBTSequential(FirstDataIn + kind.Width, kind.Width, QString::fromLatin1(kind.Prefix),
                    RegisterHelp),
      m_kind(kind), m_edgeTriggered(edgeTriggered)
{
}

void TBTRegisterBase::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    if (m_edgeTriggered)
        DrawClockMarker(canvas, ClockIn);
    DrawSymbolCaption(canvas, Caption(), 0);
}

void TBTRegisterBase::NameInputs()
{
    NamePins(Inputs, {"/RST", m_edgeTriggered ? "|CK" : "CK"});
    NameDataInputs(FirstDataIn, m_kind.Width);
}

void TBTRegisterBase::NameOutputs()
{
    NameWordOutputs(0, m_kind.Width);
}

QString TBTRegisterBase::GetTypeName() const
{
    return Lang3Q(m_kind.TypeName[0], m_kind.TypeName[1], m_kind.TypeName[2]);
}

QString TBTRegisterBase::Caption() const
{
    return Lang3Q(m_kind.Caption[0], m_kind.Caption[1], m_kind.Caption[2]);
}

// --- TBTEdgeRegister -------------------------------------------------------------------------

void TBTEdgeRegister::SimReset()
{
    ClearOutputs();
    Value = 0;
    Sampled = 0;
}

void TBTEdgeRegister::Calculate()
{
    const bool run = GetInputDigital(ResetIn);
    const bool clock = GetInputDigital(ClockIn);
    int32_t next = Value;
    if (!run)
        next = 0; // nothing is sampled while reset is active
    else if (clock && !PrevClock)
        Sampled = ReadWord(FirstDataIn, m_kind.Width);
    else if (!clock && PrevClock)
        next = Sampled;
    if (next != Value) {
        WriteWord(0, m_kind.Width, next);
        Value = next;
    }
    PrevClock = clock;
}

void TBTEdgeRegister::SaveSettings(TIniFile& ini, const QString& boardName)
{
    const QString section = StateSection(boardName);
    ini.WriteInteger(section, QStringLiteral("State"), Value);
    ini.WriteInteger(section, QStringLiteral("StateInternal"), Sampled);
}

bool TBTEdgeRegister::LoadSettings(TIniFile& ini, const QString& boardName, bool)
{
    const QString section = StateSection(boardName);
    Value = ini.ReadInteger(section, QStringLiteral("State"), 0);
    Sampled = ini.ReadInteger(section, QStringLiteral("StateInternal"), 0);
    WriteWord(0, m_kind.Width, Value);
    return true;
}

// --- TBTLatch --------------------------------------------------------------------------------

void TBTLatch::SimReset()
{
    ClearOutputs();
    Value = 0;
}

void TBTLatch::Calculate()
{
    int32_t next = Value;
    if (!GetInputDigital(ResetIn))
        next = 0;
    else if (GetInputDigital(ClockIn))
        next = ReadWord(FirstDataIn, m_kind.Width);
    if (next != Value) {
        WriteWord(0, m_kind.Width, next);
        Value = next;
    }
}

void TBTLatch::SaveSettings(TIniFile& ini, const QString& boardName)
{
    ini.WriteInteger(StateSection(boardName), QStringLiteral("State"), Value);
}

bool TBTLatch::LoadSettings(TIniFile& ini, const QString& boardName, bool)
{
    Value = ini.ReadInteger(StateSection(boardName), QStringLiteral("State"), 0);
    WriteWord(0, m_kind.Width, Value);
    return true;
}

// --- Members ---------------------------------------------------------------------------------

TBTREG2::TBTREG2() : TBTEdgeRegister(Reg2) {}
TBTREG4::TBTREG4() : TBTEdgeRegister(Reg4) {}
TBTREG8::TBTREG8() : TBTEdgeRegister(Reg8) {}
TBTREG16::TBTREG16() : TBTEdgeRegister(Reg16) {}
TBTREG2_T::TBTREG2_T() : TBTLatch(Lat2) {}
TBTREG4_T::TBTREG4_T() : TBTLatch(Lat4) {}
TBTREG8_T::TBTREG8_T() : TBTLatch(Lat8) {}
TBTREG16_T::TBTREG16_T() : TBTLatch(Lat16) {}
