#pragma once
// Records 1 to 16 inputs at a fixed sample period while "RUN" is high and "P/R" was high when
// "RUN" rose, and plays such a recording back on its outputs ("P/R" low), once or in a loop.
// The recording lies in a working file of the component (frames of one 4-byte little-endian
// float per channel, no header) and can be saved to and loaded from a sample file.

#include "components/file/FileBlock.h"

#include <QFile>

class TBTSampler : public TBTFileBlock {
public:
    TV_CLASS_NAME(TBTSampler)
    TBTSampler();
    ~TBTSampler() override;
    static const TComponentDescription Description;
    static constexpr int kMaxChannels = 16;
    enum { InRun, InPlayRecord, InFirstChannel };

    int32_t Channels = 4;
    int32_t PeriodMs = 1000;
    bool Loop = true;
    bool RecordToFile = false;
    QString SampleFile;            // "Data/SAMPLE.SMP" in the program folder

    // The working file (a temporary file of the component's own, deleted with it).
    const QString& WorkingFile() const { return m_workingFile; }
    bool Active() const { return m_active; }
    bool Recording() const { return m_recording; }

    void WriteData(TWriter& writer) override;
    void ReadData(TReader& reader, uint8_t version) override;
    int EditProperties() override;
    QString GetHint() const override;
    void Calculate() override;
    void SimReset() override;
    void SimEnd() override;
    void NameInputs() override;
    void NameOutputs() override;
    void CheckStoredPins(int32_t inputs, int32_t outputs) const override;

private:
    void SetChannelCount(int32_t channels);
    void ShowState(bool playRecord);
    // Copies the working file to the sample file (the old sample file stays when that fails,
    // and the user is told).
    void Save();
    // Copies the sample file into the working file (which stays when the sample is unreadable).
    void Load();
    void PlayFrame(bool playRecord);
    // Appends a frame to the recording; a frame that does not fit is cut off and told.
    void WriteFrame(const char* frame, qint64 size);

    QString m_workingFile;
    QFile m_stream;
    bool m_lastRun = false;
    bool m_active = false;
    bool m_recording = false;
    bool m_sampleNow = false;      // the first sample is taken in the step "RUN" changed
    int64_t m_lastSample = 0;
    qint64 m_recordedBytes = 0;    // whole frames in the working file
};
