#include "components/digital/Registers.h"

#include "platform/Canvas.h"
#include "platform/Context.h"
#include "platform/IniFile.h"

namespace {

constexpr int32_t RegisterHelp = 25000;
constexpr int ResetIn = 0;
constexpr int ClockIn = 1;
constexpr int FirstDataIn = 2;

} // namespace

// --- TBTRegisterBase -------------------------------------------------------------------------

TBTRegisterBase::TBTRegisterBase(const TComponentDescription& description, bool edgeTriggered)
    : TBTSequential(description), m_width(OutputCount), m_edgeTriggered(edgeTriggered)
{
}

void TBTRegisterBase::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    if (m_edgeTriggered)
        DrawClockMarker(canvas, ClockIn);
    DrawSymbolCaption(canvas, SymbolCaption(), 0);
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
        Sampled = ReadWord(FirstDataIn, m_width);
    else if (!clock && PrevClock)
        next = Sampled;
    if (next != Value) {
        WriteWord(0, m_width, next);
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
    WriteWord(0, m_width, Value);
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
        next = ReadWord(FirstDataIn, m_width);
    if (next != Value) {
        WriteWord(0, m_width, next);
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
    WriteWord(0, m_width, Value);
    return true;
}

// --- Members ---------------------------------------------------------------------------------

const TComponentDescription TBTREG2::Description{
    .Name = "TBTREG2", .Prefix = {"2REG"}, .HelpContext = RegisterHelp,
    .TypeName = {"2-bit Register", "Register (2 bit)", "Registre (2 bits)"},
    .Caption = {"Regist.(2)"}, .Inputs = {4}, .Outputs = {2},
    .InputNames = "/RST |CK D0..1", .OutputNames = "Q1..0",
    .Category = TPaletteCategory::Register};
TBTREG2::TBTREG2() : TBTEdgeRegister(Description) {}

const TComponentDescription TBTREG4::Description{
    .Name = "TBTREG4", .Prefix = {"4REG"}, .HelpContext = RegisterHelp,
    .TypeName = {"4-bit Register", "Register (4 bit)", "Registre (4 bits)"},
    .Caption = {"Register (4)"}, .Inputs = {6}, .Outputs = {4},
    .InputNames = "/RST |CK D0..3", .OutputNames = "Q3..0",
    .Category = TPaletteCategory::Register};
TBTREG4::TBTREG4() : TBTEdgeRegister(Description) {}

const TComponentDescription TBTREG8::Description{
    .Name = "TBTREG8", .Prefix = {"8REG"}, .HelpContext = RegisterHelp,
    .TypeName = {"8-bit Register", "Register (8 bit)", "Registre 8 bits"},
    .Caption = {"Register (8)", "Register (8)", "Registre (8)"}, .Inputs = {10}, .Outputs = {8},
    .InputNames = "/RST |CK D0..7", .OutputNames = "Q7..0",
    .Category = TPaletteCategory::Register};
TBTREG8::TBTREG8() : TBTEdgeRegister(Description) {}

const TComponentDescription TBTREG16::Description{
    .Name = "TBTREG16", .Prefix = {"16REG"}, .HelpContext = RegisterHelp,
    .TypeName = {"16-bit Register", "Register (16 bit)", "Registre 16 bits"},
    .Caption = {"Register (16)", "Register (16)", "Registre (16)"}, .Inputs = {18}, .Outputs = {16},
    .InputNames = "/RST |CK D0..15", .OutputNames = "Q15..0",
    .Category = TPaletteCategory::Register};
TBTREG16::TBTREG16() : TBTEdgeRegister(Description) {}

const TComponentDescription TBTREG2_T::Description{
    .Name = "TBTREG2_T", .Prefix = {"2LAT"}, .HelpContext = RegisterHelp,
    .TypeName = {"2-bit Latch", "Latch (2-bit)", "Latch (2 bits)"},
    .Caption = {"Latch (2)"}, .Inputs = {4}, .Outputs = {2},
    .InputNames = "/RST CK D0..1", .OutputNames = "Q1..0",
    .Category = TPaletteCategory::Register};
TBTREG2_T::TBTREG2_T() : TBTLatch(Description) {}

const TComponentDescription TBTREG4_T::Description{
    .Name = "TBTREG4_T", .Prefix = {"4LAT"}, .HelpContext = RegisterHelp,
    .TypeName = {"4-bit Latch", "Latch (4-bit)", "Latch 4 bits"},
    .Caption = {"Latch (4)"}, .Inputs = {6}, .Outputs = {4},
    .InputNames = "/RST CK D0..3", .OutputNames = "Q3..0",
    .Category = TPaletteCategory::Register};
TBTREG4_T::TBTREG4_T() : TBTLatch(Description) {}

const TComponentDescription TBTREG8_T::Description{
    .Name = "TBTREG8_T", .Prefix = {"8LAT"}, .HelpContext = RegisterHelp,
    .TypeName = {"8-bit Latch", "Latch (8-bit)", "Latch 8 bits"},
    .Caption = {"Latch (8)"}, .Inputs = {10}, .Outputs = {8},
    .InputNames = "/RST CK D0..7", .OutputNames = "Q7..0",
    .Category = TPaletteCategory::Register};
TBTREG8_T::TBTREG8_T() : TBTLatch(Description) {}

const TComponentDescription TBTREG16_T::Description{
    .Name = "TBTREG16_T", .Prefix = {"16LAT"}, .HelpContext = RegisterHelp,
    .TypeName = {"16-bit Latch", "Latch (16-bit)", "Latch (16 bits)"},
    .Caption = {"Latch (16)"}, .Inputs = {18}, .Outputs = {16},
    .InputNames = "/RST CK D0..15", .OutputNames = "Q15..0",
    .Category = TPaletteCategory::Register};
TBTREG16_T::TBTREG16_T() : TBTLatch(Description) {}
