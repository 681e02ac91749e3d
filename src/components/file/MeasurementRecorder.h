#pragma once
// Writes one line of channel values to a text file in the program's "Data" folder on every
// falling edge of "|Add": the channels joined by ";", then optionally the time and the date,
// ended with CR LF, in the 8-bit code page. Each run starts the file afresh (overwrite) or in
// the next free numbered name; a falling "/RST" does the same during a run.

#include "components/file/FileBlock.h"
#include "ui/Formats.h"

#include <array>

class TBTMesswertRecorder : public TBTFileBlock {
public:
    TV_CLASS_NAME(TBTMesswertRecorder)
    TBTMesswertRecorder();
    static const TComponentDescription Description;
    static constexpr int kMaxChannels = 64;

    int32_t Channels = 1;
    QString FilePrefix;           // "Datei" / "File" / "Fichier" at creation
    bool RecordTime = true;
    bool RecordDate = false;
    bool Overwrite = true;
    std::array<TFormat, kMaxChannels> Formats;  // [Fixed], 4 digits, 2 decimals
    QString FileName;             // the file of the current run

    // The line the channels give now, without its CR LF.
    QString Line() const;

    void WriteData(TWriter& writer) override;
    void ReadData(TReader& reader, uint8_t version) override;
    int EditProperties() override;
    QString GetHint() const override;
    void Calculate() override;
    void SimReset() override;
    void SimEnd() override;  // the file stays as it is
    void NameInputs() override;
    void CheckStoredPins(int32_t inputs, int32_t outputs) const override;

private:
    // Chooses the file of a run (the prefix kept inside the "Data" folder) and creates it empty.
    void StartFile();

    bool m_lastAdd = false;
    bool m_lastReset = false;
};
