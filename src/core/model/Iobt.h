#pragma once
// Components with input and output pins, and the rules by which every component reads and
// writes signal values.

#include "core/model/Bauteil.h"
#include "platform/Types.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

class TFP_Element;
class TIOBauteil;

// The value of a pin: an 80-bit extended value in volts. Its logic level (value >= 2.5) is
// kept beside it by every write, so that digital reads test a bit; a digital write stores
// only the level, and the value then reads as exactly 5.0 or 0.0. Level and the digital mark
// share one 16-bit word, written and read at once. Reads and writes look like those of a
// plain Extended.
class TPinValue {
public:
    TPinValue() = default;
    TPinValue(Extended value) { Set(value); }
    TPinValue& operator=(Extended value)
    {
        Set(value);
        return *this;
    }
    operator Extended() const { return Get(); }
    Extended Get() const
    {
        const uint16_t state = m_state;
        if (!(state & kDigital))
            return m_value;
        return (state & kHigh) ? 5.0L : 0.0L;
    }

    void Set(Extended value)
    {
        m_value = value;
        m_state = value >= 2.5L ? kHigh : 0;  // not high for NaN, as the comparison of a read gives
    }
    // 5.0 when high, else 0.0.
    void SetDigital(bool high) { m_state = uint16_t(kDigital | (high ? kHigh : 0)); }
    // Value >= 2.5.
    bool High() const { return (m_state & kHigh) != 0; }
    // What an unconnected input reads: high as a logic level, 0.0 as a value.
    void SetOpenInput()
    {
        m_value = 0.0L;
        m_state = kHigh;
    }

    TPinValue& operator+=(Extended x) { return *this = Get() + x; }
    TPinValue& operator-=(Extended x) { return *this = Get() - x; }
    TPinValue& operator*=(Extended x) { return *this = Get() * x; }
    TPinValue& operator/=(Extended x) { return *this = Get() / x; }

private:
    static constexpr uint16_t kHigh = 1;
    static constexpr uint16_t kDigital = 0x100;
    Extended m_value = 0.0L;
    uint16_t m_state = 0;  // kHigh | kDigital
};

// One input or output pin of a component. Its value is in volts.
// Pins start on a cache line of their own, and the fields every step touches (Value, Source,
// the flags) share that line.
class alignas(64) TBauteilPin {
public:
    TBauteilPin() = default;
    TBauteilPin(const TBauteilPin&) = delete;
    TBauteilPin& operator=(const TBauteilPin&) = delete;

    // What the inputs driven by this pin read. A string pin keeps here the number of its text,
    // so that a read never has to look at the text; value writes do not reach it.
    TPinValue Value;                    // 0.0 when the pin is created

    // Inputs: the output driving the net; nullptr = unconnected.
    TBauteilPin* Source() const { return m_source; }
    void SetSource(TBauteilPin* source);
    bool Inverted() const { return (m_flags & kInvertedFlag) != 0; }
    void SetInverted(bool inverted);

private:
    friend class TIOBauteil;
    TBauteilPin* m_source = nullptr;
    TIOBauteil* m_owner = nullptr;  // component that reads this input through its quick sources
    // Inversion, string pin and shared net in one byte, so that a write reads them at once.
    static constexpr uint8_t kInvertedFlag = 1;
    static constexpr uint8_t kStringFlag = 2;
    static constexpr uint8_t kSharedFlag = 4;  // one of several drivers of its net
    // A write stores its value directly unless one of these is set.
    static constexpr uint8_t kIndirectWrite = kStringFlag | kSharedFlag;
    uint8_t m_flags = 0;
    uint8_t m_index = 0;       // position among m_owner's inputs

public:
    Extended Contribution = 0.0L;       // outputs: own value when the net has several drivers
    int32_t X = 0;                      // outer end of the pin stub, board units
    int32_t Y = 0;
    int32_t Length = 40;                // length of the pin stub
    bool Connected = false;             // a wire is attached
    TBauteil* Segment = nullptr;        // the board's pin segment for this pin

    // Pin name, at most 10 characters; a name beginning with "$" marks a string pin.
    const QString& Name() const { return m_name; }
    void SetName(const QString& name);
    bool IsStringPin() const { return (m_flags & kStringFlag) != 0; }

    // Text := text, Value := its number ("True" exactly gives 5.0).
    void SetPinText(const QString& text);
    // Text value of a string pin.
    const QString& GetPinText() const { return m_text; }

