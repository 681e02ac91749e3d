#include "components/digital/Counters.h"

#include "platform/Canvas.h"
#include "platform/Context.h"
#include "platform/IniFile.h"

#include <cstdint>

namespace {

constexpr int32_t CounterHelp = 24000;

// Fixed inputs of every counter: clock, reset, direction, the two enables.
constexpr int ClockIn = 0;
constexpr int ResetIn = 1;
constexpr int UpIn = 2;
constexpr int EntIn = 3;
constexpr int EnpIn = 4;
constexpr int LoadIn = 5;
constexpr int FirstDataIn = 6;
constexpr int CarryOut = 0;
constexpr int FirstQOut = 1;

} // namespace

TBTCounterBase::TBTCounterBase(const TComponentDescription& description, int32_t max,
                               bool keepsCount)
    : TBTSequential(description), m_max(max), m_width(OutputCount - FirstQOut),
      m_loadable(InputCount > LoadIn), m_keepsCount(keepsCount)
{
}

void TBTCounterBase::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    DrawClockMarker(canvas, ClockIn);
    DrawSymbolCaption(canvas, SymbolCaption(), 0);
}

void TBTCounterBase::SimReset()
{
    ClearOutputs();
    Count = 0;
    Carry = false;
}

void TBTCounterBase::Calculate()
{
    const bool clock = GetInputDigital(ClockIn);
    const bool run = GetInputDigital(ResetIn);
    const bool up = GetInputDigital(UpIn);
    const bool ent = GetInputDigital(EntIn);
    const bool enp = GetInputDigital(EnpIn);
    const bool load = m_loadable && !GetInputDigital(LoadIn);

    int32_t next = Count;
    if (!run) {
        next = 0;
    } else if (load) {
        next = ReadWord(FirstDataIn, m_width);
    } else if (!clock && PrevClock && ent && enp) {
        // Wide arithmetic: a count taken from the state file may lie anywhere.
        const int64_t stepped = int64_t(Count) + (up ? 1 : -1);
        next = stepped > m_max ? 0 : stepped < 0 ? m_max : int32_t(stepped);
    }
    if (next != Count) {
        WriteWord(FirstQOut, m_width, next);
        Count = next;
    }
    SetOutputDigital(CarryOut, Carry);
    Carry = ent && next == (up ? m_max : 0);
    PrevClock = clock;
}

void TBTCounterBase::SaveSettings(TIniFile& ini, const QString& boardName)
{
    if (m_keepsCount)
        ini.WriteInteger(StateSection(boardName), QStringLiteral("Z"), Count);
}

bool TBTCounterBase::LoadSettings(TIniFile& ini, const QString& boardName, bool)
{
    if (!m_keepsCount)
        return false;
    Count = ini.ReadInteger(StateSection(boardName), QStringLiteral("Z"), 0);
    WriteWord(FirstQOut, m_width, Count);
    return true;
}

// --- Members ---------------------------------------------------------------------------------

const TComponentDescription TBTCNT4::Description{
    .Name = "TBTCNT4", .Prefix = {"ZBIN"}, .HelpContext = CounterHelp,
    .TypeName = {"4-bit Zähler", "Counter\r(4 bit)", "Compteur\r4 bits"},
    .Caption = {"Zähler (4)", "Counter (4)", "Compteur (4)"},
    .Inputs = {5}, .Outputs = {5}, .InputNames = "|CK /RST U/D /ENT /ENP",
    .OutputNames = "/RCO Q3..0", .Category = TPaletteCategory::Zaehler};
TBTCNT4::TBTCNT4() : TBTCounterBase(Description, 15, true) {}

const TComponentDescription TBTCNT8::Description{
    .Name = "TBTCNT8", .Prefix = {"Z8BIN"}, .HelpContext = CounterHelp,
    .TypeName = {"8-bit Zähler", "Counter\r(8 bit)", "Compteur\r8 bits"},
    .Caption = {"Zähler (8)", "Counter (8)", "Compteur (8)"},
    .Inputs = {5}, .Outputs = {9}, .InputNames = "|CK /RST U/D /ENT /ENP",
    .OutputNames = "/RCO Q7..0", .Category = TPaletteCategory::Zaehler};
TBTCNT8::TBTCNT8() : TBTCounterBase(Description, 255, true) {}

