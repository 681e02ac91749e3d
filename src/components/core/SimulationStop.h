#pragma once
// Components that serve the circuit rather than compute signals: the simulation stop, the test
// point, the range check and the jump target.

#include "core/model/GrundBT.h"

#include <functional>

class TBTJump;

// Installed by the simulation control: ends the current run. Called from inside a step.
extern std::function<void()> OnStopRequested;
// Installed by the compiled-program start-up: ends the program. Called from inside a step.
extern std::function<void()> OnRuntimeCloseRequested;

// Simulation stop: a falling edge on "|Stp" ends the run (in a compiled program, the program).
class TBTStop : public TGrundBT {
public:
    TV_CLASS_NAME(TBTStop)
    TBTStop();
    static const TComponentDescription Description;

    bool LastInput = false;

    void Calculate() override;
    void SimReset() override;
    void Paint(TCanvas& canvas) override;
};

// Test point: shows its input value on the board while the simulation runs.
class TBTTestpunkt : public TGrundBT {
public:
    TV_CLASS_NAME(TBTTestpunkt)
    TBTTestpunkt();
    static const TComponentDescription Description;

    Extended Value = 0.0L;      // current input value
    Extended LastDrawn = 0.0L;  // value last drawn

    void Calculate() override;
    void SimReset() override;
    TRect GetBounds() const override;
    void Paint(TCanvas& canvas) override;
    void PaintPinStates(TCanvas& canvas) override;
    // The text the symbol shows now: the value while states are shown during a run, else "TEST".
    QString DisplayText() const;
};

// Range check: "OL" below XL, "OK" from XL up to below XH, "OH" from XH up.
class TBTRangeCheck : public TGrundBT {
public:
    TV_CLASS_NAME(TBTRangeCheck)
    TBTRangeCheck();
    static const TComponentDescription Description;

    void Calculate() override;
    void Paint(TCanvas& canvas) override;
};

// Jump target: outputs the text of the jump on its board that bears the same label.
class TBTJumpTarget : public TGrundBT {
public:
    TV_CLASS_NAME(TBTJumpTarget)
    TBTJumpTarget();
    static const TComponentDescription Description;

    TBTJump* Source = nullptr;  // the jump feeding this target during a run, not owned

    void Calculate() override;
    void SimReset() override;
    QString GetTypeName() const override;
    TRect GetBounds() const override;
    int EditProperties() override;
    void Paint(TCanvas& canvas) override;
};
