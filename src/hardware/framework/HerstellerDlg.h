#pragma once
// The maker's links of a device class: up to three web addresses (product page, data sheet,
// dealer) kept per class in the links settings file and looked up in a browser view inside
// the program.

#include <QDialog>

class QGroupBox;
class QLineEdit;
class QPushButton;
class TIOBauteil;
class TIniFile;
class TIOInterface;
class TWebView;

class THerstellerDlg : public QDialog {
    Q_OBJECT
public:
    explicit THerstellerDlg(QWidget* parent = nullptr);

    QGroupBox* GroupBox1 = nullptr;
    QLineEdit* LinkEdit1 = nullptr;
    QLineEdit* LinkEdit2 = nullptr;
    QLineEdit* LinkEdit3 = nullptr;
    QPushButton* ConnectBtn = nullptr;  // "Link 1"
    QPushButton* Button2 = nullptr;     // "Link 2"
    QPushButton* Button3 = nullptr;     // "Link 3"
    TWebView* WebBrowser1 = nullptr;

    // The address the browser opens on showing: the first non-empty link, or empty.
    QString FirstLink() const;

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;  // closing by any means ends the dialog with result 1
};

// Shows the maker's links of the device's class: the three links are read from the section
// named by the class, shown and opened in the browser, and written back when the dialog
// closes. links may be nullptr (the settings file is not open): the dialog then neither reads
// nor stores.
void ShowManufacturerLinks(TIOInterface& device, TIniFile* links, QWidget* parent = nullptr);
// The same for a hardware component (its device); any other component shows nothing.
void ShowManufacturerLinksOf(TIOBauteil& component, TIniFile* links, QWidget* parent = nullptr);
