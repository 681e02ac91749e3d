#pragma once
// The screen of the eight-channel logic analyser: eight traces of 100 one-bit samples with
// their name labels, the tool panel (trigger lamp and edge, progress bar, trigger source,
// clock mode and dividers, manual start, tools shown or hidden, print) and a measuring
// cursor. The component decides trigger and sampling instants and stores the samples; the
// window only keeps them and paints them at the front panel's repaint tick: while a
// recording runs only the progress bar, the traces once the 100th sample is in.

#include "frontpanel/chart/Chart.h"

#include <QLabel>
#include <QWidget>

#include <array>
#include <cstdint>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QRadioButton;
class QToolButton;

constexpr int kAnalyserChannels = 8;
constexpr int kAnalyserSamples = 100;

// One channel trace: 100 samples drawn as a logic level line (high at the top).
class TKanalDisplay : public QWidget {
public:
    explicit TKanalDisplay(QWidget* parent = nullptr);

    bool Fill = false;                         // fill the areas under high levels
    std::array<bool, kAnalyserSamples> Samples{};
    int32_t TraceColor = 0x00FF00;             // 0x00BBGGRR

    void SetFill(bool fill);
    // The trace in a w x h box at (0, 0): line in `colour`, high areas filled white when `fill`.
    static void PaintTrace(QPainter& painter, const std::array<bool, kAnalyserSamples>& samples, int w, int h,
                           const QColor& colour, bool fill);

    // Mouse events go to the window's cursor handling (x in the display's coordinates).
    std::function<void(QMouseEvent*, TKanalDisplay*)> OnMouse;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// A channel name label.
class TLabel_D : public QLabel {
public:
    explicit TLabel_D(QWidget* parent = nullptr);
    bool FontChange = true;
    int32_t FontColor = 0x00FF00;
    void SetFontColor(int32_t colour);
};

class TMyAnalyser : public QWidget {
public:
    explicit TMyAnalyser(QWidget* parent = nullptr);
    ~TMyAnalyser() override;

    // --- Controls --------------------------------------------------------------------------
    QWidget* Panel2 = nullptr;        // tool panel on the right
    QToolButton* ToolBtn = nullptr;
    QToolButton* PrintBtn = nullptr;
    QToolButton* SB_Start = nullptr;  // manual trigger, visible while the trigger is manual
    QCheckBox* cb_Fill = nullptr;     // not shown; the component's fill flag
    QGroupBox* TriggerGroup = nullptr;
    QWidget* P_Color = nullptr;       // recording lamp
    QToolButton* TriggerBtn = nullptr;
    QWidget* PaintBox1 = nullptr;     // progress bar
    QComboBox* TriggerCombo = nullptr;
    QGroupBox* TimebaseGroup = nullptr;
    QRadioButton* RB_System = nullptr;
    QRadioButton* RB_Time = nullptr;
    QRadioButton* RB_Ext = nullptr;
    QComboBox* CB_Systemtakt = nullptr;
    QComboBox* CB_TimeBase = nullptr;
    QWidget* P_Display = nullptr;     // the display panel (its colour is the element's background)
    QWidget* PB_Display = nullptr;    // fills P_Display, takes the cursor's mouse events
    std::array<TKanalDisplay*, kAnalyserChannels> Channels{};
    std::array<TLabel_D*, kAnalyserChannels> Labels{};

    // --- State -----------------------------------------------------------------------------
    bool Aufnahme = false;            // a recording runs
    bool StartRequest = false;        // set by SB_Start, taken by the component's trigger
    bool TriggerPositiv = true;
    bool ToolsVisible = true;
    int TriggerIndex = 0;
    int ChannelHeight = 20;
    int ChannelWidth = 200;
    bool CursorShown = false;
    int CursorX = 0;
    int Progress = -1;                // last sample stored in the running recording; -1 none
    int32_t DisplayColor = 0;         // colour of P_Display

    TChartPrintSettings Print;
    QString Headline;
    QStringList Comments;
    std::function<void(QPrinter&)> OnSetupPrinter;

    // --- Operations ------------------------------------------------------------------------
    // Sample `position` of every channel from bit i of `bits`; the progress bar follows at
    // the next repaint tick.
    void StoreSample(int position, uint8_t bits)
    {
        for (int i = 0; i < kAnalyserChannels; ++i)
            Channels[size_t(i)]->Samples[size_t(position)] = (bits >> i) & 1;
        Progress = position;
        ProgressChanged();
    }
    // The traces are repainted (at the next repaint tick).
    void RefreshChannels();
    // Steps skipped between two samples for the system clock entry; ticks of 50 ms between
    // two samples for the time base entry.
    int StepDivider() const;
    int TickDivider() const;
    void FillTriggerList();
    void SetAufnahme(bool recording);
    void SetTriggerPositiv(bool rising);
    void SetTriggerIndex(int index);
    int GetTriggerIndex() const { return TriggerIndex; }
    void SetToolsVisible(bool visible);
    void SetDisplayColor(int32_t colour);
    void Relayout();
    // Fill flag of all eight channels (cb_Fill's handler).
    void ApplyFill();
    // The trace colour and the label's font colour of a channel.
    void SetChannelColor(int channel, int32_t colour);

    // Clock-mode radio buttons: the matching combo enabled, a running recording ended.
    void RB_SystemClick();
    void RB_TimeClick();
    void RB_ExtClick();
    void TriggerBtnClick() { SetTriggerPositiv(!TriggerPositiv); }
    void SB_StartClick() { StartRequest = true; }
    void ToolBtnClick() { SetToolsVisible(!ToolsVisible); }

    // Cursor: right or middle button down shows it at x (P_Display coordinates), moves follow,
    // the release removes it. The left button does nothing.
    void CursorPress(Qt::MouseButton button, int x);
    void CursorMove(int x);
    void CursorRelease(Qt::MouseButton button);

    void PrintPreview();
    bool PrintNow();
    TPrintJob PrintJob();
    // The page: headline, comment lines, the display frame and the eight traces with labels.
    void PaintPrintPage(QPainter& painter, const TPageOptions& options);

    // Double-click on the display or a label (the element's properties).
    std::function<void()> OnDisplayDoubleClick;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ProgressChanged();
    void LayoutPanel();
    QWidget* m_cursorLine = nullptr;
    int m_progressShown = -2;
};
