#pragma once
// The one circuit component through which every device takes part in a circuit. It owns one
// device: its inputs feed the device's outputs, its outputs show the device's inputs in reverse
// order (the last device input on output 0), and its prefix, caption, type name, label, help
// context and settings dialog come from the device.

#include "core/model/GrundBT.h"
#include "hardware/framework/IoInterface.h"

class TBTHardware : public TGrundBT {
public:
    TV_CLASS_NAME(TBTHardware)
    TBTHardware();
    ~TBTHardware() override;

    // A component for a stored class name (one of the names HardwareClassByName knows): the
    // device of that name's class, or none for "TBTHardware" (the device class then follows in
    // the record). Throws EClassNotFound for any other name and for a device class this program
    // does not have.
    static std::unique_ptr<TBTHardware> Create(const QString& storedName);
    // A component that owns the given device.
    static std::unique_ptr<TBTHardware> CreateWith(std::unique_ptr<TIOInterface> device);

    std::unique_ptr<TIOInterface> Interface;
    QString Caption; // at most 40 characters, drawn inside the symbol

    // Takes prefix, caption, pin counts, pin names and help context from the device.
    void SetInterface(std::unique_ptr<TIOInterface> device);

    void Paint(TCanvas& canvas) override;
    void WriteData(TWriter& writer) override;
    void ReadData(TReader& reader, uint8_t version) override;
    int EditProperties() override;
    QString GetHint() const override;
    void Calculate() override;
    void SimReset() override;
    void NameInputs() override;
    void NameOutputs() override;
    void SimEnd() override;
    QString GetTypeName() const override;
    QString GetLabel() const override;
    void SetLabel(const QString& label) override;
    void DrawPinLine(TCanvas& canvas, TBauteilPin& pin, bool isInput, bool lit) override;
    // Counts follow the device; only the stream's own limits apply.
    void CheckStoredPins(int32_t inputs, int32_t outputs) const override {}

    // The step callback of the device and of each of its ports (empty clears it).
    void SetStepCallback(const std::function<void()>& step);

private:
    void TakeFromInterface();
    void TakePinsFromInterface();
    bool m_labelSet = false;
};

// The device class name for a stored component class name of older projects (compared without
// regard to case), empty for any other name: the older names each device's description lists.
// "TBTHardware" gives "TIOInterface".
QString HardwareDeviceClass(const QString& storedName);

// Installs the hardware framework's hooks into the board, the engine and the settings dialog.
void InstallHardwareHooks();

// A new hardware component for a device class (the palette's and the add-by-name commands'
// way of placing a device). Throws EClassNotFound for a name that is no device class.
std::unique_ptr<TBTHardware> CreateHardwareComponent(const QString& deviceClass);
