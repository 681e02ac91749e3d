#pragma once
// The standard block symbol of most components, and the base of the components that own a
// front-panel element.

#include "core/model/Iobt.h"

class TGrundBT : public TIOBauteil {
public:
    TV_CLASS_NAME(TGrundBT)
    TGrundBT();

    int32_t BodyColor1 = 16448250; // left edge of the body gradient
    int32_t BodyColor2 = 14737632; // right edge

    void Paint(TCanvas& canvas) override;

    virtual void DrawPin(TCanvas& canvas, TBauteilPin& pin, bool isInput);
    virtual void DrawInversionMark(TCanvas& canvas, int index, bool isInput);
    virtual void DrawPinLine(TCanvas& canvas, TBauteilPin& pin, bool isInput, bool lit);
    virtual void PaintPinStates(TCanvas& canvas);
    virtual void DrawPinArrow(TCanvas& canvas, TBauteilPin& pin, bool isInput, bool lit);

    void RepaintPins(TCanvas& canvas);
    void DrawPinLabel(TCanvas& canvas, int x, const QString& name, int y);
    void DrawClockMarker(TCanvas& canvas, int inputIndex);

    // Colour of the marks a symbol draws in its body: red while selected, else SymbolColor.
    int32_t MarkColor() const;
    // A mark text in the body: "ARIAL" of the given height in the mark colour, clear background.
    void DrawMarkText(TCanvas& canvas, int x, int y, int fontHeight, const QString& text) const;

protected:
    // Whether an input without a source counts as lit (false only for macro pins).
    virtual bool UnconnectedInputLit() const { return true; }
    // The pin stub of this side is drawn on the body's left.
    bool PinOnLeft(bool isInput) const;
    // An input's state for the pin line and arrow: never lit without a run.
    bool InputLit(const TBauteilPin& pin) const;
};

class TBTFront : public TGrundBT {
public:
    TV_CLASS_NAME(TBTFront)
    TBTFront();
    QString GetHint() const override;
};
