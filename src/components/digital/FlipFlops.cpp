#include "components/digital/FlipFlops.h"

#include "platform/Canvas.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "platform/IniFile.h"

// --- TBTSequential ---------------------------------------------------------------------------

TBTSequential::TBTSequential(int32_t inputs, int32_t outputs, const QString& prefix,
                             int32_t helpContext)
    : m_inputs(inputs), m_outputs(outputs)
{
    SetInputCount(inputs);
    SetOutputCount(outputs);
    SetElementClass(QString());
    SetPrefix(prefix);
    HelpContext = helpContext;
}

void TBTSequential::AfterConstruction()
{
    // The constructors ran before the final class's pin names were reachable.
    NameInputs();
    NameOutputs();
    TGrundBT::AfterConstruction();
}

void TBTSequential::ReadData(TReader& reader, uint8_t version)
{
    TGrundBT::ReadData(reader, version);
    CheckStoredPins(m_inputs, m_outputs);
}

void TBTSequential::NameDataInputs(int first, int width)
{
    for (int k = 0; k < width && first + k < InputCount; ++k)
        Inputs[first + k]->SetName(QStringLiteral("D") + QString::number(k));
}

void TBTSequential::NameWordOutputs(int first, int width)
{
    for (int k = 0; k < width && first + k < OutputCount; ++k)
        Outputs[first + k]->SetName(QStringLiteral("Q") + QString::number(width - 1 - k));
}

// --- Flip-flop bases -------------------------------------------------------------------------

void TBTFlipFlop::NameOutputs()
{
    NamePins(Outputs, {"/Q", "Q"});
}

void TBTFlipFlop::SimReset()
{
    State = InitialState;
    ShowState(InitialState);
}

void TBTFlipFlop::SaveSettings(TIniFile& ini, const QString& boardName)
{
    ini.WriteBool(StateSection(boardName), QStringLiteral("Q"), State);
}

bool TBTFlipFlop::LoadSettings(TIniFile& ini, const QString& boardName, bool)
{
    State = ini.ReadBool(StateSection(boardName), QStringLiteral("Q"), InitialState);
    return true;
}

void TBTMasterSlaveFF::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    DrawClockMarker(canvas, 2);
}

void TBTMasterSlaveFF::SimReset()
{
    for (const TMemoryFlag& m : Memory())
        *m.flag = m.initial;
    TBTFlipFlop::SimReset();
}

void TBTMasterSlaveFF::Calculate()
{
    const bool setHigh = GetInputDigital(0);
    const bool clock = GetInputDigital(2);
    const bool resetHigh = GetInputDigital(InputCount - 1);
    bool q = State;
    if (!setHigh) {
        q = true;
        Preset(true);
    }
    if (!resetHigh) {
        q = false;
        Preset(false);
    }
    if (setHigh && resetHigh) {
        if (!clock && PrevClock)
            q = NextState();
        else if (clock && !PrevClock)
            TakeInputs();
    }
    if (q != State)
        ShowState(q);
    State = q;
    PrevClock = clock;
}

void TBTMasterSlaveFF::SaveSettings(TIniFile& ini, const QString& boardName)
{
    TBTFlipFlop::SaveSettings(ini, boardName);
    const QString section = StateSection(boardName);
    for (const TMemoryFlag& m : Memory())
        ini.WriteBool(section, QString::fromLatin1(m.key), *m.flag);
}

bool TBTMasterSlaveFF::LoadSettings(TIniFile& ini, const QString& boardName, bool checkOnly)
{
    TBTFlipFlop::LoadSettings(ini, boardName, checkOnly);
    const QString section = StateSection(boardName);
    for (const TMemoryFlag& m : Memory())
        *m.flag = ini.ReadBool(section, QString::fromLatin1(m.key), m.initial);
    ShowState(State);
    return true;
}

// --- TBTRSFF ---------------------------------------------------------------------------------

TBTRSFF::TBTRSFF() : TBTFlipFlop(2, QStringLiteral("RS"), 18300, false) {}

void TBTRSFF::NameInputs()
{
    NamePins(Inputs, {"S", "R"});
}

QString TBTRSFF::GetTypeName() const
{
    return Lang3Q("RS-FlipFlop", "RS-FF", "RS-FF");
}

