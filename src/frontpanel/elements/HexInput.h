#pragma once
// The hex selector: one large digit 0..F (0..9 in decimal mode) with a "-" and a "+" button
// below it. The digit steps up and down with wrap-around, by the buttons, the wheel, Page
// Up/Down, End and Home, hotkeys and the published page.

#include "frontpanel/FP_Element.h"

#include <QChar>
#include <QStringList>

#include <cstdint>

class TWLXSpeedButton;

class THexInput : public TFP_Element {
public:
    FP_CLASS_NAME(THexInput)

    explicit THexInput(QWidget* owner = nullptr);

    int32_t Stand = 0;           // the digit's value
    int32_t ZeichenFarbe = 0x00FF00;
    int32_t Vorgabe = 0;         // start value 0..15
    bool Dezimal = false;        // 0..9 instead of 0..15
    QChar Zeichen = u'0';        // the character last painted
    TWLXSpeedButton* PlusTaste = nullptr;
    TWLXSpeedButton* MinusTaste = nullptr;
    QStringList ActionNames;

    // One past the largest digit wraps to 0, one below 0 to the largest; any other value is
    // brought into the mode's range, so that the digit is always one the mode shows.
    void SetStand(int32_t v);
    // Decimal mode; a digit above 9 becomes 9.
    void SetDezimal(bool decimal);
    int32_t Largest() const { return Dezimal ? 9 : 15; }
    void SetZeichenFarbe(int32_t c);
    void Plus();
    void Minus();
    void HotkeyAction(int action);
    // The character of a digit value ("0".."9", "A".."F").
    static QChar DigitChar(int32_t v);

    void Paint(TCanvas& canvas) override;
    void WriteElementData(TWriter& writer) override;
    void ReadElementData(TReader& reader, uint8_t version) override;
    int EditProperties() override;
    void SetBisteTransparent(bool transparent) override;
    void ApplyStartValue() override;
    bool GetBisteHSkalierbar() const override { return true; }
    bool GetBisteVSkalierbar() const override { return true; }
    Extended AspectRatio() const override { return 0; }
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
    void UpdateButtonColours();
    // The "-" and "+" buttons side by side on the bottom edge, as high as wide.
    void LayoutButtons();
};
