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
    TReader::CheckCount(InputCount, m_inputs, m_inputs, "InputCount");
    TReader::CheckCount(OutputCount, m_outputs, m_outputs, "OutputCount");
}

QString TBTSequential::StateSection(const QString& boardName) const
{
    return boardName + QLatin1Char('.') + Prefix() + QString::number(Number);
}

void TBTSequential::NameInputsFrom(std::initializer_list<const char*> names)
{
    size_t i = 0;
    for (const char* name : names) {
        if (i >= Inputs.size())
            break;
        Inputs[i++]->SetName(QString::fromLatin1(name));
    }
}

void TBTSequential::NameOutputsFrom(std::initializer_list<const char*> names)
{
    size_t i = 0;
    for (const char* name : names) {
        if (i >= Outputs.size())
            break;
        Outputs[i++]->SetName(QString::fromLatin1(name));
    }
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
    NameOutputsFrom({"/Q", "Q"});
}

void TBTMasterSlaveFF::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    DrawClockMarker(canvas, 2);
}

// --- TBTRSFF ---------------------------------------------------------------------------------

TBTRSFF::TBTRSFF() : TBTFlipFlop(2, QStringLiteral("RS"), 18300) {}

void TBTRSFF::NameInputs()
{
    NameInputsFrom({"S", "R"});
}

QString TBTRSFF::GetTypeName() const
{
    return Lang3Q("RS-FlipFlop", "RS-FF", "RS-FF");
}

void TBTRSFF::SimReset()
{
    State = false;
    ShowState(false);
}

void TBTRSFF::Calculate()
{
    if (GetInputDigital(0))
        State = true;
    if (GetInputDigital(1)) // reset wins
        State = false;
    ShowState(State);
}

void TBTRSFF::SaveSettings(TIniFile& ini, const QString& boardName)
{
    ini.WriteBool(StateSection(boardName), QStringLiteral("Q"), State);
}

bool TBTRSFF::LoadSettings(TIniFile& ini, const QString& boardName, bool)
{
    State = ini.ReadBool(StateSection(boardName), QStringLiteral("Q"), false);
    return true;
}

// --- TBTRSFFZ --------------------------------------------------------------------------------

TBTRSFFZ::TBTRSFFZ()
    : TBTFlipFlop(3, Lang3Q("RSZ", "RSC", "RSC"), 18305)
{
}

void TBTRSFFZ::NameInputs()
{
    NameInputsFrom({"1S", "C1", "1R"});
}

QString TBTRSFFZ::GetTypeName() const
{
    return Lang3Q("RS-FF\r(zustandsgest.)", "RS-FF\rwith clock", "RS-FF\ravec horloge");
}

