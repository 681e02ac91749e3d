#pragma once
// Closed-loop control blocks: P, PI, PD and PID controllers (real time, with a sample-time
// setting), the two-point controller (switch with hysteresis), the play element (backlash)
// and the dead zone. Gains, limits and widths are inputs read at every step.

#include "components/analog/Filter.h"
#include "components/analog/SampleTime.h"
#include "core/model/GrundBT.h"

#include <QPoint>
#include <initializer_list>
#include <vector>

// The symbol of every controller.
class TBTController : public TGrundBT {
public:
    TV_CLASS_NAME(TBTController)


protected:
    TBTController(const TComponentDescription& description, bool editable);
    // The block symbol, then red lines (each a polyline of points relative to the body's
    // centre) and, with frame set, the black frame.
    void PaintLines(TCanvas& canvas, std::initializer_list<std::initializer_list<QPoint>> lines,
                    bool frame = true);
    // value limited to [OutMin, OutMax]: first the upper bound, then the lower, so that with
    // OutMin above OutMax the result is OutMin.
    static Extended Clamp(Extended value, Extended outMin, Extended outMax)
    {
        if (value > outMax)
            value = outMax;
        if (value < outMin)
            value = outMin;
        return value;
    }

};

class TBT_P_Regler : public TBTController {
public:
    TV_CLASS_NAME(TBT_P_Regler)
    TBT_P_Regler();
    static const TComponentDescription Description;
    void Paint(TCanvas& canvas) override;
    void Calculate() override;
};

// What the PI, PD and PID controllers share: sample time, output limits, time base.
class TBTTimedController : public TBTController {
public:
    TV_CLASS_NAME(TBTTimedController)

    static constexpr Extended DefaultLimit = 1e12L;

    TSampleTime Sampling;
    Extended OutMax = DefaultLimit;
    Extended OutMin = -DefaultLimit;
    int64_t LastCount = 0;  // clock reading of the last computed step (the time base)

protected:
    using TBTController::TBTController;
    // The settings dialog: sample time and output limits, then the integration rows when
    // init is given and the filter rows when filter is given. The values are taken back
    // after the dialog, whatever its result.
    int EditSettings(Extended* init, TFilter* filter);
    // The record: the controller's own, sample time and output limits, then the integral's
    // reset value when init is given and the filter settings when filter is given.
    void WriteSettings(TWriter& writer, const Extended* init, const TFilter* filter);
    void ReadSettings(TReader& reader, uint8_t version, Extended* init, TFilter* filter);
};

class TBT_PI_Regler : public TBTTimedController {
public:
    TV_CLASS_NAME(TBT_PI_Regler)
    TBT_PI_Regler();
    static const TComponentDescription Description;

    Extended Integral = 0.0L;
    Extended Init = 0.0L;  // the integral after a reset

    void Paint(TCanvas& canvas) override;
    void WriteData(TWriter& writer) override;
    void ReadData(TReader& reader, uint8_t version) override;
    int EditProperties() override;
    void Calculate() override;
    void SimReset() override;
    void SaveSettings(TIniFile& ini, const QString& section) override;
    bool LoadSettings(TIniFile& ini, const QString& section, bool checkOnly) override;
};

class TBT_PD_Regler : public TBTTimedController {
public:
    TV_CLASS_NAME(TBT_PD_Regler)
    TBT_PD_Regler();
    static const TComponentDescription Description;

    Extended LastError = 0.0L;  // filtered error of the last computed step
    TFilter Filter;

    void Paint(TCanvas& canvas) override;
    void WriteData(TWriter& writer) override;
    void ReadData(TReader& reader, uint8_t version) override;
    int EditProperties() override;
    void Calculate() override;
    void SimReset() override;
};

// The derivative term uses the filtered error, the others the error itself. The time base is
// taken when a run is prepared (the reset input keeps it), and the integral survives a run in
// the component state file.
class TBT_PID_Regler : public TBTTimedController {
public:
    TV_CLASS_NAME(TBT_PID_Regler)
    TBT_PID_Regler();
    static const TComponentDescription Description;

    Extended Integral = 0.0L;
    Extended LastError = 0.0L;
    Extended Init = 0.0L;
    TFilter Filter;

    void Paint(TCanvas& canvas) override;
    void WriteData(TWriter& writer) override;
    void ReadData(TReader& reader, uint8_t version) override;
    int EditProperties() override;
    void Calculate() override;
    void SimPrepare() override;
    void SimReset() override;
    void SaveSettings(TIniFile& ini, const QString& section) override;
    bool LoadSettings(TIniFile& ini, const QString& section, bool checkOnly) override;
};

// "ON" switches on when X- falls below X+ - HYS/2 and off when it rises above X+ + HYS/2.
class TBT_2_Punkt_Regler : public TBTController {
public:
    TV_CLASS_NAME(TBT_2_Punkt_Regler)
    TBT_2_Punkt_Regler();
    static const TComponentDescription Description;

    bool Status = false;

    void Paint(TCanvas& canvas) override;
    void Calculate() override;
    void SaveSettings(TIniFile& ini, const QString& section) override;
    bool LoadSettings(TIniFile& ini, const QString& section, bool checkOnly) override;
};

// Mechanical backlash: the output moves only when the input pushes an edge of the play band
// of width "HYS".
class TBT_Spiel : public TBTController {
public:
    TV_CLASS_NAME(TBT_Spiel)
    TBT_Spiel();
    static const TComponentDescription Description;

    Extended HLimit = 0.0L;
    Extended LLimit = 0.0L;
    Extended Output = 0.0L;

    void Paint(TCanvas& canvas) override;
    void Calculate() override;
    void SaveSettings(TIniFile& ini, const QString& section) override;
    bool LoadSettings(TIniFile& ini, const QString& section, bool checkOnly) override;
};

// 0 between "XL" and "XH", the distance beyond the nearer limit outside.
class TBT_Totzone : public TBTController {
public:
    TV_CLASS_NAME(TBT_Totzone)
    TBT_Totzone();
    static const TComponentDescription Description;
    void Paint(TCanvas& canvas) override;
    void Calculate() override;
};
