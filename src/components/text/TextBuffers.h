#pragma once
// Text components that keep or route text over time: the first-in first-out character
// buffer, the multiplexer of 2, 4, 8 or 16 text inputs and the hold.

#include "components/text/TextBlock.h"

// Appends "$" on a falling "|W"; a falling "|R" takes the first N characters out into
// "$Data"; "$Buf" shows the rest. A low "/CLR" empties both. Both texts survive a run in the
// component state file.
class TBTStrBuffer : public TBTTextBlock {
public:
    TV_CLASS_NAME(TBTStrBuffer)
    TBTStrBuffer();
    static const TComponentDescription Description;
    enum { InText, InWrite, InRead, InClear, InCount };
    enum { OutBuffer, OutData };  // drawn "$Data" on top

    QString Buffer;
    QString Data;

    void SaveSettings(TIniFile& ini, const QString& section) override;
    bool LoadSettings(TIniFile& ini, const QString& section, bool checkOnly) override;
    void Calculate() override;
    void SimReset() override;

private:
    bool m_lastWrite = false;
    bool m_lastRead = false;
};

// "$" takes the data input the select inputs name while "EN" is high, else the empty text.
class TBTStrMux : public TBTTextBlock {
public:
    TV_CLASS_NAME(TBTStrMux)
    TBTStrMux();
    static const TComponentDescription Description;

    // 0 .. 3 for 2, 4, 8, 16 channels; follows from the input count.
    int32_t Size() const;
    void SetSize(int32_t size);

    int EditProperties() override;
    void Calculate() override;
    void SimReset() override;
    void NameInputs() override;
    void CheckStoredPins(int32_t inputs, int32_t outputs) const override;
};

// "$" follows the input while "/Hld" is high and keeps its text while it is low. The held text
// survives a run in the component state file.
class TBTStrHold : public TBTTextBlock {
public:
    TV_CLASS_NAME(TBTStrHold)
    TBTStrHold();
    static const TComponentDescription Description;

    QString Held;

    void SaveSettings(TIniFile& ini, const QString& section) override;
    bool LoadSettings(TIniFile& ini, const QString& section, bool checkOnly) override;
    void Calculate() override;
    void SimReset() override;
};
