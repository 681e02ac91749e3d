#include "components/file/Sampler.h"

#include "components/analog/Integrators.h"
#include "core/model/Translator.h"
#include "platform/Clock.h"
#include "platform/Context.h"
#include "platform/FileIO.h"
#include "platform/Filer.h"
#include "platform/Paths.h"
#include "ui/Formats.h"
#include "ui/PropertySheet.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QtEndian>

using namespace FileWrites;

const TComponentDescription TBTSampler::Description{
    .Name = "TBTSampler", .Prefix = {"SMP"}, .HelpContext = 18575,
    .TypeName = {"Sampler", "Sampler", "Sampleur"}, .Caption = {"SMP"},
    .Inputs = {6, 3, kMaxChannels + 2}, .Outputs = {6, 3, kMaxChannels + 2},
    .InputNames = "RUN P/R E1..4", .OutputNames = "A4..1 PLY REC",
    .Category = TPaletteCategory::Dateizugriff};

TBTSampler::TBTSampler()
    : TBTFileBlock(Description, 38, 32), SampleFile(ProgramPath(QStringLiteral("Data/SAMPLE.SMP")))
{
    QTemporaryFile temp(QDir::tempPath() + QStringLiteral("/SMPXXXXXX"));
    temp.setAutoRemove(false);
    if (temp.open())
        m_workingFile = temp.fileName();
}

TBTSampler::~TBTSampler()
{
    m_stream.close();
    if (!m_workingFile.isEmpty())
        QFile::remove(m_workingFile);
}

void TBTSampler::NameInputs()
{
    QStringList names{QStringLiteral("RUN"), QStringLiteral("P/R")};
    for (int k = 1; k <= InputCount - 2; ++k)
        names << QStringLiteral("E%1").arg(k);
    NamePins(Inputs, names);
}

void TBTSampler::NameOutputs()
{
    Outputs[size_t(OutputFromTop(0))]->SetName(QStringLiteral("REC"));
    Outputs[size_t(OutputFromTop(1))]->SetName(QStringLiteral("PLY"));
    for (int k = 1; k <= OutputCount - 2; ++k)
        Outputs[size_t(OutputFromTop(k + 1))]->SetName(QStringLiteral("A%1").arg(k));
}

void TBTSampler::CheckStoredPins(int32_t inputs, int32_t outputs) const
{
    TReader::CheckCount(inputs, 3, kMaxChannels + 2, "InputCount");
    TReader::CheckCount(outputs, inputs, inputs, "OutputCount");
}

void TBTSampler::SetChannelCount(int32_t channels)
{
    Channels = std::clamp(channels, 1, kMaxChannels);
    SetInputCount(Channels + 2);
    SetOutputCount(Channels + 2);
}

void TBTSampler::WriteData(TWriter& writer)
{
    TBTFileBlock::WriteData(writer);
    writer.WriteInteger(Channels);
    writer.WriteInteger(PeriodMs);
    writer.WriteBoolean(RecordToFile);
    writer.WriteBoolean(Loop);
    writer.WriteString(SampleFile);
}

void TBTSampler::ReadData(TReader& reader, uint8_t version)
{
    TBTFileBlock::ReadData(reader, version);
    SetChannelCount(reader.ReadInteger());
    PeriodMs = std::clamp(reader.ReadInteger(), 1, 1000);
    RecordToFile = reader.ReadBoolean();
    Loop = reader.ReadBoolean();
    SampleFile = reader.ReadString();
}

int TBTSampler::EditProperties()
{
    const int result = BlockSupport::ShowSettings(*this, [&](TPropScrollbox& sheet) {
        if (!Ctx().SimRunning && !Ctx().RuntimeMode)
            sheet.AddSpinProp(Translate(QStringLiteral("Kanäle")), Channels, 1, kMaxChannels, 64);
        sheet.AddSpinProp(Translate(QStringLiteral("Abtastrate")) + QStringLiteral(" [ms]"),
                          PeriodMs, 1, 1000, 64);
        sheet.AddCheckProp(Translate(QStringLiteral("Wiedergabeschleife")), Loop);
        sheet.AddCheckProp(Translate(QStringLiteral("Aufzeichnung in Datei")), RecordToFile);
        sheet.AddSaveFileProp(Translate(QStringLiteral("Datei")) + QStringLiteral(" [*.smp]"),
                              SampleFile, 0, 200, QStringLiteral("Sample (*.smp)|*.smp"),
                              QStringLiteral("SMP"));
    });
    SetChannelCount(Channels);
    return result;
}