void TBTRSFF::Calculate()
{
    if (GetInputDigital(0))
        State = true;
    if (GetInputDigital(1)) // reset wins
        State = false;
    ShowState(State);
}

// --- TBTRSFFZ --------------------------------------------------------------------------------

TBTRSFFZ::TBTRSFFZ()
    : TBTFlipFlop(3, Lang3Q("RSZ", "RSC", "RSC"), 18305, true)
{
}

void TBTRSFFZ::NameInputs()
{
    NamePins(Inputs, {"1S", "C1", "1R"});
}

QString TBTRSFFZ::GetTypeName() const
{
    return Lang3Q("RS-FF\r(zustandsgest.)", "RS-FF\rwith clock", "RS-FF\ravec horloge");
}

void TBTRSFFZ::Calculate()
{
    if (GetInputDigital(1)) {
        const bool s = GetInputDigital(0);
        const bool r = GetInputDigital(2);
        if (s != r)
            State = s;
    }
    ShowState(State);
}

// --- TBTDFFZ ---------------------------------------------------------------------------------

TBTDFFZ::TBTDFFZ()
    : TBTFlipFlop(2, Lang3Q("DZ", "DL", "LT"), 18320, true)
{
}

void TBTDFFZ::NameInputs()
{
    NamePins(Inputs, {"1D", "C1"});
}

QString TBTDFFZ::GetTypeName() const
{
    return Lang3Q("D-FF\r(zustandsgest.)", "D-FF\r(transparent latch)",
                  "Latch D-FF\r(transparent)");
}

void TBTDFFZ::Calculate()
{
    if (GetInputDigital(1))
        State = GetInputDigital(0);
    ShowState(State);
}

// --- TBTRSFFF --------------------------------------------------------------------------------

TBTRSFFF::TBTRSFFF()
    : TBTMasterSlaveFF(5, Lang3Q("RSF", "RS-MS", "RS-MS"), 18310, true)
{
}

void TBTRSFFF::NameInputs()
{
    NamePins(Inputs, {"/S", "1S", "|C1", "1R", "/R"});
}

QString TBTRSFFF::GetTypeName() const
{
    return Lang3Q("RS-FF\r(flankengest.)", "RS-FF\r(master-slave)",
                  "RS-FF\r(maître-esclave)");
}

std::vector<TBTMasterSlaveFF::TMemoryFlag> TBTRSFFF::Memory()
{
    return {{"Qinternal", &Master, true}};
}

void TBTRSFFF::TakeInputs()
{
    if (GetInputDigital(1))
        Master = true;
    if (GetInputDigital(3))
        Master = false;
}

// --- TBTJKFF ---------------------------------------------------------------------------------

TBTJKFF::TBTJKFF() : TBTMasterSlaveFF(5, QStringLiteral("JK"), 18315, true) {}

void TBTJKFF::NameInputs()
{
    NamePins(Inputs, {"/S", "1J", "|C1", "1K", "/R"});
}

QString TBTJKFF::GetTypeName() const
{
    return Lang3Q("JK-FlipFlop\r(master-slave)", "JK-FF\r(master-slave)",
                  "JK-FF\r(maître-esclave)");
}

std::vector<TBTMasterSlaveFF::TMemoryFlag> TBTJKFF::Memory()
{
    return {{"J1internal", &J, false}, {"K1internal", &K, false}};
}

void TBTJKFF::TakeInputs()
{
    J = GetInputDigital(1);
    K = GetInputDigital(3);
}

// --- TBTDFFF ---------------------------------------------------------------------------------

TBTDFFF::TBTDFFF()
    : TBTMasterSlaveFF(4, Lang3Q("DF", "D-MS", "D-MS"), 18325, false)
{
}

void TBTDFFF::NameInputs()
{
    NamePins(Inputs, {"/S", "1D", "|C1", "/R"});
}

QString TBTDFFF::GetTypeName() const
{
    return Lang3Q("D-FF\r(flankengest.)", "D-FF\r(master-slave)",
                  "D-FF\r(maître-esclave)");
}

std::vector<TBTMasterSlaveFF::TMemoryFlag> TBTDFFF::Memory()
{
    return {{"Qinternal", &Master, false}};
}

void TBTDFFF::TakeInputs()
{
    Master = GetInputDigital(1);
}
