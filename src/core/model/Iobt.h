#pragma once
// Components with input and output pins, and the rules by which every component reads and
// writes signal values.

#include "core/model/Bauteil.h"
#include "platform/Types.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class TFP_Element;

// One input or output pin of a component. Its value is in volts.
class TBauteilPin {
public:
    // The fields every step touches come first, so that they share one cache line.
    Extended Value = 0.0L;
    TBauteilPin* Source = nullptr;      // inputs: the output driving the net; nullptr = unconnected
    bool Inverted = false;

private:
    bool m_stringPin = false;

public:
    Extended Contribution = 0.0L;       // outputs: own value when the net has several drivers
    std::vector<TBauteilPin*> SameNet;  // outputs: every output on the same net, this one included
    QString Text;                       // text value of string pins
    int32_t X = 0;                      // outer end of the pin stub, board units
    int32_t Y = 0;
    int32_t Length = 40;                // length of the pin stub
    bool Connected = false;             // a wire is attached
    TBauteil* Segment = nullptr;        // the board's pin segment for this pin

    // Pin name, at most 10 characters; a name beginning with "$" marks a string pin.
    const QString& Name() const { return m_name; }
    void SetName(const QString& name);
    bool IsStringPin() const { return m_stringPin; }

    // Text := text, Value := its number ("True" exactly gives 5.0).
    void SetPinText(const QString& text);
    const QString& GetPinText() const { return Text; }

    // The value this pin gives the inputs it drives: the number of its text for a string
    // pin, else Value.
    Extended DrivenValue() const { return m_stringPin ? TextValue() : Value; }

private:
    Extended TextValue() const;
    QString m_name;
};

// Hook standing for the main window's repaint message (0x401): a component whose selection
// changed hands over each of its pin segments so that the current board repaints it.
// Empty by default.
extern std::function<void(TBauteil* segment)> OnSegmentSelectionRepaint;

// A component with input and output pins around a rectangular body.
class TIOBauteil : public TBauteil {
public:
    TV_CLASS_NAME(TIOBauteil)

    TIOBauteil();
    ~TIOBauteil() override;
    // Gives a new component its final layout and its type name as label.
    void AfterConstruction() override;

    TFP_Element* Link = nullptr;  // linked front-panel element, not owned (SetLink)
    QString Label;                // user label (SetLabel)
    int32_t InputCount = 0;
    int32_t OutputCount = 0;
    TRect Body;                   // symbol body in board units (LayoutPins)
    std::vector<std::unique_ptr<TBauteilPin>> Inputs;
    std::vector<std::unique_ptr<TBauteilPin>> Outputs;
    int32_t Number = 0;           // designator number (SetNumber)
    std::function<void(TIOBauteil*)> OnPinsChanged;       // after the pin lists were rebuilt
    std::function<void(TIOBauteil*)> OnBeforePinsChange;  // at the start of every count change
    bool Mirrored = false;        // inputs on the right, outputs on the left (SetMirrored)
    int32_t SymbolColor = 0;
    bool RunTimeAdjustable = false;

    // Class of the owned front-panel element, at most 20 characters; empty for none.
    const QString& ElementClass() const { return m_elementClass; }
    void SetElementClass(const QString& className);
    // Designator prefix, at most 10 characters; empty means no designator.
    const QString& Prefix() const { return m_prefix; }
    void SetPrefix(const QString& prefix);

    // --- Simulation and structure -------------------------------------------------------
    virtual void Calculate();   // one simulation step
    virtual void SimReset();    // start of a run, after the nets are built
    // Rebuild the pins of a side (a negative count counts as 0). OnBeforePinsChange fires
    // first in every case; with an unchanged count nothing else happens.
    virtual void SetInputCount(int32_t count);
    virtual void SetOutputCount(int32_t count);
    virtual void NameInputs();  // rename inputs after a rebuild
    virtual void NameOutputs(); // rename outputs after a rebuild
    virtual void SimEnd();      // end of a run; calls SimReset
    virtual void SimPrepare();  // before the nets are built
    virtual int32_t GetWidth() const;
    virtual void SetNumber(int32_t number);
    virtual QString GetTypeName() const;  // in the current language
    virtual QString GetLabel() const;
    virtual void SetLabel(const QString& label);  // carriage returns become blanks
    virtual void SetLink(TFP_Element* element);

