#pragma once
// The two-channel oscilloscope component. Every step it reads its inputs, decides whether a
// sweep starts (trigger off, manual, or an edge of A, B or Trg through the trigger voltage)
// and, while a sweep runs, hands one sample per channel to its window whenever a sample
// interval (a tenth of a division) has passed on the performance counter. It keeps the
// window's settings in the project; the window is docked into its front-panel element.

#include "components/panel/PanelComponent.h"

#include <QStringList>

class TOscillograph;

// The window's settings as the project stores them; applied when the window is created.
struct TScopeSettings {
    int32_t Left = 10, Top = 10, Width = 100, Height = 100;
    int32_t TimeBaseIndex = 5;
    int32_t TriggerIndex = 5;  // names no entry: runs free
    bool TriggerPositiv = true;
    Extended TriggerVoltage = 0.0001;
    int32_t RangeAIndex = 21, RangeBIndex = 21;
    int32_t FarbStil = 0;
    int32_t OriginX = 0, OriginY = 0;
    int32_t OffsetX = 0, OffsetY = 0;
    int32_t ZoomPos = 120;
    Extended Zoom = 0.5;
    QString Headline;
    bool BlackWhite = false, Centred = true, Background = false;
    int32_t PrinterIndex = -1;
    int32_t Orientation = 0;
    QStringList CommentLines;
};

class TBT_Scope : public TBTPanelComponent {
public:
    TV_CLASS_NAME(TBT_Scope)
    TBT_Scope();
    static const TComponentDescription Description;

    static constexpr int kSweepPoints = 100;

    TScopeSettings Stored;
    // Run state.
    int32_t SampleCounter = 0;
    int32_t MsPerDivision = 1;
    Extended PreviousTrigger = 0;
    int64_t LastSample = 0;

    // The docked window; nullptr without an element (in the palette).
    TOscillograph* Window() const;
    void UpdateWindowCaption();
    // Applies the stored settings to the window.
    void SetupWindow();
    // The settings taken from the window (the stored ones without a window).
    TScopeSettings CurrentSettings() const;

    void Calculate() override;
    void SimReset() override;
    void Paint(TCanvas& canvas) override;
    void PaintPinStates(TCanvas& canvas) override;
    void WriteData(TWriter& writer) override;
    void ReadData(TReader& reader, uint8_t version) override;

protected:
    void PrepareElement(TFP_Element& element) override;

private:
    bool Triggered(Extended a, Extended b);
};
