#pragma once
// The chart's dialogs: the print preview with its headline-and-comment dialog, and the dialog
// that edits a pinned comment. Tests reach their controls by object name through the modal
// dialog responder.

#include <QDialog>
#include <QFont>
#include <QPoint>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPrinter;
class QScrollBar;
class QWidget;

// Headline and comment lines of the printout.
class TprTextDlg : public QDialog {
public:
    explicit TprTextDlg(QWidget* parent);
    QLineEdit* HeadlineEdit = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
};

// The print preview. The paper keeps the page's proportions; the owner paints on it
// (OnPaint) and hears of text and zoom changes. Results: 2 cancel, 1 keep the settings,
// 6 print.
class TPreviewDlg : public QDialog {
public:
    TPreviewDlg(QWidget* parent, QPrinter& printer);

    QWidget* Paper = nullptr;
    QWidget* PaintBox = nullptr;
    QScrollBar* ZoomScroller = nullptr;
    QCheckBox* CB_SW = nullptr;
    QCheckBox* CB_Mitte = nullptr;
    QCheckBox* cb_Hintergrund = nullptr;
    TprTextDlg* TextDlg = nullptr;
    QPoint Offset;  // the chart's top-left corner in preview pixels, as dragged

    std::function<void(QPainter&, QSize)> OnPaint;
    std::function<void()> OnTextChange;
    std::function<void()> OnZoomChange;

    // The paper sized to the page's proportions within the left area.
    void FitPaper();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowPrinterName();
    QPrinter& m_printer;
    QWidget* m_area = nullptr;
    bool m_dragging = false;
    QPoint m_last;
};

// Edits a comment: its text, the commented point and its font. Result 5 deletes it.
class TKommentarDlg : public QDialog {
public:
    TKommentarDlg(QWidget* parent, const QString& text, double x, double y, const QFont& font);
    QLineEdit* xEdit = nullptr;
    QLineEdit* yEdit = nullptr;
    QLineEdit* KommentarEdit = nullptr;
    double X = 0, Y = 0;
    QFont Font;

    // Takes x and y from the edits; false (and a message) when one is no number.
    bool TakeNumbers();
    void done(int result) override;
};