    // Outputs: every output on the same net, this one included (empty when not known).
    const std::vector<TBauteilPin*>& SameNet() const { return m_sameNet; }
    void SetSameNet(std::vector<TBauteilPin*> pins);

    // The value this pin gives the inputs it drives (for a string pin the number of its text).
    Extended DrivenValue() const { return Value.Get(); }
    // DrivenValue() >= 2.5.
    bool DrivenHigh() const { return Value.High(); }

private:
    void SetFlag(uint8_t flag, bool on) { m_flags = uint8_t(on ? (m_flags | flag) : (m_flags & ~flag)); }

    std::vector<TBauteilPin*> m_sameNet;
    QString m_text;
    QString m_name;
};

// A component with input and output pins around a rectangular body.
// The pointers to the first pins and the pin counts come first, close to the virtual table
// pointer: a step reaches those pins with one load less than through the pin lists, and finds
// everything it needs of the component in its first two cache lines.
class alignas(64) TIOBauteil : public TBauteil {
private:
    friend class TBauteilPin;  // an input keeps the quick sources and inversion bits current
    static constexpr int kQuickInputs = 4;
    static constexpr int kQuickOutputs = 2;
    // The pins the first inputs read: their sources, or the open-input pin when unconnected;
    // kept by SetInputCount and by the inputs' SetSource.
    const TBauteilPin* m_quickSources[kQuickInputs] = {};
    TBauteilPin* m_quickOutputs[kQuickOutputs] = {}; // Outputs[0 ..], kept by SetOutputCount
    uint32_t m_invertedInputs = 0;  // bit k: input k < kQuickInputs is inverted (SetInverted)

public:
    TV_CLASS_NAME(TIOBauteil)

    TIOBauteil();
    ~TIOBauteil() override;
    // Gives a new component its final layout and its type name as label.
    void AfterConstruction() override;

    int32_t InputCount = 0;       // beside the quick pins: a step reads both
    int32_t OutputCount = 0;
    TFP_Element* Link = nullptr;  // linked front-panel element, not owned (SetLink)
    QString Label;                // user label (SetLabel)
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
    // Prefix and number, as the board shows it: "LED2", "MCR1".
    QString Designator() const { return m_prefix + QString::number(Number); }

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
    // Refuses a stored record whose pin counts the class cannot work with (a stream error
    // naming the count), so that Calculate never reaches past the pins.
    void CheckStoredPins(int32_t inputs, int32_t outputs) const;
    // Section of this component in the component state file: the board's name, ".", the
    // designator prefix and number (MAIN.LED1, MAIN_MCR1.RS2 ...).
    QString StateSection(const QString& boardName) const;
    // Computes Body and every pin's X, Y and Length from X, Y, the counts and Mirrored.
    void LayoutPins();
    // Body centre, rounded toward zero.
    int32_t CenterX() const { return (Body.Left + Body.Right) / 2; }
    int32_t CenterY() const { return (Body.Top + Body.Bottom) / 2; }

    // --- Captions inside the block symbol ----------------------------------------------------
    // A caption turned by 90 degrees in the middle of the body, its font shrunk until it fits
    // the body height less 75 (down to height 5, then one step more); not drawn at all when it
    // still does not fit. Red while selected, else colour.
    void DrawSymbolCaption(TCanvas& canvas, const QString& caption, int32_t colour);
    // Text turned counter-clockwise by angle degrees at (x, y), in font "Arial" of the canvas
    // font's height and normal weight; the canvas font is restored afterwards.
    void DrawRotatedText(TCanvas& canvas, int x, const QString& text, int angle, int y);

    // --- Pin states drawn during a run -------------------------------------------------------
    // The stub of a pin from its outer end to the body: red when lit, else black.
    void DrawPinStub(TCanvas& canvas, const TBauteilPin& pin, bool isInput, bool lit) const;
    // The state arrow on the body edge at a pin: lime when lit while a run is active, else
    // silver.
    void DrawStateArrow(TCanvas& canvas, const TBauteilPin& pin, bool isInput, bool lit) const;

    // Asks the processor to fetch the first output pin ahead of a step that will write it.
    // (The pins the inputs read are outputs that the step has written shortly before.)
    void PrefetchPins() const
    {
        __builtin_prefetch(m_quickOutputs[0]);  // a prefetch of nullptr is harmless
    }

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

