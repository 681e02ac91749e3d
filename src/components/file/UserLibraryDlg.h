#pragma once
// The settings dialog of the user-library component: chooses the library, lists the entry
// points it exports and calls its configuration routine. It loads the library with a handle
// of its own, released when the dialog closes.

#include "components/file/UserLibrary.h"

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

class TDLLDlg : public QDialog {
public:
    explicit TDLLDlg(TBTDLL& component, QWidget* parent = nullptr);
    ~TDLLDlg() override;

    QString FileName;  // the library chosen

    QLabel* FileLabel = nullptr;
    QPushButton* ImportBtn = nullptr;
    QPushButton* ConfigureBtn = nullptr;
    QPlainTextEdit* Functions = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

    // Loads the library by FileName and lists what it exports.
    void Refresh();
    void ImportClick();
    void ConfigureClick();

protected:
    bool event(QEvent* e) override;

private:
    TBTDLL& m_component;
    TUserLibrary m_library;
};