QString TBTSampler::GetHint() const
{
    QString hint = TBTFileBlock::GetHint();
    if (RecordToFile && !NamePart(SampleFile).isEmpty())
        hint += QLatin1Char('\r') + NamePart(SampleFile);
    return hint + QStringLiteral("\rT = %1 ms").arg(PeriodMs);
}

void TBTSampler::ShowState(bool playRecord)
{
    SetOutputDigital(OutputFromTop(1), m_active && !playRecord);
    SetOutputDigital(OutputFromTop(0), m_active && playRecord);
}

void TBTSampler::Save()
{
    QString reason;
    if (!CopyWholeFile(m_workingFile, SampleFile, &reason))
        ReportWriteFailure(SampleFile, reason);
}

void TBTSampler::Load()
{
    const QString sample = FindDataFile(SampleFile);
    if (!QFileInfo(sample).isFile())
        return;  // no sample yet: the working file plays as it is
    QString reason;
    if (!CopyWholeFile(sample, m_workingFile, &reason))
        ReportWriteFailure(m_workingFile, reason);
}

void TBTSampler::WriteFrame(const char* frame, qint64 size)
{
    // Unbuffered: a frame the disk has no room for is cut off again at once, so the working
    // file holds whole frames only.
    if (!m_stream.isOpen())
        return;  // told when it could not be opened
    if (m_stream.write(frame, size) == size) {
        m_recordedBytes += size;
        return;
    }
    const QString reason = m_stream.errorString();
    m_stream.resize(m_recordedBytes);
    m_stream.seek(m_recordedBytes);
    ReportWriteFailure(m_workingFile, reason);
}

void TBTSampler::Calculate()
{
    const bool run = GetInputDigital(InRun);
    const bool playRecord = GetInputDigital(InPlayRecord);
    const int channels = InputCount - 2;
    if (run != m_lastRun) {
        m_lastRun = run;
        m_active = run;
        m_sampleNow = true;
        m_stream.close();
        if (!run) {
            if (m_recording && RecordToFile)
                Save();
            m_recording = false;
        } else if (playRecord) {
            m_stream.setFileName(m_workingFile);
            if (!m_stream.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
                ReportWriteFailure(m_workingFile, m_stream.errorString());
            m_recordedBytes = 0;
            m_recording = true;
        } else {
            if (RecordToFile) {
                SampleFile = FindDataFile(SampleFile);
                Load();
            }
            m_stream.setFileName(m_workingFile);
            m_stream.open(QIODevice::ReadOnly);
        }
        ShowState(playRecord);
    }
    if (!m_active || m_recording)
        for (int k = 0; k < channels; ++k)
            SetOutputValue(OutputFromTop(k + 2), GetInputValue(InFirstChannel + k));
    if (!m_active)
        return;
    const int64_t now = Clock().PerformanceCounter();
    if (!m_sampleNow
        && static_cast<Extended>(PeriodMs)
               > static_cast<Extended>(now - m_lastSample) * 1000.0L
                     / static_cast<Extended>(Ctx().PerfFrequency))
        return;
    m_sampleNow = false;
    m_lastSample = now;
    if (m_recording) {
        char frame[kMaxChannels * 4];
        for (int k = 0; k < channels; ++k)
            qToLittleEndian(static_cast<float>(GetInputValue(InFirstChannel + k)), frame + 4 * k);
        WriteFrame(frame, 4 * channels);
    } else {
        PlayFrame(playRecord);
    }
}

void TBTSampler::PlayFrame(bool playRecord)
{
    for (int k = 0; k < InputCount - 2; ++k) {
        char bytes[4];
        if (m_stream.read(bytes, 4) < 4) {
            if (Loop)
                m_stream.seek(0);
            else
                m_active = false;
            ShowState(playRecord);
            return;
        }
        SetOutputValue(OutputFromTop(k + 2), qFromLittleEndian<float>(bytes));
    }
}

void TBTSampler::SimReset()
{
    ForgetWriteFailures();
    m_lastRun = false;
}

void TBTSampler::SimEnd()
{
    // A recording cut off by the end of the run still reaches the sample file.
    m_stream.close();
    if (m_recording && RecordToFile)
        Save();
    m_lastRun = false;
    m_active = false;
    m_recording = false;
    ShowState(false);
}
