#pragma once
// The text input of the front panel: the text twin of the numeric input. The operator edits
// the text as it stands and accepts it with Enter, the button or by leaving the edit; the
// accepted text is taken as typed.

#include "frontpanel/elements/EntryField.h"

class TFP_Str_Edit : public TEntryField {
public:
    FP_CLASS_NAME(TFP_Str_Edit)

    explicit TFP_Str_Edit(QWidget* owner = nullptr);

    QString Wert;     // the accepted text
    QString Vorgabe;  // start text

    void AcceptInput() override;
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
    // Shows the text, announces it and accepts.
    void TakeText(const QString& text);
};
