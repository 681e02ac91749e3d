#pragma once
// Dialog that edits the prefix and suffix that frame a transmitted value, with a live
// hexadecimal preview of the whole frame.

#include <QDialog>

class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class TFrame_Dlg : public QDialog {
    Q_OBJECT
public:
    explicit TFrame_Dlg(QWidget* parent = nullptr);

    // Captions and help text in the current language.
    void TranslateCaptions();
    // Refreshes the preview from both edits (runs on every change of either).
    void PrefixEditChange();
    // What showing the dialog does: refresh the preview.
    void FormShow();

    QFrame* Bevel1;
    QPlainTextEdit* Memo1;         // help text
    QLabel* Label1;
    QLineEdit* PrefixEdit;
    QLabel* Label2;
    QLineEdit* SuffixEdit;
    QLabel* Monitor;
    QPlainTextEdit* MonitorMemo;   // preview
    QPushButton* Button1;          // cancel
    QPushButton* Button2;          // OK

protected:
    void showEvent(QShowEvent* event) override;
};

// Shows the dialog as the property sheet's frame row uses it: caption, both texts, ShowModal.
// On OK both texts take the edited ones and the result is true. Stored texts longer than the
// edits' limit are shown and kept whole.
bool EditFrameTexts(const QString& caption, QString& prefix, QString& suffix,
                    QWidget* parent = nullptr);
