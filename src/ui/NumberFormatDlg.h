#pragma once
// The dialog that edits a TFormat: mode, digit counts, leading-zero suppression, plus sign,
// prefix and suffix, with the smallest and largest text of the format as examples.

#include "ui/Formats.h"

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QWidget;

class TFormatDlg : public QDialog {
public:
    static constexpr int HelpContextId = 18030;

    explicit TFormatDlg(QWidget* parent = nullptr);

    // The working option set; the mode buttons and the Zero box change it.
    TFormatOptions Options;

    // Puts f's settings into the dialog (the digit counts only of the mode f uses), then
    // checks the buttons as the dialog does when shown.
    void LoadFromFormat(const TFormat& f);
    // Stores the dialog's settings into f: options, texts and plus flag always; the digit
    // counts only of the chosen mode.
    void StoreToFormat(TFormat& f) const;

    // Checks the mode buttons from Options, Zero from NoZero, and refreshes the examples.
    void FormShow();
    // Refreshes the two example texts (von, bis) and enables cbPlus.
    void DoBereich();
    void TranslateCaptions();

    // Click handlers of the controls.
    void FixedBtnClick();
    void FloatBtnClick();
    void HexBtnClick();
    void BinBtnClick();
    void ExpBtnClick();
    void UnformBtnClick();
    void ZeroClick();

    QGroupBox* GroupBox1 = nullptr;
    QRadioButton* FixedBtn = nullptr;
    QWidget* Panel2 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QSpinBox* VK = nullptr;
    QSpinBox* NK = nullptr;
    QCheckBox* Zero = nullptr;
    QRadioButton* FloatBtn = nullptr;
    QWidget* Panel3 = nullptr;
    QLabel* Label3 = nullptr;
    QSpinBox* fStellen = nullptr;
    QRadioButton* HexBtn = nullptr;
    QRadioButton* BinBtn = nullptr;
    QRadioButton* ExpBtn = nullptr;
    QRadioButton* UnformBtn = nullptr;
    QCheckBox* cbPlus = nullptr;
    QGroupBox* GroupBox3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLineEdit* PrefixEdit = nullptr;
    QLineEdit* SuffixEdit = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QLabel* von = nullptr;
    QLabel* bis = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;

protected:
    bool event(QEvent* e) override;

private:
    void SetMode(TFormatOption mode, bool fixedControls, bool digitsControl);
};

// The format row's sequence: a new dialog with `caption`, loaded from f, shown modally; on OK
// f takes the dialog's settings. True when the user confirmed.
bool EditFormat(TFormat& f, const QString& caption);
