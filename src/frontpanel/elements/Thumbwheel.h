#pragma once
// The thumbwheel: a narrow knurled wheel, vertical or horizontal, turned by dragging (one
// notch per mouse move, the pointer stays where the drag began), the wheel, the keys, hotkeys
// and the published page. It has no value: every notch becomes an event in a queue that the
// thumbwheel component turns into clock pulses with a direction.

#include "frontpanel/FP_Element.h"

#include <QPoint>
#include <QStringList>

#include <cstdint>
#include <deque>

class TFPRaendel;

// The face that draws the knurl and takes the mouse.
class TRaendelFace : public QWidget {
public:
    explicit TRaendelFace(TFPRaendel* owner);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    TFPRaendel* m_owner;
};

class TFPRaendel : public TFP_Element {
public:
    FP_CLASS_NAME(TFPRaendel)

    explicit TFPRaendel(QWidget* owner = nullptr);

    TRaendelFace* Face = nullptr;
    int32_t RaendelFarbe = 8421504;  // colour of the knurl lines
    int Pitch = 4;
    int Phase = 0;                   // offset of the first knurl line
    // Notches not yet turned into pulses; true = up.
    std::deque<bool> Events;
    bool Waagerecht = false;         // turns left/right
    bool Dragging = false;
    bool IgnoreNextPress = false;
    QPoint LastPoint;
    QPoint PressPoint;
    QStringList ActionNames;

    void TurnUp();
    void TurnDown();
    void HotkeyAction(int action);

    void FacePress(QMouseEvent& event);
    void FaceMove(QMouseEvent& event);
    void FaceRelease(QMouseEvent& event);
    void PaintKnurl(QPainter& painter);

    void Paint(TCanvas& canvas) override;
    void WriteElementData(TWriter& writer) override;
    void ReadElementData(TReader& reader, uint8_t version) override;
    int EditProperties() override;
    void WriteWebElement(QStringList& lines) override;
    void WriteWebSnapshot(QStringList& lines) override;
    void WriteWebImageMap(QStringList& lines) override;
    void WebAction(int32_t action) override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void MovePhase(int delta);
};