    // --- Shared by components -------------------------------------------------------------
    // Whether digital input i fell from high to low since the previous call; last holds the
    // level of that call and takes the new one before the caller acts on the edge.
    bool InputFell(int i, bool& last) const
    {
        const bool level = GetInputDigital(i);
        const bool fell = last && !level;
        last = level;
        return fell;
    }
    // Names the pins of one side in order; pins beyond the list keep their names.
    static void NamePins(std::vector<std::unique_ptr<TBauteilPin>>& pins,
                         std::initializer_list<const char*> names);

    // --- Board item -----------------------------------------------------------------------
    void SetSelected(bool selected) override;
    bool HitTest(QPoint devicePoint, TCanvas& canvas) override;
    void MoveBy(int32_t dx, int32_t dy) override;
    TRect GetBounds() const override;
    void WriteData(TWriter& writer) override;
    void ReadData(TReader& reader, uint8_t version) override;
    QString GetHint() const override;

private:
    // Refills the quick pin pointers and the inversion bits from the pin lists.
    void RefreshQuickPins();
    // Whether quick input i (i < kQuickInputs) is inverted.
    bool QuickInverted(int i) const { return (m_invertedInputs >> i & 1u) != 0; }
    // Read by unconnected quick inputs.
    static const TBauteilPin& OpenInputPin();
    TBauteilPin& OutputPin(int i) const
    {
        return i < kQuickOutputs ? *m_quickOutputs[i] : *Outputs[size_t(i)];
    }

    // Stores an output value: alone on its net directly, else as its contribution with the
    // net value merged into every driver (wired OR for digital writes, sum otherwise). A string
    // pin keeps the number of its text as its value.
    void DriveDigital(TBauteilPin& p, uint8_t flags, bool level);
    void DriveValue(TBauteilPin& p, uint8_t flags, Extended value);
    static void DriveDigitalShared(TBauteilPin& p, bool level);
    static void DriveValueShared(TBauteilPin& p, Extended value);

    QString m_elementClass;
    QString m_prefix;
};

// --- Pin access, inline: these run for every pin of every component in every step ---------

inline bool TIOBauteil::GetInputDigital(int i) const
{
    if (i < kQuickInputs)
        return m_quickSources[i]->Value.High() != QuickInverted(i);
    const TBauteilPin& p = *Inputs[size_t(i)];
    return (p.Source() ? p.Source()->Value.High() : true) != p.Inverted();
}

inline Extended TIOBauteil::GetInputValue(int i) const
{
    Extended v;
    bool inverted;
    if (i < kQuickInputs) {
        v = m_quickSources[i]->Value.Get();
        inverted = QuickInverted(i);
    } else {
        const TBauteilPin& p = *Inputs[size_t(i)];
        v = p.Source() ? p.Source()->Value.Get() : 0.0L;
        inverted = p.Inverted();
    }
    return inverted ? -v : v;
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
    const TBauteilPin& p = *Inputs[size_t(i)];
    if (!p.Inverted())
        return p.Source() ? p.Source()->DrivenValue() : 5.0L;
    if (!p.Source())
        return 0.0L;
    return p.Source()->DrivenValue() > 2.5L ? 0.0L : 5.0L;
}

inline void TIOBauteil::DriveDigital(TBauteilPin& p, uint8_t flags, bool level)
{
    if (!(flags & TBauteilPin::kIndirectWrite))
        p.Value.SetDigital(level);
    else
        DriveDigitalShared(p, level);
}

inline void TIOBauteil::DriveValue(TBauteilPin& p, uint8_t flags, Extended value)
{
    if (!(flags & TBauteilPin::kIndirectWrite))
        p.Value = value;
    else
        DriveValueShared(p, value);
}

inline void TIOBauteil::SetOutputDigital(int i, bool level)
{
    TBauteilPin& p = OutputPin(i);
    const uint8_t flags = p.m_flags;
    DriveDigital(p, flags, level != ((flags & TBauteilPin::kInvertedFlag) != 0));
}

inline void TIOBauteil::SetOutputValue(int i, Extended value)
{
    TBauteilPin& p = OutputPin(i);
    const uint8_t flags = p.m_flags;
    DriveValue(p, flags, (flags & TBauteilPin::kInvertedFlag) ? -value : value);
}

inline void TIOBauteil::SetOutputAnalog(int i, Extended value)
{
    TBauteilPin& p = OutputPin(i);
    const uint8_t flags = p.m_flags;
    if (flags & TBauteilPin::kInvertedFlag) {
        if (value == 5.0L)
            value = 0.0L;
        else if (value == 0.0L)
            value = 5.0L;
        else
            value = -value;
    }
    DriveValue(p, flags, value);
}
