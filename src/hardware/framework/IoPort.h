#pragma once
// Pins and ports of the devices that a circuit drives. A pin carries one signal between the
// circuit and a device; a port is a named list of pins at a base address with a direction. A
// port is also the base of the device interface (IoInterface.h): every device is itself a port
// whose pins are the device's flat pin list.

#include "core/model/Bauteil.h"
#include "platform/Types.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

class QDialog;
class TReader;
class TWriter;

class TPin {
public:
    int32_t Version = 1;
    QString Description;      // long name ("Bit 0")
    QString PinName;          // component pin label ("DO0"); "$" text pin, "|" clock, "/" low
    QString Text;             // value of a text pin
    int32_t PortIndex = 0;    // in a flat pin list: the owning port and the pin in it
    int32_t PinIndex = 0;
    Extended Min = 0.0L;
    Extended Max = 0.0L;
    bool Configurable = false;
    Extended Value = 0.0L;
    Extended SentValue = 0.0L; // the driver's last written value; not streamed
    uint8_t SentState = 0;
    uint16_t RawMin = 0;
    uint16_t RawMax = 0;
    Extended Factor = 1.0L;
    Extended Offset = 0.0L;
    uint8_t IsOutput = 0;     // the circuit writes this pin
    uint8_t Option1 = 0;
    uint8_t Option2 = 0;
    uint8_t Option3 = 0;      // 1: the user chooses the direction in the pin editor
    std::array<int32_t, 11> Params{};
    std::deque<Extended> History; // newest first
    int32_t HistoryLength = 0;    // 3 filters the value by the median of the last three
    bool Used = false;            // the component pin is wired
    int64_t TimeStamp = 0;        // performance counter of the last change
};

// --- Pin operations ----------------------------------------------------------------------------
void SetPinValue(TPin& pin, Extended x);
// The value, or the median of the history when it holds exactly three values.
Extended GetPinValue(const TPin& pin);
void SetPinDigital(TPin& pin, bool b);
bool GetPinDigital(const TPin& pin);  // above 2.5
int64_t GetPinRounded(const TPin& pin); // halves to even
// (Max - Min) / (RawMax - RawMin); an empty raw range has no step and gives 0.
Extended PinScaleStep(const TPin& pin);
int32_t PinValueToRaw(const TPin& pin);
void PinRawToValue(TPin& pin, uint16_t raw);
// Copies the settings of a pin (not its value, text, history, index, used flag, time).
void AssignPin(TPin& target, const TPin& source);
void WritePin(TPin& pin, TWriter& writer);
// takeTexts false reads the description and name and drops them.
void ReadPin(TPin& pin, TReader& reader, bool takeTexts);

// Splits "Name^7" into the name and the version (0 without "^"). A version that is not a
// decimal number is a stream error.
void SplitVersioned(const QString& stored, QString& name, int32_t& version);

class TIOPort : public TPersistentObject {
public:
    TV_CLASS_NAME(TIOPort)
    TIOPort();
    ~TIOPort() override;

    bool IsInput = false;
    bool DlgRuntimeMode = false;
    bool DlgSimRunning = false;
    QStringList InfoLines;
    std::vector<std::unique_ptr<TPin>> Pins;
    uint16_t BaseAddress = 0;
    QString Name;
    QDialog* SettingsDialog = nullptr; // valid while a dialog is open
    bool Running = false;
    bool Busy = false;                  // inside Wait
    std::function<void()> StepCallback; // one step of the whole circuit during a run
    bool NoMessages = false;
    int32_t StreamVersion = 1;
    int32_t LoadedVersion = 0;
    int64_t IntervalStart = 0;
    int32_t UsedPinCount = 0;

    virtual int32_t GetPinCount() const;
    virtual void MachEsJetzt() {}
    virtual void SetValue(int32_t index, Extended value);
    virtual void SetText(int32_t index, const QString& text);
    virtual Extended GetValue(int32_t index);
    virtual Extended GetInputValue(int32_t index);
    virtual QString GetInputText(int32_t index);
    virtual int64_t GetInputTime(int32_t index);
    virtual void ResetPins();
    virtual void ApplySettings();
    virtual void getKonfigData() {}
    virtual void writeToStream(TWriter& writer);
    virtual void readFromStream(TReader& reader);
    virtual void ClearPins();
    virtual void SimStart();
    virtual void SimStop();
    virtual void SimPrepare() {}
    virtual void MakeInfoLines();
    virtual void ResetReceive() {}
    virtual int32_t GrantPortAccess() { return 0; }
    virtual void SetPinUsed(int32_t index, bool used);
    virtual void SetInputUsed(int32_t index, bool used);

    void SetInput(bool b);
    TPin& AddPin(const QString& description, const QString& pinName, Extended min, Extended max,
                 bool configurable);
    int32_t CountUsedPins();
    // Waits at least |ms| milliseconds while the circuit keeps stepping (only for ms > 0);
    // ends at once when the run stops.
    void Wait(double ms);
    void SetPinsFromWord(uint16_t w);
    uint16_t GetPinsAsWord() const;
    void SetPinsFromLong(uint32_t l);
    uint32_t GetPinsAsLong() const;
    bool IntervalElapsed(uint32_t ms);

protected:
    bool ValidIndex(int32_t index) const { return index >= 0 && size_t(index) < Pins.size(); }
};

// What the waiting primitive needs of the run control: whether the simulation runs in fast
// mode (then a wait does not sleep between steps). Installed at start-up; false until then.
std::function<bool()>& SimFastQuery();

