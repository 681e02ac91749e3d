#pragma once
// Settings dialogs of the board's own items (text labels, macro blocks, macro pins). Values are
// edited on a copy and given back only on OK; the modal result is returned (mrOk = 1).
// Controls carry object names so that tests can fill them: "Text", "FontName", "FontSize",
// "Bold", "Italic", "Underline", "StrikeOut", "Color", "Designation".

#include <QString>
#include <cstdint>

struct TTextLabelDialogValues {
    QString Text;        // at most 50 characters
    QString FontName;
    uint8_t StyleBits = 0;  // bit 0 bold, 1 italic, 2 underline, 3 strike-out
    int32_t Color = 0;      // 0x00BBGGRR
    int32_t Size = 0;       // font size
};

// Caption Translate("Text"); rows Text, Schriftart (Name, Stil), Farbe.
int EditTextLabelDialog(TTextLabelDialogValues& values);

// One text row Translate("Bezeichnung") of at most maxLength characters and the given width.
int EditDesignationDialog(const QString& caption, int32_t helpContext, QString& text, int maxLength,
                          int width);
