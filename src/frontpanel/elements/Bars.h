#pragma once
// Bar displays of the front panel: the LED bar (3 to 100 LEDs with an optional peak marker)
// and the light bar (a continuous bar with a grid line every 4 pixels). Both turn a value in
// a range into a percentage; the shown level moves toward it with separate rise (attack) and
// fall (decay) intervals, a tenth of the remaining distance per tick and at least one step;
// an interval of 0 moves at once. Four colours lie along the bar, split by three limits in
// percent.

#include "frontpanel/FP_Element.h"

#include <QTimer>

#include <array>
#include <cstdint>

enum TModus : uint8_t { Balken = 0, Punkt = 1 };
enum TOrientation : uint8_t { LBoben = 0, LBunten = 1, LBrechts = 2, LBlinks = 3 };

class TBarElement : public TFP_Element {
public:
    explicit TBarElement(QWidget* owner = nullptr);

    int32_t LEDProzent = 0;
    TModus LEDModus = Balken;
    int32_t LEDAttack = 0;
    int32_t LEDDecay = 50;
    TOrientation LEDOrientation = LBoben;
    double Von = 0;
    double Bis = 100;
    Extended Wert = 0;
    std::array<int32_t, 4> BalkenFarbe{};
    std::array<int16_t, 3> Grenze{40, 60, 80};

    // Wert := x; the percentage Round((x - Von) / |Bis - Von| * 100) within 0..100 (a value
    // that is not a number, or an empty range, gives 0 %).
    void SetWert(Extended x);
    virtual void SetLEDProzent(int p) = 0;
    void SetLEDAttack(int ms);
    void SetLEDDecay(int ms);
    void SetLEDModus(TModus mode);
    // The ticks of the rise and the fall timer.
    virtual void RiseTick() = 0;
    virtual void FallTick() = 0;

    bool GetBisteHSkalierbar() const override { return true; }
    bool GetBisteVSkalierbar() const override { return true; }

    static bool IsVertical(TOrientation o) { return o == LBoben || o == LBunten; }
    // One tick's step from `shown` toward `target`: a tenth of the distance, at least 1.
    static int StepToward(int shown, int target);

protected:
    // The dialog rows both bars share, then the element's own rows (`own`), the colour rows
    // and the tail; applies the shared values on OK. Returns the modal result.
    int EditBar(int helpContext, const std::function<void()>& ownRows,
                const std::function<void()>& applyOwn);

private:
    QTimer m_rise;
    QTimer m_fall;
};

class TLEDBAR : public TBarElement {
public:
    FP_CLASS_NAME(TLEDBAR)

    explicit TLEDBAR(QWidget* owner = nullptr);

    static constexpr int kMaxLeds = 100;
    int32_t LEDAnzahl = 10;
    int32_t LEDAbstand = 2;
    uint8_t LEDForm = 0;
    bool LEDPeakHold = true;
    int32_t Target = 0;  // first LED wanted lit
    int32_t Shown = 1;   // first LED shown lit
    int32_t Peak = 0;    // LED of the peak marker
    struct TLed {
        bool Lit = false;
        int32_t Color = 0;
    };
    std::array<TLed, kMaxLeds + 1> Leds{};  // 1..LEDAnzahl

    void SetLEDProzent(int p) override;
    void SetLEDAnzahl(int n);
    void SetLEDPeakHold(bool on);
    void RiseTick() override;
    void FallTick() override;
    // The rectangle of LED i (1..LEDAnzahl).
    QRect LedRect(int i) const;
    int LitCount() const;

    void Paint(TCanvas& canvas) override;
    void WriteElementData(TWriter& writer) override;
    void ReadElementData(TReader& reader, uint8_t version) override;
    int EditProperties() override;

private:
    void UpdateLeds(int k);
};

class TLeuchtbalken : public TBarElement {
public:
    FP_CLASS_NAME(TLeuchtbalken)

    explicit TLeuchtbalken(QWidget* owner = nullptr);

    int32_t TargetPos = 0;
    int32_t CurrentPos = 1;
    int32_t LastDrawn = 0;

    void SetLEDProzent(int p) override;
    void SetLEDOrientation(TOrientation o);
    int PercentToPixel(double p) const;
    void RiseTick() override;
    void FallTick() override;

    void Paint(TCanvas& canvas) override;
    void WriteElementData(TWriter& writer) override;
    void ReadElementData(TReader& reader, uint8_t version) override;
    int EditProperties() override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // Whether moving from `from` to `to` is a rise for the orientation.
    bool Rising(int from, int to) const;
    void DrawAt(int pos);
};
