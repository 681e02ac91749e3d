#pragma once
// Dialog that edits the prefix and suffix that frame a transmitted value, with a live
// hexadecimal preview of the whole frame.

#include "ui/ByteSequenceDlg.h"

class TFrame_Dlg : public TByteSequenceDlg {
    Q_OBJECT
public:
    explicit TFrame_Dlg(QWidget* parent = nullptr);

    // Captions and help text in the current language.
    void TranslateCaptions();
    // Refreshes the preview from both edits (runs on every change of either).
    void PrefixEditChange();
    // What showing the dialog does: refresh the preview.
    void FormShow() override;

    QLabel* Label1;
    QLineEdit* PrefixEdit;
    QLabel* Label2;
    QLineEdit* SuffixEdit;
};

// Shows the dialog as the property sheet's frame row uses it: caption, both texts, ShowModal.
// On OK both texts take the edited ones and the result is true. Stored texts longer than the
// edits' limit are shown and kept whole.
bool EditFrameTexts(const QString& caption, QString& prefix, QString& suffix,
                    QWidget* parent = nullptr);
