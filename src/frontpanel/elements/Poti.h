#pragma once
// The rotary knob of the potentiometer components. The knob has a whole-numbered position
// 0..N; a linear or one of two logarithmic tapers turns it into a value between a minimum
// and a maximum. The operator turns it by dragging (one step per pixel, right and up turn
// clockwise), with the wheel, Page Up/Down, End, Home, hotkeys and the published page. The
// digital knob (TDPoti) is fixed to 0..255 in 255 steps, so that its value is its position.

#include "frontpanel/FP_Element.h"

#include <QImage>
#include <QPoint>
#include <QStringList>

#include <cstdint>

class TPoti : public TFP_Element {
public:
    FP_CLASS_NAME(TPoti)

    explicit TPoti(QWidget* owner = nullptr);

    int16_t Stellung = 0;          // knob position 0..Aufloesung
    int16_t Aufloesung = 200;      // number of steps N, 10..1000
    double MinWert = 0;            // value at position 0
    double MaxWert = 100;          // value at position N
    Extended Wert = 0;             // value of the position
    uint8_t Charakteristik = 0;    // taper: 0 linear, 1 logarithmic right, 2 logarithmic left
    double Vorgabe = 0;            // start value
    bool BisteDigital = false;
    int32_t Knopf = 0;             // knob picture 0..9
    int32_t ZeigerFarbe = 0xC0C0C0;
    uint8_t Skalenart = 1;         // 0 none, 1 linear, 2 logarithmic rising, 3 falling
    int32_t SkalenFarbe = 0x808080;
    int16_t Teilungen = 10;
    int16_t SkalenStart = 1;
    int16_t Abstand = 1;
    bool Einrasten = false;        // the knob stops at the middle while dragged
    QStringList ActionNames;

    Extended GetWert() const { return Wert; }
    // The position with the largest value not above x, x first kept within the range.
    void SetWert(double x);
    void SetMinWert(double x);
    void SetMaxWert(double x);
    void SetAufloesung(int n);
    void SetCharakteristik(uint8_t c);
    uint8_t GetCharakteristik() const { return Charakteristik; }
    void SetBisteDigital(bool digital);
    // Moves the knob to position p (kept within 0..N).
    void SetStellung(int p);
    void HotkeyAction(int action);

    // The picture of knob `index` (0..9), drawn once per process.
    static const QImage& KnobPicture(int index);
    // The centre of the position dot for position p.
    QPoint DotCentre(int p) const;

    void Paint(TCanvas& canvas) override;
    void WriteElementData(TWriter& writer) override;
    void ReadElementData(TReader& reader, uint8_t version) override;
    int EditProperties() override;
    void ApplyStartValue() override;
    void SaveSettings(TIniFile& ini, const QString& path) override;
    bool LoadSettings(TIniFile& ini, const QString& path, bool checkOnly) override;
    Extended AspectRatio() const override { return 1.0; }
    void WriteWebElement(QStringList& lines) override;
    void WriteWebSnapshot(QStringList& lines) override;
    void WriteWebImageMap(QStringList& lines) override;
    void WebAction(int32_t action) override;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Recompute();
    // Repaints the dot at its old and its new place.
    void MoveDot();
    QRect DotRect(int p) const;
    bool m_dragging = false;
    bool m_savedShowHint = true;
    QPoint m_savedCursor;
    QPoint m_last;
    int m_snapHold = 0;
    bool m_skipNextPress = false;
    int m_drawnAt = -1;  // position of the dot last painted
};

class TDPoti : public TPoti {
public:
    FP_CLASS_NAME(TDPoti)
    explicit TDPoti(QWidget* owner = nullptr);
};
