#pragma once
// Components that turn what the user sets on the front panel into signals: an analog value
// (potentiometer, slider), an 8-bit number (digital potentiometer and slider), a hex digit,
// a joystick position and the notches of a thumbwheel. Each reads its element in its step and
// drives its outputs, most of them only when the element's value changed since the last step.

#include "components/panel/PanelComponent.h"

#include <QChar>

#include <cstdint>

// The analog knob: output 0 := the element's value when it changed.
class TBTPoti : public TBTPanelComponent {
public:
    TV_CLASS_NAME(TBTPoti)
    TBTPoti();
    static const TComponentDescription Description;

    double LastValue = 1e-8;

    void Calculate() override;
    void SimReset() override;
    void Paint(TCanvas& canvas) override;
};

// The analog slider: the same with the value kept in double precision.
class TBTSlider : public TBTPanelComponent {
public:
    TV_CLASS_NAME(TBTSlider)
    TBTSlider();
    static const TComponentDescription Description;

    Extended LastValue = 1e-8;

    void Calculate() override;
    void SimReset() override;
    void Paint(TCanvas& canvas) override;
};

// What the digital knob and slider share: the rounded value on "D7".."D0".
class TBTDigitalAdjustor : public TBTPanelComponent {
public:
    int32_t LastInteger = -1;

    void Calculate() override;
    void Paint(TCanvas& canvas) override;

protected:
    virtual Extended ElementValue() const = 0;
};

class TBTDPoti : public TBTDigitalAdjustor {
public:
    TV_CLASS_NAME(TBTDPoti)
    TBTDPoti();
    static const TComponentDescription Description;

protected:
    void PrepareElement(TFP_Element& element) override;
    Extended ElementValue() const override;
};

// The digital slider outputs its bits in the first step of every run.
class TBTDSlider : public TBTDigitalAdjustor {
public:
    TV_CLASS_NAME(TBTDSlider)
    TBTDSlider();
    static const TComponentDescription Description;

    void SimReset() override;
    void Paint(TCanvas& canvas) override;

protected:
    void PrepareElement(TFP_Element& element) override;
    Extended ElementValue() const override;
};

// The hex selector: the digit on "D3".."D0" and, with a fifth output, as a hex text.
class TBTHexInput : public TBTPanelComponent {
public:
    TV_CLASS_NAME(TBTHexInput)
    TBTHexInput();
    static const TComponentDescription Description;

    int32_t LastInteger = -1;
    QChar DrawnChar;  // digit last drawn into the symbol

    void Calculate() override;
    void SimReset() override;
    void Paint(TCanvas& canvas) override;
    void PaintPinStates(TCanvas& canvas) override;
};

// The joystick: "X" and "Y" (-100..100) and "MOV" while the knob is held, every step.
class TBTJoyst : public TBTPanelComponent {
public:
    TV_CLASS_NAME(TBTJoyst)
    TBTJoyst();
    static const TComponentDescription Description;

    void Calculate() override;
    void Paint(TCanvas& canvas) override;
};

// The thumbwheel: one pulse of 12 steps on "|CLK" per queued notch, "U/D" its direction.
class TBTRaendel : public TBTPanelComponent {
public:
    TV_CLASS_NAME(TBTRaendel)
    TBTRaendel();
    static const TComponentDescription Description;

    bool PulseActive = false;
    int32_t Countdown = 0;

    void Calculate() override;
    void SimReset() override;
    void Paint(TCanvas& canvas) override;
};
