#pragma once
// The window of the compile command: target folder and program name, a folder browser, the
// status lines of a run and the buttons that compile or compile and start. The compile command
// fills the fields, connects the two compile buttons and shows the window modally.

#include <QDialog>

#include <memory>

class TWLXBrowseDlg;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QToolButton;

class TCompiler : public QDialog {
    Q_OBJECT
public:
    explicit TCompiler(QWidget* parent = nullptr);
    ~TCompiler() override;

    // Set by the compile command: "Compilation_" + the project title.
    QString FolderName;

    void TranslateCaptions();
    // What showing the window does: clear the status lines.
    void FormShow();
    // Browses for the target folder, starting at CompilePath; on confirmation CompilePath
    // becomes the lower-cased folder + FolderName + separator.
    void SpeedButton1Click();
    void CancelBtnClick();
    // The window's system commands: context help opens the window's help topic. True when
    // handled.
    bool WMSysCommand(int command);

    QLabel* Label5;
    QLabel* Label1;
    QLineEdit* CompilePath;
    QToolButton* SpeedButton1;
    QLabel* Label2;
    QLineEdit* FileEdit;
    QLabel* Label3;
    QLabel* Label4;
    QListWidget* StatusLines;
    QPushButton* CancelBtn;
    QPushButton* StartBtn;
    QPushButton* CompileBtn;
    std::unique_ptr<TWLXBrowseDlg> BrowseDlg;

protected:
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;
};
