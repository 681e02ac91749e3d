#include "components/signal/AudioInput.h"

#include "components/signal/AudioDevices.h"
#include "components/signal/SignalSupport.h"
#include "core/model/Translator.h"
#include "platform/Clock.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

#include <algorithm>
#include <cstring>

// --- TAudioInput -----------------------------------------------------------------------------

TAudioInput::TAudioInput()
{
    DeviceNames << Lang3Q("KEIN", "NONE", "AUCUN");
}

void TAudioInput::EnumerateDevices()
{
    const QStringList devices = AudioSystem().InputDevices();
    DeviceCount = static_cast<int32_t>(devices.size());
    DeviceNames = QStringList{Lang3Q("KEIN", "NONE", "AUCUN")} + devices;
}

TAudioInput::~TAudioInput()
{
    Close();
}

void TAudioInput::SetDeviceID(int32_t id)
{
    if (id < 0 || id >= DeviceCount) {
        Close();
        m_deviceID = id;
        return;
    }
    const bool wasOpen = Opened();
    Close();
    m_deviceID = id;
    if (wasOpen)
        Open();
}

void TAudioInput::Open()
{
    if (Opened() || m_deviceID < 0 || m_deviceID >= DeviceCount)
        return;
    QString error;
    m_capture = AudioSystem().OpenInput(m_deviceID, error);
    if (!m_capture)
        ReportMissingAudioDevice(TAudioKind::Input, error);
}

void TAudioInput::Close()
{
    if (!m_capture)
        return;
    for (TWaveBuffer* buffer : m_queue)
        buffer->Done = true;
    m_queue.clear();
    m_capture.reset();
}

void TAudioInput::Start()
{
    if (m_capture)
        m_capture->Start();
}

void TAudioInput::Stop()
{
    if (m_capture)
        m_capture->Stop();
}

void TAudioInput::Queue(TWaveBuffer& buffer)
{
    if (!m_capture)
        return;
    buffer.Prepared = true;
    buffer.Done = false;
    buffer.Recorded = 0;
    m_queue.push_back(&buffer);
}

void TAudioInput::Release(TWaveBuffer& buffer)
{
    buffer.Prepared = false;
    m_queue.erase(std::remove(m_queue.begin(), m_queue.end(), &buffer), m_queue.end());
}

void TAudioInput::Poll()
{
    while (m_capture && !m_queue.empty()) {
        TWaveBuffer& buffer = *m_queue.front();
        const int64_t n = m_capture->Read(buffer.Data.data() + buffer.Recorded,
                                          buffer.Length - buffer.Recorded);
        if (n <= 0)
            return;
        buffer.Recorded += static_cast<int32_t>(n);
        if (buffer.Recorded >= buffer.Length) {
            buffer.Done = true;
            m_queue.pop_front();
        }
    }
}

// --- TBTAudioTrigger -------------------------------------------------------------------------

const TComponentDescription TBTAudioTrigger::Description{
    .Name = "TBTAudioTrigger", .Prefix = {"AUD"}, .HelpContext = 18566,
    .TypeName = {"Audioeingang", "Audio input", "Entrée Audio"}, .Outputs = {2},
    .OutputNames = "R L", .Category = TPaletteCategory::AllgemeinPC};

TBTAudioTrigger::TBTAudioTrigger()
{
    Describe(Description);
    SignalSupport::MakeBlock(*this, true);
    for (TWaveBuffer& buffer : Buffers)
        buffer.Data.assign(BufferBytes, 0);
}

TBTAudioTrigger::~TBTAudioTrigger()
{
    AudioInput.Close();
}

void TBTAudioTrigger::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    SignalSupport::PaintSpeaker(*this, canvas);
}

void TBTAudioTrigger::WriteData(TWriter& writer)
{
    TGrundBT::WriteData(writer);
    writer.WriteInteger(DeviceIndex);
}

void TBTAudioTrigger::ReadData(TReader& reader, uint8_t version)
{
    TGrundBT::ReadData(reader, version);
    DeviceIndex = reader.ReadInteger();
}

int TBTAudioTrigger::EditProperties()
{
    AudioInput.EnumerateDevices();
    int32_t index = DeviceIndex;
    TDefault_Dlg& dlg = Default_Dlg();
    dlg.setWindowTitle(GetTypeName());
    dlg.HelpContext = HelpContext;
    dlg.PropScrollbox->AddComboProp(Translate(QStringLiteral("Eingang")), index,
                                    AudioInput.DeviceNames, 180);
    const int result = dlg.ExecuteWithOptions(*this);
    // Used from the next start; an empty choice keeps the device.
    if (index >= 0)
        DeviceIndex = index;
    return result;
}

int64_t TBTAudioTrigger::FramePosition(int64_t now) const
{
    const Extended frames = static_cast<Extended>(now - BufferStart)
                            / static_cast<Extended>(Ctx().PerfFrequency) * SampleRate;
    if (!(frames >= 0.0L))
        return 0;
    return frames >= FramesPerBuffer ? FramesPerBuffer : static_cast<int64_t>(frames);
}

void TBTAudioTrigger::QueueBuffer(TWaveBuffer& buffer)
{
    buffer.Length = BytesPerFrame * FramesPerBuffer;
    AudioInput.Queue(buffer);
}

void TBTAudioTrigger::SimPrepare()
{
    BufferStart = Clock().PerformanceCounter();
    // The system is asked for its devices only when one is wanted.
    if (DeviceIndex > 0)
        AudioInput.EnumerateDevices();
    AudioInput.SetDeviceID(DeviceIndex - 1);
    // A device chosen on another system, or unplugged since.
    if (DeviceIndex > AudioInput.DeviceCount)
        ReportMissingAudioDevice(TAudioKind::Input, DeviceNotPresentText());
    AudioInput.Open();
    if (AudioInput.Opened())
        AudioInput.Start();
    for (TWaveBuffer& buffer : Buffers)
        QueueBuffer(buffer);
}

void TBTAudioTrigger::Calculate()
{
    AudioInput.Poll();
    for (TWaveBuffer& buffer : Buffers) {
        if (!buffer.Done && !buffer.Prepared)
            QueueBuffer(buffer);
    }
    const int64_t now = Clock().PerformanceCounter();
    int64_t frame = FramePosition(now);
    if (frame >= FramesPerBuffer) {
        TWaveBuffer& current = Buffers[size_t(CurrentBuffer)];
        AudioInput.Release(current);
        current.Done = false;
        for (int i = 0; i < BufferCount; ++i) {
            if (Buffers[size_t(i)].Done) {
                CurrentBuffer = i;
                BufferStart = now;
                frame = 0;
                break;
            }
        }
    }
    if (frame < FramesPerBuffer) {
        const char* p = Buffers[size_t(CurrentBuffer)].Data.data() + frame * BytesPerFrame;
        int16_t samples[2];
        std::memcpy(samples, p, sizeof samples);
        Left = samples[0];
        Right = samples[1];
    }
    SetOutputValue(OutR, Right / 32767.0L * 100.0L);
    SetOutputValue(OutL, Left / 32767.0L * 100.0L);
}

void TBTAudioTrigger::SimEnd()
{
    if (AudioInput.Opened())
        AudioInput.Stop();
    AudioInput.Close();
}