void TBTRSFFZ::SimReset()
{
    State = true;
    ShowState(true);
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

void TBTRSFFZ::SaveSettings(TIniFile& ini, const QString& boardName)
{
    ini.WriteBool(StateSection(boardName), QStringLiteral("Q"), State);
}

bool TBTRSFFZ::LoadSettings(TIniFile& ini, const QString& boardName, bool)
{
    State = ini.ReadBool(StateSection(boardName), QStringLiteral("Q"), true);
    return true;
}

// --- TBTDFFZ ---------------------------------------------------------------------------------

TBTDFFZ::TBTDFFZ()
    : TBTFlipFlop(2, Lang3Q("DZ", "DL", "LT"), 18320)
{
}

void TBTDFFZ::NameInputs()
{
    NameInputsFrom({"1D", "C1"});
}

QString TBTDFFZ::GetTypeName() const
{
    return Lang3Q("D-FF\r(zustandsgest.)", "D-FF\r(transparent latch)",
                  "Latch D-FF\r(transparent)");
}

void TBTDFFZ::SimReset()
{
    State = true;
    ShowState(true);
}

void TBTDFFZ::Calculate()
{
    if (GetInputDigital(1))
        State = GetInputDigital(0);
    ShowState(State);
}

void TBTDFFZ::SaveSettings(TIniFile& ini, const QString& boardName)
{
    ini.WriteBool(StateSection(boardName), QStringLiteral("Q"), State);
}

bool TBTDFFZ::LoadSettings(TIniFile& ini, const QString& boardName, bool)
{
    State = ini.ReadBool(StateSection(boardName), QStringLiteral("Q"), true);
    return true;
}

// --- TBTRSFFF --------------------------------------------------------------------------------

TBTRSFFF::TBTRSFFF()
    : TBTMasterSlaveFF(5, Lang3Q("RSF", "RS-MS", "RS-MS"), 18310)
{
}

void TBTRSFFF::NameInputs()
{
    NameInputsFrom({"/S", "1S", "|C1", "1R", "/R"});
}

QString TBTRSFFF::GetTypeName() const
{
    return Lang3Q("RS-FF\r(flankengest.)", "RS-FF\r(master-slave)",
                  "RS-FF\r(maître-esclave)");
}

void TBTRSFFF::SimReset()
{
    State = true;
    Master = true;
    ShowState(true);
}

void TBTRSFFF::Calculate()
{
    const bool setHigh = GetInputDigital(0);
    const bool s = GetInputDigital(1);
    const bool clock = GetInputDigital(2);
    const bool r = GetInputDigital(3);
    const bool resetHigh = GetInputDigital(4);
    bool q = State;
    if (!setHigh)
        q = Master = true;
    if (!resetHigh)
        q = Master = false;
    if (setHigh && resetHigh) {
        if (!clock && PrevClock) {
            q = Master;
        } else if (clock && !PrevClock) {
            if (s)
                Master = true;
            if (r)
                Master = false;
        }
    }
    Finish(q, clock);
}

void TBTRSFFF::SaveSettings(TIniFile& ini, const QString& boardName)
{
    const QString section = StateSection(boardName);
    ini.WriteBool(section, QStringLiteral("Q"), State);
    ini.WriteBool(section, QStringLiteral("Qinternal"), Master);
}

bool TBTRSFFF::LoadSettings(TIniFile& ini, const QString& boardName, bool)
{
    const QString section = StateSection(boardName);
    State = ini.ReadBool(section, QStringLiteral("Q"), true);
    Master = ini.ReadBool(section, QStringLiteral("Qinternal"), true);
    ShowState(State); // Calculate writes only on a change
    return true;
}

// --- TBTJKFF ---------------------------------------------------------------------------------

TBTJKFF::TBTJKFF() : TBTMasterSlaveFF(5, QStringLiteral("JK"), 18315) {}

void TBTJKFF::NameInputs()
{
    NameInputsFrom({"/S", "1J", "|C1", "1K", "/R"});
}

QString TBTJKFF::GetTypeName() const
{
    return Lang3Q("JK-FlipFlop\r(master-slave)", "JK-FF\r(master-slave)",
                  "JK-FF\r(maître-esclave)");
}

void TBTJKFF::SimReset()
{
    State = true;
    J = false;
    K = false;
    ShowState(true);
}

void TBTJKFF::Calculate()
{
    const bool setHigh = GetInputDigital(0);
    const bool j = GetInputDigital(1);
    const bool clock = GetInputDigital(2);
    const bool k = GetInputDigital(3);
    const bool resetHigh = GetInputDigital(4);
    bool q = State;
    if (!setHigh)
        q = true;
    if (!resetHigh)
        q = false;
    if (setHigh && resetHigh) {
        if (!clock && PrevClock) {
            if (J != K)
                q = J;
            else if (J)
                q = !State;
        } else if (clock && !PrevClock) {
            J = j;
            K = k;
        }
    }
    Finish(q, clock);
}

void TBTJKFF::SaveSettings(TIniFile& ini, const QString& boardName)
{
    const QString section = StateSection(boardName);
    ini.WriteBool(section, QStringLiteral("Q"), State);
    ini.WriteBool(section, QStringLiteral("J1internal"), J);
    ini.WriteBool(section, QStringLiteral("K1internal"), K);
}

bool TBTJKFF::LoadSettings(TIniFile& ini, const QString& boardName, bool)
{
    const QString section = StateSection(boardName);
    State = ini.ReadBool(section, QStringLiteral("Q"), true);
    J = ini.ReadBool(section, QStringLiteral("J1internal"), false);
    K = ini.ReadBool(section, QStringLiteral("K1internal"), false);
    ShowState(State);
    return true;
}

// --- TBTDFFF ---------------------------------------------------------------------------------

TBTDFFF::TBTDFFF()
    : TBTMasterSlaveFF(4, Lang3Q("DF", "D-MS", "D-MS"), 18325)
{
}

void TBTDFFF::NameInputs()
{
    NameInputsFrom({"/S", "1D", "|C1", "/R"});
}

QString TBTDFFF::GetTypeName() const
{
    return Lang3Q("D-FF\r(flankengest.)", "D-FF\r(master-slave)",
                  "D-FF\r(maître-esclave)");
}

void TBTDFFF::SimReset()
{
    State = false;
    Master = false;
    ShowState(false);
}

void TBTDFFF::Calculate()
{
    const bool setHigh = GetInputDigital(0);
    const bool d = GetInputDigital(1);
    const bool clock = GetInputDigital(2);
    const bool resetHigh = GetInputDigital(3);
    bool q = State;
    if (!setHigh)
        q = true;
    if (!resetHigh)
        q = false;
    if (setHigh && resetHigh) {
        if (!clock && PrevClock)
            q = Master;
        else if (clock && !PrevClock)
            Master = d;
    }
    Finish(q, clock);
}

void TBTDFFF::SaveSettings(TIniFile& ini, const QString& boardName)
{
    const QString section = StateSection(boardName);
    ini.WriteBool(section, QStringLiteral("Q"), State);
    ini.WriteBool(section, QStringLiteral("Qinternal"), Master);
}

bool TBTDFFF::LoadSettings(TIniFile& ini, const QString& boardName, bool)
{
    const QString section = StateSection(boardName);
    State = ini.ReadBool(section, QStringLiteral("Q"), false);
    Master = ini.ReadBool(section, QStringLiteral("Qinternal"), false);
    ShowState(State);
    return true;
}
