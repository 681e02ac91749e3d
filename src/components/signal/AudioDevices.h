#pragma once
// The sound devices of the signal blocks behind small interfaces: a run and the tests work the
// same whether a sound card is there or not. The program's devices come from Qt Multimedia;
// a test installs its own for its lifetime.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>

// One opened recording device: PCM frames of 2 interleaved 16-bit channels at 44100 Hz.
class TAudioCapture {
public:
    virtual ~TAudioCapture() = default;
    virtual void Start() = 0;
    virtual void Stop() = 0;
    // Recorded bytes available now, at most maxBytes of them; 0 when there are none.
    virtual int64_t Read(char* data, int64_t maxBytes) = 0;
};

// Plays wave files without waiting for them.
class TSoundPlayer {
public:
    virtual ~TSoundPlayer() = default;
    // Starts the file; a file that cannot be played is silently ignored.
    virtual void Play(const QString& fileName) = 0;
};

class TAudioSystem {
public:
    virtual ~TAudioSystem() = default;
    // The names of the recording devices, in device order.
    virtual QStringList InputDevices() = 0;
    // Opens recording device `index` in the recording format; null with a reason in error
    // when that fails.
    virtual std::unique_ptr<TAudioCapture> OpenInput(int index, QString& error) = 0;
    // Whether there is a device to play sound on.
    virtual bool HasOutputDevice() = 0;
    virtual std::unique_ptr<TSoundPlayer> CreatePlayer() = 0;
};

// The devices in use: Qt Multimedia unless a test installed others.
TAudioSystem& AudioSystem();
// Installs a system (not owned); nullptr restores Qt Multimedia.
void SetAudioSystem(TAudioSystem* system);

// Tells the user once per program session that the sound output, or a recording device, is
// missing, in the current language; later calls of the same kind say nothing.
enum class TAudioKind { Output, Input };
void ReportMissingAudioDevice(TAudioKind kind, const QString& detail = QString());
// "The device is not present." in the current language.
QString DeviceNotPresentText();
// For tests: the next missing device of every kind is reported again.
void ResetAudioReports();