    void SetMirrored(bool mirrored);
    // Computes Body and every pin's X, Y and Length from X, Y, the counts and Mirrored.
    void LayoutPins();

    // --- Pin access (i counts from 0 within the side; callers pass valid indexes) --------
    bool GetInputDigital(int i) const;
    Extended GetInputValue(int i) const;
    int32_t GetInputWord(int i) const;  // 0 .. 65535
    Extended GetInputLevel(int i) const;
    QString GetInputText(int i) const;
    void SetOutputDigital(int i, bool level);
    void SetOutputValue(int i, Extended value);
    void SetOutputAnalog(int i, Extended value);
    void SetOutputText(int i, const QString& text);

    // --- Board item -----------------------------------------------------------------------
    void SetSelected(bool selected) override;
    bool HitTest(QPoint devicePoint, TCanvas& canvas) override;
    void MoveBy(int32_t dx, int32_t dy) override;
    TRect GetBounds() const override;
    void WriteData(TWriter& writer) override;
    void ReadData(TReader& reader, uint8_t version) override;
    QString GetHint() const override;

private:
    // Stores an output value: alone on its net directly, else as its contribution with the
    // net value merged into every driver (wired OR for digital writes, sum otherwise).
    void DriveDigital(TBauteilPin& p, bool level);
    void DriveValue(TBauteilPin& p, Extended value);

    QString m_elementClass;
    QString m_prefix;
};

// --- Pin access, inline: these run for every pin of every component in every step ---------

inline bool TIOBauteil::GetInputDigital(int i) const
{
    const TBauteilPin& p = *Inputs[i];
    if (!p.Source)
        return !p.Inverted;
    return (p.Source->DrivenValue() >= 2.5L) != p.Inverted;
}

inline Extended TIOBauteil::GetInputValue(int i) const
{
    const TBauteilPin& p = *Inputs[i];
    const Extended v = p.Source ? p.Source->DrivenValue() : 0.0L;
    return p.Inverted ? -v : v;
}

inline int32_t TIOBauteil::GetInputWord(int i) const
{
    Extended x = GetInputValue(i);
    if (x > 65535.0L)
        x = 65535.0L;
    if (!(x >= 0.0L)) // below 0 or not a number
        x = 0.0L;
    return static_cast<int32_t>(RoundHalfEven(x));
}

inline Extended TIOBauteil::GetInputLevel(int i) const
{
    const TBauteilPin& p = *Inputs[i];
    if (!p.Inverted)
        return p.Source ? p.Source->DrivenValue() : 5.0L;
    if (!p.Source)
        return 0.0L;
    return p.Source->DrivenValue() > 2.5L ? 0.0L : 5.0L;
}

inline void TIOBauteil::DriveDigital(TBauteilPin& p, bool level)
{
    const Extended v = level ? 5.0L : 0.0L;
    if (p.SameNet.size() < 2) {
        p.Value = v;
        return;
    }
    p.Contribution = v;
    bool high = false;
    for (const TBauteilPin* q : p.SameNet) {
        if (q->Contribution > 2.5L) {
            high = true;
            break;
        }
    }
    const Extended net = high ? 5.0L : 0.0L;
    for (TBauteilPin* q : p.SameNet)
        q->Value = net;
}

inline void TIOBauteil::DriveValue(TBauteilPin& p, Extended value)
{
    if (p.SameNet.size() < 2) {
        p.Value = value;
        return;
    }
    p.Contribution = value;
    Extended sum = 0.0L;
    for (const TBauteilPin* q : p.SameNet)
        sum += q->Contribution;
    for (TBauteilPin* q : p.SameNet)
        q->Value = sum;
}

inline void TIOBauteil::SetOutputDigital(int i, bool level)
{
    TBauteilPin& p = *Outputs[i];
    DriveDigital(p, level != p.Inverted);
}

inline void TIOBauteil::SetOutputValue(int i, Extended value)
{
    TBauteilPin& p = *Outputs[i];
    DriveValue(p, p.Inverted ? -value : value);
}

inline void TIOBauteil::SetOutputAnalog(int i, Extended value)
{
    TBauteilPin& p = *Outputs[i];
    if (p.Inverted) {
        if (value == 5.0L)
            value = 0.0L;
        else if (value == 0.0L)
            value = 5.0L;
        else
            value = -value;
    }
    DriveValue(p, value);
}
