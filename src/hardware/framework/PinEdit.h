#pragma once
// The pin and port editor: the ports of a device, the pins of the chosen port with their names
// and editable descriptions, and a per-pin setting of range or direction for pins that allow
// it. The editor keeps indexes only, never pins: a device may rebuild its ports while the
// editor shows them (Refresh shows them again).

#include <QDialog>
#include <QFrame>

#include <functional>
#include <memory>
#include <vector>

class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTableWidget;
class TIOPort;
class TPin;

using TPortList = std::vector<std::unique_ptr<TIOPort>>;

class TPinEdit : public QFrame {
public:
    explicit TPinEdit(QWidget* parent = nullptr);

    int CurrentPin = -1;
    int CurrentPort = 0;
    QTableWidget* PinGrid = nullptr;
    QListWidget* PortListBox = nullptr;
    QGroupBox* PinBox = nullptr;
    QPushButton* ConfigButton = nullptr;
    QLabel* RangeLabel = nullptr;
    // Replaces the built-in per-pin configuration when set.
    std::function<void(TPinEdit*)> OnConfigure;
    // After each pin is shown.
    std::function<void(TPinEdit*)> OnPinSelect;

    // Stores the list (not owned), lists its ports and shows port 0.
    void SetPortliste(TPortList* list);
    TPortList* Portliste() const { return m_ports; }
    // The pin shown in the pin box; nullptr when none.
    TPin* SelectedPin() const;

    void ShowPort(int port);
    void ShowPin(int pin); // -1: none
    void StoreDescriptions(int port);
    void PinClick();
    void PortClick();
    void ConfigureClick();
    // Shows the ports again after the device rebuilt them, keeping the chosen port and pin
    // where they still exist.
    void Refresh();
    void TranslateCaptions();

private:
    TIOPort* Port(int index) const;
    TPortList* m_ports = nullptr;
    int m_selectedPin = -1;
};

class TPinPortDlg : public QDialog {
public:
    explicit TPinPortDlg(QWidget* parent = nullptr);

    TPinEdit* PinEdit = nullptr;
    QPushButton* CancelBtn = nullptr;
    QPushButton* OKBtn = nullptr;

    // Selects port 0 (on showing) and stores the shown descriptions (on closing by any button).
    void FormShow();
    void FormClose();
    // FormShow, modal, FormClose; the modal result.
    int Execute(const QString& caption);
    void TranslateCaptions();
};

// The one pin-and-port dialog, created on first use.
TPinPortDlg& PinPortDlg();
// Clears the editor's two event hooks (when the dialog exists).
void ClearPinEditorHooks();
