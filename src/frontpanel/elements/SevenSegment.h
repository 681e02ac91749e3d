#pragma once
// Seven-segment digits drawn as filled polygons. In digit mode the control shows the number
// Value in NumDigits digits; in segment mode one digit shows the pattern of Seg1..Seg7
// (segments a..g). The seven-segment element holds one control in segment mode.

#include "frontpanel/FP_Element.h"

#include <QImage>

#include <array>
#include <cstdint>

class TLcdDisplay : public QWidget {
public:
    explicit TLcdDisplay(QWidget* owner = nullptr);

    int32_t NumDigits = 6;
    int32_t Value = 0;
    int32_t DigitHeight = 30;
    int32_t DigitWidth = 20;
    int32_t DigitLineWidth = 5;
    int32_t BackgroundColor = 0x008080;  // olive
    int32_t LightOnColor = 0x00FF00;
    int32_t LightOffColor = 0x008000;
    // Segments a..g: top, upper right, lower right, bottom, lower left, upper left, middle.
    std::array<bool, 7> Seg{};
    bool BisteSeg7 = false;

    // Store the segment (1..7); rebuild the pattern when it changed. No repaint.
    void SetSeg(int index, bool on);
    // Rebuilds the digit pictures from the fields: all ten in digit mode; in segment mode
    // picture 0, drawn when next painted or asked for, so a step that changes the segments
    // only marks it.
    void DrawSegments();
    // How often a rebuild was asked for.
    int RebuildCount() const { return m_rebuilds; }
    const QImage& DigitPicture(int i);

    void SetDigitHeight(int v);
    void SetDigitWidth(int v);
    void SetDigitLineWidth(int v);
    void SetLightOnColor(int32_t c);
    void SetLightOffColor(int32_t c);
    void SetBackgroundColor(int32_t c);
    void SetNumDigits(int n);
    void SetValue(int v);
    // Sets the three digit sizes at once and rebuilds once.
    void SetDigitSize(int w, int h, int lineWidth);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void BuildDuePictures();
    // Pictures 0 .. rows - 1 from the fields now.
    void BuildPictures(int rows);

    std::array<QImage, 10> m_digits;
    int m_rebuilds = 0;
    bool m_segmentPictureDue = false;
};

class T7Segment : public TFP_Element {
public:
    FP_CLASS_NAME(T7Segment)

    explicit T7Segment(QWidget* owner = nullptr);

    TLcdDisplay* Display = nullptr;

    void WriteElementData(TWriter& writer) override;
    void ReadElementData(TReader& reader, uint8_t version) override;
    int EditProperties() override;
    void SetHintergrundFarbe(int32_t color) override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // The control fills the element inside the frame; the digit follows its size.
    void FitDisplay();
};
