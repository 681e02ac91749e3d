#pragma once
// The about box, also the start-up splash: the title picture, the publisher's lines, a link to
// the home page and an OK button. The picture is "TITEL.BMP" beside the program when there is
// one, else the program's own title painted here.

#include <QDialog>
#include <QImage>

class QLabel;
class QPushButton;
class QFrame;

// The project's home page (the about box's link).
extern const char* const kHomePage;

// The title picture (270 x 150).
QImage TitlePicture();

class TInfoDlg : public QDialog {
public:
    explicit TInfoDlg(QWidget* parent = nullptr);

    QFrame* P_Image;
    QLabel* Titel;
    QLabel* L_Adresse;
    QLabel* WebLabel;
    QPushButton* OKBtn;
    bool Splash = false;  // laid out as the splash

    void FormCreate();
    void FormShow();
    // No border; only the picture, at the window's top-left corner.
    void ArrangeAsSplash();
    void SB_HomepageClick();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool m_shown = false;
};

// The home page the link opens.
extern const char* const kHomePage;
