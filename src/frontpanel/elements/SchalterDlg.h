#pragma once
// The properties dialog of the switch element: its look (picture set, button, user pictures,
// plastic lamp) with a live preview of each, the start state, the hint and the hotkeys.
// Filled from the element when it is created; Run shows it and writes back on OK.

#include <QDialog>
#include <QFrame>
#include <QImage>

#include <cstdint>
#include <functional>

class QCheckBox;
class QComboBox;
class QFontComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QStackedWidget;
class QTimer;
class QToolButton;
class TGradBtn;
class TITemboLED;
class TSchalter;

// A square of one colour; a click opens the colour dialog.
class TColorShape : public QFrame {
public:
    explicit TColorShape(QWidget* parent = nullptr);
    int32_t Color() const { return m_color; }
    void SetColor(int32_t color);
    std::function<void(int32_t)> OnChanged;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    int32_t m_color = 0;
};

class TSchalterDlg : public QDialog {
public:
    explicit TSchalterDlg(TSchalter& element, QWidget* parent = nullptr);
    ~TSchalterDlg() override;

    // Shows the dialog modally; on OK the values go back to the element. Returns the result.
    int Run();
    // Writes the dialog's values into the element (what OK does).
    void WriteBack();

    // Shows the page of look 0..3 (and runs or stops the blinking).
    void ShowPage(int look);
    // One blink of the previews (what the timer does every second).
    void Blink();
    // Turn buttons of the picture set: one quarter turn clockwise (+1) or counter-clockwise.
    void TurnPictureSet(int step);
    // Turn buttons of the user pictures.
    void TurnUserPictures(bool clockwise);
    // Loads a user picture from a file: on = the on picture, else the off picture.
    void LoadUserPicture(bool on, const QString& fileName);

    // Controls, named as in the form.
    QComboBox* TypCombo;
    QGroupBox* DefaultBox;
    QRadioButton* RB_DefOn;
    QRadioButton* RB_DefOff;
    QStackedWidget* Pages;
    QGroupBox* GB_Bitmap;
    QComboBox* Typ;
    QComboBox* Farbe;
    QFrame* VorschauPanel;
    QLabel* Image1;
    QToolButton* BitBtn1;
    QToolButton* BitBtn2;
    QGroupBox* GB_Button;
    QLineEdit* Text;
    QFontComboBox* cbFontName;
    QSpinBox* cbFontSize;
    QToolButton* BoldBtn;
    QToolButton* ItalicBtn;
    QToolButton* UnderlineBtn;
    QToolButton* StrikeoutBtn;
    QComboBox* cbFontFX;
    TColorShape* FontColShape;
    TColorShape* VonColShape;
    QComboBox* cbVerlauf;
    TColorShape* bisColShape;
    TGradBtn* GradBtn1;
    QGroupBox* GB_Btmap3;
    QPushButton* BitBtn3;
    QPushButton* BitBtn4;
    QLabel* Image2;
    QToolButton* BitBtn5;
    QToolButton* BitBtn6;
    QCheckBox* cb_Transparent;
    QGroupBox* GB_Plastik;
    TColorShape* PlastikColShape;
    QComboBox* CB_Form;
    QComboBox* cbWinkel;
    QSpinBox* SE_Rand;
    TITemboLED* Lampe;
    QLineEdit* HintEdit;
    QCheckBox* cb_Editierbar;
    QPushButton* HotBtn;
    QTimer* VorschauTimer;

    bool Blinker = false;
    int Drehung = 0;
    QImage BildEin;
    QImage BildAus;

    // Shape list index <-> lamp shape.
    static int FormIndexOfShape(int shape);
    static int ShapeOfFormIndex(int index);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Fill();
    void SyncPreview();
    // Gives the preview lamp the preview's size (95 wide) and centres it.
    void SizePreviewLamp(int height);
    void RefreshPicturePreview();
    void RefreshUserPreview();
    void ApplyFontStyle();
    void EditHotkeys();
    void ChooseUserPicture(bool on);

    TSchalter& m_element;
};
