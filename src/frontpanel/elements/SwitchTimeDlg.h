#pragma once
// The switching-time dialog of the time switches: a programme of switching times edited in a
// list kept in week order, with the element's text and background colours, hint and run-time
// editing. The weekly switch shows the weekday selector; the daily one hides it and its
// entries have no day.

#include "frontpanel/elements/SwitchTimes.h"

#include <QDialog>

#include <cstdint>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class TColorShape;

class TWochenUhr_Dlg : public QDialog {
public:
    explicit TWochenUhr_Dlg(bool withWeekday, QWidget* parent = nullptr);
    ~TWochenUhr_Dlg() override;

    TSchaltZeiten Zeiten;  // the programme being edited
    int HelpContext = 0;

    QSpinBox* STD = nullptr;
    QSpinBox* MIN = nullptr;
    QSpinBox* SEK = nullptr;
    QComboBox* TagCombo = nullptr;
    QRadioButton* RB_Ein = nullptr;
    QRadioButton* RB_Aus = nullptr;
    QPushButton* NeuBtn = nullptr;
    QPushButton* DeleteBtn = nullptr;
    QPushButton* DeleteAllBtn = nullptr;
    QListWidget* ZeitenListbox = nullptr;
    QLineEdit* HintEdit = nullptr;
    QCheckBox* cb_Editierbar = nullptr;

    // The swatches and the preview take the colours.
    void SetColors(int32_t text, int32_t background);
    int32_t TextColor() const;
    int32_t BackgroundColor() const;

    // A new entry from the controls, selected at its sorted place.
    void NeuBtnClick();
    // Deletes the selected entry.
    void DeleteBtnClick();
    // Deletes every entry after a confirmation.
    void DeleteAllBtnClick();
    // Selects entry `row` and shows it in the controls.
    void ZeitenListboxClick(int row);
    // Writes the controls into the selected entry and sorts again.
    void ControlsChanged();
    // Sorts nothing; refills the list, re-selects the marked entry and enables the buttons.
    void ShowList();

protected:
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

private:
    int SelectedIndex() const;
    void RefreshPreview();
    bool m_withWeekday;
    bool m_ignoreChanges = false;
    TColorShape* S_Zeichen = nullptr;
    TColorShape* S_BK = nullptr;
    QFrame* S_Vorschau = nullptr;
    QLabel* L_Vorschau = nullptr;
    QLabel* L_Vorschau2 = nullptr;
};
