#pragma once
// The components behind the front panel's input elements and the character display: the
// numeric input, the character display, the selection list, the settings list and the
// keyboard. Each reads its element in its step (or is told by it) and drives its outputs;
// the character display writes the characters its inputs carry into its element.

#include "components/panel/PanelComponent.h"

#include <QString>

#include <cstdint>

// The number typed into the element, on output "A" from the moment it is accepted.
class TBTNumEingabe : public TBTPanelComponent {
public:
    TV_CLASS_NAME(TBTNumEingabe)
    TBTNumEingabe();
    static const TComponentDescription Description;

    QString LastText;  // the element's text last drawn on the symbol

    void SimReset() override;
    void Paint(TCanvas& canvas) override;
    void PaintPinStates(TCanvas& canvas) override;

    // Takes the element's value onto the output.
    void TakeValue();

private:
    QString ElementText() const;
};

// A character latched at the rising edge of "CLK" and shown at its falling edge.
class TBTASCII_Display : public TBTPanelComponent {
public:
    TV_CLASS_NAME(TBTASCII_Display)
    TBTASCII_Display();
    static const TComponentDescription Description;

    uint8_t Latched = 0;
    bool LastClk = false;

    void Calculate() override;
    void SimReset() override;
    void Paint(TCanvas& canvas) override;
};

// The index of the entry picked in the list: as a number ("Z", analog mode) or in bits
// ("D0" ..., digital mode), with the entry's text on "$".
class TBTAuswahlliste : public TBTPanelComponent {
public:
    TV_CLASS_NAME(TBTAuswahlliste)
    TBTAuswahlliste();
    static const TComponentDescription Description;

    static constexpr int kMaxOutputs = 33;  // the text and 32 bits
    int32_t LastIndex = -1;

    bool AnalogMode() const { return OutputCount == 2; }
    // Digital mode: just enough bit outputs (at least two) for the indexes of all entries.
    void AdjustOutputs();

    void Calculate() override;
    void SimReset() override;
    void NameOutputs() override;
    void SetLink(TFP_Element* element) override;
    void CheckStoredPins(int32_t inputs, int32_t outputs) const override;
    int EditProperties() override;
    void Paint(TCanvas& canvas) override;

private:
    int ItemCount() const;
};

// The settings file picked in the list: its name on "$", its index on "i".
class TBTSetliste : public TBTPanelComponent {
public:
    TV_CLASS_NAME(TBTSetliste)
    TBTSetliste();
    static const TComponentDescription Description;

    void SimPrepare() override;
    void Calculate() override;
    void Paint(TCanvas& canvas) override;
};

// The code of the last key typed on "D0" .. "D7", "CLK" high while it is held; a falling
// "/CLR" clears the typed text.
class TBTTastatur : public TBTPanelComponent {
public:
    TV_CLASS_NAME(TBTTastatur)
    TBTTastatur();
    static const TComponentDescription Description;

    bool LastClr = true;

    void Calculate() override;
    void SimReset() override;
    void Paint(TCanvas& canvas) override;
};

// Text of a symbol in bold or plain Arial of the given height, its top-left corner at (x, y).
void SymbolText(TCanvas& canvas, int x, int y, int height, int32_t colour, const QString& text, bool bold);
