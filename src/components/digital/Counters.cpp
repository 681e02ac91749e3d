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

const TCounterKind Cnt4{15, 4, false, true, "ZBIN",
                        {"4-bit Zähler", "Counter\r(4 bit)", "Compteur\r4 bits"},
                        {"Zähler (4)", "Counter (4)", "Compteur (4)"}};
const TCounterKind Cnt8{255, 8, false, true, "Z8BIN",
                        {"8-bit Zähler", "Counter\r(8 bit)", "Compteur\r8 bits"},
                        {"Zähler (8)", "Counter (8)", "Compteur (8)"}};
const TCounterKind Cnt16{65535, 16, false, true, "Z16BIN",
                         {"16-bit Zähler", "Counter\r(16 bit)", "Compteur\r16 bits"},
                         {"Zähler (16)", "Counter (16)", "Compteur (16)"}};
const TCounterKind Cnt4D{9, 4, false, true, "ZDEK",
                         {"4-bit Zähler\r(dekade)", "Decade counter\r(4 bit)",
                          "Compteur décade\r4 bits"},
                         {"Zähler (Dez)", "D-counter", "Compteur-D"}};
const TCounterKind CntLD{9, 4, true, true, "ZDEKL",
                         {"4-bit Zähler\r(dekade, ladbar)", "Decade counter\rwith load",
                          "Compteur décade\ravec chargement"},
                         {"Zähler, ladbar (Dez)", "Decade counter", "Compteur décade"}};
const TCounterKind CntL{15, 4, true, false, "ZBINL",
                        {"4-bit Zähler\r(ladbar)", "Counter\rwith load (4 bit)",
                         "Compteur avec\rchargement 4 bits"},
                        {"Zähler, ladbar (4)", "Counter (4)", "Compteur (4)"}};
const TCounterKind CntL8{255, 8, true, true, "Z8BINL",
                         {"8-bit Zähler\r(ladbar)", "Counter (8 bit)\rwith load",
                          "Compteur avec\rchargement 8 bits"},
                         {"Zähler, ladbar (8)", "Counter (8)", "Compteur (8)"}};
const TCounterKind CntL16{65535, 16, true, true, "Z16BINL",
                          {"16-bit Zähler\r(ladbar)", "Counter (16 bit)\rwith load",
                           "Coumpteur 16 bits\ravec chargement"},
                          {"Zähler, ladbar (16)", "Counter (16)", "Compteur (16)"}};

int32_t InputsOf(const TCounterKind& kind)
{
    return kind.Loadable ? FirstDataIn + kind.Width : LoadIn;
}

} // namespace

TBTCounterBase::TBTCounterBase(const TCounterKind& kind)
    : TBTSequential(InputsOf(kind), FirstQOut + kind.Width, QString::fromLatin1(kind.Prefix),
                    CounterHelp),
      m_kind(kind)
{
}

void TBTCounterBase::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    DrawClockMarker(canvas, ClockIn);
    DrawSymbolCaption(canvas, Lang3Q(m_kind.Caption[0], m_kind.Caption[1], m_kind.Caption[2]),
                      0);
}

void TBTCounterBase::NameInputs()
{
    NamePins(Inputs, {"|CK", "/RST", "U/D", "/ENT", "/ENP", "/LD"});
    if (m_kind.Loadable)
        NameDataInputs(FirstDataIn, m_kind.Width);
}

void TBTCounterBase::NameOutputs()
{
    NamePins(Outputs, {"/RCO"});
    NameWordOutputs(FirstQOut, m_kind.Width);
}

QString TBTCounterBase::GetTypeName() const
{
    return Lang3Q(m_kind.TypeName[0], m_kind.TypeName[1], m_kind.TypeName[2]);
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
    const bool load = m_kind.Loadable && !GetInputDigital(LoadIn);

    int32_t next = Count;
    if (!run) {
        next = 0;
    } else if (load) {
        next = ReadWord(FirstDataIn, m_kind.Width);
    } else if (!clock && PrevClock && ent && enp) {
        // Wide arithmetic: a count taken from the state file may lie anywhere.
        const int64_t stepped = int64_t(Count) + (up ? 1 : -1);
        next = stepped > m_kind.Max ? 0 : stepped < 0 ? m_kind.Max : int32_t(stepped);
    }
    if (next != Count) {
        WriteWord(FirstQOut, m_kind.Width, next);
        Count = next;
    }
    SetOutputDigital(CarryOut, Carry);
    Carry = ent && next == (up ? m_kind.Max : 0);
    PrevClock = clock;
}

void TBTCounterBase::SaveSettings(TIniFile& ini, const QString& boardName)
{
    if (m_kind.KeepsCount)
        ini.WriteInteger(StateSection(boardName), QStringLiteral("Z"), Count);
}

bool TBTCounterBase::LoadSettings(TIniFile& ini, const QString& boardName, bool)
{
    if (!m_kind.KeepsCount)
        return false;
    Count = ini.ReadInteger(StateSection(boardName), QStringLiteral("Z"), 0);
    WriteWord(FirstQOut, m_kind.Width, Count);
    return true;
}

TBTCNT4::TBTCNT4() : TBTCounterBase(Cnt4) {}
TBTCNT8::TBTCNT8() : TBTCounterBase(Cnt8) {}
TBTCNT16::TBTCNT16() : TBTCounterBase(Cnt16) {}
TBTCNT4D::TBTCNT4D() : TBTCounterBase(Cnt4D) {}
TBTCNTLD::TBTCNTLD() : TBTCounterBase(CntLD) {}
TBTCNTL::TBTCNTL() : TBTCounterBase(CntL) {}
TBTCNTL8::TBTCNTL8() : TBTCounterBase(CntL8) {}
TBTCNTL16::TBTCNTL16() : TBTCounterBase(CntL16) {}
