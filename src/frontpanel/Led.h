#pragma once
// LED elements of the front panel: a small shape (circle, square, triangle, or only a text)
// filled with the colour the LED shows. The plain LED is on or off; the duo LED has four
// states (off, colour 1, colour 2, both); the RGB LED shows any colour its component sets.
// Three mouse sensors (pointer over the LED, left or right button held on it) are read by the
// LED component in its step.

#include "frontpanel/FP_Element.h"

#include <cstdint>

class TPLED : public TFP_Element {
public:
    FP_CLASS_NAME(TPLED)

    explicit TPLED(QWidget* owner = nullptr);

    bool Eingeschaltet = false;     // lit (write with SetEingeschaltet)
    uint8_t DuoLEDStatus = 1;       // 0 off, 1 colour 1, 2 colour 2, 3 both
    bool IstDuoLED = false;
    bool IstRGBLED = false;
    int32_t FarbeLED1 = 0x00FF00;   // lit plain LED, colour 1 of a duo LED
    int32_t FarbeLED2 = 0x0000FF;   // colour 2 of a duo LED
    int32_t FarbeLED12 = 0x00FFFF;  // duo LED in status 3
    int32_t RGBFarbe = 0;           // colour of an RGB LED
    uint8_t LEDStil = 0;            // shape, TLEDStyle
    QString LEDText;                // drawn centred inside the shape
    bool MausLinks = false;         // left button held on the element
    bool MausRechts = false;        // right button held on the element
    bool MausUeber = false;         // pointer inside the element

    // Stores and repaints when the value changes.
    void SetEingeschaltet(bool on);
    // A status above 3 becomes 0; Eingeschaltet := status <> 0; always repaints.
    void SetDuoLEDStatus(uint8_t status);
    // Stores and repaints when the colour changes.
    void SetRGBFarbe(int32_t color);
    // The colour the LED shows now: the RGB colour in RGB mode; grey 0x808080 while off; else
    // colour 1, 2 or 1+2 by DuoLEDStatus (grey for status 0).
    int32_t GetLEDColor() const;

    // Mouse sensors.
    void LEDMouseDown(Qt::MouseButton button);
    void LEDMouseUp(Qt::MouseButton button);
    void LEDMouseMove(QPoint p);

    void Paint(TCanvas& canvas) override;
    void WriteElementData(TWriter& writer) override;
    void ReadElementData(TReader& reader, uint8_t version) override;
    int EditProperties() override;
    // 1 for the round shape (width = height), else free.
    Extended AspectRatio() const override;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
};

// Two-colour LED with four states.
class TDuoLED : public TPLED {
public:
    FP_CLASS_NAME(TDuoLED)
    explicit TDuoLED(QWidget* owner = nullptr);
};

// LED of any RGB colour.
class TRGBLED : public TPLED {
public:
    FP_CLASS_NAME(TRGBLED)
    explicit TRGBLED(QWidget* owner = nullptr);
};
