#pragma once
// The numeric display of the front panel: a number in a number format followed by a unit,
// optionally with an automatic SI prefix, or a free text. Each character has a cell of fixed
// width, and a new value repaints only the cells whose character changed. The LED display
// shows the same text in LED segments; the text display always shows its text.
// A new value is only stored: its text, scaled value and prefixed unit are worked out when
// they are first asked for (painting, the web page, a reader), not in the step that sets it.

#include "frontpanel/FP_Element.h"
#include "frontpanel/elements/PanelRepaint.h"
#include "ui/Formats.h"

#include <cstdint>
#include <memory>

#include <QPixmap>

class TWLXLEDLabel;

class TNumDisplay : public TFP_Element, public TTickRepaint {
public:
    FP_CLASS_NAME(TNumDisplay)

    explicit TNumDisplay(QWidget* owner = nullptr);
    ~TNumDisplay() override;

    enum TAlignment : uint8_t { Left = 0, Right = 1, Center = 2 };

    // Read by the step: the value and the format's options side by side.
    double NDValue = 0;
    TFormat Zahlenformat;
    QString NDEinheit = QStringLiteral("V");
    int32_t NDVorKomma = 0;
    int32_t NDNachKomma = 0;
    bool NDEingeschaltet = true;
    QString NDUserText;
    bool AutoRange = false;
    bool TextModus = false;
    QString LetzterText, LetzteEinheit;  // text and unit asked to be painted last
    int32_t ZeichenBreite = 0;
    bool OhneText = false;
    TAlignment Alignment = Center;

    // The text of the number now shown (components read it to show the value in their symbol).
    const QString& AktText() const;
    // With AutoRange: the value divided by the factor of its SI prefix, and prefix + unit.
    double SkalierterWert() const;
    const QString& PraefixEinheit() const;

    void SetNDValue(double v);
    double GetNDValue() const { return NDValue; }
    void SetNDUserText(const QString& text);
    void SetNDEingeschaltet(bool on);
    void SetNDEinheit(const QString& text);
    void SetNDFormat(TFormatOptions options);
    void SetNDVorKomma(int n);
    void SetNDNachKomma(int n);
    // Width of a character cell from the element's font.
    void MeasureCells();
    // The unit shown now (prefixed with AutoRange).
    QString ShownUnit() const { return AutoRange ? PraefixEinheit() : NDEinheit; }
    // Cell i (from 1) of the number text.
    QRect CellRect(int i) const;

    void Paint(TCanvas& canvas) override;
    void WriteElementData(TWriter& writer) override;
    void ReadElementData(TReader& reader, uint8_t version) override;
    int EditProperties() override;
    void SetBisteTransparent(bool transparent) override;
    void SetHintergrundFarbe(int32_t color) override;
    // At the tick: the cells whose character changed, the unit when it changed.
    void RepaintChanged() override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    // After a change of value, unit, format or switch: the text is due, the changed cells
    // repaint at the tick.
    void UpdateText();
    // Sets the text shown before the first value (the LED display's is shorter).
    void SetInitialText(const QString& text) { m_aktText = text; }
    // The text rows of the dialog: format, unit, AutoRange.
    void AddFormatRows(QString& unit);
    int FinishDialog(int helpContext, QString& unit);
    virtual void TextChanged() {}

private:
    int x0() const;
    // Text, scaled value and prefixed unit of the value now, when a change made them due.
    void FormatDue() const;
    // What a change while hidden left open: what was painted last is what is shown now.
    void TakeShownAsPainted();

    mutable QString m_aktText = QStringLiteral(" 0,00000");
    mutable double m_skaliert = 0;
    mutable QString m_praefixEinheit;
    mutable bool m_textDue = false;
    bool m_changedHidden = false;  // changed while hidden: shown again, it paints everything
    // What the frame and gradient picture was drawn for.
    struct TBackgroundKey {
        int w = -1, h = -1, f = -1;
        int32_t background = 0, panel = 0, color = 0;
        bool operator==(const TBackgroundKey&) const = default;
    };
    QPixmap m_background;
    TBackgroundKey m_backgroundKey;
};

class TLEDDisplay : public TNumDisplay {
public:
    FP_CLASS_NAME(TLEDDisplay)

    explicit TLEDDisplay(QWidget* owner = nullptr);

    TWLXLEDLabel* LedLabel = nullptr;
    uint8_t LEDRot = 255;
    uint8_t LEDGruen = 255;
    uint8_t LEDBlau = 255;

    // The text the LED widget shows (blanks while the display is off).
    QString LedText() const;
    // The widget's caption, when a change has made it due.
    void UpdateCaption();

    void Paint(TCanvas& canvas) override;
    void WriteElementData(TWriter& writer) override;
    void ReadElementData(TReader& reader, uint8_t version) override;
    int EditProperties() override;
    void SetBisteTransparent(bool transparent) override;
    void SetHintergrundFarbe(int32_t color) override;

    void RepaintChanged() override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void TextChanged() override;

private:
    bool m_captionDue = true;
};

class TTDisplay : public TNumDisplay {
public:
    FP_CLASS_NAME(TTDisplay)

    explicit TTDisplay(QWidget* owner = nullptr);
};
