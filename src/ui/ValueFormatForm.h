#pragma once
// A small form for choosing fixed-point, floating or scientific notation, with the smallest
// and largest value of the choice as a preview. Created at start-up; no command opens it.

#include <QDialog>
#include <cstdint>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QWidget;

class TFormat_Dlg : public QDialog {
public:
    // Bits of Flags.
    enum : uint8_t { FlagFixed = 0x01, FlagNoZero = 0x02, FlagFloat = 0x04, FlagExpo = 0x08 };

    explicit TFormat_Dlg(QWidget* parent = nullptr);

    uint8_t Flags = 0;

    // Checks the radio button of the format bit that is set and Zero from bit 1, then
    // refreshes the preview.
    void FormShow();
    void FixedBtnClick();
    void FloatBtnClick();
    void ExpBtnClick();
    void ZeroClick();
    // Refreshes the two preview labels.
    void UpdatePreview();

    QGroupBox* GroupBox1 = nullptr;
    QRadioButton* FixedBtn = nullptr;
    QRadioButton* FloatBtn = nullptr;
    QLabel* FloatLabel = nullptr;
    QRadioButton* ExpBtn = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QSpinBox* VK = nullptr;
    QSpinBox* NK = nullptr;
    QCheckBox* Zero = nullptr;
    QSpinBox* fStellen = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QLabel* von = nullptr;
    QLabel* bis = nullptr;
    QPushButton* OkBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

private:
    void FormCreate();
};
