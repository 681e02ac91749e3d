#pragma once
// Components that show circuit values on the front panel through their element: the duo and
// RGB LEDs, the pointer instrument, the LED bar and the light bar, the numeric, LED and text
// displays, the counter, the hex digit and the seven-segment digit. Each pushes a value into
// its element only when it differs from the value pushed last (or shown now); the reset sets
// the cache to a value no input gives, so the first step of a run acts.

#include "components/panel/InputText.h"
#include "components/panel/PanelComponent.h"

class TNumDisplay;

#include <array>
#include <cstdint>

class TBTDuoLED : public TBTPanelComponent {
public:
    TV_CLASS_NAME(TBTDuoLED)
    TBTDuoLED();
    static const TComponentDescription Description;

    int32_t LastStatus = 0;   // pushed to the element
    int32_t DrawnStatus = -1; // drawn on the symbol

    void Calculate() override;
    void SimReset() override;
    void Paint(TCanvas& canvas) override;
    void PaintPinStates(TCanvas& canvas) override;
};

// The channels (0..255) of a colour given by three levels of 0..5 V, rounded halves to even;
// worked out again only when a level differs from the last ones.
class TLevelColour {
public:
    const std::array<uint8_t, 3>& Channels(const std::array<Extended, 3>& levels);
    // r + 256 g + 65536 b of the last channels.
    int32_t Colour() const { return m_channels[0] + 256 * m_channels[1] + 65536 * m_channels[2]; }

private:
    std::array<Extended, 3> m_levels{};
    std::array<uint8_t, 3> m_channels{};
    bool m_known = false;
};

class TBTRGB_LED : public TBTPanelComponent {
public:
    TV_CLASS_NAME(TBTRGB_LED)
    TBTRGB_LED();
    static const TComponentDescription Description;

    void Calculate() override;
    void Paint(TCanvas& canvas) override;

private:
    TLevelColour m_colour;
};

// Shared step and reset of the components whose element takes one value (SetWert/SetMWert).
class TBTValueDisplay : public TBTPanelComponent {
public:
    Extended LastValue = -1e8L;

    void Calculate() override;
    void SimReset() override;

protected:
    virtual void Push(Extended v) = 0;
    // The reset of the element (empties it at once).
    virtual void ResetElement() = 0;
};

class TBTZeiger : public TBTValueDisplay {
public:
    TV_CLASS_NAME(TBTZeiger)
    TBTZeiger();
    static const TComponentDescription Description;
    void Paint(TCanvas& canvas) override;

protected:
    void Push(Extended v) override;
    void ResetElement() override;
};

class TBTLedBar : public TBTValueDisplay {
public:
    TV_CLASS_NAME(TBTLedBar)
    TBTLedBar();
    static const TComponentDescription Description;
    void Paint(TCanvas& canvas) override;

protected:
    void Push(Extended v) override;
    void ResetElement() override;
};

class TBTLeuchtbalken : public TBTValueDisplay {
public:
    TV_CLASS_NAME(TBTLeuchtbalken)
    TBTLeuchtbalken();
    static const TComponentDescription Description;
    void Paint(TCanvas& canvas) override;

protected:
    void Push(Extended v) override;
    void ResetElement() override;
};

class TBTNumDisplay : public TBTPanelComponent {
public:
    TV_CLASS_NAME(TBTNumDisplay)
    TBTNumDisplay();
    static const TComponentDescription Description;

    QString DrawnText;  // element text last drawn into the symbol

    void Calculate() override;
    void SimReset() override;
    void Paint(TCanvas& canvas) override;
    void PaintPinStates(TCanvas& canvas) override;

protected:
    explicit TBTNumDisplay(const TComponentDescription& description);
    // Input 0's value or, with the format option Unformatted, its text, to the display.
    void ShowInput(TNumDisplay* display);

private:
    TInputText m_inputText;
};

class TBTLEDDisplay : public TBTNumDisplay {
public:
    TV_CLASS_NAME(TBTLEDDisplay)
    TBTLEDDisplay();
    static const TComponentDescription Description;

    void Calculate() override;
    void NameInputs() override;

private:
    TLevelColour m_colour;
};

class TBTCounter : public TBTPanelComponent {
public:
    TV_CLASS_NAME(TBTCounter)
    TBTCounter();
    static const TComponentDescription Description;

    bool PrevUp = false;
    bool PrevDown = false;
    bool FirstStep = true;
    QString DrawnText;

    void Calculate() override;
    void SimReset() override;
    void SetOutputCount(int32_t count) override;
    void Paint(TCanvas& canvas) override;
    void PaintPinStates(TCanvas& canvas) override;
};

class TBTHexDisplay : public TBTPanelComponent {
public:
    TV_CLASS_NAME(TBTHexDisplay)
    TBTHexDisplay();
    static const TComponentDescription Description;

    QChar DrawnChar;

    void Calculate() override;
    void SimReset() override;
    void Paint(TCanvas& canvas) override;
    void PaintPinStates(TCanvas& canvas) override;
};

class TBTTextDisplay : public TBTPanelComponent {
public:
    TV_CLASS_NAME(TBTTextDisplay)
    TBTTextDisplay();
    static const TComponentDescription Description;

    static constexpr int kTexts = 16;
    static constexpr int kTextLength = 50;
    std::array<QString, kTexts> Texts;

    void Calculate() override;
    void SimReset() override;
    void Paint(TCanvas& canvas) override;
    void WriteData(TWriter& writer) override;
    void ReadData(TReader& reader, uint8_t version) override;
    int EditProperties() override;
};

class TBT7Segment : public TBTPanelComponent {
public:
    TV_CLASS_NAME(TBT7Segment)
    TBT7Segment();
    static const TComponentDescription Description;

    int32_t LastCode = 0;   // segment code sent last, a = bit 0 .. g = bit 6
    int32_t DrawnCode = -1; // drawn on the symbol

    void Calculate() override;
    void SimReset() override;
    void Paint(TCanvas& canvas) override;
    void PaintPinStates(TCanvas& canvas) override;

private:
    int32_t ElementCode() const;
};
