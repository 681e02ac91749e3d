#pragma once
// The recorder components: the Y(t) recorder (four channels sampled at a fixed interval into
// its chart element, recording and playback on edges or from the element's tool bar, an
// automatic file at every stop), the XY recorder (plots the current point on a falling edge,
// moves its pen marker every 50 ms) and the value table (a row of the input values, the time
// and the date on every falling edge of its add input).

#include "components/panel/PanelComponent.h"

#include <QDateTime>

#include <array>

class TFPGraf;
class TCanvas;

// The plotter symbol: the caption in grey bold italic, two axes with arrow heads.
void DrawPlotSymbol(TCanvas& canvas, int cx, int cy, int32_t colour, const QString& caption, int textHeight,
                    QPoint textAt, int xAxisEnd);
class TFPXY;
class TTabelle;

class TBTGraf : public TBTPanelComponent {
public:
    TV_CLASS_NAME(TBTGraf)
    TBTGraf();
    static const TComponentDescription Description;

    bool AllowPlayback = false;  // playback pins and playback allowed
    int32_t SampleCount = 0;     // ticks since the recording started
    double IntervalCopy = 0.1;   // the element's sampling interval
    int32_t MinuteTicks = 0;     // 60-s ticks counted towards a longer interval
    int32_t BatchCount = 0;
    int32_t BatchSize = 1;       // samples per chart update: about 0.1 s
    bool Running = false;
    bool PlayingBack = false;
    int32_t PlayIndex = 0;
    std::array<bool, 4> ChannelWired{};
    bool LastRec = false, LastStp = false, LastPly = false;

    void SetAllowPlayback(bool allow);
    void IntervalChanged();
    void StartRecording();
    void StartPlayback();
    void Stop();
    // One tick of the sampling clock: a sample per wired channel, or one played back.
    void SampleTick();
    // The name of the automatic file of a recording stopped at `now`.
    QString AutoFileName(const QDateTime& now) const;

    void Calculate() override;
    void SimReset() override;
    void SimPrepare() override;
    void NameInputs() override;
    void NameOutputs() override;
    void CheckStoredPins(int32_t inputs, int32_t outputs) const override;
    void Paint(TCanvas& canvas) override;
    void WriteData(TWriter& writer) override;
    void ReadData(TReader& reader, uint8_t version) override;
    int EditProperties() override;

protected:
    void PrepareElement(TFP_Element& element) override;

private:
    TFPGraf* Element() const;
    void StartTimer();
};

class TBTXY : public TBTPanelComponent {
public:
    TV_CLASS_NAME(TBTXY)
    TBTXY();
    static const TComponentDescription Description;

    bool LastAdd = false, LastRst = false;

    void AddCurrentPoint();
    void Calculate() override;
    void SimReset() override;
    void ClockTick() override;
    void ReadData(TReader& reader, uint8_t version) override;
    void Paint(TCanvas& canvas) override;
};

class TBTTabelle : public TBTPanelComponent {
public:
    TV_CLASS_NAME(TBTTabelle)
    TBTTabelle();
    static const TComponentDescription Description;

    static constexpr int kMaxRows = 30000;  // including the heading row
    bool LastAdd = false;

    // Appends a row of the current input values, the time and the date.
    void AddRow();
    int32_t Channels() const { return InputCount - 2; }

    void Calculate() override;
    void SimReset() override;
    void NameInputs() override;
    void Paint(TCanvas& canvas) override;
    int EditProperties() override;

protected:
    void PrepareElement(TFP_Element& element) override;
};
