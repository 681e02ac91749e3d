#pragma once
// Small devices that let a circuit talk to any instrument on a COM port: send a byte, one of
// 256 stored byte sequences, a formatted number or a text on the falling edge of "|SND"
// (framed by a prefix and a suffix sequence); receive a byte, a number or a text after a
// falling edge of the clock input "|CK" armed the receiver (BSY high until the datum came);
// switch RTS and DTR. Everything runs inside the simulation step.

#include "hardware/transport/SerialInterface.h"
#include "ui/Formats.h"

#include <cstdint>
#include <vector>

// Sequences longer than this are cut (the frame and sync buffers hold 255 bytes).
inline constexpr int32_t kMaxSequenceBytes = 255;
// The text sender writes at most this many bytes of its text.
inline constexpr int32_t kMaxSentText = 1001;

// The parsed bytes of a sequence text, cut to kMaxSequenceBytes.
std::vector<uint8_t> ParseComSequence(const QString& text);

class TComByteOutPort : public TSerialDOutPort {
public:
    TV_CLASS_NAME(TComByteOutPort)
    void MachEsJetzt() override;
    void writeToStream(TWriter& writer) override;
    void readFromStream(TReader& reader) override;
};

class TComBytefolgeOutPort : public TSerialDOutPort {
public:
    TV_CLASS_NAME(TComBytefolgeOutPort)
    TComBytefolgeOutPort();
    // Entry 0 is the column header, entries 1..256 the sequences of the numbers 0..255.
    QStringList Sequences;
    void MachEsJetzt() override;
    void writeToStream(TWriter& writer) override;
    void readFromStream(TReader& reader) override;
};

class TComZahlOutPort : public TSerialDOutPort {
public:
    TV_CLASS_NAME(TComZahlOutPort)
    TComZahlOutPort();
    uint8_t LegacyFloatDigits = 5;
    uint8_t LegacyDigits = 5;
    uint8_t LegacyDecimals = 3;
    uint8_t LegacyOptions = 1; // the option bits of the old format record (1: Fixed)
    TFormat NumberFormat;
    void MachEsJetzt() override;
    void writeToStream(TWriter& writer) override;
    void readFromStream(TReader& reader) override;
};

class TComStringOutPort : public TSerialDOutPort {
public:
    TV_CLASS_NAME(TComStringOutPort)
    void MachEsJetzt() override;
};

class TComControlPort : public TSerialDOutPort {
public:
    TV_CLASS_NAME(TComControlPort)
    void MachEsJetzt() override;
};

class TComInPort : public TSerialDInPort {
public:
    TV_CLASS_NAME(TComInPort)
    bool Armed = false;
};

class TComByteInPort : public TComInPort {
public:
    TV_CLASS_NAME(TComByteInPort)
    void SimStart() override;
    void ResetReceive() override;
    void MachEsJetzt() override;
    void writeToStream(TWriter& writer) override;
    void readFromStream(TReader& reader) override;
};

// Receives bytes until the end-of-data sequence, then hands the data before it to its pin.
class TComSyncInPort : public TComInPort {
public:
    QString SyncString() const { return m_syncString; }
    void SetSyncString(const QString& text);
    QByteArray RxText; // received since the last match, at most 250 bytes kept

    void SimStart() override;
    void ResetReceive() override;
    void MachEsJetzt() override;
    void writeToStream(TWriter& writer) override;
    void readFromStream(TReader& reader) override;

protected:
    TComSyncInPort();
    virtual void Deliver(const QByteArray& data) = 0;
    virtual void Clear() = 0;

private:
    QString m_syncString;
    QByteArray m_sync;
};

class TComZahlInPort : public TComSyncInPort {
public:
    TV_CLASS_NAME(TComZahlInPort)

protected:
    void Deliver(const QByteArray& data) override;
    void Clear() override;
};

class TComStringInPort : public TComSyncInPort {
public:
    TV_CLASS_NAME(TComStringInPort)

protected:
    void Deliver(const QByteArray& data) override;
    void Clear() override;
};

class TComInterface : public TSerialInterface {
public:
    TV_CLASS_NAME(TComInterface)
    static const TDeviceDescription Description;
    TComInterface();

    uint8_t Kind = 3;
    std::vector<uint8_t> PrefixBytes;
    std::vector<uint8_t> SuffixBytes;
    bool TriggerLevel = false;
    bool SkipReceive = false;
    int32_t SequenceDlgResult = 0;
    QString PrefixText;
    QString SuffixText;

    void SetKind(uint8_t kind);
    bool Receives() const { return Kind == 3 || Kind == 4 || Kind == 7; }

    QString GetOutputLabel(int32_t index) override;
    int32_t ClockInput() const override;
    void SetValue(int32_t index, Extended value) override;
    void SetPinUsed(int32_t index, bool used) override;
    void SimStart() override;
    void MachEsJetzt() override;
    void getKonfigData() override;
    void ApplySettings() override;
    void writeToStream(TWriter& writer) override;
    void readFromStream(TReader& reader) override;

private:
    void ParseFrame();
    TSerialPort* DevicePort() const;
    QString m_syncEdit; // the sync row's text while the dialog is open
};

#define TAVRINOL_COM_DEVICE(ClassName, KindValue)                                             \
    class ClassName : public TComInterface {                                                  \
    public:                                                                                   \
        TV_CLASS_NAME(ClassName)                                                              \
        static const TDeviceDescription Description;                                          \
        ClassName()                                                                           \
        {                                                                                     \
            Describe(Description);                                                            \
            SetKind(KindValue);                                                               \
        }                                                                                     \
    };

TAVRINOL_COM_DEVICE(TComByteSenden, 0)
TAVRINOL_COM_DEVICE(TComBytefolgeSenden, 1)
TAVRINOL_COM_DEVICE(TComZahlSenden, 2)
TAVRINOL_COM_DEVICE(TComByteEmpfangen, 3)
TAVRINOL_COM_DEVICE(TComZahlEmpfangen, 4)
TAVRINOL_COM_DEVICE(TComStringSenden, 6)
TAVRINOL_COM_DEVICE(TComStringEmpfangen, 7)

#undef TAVRINOL_COM_DEVICE

// Sets RTS and DTR; keeps the shared object's port number at a run start that finds it closed.
class TComControl : public TComInterface {
public:
    TV_CLASS_NAME(TComControl)
    static const TDeviceDescription Description;
    TComControl()
    {
        Describe(Description);
        SetKind(5);
    }
    void PreparePort() override {}
};
