#pragma once
// The MIDI devices: MIDI OUT sends one kind of MIDI message, MIDI IN receives one, MIDI THRU
// routes an input device to an output device inside the MIDI system (no pins). BaseAddress
// holds the device selection: 0 = none, n = the system's device n - 1.

#include "hardware/framework/IoInterface.h"
#include "platform/MidiSystem.h"

class TMidiPort;

// The message kinds 0..14 as the "MSG" row lists them.
const QStringList& MidiKindNames();

class TMIDIInterface : public TIOInterface {
public:
    TV_CLASS_NAME(TMIDIInterface)
    static const TDeviceDescription Description;
    TMIDIInterface();
    ~TMIDIInterface() override;

    uint8_t Kind = 0;
    int32_t SecondSelection = 0; // MIDI THRU's output device
    TMidiHandle Handle = 0;
    TMidiHandle ThruHandle = 0;
    TMidiPort* Port = nullptr;   // the one port, none for MIDI THRU

    // Rebuilds the port for the kind (nothing when it is the current one).
    virtual void SetMessageType(uint8_t kind);

    void getKonfigData() override;
    void ApplySettings() override;
    void writeToStream(TWriter& writer) override;
    void readFromStream(TReader& reader) override;
    // Opens the devices; one that cannot be opened is reported and the run goes on.
    void SimStart() override;
    void SimStop() override;
    void writeToIni(TIniFile& ini, const QString& section) override;
    void readFromIni(TIniFile& ini, const QString& section) override;

protected:
    enum class TRole { Send, Receive, Thru };
    virtual TRole Role() const { return TRole::Send; }
    void OpenDevices();
    void CloseDevices();

private:
    void ReportUnopened(const QStringList& names, int32_t selection);

    bool m_registered = false;
    int32_t m_dlgSelection = 0;
    int32_t m_dlgKind = 0;
    bool m_dlgChannelFilter = false;
    bool m_dlgValueFilter = false;
};

class TMIDIReceiveInterface : public TMIDIInterface {
public:
    TV_CLASS_NAME(TMIDIReceiveInterface)
    static const TDeviceDescription Description;
    TMIDIReceiveInterface();
    void SetMessageType(uint8_t kind) override;

protected:
    TRole Role() const override { return TRole::Receive; }
};

class TMIDIThruInterface : public TMIDIInterface {
public:
    TV_CLASS_NAME(TMIDIThruInterface)
    static const TDeviceDescription Description;
    TMIDIThruInterface();
    void SetMessageType(uint8_t kind) override;
    QDialog* CreateDialog() override;

protected:
    TRole Role() const override { return TRole::Thru; }
};
