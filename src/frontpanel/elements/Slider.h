#pragma once
// The slide control of the slider components: a knob in a sunken slot, vertical or
// horizontal, over a scale of ticks. Its state is the pixel position of the knob's centre
// (from the bottom or the left edge) within P0..P1; a linear or one of two logarithmic tapers
// turns the position into a value between a whole-numbered minimum (at P0) and maximum (at
// P1), optionally rounded to whole numbers. The digital slider (TDSlider) is fixed to 0..255.

#include "frontpanel/FP_Element.h"

#include <QRect>
#include <QStringList>

#include <cstdint>

class TWLXFill;

class TSlider : public TFP_Element {
public:
    FP_CLASS_NAME(TSlider)

    explicit TSlider(QWidget* owner = nullptr);

    int16_t MaxWert = 255;
    int16_t MinWert = 0;
    int32_t SkalenFarbe = 0x808080;
    bool GanzWert = true;       // values are rounded to whole numbers
    bool Senkrecht = true;      // vertical
    bool BisteDigital = false;
    int16_t Vorgabe = 0;        // start value
    uint8_t Charakteristik = 0; // 0 linear, 1 logarithmic rising, 2 logarithmic falling
    uint8_t Skalenart = 1;      // 0 none, 1 linear, 2 logarithmic rising, 3 falling
    int16_t Teilungen = 20;
    int16_t SkalenStart = 1;
    int16_t Abstand = 2;
    bool Einrasten = false;
    TWLXFill* Knopf = nullptr;  // the knob (owned child)
    QStringList ActionNames;

    Extended GetWert() const;
    // The knob to the position of x (x kept within the range first).
    void SetWert(Extended x);
    Extended GetLinearWert() const { return GetWert(); }
    void SetLinearWert(Extended x) { SetWert(x); }
    int GetStellung() const { return m_pos; }
    // The knob's centre to a, kept within P0..P1.
    void SetStellung(int a);
    void SetBisteDigital(bool digital);
    void SetMaxWert(int v);
    void SetMinWert(int v);
    void SetSkalenFarbe(int32_t c);
    // Turns the slider by a quarter when the orientation changes; the value stays.
    void SetSenkrecht(bool vertical);
    int P0() const { return m_p0; }
    int P1() const { return m_p1; }
    QRect Track() const { return m_track; }

    // The value at position a and the position of value x (the tapers and GanzWert).
    Extended ValueAt(Extended a) const;
    int PositionOf(Extended x) const;

    void StepUp() { Step(+1); }
    void StepDown() { Step(-1); }
    void HotkeyAction(int action);

    void Paint(TCanvas& canvas) override;
    void WriteElementData(TWriter& writer) override;
    void ReadElementData(TReader& reader, uint8_t version) override;
    int EditProperties() override;
    void ApplyStartValue() override;
    bool GetBisteHSkalierbar() const override { return true; }
    bool GetBisteVSkalierbar() const override { return true; }
    void SaveSettings(TIniFile& ini, const QString& path) override;
    bool LoadSettings(TIniFile& ini, const QString& path, bool checkOnly) override;
    void WriteWebElement(QStringList& lines) override;
    void WriteWebSnapshot(QStringList& lines) override;
    void WriteWebImageMap(QStringList& lines) override;
    void WebAction(int32_t action) override;

    // Mouse on the knob (positions in the knob's coordinates).
    void KnobPress(QMouseEvent& event);
    void KnobMove(QMouseEvent& event);
    void KnobRelease(QMouseEvent& event);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Step(int direction);
    void ComputeTrack();
    void PlaceKnob();
    void OrientKnob();
    // Remembers the value, recomputes the track and sets the value again; centres the knob.
    void Relayout();
    QRect m_track;
    int m_p0 = 0;
    int m_p1 = 0;
    int m_pos = 0;
    bool m_dragging = false;
    int m_snapHold = 0;
    bool m_layingOut = false;
};

class TDSlider : public TSlider {
public:
    FP_CLASS_NAME(TDSlider)
    explicit TDSlider(QWidget* owner = nullptr);
};
