#pragma once
// Small components of the application core: the LED, the slow clock generator, the front-panel
// page switch, the hotkey receiver and the named jump.

#include "components/panel/InputText.h"
#include "components/panel/PanelComponent.h"
#include "core/model/GrundBT.h"
#include "ui/Hotkey.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// Page activation of the front panel (bits 0..11 the page from 1, bit 12 print). Empty: the
// request goes to the front-panel window when there is one.
extern std::function<void(uint32_t request)> OnActivateFrontPanelPage;

// LED: its input switches the linked LED element; with sensor outputs it reports the mouse over
// the element ("S"), the right ("R") and the left ("L") button held on it.
class TBTLed : public TBTPanelComponent {
public:
    TV_CLASS_NAME(TBTLed)
    TBTLed();
    static const TComponentDescription Description;

    bool LastInput = false;  // input level last passed to the element
    bool LastLit = false;    // element state last drawn in the symbol

    void Calculate() override;
    void SimReset() override;
    int EditProperties() override;
    void Paint(TCanvas& canvas) override;
    void PaintPinStates(TCanvas& canvas) override;
    // Sensor outputs: none or all three.
    void CheckStoredPins(int32_t inputs, int32_t outputs) const override;

private:
    bool ElementLit() const;
};

// The square wave the clock generators draw in their body.
void PaintClockWave(const TGrundBT& c, TCanvas& canvas);

// Slow clock generator: toggles its output every Interval ticks of 50 ms.
class TBTTaktgeber : public TGrundBT {
public:
    TV_CLASS_NAME(TBTTaktgeber)
    TBTTaktgeber();
    static const TComponentDescription Description;

    bool State = false;     // output level
    int32_t Interval = 1;   // half period in 50-ms ticks
    int32_t Count = 0;      // ticks since the last toggle

    void ClockTick() override;
    void Calculate() override;
    void SimReset() override;
    QString GetHint() const override;
    int EditProperties() override;
    void Paint(TCanvas& canvas) override;
    void WriteData(TWriter& writer) override;
    void ReadData(TReader& reader, uint8_t version) override;
};

// Front-panel page switch: on a falling edge of its clock input it shows (and optionally
// prints) a front-panel page.
class TBTFPActivate : public TGrundBT {
public:
    TV_CLASS_NAME(TBTFPActivate)
    TBTFPActivate();
    static const TComponentDescription Description;

    static constexpr int32_t kPrintFlag = 4096;
    bool LastInput = false;
    int32_t Page = 1;  // page 1..50 in bits 0..11, plus kPrintFlag to print it

    void Calculate() override;
    void SimReset() override;
    QString GetTypeName() const override;
    QString GetHint() const override;
    int EditProperties() override;
    void Paint(TCanvas& canvas) override;
    void WriteData(TWriter& writer) override;
    void ReadData(TReader& reader, uint8_t version) override;
};

// A block with one hotkey: the "Key" symbol, the hotkey in the record and a settings dialog
// with the hotkey row (hotkey receiver and sender).
class THotkeyBlock : public TGrundBT {
public:
    TV_CLASS_NAME(THotkeyBlock)

    std::unique_ptr<THotkey> Hotkey;

    int EditProperties() override;
    void Paint(TCanvas& canvas) override;
    void WriteData(TWriter& writer) override;
    void ReadData(TReader& reader, uint8_t version) override;

protected:
    explicit THotkeyBlock(const TComponentDescription& description);
};

// Hotkey receiver: its output follows a key of the front panel in run mode.
class TBTHotkey_Empfangen : public THotkeyBlock {
public:
    TV_CLASS_NAME(TBTHotkey_Empfangen)
    TBTHotkey_Empfangen();
    static const TComponentDescription Description;
    ~TBTHotkey_Empfangen() override;
};

// Every hotkey receiver that exists, in creation order.
std::vector<TBTHotkey_Empfangen*>& HotkeyReceivers();
// A key press or release of the front panel in run mode, passed to every receiver's hotkey.
void HotkeyReceiversKeyDown(uint16_t key, uint8_t shift);
void HotkeyReceiversKeyUp(uint16_t key);

// The symbol of both jump ends: the arrow (turned round when mirrored) in the canvas's pen and
// brush, the label centred in it in the canvas's font.
void PaintJumpArrow(TCanvas& canvas, const TIOBauteil& component);
// The bounds of the flat symbols (jump, jump target, test point): 20 less at top and bottom.
TRect NarrowedBounds(TRect bounds);

// Named jump: carries its input as text to the jump targets of the same label.
class TBTJump : public TGrundBT {
public:
    TV_CLASS_NAME(TBTJump)
    TBTJump();
    static const TComponentDescription Description;

    QString JumpText;  // the value carried, as text

    void Calculate() override;
    QString GetTypeName() const override;
    int EditProperties() override;
    TRect GetBounds() const override;
    void Paint(TCanvas& canvas) override;

private:
    TInputText m_inputText;
};
