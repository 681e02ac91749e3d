#pragma once
// A label that shows its caption, or an integer, in LED digits.

#include "widgets/GraphicControl.h"
#include "widgets/LED.h"

class TWLXLEDCustomLabel : public TWLXGraphicControl {
public:
    explicit TWLXLEDCustomLabel(QWidget* parent = nullptr);

    bool AutoSize() const { return m_autoSize; }
    int Digits() const { return m_digits; }
    TWLXLED& LED() { return m_led; }
    const TWLXLED& LED() const { return m_led; }
    int Value() const { return m_value; }
    TWLXLEDStyle Style() const { return m_style; }
    const QString& Caption() const { return m_caption; }

    void SetAutoSize(bool value);
    void SetDigits(int value);              // 0 is ignored
    void SetLED(const TWLXLED& led) { m_led.Assign(led); }
    void SetValue(int value);
    void SetStyle(TWLXLEDStyle value);
    void SetCaption(const QString& value);

    // lsInteger: the value padded to Digits ("-05" for -5 in three digits; minus signs when it
    // does not fit); else the caption.
    virtual QString GetDisplayText() const;
    void Paint(TCanvas& canvas) override;

protected:
    void RedrawRequest(void* changed) override;
    void ColorChanged() override { m_led.SetBackColor(Color()); }

private:
    bool m_autoSize = false;
    int m_digits = 2;
    TWLXLED m_led;
    int m_value = 0;
    TWLXLEDStyle m_style = TWLXLEDStyle::lsString;
    QString m_caption;
};

class TWLXLEDLabel : public TWLXLEDCustomLabel {
public:
    using TWLXLEDCustomLabel::TWLXLEDCustomLabel;
};
