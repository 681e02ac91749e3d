#pragma once
// The screen of a two-channel oscilloscope: two traces of 101 points on 10 x 10 divisions,
// and the operator controls for trigger, time base and volts per division, plus printing.
// The window keeps no timing of its own: its component decides when a sweep starts and hands
// every point over. Storing a point only asks for a repaint of its strip; the painting
// happens at the front panel's next repaint tick, never inside a simulation step.

#include "frontpanel/chart/Chart.h"

#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>

class QComboBox;
class QGroupBox;
class QPainter;
class QToolButton;

enum TFarbStil : int32_t { fsBlue = 0, fsGreen = 1, fsYellow = 2 };

// Screen background, trace on screen (and in print with background), trace on white paper.
struct TScopeColors {
    int32_t Background, Trace, PaperTrace;
};
TScopeColors ScopeColors(TFarbStil style);

class TOscillograph : public QWidget {
public:
    explicit TOscillograph(QWidget* parent = nullptr);
    ~TOscillograph() override;

    static constexpr int kPoints = 101;  // points 0 to 100 of a trace
    static constexpr int kToolWidth = 112, kToolWidthHidden = 27;

    // Milliseconds per division of a time-base index (1 for no entry); volts per division of
    // a range index (5 for no entry).
    static int32_t TimeBaseMsOf(int index);
    static double VoltsPerDivision(int index);
    static QStringList RangeNames();
    // Pixel row of a value: y = centre - value x scale, below 0 or not a number -1, beyond
    // height height + 1, else rounded.
    static int ClampY(double y, int height);

    // --- State ---------------------------------------------------------------------------
    std::array<std::array<float, kPoints>, 2> Samples{};
    int WritePos = 0;
    double RangeA = 10.0, RangeB = 10.0;
    TFarbStil FarbStil = fsBlue;
    bool Aufnahme = false;
    bool StartRequest = false;
    bool TriggerPositiv = true;
    bool ToolsVisible = true;
    std::array<bool, 2> ChannelShown{true, true};
    double TriggerVoltage = 0;
    // Print settings, headline and comment lines (kept with the component's data).
    TChartPrintSettings Print;
    QString Headline;
    QStringList CommentLines;
    // Printer selection for tests (optional).
    std::function<void(QPrinter&)> OnSetupPrinter;

    // --- Controls --------------------------------------------------------------------------
    QWidget* Panel2 = nullptr;
    QToolButton* ToolBtn = nullptr;
    QToolButton* PrintBtn = nullptr;
    QToolButton* SB_Start = nullptr;
    QGroupBox* TriggerGroup = nullptr;
    QWidget* P_Color = nullptr;
    QToolButton* SchwelleBtn = nullptr;
    QToolButton* TriggerBtn = nullptr;
    QComboBox* TriggerCombo = nullptr;
    QGroupBox* TimebaseGroup = nullptr;
    QComboBox* CB_TimeBase = nullptr;
    QGroupBox* RangeGroup = nullptr;
    QComboBox* RangeACombo = nullptr;
    QComboBox* RangeBCombo = nullptr;
    QWidget* PB_Display = nullptr;
    // A double click on the display (the element's, once docked).
    std::function<void()> OnDisplayDblClick;

    // --- Operations of the component and the element -------------------------------------
    // Stores point p of channel c; with draw, the point's strip is repainted at the next tick
    // (position 100 with draw stores nothing). The write position becomes p.
    void AddSample(int p, int channel, bool draw, float value);
    // Background, optional grid and both shown traces into rect of any painter.
    void DrawScreen(QPainter& painter, const QRect& rect, bool withGrid) const;
    // The whole display at the next tick.
    void RepaintDisplay();
    int32_t TimeBaseMs() const;
    void SetAufnahme(bool on);
    void SetTriggerPositiv(bool positive);
    void SetTriggerIndex(int index);
    int GetTriggerIndex() const;
    void SetRangeA(double volts);
    void SetRangeB(double volts);
    void SetFarbStil(TFarbStil style);
    void SetToolsVisible(bool visible);
    // Places display, tool panel and controls for the current size.
    void LayoutControls();

    // --- Printing ------------------------------------------------------------------------------
    // The preview; for any result but Cancel the settings are kept, for "Drucken" printed.
    void PrintBtnClick();
    // Prints at once with the stored settings; false (with a message) when no printer takes it.
    bool PrintNow();
    // "T: 1 ms/div    A: 10 V/div    B: 10 V/div    "
    QString InfoLine() const;
    // The page: headline, display with grid and points 0 to 99 of the traces, frame, info
    // line and comment lines, placed by the target.
    void PaintPrintPage(QPainter& painter, const TPageOptions& options);

    // --- Event handlers (also what hotkeys and web requests click) ------------------------
    void SB_StartClick();
    void ToolBtnClick();
    void TriggerBtnClick();
    void TriggerComboChange();
    void CB_TimeBaseChange();
    void RangeAComboChange();
    void RangeBComboChange();
    void SchwelleBtnClick();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    TPrintJob PrintJob();
    void BuildControls();
    // Horizontal grid lines between xa - 1 and xb + 1, vertical ones where xa < x <= xb; the
    // centre lines in one colour, the others in another.
    void DrawGridStrip(QPainter& painter, const QRect& rect, int xa, int xb, int32_t centre, int32_t other) const;
    void DrawTrace(QPainter& painter, const QRect& rect, int channel, int lastPoint) const;
};
