#pragma once
// The Y(t) recorder element: four channels of values over time on a chart, with a tool bar for
// recording, playback, zoom, paging, files, printing and the clipboard. The element holds the
// samples and everything the user sees; its component owns the sampling, reads its inputs on
// every tick and hands the values over, and carries out the record, play and stop requests
// the element raises.

#include "frontpanel/FP_Element.h"
#include "frontpanel/chart/Chart.h"

#include <array>
#include <deque>
#include <functional>

class QComboBox;
class QFrame;
class QLabel;
class QMenu;
class QToolButton;
class TWLXHiTimer;
struct TGrfData;

class TFPGraf : public TFP_Element {
public:
    FP_CLASS_NAME(TFPGraf)

    explicit TFPGraf(QWidget* owner = nullptr);
    ~TFPGraf() override;

    static constexpr int kChannels = 4;
    // Samples per channel a recording may hold; reaching it ends the recording.
    static constexpr size_t kMaxSamples = 72000;
    static const double kTimeBases[20];
    static QStringList TimeBaseNames();

    TGraf* Chart = nullptr;
    // Channel samples in recording order; a deque keeps their addresses while it grows, so the
    // curves can point at them.
    std::array<std::deque<TChartSample>, kChannels> Channels;
    double SampleInterval = 0.1;
    int32_t TimeBaseIndex = 0;
    double YRangeLow = -10, YRangeHigh = 10;
    QString Unit = QStringLiteral("mV");
    double TimeWindow = 0;  // visible seconds; 0: one sample per pixel
    QString FilePrefix;
    bool FixedFileName = false;
    QString StartFile;
    bool StartFileLoaded = false;
    bool Recording = false;
    bool Playing = false;
    bool BedienteilSichtbar = true;
    int64_t LastPaintCount = 0;

    QFrame* ToolBar = nullptr;
    QLabel* StatusLabel = nullptr;
    QLabel* xPosLabel = nullptr;
    QLabel* yPosLabel = nullptr;
    QComboBox* TB_Combo = nullptr;
    QToolButton* SB_Play = nullptr;
    QToolButton* ToggleButton = nullptr;
    QMenu* Popup = nullptr;
    TWLXHiTimer* SampleTimer = nullptr;

    // Requests to the component.
    std::function<void()> OnIntervalChange, OnRecord, OnPlay, OnStop;

    // --- Operations the component calls --------------------------------------------------------
    // Appends a sample; reaching the channel's limit asks the component to stop.
    void AddSample(int channel, double time, double value);
    // Keeps the newest sample in view after n new samples.
    void FollowRecording(int n);
    int FirstVisibleSample() const;
    int LastVisibleSample() const;
    void ApplyTimeBase();
    void SetSampleInterval(double seconds);
    void SetRunning(bool on);
    void ClearRecording();
    // Shows the status text in its colour ("REC", "PLAY", "STOP" ...).
    void SetStatus(const QString& text, int32_t color);
    // Writes the recording; false with *error when the file could not be written.
    bool SaveGRF(const QString& fileName, QString* error = nullptr);
    // Replaces the recording with the file's; a file that cannot be read or is damaged changes
    // nothing: false with *error. A file that ends early loads what it holds before its end,
    // and *notice says so.
    bool LoadGRF(const QString& fileName, QString* error = nullptr, QString* notice = nullptr);
    TGrfData ToGrf() const;
    void ApplyGrf(const TGrfData& data);

    void SetBedienteilSichtbar(bool visible);
    void SetPlayVisible(bool visible);

    // --- User commands -------------------------------------------------------------------------
    void Command(int tag);
    void ZoomAll();
    void ZoomReset();
    void PageForward();
    void PageBack();
    void RebuildCurves();
    void HotkeyPressed(int32_t action);
    void HotkeyReleased(int32_t action);
    void TimeBaseChanged(int index);

    // --- Element ---------------------------------------------------------------------------------
    void WriteElementData(TWriter& writer) override;
    void ReadElementData(TReader& reader, uint8_t version) override;
    int EditProperties() override;
    void SaveSettings(TIniFile& ini, const QString& path) override;
    bool LoadSettings(TIniFile& ini, const QString& path, bool checkOnly) override;
    void SetHintergrundFarbe(int32_t color) override;
    void WriteWebElement(QStringList& lines) override;
    void WriteWebSnapshot(QStringList& lines) override;
    void WriteWebImageMap(QStringList& lines) override;
    void WebAction(int32_t action) override;
    void WebSubmit(const QString& value) override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void BuildToolBar();
    void Layout();
    void ShowReadout();
    void Repaint();
    QToolButton* Button(int tag) const;
    std::array<QToolButton*, 19> m_buttons{};
};
