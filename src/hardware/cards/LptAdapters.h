#pragma once
// Two ELV adapters on a PC parallel port that reach more lines than the port has through
// latches and shift registers clocked by the port's control lines: the logic-analyser adapter
// (12 outputs, 12 inputs) and the CSI 7001 card (8 relays, 8 opto-coupler inputs). Both keep
// the LPT port's address row, permission and help.

#include "hardware/cards/StepDeadline.h"
#include "hardware/ports/LptInterface.h"

// The analyser adapter's outputs: the low and the high byte into their latches, and the data
// lines cleared once the latches have settled.
class TELVAnalyserDOutPort : public TDOutPort {
public:
    TV_CLASS_NAME(TELVAnalyserDOutPort)
    TELVAnalyserDOutPort();
    static constexpr double kSettleMs = 1.0;
    // One part of the sequence: the latches in one step, the clearing once the time has passed.
    void MachEsJetzt() override;
    void SimStart() override;
    // Whether a sequence is under way.
    bool InSequence() const { return m_latched; }

private:
    bool m_latched = false;
    TStepDeadline m_due;
};

// The analyser adapter's inputs: each of the twelve lines selected in turn and read on the ACK
// line once the selection has settled.
class TELVAnalyserDInPort : public TDInPort {
public:
    TV_CLASS_NAME(TELVAnalyserDInPort)
    TELVAnalyserDInPort();
    static constexpr double kSettleMs = 1.0;
    // The select byte of line 0..11 (E1 .. E12).
    static uint8_t SelectCode(int line);
    void MachEsJetzt() override;
    void SimStart() override;
    bool InSequence() const { return m_line >= 0; }

private:
    void Select();
    int m_line = -1; // the line selected, -1 between scans
    uint16_t m_bits = 0;
    TStepDeadline m_due;
};

class TELVAnalyser : public TLPTInterface {
public:
    TV_CLASS_NAME(TELVAnalyser)
    static const TDeviceDescription Description;
    TELVAnalyser();

    // Which port the next step serves: set for the outputs.
    bool PortToggle = false;

    // Serves one port; the other waits until its sequence is complete.
    void MachEsJetzt() override;
    void SimStop() override;
    void ResetPins() override;
};

class TCSI7001DOutPort : public TLPTInterfaceDOutPort {
public:
    TV_CLASS_NAME(TCSI7001DOutPort)
    TCSI7001DOutPort();
    void MachEsJetzt() override;
};

// The eight inputs, shifted out of the card's register: a load pulse on AUTOFEED, then eight
// clock pulses on STROBE, the bit read on ACK before each.
class TCSI7001DInPort : public TDInPort {
public:
    TV_CLASS_NAME(TCSI7001DInPort)
    TCSI7001DInPort();
    void MachEsJetzt() override;
};

class TCSI7001 : public TLPTInterface {
public:
    TV_CLASS_NAME(TCSI7001)
    static const TDeviceDescription Description;
    TCSI7001();
};
