#pragma once
// The sound module: plays a wave file on every falling edge of its input, without waiting.

#include "core/model/GrundBT.h"

#include <memory>

class TSoundPlayer;

class TBTSound : public TGrundBT {
public:
    TV_CLASS_NAME(TBTSound)
    TBTSound();
    ~TBTSound() override;
    static const TComponentDescription Description;

    static constexpr int MaxFileName = 255;

    QString FileName;        // at most 255 characters
    QString PlayName;        // the file of the current run, taken at the start
    bool LastLevel = false;  // level of "|E" in the previous step

    void Paint(TCanvas& canvas) override;
    void WriteData(TWriter& writer) override;
    // The stored name is looked up among the data files.
    void ReadData(TReader& reader, uint8_t version) override;
    int EditProperties() override;
    QString GetHint() const override;
    // Without a sound output the edge plays nothing; the user is told once.
    void Calculate() override;
    void SimReset() override;

private:
    std::unique_ptr<TSoundPlayer> m_player;  // made at the first edge with a sound output
};
