#pragma once
// Dialog that edits a synchronisation byte sequence with a live hexadecimal preview.

#include "ui/ByteSequenceDlg.h"

class TSync_Dlg : public TByteSequenceDlg {
    Q_OBJECT
public:
    explicit TSync_Dlg(QWidget* parent = nullptr);

    // Captions and help text in the current language.
    void TranslateCaptions();
    // Refreshes the preview from SynchronEdit (also runs on every change of the edit).
    void SynchronEditChange();
    // What showing the dialog does: refresh the preview.
    void FormShow() override;

    QLabel* Label1;
    QLineEdit* SynchronEdit;       // the sequence text
};

// Shows the dialog as the property sheet's sync row uses it: caption, text, ShowModal. On OK
// `text` takes the edited text and the result is true. A stored text longer than the edit's
// limit is shown and kept whole.
bool EditSyncSequence(const QString& caption, QString& text, QWidget* parent = nullptr);
