#pragma once
// The numeric input of the front panel: the operator types a number and accepts it with Enter,
// the button or by leaving the edit. The accepted number becomes the element's value and is
// shown back in its normal form; the first key after an accepted value starts a new number.

#include "frontpanel/elements/EntryField.h"

class TNumEingabe : public TEntryField {
public:
    FP_CLASS_NAME(TNumEingabe)

    explicit TNumEingabe(QWidget* owner = nullptr);

    double Wert = 0;     // the accepted value
    double Vorgabe = 0;  // start value
    // True while the edit shows an accepted value.
    bool Accepted = true;

    // The value a text stands for, as the element takes it: a text that is no number gives
    // 0, and the value is kept finite (infinity becomes the largest double, NaN 0).
    static double ValueOfText(const QString& text);
    static double Finite(double value);
    // A blank followed by the value's text.
    static QString ShownText(double value);

    void AcceptInput() override;
    void EditKeyDown() override;
    void HotkeyAction(int32_t action) override;

    void ApplyStartValue() override;
    void SaveSettings(TIniFile& ini, const QString& path) override;
    bool LoadSettings(TIniFile& ini, const QString& path, bool checkOnly) override;
    int EditProperties() override;
    void WebSubmit(const QString& value) override;

protected:
    void WriteVorgabe(TWriter& writer) override;
    void ReadVorgabe(TReader& reader) override;
    void ShowVorgabe() override;

private:
    // Shows Wert, announces it and accepts.
    void TakeWert(double value);
};
