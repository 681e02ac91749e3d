#pragma once
// Pieces of the simulation engine tests: small components that drive, copy and record pin
// values, wiring helpers and a fixture that resets the engine hooks.

#include "core/BoardTestSupport.h"
#include "core/engine/StateFile.h"
#include "platform/IniFile.h"

#include <QPoint>
#include <functional>
#include <vector>

// Drives its outputs with set values: digital writes when Digital is set, value writes else.
class TSimSource : public TGrundBT {
public:
    TV_CLASS_NAME(TSimSource)
    TSimSource()
    {
        SetOutputCount(1);
        SetPrefix(QStringLiteral("SRC"));
    }
    QString GetTypeName() const override { return QStringLiteral("Source"); }
    void Calculate() override
    {
        for (int i = 0; i < OutputCount; ++i) {
            if (Digital)
                SetOutputDigital(i, Level);
            else
                SetOutputValue(i, Value);
        }
    }
    bool Digital = false;
    bool Level = false;
    Extended Value = 0.0L;
};

// Copies input 0 to output 0 as a value, and counts its calls.
class TSimCopy : public TGrundBT {
public:
    TV_CLASS_NAME(TSimCopy)
    TSimCopy()
    {
        SetInputCount(1);
        SetOutputCount(1);
        SetPrefix(QStringLiteral("CPY"));
    }
    QString GetTypeName() const override { return QStringLiteral("Copy"); }
    void Calculate() override
    {
        ++Calls;
        SetOutputValue(0, GetInputValue(0));
    }
    int Calls = 0;
};

// Records what its inputs read in every step.
class TSimProbe : public TGrundBT {
public:
    TV_CLASS_NAME(TSimProbe)
    TSimProbe()
    {
        SetInputCount(1);
        SetPrefix(QStringLiteral("PRB"));
    }
    QString GetTypeName() const override { return QStringLiteral("Probe"); }
    void Calculate() override
    {
        Values.push_back(GetInputValue(0));
        Digitals.push_back(GetInputDigital(0));
    }
    void SimReset() override { ++Resets; }
    void SimEnd() override
    {
        ++Ends;
        TGrundBT::SimEnd();
    }
    Extended Last() const { return Values.empty() ? -999.0L : Values.back(); }
    std::vector<Extended> Values;
    std::vector<bool> Digitals;
    int Resets = 0;
    int Ends = 0;
};

// Keeps one number in the component state file under its own section.
class TSimState : public TGrundBT {
public:
    TV_CLASS_NAME(TSimState)
    TSimState()
    {
        SetOutputCount(1);
        SetPrefix(QStringLiteral("ST"));
    }
    QString GetTypeName() const override { return QStringLiteral("State"); }
    void SaveSettings(TIniFile& ini, const QString& board) override
    {
        ini.WriteInteger(StateSection(board), QStringLiteral("Value"), State);
    }
    bool LoadSettings(TIniFile& ini, const QString& board, bool) override
    {
        State = ini.ReadInteger(StateSection(board), QStringLiteral("Value"), -1);
        return true;
    }
    int State = 0;
};

// Wire from one point to another, bent once at a point of its own so that the net has
// several segments.
inline void WirePoints(TPlatine& board, QPoint a, QPoint b, int lane = 0)
{
    const QPoint bend((a.x() + b.x()) / 2 + 3, (a.y() + b.y()) / 2 + 7 + lane);
    board.AddSegment(a, bend);
    board.AddSegment(bend, b);
}

inline QPoint At(const TBauteilPin& pin)
{
    return QPoint(pin.X, pin.Y);
}

inline void WirePins(TPlatine& board, const TBauteilPin& a, const TBauteilPin& b, int lane = 0)
{
    WirePoints(board, At(a), At(b), lane);
}

// Places a component at a position of its own so that pins of different components never
// meet by accident.
template <class T>
T* Place(TPlatine& board, int column, int row = 0)
{
    std::unique_ptr<T> component = NewObject<T>();
    component->X = 1000 + column * 400;
    component->Y = 1000 + row * 400;
    component->LayoutPins();
    return static_cast<T*>(board.AddComponent(std::move(component)));
}

// A macro block on the board with an inner board holding `inputs` + `outputs` macro pin
// components (numbered 1 .. inputs for the block's inputs, then the outputs).
inline TMakro* PlaceMacro(TPlatine& board, int column, int inputs, int outputs, int row = 0)
{
    TMakro* macro = Place<TMakro>(board, column, row);
    TPlatine* inner = board.CreateInnerBoard(*macro);
    for (int k = 0; k < inputs + outputs; ++k)
        Place<TBTPin>(*inner, k, 5);
    macro->SetInputCount(inputs);
    macro->SetOutputCount(outputs);
    macro->PinTotal = inputs + outputs;
    board.SetBoardName(board.BoardName);
    return macro;
}

// The macro pin component numbered k on an inner board.
inline TBTPin* MacroPin(TPlatine& inner, int32_t k)
{
    for (TBTPin* pin : ItemsOf<TBTPin>(inner)) {
        if (pin->Number == k)
            return pin;
    }
    return nullptr;
}

inline int32_t NetOfPin(const TBauteilPin& pin)
{
    return pin.Segment ? static_cast<TSegment*>(pin.Segment)->NetNumber : -1;
}

class EngineFixture : public BoardFixture {
protected:
    void SetUp() override
    {
        BoardFixture::SetUp();
        ResetSimulationHooks();
    }
    void TearDown() override
    {
        ResetSimulationHooks();
        BoardFixture::TearDown();
    }
};
