#pragma once
// Settings dialogs of the board's own items (text labels, macro blocks, macro pins). The
// dialogs belong to the user interface, which installs them at start-up; the items reach them
// through these hooks. Values are edited on a copy and given back only on OK; the modal result
// is returned (mrOk = 1). Without an installed dialog nothing is edited and the result is 0.

#include <QString>
#include <cstdint>
#include <functional>

struct TTextLabelDialogValues {
    QString Text;        // at most 50 characters
    QString FontName;
    uint8_t StyleBits = 0;  // bit 0 bold, 1 italic, 2 underline, 3 strike-out
    int32_t Color = 0;      // 0x00BBGGRR
    int32_t Size = 0;       // font size
};

struct TItemDialogHooks {
    // Caption Translate("Text"); rows Text, Schriftart (Name, Stil), Farbe.
    std::function<int(TTextLabelDialogValues& values)> EditTextLabel;
    // One text row Translate("Bezeichnung") of at most maxLength characters and the given width.
    std::function<int(const QString& caption, int32_t helpContext, QString& text, int maxLength,
                      int width)>
        EditDesignation;
};

TItemDialogHooks& ItemDialogHooks();

int EditTextLabelDialog(TTextLabelDialogValues& values);
int EditDesignationDialog(const QString& caption, int32_t helpContext, QString& text, int maxLength,
                          int width);
