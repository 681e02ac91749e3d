#pragma once
// The settings dialogs of text labels, macro blocks and macro pins. Controls carry object names
// so that tests can fill them: "Text", "FontName", "FontSize", "Bold", "Italic", "Underline",
// "StrikeOut", "Color", "Designation".

#include "core/board/ItemDialogs.h"

int ShowTextLabelDialog(TTextLabelDialogValues& values);
int ShowDesignationDialog(const QString& caption, int32_t helpContext, QString& text, int maxLength,
                          int width);

// Makes these dialogs the ones the board's items open (ItemDialogHooks).
void InstallItemDialogs();
