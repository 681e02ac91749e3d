#include "components/signal/AudioDevices.h"

#include "platform/Context.h"
#include "platform/MessageBox.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSource>
#include <QIODevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

namespace {

QAudioFormat RecordingFormat()
{
    QAudioFormat format;
    format.setSampleRate(44100);
    format.setChannelCount(2);
    format.setSampleFormat(QAudioFormat::Int16);
    return format;
}

class TQtCapture : public TAudioCapture {
public:
    TQtCapture(const QAudioDevice& device, const QAudioFormat& format)
        : m_source(device, format)
    {
        // Room for a second of sound between two polls.
        m_source.setBufferSize(176400);
    }
    void Start() override { m_stream = m_source.start(); }
    void Stop() override
    {
        m_source.stop();
        m_stream = nullptr;
    }
    int64_t Read(char* data, int64_t maxBytes) override
    {
        if (!m_stream)
            return 0;
        const qint64 n = m_stream->read(data, maxBytes);
        return n > 0 ? n : 0;
    }

private:
    QAudioSource m_source;
    QIODevice* m_stream = nullptr;
};

class TQtPlayer : public TSoundPlayer {
public:
    void Play(const QString& fileName) override
    {
        const QUrl url = QUrl::fromLocalFile(fileName);
        if (m_effect.source() != url)
            m_effect.setSource(url);
        m_effect.play();
    }

private:
    QSoundEffect m_effect;
};

class TQtAudioSystem : public TAudioSystem {
public:
    QStringList InputDevices() override
    {
        QStringList names;
        for (const QAudioDevice& device : QMediaDevices::audioInputs())
            names << device.description();
        return names;
    }
    std::unique_ptr<TAudioCapture> OpenInput(int index, QString& error) override
    {
        const QList<QAudioDevice> devices = QMediaDevices::audioInputs();
        if (index < 0 || index >= devices.size()) {
            error = DeviceNotPresentText();
            return nullptr;
        }
        const QAudioFormat format = RecordingFormat();
        if (!devices[index].isFormatSupported(format)) {
            error = Lang3Q("Das Gerät nimmt nicht in Stereo mit 44100 Hz und 16 Bit auf.",
                           "The device does not record in stereo at 44100 Hz with 16 bits.",
                           "Le périphérique n'enregistre pas en stéréo à 44100 Hz sur 16 bits.");
            return nullptr;
        }
        return std::make_unique<TQtCapture>(devices[index], format);
    }
    bool HasOutputDevice() override { return !QMediaDevices::audioOutputs().isEmpty(); }
    std::unique_ptr<TSoundPlayer> CreatePlayer() override
    {
        return std::make_unique<TQtPlayer>();
    }
};

TAudioSystem* g_installed = nullptr;
bool g_reported[2] = {false, false};

} // namespace

TAudioSystem& AudioSystem()
{
    if (g_installed)
        return *g_installed;
    static TQtAudioSystem qt;
    return qt;
}

void SetAudioSystem(TAudioSystem* system)
{
    g_installed = system;
}

void ReportMissingAudioDevice(TAudioKind kind, const QString& detail)
{
    bool& reported = g_reported[kind == TAudioKind::Output ? 0 : 1];
    if (reported)
        return;
    reported = true;
    QString text = kind == TAudioKind::Output
                       ? Lang3Q("Es ist kein Gerät zur Tonausgabe vorhanden; "
                                "das Soundmodul bleibt stumm.",
                                "There is no sound output device; the sound module stays silent.",
                                "Aucun périphérique de sortie audio n'est présent ; "
                                "le module sonore reste muet.")
                       : Lang3Q("Das Aufnahmegerät kann nicht geöffnet werden; "
                                "der Audioeingang liefert keine Werte.",
                                "The recording device cannot be opened; "
                                "the audio input gives no values.",
                                "Le périphérique d'enregistrement ne peut pas être ouvert ; "
                                "l'entrée audio ne fournit aucune valeur.");
    if (!detail.isEmpty())
        text += QLatin1Char('\n') + detail;
    MessageBoxText(text, QStringLiteral("Audio Device"), mbOK, mtWarning);
}

QString DeviceNotPresentText()
{
    return Lang3Q("Das Gerät ist nicht vorhanden.", "The device is not present.",
                  "Le périphérique n'est pas présent.");
}

void ResetAudioReports()
{
    g_reported[0] = g_reported[1] = false;
}
