#pragma once
// What the character display and the keyboard of the front panel share: a multi-line text
// area that fills the element, its font and font colour, the stream record of size, font and
// colours, the settings dialog (colours, font, five hotkeys) and the hotkey that clears the
// text.

#include "frontpanel/FP_Element.h"

#include <QStringList>

#include <cstdint>

class QPlainTextEdit;

class TTextAreaElement : public TFP_Element {
public:
    explicit TTextAreaElement(QWidget* owner = nullptr);

    QStringList ActionNames;

    // The text area (set by the class's constructor with SetArea).
    QPlainTextEdit* Area() const { return m_area; }
    int32_t AreaFontColor() const { return m_fontColor; }
    void SetAreaFontColor(int32_t colour);
    // Empties the text area (an empty one is left alone: a circuit may clear in every step).
    virtual void ClearText();
    QString Text() const;

    void WriteElementData(TWriter& writer) override;
    void ReadElementData(TReader& reader, uint8_t version) override;
    int EditProperties() override;
    void SetHintergrundFarbe(int32_t color) override;
    bool GetBisteHSkalierbar() const override { return true; }
    bool GetBisteVSkalierbar() const override { return true; }

protected:
    // Brings the area up to date with what was written to it but not yet shown.
    virtual void ApplyPending() const {}
    // Takes the area, aligns it to the element and creates the five hotkeys.
    void SetArea(QPlainTextEdit* area);
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ApplyAreaColors();
    QPlainTextEdit* m_area = nullptr;
    int32_t m_fontColor = 0;
};
