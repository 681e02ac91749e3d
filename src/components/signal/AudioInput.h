#pragma once
// Audio input: the right and left channel of a recording device on two outputs, as a
// percentage of full scale. Recording runs into four quarter-second buffers that the device
// fills in turn; each step shows the sample of the last completed buffer that belongs to the
// moment of the step, so the outputs lag the sound by at least one buffer.

#include "core/model/GrundBT.h"

#include <QStringList>
#include <array>
#include <deque>
#include <memory>
#include <vector>

class TAudioCapture;

// One recording buffer: the device fills Length bytes of Data, then sets Done.
struct TWaveBuffer {
    std::vector<char> Data;
    int32_t Length = 0;    // bytes to record
    int32_t Recorded = 0;  // bytes recorded so far
    bool Prepared = false; // handed to the device and not yet released
    bool Done = false;     // filled by the device
};

// The recording device of the audio input: lists the devices, opens the chosen one in the
// fixed format, and fills the buffers handed to it, in the order they were handed over,
// whenever Poll runs.
class TAudioInput {
public:
    TAudioInput();
    ~TAudioInput();

    int32_t DeviceCount = 0;
    // First the no-device entry ("KEIN" / "NONE" / "AUCUN"), then every device.
    QStringList DeviceNames;

    // Reads the devices of the system into DeviceCount and DeviceNames. Run when the list is
    // shown and before a run rather than with every new component, so that a device plugged
    // in later is found.
    void EnumerateDevices();

    int32_t DeviceID() const { return m_deviceID; }
    // Another device: reopens when one was open. A number outside the devices means none.
    void SetDeviceID(int32_t id);
    bool Opened() const { return m_capture != nullptr; }

    // Opens the chosen device; a device that cannot be opened is reported once, and the input
    // stays closed. Nothing happens without a device or when one is open.
    void Open();
    // Returns every queued buffer (marked done) and closes the device.
    void Close();
    void Start();
    void Stop();

    // Hands a buffer to the device; fails without effect while no device is open.
    void Queue(TWaveBuffer& buffer);
    // Takes a buffer back from the device.
    void Release(TWaveBuffer& buffer);
    // Moves what the device recorded since the last call into the queued buffers.
    void Poll();

private:
    int32_t m_deviceID = 0;
    std::unique_ptr<TAudioCapture> m_capture;
    std::deque<TWaveBuffer*> m_queue;
};

class TBTAudioTrigger : public TGrundBT {
public:
    TV_CLASS_NAME(TBTAudioTrigger)
    TBTAudioTrigger();
    ~TBTAudioTrigger() override;
    static const TComponentDescription Description;

    static constexpr int BufferCount = 4;
    static constexpr int32_t BufferBytes = 200000;  // allocated per buffer
    static constexpr int32_t FramesPerBuffer = 11025;  // a quarter second
    static constexpr int32_t BytesPerFrame = 4;
    static constexpr int32_t SampleRate = 44100;
    enum { OutR, OutL };

    TAudioInput AudioInput;
    int32_t DeviceIndex = 0;  // entry of DeviceNames; 0 is no device
    std::array<TWaveBuffer, BufferCount> Buffers;
    Extended Left = 0.0L;  // samples last read, -32768 .. 32767
    Extended Right = 0.0L;
    int32_t CurrentBuffer = 0;
    int64_t BufferStart = 0;  // clock reading at which the current buffer began to play

    void Paint(TCanvas& canvas) override;
    void WriteData(TWriter& writer) override;
    void ReadData(TReader& reader, uint8_t version) override;
    int EditProperties() override;
    void Calculate() override;
    void SimPrepare() override;
    void SimEnd() override;

private:
    void QueueBuffer(TWaveBuffer& buffer);
    // The frame of the current buffer that belongs to the clock reading now (at most
    // FramesPerBuffer, meaning the buffer is over).
    int64_t FramePosition(int64_t now) const;
};
