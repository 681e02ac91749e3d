#pragma once
// Circuit access to files: the byte reader (one byte per falling clock on "D0".."D7"), the byte
// writer (one byte per rising clock appended) and the line reader (the line with index "i").
// The byte components open their file only for the moment of each access.

#include "components/file/FileBlock.h"

#include <QStringList>

// File name, settings dialog and hint shared by the three.
class TBTFileAccess : public TBTFileBlock {
public:
    TV_CLASS_NAME(TBTFileAccess)

    QString FileName;

    void WriteData(TWriter& writer) override;
    void ReadData(TReader& reader, uint8_t version) override;
    int EditProperties() override;
    QString GetHint() const override;

protected:
    TBTFileAccess(const TComponentDescription& description, QString fileName, bool saveRow);
    // Runs when the settings dialog closes.
    virtual void DialogClosed() {}

private:
    bool m_saveRow;
};

class TBTFileRead : public TBTFileAccess {
public:
    TV_CLASS_NAME(TBTFileRead)
    TBTFileRead();
    static const TComponentDescription Description;
    enum { InClock, InReset };
    enum { OutEof };  // at the bottom; "D0" at the top

    int64_t Position = 0;

    void Calculate() override;
    void SimReset() override;

private:
    void SetByte(int byte);

    bool m_lastClock = false;
    bool m_lastReset = true;
    bool m_reset = true;
};

class TBTFileWrite : public TBTFileAccess {
public:
    TV_CLASS_NAME(TBTFileWrite)
    TBTFileWrite();
    static const TComponentDescription Description;
    enum { InClock = 8, InReset };

    void Calculate() override;
    void SimReset() override;

private:
    // The name to write to: as stored, or resolved in the data folders when its folder does
    // not exist.
    QString Target();
    void Truncate();

    bool m_lastClock = false;
    bool m_lastReset = true;
    bool m_reset = true;
};

class TBTFileReadLine : public TBTFileAccess {
public:
    TV_CLASS_NAME(TBTFileReadLine)
    TBTFileReadLine();
    static const TComponentDescription Description;
    enum { InIndex, InReset };
    enum { OutEof, OutLine };  // drawn "$LN" on top

    QStringList Lines;

    void Calculate() override;
    void SimReset() override;

private:
    void Load();

    bool m_lastReset = false;
};
