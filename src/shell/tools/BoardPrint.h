#pragma once
// Printing a board: the board's items scaled onto one page, shown first in a print preview of
// the real page (printer, orientation, centring, black and white, size). The board keeps its
// print settings between uses and in the project.

#include <QDialog>
#include <QPoint>
#include <QSize>

#include <memory>

class QCheckBox;
class QComboBox;
class QPainter;
class QPrinter;
class QPrintPreviewWidget;
class QPushButton;
class QSlider;
class TPlatine;

// Print scale of the preview's size slider (0 .. 200): 10^((200 - position) / 100) / 10, so
// 100 gives 1.0, 0 gives 10.0 and 200 gives 0.1.
double PrintScaleOf(int sliderPosition);

// The board canvas zoom that fits the whole board (its width and height at zoom 1) onto a page
// of the given pixels, times the print scale.
double PrintZoom(QSize page, const TPlatine& board, double scale);

// Paints the board's items onto a page of the given pixels: scaled by PrintZoom, shifted by the
// board's print offsets, which centring first sets so that the items' bounds sit in the middle
// of the page. Black and white paints symbols without colours.
void RenderBoardPrint(TPlatine& board, QPainter& painter, QSize page, bool blackWhite);

class TBoardPrintDlg : public QDialog {
public:
    TBoardPrintDlg(TPlatine& board, QWidget* parent = nullptr);
    ~TBoardPrintDlg() override;

    QComboBox* PrinterBox;
    QComboBox* OrientationBox;
    QCheckBox* CB_Mitte;
    QCheckBox* CB_SW;
    QSlider* ZoomScroller;
    QPrintPreviewWidget* Preview;
    QPushButton* PrintBtn;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

    // The settings shown into the board's print settings.
    void StoreSettings();
    // The printer the dialog shows (chosen printer and orientation).
    QPrinter& Printer() { return *m_printer; }

private:
    void ApplyPrinter();
    TPlatine& m_board;
    std::unique_ptr<QPrinter> m_printer;
    QPoint m_previewOffset;  // offsets of the page shown last
};

// The print command on a board: preview; "print" prints the page. Returns the preview's result.
int PrintBoard(TPlatine& board, QWidget* parent);