const TComponentDescription TBTCNT16::Description{
    .Name = "TBTCNT16", .Prefix = {"Z16BIN"}, .HelpContext = CounterHelp,
    .TypeName = {"16-bit Zähler", "Counter\r(16 bit)", "Compteur\r16 bits"},
    .Caption = {"Zähler (16)", "Counter (16)", "Compteur (16)"},
    .Inputs = {5}, .Outputs = {17}, .InputNames = "|CK /RST U/D /ENT /ENP",
    .OutputNames = "/RCO Q15..0", .Category = TPaletteCategory::Zaehler};
TBTCNT16::TBTCNT16() : TBTCounterBase(Description, 65535, true) {}

const TComponentDescription TBTCNT4D::Description{
    .Name = "TBTCNT4D", .Prefix = {"ZDEK"}, .HelpContext = CounterHelp,
    .TypeName = {"4-bit Zähler\r(dekade)", "Decade counter\r(4 bit)", "Compteur décade\r4 bits"},
    .Caption = {"Zähler (Dez)", "D-counter", "Compteur-D"},
    .Inputs = {5}, .Outputs = {5}, .InputNames = "|CK /RST U/D /ENT /ENP",
    .OutputNames = "/RCO Q3..0", .Category = TPaletteCategory::Zaehler};
TBTCNT4D::TBTCNT4D() : TBTCounterBase(Description, 9, true) {}

const TComponentDescription TBTCNTLD::Description{
    .Name = "TBTCNTLD", .Prefix = {"ZDEKL"}, .HelpContext = CounterHelp,
    .TypeName = {"4-bit Zähler\r(dekade, ladbar)", "Decade counter\rwith load",
                 "Compteur décade\ravec chargement"},
    .Caption = {"Zähler, ladbar (Dez)", "Decade counter", "Compteur décade"},
    .Inputs = {10}, .Outputs = {5}, .InputNames = "|CK /RST U/D /ENT /ENP /LD D0..3",
    .OutputNames = "/RCO Q3..0", .Category = TPaletteCategory::Zaehler};
TBTCNTLD::TBTCNTLD() : TBTCounterBase(Description, 9, true) {}

const TComponentDescription TBTCNTL::Description{
    .Name = "TBTCNTL", .Prefix = {"ZBINL"}, .HelpContext = CounterHelp,
    .TypeName = {"4-bit Zähler\r(ladbar)", "Counter\rwith load (4 bit)",
                 "Compteur avec\rchargement 4 bits"},
    .Caption = {"Zähler, ladbar (4)", "Counter (4)", "Compteur (4)"},
    .Inputs = {10}, .Outputs = {5}, .InputNames = "|CK /RST U/D /ENT /ENP /LD D0..3",
    .OutputNames = "/RCO Q3..0", .Category = TPaletteCategory::Zaehler};
TBTCNTL::TBTCNTL() : TBTCounterBase(Description, 15, false) {}

const TComponentDescription TBTCNTL8::Description{
    .Name = "TBTCNTL8", .Prefix = {"Z8BINL"}, .HelpContext = CounterHelp,
    .TypeName = {"8-bit Zähler\r(ladbar)", "Counter (8 bit)\rwith load",
                 "Compteur avec\rchargement 8 bits"},
    .Caption = {"Zähler, ladbar (8)", "Counter (8)", "Compteur (8)"},
    .Inputs = {14}, .Outputs = {9}, .InputNames = "|CK /RST U/D /ENT /ENP /LD D0..7",
    .OutputNames = "/RCO Q7..0", .Category = TPaletteCategory::Zaehler};
TBTCNTL8::TBTCNTL8() : TBTCounterBase(Description, 255, true) {}

const TComponentDescription TBTCNTL16::Description{
    .Name = "TBTCNTL16", .Prefix = {"Z16BINL"}, .HelpContext = CounterHelp,
    .TypeName = {"16-bit Zähler\r(ladbar)", "Counter (16 bit)\rwith load",
                 "Coumpteur 16 bits\ravec chargement"},
    .Caption = {"Zähler, ladbar (16)", "Counter (16)", "Compteur (16)"},
    .Inputs = {22}, .Outputs = {17}, .InputNames = "|CK /RST U/D /ENT /ENP /LD D0..15",
    .OutputNames = "/RCO Q15..0", .Category = TPaletteCategory::Zaehler};
TBTCNTL16::TBTCNTL16() : TBTCounterBase(Description, 65535, true) {}
