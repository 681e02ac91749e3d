#pragma once
// The on-screen joystick: a square field with a round knob that the user drags with the
// mouse, moves with Page Up/Down, End, Home (Shift: across) and the wheel, jumps with hotkeys
// or clicks on the published page. The position is a pair of whole numbers -100..100 (X to
// the right, Y upwards); the knob may snap to the centre lines and spring back to the start
// position when released.

#include "frontpanel/FP_Element.h"

#include <QPoint>
#include <QStringList>

#include <cstdint>

class TFPJoystick;

// The draggable knob.
class TJoystickKnob : public QWidget {
public:
    explicit TJoystickKnob(TFPJoystick* owner);
    int32_t Farbe = 255;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    TFPJoystick* m_owner;
};

class TFPJoystick : public TFP_Element {
public:
    FP_CLASS_NAME(TFPJoystick)

    explicit TFPJoystick(QWidget* owner = nullptr);

    TJoystickKnob* Knopf = nullptr;
    QWidget* HLine = nullptr;     // cross-hair lines through the knob centre
    QWidget* VLine = nullptr;
    QPoint StartPosition{0, 0};   // -100..100 each
    bool Mittelstellung = true;   // snaps to a centre line within 5 pixels while dragged
    bool AutoReturn = false;      // back to the start position when released
    bool Dragging = false;
    bool KnobHeld = false;        // a mouse button is down on the knob ("MOV")
    uint32_t WebTime = 0;         // tick of the last position set from the published page
    QStringList ActionNames;

    // The knob's position as values. A position set from the published page springs back
    // (with automatic return) at the first reading 251 ms or more after it.
    QPoint GetPosition();
    // Moves the knob to the values, each kept within -100..100.
    void SetPositionValue(int x, int y);
    void SetKnobColour(int32_t c);

    // Pixel <-> value conversions on the current limits (y counted upwards from the bottom).
    QPoint ValueToPixel(QPoint value) const;
    QPoint PixelToValue(QPoint pixel) const;
    // The knob centre as a pixel.
    QPoint KnobPixel() const;
    void MoveKnob(QPoint pixel);
    QRect Limits() const { return QRect(QPoint(m_xmin, m_ymin), QPoint(m_xmax, m_ymax)); }

    void HotkeyPressed(int action);
    void HotkeyReleased(int action);

    // Mouse on the knob (positions in the knob's coordinates).
    void KnobPress(QMouseEvent& event);
    void KnobMove(QMouseEvent& event);
    void KnobRelease(QMouseEvent& event);

    void Paint(TCanvas& canvas) override;
    void WriteElementData(TWriter& writer) override;
    void ReadElementData(TReader& reader, uint8_t version) override;
    int EditProperties() override;
    void ApplyStartValue() override;
    void SaveSettings(TIniFile& ini, const QString& path) override;
    bool LoadSettings(TIniFile& ini, const QString& path, bool checkOnly) override;
    void WriteWebElement(QStringList& lines) override;
    void WriteWebSnapshot(QStringList& lines) override;
    void WriteWebImageMap(QStringList& lines) override;
    void WebAction(int32_t action) override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ComputeLimits();
    int m_xmin = 0, m_xmax = 0, m_ymin = 0, m_ymax = 0;
};
