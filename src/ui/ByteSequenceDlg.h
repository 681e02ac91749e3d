#pragma once
// Common frame of the dialogs that edit byte sequences (sync bytes, frame prefix and suffix):
// a help text, the sequence edits, and a live hexadecimal preview above cancel and OK.

#include <QDialog>

class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QVBoxLayout;

class TByteSequenceDlg : public QDialog {
    Q_OBJECT
public:
    // What showing the dialog does: refresh the preview.
    virtual void FormShow() = 0;

    QFrame* Bevel1;
    QPlainTextEdit* Memo1;         // help text
    QLabel* Monitor;
    QPlainTextEdit* MonitorMemo;   // preview
    QPushButton* Button1;          // cancel
    QPushButton* Button2;          // OK

    // Puts a stored text into an edit; the edit's length limit is for typing only, so a
    // longer stored text is shown and kept whole.
    static void SetSequenceText(QLineEdit* edit, const QString& text);

protected:
    TByteSequenceDlg(const QString& objectName, QWidget* parent);
    // Adds a caption and a sequence edit below the help text; edits refresh the preview.
    QLineEdit* AddSequenceEdit(QLabel*& label, const QString& labelName, const QString& editName);
    // Adds a widget of the dialog's own below the help text (before FinishLayout).
    void AddToFrame(QWidget* widget, int stretch = 0);
    // Adds the preview below the edits; call once after the last AddSequenceEdit.
    void FinishLayout();
    // Shows one preview line, cut to the preview's length.
    void ShowPreview(const QString& line);
    // The cancel button's text in the current language.
    void TranslateCancel();
    void showEvent(QShowEvent* event) override;

private:
    QVBoxLayout* m_inner;
};
