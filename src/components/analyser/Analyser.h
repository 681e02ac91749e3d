#pragma once
// The eight-channel logic analyser and the pen plotter.
//
// The analyser reads eight data inputs and two clock inputs in every step, starts a recording
// of 100 samples on its trigger (manual, loop, an edge of "|Trg" or of a data channel) and
// takes a sample every n-th step, every n-th 50-ms tick or at each falling edge of "|Ext". The
// samples go into its window (docked into its front-panel element), which paints them at the
// front panel's repaint tick. The window's settings are kept in the project with the
// component.
//
// The pen plotter moves the pen of its element to the point (X, Y) within the ranges the
// offset and range inputs give, with pen colour, width and afterglow from its inputs.

#include "components/panel/PanelComponent.h"
#include "frontpanel/chart/Chart.h"

#include <QPointer>

#include <array>
#include <cstdint>

class TMyAnalyser;
class TStiftplotter;

class TBT_Analyser : public TBTPanelComponent {
public:
    TV_CLASS_NAME(TBT_Analyser)
    TBT_Analyser();
    ~TBT_Analyser() override;
    static const TComponentDescription Description;

    // Settings kept with the component (taken from the window when one exists).
    std::array<QString, 8> ChannelNames;
    bool ModeSys = true, ModeTime = false, ModeExt = false;
    int16_t SysClockIndex = 0, TimeClockIndex = 0;
    int16_t WindowLeft = 40, WindowTop = 40;
    int32_t TriggerIndex = 0;
    int32_t WindowWidth = 400, WindowHeight = 310;
    bool FillFlag = false;
    std::array<int32_t, 8> TraceColors{};
    TChartPrintSettings Print;
    QString Headline;
    QStringList Comments;
    bool RisingEdge = true;  // the window's edge at its creation; not stored

    // Run state.
    int SampleCounter = 0;
    int StepCounter = 0;
    int TickCounter = 0;
    int ClockMode = 0;  // 0 system steps, 1 50-ms ticks, 2 external clock
    int StepDividerRun = 0;
    int TickDividerRun = 1;
    bool PrevExt = false;
    bool PrevTriggerLevel = false;

    TMyAnalyser* Window() const;
    // Creates the window for a new element: captioned, set up from the stored settings and
    // docked into the element.
    void CreateWindow(TFP_Element& element);
    // "8-Kanal-Analyser [n]" (by language) as the window's caption.
    void UpdateWindowCaption();
    // The stored settings applied to the window.
    void SetupWindow();
    // The window's settings taken into the stored ones.
    void TakeFromWindow();
    // The component's own part of its stream: the settings block, then (from version 3) the
    // trigger, window size, fill flag and colours, then (from version 40) the print settings.
    void WriteSettings(TWriter& writer);
    void ReadSettings(TReader& reader, uint8_t version);

    void Calculate() override;
    void SimReset() override;
    void ClockTick() override;
    void Paint(TCanvas& canvas) override;
    void WriteData(TWriter& writer) override;
    void ReadData(TReader& reader, uint8_t version) override;

protected:
    void PrepareElement(TFP_Element& element) override;

private:
    // The window lives in the element and ends with it.
    QPointer<TMyAnalyser> m_window;
};

class TBTStiftplotter : public TBTPanelComponent {
public:
    TV_CLASS_NAME(TBTStiftplotter)
    TBTStiftplotter();
    static const TComponentDescription Description;

    bool PrevReset = true;

    void Calculate() override;
    void SimReset() override;
    void ClockTick() override;
    void Paint(TCanvas& canvas) override;

private:
    TStiftplotter* Element() const;
};
