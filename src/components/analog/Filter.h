#pragma once
// Real-time low-pass filter of four equal first-order stages. Owned by the differentiator,
// the DT1 element and the PD and PID controllers; the time between two steps is read from
// the clock.

#include "platform/Types.h"

#include <QString>
#include <cstdint>

class TReader;
class TWriter;
class TPropScrollbox;

class TFilter {
public:
    static constexpr Extended TwoPi = 6.283185307179586L;

    int32_t IntParam = 1;                 // stored and read back, no other use
    bool Active = false;                  // off: the input passes unchanged
    Extended Omega = 62.83185307179586L;  // corner frequency 2 pi f, rad/s
    Extended Stage[4] = {0.0L, 0.0L, 0.0L, 0.0L};
    int64_t LastCount = 0;                // clock reading of the previous step
    uint8_t ByteParam = 0;                // stored and read back, no other use
    int32_t StageCount = 4;               // stages that Reset clears (0 .. 4)

    // One filter step on x; returns the output of the last stage (x itself while off). A
    // stage moves at most all the way to its input in one step, however long the pause since
    // the previous step.
    Extended Step(Extended x);
    // Takes the current time as time base and clears the stages.
    void Reset();

    // The filter's part of a component record: IntParam, Active, Omega, ByteParam, StageCount.
    void WriteRecord(TWriter& writer) const;
    void ReadRecord(TReader& reader);

    // Dialog rows: group caption "Filter", check "Aktivieren", edit "Filter" + " fo [Hz]"
    // showing Omega / 2 pi. The caller keeps the two bound variables from BeginEdit and
    // hands them to EndEdit after the dialog, whatever its result.
    struct TEdit {
        bool Active = false;
        QString FrequencyText;
    };
    TEdit BeginEdit() const;
    static void AddRows(TPropScrollbox& sheet, TEdit& edit);
    void EndEdit(const TEdit& edit);
};
