#pragma once
// Switch and push-button components. Each owns a switch element and reads its state once per
// step. The logic members drive one logic output; the analog members select one of two input
// values for their output, or send their input to one of two outputs. The push-button
// variants differ only in their element, which becomes a push button when it is created.

#include "components/panel/PanelComponent.h"

class TSchalter;

// What every switch component shares: the element, the state read once per step, the live
// symbol and the contact drawing.
class TBTSwitchBase : public TBTPanelComponent {
public:
    bool LastDrawn = false;  // element state last drawn into the symbol

    void PaintPinStates(TCanvas& canvas) override;

protected:
    // True for the push-button variants.
    virtual bool IsPushButton() const = 0;
    void PrepareElement(TFP_Element& element) override;
    // The state for this step (ends a pulse of a published-page click); off without element.
    bool ReadState();
    // A terminal circle of radius 6.
    void DrawTerminal(TCanvas& canvas, int x, int y);
    // The push cap above the contact: a bracket `width` wide and 6 high, joined to (x, y).
    void DrawCap(TCanvas& canvas, int x, int y, int width);
    // The pen of the contact drawing.
    void UseContactPen(TCanvas& canvas, int width = 2);
};

// One logic output: high while the element is on.
class TBTLogicSwitch : public TBTSwitchBase {
public:
    bool LastOutput = false;  // element state last output

    void Calculate() override;
    void SimReset() override;
    void Paint(TCanvas& canvas) override;
};

class TBTSchalter : public TBTLogicSwitch {
public:
    TV_CLASS_NAME(TBTSchalter)
    TBTSchalter();
    static const TComponentDescription Description;

protected:
    bool IsPushButton() const override { return false; }
};

class TBTTaster : public TBTLogicSwitch {
public:
    TV_CLASS_NAME(TBTTaster)
    TBTTaster();
    static const TComponentDescription Description;

protected:
    bool IsPushButton() const override { return true; }
};

// Output := "E1" while on, "E0" while off, in every step.
class TBTSelectSwitch : public TBTSwitchBase {
public:
    void Calculate() override;
    void Paint(TCanvas& canvas) override;
};

class TBTAnalogSchalter : public TBTSelectSwitch {
public:
    TV_CLASS_NAME(TBTAnalogSchalter)
    TBTAnalogSchalter();
    static const TComponentDescription Description;

protected:
    bool IsPushButton() const override { return false; }
};

class TBTAnalogTaster : public TBTSelectSwitch {
public:
    TV_CLASS_NAME(TBTAnalogTaster)
    TBTAnalogTaster();
    static const TComponentDescription Description;

protected:
    bool IsPushButton() const override { return true; }
};

// "A1" := input while on, "A0" := input while off; the other output 0.
class TBTRouteSwitch : public TBTSwitchBase {
public:
    void Calculate() override;
    void Paint(TCanvas& canvas) override;
};

class TBTAnalogSchalter2 : public TBTRouteSwitch {
public:
    TV_CLASS_NAME(TBTAnalogSchalter2)
    TBTAnalogSchalter2();
    static const TComponentDescription Description;

protected:
    bool IsPushButton() const override { return false; }
};

class TBTAnalogTaster2 : public TBTRouteSwitch {
public:
    TV_CLASS_NAME(TBTAnalogTaster2)
    TBTAnalogTaster2();
    static const TComponentDescription Description;

protected:
    bool IsPushButton() const override { return true; }
};
