#pragma once
// The XY recorder element: points (x, y) on a chart with one curve. The x range is cut into
// one slot per pixel column of the plot; each slot holds at most one point and a new point
// replaces its slot's, so the curve is always a function of x drawn from left to right. A
// small yellow circle (the pen marker) shows the current input position.

#include "frontpanel/FP_Element.h"
#include "frontpanel/chart/Chart.h"

#include <functional>
#include <vector>

class QMenu;

class TFPXY : public TFP_Element {
public:
    FP_CLASS_NAME(TFPXY)

    explicit TFPXY(QWidget* owner = nullptr);
    ~TFPXY() override;

    double YLow = -10, YHigh = 10;
    QString YUnit = QStringLiteral("mA");
    double XLow = -10, XHigh = 10;
    QString XUnit = QStringLiteral("mV");
    // One record per plot column and whether a point was stored in it.
    std::vector<TChartSample> Slots;
    std::vector<bool> SlotSet;
    TGraf* Chart = nullptr;
    QWidget* PenMarker = nullptr;
    QMenu* Popup = nullptr;
    std::function<void()> OnAdd;

    // Width of the plot in pixels: the number of slots.
    int PlotWidth() const;
    void AddPoint(double x, double y);
    void ClearPlot();
    void MovePenMarker(double x, double y);
    int ColumnOfX(double x) const;
    double XAtColumn(int i) const;
    void RebuildCurve();
    void Command(int tag);
    void HotkeyPressed(int32_t action);
    void HotkeyReleased(int32_t action);

    void WriteElementData(TWriter& writer) override;
    void ReadElementData(TReader& reader, uint8_t version) override;
    int EditProperties() override;
    void SimStopped() override;
    void SaveSettings(TIniFile& ini, const QString& path) override;
    bool LoadSettings(TIniFile& ini, const QString& path, bool checkOnly) override;
    void SetHintergrundFarbe(int32_t color) override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void ApplyRanges();
    void LayoutChart() const;
};
