#pragma once
// Real time into a circuit: the computer's local time and date split into numbers plus a
// formatted text, and a frequency counter measured against the performance counter.

#include "core/model/GrundBT.h"

#include <QDateTime>
#include <QString>
#include <cstdint>

// Outputs "ms", "S", "M", "H" and, unless the record is from an older project with four
// outputs, the text "$" in the system's long time format.
class TBTSysTime : public TGrundBT {
public:
    TV_CLASS_NAME(TBTSysTime)
    TBTSysTime();
    static const TComponentDescription Description;

    QString LastText;

    void Calculate() override;
    void Paint(TCanvas& canvas) override;
    QString GetHint() const override;  // adds the current time
};

// Outputs "DOW" (1 Sunday .. 7 Saturday), "D", "M", "Y" and, unless the record is from an older
// project with four outputs, the text "$" in the system's short date format.
class TBTSysDate : public TGrundBT {
public:
    TV_CLASS_NAME(TBTSysDate)
    TBTSysDate();
    static const TComponentDescription Description;

    QString LastText;

    void Calculate() override;
    void Paint(TCanvas& canvas) override;
    QString GetHint() const override;  // adds the current date
};

// The frequency at "CLK" on "f", renewed once a second: up to 100 Hz from the length of the last
// period, above it the rising edges counted in the one-second gate.
class TBTFreqCount : public TGrundBT {
public:
    TV_CLASS_NAME(TBTFreqCount)
    TBTFreqCount();
    static const TComponentDescription Description;

    int32_t EdgeCount = 0;     // rising edges in the current gate
    bool PrevInput = false;    // kept from run to run
    int64_t LastEdge = 0;      // performance counter; kept from run to run
    int64_t GateStart = 0;
    Extended Estimate = 0.0L;  // Hz

    void SimReset() override;
    void Calculate() override;
    void Paint(TCanvas& canvas) override;
};

// The texts of the "$" outputs and the hints.
QString SystemTimeText(const QTime& time);
QString SystemDateText(const QDate& date);
