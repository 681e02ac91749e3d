#pragma once
// Analog multiplexer and demultiplexer with 2, 4, 8 or 16 channels chosen by a binary channel
// number on digital select inputs, enabled by a high "EN". The size follows from the pin
// counts of the record; a stored count outside the four sizes is refused.

#include "core/model/GrundBT.h"

// What both share: the size code (0 .. 3 for 2, 4, 8, 16 channels), the symbol, the dialog.
class TBTAnalogSwitch : public TGrundBT {
public:
    TV_CLASS_NAME(TBTAnalogSwitch)

    static constexpr int SizeCount = 4;
    static int Channels(int sizeCode) { return 2 << sizeCode; }

    // The size code of the current input count; -1 when it fits none.
    int SizeCode() const { return SizeOfInputs(InputCount); }
    // Gives the block the pins of size code s (0 .. 3).
    void SetSize(int sizeCode);

    void Paint(TCanvas& canvas) override;
    // One drop-down "Kanäle"; the chosen size applies whatever the result.
    int EditProperties() override;
    void CheckStoredPins(int32_t inputs, int32_t outputs) const override;

protected:
    explicit TBTAnalogSwitch(const TComponentDescription& description);
    // Pin counts of size code s, and the size code of an input count (-1 for none).
    virtual int InputsOf(int sizeCode) const = 0;
    virtual int OutputsOf(int sizeCode) const = 0;
    int SizeOfInputs(int inputs) const;
    // Channel number of the select inputs from index first (select bits of the size).
    int Channel(int first) const;
};

// "EN", "S0" ..., then "I0" ...; output "A" := input "I" + channel, 0.0 while "EN" is low.
class TBTAnalogMux : public TBTAnalogSwitch {
public:
    TV_CLASS_NAME(TBTAnalogMux)
    TBTAnalogMux();
    static const TComponentDescription Description;

    void Calculate() override;
    void SimReset() override;
    void NameInputs() override;

protected:
    int InputsOf(int sizeCode) const override;
    int OutputsOf(int) const override { return 1; }
};

// "EN", "IN", "S0" ...; outputs "A" + (channels - 1) down to "A0". The selected output carries
// "IN", the others 0.0; outputs are written only when the channel or the value changes.
class TBTAnalogDemux : public TBTAnalogSwitch {
public:
    TV_CLASS_NAME(TBTAnalogDemux)
    TBTAnalogDemux();
    static const TComponentDescription Description;

    int32_t LastChannel = -1;     // channel of the previous step; -1 for none
    Extended LastValue = 0.0L;    // value last written to the selected output

    void Calculate() override;
    void SimReset() override;
    void NameInputs() override;
    void NameOutputs() override;

protected:
    int InputsOf(int sizeCode) const override;
    int OutputsOf(int sizeCode) const override { return Channels(sizeCode); }
};
