#pragma once
// The base of every device driver: a port that owns a list of ports and presents all their
// pins to the hardware component as one flat list, outputs first. Output pin k of the device
// is flat entry k (k < OutputCount); input pin k is flat entry OutputCount + k.

#include "core/model/DeviceDescription.h"
#include "hardware/framework/IoPort.h"

#include <QByteArray>
#include <optional>

class TIniFile;

class TIOInterface : public TIOPort {
public:
    TV_CLASS_NAME(TIOInterface)
    TIOInterface();
    ~TIOInterface() override;

    // The base's own description: what a component stored as "TBTHardware" starts from.
    static const TDeviceDescription Description;
    // The description of the object's class (each device class passes its own to Describe).
    const TDeviceDescription& DeviceDescription() const { return *m_description; }

    QString AddressText;   // BaseAddress as four hexadecimal digits, for the address row
    int32_t DlgAddress = 0;
    std::vector<std::unique_ptr<TIOPort>> Ports; // the order of the port records
    int32_t OutputCount = 8;
    int32_t HelpContext = 35500;

    virtual QString GetInputDescription(int32_t index);
    virtual QString GetOutputDescription(int32_t index);
    virtual QString GetInputLabel(int32_t index);
    virtual QString GetOutputLabel(int32_t index);
    virtual void BuildPinList();
    // The dialog's modal result; anything but OK is followed by RevertSettings.
    virtual int32_t ExecuteDialog();
    // The settings form: the shared generic settings dialog, captioned with Name, its pin
    // button shown. A device with a form of its own returns that (and keeps it).
    virtual QDialog* CreateDialog();
    virtual void RevertSettings();
    virtual void PropagateAddress();
    virtual void ClearPorts();
    virtual void writeToIni(TIniFile& ini, const QString& section);
    virtual void readFromIni(TIniFile& ini, const QString& section);
    // Designator prefix, palette name and symbol caption in the current language, from the
    // description.
    QString Praefix() const { return m_description->Prefix.Current(); }
    QString BiboName() const { return m_description->PaletteName.Current(); }
    QString Beschriftung() const { return m_description->Caption.Current(); }
    // A clock input that lies outside the device's output pins (its index among the
    // component's inputs), named by GetOutputLabel of that index; -1 for none.
    virtual int32_t ClockInput() const { return -1; }
    // Why the device's last exchange failed, in the current language; empty when it did not.
    // The component's hint shows it.
    virtual QString StatusMessage() const { return {}; }

    int32_t GetPinCount() const override;
    void MachEsJetzt() override;
    void SetValue(int32_t index, Extended value) override;
    void SetText(int32_t index, const QString& text) override;
    Extended GetValue(int32_t index) override;
    void SetPinUsed(int32_t index, bool used) override;
    Extended GetInputValue(int32_t index) override;
    QString GetInputText(int32_t index) override;
    int64_t GetInputTime(int32_t index) override;
    void SetInputUsed(int32_t index, bool used) override;
    void ResetPins() override;
    void ResetReceive() override;
    void ApplySettings() override;
    // The snapshot for Cancel, DlgAddress and AddressText, and the device's ports in the pin
    // editor of the pin-and-port dialog. Adds no rows.
    void getKonfigData() override;
    void writeToStream(TWriter& writer) override;
    void readFromStream(TReader& reader) override;
    // Opens port permission (GrantPortAccess) and starts the ports. A port range that the
    // system refuses is reported to the user once per run start.
    void SimStart() override;
    void SimStop() override;
    void MakeInfoLines() override;

    // Whether the settings snapshot of an open dialog exists.
    bool HasSnapshot() const { return m_snapshot.has_value(); }
    // The rows of the generic settings dialog (nullptr while another form is the dialog).
    class TPropScrollbox* DialogRows() const;

    // Whether any port of the device is inside Wait.
    bool AnyPortBusy() const;

protected:
    // Called by every device constructor with the class's own description; takes its help
    // context.
    void Describe(const TDeviceDescription& description);

    // Flat entry for a device output or input; nullptr when missing.
    TPin* FlatOutput(int32_t index) const;
    TPin* FlatInput(int32_t index) const;
    TIOPort& PortOf(const TPin& flat) const { return *Ports[size_t(flat.PortIndex)]; }

private:
    std::optional<QByteArray> m_snapshot;
    const TDeviceDescription* m_description = nullptr;
};

// BuildPinList, then the number of device inputs (the component's output count).
int32_t GetInputCount(TIOInterface& device);

// The board list ("Board #0" .. "Board #127") that devices choosing a card number offer.
const QStringList& BoardList();

// --- Standard ports ------------------------------------------------------------------------------

class TDOutPort : public TIOPort {
public:
    TV_CLASS_NAME(TDOutPort)
    TDOutPort();
};

class TDInPort : public TIOPort {
public:
    TV_CLASS_NAME(TDInPort)
    TDInPort();
};

class TAOutPort : public TIOPort {
public:
    TV_CLASS_NAME(TAOutPort)
    TAOutPort();
};

class TAInPort : public TIOPort {
public:
    TV_CLASS_NAME(TAInPort)
    TAInPort();
};
