#include "components/digital/FlipFlops.h"

#include "platform/Canvas.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "platform/IniFile.h"

// --- TBTSequential ---------------------------------------------------------------------------

TBTSequential::TBTSequential(const TComponentDescription& description)
{
    Describe(description);
    SetElementClass(QString());
}

// --- Flip-flop bases -------------------------------------------------------------------------

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

const TComponentDescription TBTRSFF::Description{
    .Name = "TBTRSFF", .Prefix = {"RS"}, .HelpContext = 18300,
    .TypeName = {"RS-FlipFlop", "RS-FF", "RS-FF"},
    .Inputs = {2}, .Outputs = {2}, .InputNames = "S R", .OutputNames = "/Q Q",
    .Category = TPaletteCategory::Flipflops};

TBTRSFF::TBTRSFF() : TBTFlipFlop(Description, false) {}

void TBTRSFF::Calculate()
{
    if (GetInputDigital(0))
        State = true;
    if (GetInputDigital(1)) // reset wins
        State = false;
    ShowState(State);
}

// --- TBTRSFFZ --------------------------------------------------------------------------------

const TComponentDescription TBTRSFFZ::Description{
    .Name = "TBTRSFFZ", .Prefix = {"RSZ", "RSC", "RSC"}, .HelpContext = 18305,
    .TypeName = {"RS-FF\r(zustandsgest.)", "RS-FF\rwith clock", "RS-FF\ravec horloge"},
    .Inputs = {3}, .Outputs = {2}, .InputNames = "1S C1 1R", .OutputNames = "/Q Q",
    .Category = TPaletteCategory::Flipflops};

TBTRSFFZ::TBTRSFFZ() : TBTFlipFlop(Description, true) {}

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

const TComponentDescription TBTDFFZ::Description{
    .Name = "TBTDFFZ", .Prefix = {"DZ", "DL", "LT"}, .HelpContext = 18320,
    .TypeName = {"D-FF\r(zustandsgest.)", "D-FF\r(transparent latch)",
                 "Latch D-FF\r(transparent)"},
    .Inputs = {2}, .Outputs = {2}, .InputNames = "1D C1", .OutputNames = "/Q Q",
    .Category = TPaletteCategory::Flipflops};

TBTDFFZ::TBTDFFZ() : TBTFlipFlop(Description, true) {}

void TBTDFFZ::Calculate()
{
    if (GetInputDigital(1))
        State = GetInputDigital(0);
    ShowState(State);
}

// --- TBTRSFFF --------------------------------------------------------------------------------

const TComponentDescription TBTRSFFF::Description{
    .Name = "TBTRSFFF", .Prefix = {"RSF", "RS-MS", "RS-MS"}, .HelpContext = 18310,
    .TypeName = {"RS-FF\r(flankengest.)", "RS-FF\r(master-slave)",
                 "RS-FF\r(maître-esclave)"},
    .Inputs = {5}, .Outputs = {2}, .InputNames = "/S 1S |C1 1R /R", .OutputNames = "/Q Q",
    .Category = TPaletteCategory::Flipflops};

TBTRSFFF::TBTRSFFF() : TBTMasterSlaveFF(Description, true) {}

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

const TComponentDescription TBTJKFF::Description{
    .Name = "TBTJKFF", .Prefix = {"JK"}, .HelpContext = 18315,
    .TypeName = {"JK-FlipFlop\r(master-slave)", "JK-FF\r(master-slave)",
                 "JK-FF\r(maître-esclave)"},
    .Inputs = {5}, .Outputs = {2}, .InputNames = "/S 1J |C1 1K /R", .OutputNames = "/Q Q",
    .Category = TPaletteCategory::Flipflops};

TBTJKFF::TBTJKFF() : TBTMasterSlaveFF(Description, true) {}

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

const TComponentDescription TBTDFFF::Description{
    .Name = "TBTDFFF", .Prefix = {"DF", "D-MS", "D-MS"}, .HelpContext = 18325,
    .TypeName = {"D-FF\r(flankengest.)", "D-FF\r(master-slave)",
                 "D-FF\r(maître-esclave)"},
    .Inputs = {4}, .Outputs = {2}, .InputNames = "/S 1D |C1 /R", .OutputNames = "/Q Q",
    .Category = TPaletteCategory::Flipflops};

TBTDFFF::TBTDFFF() : TBTMasterSlaveFF(Description, false) {}

std::vector<TBTMasterSlaveFF::TMemoryFlag> TBTDFFF::Memory()
{
    return {{"Qinternal", &Master, false}};
}

void TBTDFFF::TakeInputs()
{
    Master = GetInputDigital(1);
}
