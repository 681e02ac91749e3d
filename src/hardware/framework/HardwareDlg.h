#pragma once
// The connection settings of every device of a project in one list: port addresses, COM and
// LPT numbers, device numbers and indexes, joysticks, MIDI devices, network addresses. The
// dialog works on a hardware settings file (one section per hardware component, written by
// HardwareSettings.h) and changes only the values of the keys the sections hold.

#include <QDialog>
#include <QStringList>

#include <array>
#include <functional>
#include <vector>

class QPushButton;
class TWLXListBox;
class TPlatine;

// What the dialog lists for the kinds whose values are chosen from devices of this computer.
// Empty functions: no joystick, no MIDI device.
struct THardwareDialogSources {
    std::function<std::vector<int>()> Joysticks;    // numbers of the joysticks present now
    std::function<QStringList()> MidiInputs;        // device names in device order
    std::function<QStringList()> MidiOutputs;
};
THardwareDialogSources& HardwareDialogSources();

class THardware_Dlg : public QDialog {
public:
    explicit THardware_Dlg(QWidget* parent = nullptr);

    struct TRow {
        QString Section;
        QString Name;
        QString Kind;   // "PORT", "COM", "LPT", "ID", "JOYST", "MIDI IN", "MIDI OUT", "ADDRESS"
        QString Value;  // as stored
        QString Key;    // the key the value belongs to
    };
    std::vector<TRow> Grid; // the data rows
    std::array<QString, 4> Header;
    // One row per key: its fields separated by the list's delimiter.
    TWLXListBox* NewGrid = nullptr;
    QPushButton* OK_Btn = nullptr;
    QPushButton* CancelBtn = nullptr;
    QPushButton* ChangeBtn = nullptr;
    int SelectedRow = -1;
    int HelpContext = 5600;

    void LoadHardwareIni(const QString& fileName);
    // Writes each row's value into its own key of its section (keys that exist only).
    void SaveHardwareIni(const QString& fileName);
    void FillList();
    void UpdateChangeButton();
    void ChangeSelected();
    void TranslateCaptions();
    // The rows selected in the list, in order.
    std::vector<int> SelectedRows() const;

protected:
    bool event(QEvent* e) override;

private:
    bool m_noHardware = false;
};

// The one hardware dialog, created on first use.
THardware_Dlg& Hardware_Dlg();

// The main window's hardware command: every device's section into a temporary file, the
// dialog on it, and on OK the edited file read back into the devices. Returns the modal result.
int EditHardwareConnections(TPlatine& topBoard);
