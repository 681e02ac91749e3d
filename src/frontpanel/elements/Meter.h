#pragma once
// The pointer instrument: a bevelled element filled by a meter movement. The movement paints
// background, scale, mirror band, four texts and the pointer for one of eight movement types
// (round, straight, quarter circles); the element maps a value to the pointer angle, linearly
// or logarithmically, and keeps range, unit and caption. The pointer travels 90 degrees, from
// 5/4 pi (left end of the range) to 3/4 pi (right end), and follows its target with an
// adjustable inertia on a 50-ms timer.

#include "frontpanel/FP_Element.h"

#include <QFont>
#include <QLine>
#include <QTimer>

#include <array>
#include <cstdint>

class tmesswerk : public QWidget {
public:
    explicit tmesswerk(QWidget* owner = nullptr);

    uint8_t Typ = 0;          // movement type 0..7
    uint8_t SkalenModus = 0;  // 0 linear, 1 logarithmic up, 2 logarithmic down, 3 none
    int16_t Teilungen = 20;
    int16_t GrossStart = 1;
    int16_t GrossSchritt = 5;
    int16_t Traegheit = 20;   // 0: no inertia
    double ZielWinkel;        // angle the pointer moves to
    double IstWinkel;         // angle the pointer shows while it moves
    int32_t SkalenFarbe = 0;
    int32_t ZeigerFarbe = 0x0000FF;
    int32_t SpiegelFarbe;
    int32_t Hintergrund = 0xFFFFFF;
    bool OhneHintergrund = false;

    // A text the movement draws: its font and its top-left position; the size is the text's
    // extent in the font.
    struct TTextHolder {
        QString Text;
        QFont Font;
        QPoint Pos;
        QSize Extent() const;
    };
    TTextHolder Unit, LeftEnd, RightEnd, CaptionText;

    // Positions and fonts of the four texts for the widget's size and type.
    void Layout();
    QPoint Pivot() const;
    QPoint PointerTip(double angle) const;
    // The scale point of radius parameter r at scale angle a.
    QPoint ScalePoint(int r, double angle) const;
    // The two strokes that draw the pointer with its tip at `tip`.
    std::array<QLine, 2> PointerStrokes(QPoint tip) const;
    // Moves the pointer on screen to `tip` (nothing when it is there already).
    void DrawPointer(QPoint tip);
    // The pointer's tip as it is shown now.
    QPoint ShownTip() const { return m_tip; }
    // One tick of the inertia timer.
    void InertiaTick();

    void PaintMovement(TCanvas& canvas);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void DrawScale(TCanvas& canvas);
    QRect StrokeBounds(QPoint tip) const;
    QTimer m_timer;
    QPoint m_tip;
    bool m_tipShown = false;
    bool m_busy = true;  // until the first paint
};

enum TFarbStil : uint8_t { schwarz = 0, weiss = 1, gelb = 2 };

class TMeter : public TFP_Element {
public:
    FP_CLASS_NAME(TMeter)

    explicit TMeter(QWidget* owner = nullptr);

    double MWert = 0;
    double MLinks = 0;
    double MRechts = 100;
    QString MEinheit = QStringLiteral("mA");
    TFarbStil FarbStil = weiss;
    uint8_t MCharakteristik = 0;  // 0 linear, 1 logarithmic up, 2 logarithmic down
    tmesswerk* Messwerk = nullptr;

    void SetMWert(double x);
    void SetMLinks(double x);
    void SetMRechts(double x);
    // Sets both ends when they differ (a stream or the dialog gives the pair).
    void SetRange(double left, double right);
    void SetMEinheit(const QString& text);
    void SetCaption(const QString& text);
    QString Caption() const { return Messwerk->CaptionText.Text; }
    void SetMSkalenteile(int n);
    void SetMGrossStart(int n);
    void SetMGrossSchritt(int n);
    void SetMTraegheit(int n);
    void SetFarbStil(TFarbStil style);
    void UpdateTexts();
    // The pointer angle for a value, as SetMWert computes it (the value clamped to the range).
    double AngleFor(double& value) const;

    void WriteElementData(TWriter& writer) override;
    void ReadElementData(TReader& reader, uint8_t version) override;
    int EditProperties() override;
    void SetBisteTransparent(bool transparent) override;
    void SetHintergrundFarbe(int32_t color) override;
    Extended AspectRatio() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void FollowRatio();
    // The movement fills the element inside the frame.
    void FitMovement();
    bool WithoutBackground() const;
};
